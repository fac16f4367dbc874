#pragma once
// `grovex-cli value --prices FILE` with the `project` options, `--play MACRO [--treelist F]` or
// `--document FILE.gvx`: the run's cash flows by year and its NPV, LEV, IRR, equivalent annual annuity and
// best final-harvest age, per acre.

#include "cli/project_options.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <ostream>
#include <string>

namespace grovex::cli {

struct ValueOptions {
    ProjectOptions stand;
    std::string prices;
    std::optional<std::string> play;
    std::optional<std::string> document;
};

CLI::App* addValueCommand(CLI::App& app, ValueOptions& options);

// Answers the process exit status; messages go to `err`.
int runValue(const CLI::App& command, const ValueOptions& options, std::ostream& out, std::ostream& err);

} // namespace grovex::cli
