// grovex-cli value as a user runs it: the measures and cash flows of a projection, a played macro and a
// saved simulation, and the refusals of bad input.

#include "support/cli_run.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using nlohmann::json;

const std::string kPrices = grovex::sourceDir() + "/examples/prices/southern-pine.json";
const std::string kMacro = grovex::testData("macro_thin_fertilize_next.txt");

json valueJson(const std::string& args) {
    const CliRun run = runCli("value --prices '" + kPrices + "' --format json " + args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return json::parse(run.out);
}

double amountOf(const json& flows, const std::string& item) {
    double sum = 0;
    for (const json& f : flows) {
        if (f["item"] == item) {
            sum += f["amount"].get<double>();
        }
    }
    return sum;
}

TEST(CliValue, PlayedMacroCountsEveryTreatmentOfItsRun) {
    const json v = valueJson("--play '" + kMacro + "'");
    for (const char* key : {"npv", "lev", "irr", "eaa", "best_age", "value_at_best_age", "cash_flows"}) {
        EXPECT_TRUE(v.contains(key)) << key;
    }
    const json& flows = v["cash_flows"];
    // The example's costs: establishment 350; one thinning entry (row and low thinning together) 15; the
    // macro's fertilization with 150 pounds of nitrogen and phosphorus: 25 + 0.55 x 150 + 40 = 147.5.
    EXPECT_DOUBLE_EQ(amountOf(flows, "establishment"), -350.0);
    EXPECT_DOUBLE_EQ(amountOf(flows, "thinning cost"), -15.0);
    EXPECT_DOUBLE_EQ(amountOf(flows, "fertilization"), -147.5);
    EXPECT_GT(amountOf(flows, "thinning: pulpwood"), 0.0);
    EXPECT_EQ(flows.front()["year"], 0);
    int annualCosts = 0;
    for (const json& f : flows) {
        annualCosts += f["item"] == "annual cost";
    }
    EXPECT_EQ(annualCosts, v["harvest_age"].get<int>()); // one for every year of a plantation's run
    EXPECT_FALSE(v["lev"].is_null());
    EXPECT_FALSE(v["best_age"].is_null());
}

TEST(CliValue, SavedSimulationIsWorthWhatItsRunWasWorthButHasNoBestAge) {
    const std::filesystem::path saved = std::filesystem::temp_directory_path() / "grovex-value-test.gvx";
    ASSERT_EQ(runCli("project --target-age 30 --save '" + saved.string() + "'").exitCode, 0);
    const json run = valueJson("--target-age 30");
    const json document = valueJson("--document '" + saved.string() + "'");
    std::filesystem::remove(saved);
    EXPECT_NEAR(document["npv"].get<double>(), run["npv"].get<double>(), 1e-9);
    EXPECT_TRUE(document["best_age"].is_null());
    EXPECT_FALSE(run["best_age"].is_null());
    EXPECT_FALSE(document["notes"].empty());
}

TEST(CliValue, ExistingStandHasNoLevAndSaysWhy) {
    const json v = valueJson("--existing-age 12 --trees 600 --target-age 30");
    EXPECT_TRUE(v["lev"].is_null());
    EXPECT_EQ(amountOf(v["cash_flows"], "establishment"), 0.0);
    ASSERT_FALSE(v["notes"].empty());
    EXPECT_NE(v["notes"][0].get<std::string>().find("existing stand of age 12"), std::string::npos);
}

TEST(CliValue, BadInputIsRefusedWithTheKeyAndNothingRuns) {
    const std::filesystem::path bad = std::filesystem::temp_directory_path() / "grovex-value-bad-prices.json";
    std::ofstream(bad) << R"({"discount_rate": 0.05, "currency": "USD", "costs": {"anual": 8},
        "products": [{"name": "pulp", "min_dbh": 5, "unit": "cord", "price": 20}]})";
    const CliRun misspelt = runCli("value --prices '" + bad.string() + "'");
    std::filesystem::remove(bad);
    EXPECT_EQ(misspelt.exitCode, 2);
    EXPECT_EQ(misspelt.out, "");
    EXPECT_NE(misspelt.err.find("costs.anual: not a key of this file"), std::string::npos) << misspelt.err;

    const CliRun stray = runCli("value --prices '" + kPrices + "' --play '" + kMacro + "' --site 70");
    EXPECT_EQ(stray.exitCode, 2);
    EXPECT_NE(stray.err.find("--site"), std::string::npos) << stray.err;

    const CliRun missing = runCli("value --prices /nonexistent/prices.json");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("/nonexistent/prices.json"), std::string::npos) << missing.err;
}

} // namespace
