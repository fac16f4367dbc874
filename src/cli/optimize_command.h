#pragma once
// `grovex-cli optimize --prices FILE --space SPACE.json [--top K] [--best OUT.gmc] [--format text|json]` with
// the `project` options that describe a stand (or `--treelist`): the best regimes of the stand among every
// combination of the search space, ranked by LEV (bare land) or NPV (an existing stand).

#include "cli/project_options.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <ostream>
#include <string>

namespace grovex::cli {

struct OptimizeOptions {
    ProjectOptions stand;
    std::string prices;
    std::string space;
    int top = 10;
    std::optional<std::string> best; // the best regime's macro file
};

CLI::App* addOptimizeCommand(CLI::App& app, OptimizeOptions& options);

// Answers the process exit status; messages go to `err`.
int runOptimize(const OptimizeOptions& options, std::ostream& out, std::ostream& err);

} // namespace grovex::cli
