// The results of a batch run as a SQLite database and as a folder of CSV files: what a user reads back with
// plain SQL, resuming a run, the files refused, a process killed between commits, and merging shards.

#include "base/c_format.h"
#include "batch/csv_results.h"
#include "batch/results_db.h"
#include "support/failing_file_system.h"
#include "support/save_obstacles.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cctype>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace grovex::batch {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

RunIdentity identity(const std::string& shard = "0/1") {
    RunIdentity run;
    run.programVersion = "0.1.0";
    run.programCommit = "d0d9a31";
    run.commandLine = "grovex-cli batch stands.csv --regime thin.gmc --out results.sqlite";
    run.fingerprint = std::string(64, 'a');
    run.shard = shard;
    run.dbhDetail = true;
    run.inputs = {{"stands", "stands.csv", std::string(64, 'b')}, {"regime thin", "thin.gmc", std::string(64, 'c')}};
    run.userColumns = {"owner", "block id"};
    run.regimes = {{"thin", "THIN 30\nPROJECT AGE 25"}, {"none", ""}};
    return run;
}

SummaryRow liveTable(int32_t tableNo, int32_t age, double basalArea) {
    SummaryRow row;
    row.tableNo = tableNo;
    row.age = age;
    row.trees = 500;
    row.basalArea = basalArea;
    row.qmd = 5.25;
    row.averageHeight = 30.5;
    row.dominantHeight = 38;
    row.relativeSpacing = 0.25;
    row.crownRatio = 45;
    row.cords = 12.5;
    row.volumes = {1000.5, 800, 600.25};
    row.volumeHeadings = {"Total Cu Ft", "Cu Ft 4-in Top", "Cu Ft 6-in Top"};
    return row;
}

// A thinned-tree table shows only trees, basal area and the volumes.
SummaryRow thinnedTable(int32_t tableNo, int32_t age) {
    SummaryRow row;
    row.tableNo = tableNo;
    row.thinned = true;
    row.age = age;
    row.trees = 200;
    row.basalArea = 30;
    row.volumes = {300, 250, 100};
    return row;
}

StandResult projected(const std::string& standId, const std::string& regime, std::vector<SummaryRow> summaries) {
    StandResult result;
    result.standId = standId;
    result.regime = regime;
    result.ok = true;
    result.elapsedMicroseconds = 1500;
    for (const SummaryRow& summary : summaries) {
        result.dbhRows.push_back({summary.tableNo, 6, 120, 31.5, 23.5, {0.5, 0, 0}});
        result.dbhRows.push_back({summary.tableNo, 7, 80.25, 35, 21.375, {2, 1.5, 0}});
    }
    result.summaries = std::move(summaries);
    return result;
}

StandResult failed(const std::string& standId, const std::string& regime) {
    StandResult result;
    result.standId = standId;
    result.regime = regime;
    result.message = "No diameter distribution fits the stand.";
    result.elapsedMicroseconds = 20;
    return result;
}

// Stand "E1" is an existing stand, "B2" bare land; any other id is a bare-land stand like B2.
StandRecord stand(const std::string& id) {
    StandRecord record;
    record.standId = id;
    if (id == "E1") {
        record.known = {"Tract 7", "40", "65",         std::nullopt, std::nullopt, "12",
                        "600",     "90", std::nullopt, std::nullopt, std::nullopt};
        record.userValues = {"Smith, \"Jr\"", ""};
    } else {
        record.known = {std::nullopt, std::nullopt, "70.5", "700",  "85",        std::nullopt,
                        std::nullopt, std::nullopt, "1",    "12.5", std::nullopt};
        record.userValues = {"Fernhill", "N2"};
    }
    return record;
}

// E1: thinned (three tables) and failed without treatment; any other stand runs under both regimes.
StandOutcome outcome(const std::string& id) {
    StandOutcome o{stand(id), {}, std::nullopt};
    if (id == "E1") {
        o.results = {projected(id, "thin", {liveTable(1, 12, 90), thinnedTable(2, 15), liveTable(3, 25, 110)}),
                     failed(id, "none")};
    } else {
        o.results = {projected(id, "thin", {liveTable(1, 25, 95.5)}), projected(id, "none", {liveTable(1, 25, 120)})};
    }
    return o;
}

// Writes the outcomes of `ids` as one run, one commit per group.
void writeRun(ResultSink& sink, const RunIdentity& run, const std::vector<Strings>& groups) {
    ASSERT_TRUE(sink.start(run));
    for (const Strings& group : groups) {
        for (const std::string& id : group) {
            ASSERT_TRUE(sink.write(outcome(id)));
        }
        ASSERT_TRUE(sink.commit());
    }
    ASSERT_TRUE(sink.finish());
}

// The rows of a query, each value as SQLite prints it and "NULL", separated by '|'; reals through
// printFormat when it is given.
Strings query(const fs::path& file, const std::string& sql, const char* realFormat = nullptr) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    Strings rows;
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            row += i > 0 ? "|" : "";
            if (sqlite3_column_type(statement, i) == SQLITE_NULL) {
                row += realFormat != nullptr ? "" : "NULL";
            } else if (realFormat != nullptr && sqlite3_column_type(statement, i) == SQLITE_FLOAT) {
                row += cformat(realFormat, sqlite3_column_double(statement, i));
            } else {
                row += reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
            }
        }
        rows.push_back(row);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

// A run row with its start and end checked as "2026-12-08T11:30:00Z" and then shown as "T".
std::string withTimesChecked(const std::string& runRow) {
    Strings fields;
    std::istringstream in(runRow);
    for (std::string field; std::getline(in, field, '|');) {
        fields.push_back(field);
    }
    const std::string shape = "dddd-dd-ddTdd:dd:ddZ";
    std::string row;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i == 3 || i == 4) {
            EXPECT_EQ(fields[i].size(), shape.size()) << fields[i];
            for (size_t k = 0; k < shape.size() && k < fields[i].size(); ++k) {
                EXPECT_TRUE(shape[k] == 'd' ? std::isdigit(static_cast<unsigned char>(fields[i][k])) != 0
                                            : fields[i][k] == shape[k])
                    << fields[i];
            }
            fields[i] = "T";
        }
        row += (i > 0 ? "|" : "") + fields[i];
    }
    return row;
}

// Everything a merge or a rerun could change, table by table.
std::string content(const fs::path& file, bool withRuns = true) {
    std::string all;
    const Strings tables =
        withRuns ? Strings{"run", "input_file", "regime", "stand", "result", "stand_summary", "stand_table"}
                 : Strings{"regime", "stand", "stand_summary", "stand_table"};
    for (const std::string& table : tables) {
        all += table + ":\n";
        for (const std::string& row : query(file, "SELECT * FROM " + table + " ORDER BY 1, 2, 3")) {
            all += row + "\n";
        }
    }
    if (!withRuns) {
        all += "result:\n";
        for (const std::string& row : query(file, "SELECT stand_id, regime, status, message FROM result")) {
            all += row + "\n";
        }
    }
    return all;
}

class ResultsDatabaseTest : public ::testing::Test {
protected:
    fs::path path(const std::string& name) const { return scratch_.path() / name; }
    fakes::ScratchFolder scratch_;
};

TEST_F(ResultsDatabaseTest, WhatWasWrittenReadsBackWithPlainSql) {
    ResultsDatabase db(path("results.sqlite").string());
    writeRun(db, identity(), {{"E1"}, {"B2", "A0"}});
    const fs::path file = path("results.sqlite");

    // In key order, NULL for empty cells; the user's columns are columns of their own.
    EXPECT_EQ(query(file, "SELECT * FROM stand"),
              (Strings{"A0|NULL|NULL|70.5|700|85.0|NULL|NULL|NULL|1|12.5|NULL|Fernhill|N2",
                       "B2|NULL|NULL|70.5|700|85.0|NULL|NULL|NULL|1|12.5|NULL|Fernhill|N2",
                       "E1|Tract 7|40|65.0|NULL|NULL|12|600.0|90.0|NULL|NULL|NULL|Smith, \"Jr\"|NULL"}));
    EXPECT_EQ(query(file, "SELECT \"block id\" FROM stand WHERE owner = 'Fernhill' AND site > 70 AND planted < 800"),
              (Strings{"N2", "N2"}));
    EXPECT_EQ(query(file, "SELECT typeof(title), typeof(rotation), typeof(site), typeof(owner) FROM stand "
                          "WHERE stand_id = 'E1'"),
              Strings{"text|integer|real|text"});

    EXPECT_EQ(query(file, "SELECT * FROM result WHERE stand_id <> 'A0'"),
              (Strings{"B2|none|ok|NULL|1500|1", "B2|thin|ok|NULL|1500|1",
                       "E1|none|failed|No diameter distribution fits the stand.|20|1", "E1|thin|ok|NULL|1500|1"}));
    EXPECT_EQ(query(file, "SELECT * FROM stand_summary WHERE stand_id = 'E1'"),
              (Strings{"E1|thin|1|live|12|500.0|90.0|5.25|30.5|38.0|0.25|45.0|12.5|1000.5|800.0|600.25|Total Cu Ft|"
                       "Cu Ft 4-in Top|Cu Ft 6-in Top|NULL",
                       "E1|thin|2|thinned|15|200.0|30.0|NULL|NULL|NULL|NULL|NULL|NULL|300.0|250.0|100.0|NULL|NULL|"
                       "NULL|NULL",
                       "E1|thin|3|live|25|500.0|110.0|5.25|30.5|38.0|0.25|45.0|12.5|1000.5|800.0|600.25|Total Cu Ft|"
                       "Cu Ft 4-in Top|Cu Ft 6-in Top|NULL"}));
    EXPECT_EQ(query(file, "SELECT * FROM stand_table WHERE stand_id = 'E1' AND table_no = 2"),
              (Strings{"E1|thin|2|6|120.0|31.5|23.5|0.5|0.0|0.0", "E1|thin|2|7|80.25|35.0|21.375|2.0|1.5|0.0"}));
    EXPECT_EQ(query(file, "SELECT count(*) FROM stand_table"), Strings{"14"});
    EXPECT_EQ(query(file, "SELECT * FROM regime ORDER BY regime_no"),
              (Strings{"thin|1|THIN 30\nPROJECT AGE 25", "none|2|NULL"}));

    const Strings run = query(file, "SELECT * FROM run");
    ASSERT_EQ(run.size(), 1u);
    EXPECT_EQ(withTimesChecked(run[0]), "1|0.1.0|d0d9a31|T|T|grovex-cli batch stands.csv --regime thin.gmc --out "
                                        "results.sqlite|0/1|" +
                                            std::string(64, 'a') + "|1");
    EXPECT_EQ(query(file, "SELECT * FROM input_file"), (Strings{"1|stands|stands.csv|" + std::string(64, 'b'),
                                                                "1|regime thin|thin.gmc|" + std::string(64, 'c')}));
    EXPECT_EQ(query(file, "PRAGMA integrity_check"), Strings{"ok"});
}

TEST_F(ResultsDatabaseTest, WithoutDetailThereIsNoStandTable) {
    RunIdentity run = identity();
    run.dbhDetail = false;
    ResultsDatabase db(path("results.sqlite").string());
    writeRun(db, run, {{"E1"}});
    EXPECT_EQ(query(path("results.sqlite"), "SELECT count(*) FROM sqlite_master WHERE name = 'stand_table'"),
              Strings{"0"});
    EXPECT_EQ(query(path("results.sqlite"), "SELECT count(*) FROM stand_summary"), Strings{"3"});
}

TEST_F(ResultsDatabaseTest, ReopeningResumesAndARewriteReplacesTheRows) {
    const std::string file = path("results.sqlite").string();
    {
        ResultsDatabase first(file);
        writeRun(first, identity(), {{"E1", "B2"}});
    }
    ResultsDatabase second(file);
    ASSERT_TRUE(second.start(identity()));
    EXPECT_TRUE(second.finished("E1", "thin", false));
    EXPECT_TRUE(second.finished("E1", "none", false)); // failed, and not retried
    EXPECT_FALSE(second.finished("E1", "none", true));
    EXPECT_TRUE(second.finished("E1", "thin", true));
    EXPECT_FALSE(second.finished("C3", "thin", false));

    // The retried pair now runs, and the finished one is run again with one table instead of three: the rows
    // of both are replaced. What is not committed yet does not count as finished.
    StandOutcome rewritten{
        stand("E1"),
        {projected("E1", "thin", {liveTable(1, 25, 100)}), projected("E1", "none", {liveTable(1, 25, 100)})},
        std::nullopt};
    ASSERT_TRUE(second.write(rewritten));
    ASSERT_TRUE(second.write(outcome("C3")));
    bool seenBeforeCommit = true;
    std::thread([&] { seenBeforeCommit = second.finished("C3", "thin", false); }).join();
    EXPECT_FALSE(seenBeforeCommit);
    ASSERT_TRUE(second.commit());
    bool seenAfterCommit = false;
    std::thread([&] { seenAfterCommit = second.finished("C3", "thin", false); }).join();
    EXPECT_TRUE(seenAfterCommit);
    ASSERT_TRUE(second.finish());

    EXPECT_EQ(
        query(file, "SELECT stand_id, regime, status, run_no FROM result"),
        (Strings{"B2|none|ok|1", "B2|thin|ok|1", "C3|none|ok|2", "C3|thin|ok|2", "E1|none|ok|2", "E1|thin|ok|2"}));
    EXPECT_EQ(query(file, "SELECT regime, count(*) FROM stand_summary WHERE stand_id = 'E1' GROUP BY regime"),
              (Strings{"none|1", "thin|1"}));
    EXPECT_EQ(query(file, "SELECT table_no, dbh_class FROM stand_table WHERE stand_id = 'E1' AND regime = 'thin'"),
              (Strings{"1|6", "1|7"}));
    EXPECT_EQ(query(file, "SELECT count(*) FROM stand"), Strings{"3"});
    EXPECT_EQ(query(file, "SELECT run_no, ended IS NOT NULL FROM run"), (Strings{"1|1", "2|1"}));
    EXPECT_EQ(query(file, "SELECT count(*) FROM regime"), Strings{"2"});
}

TEST_F(ResultsDatabaseTest, AFileOfOtherInputsOrNotOursIsRefusedUnchanged) {
    const std::string file = path("results.sqlite").string();
    {
        ResultsDatabase db(file);
        writeRun(db, identity(), {{"E1"}});
    }
    const std::vector<uint8_t> before = fakes::bytesOf(file);
    const auto refusal = [](const std::string& target, const RunIdentity& run) {
        ResultsDatabase db(target);
        const IoStatus status = db.start(run);
        EXPECT_FALSE(status);
        return status.message();
    };

    RunIdentity otherInputs = identity();
    otherInputs.fingerprint = std::string(64, 'e');
    EXPECT_EQ(refusal(file, otherInputs), file + " was made from other inputs; use a new --out file or remove it.");
    RunIdentity otherVersion = identity();
    otherVersion.programVersion = "0.2.0";
    EXPECT_EQ(refusal(file, otherVersion),
              file +
                  " was written by program version 0.1.0, this is version 0.2.0; use a new --out file or remove it.");
    RunIdentity otherColumns = identity();
    otherColumns.userColumns = {"owner"};
    EXPECT_EQ(refusal(file, otherColumns), file + " holds other stand table columns (owner, block id) than this stand "
                                                  "table (owner); use a new --out file or remove it.");
    EXPECT_EQ(fakes::bytesOf(file), before);

    const fs::path text = path("stands.csv");
    fakes::writeBytes(text, {'s', 't', 'a', 'n', 'd', '_', 'i', 'd', '\n'});
    EXPECT_EQ(refusal(text.string(), identity()), text.string() + " is not a GROVEX results database.");
    EXPECT_EQ(fakes::bytesOf(text).size(), 9u);

    sqlite3* db = nullptr;
    sqlite3_open(path("newer.sqlite").c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE t(x); PRAGMA application_id = 1196578392; PRAGMA user_version = 2;", nullptr,
                 nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_EQ(refusal(path("newer.sqlite").string(), identity()),
              path("newer.sqlite").string() +
                  " was written by results schema version 2; this program writes version 1.");

    const std::string missing = path("no folder/results.sqlite").string();
    EXPECT_EQ(refusal(missing, identity()), "Unable to save " + missing + ": No such file or directory.");
    ::chmod(file.c_str(), 0444);
    EXPECT_EQ(refusal(file, identity()), "Unable to save " + file + ": Permission denied.");
    EXPECT_EQ(fakes::bytesOf(file), before);
    if (fakes::permissionsBind()) {
        fs::create_directory(path("locked"));
        ::chmod(path("locked").c_str(), 0555);
        const std::string locked = path("locked/results.sqlite").string();
        EXPECT_EQ(refusal(locked, identity()), "Unable to save " + locked + ": Permission denied.");
    }
    EXPECT_FALSE(fs::exists(path("no folder")));
}

TEST_F(ResultsDatabaseTest, AProcessKilledBetweenCommitsKeepsEveryCommittedGroup) {
    const std::string file = path("results.sqlite").string();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ResultsDatabase db(file);
        bool ok = db.start(identity()).ok();
        ok = ok && db.write(outcome("E1")).ok() && db.commit().ok();
        ok = ok && db.write(outcome("B2")).ok() && db.write(outcome("C3")).ok() && db.commit().ok();
        ok = ok && db.write(outcome("D4")).ok();
        if (!ok) {
            ::_exit(1);
        }
        ::raise(SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;

    EXPECT_EQ(query(file, "SELECT DISTINCT stand_id FROM result"), (Strings{"B2", "C3", "E1"}));
    EXPECT_EQ(query(file, "SELECT count(*) FROM stand_summary"), Strings{"7"});
    EXPECT_EQ(query(file, "SELECT ended FROM run"), Strings{"NULL"});
    ResultsDatabase resumed(file);
    ASSERT_TRUE(resumed.start(identity()));
    EXPECT_TRUE(resumed.finished("C3", "none", false));
    EXPECT_FALSE(resumed.finished("D4", "thin", false));
    ASSERT_TRUE(resumed.finish());
    EXPECT_EQ(query(file, "PRAGMA integrity_check"), Strings{"ok"});
}

class MergeTest : public ResultsDatabaseTest {
protected:
    std::string database(const std::string& name, const RunIdentity& run, const Strings& ids) {
        std::string file = path(name).string();
        ResultsDatabase db(file);
        writeRun(db, run, {ids});
        return file;
    }
    IoStatus merge(const std::string& out, const Strings& shards) {
        report_.str("");
        return mergeResultDatabases(out, shards, report_);
    }
    std::ostringstream report_;
};

TEST_F(MergeTest, ShardsJoinIntoOneDatabaseOnceHoweverOftenMerged) {
    const std::string first = database("shard0.sqlite", identity("0/2"), {"E1", "C3"});
    const std::string second = database("shard1.sqlite", identity("1/2"), {"B2"});
    const std::string whole = database("whole.sqlite", identity(), {"E1", "B2", "C3"});
    const std::string out = path("merged.sqlite").string();

    ASSERT_TRUE(merge(out, {first, second}));
    EXPECT_EQ(report_.str(), first + ": 2 stands, 4 results\n" + second + ": 1 stands, 2 results\n" + out +
                                 ": 3 stands, 6 results, 1 failed\n");
    EXPECT_EQ(content(out, false), content(whole, false));
    EXPECT_EQ(query(out, "SELECT run_no, shard FROM run"), (Strings{"1|0/2", "2|1/2"}));
    EXPECT_EQ(query(out, "SELECT stand_id, run_no FROM result WHERE regime = 'thin'"),
              (Strings{"B2|2", "C3|1", "E1|1"}));
    EXPECT_EQ(query(out, "SELECT count(*) FROM input_file"), Strings{"4"});

    const std::string merged = content(out);
    ASSERT_TRUE(merge(out, {second, first}));
    EXPECT_EQ(content(out), merged);
    ASSERT_TRUE(merge(out, {first}));
    EXPECT_EQ(content(out), merged);
}

TEST_F(MergeTest, OverlappingShardsOrShardsOfOtherInputsChangeNothing) {
    const std::string first = database("shard0.sqlite", identity("0/2"), {"E1", "C3"});
    const std::string second = database("shard1.sqlite", identity("1/2"), {"B2"});
    const std::string out = path("merged.sqlite").string();
    ASSERT_TRUE(merge(out, {first}));
    const std::string before = content(out);

    // Stand C3 again, from another shard: refused whether it meets the output or another shard.
    const std::string overlapping = database("overlap.sqlite", identity("1/2"), {"B2", "C3"});
    IoStatus status = merge(out, {second, overlapping});
    EXPECT_EQ(status.message(), overlapping + " holds stand C3 of shard 1/2, which " + out + " holds from shard 0/2.");
    EXPECT_EQ(content(out), before);
    status = merge(path("new.sqlite").string(), {first, overlapping});
    EXPECT_EQ(status.message(),
              overlapping + " holds stand C3 of shard 1/2, which " + first + " holds from shard 0/2.");
    EXPECT_FALSE(fs::exists(path("new.sqlite")));

    RunIdentity other = identity("1/2");
    other.fingerprint = std::string(64, 'f');
    const std::string otherInputs = database("other.sqlite", other, {"B2"});
    status = merge(out, {second, otherInputs});
    EXPECT_EQ(status.message(), otherInputs + " was made from other inputs than " + out + ".");
    other = identity("1/2");
    other.programVersion = "0.2.0";
    const std::string otherVersion = database("version.sqlite", other, {"B2"});
    status = merge(path("new.sqlite").string(), {first, otherVersion});
    EXPECT_EQ(status.message(),
              otherVersion + " was written by program version 0.2.0, " + first + " by version 0.1.0.");
    EXPECT_EQ(content(out), before);
    EXPECT_FALSE(fs::exists(path("new.sqlite")));

    const fs::path text = path("notes.txt");
    fakes::writeBytes(text, std::vector<uint8_t>(2000, 'x'));
    EXPECT_EQ(merge(out, {text.string()}).message(), text.string() + " is not a GROVEX results database.");
    EXPECT_EQ(content(out), before);
}

// Reads a CSV file written by CsvResultFolder: RFC 4180 quoting, LF line ends. Each record's fields are
// joined by '|' to compare with query().
Strings csvRecords(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Strings records;
    std::string record;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                record += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                record += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record += '|';
        } else if (c == '\n') {
            records.push_back(record);
            record.clear();
        } else {
            record += c;
        }
    }
    EXPECT_TRUE(record.empty()) << "the last line of " << file << " has no line end";
    return records;
}

TEST_F(ResultsDatabaseTest, ACsvFolderHoldsTheRowsOfTheDatabase) {
    const fs::path folder = path("results");
    const fs::path file = path("results.sqlite");
    RunIdentity run = identity();
    run.regimes[0].macroText = "THIN 30, \"heavy\"\nPROJECT AGE 25";
    {
        CsvResultFolder csv(folder.string() + "/");
        writeRun(csv, run, {{"E1"}, {"B2", "A0"}});
        EXPECT_FALSE(csv.finished("E1", "thin", false));
        ResultsDatabase db(file.string());
        writeRun(db, run, {{"E1"}, {"B2", "A0"}});
    }
    for (const char* table : {"input_file", "stand", "regime", "result", "stand_summary", "stand_table"}) {
        Strings csv = csvRecords(folder / (std::string(table) + ".csv"));
        ASSERT_FALSE(csv.empty()) << table;
        std::string header;
        for (const std::string& name :
             query(file, "SELECT name FROM pragma_table_info('" + std::string(table) + "')")) {
            header += (header.empty() ? "" : "|") + name;
        }
        EXPECT_EQ(csv.front(), header) << table;
        csv.erase(csv.begin());
        std::sort(csv.begin(), csv.end());
        Strings rows = query(file, std::string("SELECT * FROM ") + table, "%.9g");
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(csv, rows) << table;
    }
    const Strings runs = csvRecords(folder / "run.csv");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(withTimesChecked(runs[1]), "1|0.1.0|d0d9a31|T|T|grovex-cli batch stands.csv --regime thin.gmc --out "
                                         "results.sqlite|0/1|" +
                                             std::string(64, 'a') + "|1");

    // Only the fields that need it are quoted.
    std::ifstream stands(folder / "stand.csv");
    const std::string standText((std::istreambuf_iterator<char>(stands)), std::istreambuf_iterator<char>());
    EXPECT_NE(standText.find("\nE1,Tract 7,40,65,,,12,600,90,,,,\"Smith, \"\"Jr\"\"\",\n"), std::string::npos)
        << standText;
    EXPECT_EQ(standText.substr(0, standText.find('\n')),
              "stand_id,title,rotation,site,planted,survival,existing_age,trees,basal_area,poorly_drained,hardwood,"
              "treelist,owner,block id");
    EXPECT_EQ(scratch_.entries(folder), (Strings{"input_file.csv", "regime.csv", "result.csv", "run.csv", "stand.csv",
                                                 "stand_summary.csv", "stand_table.csv"}));
}

TEST_F(ResultsDatabaseTest, ACsvRunThatFailsOrStopsLeavesTheEarlierFiles) {
    const fs::path folder = path("results");
    {
        CsvResultFolder csv(folder.string());
        writeRun(csv, identity(), {{"E1"}});
    }
    const std::vector<uint8_t> earlier = fakes::bytesOf(folder / "stand_summary.csv");
    const Strings files = scratch_.entries(folder);

    {
        CsvResultFolder stopped(folder.string());
        ASSERT_TRUE(stopped.start(identity()));
        ASSERT_TRUE(stopped.write(outcome("B2")));
        ASSERT_TRUE(stopped.commit());
    } // never finished, as when the run is stopped
    EXPECT_EQ(scratch_.entries(folder), files);

    fakes::FailingFileSystem full;
    full.byteBudget = 3000;
    CsvResultFolder failing(folder.string(), full);
    ASSERT_TRUE(failing.start(identity()));
    IoStatus status = IoStatus::success();
    for (int k = 0; k < 100 && status; ++k) {
        status = failing.write(outcome("B" + std::to_string(k)));
        if (status) {
            status = failing.commit();
        }
    }
    EXPECT_TRUE(status.message().starts_with("Unable to save " + folder.string() + "/")) << status.message();
    EXPECT_TRUE(status.message().ends_with(".csv: No space left on device.")) << status.message();
    EXPECT_EQ(failing.finish().message(), status.message());
    EXPECT_EQ(scratch_.entries(folder), files);
    EXPECT_EQ(fakes::bytesOf(folder / "stand_summary.csv"), earlier);

    const std::string missing = path("no folder/results").string();
    CsvResultFolder nowhere(missing);
    EXPECT_EQ(nowhere.start(identity()).message(), "Unable to save " + missing + ": No such file or directory.");
}

} // namespace
} // namespace grovex::batch
