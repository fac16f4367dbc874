#include "cli/optimize_command.h"

#include "batch/stand_search.h"
#include "cli/project_run.h"
#include "cli/stream_ui.h"
#include "control/macro_recorder.h"
#include "economics/optimize_report.h"
#include "treelist/tree_list_file.h"

namespace grovex::cli {
namespace {

constexpr int kMostShown = 1000000;

// Reads the prices, the search space and the stand; a refusal is written to `err`.
bool readInputs(const OptimizeOptions& options, economics::Prices& prices, economics::SearchSpace& space,
                TreeList& trees, economics::SearchStand& stand, std::ostream& err) {
    std::optional<std::string> refused = economics::readPrices(options.prices, prices);
    if (!refused) {
        refused = economics::readSearchSpace(options.space, space);
    }
    if (refused) {
        err << *refused << '\n';
        return false;
    }
    if (options.stand.treeList) {
        StreamUi ui(err);
        readTreeListFile(*options.stand.treeList, trees, ui);
        if (!trees.loaded) {
            return false;
        }
    }
    if (auto standRefused = batch::searchStand(options.stand, batch::optionName, &trees, stand)) {
        err << refusalText(options.stand, *standRefused) << '\n';
        return false;
    }
    return true;
}

int writeBest(const economics::SearchResult& result, const std::string& path, std::ostream& err) {
    MacroStore store;
    for (const MacroEntry& entry : result.best.front().macro) {
        store.append(entry);
    }
    if (const IoStatus saved = store.save(path); !saved) {
        err << (saved.message().empty() ? std::string(kMacroSaveFailedMessage) + path : saved.message()) << '\n';
        return kExitRunFailed;
    }
    return kExitSuccess;
}

} // namespace

CLI::App* addOptimizeCommand(CLI::App& app, OptimizeOptions& options) {
    CLI::App* cmd = app.add_subcommand(
        "optimize", "Search a space of thinnings, fertilizations and final-harvest ages for a stand's best regimes.");
    cmd->add_option("--prices", options.prices, "Prices and costs (JSON; see the README)")
        ->required()
        ->type_name("FILE");
    cmd->add_option("--space", options.space, "The search space (JSON; see the README)")
        ->required()
        ->type_name("SPACE.json");
    cmd->add_option("--top", options.top, "How many of the best regimes to print (default 10)")
        ->check(CLI::Range(1, kMostShown))
        ->type_name("K");
    cmd->add_option("--best", options.best, "Write the best regime as a macro that `play` and Play Macro replay")
        ->type_name("OUT.gmc");
    addPlantationOptions(cmd, options.stand);
    cmd->add_option_function<std::string>(
           "--treelist", [&options](const std::string& path) { options.stand.treeList = path; },
           "Existing stand described by a tree list file (.dat)")
        ->type_name("FILE.dat");
    addFormatOption(cmd, options.stand.format)->check(CLI::IsMember({"text", "json"}));
    cmd->footer("The search gives every command its age target; the macros record cubic feet to a 6-inch top, "
                "which the values do not depend on.\nAmounts are per acre. Exit status: 0 success, 1 the stand could "
                "not be started or no combination "
                "could be valued, or --best could not be written, 2 bad input (nothing was run).");
    return cmd;
}

int runOptimize(const OptimizeOptions& options, std::ostream& out, std::ostream& err) {
    economics::Prices prices;
    economics::SearchSpace space;
    TreeList trees;
    economics::SearchStand stand;
    if (!readInputs(options, prices, space, trees, stand, err)) {
        return kExitBadInput;
    }
    const economics::SearchResult result =
        economics::searchRegimes(prices, space, stand, static_cast<size_t>(options.top));
    if (result.failure) {
        err << *result.failure << '\n';
        return kExitRunFailed;
    }
    out << (options.stand.format == OutputFormat::Json ? economics::searchJson(result)
                                                       : economics::searchText(prices, result));
    out.flush();
    if (result.best.empty()) {
        err << "No combination of the search space could be valued.\n";
        return kExitRunFailed;
    }
    if (options.best) {
        return writeBest(result, *options.best, err);
    }
    return out ? kExitSuccess : kExitRunFailed;
}

} // namespace grovex::cli
