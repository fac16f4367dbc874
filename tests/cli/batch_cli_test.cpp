// grovex-cli batch and merge as a user or a job script runs them: the results database they leave, their
// exit status and messages, reruns, interruptions and shards.

#include "support/cli_run.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kExamples = grovex::sourceDir() + "/examples/stands";
const std::string kThinningMacro = grovex::testData("macro_thin_fertilize_next.txt");

// A word for the shell, in single quotes (no word here holds one).
std::string shellQuoted(const std::string& text) {
    return "'" + text + "'";
}

// Every row a query answers, its columns joined by '|', NULL as "NULL" and reals to the last bit.
std::vector<std::string> query(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    std::vector<std::string> rows;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        ADD_FAILURE() << "cannot open " << path;
        return rows;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(db) << " in " << sql;
        sqlite3_close(db);
        return rows;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::string row;
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            row += c > 0 ? "|" : "";
            if (sqlite3_column_type(statement, c) == SQLITE_NULL) {
                row += "NULL";
            } else if (sqlite3_column_type(statement, c) == SQLITE_FLOAT) {
                char text[40];
                std::snprintf(text, sizeof text, "%.17g", sqlite3_column_double(statement, c));
                row += text;
            } else {
                row += reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
            }
        }
        rows.push_back(row);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

// What a run decided, in key order: everything but the run's own records and the time each stand took.
std::vector<std::string> content(const std::string& path) {
    std::vector<std::string> all;
    for (const char* sql : {"SELECT * FROM stand ORDER BY stand_id", "SELECT * FROM regime ORDER BY regime",
                            "SELECT stand_id, regime, status, message FROM result ORDER BY stand_id, regime",
                            "SELECT * FROM stand_summary ORDER BY stand_id, regime, table_no"}) {
        for (std::string& row : query(path, sql)) {
            all.push_back(std::move(row));
        }
    }
    return all;
}

class BatchCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("batch-cli-" + std::to_string(::getpid()) + "-" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    std::string writeTable(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
        return path(name);
    }

    std::string makeStands(int count, int seed) const {
        std::string file = path("stands-" + std::to_string(count) + ".csv");
        const std::string command = shellQuoted(grovex::makeStandsPath()) + " --count " + std::to_string(count) +
                                    " --seed " + std::to_string(seed) + " --out " + shellQuoted(file);
        EXPECT_EQ(std::system(command.c_str()), 0);
        return file;
    }

    fs::path folder_;
};

// ---- A batch equals running the stands one by one ----

// The project options of a stand as the stand table gives them.
std::string projectArgs(const std::vector<std::string>& cells) {
    static const std::vector<std::string> options{"--title",          "--rotation",     "--site",    "--planted",
                                                  "--survival",       "--existing-age", "--trees",   "--basal-area",
                                                  "--poorly-drained", "--hardwood",     "--treelist"};
    std::string args;
    for (size_t k = 0; k < options.size(); ++k) {
        if (cells[k] == "NULL") {
            continue;
        }
        if (options[k] == "--poorly-drained") {
            args += cells[k] == "1" ? " --poorly-drained" : "";
        } else if (options[k] == "--treelist") {
            args += " --treelist " + shellQuoted(kExamples + "/" + cells[k]);
        } else {
            args += " " + options[k] + " " + shellQuoted(cells[k]);
        }
    }
    return args;
}

// A number as the database holds it (a float widened to a double), from the text grovex-cli printed.
std::string asStored(double printed) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", static_cast<double>(static_cast<float>(printed)));
    return text;
}

TEST_F(BatchCliTest, TheExampleTableEqualsProjectingEachStand) {
    const std::string out = path("results.sqlite");
    const CliRun batch =
        runCli("batch " + shellQuoted(kExamples + "/stands.csv") + " --out " + shellQuoted(out) + " -j 2");
    ASSERT_EQ(batch.exitCode, 0) << batch.err;
    EXPECT_EQ(batch.err, "50 stands: 50 run, 0 finished before.\n"); // no progress line: stderr is a file

    const std::vector<std::string> stands =
        query(out, "SELECT stand_id, quote(title), rotation, site, planted, survival, existing_age, trees, basal_area, "
                   "poorly_drained, hardwood, treelist FROM stand ORDER BY stand_id");
    ASSERT_EQ(stands.size(), 50u);
    for (const std::string& row : stands) {
        std::vector<std::string> cells;
        std::string cell;
        std::istringstream in(row);
        while (std::getline(in, cell, '|')) {
            cells.push_back(cell);
        }
        const std::string id = cells[0];
        cells.erase(cells.begin());
        if (cells[0] != "NULL") {
            cells[0] = cells[0].substr(1, cells[0].size() - 2); // quote() marks the text; no title holds a quote
        }
        for (std::string& c : cells) { // numbers as typed: "45.0" was "45"
            if (c.size() > 2 && c.compare(c.size() - 2, 2, ".0") == 0) {
                c.resize(c.size() - 2);
            }
        }
        const CliRun project = runCli("project" + projectArgs(cells) + " --format json");
        ASSERT_EQ(project.exitCode, 0) << id << ": " << project.err;
        const nlohmann::json json = nlohmann::json::parse(project.out);
        const nlohmann::json& lastRow = json["tables"].back()["rows"].back();
        const std::vector<std::string> summary =
            query(out, "SELECT age, basal_area, qmd, dominant_height, volume1, volume2, volume3 FROM stand_summary "
                       "WHERE stand_id = '" +
                           id + "' ORDER BY table_no");
        ASSERT_EQ(summary.size(), json["tables"].size()) << id;
        const nlohmann::json& stand = json["stand"];
        EXPECT_EQ(summary.back(), std::to_string(stand["age"].get<int>()) + "|" + asStored(stand["basalArea"]) + "|" +
                                      asStored(stand["qmd"]) + "|" + asStored(stand["dominantHeight"]) + "|" +
                                      asStored(lastRow[4]) + "|" + asStored(lastRow[5]) + "|" + asStored(lastRow[6]))
            << id;
    }
    // The stand table's own columns come through untouched, quotes, commas and all.
    EXPECT_EQ(query(out, "SELECT owner, note FROM stand WHERE stand_id = 'BL-01'"),
              std::vector<std::string>{"Hollis Creek Timber LLC|Road frontage, \"north\" gate locked"});
}

TEST_F(BatchCliTest, ARegimeRunsAsPlayingItsMacroRecordedForTheStand) {
    // Recording the macro's run for a site-70 stand of 600 trees at 80 percent survival would have written these
    // values in its initialization; everything after it is the regime's.
    std::ifstream in(kThinningMacro);
    std::string macro((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"site real 60", "site real 70"}, {"tp real 800", "tp real 600"}, {"ps real 0.9", "ps real 0.8"}}) {
        macro.replace(macro.find(from), from.size(), to);
    }
    std::ofstream(path("recorded.txt")) << macro;
    const CliRun play = runCli("play " + shellQuoted(path("recorded.txt")) + " --format json");
    ASSERT_EQ(play.exitCode, 0) << play.err;
    const nlohmann::json tables = nlohmann::json::parse(play.out)["tables"];

    const std::string table = writeTable("one.csv", "stand_id,title,site,planted,survival\nT7,Tract 7,70,600,80\n");
    const CliRun batch = runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(path("r.sqlite")) +
                                " --regime thin=" + shellQuoted(kThinningMacro) + " --detail dbh");
    ASSERT_EQ(batch.exitCode, 0) << batch.err;
    const std::vector<std::string> summaries =
        query(path("r.sqlite"), "SELECT table_no, kind, age, trees, volume3 FROM stand_summary ORDER BY table_no");
    ASSERT_EQ(summaries.size(), tables.size());
    for (size_t t = 0; t < tables.size(); ++t) {
        const nlohmann::json& total = tables[t]["rows"].back();
        EXPECT_EQ(summaries[t], std::to_string(t + 1) + "|" + tables[t]["kind"].get<std::string>() + "|" +
                                    std::to_string(tables[t]["age"].get<int>()) + "|" + asStored(total[1]) + "|" +
                                    asStored(total[6]));
    }
    const std::vector<std::string> classes =
        query(path("r.sqlite"), "SELECT dbh_class, trees FROM stand_table WHERE table_no = 1 ORDER BY dbh_class");
    ASSERT_EQ(classes.size() + 1, tables[0]["rows"].size());
    EXPECT_EQ(classes.front(),
              std::to_string(tables[0]["rows"][0][0].get<int>()) + "|" + asStored(tables[0]["rows"][0][1]));
}

// ---- Status, messages and reruns ----

TEST_F(BatchCliTest, FailedStandsAreNotedAndTheRunGoesOn) {
    const std::string table = writeTable("mixed.csv", "stand_id,site,planted,owner\n"
                                                      "A,65,700,x\n"
                                                      "B-204,10,700,y\n"
                                                      "C,70,,z\n");
    const std::string out = path("r.sqlite");
    CliRun run = runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(out) + " --quiet");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.err, "3 stands: 3 run, 0 finished before; 1 failed (1 stand-regime pairs), see the result table.\n");
    EXPECT_EQ(
        query(out, "SELECT stand_id, status, message FROM result ORDER BY stand_id"),
        (std::vector<std::string>{
            "A|ok|NULL", "B-204|failed|row 2 (stand_id B-204), column site: Please enter a real number from 20 to 100",
            "C|ok|NULL"}));

    // The same command again does nothing; --retry-failed runs the failed stand again.
    run = runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(out) + " --quiet");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "3 stands: 0 run, 3 finished before.\n");
    run = runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(out) + " --quiet --retry-failed");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.err, "3 stands: 1 run, 2 finished before; 1 failed (1 stand-regime pairs), see the result table.\n");
    EXPECT_EQ(query(out, "SELECT count(*) FROM run"), std::vector<std::string>{"3"});

    // Another stand table is other inputs: refused, and the database is left as it was.
    const std::string other = writeTable("other.csv", "stand_id,site,planted,owner\nA,66,700,x\n");
    run = runCli("batch " + shellQuoted(other) + " --out " + shellQuoted(out) + " --quiet");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, out + " was made from other inputs; use a new --out file or remove it.\n");
    EXPECT_EQ(query(out, "SELECT count(*) FROM run"), std::vector<std::string>{"3"});
}

TEST_F(BatchCliTest, RefusedInputWritesNothing) {
    const std::string good = writeTable("good.csv", "stand_id,site\nA,60\n");
    const std::string notInit = writeTable("next.txt", "Project\nstart Input2\nnext\nend Input2\nProjectEnd\n");
    struct Case {
        std::string args;
        std::string err;
    };
    const std::vector<Case> cases{
        {shellQuoted(writeTable("twice.csv", "stand_id,site\nA,60\nA,61\n")),
         path("twice.csv") + ": line 3: the stand_id \"A\" is also on line 2; each stand needs an id of its own.\n"},
        {shellQuoted(writeTable("ragged.csv", "stand_id,site\nA,60,1\n")),
         path("ragged.csv") + ": line 2: 3 fields where the header has 2.\n"},
        {shellQuoted(good) + " --regime " + shellQuoted(notInit),
         "Regime next: a regime must start with Initialize and Project (ProjectInit, start Input1 ... end Input1); "
         "this macro does not.\n"},
        {shellQuoted(good) + " --site 70",
         "--site describes one stand; in a batch each stand's values come from its row (column site).\n"},
        {shellQuoted(good) + " --target-age 70", "--target-age 70: Please enter an integer from 8 to 60\n"},
        {shellQuoted(good) + " --shard 4/4",
         "--shard takes K/N with 0 <= K < N (for example 0/4), or slurm, not \"4/4\".\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli("batch " + c.args + " --out " + shellQuoted(path("r.sqlite")));
        EXPECT_EQ(run.exitCode, 2) << c.args;
        EXPECT_EQ(run.err, c.err) << c.args;
        EXPECT_FALSE(fs::exists(path("r.sqlite"))) << c.args;
    }
}

TEST_F(BatchCliTest, AnOutputThatCannotBeWrittenIsRefused) {
    const std::string table = writeTable("good.csv", "stand_id,site\nA,60\n");
    CliRun run = runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(path("missing/r.sqlite")));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(path("missing/r.sqlite")), std::string::npos) << run.err;

    const std::string text = writeTable("notes.sqlite", "my notes, not a database\n");
    run = runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(text));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("is not a GROVEX results database"), std::string::npos) << run.err;
    std::ifstream in(text);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()),
              "my notes, not a database\n");
}

TEST_F(BatchCliTest, AFullDiskStopsTheRunAndKeepsWhatWasCommitted) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to mount a small tmpfs as a disk that fills up";
    }
    const fs::path disk = folder_ / "disk";
    fs::create_directories(disk);
    ASSERT_EQ(std::system(("mount -t tmpfs -o size=2m tmpfs " + shellQuoted(disk.string())).c_str()), 0);
    const std::string out = (disk / "r.sqlite").string();
    const std::string args = "batch " + shellQuoted(kExamples + "/stands.csv") + " --out " + shellQuoted(out) +
                             " --regime " + shellQuoted(kThinningMacro) + " --quiet";
    const CliRun first = runCli(args);
    EXPECT_EQ(first.exitCode, 3) << first.err; // some stands cannot take the thinning
    const std::vector<std::string> before = content(out);
    // Fill the disk, then run the failed stands again.
    std::system(("dd if=/dev/zero of=" + shellQuoted((disk / "filler").string()) + " bs=4k 2>/dev/null").c_str());
    const CliRun again = runCli(args + " --retry-failed");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("database or disk is full"), std::string::npos) << again.err;
    fs::remove(disk / "filler");
    EXPECT_EQ(content(out), before);
    std::system(("umount " + shellQuoted(disk.string())).c_str());
}

// ---- Parallel, interrupted and sharded runs give the same database ----

TEST_F(BatchCliTest, ThreadsKillsAndShardsDoNotChangeTheResults) {
    // Two commits' worth of stands (the runner commits every 2000 stands or every second), so that a kill can
    // come between two commits.
    constexpr int kStands = 4000;
    const std::string table = makeStands(kStands, 11);
    const std::string reference = path("one-thread.sqlite");
    ASSERT_EQ(runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(reference) + " -j 1").exitCode, 0);
    const std::vector<std::string> expected = content(reference);
    ASSERT_EQ(query(reference, "SELECT count(*) FROM result WHERE status = 'ok'"),
              std::vector<std::string>{std::to_string(kStands)});

    const std::string twoThreads = path("two-threads.sqlite");
    ASSERT_EQ(runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(twoThreads) + " -j 2").exitCode, 0);
    EXPECT_EQ(content(twoThreads), expected);

    // Killed at random moments once it has committed something, then run to the end: the same as a run never
    // interrupted.
    const std::string killed = path("killed.sqlite");
    // Results committed so far; none while the file or its tables are being made.
    const auto committed = [&] {
        sqlite3* db = nullptr;
        sqlite3_stmt* statement = nullptr;
        int count = 0;
        if (sqlite3_open_v2(killed.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(db, "SELECT count(*) FROM result", -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW) {
            count = sqlite3_column_int(statement, 0);
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return count;
    };
    std::mt19937 random(7);
    bool interrupted = false; // at least one kill came in the middle of the run
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int before = committed();
        const pid_t child = ::fork();
        if (child == 0) {
            ::execl(grovex::cliPath().c_str(), grovex::cliPath().c_str(), "batch", table.c_str(), "--out",
                    killed.c_str(), "--quiet", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        bool exited = false;
        for (int wait = 0; wait < 3000 && committed() <= before && !exited; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            exited = ::waitpid(child, &status, WNOHANG) == child;
        }
        if (!exited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % 100));
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            interrupted = interrupted || committed() < kStands;
        }
    }
    EXPECT_TRUE(interrupted);
    ASSERT_EQ(runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(killed) + " --quiet").exitCode, 0);
    EXPECT_EQ(content(killed), expected);

    // Three shards (of 1334, 1333 and 1333 stands) merged, and merged again.
    const std::vector<std::string> shardSizes[] = {{"1334"}, {"1333"}, {"1333"}};
    std::string shards;
    for (int k = 0; k < 3; ++k) {
        const std::string shard = path("shard-" + std::to_string(k) + ".sqlite");
        ASSERT_EQ(runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(shard) + " --shard " +
                         std::to_string(k) + "/3")
                      .exitCode,
                  0);
        EXPECT_EQ(query(shard, "SELECT count(*) FROM result"), shardSizes[k]);
        shards += " " + shellQuoted(shard);
    }
    const std::string merged = path("merged.sqlite");
    ASSERT_EQ(runCli("merge " + shellQuoted(merged) + shards).exitCode, 0);
    EXPECT_EQ(content(merged), expected);
    ASSERT_EQ(runCli("merge " + shellQuoted(merged) + shards).exitCode, 0);
    EXPECT_EQ(content(merged), expected);
}

// ---- Prices and the search for the best regime ----

const std::string kPrices = grovex::testData("optimize_prices.json");

// The rows of the tables a run with prices and a search space adds, in key order, without the run numbers.
std::vector<std::string> valueContent(const std::string& path) {
    std::vector<std::string> all;
    for (const char* sql : {"SELECT stand_id, regime, harvest_age, npv, lev, irr, eaa, best_age, value_at_best_age "
                            "FROM economics ORDER BY stand_id, regime",
                            "SELECT stand_id, regime, macro_text, harvest_age, npv, lev, best_age, combinations, "
                            "valued, message FROM best_regime ORDER BY stand_id"}) {
        for (std::string& row : query(path, sql)) {
            all.push_back(std::move(row));
        }
    }
    return all;
}

TEST_F(BatchCliTest, EachStandIsWorthWhatValueGivesForIt) {
    const std::string table = writeTable("stands.csv", "stand_id,site,planted,existing_age,trees,basal_area\n"
                                                       "A,60,,,,\nB,75,600,,,\nC,65,,12,500,80\n");
    const std::string out = path("r.sqlite");
    const CliRun batch =
        runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(out) + " --prices " + shellQuoted(kPrices));
    ASSERT_EQ(batch.exitCode, 0) << batch.err;
    const std::vector<std::pair<std::string, std::string>> stands{{"A", "--site 60"},
                                                                  {"B", "--site 75 --planted 600"},
                                                                  {"C", "--site 65 --existing-age 12 --trees 500 "
                                                                        "--basal-area 80"}};
    for (const auto& [id, args] : stands) {
        const CliRun value = runCli("value --prices " + shellQuoted(kPrices) + " " + args + " --format json");
        ASSERT_EQ(value.exitCode, 0) << value.err;
        const auto v = nlohmann::json::parse(value.out);
        const auto number = [](const nlohmann::json& x) {
            if (x.is_null()) {
                return std::string("NULL");
            }
            char text[40];
            std::snprintf(text, sizeof text, "%.17g", x.get<double>());
            return std::string(text);
        };
        const std::string expected = std::to_string(v["harvest_age"].get<int>()) + "|" + number(v["npv"]) + "|" +
                                     number(v["lev"]) + "|" + number(v["irr"]) + "|" + number(v["eaa"]) + "|" +
                                     std::to_string(v["best_age"].get<int>()) + "|" + number(v["value_at_best_age"]);
        EXPECT_EQ(query(out, "SELECT harvest_age, npv, lev, irr, eaa, best_age, value_at_best_age FROM economics "
                             "WHERE stand_id = '" +
                                 id + "' AND regime = 'default'"),
                  std::vector<std::string>{expected})
            << id;
    }
    // The CSV folder holds the same rows.
    const std::string folder = path("csv") + "/";
    ASSERT_EQ(
        runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(folder) + " --prices " + shellQuoted(kPrices))
            .exitCode,
        0);
    std::ifstream csv(folder + "economics.csv");
    std::string line;
    int lines = 0;
    while (std::getline(csv, line)) {
        ++lines;
    }
    EXPECT_EQ(lines, 4);
    EXPECT_FALSE(fs::exists(folder + "best_regime.csv"));
}

TEST_F(BatchCliTest, ShardsMergeWithTheirValuesAndBestRegimes) {
    const std::string table = makeStands(12, 5);
    const std::string space = writeTable("space.json", R"({"harvest_ages": [20, 30], "thinning": {"kinds": ["row"],
        "ages": [14], "row_intervals": [4]}})");
    const std::string options = " --quiet --prices " + shellQuoted(kPrices) + " --optimize " + shellQuoted(space);
    const std::string whole = path("whole.sqlite");
    ASSERT_EQ(runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(whole) + options).exitCode, 0);
    EXPECT_EQ(query(whole, "SELECT count(*) FROM economics"), std::vector<std::string>{"12"});
    // Two schedules, 11 harvest ages each.
    EXPECT_EQ(query(whole, "SELECT DISTINCT combinations FROM best_regime"), std::vector<std::string>{"22"});
    std::string shards;
    for (int k = 0; k < 2; ++k) {
        const std::string shard = path("shard-" + std::to_string(k) + ".sqlite");
        ASSERT_EQ(runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(shard) + " --shard " +
                         std::to_string(k) + "/2" + options)
                      .exitCode,
                  0);
        shards += " " + shellQuoted(shard);
    }
    const std::string merged = path("merged.sqlite");
    ASSERT_EQ(runCli("merge " + shellQuoted(merged) + shards).exitCode, 0);
    EXPECT_EQ(valueContent(merged), valueContent(whole));
    EXPECT_EQ(content(merged), content(whole));

    // Without prices a run has neither table, and neither has its merge.
    const std::string plain = path("plain.sqlite");
    ASSERT_EQ(runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(plain) + " --quiet").exitCode, 0);
    const std::string plainMerged = path("plain-merged.sqlite");
    ASSERT_EQ(runCli("merge " + shellQuoted(plainMerged) + " " + shellQuoted(plain)).exitCode, 0);
    EXPECT_EQ(query(plainMerged, "SELECT count(*) FROM sqlite_master WHERE name IN ('economics', 'best_regime')"),
              std::vector<std::string>{"0"});
    // Resuming with prices is another run's inputs, and is refused.
    EXPECT_EQ(runCli("batch " + shellQuoted(table) + " --out " + shellQuoted(plain) + options).exitCode, 1);
}

} // namespace
