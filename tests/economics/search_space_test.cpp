// The search space file: what it refuses, and the schedules it stands for.

#include "economics/search_space.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace grovex::economics;

// The search space of the issue that asked for the search.
const char* const kExampleSpace = R"({"harvest_ages": [20, 40], "thinning": {"none": true, "kinds": ["row", "low",
    "row_and_low"], "ages": [12, 15], "row_intervals": [3, 4], "residual_basal_areas": [60, 70], "min_dbh": 0},
    "fertilization": {"none": true, "ages": [15], "nitrogen": [100, 200], "phosphorus": [false, true]}})";

std::string refusal(const std::string& text) {
    SearchSpace space;
    const auto refused = parseSearchSpace(text, space);
    return refused ? *refused : "(accepted)";
}

TEST(SearchSpace, RefusalsNameTheKey) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"({"harvest_ages": [20, 30], "harvest": 1})", "harvest: not a key of this file"},
        {R"({"harvest_ages": [20, 30], "thinning": {"kind": ["row"]}})", "thinning.kind: not a key of this file"},
        {R"({"harvest_ages": [20, 30], "fertilization": {"ages": [12], "nitrogen": [100], "potash": [1]}})",
         "fertilization.potash: not a key"},
        {R"({"thinning": {"none": true}})", "harvest_ages: missing"},
        {R"({"harvest_ages": [30, 20]})", "harvest_ages: the last age must not be below the first"},
        {R"({"harvest_ages": [20]})", "harvest_ages: must be [from, to]"},
        {R"({"harvest_ages": [20.5, 30]})", "harvest_ages[0]: must be a whole number"},
        {R"({"harvest_ages": [20, 30], "thinning": {"kinds": ["row", "high"], "ages": [12], "row_intervals": [4]}})",
         "thinning.kinds[1]: must be \"row\", \"low\" or \"row_and_low\""},
        {R"({"harvest_ages": [20, 30], "thinning": {"kinds": ["row"], "ages": [12]}})",
         "thinning.row_intervals: missing"},
        {R"({"harvest_ages": [20, 30], "thinning": {"kinds": ["low"], "ages": [12], "residual_basal_areas": []}})",
         "thinning.residual_basal_areas: must be a list of at least one value"},
        {R"({"harvest_ages": [20, 30], "thinning": {"kinds": ["row"], "ages": [12, 12], "row_intervals": [4]}})",
         "thinning.ages[1]: is given twice"},
        {R"({"harvest_ages": [20, 30], "thinning": {"none": "yes"}})", "thinning.none: must be true or false"},
        {R"({"harvest_ages": [20, 30], "fertilization": {"ages": [12], "nitrogen": [100], "phosphorus": [1]}})",
         "fertilization.phosphorus[0]: must be true or false"},
        {R"({"harvest_ages": [20, 30], "thinning": [12]})", "thinning: must be an object"},
        {R"({"harvest_ages": [20, 30], "thinning": {"ages": [12], "row_intervals": [4]}})",
         "thinning.ages: given without thinning.kinds"},
        {R"({"harvest_ages": [20, 30], "fertilization": {"nitrogen": [100]}})",
         "fertilization.nitrogen: given without fertilization.ages"},
        {R"({"harvest_ages": [20, 30],)", "not a JSON file"},
        {R"({"harvest_ages": [20, -1e999]})", "cannot be read: number overflow parsing '-1e999'"},
    };
    for (const auto& [text, message] : cases) {
        EXPECT_NE(refusal(text).find(message), std::string::npos) << text << "\n  gave: " << refusal(text);
    }
}

TEST(SearchSpace, EmptyAndAbsurdSpacesAreRefusedWithTheirCount) {
    EXPECT_NE(refusal(R"({"harvest_ages": [20, 30], "thinning": {"none": false}})").find("holds 0 combinations"),
              std::string::npos);
    // 1 + 3 x 1000 thinnings, 1 fertilization option, 1000 harvest ages: 3,001,000 combinations.
    std::string ages;
    for (int age = 1; age <= 1000; ++age) {
        ages += (age > 1 ? "," : "") + std::to_string(age);
    }
    const std::string absurd = R"({"harvest_ages": [1, 1000], "thinning": {"kinds": ["row"], "ages": [)" + ages +
                               R"(], "row_intervals": [2, 3, 4]}})";
    EXPECT_NE(refusal(absurd).find("holds 3001000 combinations; at most 1000000"), std::string::npos)
        << refusal(absurd);
    // Exactly at the limit: 1 schedule x 1000 ages x ... is accepted; 1,000,000 itself is allowed.
    const std::string limit = R"({"harvest_ages": [1, 1000], "thinning": {"none": false, "kinds": ["row"], "ages": [)" +
                              ages + R"(], "row_intervals": [1]}})";
    EXPECT_EQ(refusal(limit), "(accepted)");
}

TEST(SearchSpace, ExampleSpaceMakesEveryThinningWithEveryFertilization) {
    SearchSpace space;
    ASSERT_FALSE(parseSearchSpace(kExampleSpace, space));
    EXPECT_EQ(space.harvestAgeCount(), 21);
    // Thinnings: none; row 2 ages x 2 intervals; low 2 ages x 2 residuals; row and low 2 x 2 x 2: 17.
    // Fertilizations: none; 1 age x 2 amounts x 2 phosphorus choices: 5.
    const std::vector<Schedule> schedules = space.schedules();
    ASSERT_EQ(schedules.size(), 17u * 5u);
    EXPECT_TRUE(schedules.front().treatments.empty());
    size_t merged = 0;
    for (const Schedule& s : schedules) {
        for (size_t k = 1; k < s.treatments.size(); ++k) {
            EXPECT_LT(s.treatments[k - 1].age, s.treatments[k].age);
        }
        for (const Treatment& t : s.treatments) {
            merged += t.thinning && t.fertilizer ? 1 : 0;
        }
    }
    // A thinning at 15 (2 + 2 + 4 options) and a fertilization at 15 (4 options) are one treatment.
    EXPECT_EQ(merged, 8u * 4u);
    // Thinning option 4 is a row thinning at 15 keeping 1 in 4; fertilization option 4 is 200 pounds with P.
    EXPECT_EQ(scheduleText(schedules[4 * 5 + 4]), "thin row 1 in 4 and fertilize 200 lb N + P at 15");
    EXPECT_EQ(scheduleText(schedules[1 * 5 + 1]), "thin row 1 in 3 at 12, fertilize 100 lb N at 15");
}

} // namespace
