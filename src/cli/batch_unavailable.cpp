// grovex-cli built without SQLite, which keeps the batch run's results (the Windows build): `batch` and
// `merge` are still commands, so that a script that calls them is told why nothing ran, but they refuse
// whatever they are given.

#include "cli/batch_command.h"
#include "cli/project_run.h"

namespace grovex::cli {
namespace {

CLI::App* addRefusingCommand(CLI::App& app, const std::string& name) {
    CLI::App* command = app.add_subcommand(name, "Not part of this build: it was made without SQLite.");
    // Any arguments, so that a real batch command line gets the reason below, not a complaint about them.
    command->allow_extras();
    return command;
}

int refuse(std::ostream& err) {
    err << "batch and merge are not part of this build: it was made without SQLite.\n";
    return kExitBadInput;
}

} // namespace

BatchCommand addBatchCommand(CLI::App& app, BatchOptions&) {
    return BatchCommand{addRefusingCommand(app, "batch"), {}, {}};
}

int runBatchCommand(const BatchCommand&, const BatchOptions&, std::ostream& err) {
    return refuse(err);
}

CLI::App* addMergeCommand(CLI::App& app, MergeOptions&) {
    return addRefusingCommand(app, "merge");
}

int runMerge(const MergeOptions&, std::ostream&, std::ostream& err) {
    return refuse(err);
}

} // namespace grovex::cli
