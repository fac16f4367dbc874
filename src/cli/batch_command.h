#pragma once
// `grovex-cli batch STANDS.csv --out RESULTS.sqlite [--regime [NAME=]MACRO]... [project options] [-j N]
// [--shard K/N | --shard slurm] [--detail summary|dbh] [--retry-failed] [--quiet]`: every stand of a stand
// table under every regime, into a results database (or a folder of CSV files), and
// `grovex-cli merge OUT.sqlite SHARD.sqlite...`: the shards of one run joined into one database.

#include "batch/stand_inputs.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace grovex::cli {

inline constexpr int kExitSomeStandsFailed = 3;

struct BatchOptions {
    std::string standTable;
    std::string out;
    std::vector<std::string> regimes;
    batch::StandOptions project; // the default regime's target, rotation and units
    std::optional<unsigned> threads;
    std::optional<std::string> shard;
    std::string detail = "summary";
    bool retryFailed = false;
    bool quiet = false;
    std::optional<std::string> prices;   // value every regime of every stand
    std::optional<std::string> optimize; // search space: every stand's best regime
    std::string commandLine;
};

struct BatchCommand {
    CLI::App* command = nullptr;
    std::vector<CLI::Option*> standValueOptions; // describe one stand: refused in a batch
    std::vector<CLI::Option*> regimeOptions;     // make the default regime: refused with --regime
};

BatchCommand addBatchCommand(CLI::App& app, BatchOptions& options);
// Answers the process exit status; messages go to `err`, the progress line too when it is a terminal.
int runBatchCommand(const BatchCommand& command, const BatchOptions& options, std::ostream& err);

struct MergeOptions {
    std::string out;
    std::vector<std::string> shards;
};

CLI::App* addMergeCommand(CLI::App& app, MergeOptions& options);
int runMerge(const MergeOptions& options, std::ostream& out, std::ostream& err);

} // namespace grovex::cli
