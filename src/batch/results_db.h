#pragma once
// The results database of a batch run: one SQLite file holding the stands, the regimes, every stand's
// outcome under every regime and the stand values of each results table (docs/results-database.md lists the
// tables). The file is written in write-ahead-log mode with full syncs, so a process killed at any moment,
// or a power loss, leaves a file that opens and keeps every group of stands committed before.

#include "batch/result_sink.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace grovex::batch {

class ResultsDatabase : public ResultSink {
public:
    explicit ResultsDatabase(std::string path);
    ~ResultsDatabase() override; // without finish, whatever was not committed is dropped
    ResultsDatabase(const ResultsDatabase&) = delete;
    ResultsDatabase& operator=(const ResultsDatabase&) = delete;

    // A new (or empty) file gets the tables; an existing one must be a results database of this schema
    // version, written by the same program version from the same inputs (fingerprint, the stand table's own
    // columns, DBH detail), else it is refused unchanged. The run, its input files and the regimes are noted.
    IoStatus start(const RunIdentity& run) override;
    // Answers from what is committed; may be called from another thread than write while the run goes on.
    bool finished(const std::string& standId, const std::string& regime, bool retryFailed) override;
    // Replaces the stand's row and, for every result, the result with its stand_summary and stand_table rows.
    // The rows become durable with the next commit. After a failure (disk full, ...) the open group is rolled
    // back, everything committed before stays, and every later call answers the same failure.
    IoStatus write(const StandOutcome& outcome) override;
    IoStatus commit() override;
    // Notes the end time of the run, commits and closes the file.
    IoStatus finish() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Joins the results databases of the shards of one run into `out` (created when missing). Every shard must
// come from the same program version and inputs as the others and as an existing `out`, and no stand may
// come from two different shards; otherwise nothing in `out` changes. Merging the same shards again changes
// nothing. Writes one line per shard and a total line to `report`.
IoStatus mergeResultDatabases(const std::string& out, const std::vector<std::string>& shards, std::ostream& report);

} // namespace grovex::batch
