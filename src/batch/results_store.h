#pragma once
// What the results database and the merge of shards share: a thin RAII layer over SQLite whose errors
// become exceptions carrying the user's sentence, the schema, and the identity a results file carries
// (program version, fingerprint, DBH detail, the stand table's own columns).

#include "batch/results_rows.h"

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace grovex::batch::store {

inline constexpr int kSchemaVersion = 1;
// PRAGMA application_id of a results database ("GRVX"): tells it from any other SQLite file.
inline constexpr int32_t kApplicationId = 0x47525658;

// Thrown by everything here; `message` is the sentence for the user.
struct Failure {
    std::string message;
    int code = 0; // the SQLite result code, when SQLite failed
};

// "Unable to save <path>: <reason>." where the reason comes from the system or from SQLite.
[[noreturn]] void failSaving(const std::string& path, std::string_view reason);

// An open SQLite connection. `name` is the file as the user gave it, for messages.
class Connection {
public:
    Connection() = default;
    Connection(const std::string& path, int flags); // throws Failure
    ~Connection();
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const { return db_; }
    const std::string& path() const { return path_; }
    bool isOpen() const { return db_ != nullptr; }

    void exec(const std::string& sql) const; // throws Failure
    // Throws the failure of the last call on this connection, naming the file.
    [[noreturn]] void fail() const;
    // Rolls back an open transaction, ignoring errors (it is only ever called on the way out of one).
    void rollbackQuietly() const;
    void close();

private:
    sqlite3* db_ = nullptr;
    std::string path_;
};

class Statement {
public:
    Statement() = default;
    Statement(const Connection& connection, const std::string& sql); // throws Failure
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bindValue(int index, const rows::Value& value);
    Statement& bind(int index, std::string_view text);
    Statement& bind(int index, int64_t number);
    // Binds the values of a row to parameters 1, 2, ...
    Statement& bindRow(const rows::Row& row);
    // True for a row, false when done; throws Failure on an error. A statement that is done is reset.
    bool step();
    // Steps a statement that answers no rows, then resets it and clears its bindings.
    void run();
    void reset();
    bool isPrepared() const { return statement_ != nullptr; }

    int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
    bool isNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    std::string text(int column) const;

private:
    sqlite3_stmt* statement_ = nullptr;
    const Connection* connection_ = nullptr;
};

// "name" with its quotes doubled.
std::string quoteIdentifier(std::string_view name);
// "'text'" with its quotes doubled, for the few statements that cannot take a parameter.
std::string quoteLiteral(std::string_view text);

// Throws a Failure when the file at `path` could not be written: its folder is missing or is not a folder,
// the file or the folder is read-only. Root is held to the permission bits of an existing file too.
void checkWritable(const std::string& path);

// Throws when two columns of the stand table would be one column of the database (SQLite does not tell
// upper from lower case in column names).
void checkColumnNames(const std::vector<std::string>& userColumns);

// Creates the tables of an empty database (inside the caller's transaction) and marks it as a results
// database of this schema version.
void createSchema(const Connection& db, const std::vector<std::string>& userColumns, bool detail);

// Creates, when missing, the tables of a run with prices (`economics`) and with a search space
// (`best_regime`) in `schema` ("main" or an attached file). They belong to the runs that need them, as
// `stand_table` to the runs with DBH class rows, so the schema version stays that of the other tables.
void createValueTables(const Connection& db, const std::string& schema, bool economics, bool bestRegimes);

// Whether `schema` holds the table.
bool hasTable(const Connection& db, const std::string& schema, const std::string& table);

// What decides whether results may be added to a file.
struct Identity {
    std::string programVersion;
    std::string fingerprint;
    bool detail = false;
    std::vector<std::string> userColumns;
    std::string shard;
};

// What a file holds: nothing yet (a new or empty file), or a results database with its identity.
// `schema` is "main" or the name of an attached file; `file` names it in the messages. Throws Failure when
// the file is not a SQLite database, not a results database, or of another schema version.
std::optional<Identity> readIdentity(const Connection& db, const std::string& schema, const std::string& file);

// Throws Failure when `found` (the identity of `file`) does not match `wanted`. `reference` names where
// `wanted` comes from, or is empty when it is the run being started.
void checkSameIdentity(const Identity& found, const std::string& file, const Identity& wanted,
                       const std::string& reference);

// "INSERT <verb> INTO table(columns) VALUES(?, ...)".
std::string insertSql(const std::string& verb, const std::string& table, const std::vector<std::string>& columns);

} // namespace grovex::batch::store
