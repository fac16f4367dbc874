// grovex-cli: growth-and-yield projections of planted loblolly pine from the command line.

#include "cli/batch_command.h"
#include "cli/macro_command.h"
#include "cli/optimize_command.h"
#include "cli/play_command.h"
#include "cli/project_options.h"
#include "cli/project_run.h"
#include "cli/show_command.h"
#include "cli/treelist_command.h"
#include "cli/value_command.h"

#include <CLI/CLI.hpp>

#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// What the commands print is the same bytes on every system: the text tables carry their own CR LF line
// ends, CSV and JSON a plain LF. Windows would write a CR before every LF of its standard output.
void printBytesAsTheyAre() {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

} // namespace

// An exception that gets this far is a fault in the program: it ends with the runtime's report, never with an
// exit status a script could take for a refused input or a failed run.
int main(int argc, char** argv) { // NOLINT(bugprone-exception-escape)
    printBytesAsTheyAre();
    CLI::App app{"GROVEX: growth and yield of planted loblolly pine stands."};
    app.require_subcommand(1);
    app.set_version_flag("--version", "grovex-cli " GROVEX_VERSION);
    grovex::cli::ProjectOptions options;
    CLI::App* project = grovex::cli::addProjectCommand(app, options);
    grovex::cli::ShowOptions showOptions;
    CLI::App* show = grovex::cli::addShowCommand(app, showOptions);
    grovex::cli::TreeListOptions treeListOptions;
    CLI::App* treeList = grovex::cli::addTreeListCommand(app, treeListOptions);
    grovex::cli::MacroOptions macroOptions;
    const grovex::cli::MacroCommand macro = grovex::cli::addMacroCommand(app, macroOptions);
    grovex::cli::PlayOptions playOptions;
    CLI::App* play = grovex::cli::addPlayCommand(app, playOptions);
    grovex::cli::BatchOptions batchOptions;
    const grovex::cli::BatchCommand batch = grovex::cli::addBatchCommand(app, batchOptions);
    grovex::cli::MergeOptions mergeOptions;
    CLI::App* merge = grovex::cli::addMergeCommand(app, mergeOptions);
    grovex::cli::ValueOptions valueOptions;
    CLI::App* value = grovex::cli::addValueCommand(app, valueOptions);
    grovex::cli::OptimizeOptions optimizeOptions;
    CLI::App* optimize = grovex::cli::addOptimizeCommand(app, optimizeOptions);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return grovex::cli::kExitBadInput;
    }

    if (project->parsed()) {
        return grovex::cli::runProject(options, std::cout, std::cerr);
    }
    if (show->parsed()) {
        return grovex::cli::runShow(showOptions, std::cout, std::cerr);
    }
    if (treeList->parsed()) {
        return grovex::cli::runTreeList(treeListOptions, std::cout, std::cerr);
    }
    if (macro.group->parsed()) {
        return grovex::cli::runMacro(macro, macroOptions, std::cout, std::cerr);
    }
    if (play->parsed()) {
        return grovex::cli::runPlay(playOptions, std::cout, std::cerr);
    }
    if (batch.command->parsed()) {
        for (int k = 0; k < argc; ++k) {
            batchOptions.commandLine += (k > 0 ? " " : "") + std::string(argv[k]);
        }
        return grovex::cli::runBatchCommand(batch, batchOptions, std::cerr);
    }
    if (value->parsed()) {
        return grovex::cli::runValue(*value, valueOptions, std::cout, std::cerr);
    }
    if (optimize->parsed()) {
        return grovex::cli::runOptimize(optimizeOptions, std::cout, std::cerr);
    }
    if (merge->parsed()) {
        return grovex::cli::runMerge(mergeOptions, std::cout, std::cerr);
    }
    return grovex::cli::kExitBadInput;
}
