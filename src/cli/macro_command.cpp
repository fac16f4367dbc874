#include "cli/macro_command.h"

#include "base/file_io.h"
#include "cli/project_run.h"
#include "control/macro_store.h"
#include "control/macro_text.h"

#include <vector>

namespace grovex::cli {

MacroCommand addMacroCommand(CLI::App& app, MacroOptions& options) {
    MacroCommand command;
    command.group = app.add_subcommand("macro", "Convert a macro (.gmc) to its text form and back.");
    command.group->require_subcommand(1);
    command.group->footer("Exit status: 0 success, 2 a file could not be read, parsed or written.");

    command.dump = command.group->add_subcommand("dump", "Print a macro file, one entry per line.");
    command.dump->add_option("file", options.dumpFile, "Macro file")->required()->type_name("FILE.gmc");

    command.build = command.group->add_subcommand("build", "Write a macro file from its text form.");
    command.build->add_option("file", options.buildFile, "Text form of a macro")->required()->type_name("FILE.txt");
    command.build->add_option("-o,--output", options.output, "Macro file to write")->required()->type_name("FILE.gmc");
    return command;
}

namespace {

int dump(const MacroOptions& options, std::ostream& out, std::ostream& err) {
    const FileContent content = readFile(options.dumpFile, kMacroFileCap);
    std::vector<MacroEntry> entries;
    if (!content.ok() || !parseMacroFile(content.bytes, entries)) {
        err << macroOpenFailure(options.dumpFile, content.reason) << '\n';
        return kExitBadInput;
    }
    out << macroText(entries);
    out.flush();
    return out ? kExitSuccess : kExitRunFailed;
}

int build(const MacroOptions& options, std::ostream& err) {
    const FileContent content = readFile(options.buildFile, kMacroTextFileCap);
    if (!content.ok()) {
        err << content.error << '\n';
        return kExitBadInput;
    }
    std::vector<MacroEntry> entries;
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size());
    if (!parseMacroText(text, entries, error)) {
        err << options.buildFile << ": " << error << '\n';
        return kExitBadInput;
    }
    const IoStatus status = writeFileAtomically(options.output, macroFileBytes(entries));
    if (!status) {
        err << status.message() << '\n';
        return kExitBadInput;
    }
    return kExitSuccess;
}

} // namespace

int runMacro(const MacroCommand& command, const MacroOptions& options, std::ostream& out, std::ostream& err) {
    if (command.dump->parsed()) {
        return dump(options, out, err);
    }
    if (command.build->parsed()) {
        return build(options, err);
    }
    return kExitBadInput;
}

} // namespace grovex::cli
