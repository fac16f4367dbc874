#include "cli/show_command.h"

#include "cli/output_formats.h"
#include "cli/project_run.h"
#include "results/document_file.h"

namespace grovex::cli {

CLI::App* addShowCommand(CLI::App& app, ShowOptions& options) {
    CLI::App* cmd = app.add_subcommand("show", "Print every results table of a saved simulation (.gvx).");
    cmd->footer("Exit status: 0 success, 2 the file could not be read or is not a simulation of this version.");
    cmd->add_option("file", options.file, "Simulation document saved by the desktop application or --save")
        ->required()
        ->type_name("FILE.gvx");
    addFormatOption(cmd, options.format);
    return cmd;
}

int runShow(const ShowOptions& options, std::ostream& out, std::ostream& err) {
    const OpenedDocument opened = openDocument(options.file);
    if (!opened.ok()) {
        err << opened.error << '\n';
        return kExitBadInput;
    }
    writeTables(out, options.format, opened.document->model, opened.document->run.targetReached);
    out.flush();
    return out ? kExitSuccess : kExitRunFailed;
}

} // namespace grovex::cli
