#pragma once
// `grovex-cli macro dump FILE.gmc` prints a macro in its text form (see control/macro_text.h);
// `grovex-cli macro build FILE.txt -o FILE.gmc` writes the text form back as a macro file.

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>

namespace grovex::cli {

struct MacroOptions {
    std::string dumpFile;
    std::string buildFile;
    std::string output;
};

struct MacroCommand {
    CLI::App* group = nullptr;
    CLI::App* dump = nullptr;
    CLI::App* build = nullptr;
};

MacroCommand addMacroCommand(CLI::App& app, MacroOptions& options);

// Answers the process exit status; problems go to `err`.
int runMacro(const MacroCommand& command, const MacroOptions& options, std::ostream& out, std::ostream& err);

} // namespace grovex::cli
