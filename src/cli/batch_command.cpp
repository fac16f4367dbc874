#include "cli/batch_command.h"

#include "base/c_format.h"
#include "base/sha256.h"
#include "batch/batch_runner.h"
#include "batch/csv_results.h"
#include "batch/regime.h"
#include "batch/results_db.h"
#include "batch/stand_table.h"
#include "cli/build_commit.h"
#include "cli/project_options.h"
#include "cli/project_run.h"
#include "control/macro_text.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <thread>
#include <unistd.h>

#ifndef GROVEX_VERSION
#define GROVEX_VERSION "unknown"
#endif

namespace grovex::cli {
namespace {

using batch::Shard;

// "K/N" with 0 <= K < N, or "slurm": the array task's place among the array's tasks.
std::optional<Shard> parseShard(const std::string& text, std::string& error) {
    if (text == "slurm") {
        const char* id = std::getenv("SLURM_ARRAY_TASK_ID");
        const char* count = std::getenv("SLURM_ARRAY_TASK_COUNT");
        const char* min = std::getenv("SLURM_ARRAY_TASK_MIN");
        if (id == nullptr || count == nullptr || !isAllDigits(id) || !isAllDigits(count) || *id == '\0' ||
            *count == '\0') {
            error = "--shard slurm needs SLURM_ARRAY_TASK_ID and SLURM_ARRAY_TASK_COUNT: run it as a task of a job "
                    "array (sbatch --array).";
            return std::nullopt;
        }
        const long long first = min != nullptr && isAllDigits(min) && *min != '\0' ? std::atoll(min) : 0;
        const long long tasks = std::atoll(count);
        const long long index = std::atoll(id) - first;
        if (tasks < 1 || index < 0 || index >= tasks) {
            error = cformat("--shard slurm: task %s is not one of the %s tasks from %lld; give the array as "
                            "consecutive indices (--array=0-%lld).",
                            id, count, first, tasks > 0 ? tasks - 1 : 0);
            return std::nullopt;
        }
        return Shard{index, tasks};
    }
    const size_t slash = text.find('/');
    const std::string k = text.substr(0, slash);
    const std::string n = slash == std::string::npos ? "" : text.substr(slash + 1);
    if (k.empty() || n.empty() || !isAllDigits(k) || !isAllDigits(n) || k.size() > 9 || n.size() > 9 ||
        std::atoll(n.c_str()) < 1 || std::atoll(k.c_str()) >= std::atoll(n.c_str())) {
        error = "--shard takes K/N with 0 <= K < N (for example 0/4), or slurm, not \"" + text + "\".";
        return std::nullopt;
    }
    return Shard{std::atoll(k.c_str()), std::atoll(n.c_str())};
}

bool isFolderOutput(const std::string& out) {
    std::error_code ignored;
    return (!out.empty() && out.back() == '/') || std::filesystem::is_directory(out, ignored);
}

std::optional<std::string> readRegimes(const BatchOptions& options, std::vector<batch::Regime>& regimes) {
    if (options.regimes.empty()) {
        batch::Regime regime;
        if (auto refused = batch::projectRegime(options.project, regime)) {
            return refusalText(options.project, *refused);
        }
        regimes.push_back(std::move(regime));
        return std::nullopt;
    }
    std::set<std::string> names;
    for (const std::string& text : options.regimes) {
        const batch::RegimeFile file = batch::parseRegimeOption(text);
        batch::Regime regime;
        if (auto refused = batch::readRegime(file, regime)) {
            return refused;
        }
        if (!names.insert(regime.name).second) {
            return "Two regimes are named " + regime.name + "; give each its own name with --regime NAME=MACRO.";
        }
        regimes.push_back(std::move(regime));
    }
    return std::nullopt;
}

std::optional<std::string> fileDigest(const std::string& path) {
    std::string error;
    return sha256OfFile(path, error);
}

// The prices and the search space, each a file whose every byte decides the results.
void addValueInputs(const BatchOptions& options, batch::RunIdentity& run, Sha256& fingerprint) {
    const std::pair<const std::optional<std::string>&, const char*> files[] = {{options.prices, "prices"},
                                                                               {options.optimize, "search space"}};
    for (const auto& [path, role] : files) {
        if (path) {
            const std::string digest = fileDigest(*path).value_or("missing");
            run.inputs.push_back({role, *path, digest});
            fingerprint.update(std::string(role) + " " + digest + "\n");
        }
    }
    run.economics = options.prices.has_value();
    run.bestRegimes = options.optimize.has_value();
}

// The run's identity: what it read, and a fingerprint of everything that decides its results.
batch::RunIdentity identity(const BatchOptions& options, const batch::StandTableCheck& table,
                            const std::vector<batch::Regime>& regimes, const Shard& shard) {
    batch::RunIdentity run;
    run.programVersion = GROVEX_VERSION;
    run.programCommit = buildCommit();
    run.commandLine = options.commandLine;
    run.shard = std::to_string(shard.index) + "/" + std::to_string(shard.count);
    run.dbhDetail = options.detail == "dbh";
    run.userColumns = table.columns.userNames();
    run.inputs.push_back({"stands", options.standTable, table.sha256});
    Sha256 fingerprint;
    fingerprint.update("stands " + table.sha256 + "\ndetail " + options.detail + "\n");
    for (size_t k = 0; k < regimes.size(); ++k) {
        const std::string text = macroText(regimes[k].entries);
        run.regimes.push_back({regimes[k].name, text});
        fingerprint.update("regime " + regimes[k].name + "\n" + text + "\n");
        if (!options.regimes.empty()) {
            const std::string path = batch::parseRegimeOption(options.regimes[k]).path;
            run.inputs.push_back({"regime " + regimes[k].name, path, fileDigest(path).value_or("")});
        }
    }
    const std::filesystem::path folder = std::filesystem::path(options.standTable).parent_path();
    for (const std::string& treeList : table.treeLists) {
        const std::string digest = fileDigest((folder / treeList).string()).value_or("missing");
        run.inputs.push_back({"treelist", treeList, digest});
        fingerprint.update("treelist " + treeList + " " + digest + "\n");
    }
    addValueInputs(options, run, fingerprint);
    run.fingerprint = fingerprint.hexDigest();
    return run;
}

// Options that describe one stand, or the default regime when regimes are given, would be ignored.
std::optional<std::string> misplacedOption(const BatchCommand& command, const BatchOptions& options) {
    for (const CLI::Option* option : command.standValueOptions) {
        if (option->count() > 0) {
            const std::string name = option->get_name();
            std::string column = name.substr(2);
            for (char& c : column) {
                c = c == '-' ? '_' : c;
            }
            return name + " describes one stand; in a batch each stand's values come from its row (column " + column +
                   ").";
        }
    }
    if (!options.regimes.empty()) {
        for (const CLI::Option* option : command.regimeOptions) {
            if (option->count() > 0) {
                return option->get_name() + " makes the default regime; with --regime each regime's macro gives its "
                                            "own target, rotation and units.";
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> readValueInputs(const BatchOptions& options, batch::BatchSettings& settings) {
    if (options.optimize && !options.prices) {
        return std::string("--optimize ranks regimes by their value: give --prices too.");
    }
    if (options.prices) {
        if (auto refused = economics::readPrices(*options.prices, settings.prices.emplace())) {
            return refused;
        }
    }
    if (options.optimize) {
        return economics::readSearchSpace(*options.optimize, settings.space.emplace());
    }
    return std::nullopt;
}

void reportOutcome(const batch::BatchReport& report, std::ostream& err) {
    err << cformat("%lld stands: %lld run, %lld finished before", static_cast<long long>(report.stands),
                   static_cast<long long>(report.ran), static_cast<long long>(report.skipped));
    if (report.failedStands > 0) {
        err << cformat("; %lld failed (%lld stand-regime pairs), see the result table",
                       static_cast<long long>(report.failedStands), static_cast<long long>(report.failedPairs));
    }
    err << ".\n";
}

} // namespace

BatchCommand addBatchCommand(CLI::App& app, BatchOptions& o) {
    BatchCommand command;
    CLI::App* cmd = app.add_subcommand("batch", "Run every stand of a stand table under one or more regimes and "
                                                "write the results to a database.");
    command.command = cmd;
    cmd->add_option("stands", o.standTable, "Stand table: CSV with a header row and a stand_id column")
        ->required()
        ->type_name("STANDS.csv");
    cmd->add_option("--out", o.out, "Results database (SQLite), or a folder (ending in /) for CSV files")
        ->required()
        ->type_name("RESULTS.sqlite");
    cmd->add_option("--regime", o.regimes,
                    "A macro (.gmc or its text form) to run on every stand; its Initialize and Project takes the "
                    "stand from the row. Repeat for several regimes (default: the project options below)")
        ->type_name("[NAME=]MACRO");
    cmd->add_option("-j,--jobs", o.threads, "Worker threads (default: the hardware threads)")
        ->check(CLI::Range(1u, 1024u))
        ->type_name("N");
    cmd->add_option("--shard", o.shard,
                    "Run only the stands whose row index i has i % N == K (K/N), or this SLURM "
                    "array task's share (slurm)")
        ->type_name("K/N|slurm");
    cmd->add_option("--detail", o.detail, "summary: one row per results table; dbh: also every DBH class row")
        ->check(CLI::IsMember({"summary", "dbh"}))
        ->type_name("LEVEL");
    cmd->add_flag("--retry-failed", o.retryFailed, "Run the stands that failed in an earlier run again");
    cmd->add_flag("--quiet", o.quiet, "No progress line");
    cmd->add_option("--prices", o.prices,
                    "Prices and costs (JSON): value every regime of every stand (table economics)")
        ->type_name("FILE");
    cmd->add_option("--optimize", o.optimize,
                    "A search space (JSON, as for `optimize`): every stand's best regime (table best_regime; needs "
                    "--prices)")
        ->type_name("SPACE.json");
    addStandOptions(cmd, o.project);
    for (const char* name : {"--title", "--site", "--planted", "--survival", "--existing-age", "--trees",
                             "--basal-area", "--poorly-drained", "--hardwood"}) {
        command.standValueOptions.push_back(cmd->get_option(name));
    }
    for (const char* name : {"--rotation", "--target-age", "--target-basal-area", "--target-qmd", "--target-height",
                             "--target-cords", "--target-crown-ratio", "--target-relative-spacing", "--units", "--bark",
                             "--rule", "--min-dbh", "--top", "--equation"}) {
        command.regimeOptions.push_back(cmd->get_option(name));
    }
    cmd->footer(
        "Known columns: stand_id (required, unique), title, rotation, site, planted, survival, existing_age, "
        "trees,\nbasal_area, poorly_drained (0/1), hardwood, treelist (a .dat file, relative to the stand table). "
        "Any other\ncolumn is carried through to the results. A rerun of the same command skips the stands "
        "already done.\nExit status: 0 every stand ran, 3 some stands failed, 2 refused input, 1 the output "
        "could not be written.");
    return command;
}

int runBatchCommand(const BatchCommand& command, const BatchOptions& options, std::ostream& err) {
    if (auto refused = misplacedOption(command, options)) {
        err << *refused << '\n';
        return kExitBadInput;
    }
    std::string error;
    const std::optional<Shard> shard = options.shard ? parseShard(*options.shard, error) : Shard{};
    if (!shard) {
        err << error << '\n';
        return kExitBadInput;
    }
    std::vector<batch::Regime> regimes;
    if (auto refused = readRegimes(options, regimes)) {
        err << *refused << '\n';
        return kExitBadInput;
    }
    batch::BatchSettings settings;
    if (auto refused = readValueInputs(options, settings)) {
        err << *refused << '\n';
        return kExitBadInput;
    }
    batch::StandTableCheck table;
    if (auto refused = batch::checkStandTable(options.standTable, table)) {
        err << *refused << '\n';
        return kExitBadInput;
    }

    std::unique_ptr<batch::ResultSink> sink;
    if (isFolderOutput(options.out)) {
        sink = std::make_unique<batch::CsvResultFolder>(options.out);
    } else {
        sink = std::make_unique<batch::ResultsDatabase>(options.out);
    }
    if (const IoStatus started = sink->start(identity(options, table, regimes, *shard)); !started) {
        err << started.message() << '\n';
        return kExitRunFailed;
    }

    settings.standTable = options.standTable;
    settings.columns = table.columns;
    settings.rows = table.rows;
    settings.regimes = std::move(regimes);
    settings.dbhDetail = options.detail == "dbh";
    settings.threads = options.threads.value_or(std::max(1u, std::thread::hardware_concurrency()));
    settings.shard = *shard;
    settings.retryFailed = options.retryFailed;
    settings.progress = !options.quiet && ::isatty(STDERR_FILENO) ? &err : nullptr;
    const batch::BatchReport report = batch::runBatch(settings, *sink);
    if (!report.error.empty()) {
        err << report.error << '\n';
        return report.writeFailed ? kExitRunFailed : kExitBadInput;
    }
    if (const IoStatus finished = sink->finish(); !finished) {
        err << finished.message() << '\n';
        return kExitRunFailed;
    }
    reportOutcome(report, err);
    return report.failedStands > 0 ? kExitSomeStandsFailed : kExitSuccess;
}

CLI::App* addMergeCommand(CLI::App& app, MergeOptions& o) {
    CLI::App* cmd = app.add_subcommand("merge", "Join the results databases of the shards of one batch run.");
    cmd->add_option("out", o.out, "The joined database (created when missing)")->required()->type_name("OUT.sqlite");
    cmd->add_option("shards", o.shards, "The shards' databases")->required()->type_name("SHARD.sqlite...");
    cmd->footer("Shards of other inputs, another program version or schema, or holding the same stands, are "
                "refused and OUT\nis left as it was. Merging the same shards again changes nothing.\nExit status: 0 "
                "merged, 2 refused.");
    return cmd;
}

int runMerge(const MergeOptions& options, std::ostream& out, std::ostream& err) {
    if (const IoStatus merged = batch::mergeResultDatabases(options.out, options.shards, out); !merged) {
        err << merged.message() << '\n';
        return kExitBadInput;
    }
    return kExitSuccess;
}

} // namespace grovex::cli
