#pragma once
// `grovex-cli project`: initialize the stand from the checked options, project it to its target and write
// the tables.

#include "batch/stand_inputs.h"
#include "cli/project_options.h"

#include "results/document.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace grovex::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRunFailed = 1;
inline constexpr int kExitBadInput = 2;

// A refusal of the stand's values with the option it is about and the value it was given, or would have had
// by default: "--target-age 25 (default): Please enter an integer from 26 to 60".
std::string refusalText(const batch::StandOptions& options, const batch::StandRefusal& refusal);

// Projects the options' stand as `project` does, telling `observer` (may be null) of every age it passes. On
// a refusal or failure, written to `err`, answers nothing and `status` is the exit status.
std::unique_ptr<CGROVEXDoc> projectStand(const ProjectOptions& options, StandObserver* observer, std::ostream& err,
                                         int& status);

// Writes a simulation's tables in `format` and saves it when asked; the exit status.
int writeSimulation(CGROVEXDoc& doc, const std::optional<std::string>& save, OutputFormat format, std::ostream& out,
                    std::ostream& err);

// Answers the process exit status; messages go to `err`.
int runProject(const ProjectOptions& options, std::ostream& out, std::ostream& err);

} // namespace grovex::cli
