#include "batch/results_store.h"

#include <cerrno>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace grovex::batch::store {
namespace {

std::string systemReason(int error) {
    return std::generic_category().message(error);
}

std::string parentFolder(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The tables every results database has. The comments are kept by SQLite with each table, so `.schema`
// shows them; docs/results-database.md says the same for readers of the file.
constexpr const char* kRunTables = R"sql(
-- One row for each run that wrote into this file: a resumed run adds a row, a merge copies the rows of
-- every shard.
CREATE TABLE run(
    run_no INTEGER PRIMARY KEY,    -- 1 for the first run, counting up
    program_version TEXT NOT NULL, -- version of the program that ran
    program_commit TEXT,           -- source revision the program was built from; NULL when unknown
    started TEXT NOT NULL,         -- when the run began, ISO 8601 UTC: "2026-12-08T11:30:00Z"
    ended TEXT,                    -- when it ended, same form; NULL while it runs or when it was stopped
    command_line TEXT,             -- the command as given
    shard TEXT NOT NULL,           -- "K/N": the run projected share K of N of the stand table; "0/1": all of it
    fingerprint TEXT NOT NULL,     -- SHA-256 (64 hexadecimal digits) over all that decides the results: the
                                   -- stand table's bytes, each regime's name and text, the detail level
    detail INTEGER NOT NULL        -- 1 when DBH class rows were written (table stand_table), else 0
);
-- The files a run read.
CREATE TABLE input_file(
    run_no INTEGER NOT NULL REFERENCES run(run_no), -- the run that read the file
    role TEXT NOT NULL,                             -- "stands", "regime NAME", "treelist", ...
    path TEXT NOT NULL,                             -- the file's path as given
    sha256 TEXT NOT NULL                            -- SHA-256 of its bytes, 64 lower-case hexadecimal digits
);
)sql";

constexpr const char* kStandTableHead = R"sql(
-- One row for each stand of the stand table, with the values as given: NULL for an empty cell. A value
-- that is not a number stays text in the numeric columns.
CREATE TABLE stand(
    stand_id TEXT NOT NULL PRIMARY KEY, -- the stand's identifier
    title TEXT,                         -- title of the stand's tables
    rotation INTEGER,                   -- maximum anticipated rotation, growing seasons
    site REAL,                          -- site index: dominant height in feet at base age 25
    planted INTEGER,                    -- bare land: trees planted per acre
    survival REAL,                      -- bare land: percent of the planted trees alive after the first year
    existing_age INTEGER,               -- existing stand: age in growing seasons
    trees REAL,                         -- existing stand: trees per acre
    basal_area REAL,                    -- existing stand: basal area, square feet per acre
    poorly_drained INTEGER,             -- poorly drained and not bedded, as given (1 or 0, yes or no)
    hardwood REAL,                      -- percent of the stand basal area in hardwoods
    treelist TEXT)sql";
// The stand table's own columns follow, each TEXT, with the name it has in the stand table.
constexpr const char* kStandTableTail = R"sql(
) WITHOUT ROWID;
)sql";

constexpr const char* kResultTables = R"sql(
-- The regimes of the run: each a macro of treatments that was played on every stand.
CREATE TABLE regime(
    regime TEXT NOT NULL PRIMARY KEY, -- the regime's name
    regime_no INTEGER NOT NULL,       -- its place on the command line, from 1
    macro_text TEXT                   -- the macro as text
);
-- One row for each stand under each regime.
CREATE TABLE result(
    stand_id TEXT NOT NULL, -- the stand (stand.stand_id)
    regime TEXT NOT NULL,   -- the regime (regime.regime)
    status TEXT NOT NULL CHECK(status IN ('ok', 'failed')), -- 'ok': projected; 'failed': see message
    message TEXT,           -- why the stand failed; for a stand that ran, the warnings on the way; NULL: none
    elapsed_us INTEGER,     -- time the projection took, microseconds
    run_no INTEGER,         -- the run that wrote this row (run.run_no)
    PRIMARY KEY(stand_id, regime)
) WITHOUT ROWID;
-- The stand values of every results table of a stand under a regime. All values are per acre. A thinned-tree
-- table has only trees, basal area and the volumes; the values a table does not show are NULL.
CREATE TABLE stand_summary(
    stand_id TEXT NOT NULL,    -- the stand
    regime TEXT NOT NULL,      -- the regime
    table_no INTEGER NOT NULL, -- 1 for the first table of the projection, counting up
    kind TEXT NOT NULL CHECK(kind IN ('live', 'thinned')), -- 'live': trees standing; 'thinned': trees removed
    age INTEGER,               -- stand age, growing seasons
    trees REAL,                -- trees per acre
    basal_area REAL,           -- square feet per acre
    qmd REAL,                  -- quadratic mean DBH, inches
    average_height REAL,       -- feet
    dominant_height REAL,      -- feet
    relative_spacing REAL,     -- ratio
    crown_ratio REAL,          -- percent
    cords REAL,                -- merchantable cords per acre
    volume1 REAL,              -- total of the first volume column per acre, in the unit its heading names
    volume2 REAL,              -- total of the second volume column
    volume3 REAL,              -- total of the third volume column
    volume1_heading TEXT,      -- heading of the first volume column, its lines joined by one blank
    volume2_heading TEXT,      -- heading of the second
    volume3_heading TEXT,      -- heading of the third
    hardwood_percent REAL,     -- percent of the basal area in hardwoods, where the table shows it
    PRIMARY KEY(stand_id, regime, table_no)
) WITHOUT ROWID;
)sql";

constexpr const char* kDbhTable = R"sql(
-- With DBH class detail only: the class rows of every results table (their total row is in stand_summary).
CREATE TABLE stand_table(
    stand_id TEXT NOT NULL,    -- the stand
    regime TEXT NOT NULL,      -- the regime
    table_no INTEGER NOT NULL, -- the table (stand_summary.table_no)
    dbh_class INTEGER NOT NULL, -- one-inch DBH class, inches
    trees REAL,                -- trees per acre
    average_height REAL,       -- feet
    basal_area REAL,           -- square feet per acre
    volume1 REAL,              -- first volume column, per acre (unit: stand_summary.volume1_heading)
    volume2 REAL,              -- second volume column
    volume3 REAL,              -- third volume column
    PRIMARY KEY(stand_id, regime, table_no, dbh_class)
) WITHOUT ROWID;
)sql";

// With prices only; made when a run first needs it, so that a file of runs without prices has none.
constexpr const char* kEconomicsTable = R"sql(
-- With prices only: what each stand's run under each regime is worth, per acre, at the prices' discount
-- rate. Year 0 is the start of the run: age 0 of a plantation, the age of an existing stand.
CREATE TABLE IF NOT EXISTS economics(
    stand_id TEXT NOT NULL,     -- the stand
    regime TEXT NOT NULL,       -- the regime
    harvest_age INTEGER,        -- age of the final harvest: the age of the run's last table, growing seasons
    npv REAL,                   -- net present value, currency per acre
    lev REAL,                   -- land expectation value, currency per acre; NULL for an existing stand
    irr REAL,                   -- internal rate of return per year (0.07: 7 percent); NULL when there is none
    eaa REAL,                   -- equivalent annual annuity, currency per acre and year
    best_age INTEGER,           -- the final-harvest age, up to harvest_age, with the highest LEV (NPV)
    value_at_best_age REAL,     -- that LEV (bare land) or NPV (existing stand), currency per acre
    run_no INTEGER,             -- the run that wrote this row (run.run_no)
    PRIMARY KEY(stand_id, regime)
) WITHOUT ROWID;
)sql";

// With a search space only, made as the economics table is.
constexpr const char* kBestRegimeTable = R"sql(
-- With a search space only: the best regime of each stand among the space's combinations.
CREATE TABLE IF NOT EXISTS best_regime(
    stand_id TEXT NOT NULL PRIMARY KEY, -- the stand
    regime TEXT,                -- the regime in words; NULL when no combination could be valued
    macro_text TEXT,            -- its macro as text
    harvest_age INTEGER,        -- its final-harvest age, growing seasons
    npv REAL,                   -- net present value, currency per acre
    lev REAL,                   -- land expectation value, currency per acre; NULL for an existing stand
    irr REAL,                   -- internal rate of return per year; NULL when there is none
    eaa REAL,                   -- equivalent annual annuity, currency per acre and year
    best_age INTEGER,           -- the final-harvest age, up to harvest_age, with the highest LEV (NPV)
    value_at_best_age REAL,     -- that LEV (bare land) or NPV (existing stand), currency per acre
    combinations INTEGER,       -- combinations of the search space
    valued INTEGER,             -- combinations the stand could take, each valued
    message TEXT,               -- why no regime was found (the stand or every combination refused); NULL: one was
    run_no INTEGER              -- the run that wrote this row (run.run_no)
) WITHOUT ROWID;
)sql";

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::string joinedColumns(const std::vector<std::string>& columns) {
    if (columns.empty()) {
        return "none";
    }
    std::string joined;
    for (const std::string& column : columns) {
        joined += (joined.empty() ? "" : ", ") + column;
    }
    return joined;
}

} // namespace

void failSaving(const std::string& path, std::string_view reason) {
    throw Failure{"Unable to save " + path + ": " + std::string(reason) + "."};
}

Connection::Connection(const std::string& path, int flags) : path_(path) {
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const int error = db_ != nullptr ? sqlite3_system_errno(db_) : 0;
        const std::string reason = error != 0 ? systemReason(error) : sqlite3_errstr(rc);
        close();
        failSaving(path, reason);
    }
    sqlite3_extended_result_codes(db_, 0);
}

Connection::~Connection() {
    close();
}

Connection::Connection(Connection&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), path_(std::move(other.path_)) {}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

void Connection::exec(const std::string& sql) const {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail();
    }
}

void Connection::fail() const {
    throw Failure{"Unable to save " + path_ + ": " + sqlite3_errmsg(db_) + ".", sqlite3_errcode(db_)};
}

void Connection::rollbackQuietly() const {
    if (db_ != nullptr && sqlite3_get_autocommit(db_) == 0) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void Connection::close() {
    if (db_ != nullptr) {
        sqlite3_close_v2(db_); // an open transaction is rolled back
        db_ = nullptr;
    }
}

Statement::Statement(const Connection& connection, const std::string& sql) : connection_(&connection) {
    if (sqlite3_prepare_v3(connection.handle(), sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                           &statement_, nullptr) != SQLITE_OK) {
        connection.fail();
    }
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

Statement::Statement(Statement&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)), connection_(other.connection_) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        statement_ = std::exchange(other.statement_, nullptr);
        connection_ = other.connection_;
    }
    return *this;
}

Statement& Statement::bindValue(int index, const rows::Value& value) {
    if (const auto* number = std::get_if<int64_t>(&value)) {
        sqlite3_bind_int64(statement_, index, *number);
    } else if (const auto* real = std::get_if<double>(&value)) {
        sqlite3_bind_double(statement_, index, *real);
    } else if (const auto* text = std::get_if<std::string_view>(&value)) {
        bind(index, *text);
    } else {
        sqlite3_bind_null(statement_, index);
    }
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    // The text outlives the step: every caller binds texts it holds until the statement has run.
    sqlite3_bind_text(statement_, index, text.data() != nullptr ? text.data() : "", static_cast<int>(text.size()),
                      SQLITE_STATIC);
    return *this;
}

Statement& Statement::bind(int index, int64_t number) {
    sqlite3_bind_int64(statement_, index, number);
    return *this;
}

Statement& Statement::bindRow(const rows::Row& row) {
    for (size_t i = 0; i < row.size(); ++i) {
        bindValue(static_cast<int>(i + 1), row[i]);
    }
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    try {
        connection_->fail();
    } catch (...) {
        reset();
        throw;
    }
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

void Statement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::string Statement::text(int column) const {
    const unsigned char* value = sqlite3_column_text(statement_, column);
    return value != nullptr
               ? std::string(reinterpret_cast<const char*>(value), sqlite3_column_bytes(statement_, column))
               : std::string();
}

std::string quoteIdentifier(std::string_view name) {
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string quoteLiteral(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c;
        if (c == '\'') {
            quoted += '\'';
        }
    }
    return quoted + "'";
}

void checkWritable(const std::string& path) {
    const std::string folder = parentFolder(path);
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0) {
        failSaving(path, systemReason(errno));
    }
    if (!S_ISDIR(status.st_mode)) {
        failSaving(path, systemReason(ENOTDIR));
    }
    if (::stat(path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            failSaving(path, systemReason(EISDIR));
        }
        if (!S_ISREG(status.st_mode)) { // a pipe or a device would never hold a database
            failSaving(path, "it is not a regular file");
        }
        // Root may write anything; a file its owner made read-only is still not ours to change.
        if (S_ISREG(status.st_mode) && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            failSaving(path, systemReason(EACCES));
        }
        if (::access(path.c_str(), W_OK) != 0) {
            failSaving(path, systemReason(errno));
        }
    }
    // SQLite keeps its write-ahead log beside the file, so the folder must take new files too.
    if (::access(folder.c_str(), W_OK) != 0) {
        failSaving(path, systemReason(errno));
    }
}

void checkColumnNames(const std::vector<std::string>& userColumns) {
    const std::vector<std::string> columns = rows::standColumns(userColumns);
    for (size_t i = 0; i < columns.size(); ++i) {
        for (size_t j = i + 1; j < columns.size(); ++j) {
            if (lowerAscii(columns[i]) == lowerAscii(columns[j])) {
                throw Failure{"The stand table has the columns \"" + columns[i] + "\" and \"" + columns[j] +
                              "\", which a results database cannot tell apart."};
            }
        }
    }
}

void createSchema(const Connection& db, const std::vector<std::string>& userColumns, bool detail) {
    std::string sql = kRunTables;
    sql += kStandTableHead;
    for (const std::string& column : userColumns) {
        sql += ",\n    " + quoteIdentifier(column) + " TEXT";
    }
    sql += kStandTableTail;
    sql += kResultTables;
    if (detail) {
        sql += kDbhTable;
    }
    sql += "PRAGMA application_id = " + std::to_string(kApplicationId) + ";\n";
    sql += "PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";\n";
    db.exec(sql);
}

void createValueTables(const Connection& db, const std::string& schema, bool economics, bool bestRegimes) {
    const auto inSchema = [&schema](std::string sql) {
        const std::string create = "CREATE TABLE IF NOT EXISTS ";
        const size_t at = sql.find(create);
        return sql.insert(at + create.size(), quoteIdentifier(schema) + ".");
    };
    if (economics) {
        db.exec(inSchema(kEconomicsTable));
    }
    if (bestRegimes) {
        db.exec(inSchema(kBestRegimeTable));
    }
}

bool hasTable(const Connection& db, const std::string& schema, const std::string& table) {
    Statement query(db, "SELECT count(*) FROM " + quoteIdentifier(schema) +
                            ".sqlite_master WHERE type = 'table' AND "
                            "name = ?");
    query.bind(1, table);
    const bool found = query.step() && query.integer(0) > 0;
    query.reset();
    return found;
}

std::optional<Identity> readIdentity(const Connection& db, const std::string& schema, const std::string& file) {
    const std::string notResults = file + " is not a GROVEX results database.";
    const std::string prefix = quoteIdentifier(schema) + ".";
    try {
        const auto pragmaValue = [&](const char* pragma) {
            Statement statement(db, "PRAGMA " + prefix + pragma);
            const int64_t value = statement.step() ? statement.integer(0) : 0;
            statement.reset();
            return value;
        };
        const int64_t applicationId = pragmaValue("application_id");
        const int64_t version = pragmaValue("user_version");
        Statement count(db, "SELECT count(*) FROM " + prefix + "sqlite_master");
        const int64_t objects = count.step() ? count.integer(0) : 0;
        count.reset();
        if (applicationId == 0 && version == 0 && objects == 0) {
            return std::nullopt;
        }
        if (applicationId != kApplicationId) {
            throw Failure{notResults};
        }
        if (version != kSchemaVersion) {
            throw Failure{file + " was written by results schema version " + std::to_string(version) +
                          "; this program writes version " + std::to_string(kSchemaVersion) + "."};
        }

        Identity identity;
        Statement columns(db, "PRAGMA " + prefix + "table_info(stand)");
        const std::vector<std::string> fixed = rows::standColumns({});
        size_t at = 0;
        while (columns.step()) {
            std::string name = columns.text(1);
            if (at < fixed.size()) {
                if (name != fixed[at]) {
                    throw Failure{notResults};
                }
            } else {
                identity.userColumns.push_back(std::move(name));
            }
            ++at;
        }
        columns.reset();
        if (at < fixed.size()) {
            throw Failure{notResults};
        }

        Statement run(db, "SELECT program_version, fingerprint, detail, shard FROM " + prefix +
                              "run ORDER BY run_no LIMIT 1");
        if (!run.step()) {
            throw Failure{notResults};
        }
        identity.programVersion = run.text(0);
        identity.fingerprint = run.text(1);
        identity.detail = run.integer(2) != 0;
        identity.shard = run.text(3);
        run.reset();
        return identity;
    } catch (const Failure& failure) {
        // A file SQLite cannot read at all, or one that lacks our tables or columns.
        if (failure.code == SQLITE_NOTADB || failure.code == SQLITE_ERROR) {
            throw Failure{notResults};
        }
        throw;
    }
}

void checkSameIdentity(const Identity& found, const std::string& file, const Identity& wanted,
                       const std::string& reference) {
    const bool atStart = reference.empty();
    const std::string advice = "; use a new --out file or remove it.";
    if (found.programVersion != wanted.programVersion) {
        throw Failure{file + " was written by program version " + found.programVersion +
                      (atStart ? ", this is version " + wanted.programVersion + advice
                               : ", " + reference + " by version " + wanted.programVersion + ".")};
    }
    if (found.fingerprint != wanted.fingerprint) {
        throw Failure{file + " was made from other inputs" + (atStart ? advice : " than " + reference + ".")};
    }
    if (found.userColumns != wanted.userColumns) {
        throw Failure{file + " holds other stand table columns (" + joinedColumns(found.userColumns) + ") than " +
                      (atStart ? "this stand table (" + joinedColumns(wanted.userColumns) + ")" + advice
                               : reference + " (" + joinedColumns(wanted.userColumns) + ").")};
    }
    if (found.detail != wanted.detail) {
        const std::string with = found.detail ? "with" : "without";
        throw Failure{file + " was written " + with + " DBH class rows" +
                      (atStart ? advice : ", " + reference + " " + (wanted.detail ? "with them." : "without them."))};
    }
}

std::string insertSql(const std::string& verb, const std::string& table, const std::vector<std::string>& columns) {
    std::string names;
    std::string marks;
    for (const std::string& column : columns) {
        names += (names.empty() ? "" : ", ") + quoteIdentifier(column);
        marks += marks.empty() ? "?" : ", ?";
    }
    return "INSERT " + verb + " INTO " + table + "(" + names + ") VALUES(" + marks + ")";
}

} // namespace grovex::batch::store
