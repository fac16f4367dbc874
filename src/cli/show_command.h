#pragma once
// `grovex-cli show`: prints the tables of a saved simulation document.

#include "cli/project_options.h"

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>

namespace grovex::cli {

struct ShowOptions {
    std::string file;
    OutputFormat format = OutputFormat::Text;
};

CLI::App* addShowCommand(CLI::App& app, ShowOptions& options);

// Answers the process exit status; a file that cannot be opened puts its message on `err`.
int runShow(const ShowOptions& options, std::ostream& out, std::ostream& err);

} // namespace grovex::cli
