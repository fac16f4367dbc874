// grovex-cli merge: joins the results databases of the shards of one run. Every shard is checked before
// anything is written: its identity against the others and against an existing output, and its stands
// against the stands other shards (or the output) already hold. The copies then go in through one
// transaction for as many shards as SQLite lets one connection attach at a time.

#include "batch/results_db.h"

#include "batch/results_rows.h"
#include "batch/results_store.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <sys/stat.h>
#include <system_error>

namespace grovex::batch {

using store::Connection;
using store::Failure;
using store::Statement;

namespace {

// A file name as a read-only SQLite URI, so that ATTACH never creates or changes a shard.
std::string readOnlyUri(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = path.starts_with('/') ? "file://" : "file:";
    for (const unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 0xf];
        }
    }
    return uri + "?mode=ro";
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

void checkReadable(const std::string& shard) {
    struct stat status {};
    if (::stat(shard.c_str(), &status) != 0) {
        throw Failure{"Unable to open " + shard + ": " + std::generic_category().message(errno) + "."};
    }
    if (!S_ISREG(status.st_mode)) {
        throw Failure{"Unable to open " + shard + ": " + std::generic_category().message(EISDIR) + "."};
    }
}

int64_t countOf(const Connection& db, const std::string& sql) {
    Statement count(db, sql);
    const int64_t n = count.step() ? count.integer(0) : 0;
    count.reset();
    return n;
}

class Merge {
public:
    Merge(const std::string& out, const std::vector<std::string>& shards) : out_(out), shards_(shards) {}

    void run(std::ostream& report);
    // Rolls back what a failed merge began and closes the output.
    void abandon() {
        db_.rollbackQuietly();
        db_.close();
    }

private:
    std::string alias(size_t shard) const { return "shard" + std::to_string(shard); }
    void attach(size_t shard) {
        db_.exec("ATTACH " + store::quoteLiteral(readOnlyUri(shards_[shard])) + " AS " + alias(shard));
    }
    void detach(size_t shard) { db_.exec("DETACH " + alias(shard)); }
    void check();
    void checkOverlap();
    void copy(size_t shard);
    void copyValueTables(size_t shard);
    std::string where(int64_t file) const { return file < 0 ? out_ : shards_[static_cast<size_t>(file)]; }

    std::string out_;
    const std::vector<std::string>& shards_;
    Connection db_;
    std::optional<store::Identity> outIdentity_;
    store::Identity reference_;
    std::vector<int64_t> standCounts_;
    std::vector<int64_t> resultCounts_;
};

// Reads every shard once, read-only: its identity, and which stands it holds from which shard of the run.
void Merge::check() {
    std::string referenceName = out_;
    if (outIdentity_) {
        reference_ = *outIdentity_;
    }
    db_.exec("CREATE TEMP TABLE merge_stand(stand_id TEXT, shard TEXT, file INTEGER);"
             "CREATE TEMP TABLE run_map(old INTEGER PRIMARY KEY, new INTEGER, added INTEGER);");
    for (size_t i = 0; i < shards_.size(); ++i) {
        try {
            attach(i);
        } catch (const Failure& failure) {
            throw failure.code == SQLITE_NOTADB ? Failure{shards_[i] + " is not a GROVEX results database."} : failure;
        }
        const std::optional<store::Identity> identity = store::readIdentity(db_, alias(i), shards_[i]);
        if (!identity) {
            throw Failure{shards_[i] + " is not a GROVEX results database."};
        }
        if (!outIdentity_ && i == 0) {
            reference_ = *identity;
            referenceName = shards_[0];
        } else {
            store::checkSameIdentity(*identity, shards_[i], reference_, referenceName);
        }
        const std::string prefix = alias(i) + ".";
        Statement note(db_, "INSERT INTO temp.merge_stand SELECT DISTINCT r.stand_id, run.shard, ? FROM " + prefix +
                                "result r JOIN " + prefix + "run run ON run.run_no = r.run_no");
        note.bind(1, static_cast<int64_t>(i)).run();
        standCounts_.push_back(countOf(db_, "SELECT count(*) FROM " + prefix + "stand"));
        resultCounts_.push_back(countOf(db_, "SELECT count(*) FROM " + prefix + "result"));
        note = Statement();
        detach(i);
    }
    db_.exec("CREATE INDEX temp.merge_stand_id ON merge_stand(stand_id)");
    checkOverlap();
}

// A stand belongs to the shard of the run that wrote it. The same shard may come again (a merge run twice, a
// shard run anew); a stand of two different shards means the shards do not belong together.
void Merge::checkOverlap() {
    std::string sql = "SELECT a.stand_id, a.shard, a.file, b.shard, b.file FROM merge_stand a JOIN merge_stand b "
                      "ON b.stand_id = a.stand_id AND b.shard <> a.shard AND b.file < a.file";
    if (outIdentity_) {
        sql += " UNION ALL SELECT a.stand_id, a.shard, a.file, run.shard, -1 FROM merge_stand a "
               "JOIN main.result r ON r.stand_id = a.stand_id JOIN main.run run ON run.run_no = r.run_no "
               "WHERE run.shard <> a.shard";
    }
    Statement overlap(db_, sql + " LIMIT 1");
    if (overlap.step()) {
        const std::string message = where(overlap.integer(2)) + " holds stand " + overlap.text(0) + " of shard " +
                                    overlap.text(1) + ", which " + where(overlap.integer(4)) + " holds from shard " +
                                    overlap.text(3) + ".";
        overlap.reset();
        throw Failure{message};
    }
    overlap.reset();
}

// "m" and "r" are the same run: equal in every column but the number.
std::string sameRun(const std::string& m, const std::string& r) {
    std::string condition;
    for (size_t i = 1; i < rows::kRunColumns.size(); ++i) {
        const std::string column = rows::kRunColumns[i];
        condition += (condition.empty() ? "" : " AND ") + m + "." + column + " IS " + r + "." + column;
    }
    return condition;
}

std::string columnNames(const std::vector<std::string>& columns, const std::string& table = "") {
    std::string names;
    for (const std::string& column : columns) {
        names += (names.empty() ? "" : ", ") + (table.empty() ? "" : table + ".") + store::quoteIdentifier(column);
    }
    return names;
}

void Merge::copy(size_t shard) {
    const std::string s = alias(shard) + ".";

    // The shard's runs, renumbered; a run the output already has (an earlier merge) is not added again.
    const std::vector<std::string> runColumns(rows::kRunColumns.begin() + 1, rows::kRunColumns.end());
    db_.exec("DELETE FROM temp.run_map;"
             "INSERT INTO temp.run_map SELECT r.run_no, (SELECT min(m.run_no) FROM main.run m WHERE " +
             sameRun("m", "r") + "), 0 FROM " + s + "run r;" +
             "UPDATE temp.run_map SET added = 1 WHERE new IS NULL;"
             "INSERT INTO main.run(" +
             columnNames(runColumns) + ") SELECT " + columnNames(runColumns, "r") + " FROM " + s +
             "run r JOIN temp.run_map map ON map.old = r.run_no WHERE map.added ORDER BY r.run_no;" +
             "UPDATE temp.run_map SET new = (SELECT min(m.run_no) FROM main.run m JOIN " + s +
             "run r ON r.run_no = run_map.old WHERE " + sameRun("m", "r") + ") WHERE added;" +
             "INSERT INTO main.input_file(run_no, role, path, sha256) SELECT map.new, f.role, f.path, f.sha256 FROM " +
             s + "input_file f JOIN temp.run_map map ON map.old = f.run_no WHERE map.added ORDER BY f.rowid;");

    db_.exec("INSERT OR IGNORE INTO main.regime(regime, regime_no, macro_text) SELECT regime, regime_no, macro_text "
             "FROM " +
             s + "regime;");
    const std::string standColumns = columnNames(rows::standColumns(reference_.userColumns));
    db_.exec("INSERT OR REPLACE INTO main.stand(" + standColumns + ") SELECT " + standColumns + " FROM " + s +
             "stand;");

    // The tables of a (stand, regime) the shard holds replace whatever the output held for it.
    std::vector<std::pair<std::string, std::vector<std::string>>> tables{
        {"stand_summary", rows::names(rows::kSummaryColumns)}};
    if (reference_.detail) {
        tables.emplace_back("stand_table", rows::names(rows::kDbhColumns));
    }
    for (const auto& [table, columns] : tables) {
        const std::string names = columnNames(columns);
        db_.exec("DELETE FROM main." + table + " WHERE (stand_id, regime) IN (SELECT stand_id, regime FROM " + s +
                 "result);" + "INSERT OR REPLACE INTO main." + table + "(" + names + ") SELECT " + names + " FROM " +
                 s + table + ";");
    }
    db_.exec("INSERT OR REPLACE INTO main.result(stand_id, regime, status, message, elapsed_us, run_no) "
             "SELECT r.stand_id, r.regime, r.status, r.message, r.elapsed_us, map.new FROM " +
             s + "result r LEFT JOIN temp.run_map map ON map.old = r.run_no;");
    copyValueTables(shard);
}

// The tables of runs with prices or a search space, from the shards that have them: what the shard holds
// for a stand (and regime) replaces the output's rows for it, with the runs renumbered.
void Merge::copyValueTables(size_t shard) {
    const std::string s = alias(shard) + ".";
    const struct {
        const char* table;
        std::vector<std::string> columns;
        const char* key;
        const char* keys;
        bool economics;
    } tables[] = {
        {"economics", rows::names(rows::kEconomicsColumns), "(stand_id, regime)", "stand_id, regime", true},
        {"best_regime", rows::names(rows::kBestRegimeColumns), "stand_id", "stand_id", false},
    };
    for (const auto& t : tables) {
        if (!store::hasTable(db_, alias(shard), t.table)) {
            continue;
        }
        store::createValueTables(db_, "main", t.economics, !t.economics);
        std::vector<std::string> values(t.columns.begin(), t.columns.end() - 1); // all but run_no
        db_.exec("DELETE FROM main." + std::string(t.table) + " WHERE " + t.key + " IN (SELECT DISTINCT " + t.keys +
                 " FROM " + s + "result);" + "INSERT OR REPLACE INTO main." + t.table + "(" + columnNames(t.columns) +
                 ") SELECT " + columnNames(values, "v") + ", map.new FROM " + s + t.table +
                 " v LEFT JOIN temp.run_map map ON map.old = v.run_no;");
    }
}

void Merge::run(std::ostream& report) {
    for (const std::string& shard : shards_) {
        checkReadable(shard);
        if (sameFile(shard, out_)) {
            throw Failure{shard + " is the file the shards are merged into."};
        }
    }
    store::checkWritable(out_);
    db_ = Connection(out_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX);
    outIdentity_ = store::readIdentity(db_, "main", out_);
    check();

    db_.exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL; PRAGMA cache_size = -32768;");
    const size_t group = static_cast<size_t>(std::max(1, sqlite3_limit(db_.handle(), SQLITE_LIMIT_ATTACHED, -1)));
    for (size_t first = 0; first < shards_.size(); first += group) {
        const size_t end = std::min(shards_.size(), first + group);
        for (size_t i = first; i < end; ++i) {
            attach(i);
        }
        db_.exec("BEGIN IMMEDIATE");
        if (!outIdentity_ && first == 0) {
            store::createSchema(db_, reference_.userColumns, reference_.detail);
        }
        for (size_t i = first; i < end; ++i) {
            copy(i);
        }
        db_.exec("COMMIT");
        for (size_t i = first; i < end; ++i) {
            detach(i);
        }
    }

    for (size_t i = 0; i < shards_.size(); ++i) {
        report << shards_[i] << ": " << standCounts_[i] << " stands, " << resultCounts_[i] << " results\n";
    }
    report << out_ << ": " << countOf(db_, "SELECT count(*) FROM main.stand") << " stands, "
           << countOf(db_, "SELECT count(*) FROM main.result") << " results, "
           << countOf(db_, "SELECT count(*) FROM main.result WHERE status = 'failed'") << " failed\n";
    db_.close();
}

} // namespace

IoStatus mergeResultDatabases(const std::string& out, const std::vector<std::string>& shards, std::ostream& report) {
    if (shards.empty()) {
        return IoStatus::failure("Name at least one shard to merge into " + out + ".");
    }
    struct stat status {};
    const bool existed = ::stat(out.c_str(), &status) == 0;
    Merge merge(out, shards);
    try {
        merge.run(report);
        return IoStatus::success();
    } catch (const Failure& failure) {
        merge.abandon();
        if (!existed) {
            for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
                std::remove((out + suffix).c_str());
            }
        }
        return IoStatus::failure(failure.message);
    }
}

} // namespace grovex::batch
