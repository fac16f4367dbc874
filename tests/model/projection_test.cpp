// The target test and the model's side of a projection: where a projection stops and what it leaves.

#include "model/growth_model.h"
#include "model_test_util.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace grovex {
namespace {

using modeltest::growTo;
using modeltest::plantedStand;

struct CriterionCase {
    const char* name;
    int pcrit;
    float target;
    std::function<float(const GrowthModel&)> value;
    bool metAtOrBelow; // crown ratio and relative spacing fall toward their targets
};

bool met(const CriterionCase& k, const GrowthModel& m) {
    const float v = k.value(m);
    return k.metAtOrBelow ? v <= k.target : v >= k.target;
}

class ProjectionCriterion : public ::testing::TestWithParam<CriterionCase> {};

// Each criterion stops the projection at the first age at which its stand value reaches the target.
TEST_P(ProjectionCriterion, StopsAtTheFirstAgeWhereTheTargetIsReached) {
    const CriterionCase& k = GetParam();

    // Walk the same stand year by year and find that age from the stand values themselves.
    GrowthModel walk = plantedStand();
    ASSERT_FALSE(met(k, walk)) << "target already met at age 8";
    while (!met(k, walk)) {
        ASSERT_LT(walk.age, 60);
        growTo(walk, walk.age + 1);
    }

    GrowthModel m = plantedStand();
    m.pcrit = k.pcrit;
    m.target = k.target;
    EXPECT_TRUE(m.ProjectToTarget());
    EXPECT_EQ(m.age, walk.age);
    ASSERT_EQ(m.tables.size(), 1u);
    EXPECT_EQ(m.tables[0].kind, kLiveTreeTable);
    EXPECT_EQ(m.tables[0].age, walk.age);
    EXPECT_TRUE(met(k, m));
}

// The comparison is exact: a target equal to the stand value is met, the next real beyond it is not.
TEST_P(ProjectionCriterion, TargetTestComparesWithoutTolerance) {
    const CriterionCase& k = GetParam();
    GrowthModel m = plantedStand();
    m.pcrit = k.pcrit;
    const float value = k.value(m);
    m.target = std::nextafter(value, k.metAtOrBelow ? -INFINITY : INFINITY);
    EXPECT_FALSE(m.TargetTest());
    EXPECT_TRUE(m.tables.empty());
    m.target = value;
    EXPECT_TRUE(m.TargetTest());
    EXPECT_EQ(m.tables.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    AllCriteria, ProjectionCriterion,
    ::testing::Values(CriterionCase{"Age", 1, 20, [](const GrowthModel& m) { return static_cast<float>(m.age); },
                                    false},
                      CriterionCase{"BasalArea", 2, 120, [](const GrowthModel& m) { return m.tba; }, false},
                      CriterionCase{"QuadraticMeanDbh", 3, 7, [](const GrowthModel& m) { return m.dq; }, false},
                      CriterionCase{"DominantHeight", 4, 50, [](const GrowthModel& m) { return m.hd; }, false},
                      CriterionCase{"Cords", 5, 20, [](const GrowthModel& m) { return m.cords; }, false},
                      CriterionCase{"CrownRatio", 6, 50, [](const GrowthModel& m) { return m.crMean; }, true},
                      CriterionCase{"RelativeSpacing", 7, 0.2f, [](const GrowthModel& m) { return m.rs; }, true}),
    RowName());

TEST(ProjectToTarget, TargetMetAtTheStartGrowsNothing) {
    GrowthModel m = plantedStand();
    m.pcrit = kCriterionDominantHeight;
    m.target = 20;
    const GrowthModel before = m;
    EXPECT_TRUE(m.ProjectToTarget());
    EXPECT_EQ(m.age, 8);
    EXPECT_EQ(m.tables.size(), 1u);
    EXPECT_EQ(m.dbh, before.dbh);
    EXPECT_EQ(m.freq, before.freq);
}

TEST(ProjectToTarget, RotationEqualToTheStartingAgeGivesOneTableThere) {
    GrowthModel m = plantedStand();
    m.nyears = 8;
    m.target = 30;
    EXPECT_FALSE(m.ProjectToTarget());
    EXPECT_EQ(m.age, 8);
    ASSERT_EQ(m.tables.size(), 1u);
    EXPECT_EQ(m.tables[0].age, 8);
}

TEST(ProjectToTarget, UnreachableOrUnknownCriterionEndsAtTheRotation) {
    for (int pcrit : {static_cast<int>(kCriterionRelativeSpacing), 8}) {
        GrowthModel m = plantedStand();
        m.nyears = 40;
        m.pcrit = pcrit;
        m.target = 0.01f;
        EXPECT_FALSE(m.ProjectToTarget()) << pcrit;
        EXPECT_EQ(m.age, 40);
        ASSERT_EQ(m.tables.size(), 1u);
        EXPECT_EQ(m.tables[0].age, 40);
    }
}

TEST(ProjectToTarget, FractionalTargetAgeStopsAtTheNextWholeAge) {
    GrowthModel m = plantedStand();
    m.target = 25;
    ASSERT_TRUE(m.ProjectToTarget());
    ASSERT_EQ(m.age, 25);
    m.target = 30.5f;
    EXPECT_TRUE(m.ProjectToTarget());
    EXPECT_EQ(m.age, 31);
    EXPECT_EQ(m.tables.size(), 2u);
    EXPECT_NE(m.tables[1].summary.find("Growing Seasons Completed =   31.00"), std::string::npos);

    // The same criterion and target again: met at the first test.
    EXPECT_TRUE(m.ProjectToTarget());
    EXPECT_EQ(m.age, 31);
    EXPECT_EQ(m.tables.size(), 3u);
}

} // namespace
} // namespace grovex
