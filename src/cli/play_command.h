#pragma once
// `grovex-cli play MACRO [--repeat N] [--treelist FILE.dat] [--save OUT.gvx] [--format text|json|csv]`: plays
// a macro (a ".gmc" file or its text form) on a new simulation with the projection routine and the macro
// player, N times in a row as pressing Play again would, then writes the tables. Messages go to the error
// stream; a failed play writes nothing.

#include "cli/project_options.h"

#include <CLI/CLI.hpp>

#include "results/document.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace grovex::cli {

struct PlayOptions {
    std::string macro;
    int repeat = 1; // plays of the macro, one after the other on the same simulation
    std::optional<std::string> treeList;
    std::optional<std::string> save;
    OutputFormat format = OutputFormat::Text;
};

CLI::App* addPlayCommand(CLI::App& app, PlayOptions& options);

// Plays the macro of the options on a new simulation, telling `observer` (may be null) of every age it passes.
// On a failure, written to `err`, answers nothing and `status` is the exit status.
std::unique_ptr<CGROVEXDoc> playStand(const PlayOptions& options, StandObserver* observer, std::ostream& err,
                                      int& status);

// Answers the process exit status; messages go to `err`.
int runPlay(const PlayOptions& options, std::ostream& out, std::ostream& err);

} // namespace grovex::cli
