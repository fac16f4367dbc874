#pragma once
// `grovex-cli treelist`: reads a ".dat" tree list with the same rules and messages as the tree list
// window, then prints it or writes it back in the window's own layout.

#include "cli/project_options.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <ostream>
#include <string>

namespace grovex::cli {

struct TreeListOptions {
    std::string file;
    std::optional<std::string> save; // write the list here instead of printing it
    OutputFormat format = OutputFormat::Text;
};

CLI::App* addTreeListCommand(CLI::App& app, TreeListOptions& options);

// Answers the process exit status: 0 when the list was read (and saved), 1 when the save was refused or
// failed, 2 when the file could not be read as a tree list. Every message the window would show goes to `err`.
int runTreeList(const TreeListOptions& options, std::ostream& out, std::ostream& err);

} // namespace grovex::cli
