// `grovex-cli optimize` as a user runs it: the best regime's macro plays back to the value it was ranked by.

#include "support/cli_run.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::string kPrices = grovex::testData("optimize_prices.json");

class OptimizeCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("grovex-optimize-" + std::to_string(getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string file(const std::string& name, const std::string& text) const {
        const fs::path path = dir_ / name;
        std::ofstream(path) << text;
        return path.string();
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

TEST_F(OptimizeCli, BestMacroPlaysBackToItsValue) {
    const std::string space = file("space.json", R"({"harvest_ages": [25, 35], "thinning": {"kinds": ["low"],
        "ages": [13], "residual_basal_areas": [65]}, "fertilization": {"ages": [13, 16], "nitrogen": [150],
        "phosphorus": [true]}})");
    const std::string best = path("best.gmc");
    const CliRun run = runCli("optimize --site 70 --prices '" + kPrices + "' --space '" + space + "' --best '" + best +
                              "' --format json");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto result = nlohmann::json::parse(run.out);
    // 2 thinning options x 3 fertilization options x 11 harvest ages, every one valued.
    EXPECT_EQ(result["combinations"], 66);
    EXPECT_EQ(result["valued"], 66);
    EXPECT_TRUE(result["skipped"].empty());
    const auto& first = result["regimes"][0];
    EXPECT_EQ(first["rank"], 1);

    EXPECT_EQ(runCli("play '" + best + "'").exitCode, 0);
    const CliRun dumped = runCli("macro dump '" + best + "'");
    EXPECT_EQ(dumped.out, first["macro"].get<std::string>());
    const CliRun value = runCli("value --prices '" + kPrices + "' --play '" + best + "' --format json");
    ASSERT_EQ(value.exitCode, 0) << value.err;
    const auto valued = nlohmann::json::parse(value.out);
    EXPECT_DOUBLE_EQ(valued["npv"].get<double>(), first["npv"].get<double>());
    EXPECT_DOUBLE_EQ(valued["lev"].get<double>(), first["lev"].get<double>());
    EXPECT_EQ(valued["harvest_age"], first["harvest_age"]);
    EXPECT_EQ(valued["best_age"], first["best_age"]);
}

TEST_F(OptimizeCli, RefusedInputRunsNothing) {
    const std::string unknown = file("unknown.json", R"({"harvest_ages": [25, 35], "thinning": {"age": [12]}})");
    // Thinnings: none, 11 ages x 5 intervals, 11 ages x 3 residuals (89); fertilizations: none, 11 ages x 10
    // amounts (111); 1000 harvest ages: 9,879,000 combinations.
    const std::string absurd = file("absurd.json", R"({"harvest_ages": [1, 1000], "thinning": {"kinds": ["row",
        "low"], "ages": [10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20], "row_intervals": [2, 3, 4, 5, 6],
        "residual_basal_areas": [50, 60, 70]}, "fertilization": {"ages": [10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
        20], "nitrogen": [50, 100, 150, 200, 250, 300, 350, 400, 60, 70]}})");
    const std::string best = path("never.gmc");
    for (const auto& [args, message] : std::vector<std::pair<std::string, std::string>>{
             {"--space '" + unknown + "'", "thinning.age: not a key of this file"},
             {"--space '" + absurd + "'", "holds 9879000 combinations"},
             {"--space '" + unknown + "' --target-age 30", "--target-age"},
         }) {
        const CliRun run = runCli("optimize --prices '" + kPrices + "' --best '" + best + "' " + args);
        EXPECT_EQ(run.exitCode, 2) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(best));
    }
}

} // namespace
