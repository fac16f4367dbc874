// Stand statistics and one growing season: the site curve, records that do not count, stored heights
// of zero, and the fertilization responses.

#include "model/growth_model.h"
#include "model_test_util.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <cmath>

namespace grovex {
namespace {

using modeltest::emptyRegister;
using modeltest::growTo;
using modeltest::plantedStand;
using modeltest::setTree;
using modeltest::siteCurve;

// The fertilization responses written from their Weibull densities.
double weibullDensity(double t, double b, double c) {
    return (c / b) * std::pow(t / b, c - 1) * std::exp(-std::pow(t / b, c));
}
double expectedFH(int t, int lbn, bool phosphorus) {
    return 1 + (phosphorus ? 1 : 0) * 0.0042008 * lbn * weibullDensity(t, 4.2433906, 1.85553901);
}

TEST(StandStats, SumsLiveRecordsIntoStandValues) {
    GrowthModel m = emptyRegister();
    m.hd = 45;
    setTree(m, 1, 4, 100, 30);
    setTree(m, 2, 6, 50, 40);
    setTree(m, 3, 8, 0.005f, 50); // too few trees to count, but still the largest diameter
    m.StandStats();

    EXPECT_FLOAT_EQ(m.ts, 150);
    EXPECT_FLOAT_EQ(m.tba, 0.005454f * 3400);
    EXPECT_FLOAT_EQ(m.crMean, 40);
    EXPECT_FLOAT_EQ(m.hMean, 5000.0f / 150);
    EXPECT_NEAR(m.dq, std::sqrt(3400.0 / 150), 1e-5);
    EXPECT_NEAR(m.rs, std::sqrt(43560.0 / 150) / 45, 1e-6);
    EXPECT_EQ(m.dmax, 8.0f);
    EXPECT_NEAR(m.cords, 1.74864, 1e-4); // 50 trees of class 6; class 4 is not merchantable
    EXPECT_EQ(m.hd, 45.0f);
}

TEST(StandStats, StandWithoutLiveTreesHasZeroMeans) {
    GrowthModel m = emptyRegister();
    m.hd = 45;
    setTree(m, 1, 4, 0);
    setTree(m, 2, 6, 0.009f);
    m.StandStats();
    for (float v : {m.ts, m.tba, m.dq, m.hMean, m.crMean, m.rs, m.cords}) {
        EXPECT_EQ(v, 0.0f);
    }
    EXPECT_EQ(m.dmax, 6.0f);
}

TEST(GrowOneYear, UntreatedStandFollowsTheSiteCurve) {
    for (float site : {60.0f, 83.5f}) {
        GrowthModel m = plantedStand(site);
        while (m.age < 25) {
            m.StandStats();
            m.GrowOneYear();
            ++m.age;
            ASSERT_NEAR(m.hd, siteCurve(site, m.age), 1e-5 * site) << m.age;
        }
        EXPECT_FLOAT_EQ(m.hd, site);
    }
}

TEST(GrowOneYear, RecordBelowOneHundredthOfATreeNeitherGrowsNorDies) {
    GrowthModel m = plantedStand();
    growTo(m, 12);
    const int slot = m.nrec / 2;
    m.freq[slot] = 0.005f;
    const float d = m.dbh[slot];

    GrowthModel without = m;
    without.freq[slot] = 0;
    m.StandStats();
    without.StandStats();
    EXPECT_EQ(m.ts, without.ts);
    EXPECT_EQ(m.tba, without.tba);
    EXPECT_EQ(m.crMean, without.crMean);

    const float neighbour = m.dbh[slot + 1];
    m.GrowOneYear();
    EXPECT_EQ(m.dbh[slot], d);
    EXPECT_EQ(m.freq[slot], 0.005f);
    EXPECT_GT(m.dbh[slot + 1], neighbour);
}

TEST(GrowOneYear, RecordWithoutHeightKeepsItAndLosesItsCrown) {
    GrowthModel m = plantedStand();
    growTo(m, 10);
    const int zero = m.nrec / 2;
    const int negative = zero + 1;
    m.ht[zero] = 0;
    m.ht[negative] = -1;
    for (int year = 0; year < 3; ++year) {
        m.StandStats();
        m.GrowOneYear();
        ++m.age;
        EXPECT_EQ(m.ht[zero], 0.0f);
        EXPECT_EQ(m.ht[negative], -1.0f);
        EXPECT_EQ(m.crownRatio[zero], 0.0f);
        EXPECT_EQ(m.crownRatio[negative], 0.0f);
    }
    EXPECT_GT(m.ht[zero + 2], 0.0f);
}

// One record of 6 inches, crown ratio 0.25, alone in a stand of site 60 at age 15: it is the largest tree
// (its height is 1.4504 hd^0.9366 10^(-0.4413 / 15) = 44.965 with hd 42.048) and its competition ratio is
// 1, or 1 / sqrt(0.5) when half the basal area is hardwood. Survival and increment worked out by hand.
struct RecordCase {
    const char* name;
    bool hardwood;
    bool thinned; // a row thinning: thinned survival, no change of the height curve
    float trees;
    float dbh;
};

class OneRecordGrowth : public ::testing::TestWithParam<RecordCase> {};

TEST_P(OneRecordGrowth, SurvivalAndDiameterIncrementFollowTheirCase) {
    const RecordCase& k = GetParam();
    GrowthModel m = emptyRegister();
    m.age = 15;
    setTree(m, 1, 6, 100, 30, 0.25f);
    m.qhdwd = k.hardwood ? 1 : 0;
    m.hdwdpercnt = 0.5f;
    m.qthin = k.thinned ? 1 : 0;
    m.ithin = 1;
    m.StandStats();
    m.GrowOneYear();
    EXPECT_NEAR(m.freq[1], k.trees, 2e-3);
    EXPECT_NEAR(m.dbh[1], k.dbh, 1e-5);
    EXPECT_NEAR(m.hd, siteCurve(60, 16), 1e-4);
}

INSTANTIATE_TEST_SUITE_P(SurvivalCases, OneRecordGrowth,
                         ::testing::Values(RecordCase{"PineOnly", false, false, 98.6553f, 6.09810f},
                                           RecordCase{"PineOnlyThinned", false, true, 99.0467f, 6.09810f},
                                           RecordCase{"Hardwood", true, false, 98.7110f, 6.07046f},
                                           RecordCase{"HardwoodThinned", true, true, 99.0365f, 6.07046f}),
                         RowName());

TEST(FertilizationMultipliers, MatchTheirDocumentedValues) {
    EXPECT_NEAR(FertilizationMultipliers(2, 200, false).FD, 1.1713, 1e-4);
    EXPECT_NEAR(FertilizationMultipliers(2, 200, true).FD, 1.3426, 1e-4);
    EXPECT_NEAR(FertilizationMultipliers(3, 200, true).FH, 1.1615, 1e-4);
    EXPECT_EQ(FertilizationMultipliers(3, 200, false).FH, 1.0f); // nitrogen alone: no height response
    const FertilizerResponse atFertilization = FertilizationMultipliers(0, 200, true);
    EXPECT_EQ(atFertilization.FD, 1.0f);
    EXPECT_EQ(atFertilization.FH, 1.0f);
    EXPECT_NEAR(FertilizationMultipliers(20, 200, true).FD, 1.0, 1e-5); // faded out
}

// Nitrogen alone at age 12: the season starting at 12 is unchanged (t = 0), the diameters differ from
// age 14 on, and the dominant height never leaves the site curve.
TEST(GrowOneYear, NitrogenWithoutPhosphorusRaisesOnlyDiameterGrowthFromTheSecondSeason) {
    GrowthModel plain = plantedStand();
    growTo(plain, 12);
    GrowthModel fertilized = plain;
    fertilized.qfert = 1;
    fertilized.kfert = 12;
    fertilized.lbn = 200;
    fertilized.qphos = 0;

    growTo(plain, 13);
    growTo(fertilized, 13);
    for (int i = 1; i <= plain.nrec; ++i) {
        ASSERT_EQ(fertilized.dbh[i], plain.dbh[i]) << i;
        ASSERT_EQ(fertilized.freq[i], plain.freq[i]) << i;
    }

    for (int age = 14; age <= 20; ++age) {
        growTo(plain, age);
        growTo(fertilized, age);
        EXPECT_GT(fertilized.dq, plain.dq) << age;
        EXPECT_EQ(fertilized.hd, plain.hd) << age;
        EXPECT_NEAR(fertilized.hd, siteCurve(60, age), 1e-4) << age;
    }
    for (int i = 1; i <= plain.nrec; ++i) {
        if (plain.freq[i] >= 0.01f) {
            ASSERT_GT(fertilized.dbh[i], plain.dbh[i]) << i;
        }
    }
}

// With phosphorus the stored dominant height is the site curve's value of the previous age plus the
// raised increment of the season just grown; gains of earlier seasons do not add up.
TEST(GrowOneYear, NitrogenWithPhosphorusRaisesHeightOnlyByTheCurrentIncrement) {
    GrowthModel m = plantedStand();
    growTo(m, 12);
    m.qfert = 1;
    m.kfert = 12;
    m.lbn = 200;
    m.qphos = 1;
    GrowthModel plain = m;
    plain.kfert = 0;
    for (int age = 13; age <= 24; ++age) {
        growTo(m, age);
        growTo(plain, age);
        const double previous = siteCurve(60, age - 1);
        const double increment = siteCurve(60, age) - previous;
        const double expected = previous + increment * expectedFH(age - 1 - 12, 200, true);
        EXPECT_NEAR(m.hd, expected, 2e-4 * expected) << age;
        EXPECT_GE(m.hd, plain.hd) << age;
    }
    EXPECT_GT(m.dq, plain.dq);
}

// A low-thinned stand grows on a shifted curve within the season, but its stored dominant height is put
// back on the plain site curve every year.
TEST(GrowOneYear, LowThinnedStandStoresThePlainSiteCurve) {
    GrowthModel m = plantedStand();
    growTo(m, 14);
    m.qthin = 1;
    m.ithin = 2;
    m.kt = 14;
    m.thinRatio = 0.6f;
    for (int age = 15; age <= 22; ++age) {
        growTo(m, age);
        EXPECT_NEAR(m.hd, siteCurve(60, age), 1e-4 * 60) << age;
    }
}

} // namespace
} // namespace grovex
