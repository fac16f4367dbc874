#pragma once
// `grovex-cli project`: initialize the stand from the checked options, project it to its target and write
// the tables.

#include "cli/project_options.h"

#include <ostream>

namespace grovex::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRunFailed = 1;
inline constexpr int kExitBadInput = 2;

// Answers the process exit status; messages go to `err`.
int runProject(const ProjectOptions& options, std::ostream& out, std::ostream& err);

} // namespace grovex::cli
