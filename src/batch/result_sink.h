#pragma once
// Where a batch run writes: the results database (results_db.h) or a folder of CSV files (csv_results.h).
// The run calls start once, then, from one writer thread, write for every stand in stand-table order, with
// commit at the end of each group of stands, and finish once at the end.

#include "base/file_io.h"
#include "batch/batch_results.h"

#include <optional>
#include <string>
#include <vector>

namespace grovex::batch {

// One file a run read, and its SHA-256 as 64 lower-case hexadecimal digits.
struct InputFile {
    std::string role; // "stands", "regime NAME", "treelist", ...
    std::string path;
    std::string sha256;
};

// What identifies a run and its inputs.
struct RunIdentity {
    std::string programVersion;
    std::string programCommit;
    std::string commandLine;
    // SHA-256 over everything that decides the results: the stand table's bytes, each regime's name and
    // text, the detail level. Equal fingerprints mean the same results for the same stands.
    std::string fingerprint;
    std::string shard; // "K/N", "0/1" for a whole run
    bool dbhDetail = false;
    bool economics = false;   // with prices: the table `economics`
    bool bestRegimes = false; // with a search space: the table `best_regime`
    std::vector<InputFile> inputs;
    std::vector<std::string> userColumns; // the stand table's own columns, in file order
    std::vector<RegimeRecord> regimes;    // in command-line order; a result's regimeIndex indexes this
};

// A stand and its results under every regime it ran (the pairs finished by an earlier run are left out).
struct StandOutcome {
    StandRecord stand;
    std::vector<StandResult> results;
    std::optional<BestRegime> bestRegime; // with a search space
};

class ResultSink {
public:
    virtual ~ResultSink() = default;
    // Creates the output, or checks that an existing one comes from the same inputs and program version
    // and notes the new run. The message names the file and says what is wrong.
    virtual IoStatus start(const RunIdentity& run) = 0;
    // True when an earlier run already finished this pair: ok, or failed and `retryFailed` is false.
    // Safe to call from another thread than write (the reader of the stand table calls it).
    virtual bool finished(const std::string& standId, const std::string& regime, bool retryFailed) = 0;
    // Replaces whatever an earlier run wrote for these pairs.
    virtual IoStatus write(const StandOutcome& outcome) = 0;
    // Makes everything written so far durable; a process killed after it keeps those stands.
    virtual IoStatus commit() = 0;
    // Notes the end time of the run and closes the output.
    virtual IoStatus finish() = 0;
};

} // namespace grovex::batch
