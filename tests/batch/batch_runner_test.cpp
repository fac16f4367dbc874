#include "batch/batch_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace grovex::batch {
namespace {

// Keeps what a run writes, in the order it is written.
class MemorySink : public ResultSink {
public:
    IoStatus start(const RunIdentity&) override { return IoStatus::success(); }
    bool finished(const std::string& standId, const std::string&, bool) override { return done.count(standId) > 0; }
    IoStatus write(const StandOutcome& outcome) override {
        if (failAfter >= 0 && static_cast<int>(outcomes.size()) >= failAfter) {
            return IoStatus::failure("Unable to write results.sqlite: database or disk is full.");
        }
        outcomes.push_back(outcome);
        return IoStatus::success();
    }
    IoStatus commit() override {
        ++commits;
        return IoStatus::success();
    }
    IoStatus finish() override { return IoStatus::success(); }

    std::set<std::string> done; // stands an earlier run finished
    int failAfter = -1;
    int commits = 0;
    std::vector<StandOutcome> outcomes;
};

// What a run decides, without the time it took.
std::string digest(const std::vector<StandOutcome>& outcomes) {
    std::string text;
    for (const StandOutcome& o : outcomes) {
        text += o.stand.standId + ":";
        for (const StandResult& r : o.results) {
            text += r.ok ? "ok" : "failed " + r.message;
            for (const SummaryRow& s : r.summaries) {
                text += " " + std::to_string(s.age) + "/" + std::to_string(*s.basalArea) + "/" +
                        std::to_string(s.volumes[0]);
            }
        }
        text += "\n";
    }
    return text;
}

class BatchRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("batch-runner-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        std::ofstream table(folder_ / "stands.csv");
        table << "stand_id,site,planted,existing_age,trees,owner\n";
        for (int k = 0; k < 40; ++k) {
            // Every seventh stand has a site index the input page refuses.
            const int site = k % 7 == 3 ? 10 : 50 + k % 30;
            if (k % 3 == 0) {
                table << "E" << k << "," << site << ",," << 5 + k % 15 << "," << 300 + 10 * k << ",own" << k << "\n";
            } else {
                table << "B" << k << "," << site << "," << 500 + 10 * k << ",,,own" << k << "\n";
            }
        }
        table.close();
        settings_.standTable = (folder_ / "stands.csv").string();
        ASSERT_EQ(checkStandTable(settings_.standTable, check_), std::nullopt);
        settings_.columns = check_.columns;
        settings_.rows = check_.rows;
        Regime regime;
        ASSERT_EQ(projectRegime(StandOptions{}, regime), std::nullopt);
        settings_.regimes.push_back(regime);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::vector<StandOutcome> run(unsigned threads, Shard shard = {}, MemorySink sink = {}) {
        BatchSettings settings = settings_;
        settings.threads = threads;
        settings.shard = shard;
        report_ = runBatch(settings, sink);
        return sink.outcomes;
    }

    std::filesystem::path folder_;
    StandTableCheck check_;
    BatchSettings settings_;
    BatchReport report_;
};

TEST_F(BatchRunnerTest, AnyNumberOfThreadsWritesTheSameInTableOrder) {
    const std::vector<StandOutcome> one = run(1);
    ASSERT_EQ(one.size(), 40u);
    EXPECT_EQ(report_.ran, 40);
    // Stands 3, 10, 17, 24, 31 and 38 fail; the others run.
    EXPECT_EQ(report_.failedStands, 6);
    EXPECT_EQ(one[3].results[0].message, "row 4 (stand_id E3), column site: Please enter a real number from 20 to 100");
    EXPECT_EQ(one[4].stand.userValues, std::vector<std::string>{"own4"});
    EXPECT_EQ(digest(run(3)), digest(one));
}

TEST_F(BatchRunnerTest, ShardsTogetherHoldEveryStandOnce) {
    const std::string whole = digest(run(2));
    std::vector<StandOutcome> joined;
    int64_t stands = 0;
    for (int64_t k = 0; k < 3; ++k) {
        const std::vector<StandOutcome> shard = run(2, Shard{k, 3});
        stands += report_.stands;
        for (const StandOutcome& o : shard) {
            EXPECT_EQ(o.stand.rowIndex % 3, k);
        }
        joined.insert(joined.end(), shard.begin(), shard.end());
    }
    EXPECT_EQ(stands, 40); // 14 + 13 + 13
    std::sort(joined.begin(), joined.end(),
              [](const StandOutcome& a, const StandOutcome& b) { return a.stand.rowIndex < b.stand.rowIndex; });
    EXPECT_EQ(digest(joined), whole);
}

TEST_F(BatchRunnerTest, SkipsWhatAnEarlierRunFinished) {
    MemorySink earlier;
    earlier.done = {"B1", "B2", "E3"};
    const std::vector<StandOutcome> outcomes = run(2, {}, earlier);
    EXPECT_EQ(outcomes.size(), 37u);
    EXPECT_EQ(report_.skipped, 3);
    for (const StandOutcome& o : outcomes) {
        EXPECT_EQ(earlier.done.count(o.stand.standId), 0u);
    }
}

TEST_F(BatchRunnerTest, AFailedWriteStopsTheRunWithItsMessage) {
    MemorySink full;
    full.failAfter = 5;
    const std::vector<StandOutcome> outcomes = run(2, {}, full);
    EXPECT_EQ(outcomes.size(), 5u);
    EXPECT_TRUE(report_.writeFailed);
    EXPECT_EQ(report_.error, "Unable to write results.sqlite: database or disk is full.");
}

} // namespace
} // namespace grovex::batch
