#include "batch/results_db.h"

#include "batch/results_rows.h"
#include "batch/results_store.h"

#include <cstdio>
#include <mutex>
#include <optional>
#include <sys/stat.h>

namespace grovex::batch {

using store::Connection;
using store::Failure;
using store::Statement;

namespace {

constexpr int kWriterFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
constexpr int kReaderFlags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX;
constexpr int kReaderBusyMilliseconds = 5000;

bool fileExists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

// Removes a file start() created, with SQLite's files beside it, so that a refused or failed start leaves
// nothing behind.
void removeCreatedFile(const std::string& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        std::remove((path + suffix).c_str());
    }
}

} // namespace

struct ResultsDatabase::Impl {
    enum class State { Idle, Running, Finished };

    std::string path;
    State state = State::Idle;
    std::optional<std::string> broken; // the failure every later call answers

    Connection db;
    int64_t runNo = 0;
    bool detail = false;
    // Whether the file held results when the run started; when it did not, nothing is finished and nothing
    // written needs replacing, and neither is looked up for every stand.
    bool earlierResults = false;
    size_t standColumns = 0;
    rows::Row row;
    Statement insertStand;
    Statement insertResult;
    Statement deleteSummaries;
    Statement insertSummary;
    Statement deleteDbhRows;
    Statement insertDbhRow;
    Statement insertEconomics;
    Statement deleteEconomics;
    Statement insertBestRegime;

    std::mutex readerMutex;
    Connection reader;
    Statement statusQuery;

    void open(const RunIdentity& run);
    void writeOutcome(const StandOutcome& outcome);
    void writeMeasures(const StandResult& result);
    IoStatus fail(const Failure& failure);
    void closeAll();
};

void ResultsDatabase::Impl::open(const RunIdentity& run) {
    store::checkColumnNames(run.userColumns);
    store::checkWritable(path);
    db = Connection(path, kWriterFlags);

    store::Identity wanted{run.programVersion, run.fingerprint, run.dbhDetail, run.userColumns, run.shard};
    const std::optional<store::Identity> found = store::readIdentity(db, "main", path);
    if (found) {
        store::checkSameIdentity(*found, path, wanted, "");
    }
    db.exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL; PRAGMA cache_size = -32768;");
    db.exec("BEGIN IMMEDIATE");
    if (!found) {
        store::createSchema(db, run.userColumns, run.dbhDetail);
    }
    store::createValueTables(db, "main", run.economics, run.bestRegimes);

    Statement insertRun(db, store::insertSql("", "run", rows::names(rows::kRunColumns)));
    const rows::RunRow times{0, rows::utcTimestamp(), ""}; // the row points into it
    rows::runRow(run, times, row);
    row[0] = rows::Value{}; // numbered by SQLite
    insertRun.bindRow(row).run();
    runNo = sqlite3_last_insert_rowid(db.handle());

    Statement insertInput(db, store::insertSql("", "input_file", rows::names(rows::kInputFileColumns)));
    for (const InputFile& input : run.inputs) {
        rows::inputFileRow(runNo, input, row);
        insertInput.bindRow(row).run();
    }
    Statement insertRegime(db, store::insertSql("OR IGNORE", "regime", rows::names(rows::kRegimeColumns)));
    for (size_t i = 0; i < run.regimes.size(); ++i) {
        rows::regimeRow(run.regimes[i], static_cast<int64_t>(i + 1), row);
        insertRegime.bindRow(row).run();
    }
    db.exec("COMMIT");

    detail = run.dbhDetail;
    const std::vector<std::string> columns = rows::standColumns(run.userColumns);
    standColumns = columns.size();
    insertStand = Statement(db, store::insertSql("OR REPLACE", "stand", columns));
    insertResult = Statement(db, store::insertSql("OR REPLACE", "result", rows::names(rows::kResultColumns)));
    deleteSummaries = Statement(db, "DELETE FROM stand_summary WHERE stand_id = ? AND regime = ?");
    insertSummary = Statement(db, store::insertSql("", "stand_summary", rows::names(rows::kSummaryColumns)));
    if (detail) {
        deleteDbhRows = Statement(db, "DELETE FROM stand_table WHERE stand_id = ? AND regime = ?");
        insertDbhRow = Statement(db, store::insertSql("", "stand_table", rows::names(rows::kDbhColumns)));
    }
    // A pair that runs again without measures (it failed now) keeps no row from an earlier run.
    if (run.economics) {
        insertEconomics =
            Statement(db, store::insertSql("OR REPLACE", "economics", rows::names(rows::kEconomicsColumns)));
        deleteEconomics = Statement(db, "DELETE FROM economics WHERE stand_id = ? AND regime = ?");
    }
    if (run.bestRegimes) {
        insertBestRegime =
            Statement(db, store::insertSql("OR REPLACE", "best_regime", rows::names(rows::kBestRegimeColumns)));
    }

    {
        // A connection of its own, so that finished() reads committed results while the writer goes on.
        std::lock_guard lock(readerMutex);
        reader = Connection(path, kReaderFlags);
        sqlite3_busy_timeout(reader.handle(), kReaderBusyMilliseconds);
        statusQuery = Statement(reader, "SELECT status FROM result WHERE stand_id = ? AND regime = ?");
        Statement any(reader, "SELECT EXISTS (SELECT 1 FROM result)");
        earlierResults = any.step() && any.text(0) == "1";
    }
    db.exec("BEGIN IMMEDIATE");
}

void ResultsDatabase::Impl::writeOutcome(const StandOutcome& outcome) {
    rows::standRow(outcome.stand, row);
    if (row.size() != standColumns) {
        throw Failure{"Stand " + outcome.stand.standId + " has " + std::to_string(row.size() - 1) + " values for the " +
                      std::to_string(standColumns - 1) + " columns of the stand table."};
    }
    insertStand.bindRow(row).run();
    for (const StandResult& result : outcome.results) {
        rows::resultRow(result, runNo, row);
        insertResult.bindRow(row).run();
        if (earlierResults) {
            deleteSummaries.bind(1, result.standId).bind(2, result.regime).run();
        }
        for (const SummaryRow& summary : result.summaries) {
            rows::summaryRow(result, summary, row);
            insertSummary.bindRow(row).run();
        }
        if (detail) {
            if (earlierResults) {
                deleteDbhRows.bind(1, result.standId).bind(2, result.regime).run();
            }
            for (const DbhRow& dbh : result.dbhRows) {
                rows::dbhRow(result, dbh, row);
                insertDbhRow.bindRow(row).run();
            }
        }
        writeMeasures(result);
    }
    if (outcome.bestRegime && insertBestRegime.isPrepared()) {
        rows::bestRegimeRow(outcome, runNo, row);
        insertBestRegime.bindRow(row).run();
    }
}

void ResultsDatabase::Impl::writeMeasures(const StandResult& result) {
    if (!insertEconomics.isPrepared()) {
        return;
    }
    if (result.measures) {
        rows::economicsRow(result, runNo, row);
        insertEconomics.bindRow(row).run();
    } else if (earlierResults) {
        deleteEconomics.bind(1, result.standId).bind(2, result.regime).run();
    }
}

IoStatus ResultsDatabase::Impl::fail(const Failure& failure) {
    db.rollbackQuietly();
    broken = failure.message;
    return IoStatus::failure(failure.message);
}

void ResultsDatabase::Impl::closeAll() {
    {
        std::lock_guard lock(readerMutex);
        statusQuery = Statement();
        reader.close();
    }
    insertStand = Statement();
    insertResult = Statement();
    deleteSummaries = Statement();
    insertSummary = Statement();
    deleteDbhRows = Statement();
    insertDbhRow = Statement();
    insertEconomics = Statement();
    deleteEconomics = Statement();
    insertBestRegime = Statement();
    db.close();
}

ResultsDatabase::ResultsDatabase(std::string path) : impl_(std::make_unique<Impl>()) {
    impl_->path = std::move(path);
}

ResultsDatabase::~ResultsDatabase() {
    impl_->closeAll();
}

IoStatus ResultsDatabase::start(const RunIdentity& run) {
    if (impl_->state != Impl::State::Idle) {
        return IoStatus::failure(impl_->path + " is already open for a run.");
    }
    const bool existed = fileExists(impl_->path);
    try {
        impl_->open(run);
        impl_->state = Impl::State::Running;
        return IoStatus::success();
    } catch (const Failure& failure) {
        impl_->db.rollbackQuietly();
        impl_->closeAll();
        if (!existed) {
            removeCreatedFile(impl_->path);
        }
        return IoStatus::failure(failure.message);
    }
}

bool ResultsDatabase::finished(const std::string& standId, const std::string& regime, bool retryFailed) {
    std::lock_guard lock(impl_->readerMutex);
    if (!impl_->reader.isOpen() || !impl_->earlierResults) {
        return false;
    }
    Statement& query = impl_->statusQuery;
    try {
        query.bind(1, standId).bind(2, regime);
        bool done = false;
        if (query.step()) {
            done = query.text(0) == "ok" || !retryFailed;
        }
        query.reset();
        return done;
    } catch (const Failure&) {
        return false; // an answer it cannot read: the pair runs again, which is always safe
    }
}

IoStatus ResultsDatabase::write(const StandOutcome& outcome) {
    if (impl_->broken) {
        return IoStatus::failure(*impl_->broken);
    }
    if (impl_->state != Impl::State::Running) {
        return IoStatus::failure(impl_->path + " is not open for a run.");
    }
    try {
        impl_->writeOutcome(outcome);
        return IoStatus::success();
    } catch (const Failure& failure) {
        return impl_->fail(failure);
    }
}

IoStatus ResultsDatabase::commit() {
    if (impl_->broken) {
        return IoStatus::failure(*impl_->broken);
    }
    if (impl_->state != Impl::State::Running) {
        return IoStatus::failure(impl_->path + " is not open for a run.");
    }
    try {
        impl_->db.exec("COMMIT");
        impl_->db.exec("BEGIN IMMEDIATE");
        return IoStatus::success();
    } catch (const Failure& failure) {
        return impl_->fail(failure);
    }
}

IoStatus ResultsDatabase::finish() {
    if (impl_->state != Impl::State::Running) {
        return IoStatus::failure(impl_->path + " is not open for a run.");
    }
    impl_->state = Impl::State::Finished;
    if (impl_->broken) {
        impl_->closeAll(); // the run stopped: its end stays NULL
        return IoStatus::failure(*impl_->broken);
    }
    try {
        Statement end(impl_->db, "UPDATE run SET ended = ? WHERE run_no = ?");
        const std::string now = rows::utcTimestamp();
        end.bind(1, now).bind(2, impl_->runNo).run();
        impl_->db.exec("COMMIT");
        end = Statement();
        impl_->closeAll();
        return IoStatus::success();
    } catch (const Failure& failure) {
        IoStatus status = impl_->fail(failure);
        impl_->closeAll();
        return status;
    }
}

} // namespace grovex::batch
