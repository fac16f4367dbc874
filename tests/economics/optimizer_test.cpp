// The regime search: what it counts, how it records a schedule, and that valuing every harvest age from one
// projection gives what recording each regime to its own harvest age gives.

#include "batch/stand_search.h"
#include "economics/optimizer.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using namespace grovex;
using namespace grovex::economics;

Prices testPrices() {
    Prices prices;
    const auto refused = readPrices(testData("optimize_prices.json"), prices);
    EXPECT_FALSE(refused) << *refused;
    return prices;
}

SearchStand standOf(const batch::StandOptions& options) {
    SearchStand stand;
    const auto refused = batch::searchStand(options, batch::optionName, nullptr, stand);
    EXPECT_FALSE(refused) << refused->message;
    return stand;
}

SearchStand bareLand() {
    batch::StandOptions options{};
    options.site = "65";
    return standOf(options);
}

SearchSpace spaceOf(const std::string& text) {
    SearchSpace space;
    const auto refused = parseSearchSpace(text, space);
    EXPECT_FALSE(refused) << *refused;
    return space;
}

Treatment thinRow(int age, int interval) {
    return Treatment{age, Thinning{ThinningKind::Row, interval, 0, 0}, std::nullopt};
}

TEST(RegimeSearch, CountsEveryCombinationOnceWithItsReason) {
    batch::StandOptions options{};
    options.existingAge = "14";
    options.trees = "500";
    options.basalArea = "80";
    const SearchStand stand = standOf(options);
    // Harvest ages 10 to 70 (61); thinnings: none, and rows 1 in 1 or 1 in 3 at 8, 12, 16 or 30 (9);
    // fertilizations: none, or 20 or 100 pounds at 12 (3). 27 schedules x 61 ages = 1647 combinations.
    const SearchSpace space = spaceOf(R"({"harvest_ages": [10, 70], "thinning": {"kinds": ["row"],
        "ages": [8, 12, 16, 30], "row_intervals": [1, 3]}, "fertilization": {"ages": [12], "nitrogen": [20, 100]}})");
    const SearchResult result = searchRegimes(testPrices(), space, stand, 3);
    ASSERT_FALSE(result.failure);
    EXPECT_EQ(result.combinations, 1647);
    EXPECT_FALSE(result.levRanked);
    std::map<std::string, int64_t> skipped;
    for (const SkipCount& s : result.skipped) {
        skipped[s.reason] = s.count;
    }
    // Ages 10 to 14 are not after the stand's age (5 x 27); 61 to 70 are beyond the rotation of 60 (10 x 27).
    EXPECT_EQ(skipped[kHarvestNotAfterStart], 135);
    EXPECT_EQ(skipped[kHarvestBeyondRotation], 270);
    // Of the 46 ages 15 to 60: every schedule that fertilizes at 12 (2 x 9) or thins at 8 or 12 without
    // fertilizing (4) starts before the stand: 22 x 46.
    EXPECT_EQ(skipped[kTreatmentNotAfterStart], 1012);
    // Thinning at 16 leaves harvests at 15 and 16 too early, at 30 the 16 ages 15 to 30; two intervals each.
    EXPECT_EQ(skipped[kTreatmentNotBeforeHarvest], 2 * 2 + 2 * 16);
    // The Stand Projection dialog takes row intervals from 2 to 6: 1 in 1 is refused at 16 (44 harvest ages
    // after it) and at 30 (30 ages).
    EXPECT_EQ(skipped["treatment at 16: Please enter a number from 2 to 6"], 44);
    EXPECT_EQ(skipped["treatment at 30: Please enter a number from 2 to 6"], 30);
    EXPECT_EQ(skipped.size(), 6u);
    // Valued: no treatment (46 ages), 1 in 3 at 16 (44) and at 30 (30).
    EXPECT_EQ(result.valued, 46 + 44 + 30);
    ASSERT_EQ(result.best.size(), 3u);
    for (size_t k = 1; k < result.best.size(); ++k) {
        EXPECT_GE(*result.best[k - 1].valuation.npv, *result.best[k].valuation.npv);
        EXPECT_FALSE(result.best[k].valuation.lev);
    }
}

TEST(RegimeSearch, TreatmentsHappenAtTheirAgesAndJoinWhenTheySharedOne) {
    const Prices prices = testPrices();
    Schedule schedule;
    schedule.treatments.push_back(thinRow(12, 4));
    schedule.treatments.push_back(Treatment{15, std::nullopt, Fertilizer{150, true}});
    RunRecorder recorder(prices);
    const RecordedRun run = recordSchedule(bareLand(), schedule, 20, &recorder);
    ASSERT_FALSE(run.failure) << *run.failure;
    std::vector<std::pair<int, int>> tables; // kind, age
    for (const ResultTable& t : run.doc->model.tables) {
        tables.emplace_back(t.kind, t.age);
    }
    const std::vector<std::pair<int, int>> expected = {{kLiveTreeTable, 11},
                                                       {kThinnedTreeTable, 12},
                                                       {kLiveTreeTable, 12},
                                                       {kLiveTreeTable, 14},
                                                       {kLiveTreeTable, 20}};
    EXPECT_EQ(tables, expected);
    ASSERT_EQ(recorder.fertilizations().size(), 1u);
    EXPECT_EQ(recorder.fertilizations()[0].age, 15);
    EXPECT_EQ(recorder.fertilizations()[0].poundsNitrogen, 150);
    EXPECT_TRUE(recorder.fertilizations()[0].phosphorus);
    // Three commands: Initialize and Project, then one treatment command per age.
    int commands = 0;
    for (const MacroEntry& e : run.macro) {
        commands += e.key == "ProjectEnd" ? 1 : 0;
    }
    EXPECT_EQ(commands, 3);

    schedule.treatments = {thinRow(15, 4)};
    schedule.treatments[0].fertilizer = Fertilizer{150, false};
    const RecordedRun joined = recordSchedule(bareLand(), schedule, 20, nullptr);
    ASSERT_FALSE(joined.failure) << *joined.failure;
    commands = 0;
    for (const MacroEntry& e : joined.macro) {
        commands += e.key == "ProjectEnd" ? 1 : 0;
    }
    EXPECT_EQ(commands, 2);
}

TEST(RegimeSearch, EveryHarvestAgeOfOneRunIsWorthItsOwnRecording) {
    const Prices prices = testPrices();
    const SearchStand stand = bareLand();
    Schedule schedule;
    schedule.treatments = {thinRow(12, 3), Treatment{16, std::nullopt, Fertilizer{200, true}}};
    RunRecorder longRecorder(prices);
    const RecordedRun longRun = recordSchedule(stand, schedule, 40, &longRecorder);
    ASSERT_FALSE(longRun.failure) << *longRun.failure;
    const RunFacts longFacts = runFacts(longRun.doc->model, &longRecorder);
    const HarvestAges ages(prices, longFacts);
    for (int age : {17, 25, 33, 40}) {
        RunRecorder recorder(prices);
        const RecordedRun run = recordSchedule(stand, schedule, age, &recorder);
        ASSERT_FALSE(run.failure) << *run.failure;
        const Valuation own = valueRun(prices, runFacts(run.doc->model, &recorder));
        ASSERT_TRUE(ages.npv(age) && ages.rankValue(age));
        EXPECT_NEAR(*ages.npv(age), *own.npv, 1e-9 * std::abs(*own.npv)) << "harvest at " << age;
        EXPECT_NEAR(*ages.rankValue(age), *own.lev, 1e-9 * std::abs(*own.lev)) << "harvest at " << age;
    }
    EXPECT_FALSE(ages.npv(41));
    EXPECT_FALSE(ages.npv(0));
}

} // namespace
