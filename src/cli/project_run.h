#pragma once
// `grovex-cli project`: initialize the stand from the checked options, project it to its target and write
// the tables.

#include "batch/stand_inputs.h"
#include "cli/project_options.h"

#include <ostream>

namespace grovex::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRunFailed = 1;
inline constexpr int kExitBadInput = 2;

// A refusal of the stand's values with the option it is about and the value it was given, or would have had
// by default: "--target-age 25 (default): Please enter an integer from 26 to 60".
std::string refusalText(const batch::StandOptions& options, const batch::StandRefusal& refusal);

// Answers the process exit status; messages go to `err`.
int runProject(const ProjectOptions& options, std::ostream& out, std::ostream& err);

} // namespace grovex::cli
