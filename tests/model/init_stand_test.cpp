// Stand initialization: survival to age 8, the site curve, the predicted basal area and diameters, the
// Weibull fit and the register of 0.1-inch classes. Expected values are worked out from the equations.

#include "model/growth_model.h"
#include "model_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace grovex {
namespace {

using modeltest::siteCurve;

GrowthModel existingStand(float exage, float trees, float site, float basalArea = 0) {
    GrowthModel m;
    m.qexist = 1;
    m.exage = exage;
    m.ts = trees;
    m.site = site;
    if (basalArea > 0) {
        m.qtba = 1;
        m.tba = basalArea;
    }
    return m;
}

float registerTotal(const GrowthModel& m) {
    double sum = 0;
    for (int i = 1; i <= m.nrec; ++i) {
        sum += m.freq[i];
    }
    return static_cast<float>(sum);
}

TEST(InitStand, BareLandSurvivesToAgeEight) {
    GrowthModel m; // 800 planted, 90 % first-year survival, well drained
    ASSERT_TRUE(m.InitStand());
    EXPECT_EQ(m.age, 8);
    EXPECT_NEAR(m.ts, 720.0 * std::exp(-0.000997 * 70.3826), 0.01); // 671.21

    GrowthModel drained;
    drained.qdrain = 1;
    ASSERT_TRUE(drained.InitStand());
    EXPECT_NEAR(drained.ts, 720.0 * std::exp(-0.001721 * 70.3826), 0.01); // 637.86
}

TEST(InitStand, DefaultPlantationPredictsItsStandValues) {
    GrowthModel m;
    ASSERT_TRUE(m.InitStand());
    EXPECT_NEAR(m.hd, 23.2133, 0.001);
    EXPECT_EQ(m.weibull.a, 0.0f); // 0.0738 hd - 0.9827 - 0.3800 hd / 8 is negative
    const double dq = std::sqrt(m.weibull.Q);
    EXPECT_NEAR(dq, 3.9440, 0.001);
    EXPECT_NEAR(m.weibull.Q * m.ts * 0.005454, 56.943, 0.01); // the predicted basal area
    // The predicted mean DBH of 3.8583 has no shape in [1, 5] with this second moment: the solver lowers
    // it in steps of 0.01 until one exists (below sqrt(Q / 1.05247) = 3.8444).
    EXPECT_EQ(m.weibull.statusCode, 2);
    EXPECT_NEAR(m.weibull.mean, 3.8383, 0.0005);

    // The register gives back the predicted basal area, up to the 0.1-inch classes and the cut tail.
    m.StandStats();
    EXPECT_NEAR(m.tba, 56.94, 0.01 * 56.94);
    EXPECT_NEAR(m.dq, 3.944, 0.02);
}

TEST(InitStand, ExistingStandsAreCarriedToAgeEightOnlyWhenYounger) {
    GrowthModel old = existingStand(10, 800, 60);
    ASSERT_TRUE(old.InitStand());
    EXPECT_EQ(old.age, 10);
    old.StandStats();
    EXPECT_NEAR(old.ts, 800.0f, 0.05f); // the register holds the entered trees, less the cut tail

    GrowthModel young = existingStand(5, 800, 60);
    ASSERT_TRUE(young.InitStand());
    EXPECT_EQ(young.age, 8);
    young.StandStats();
    EXPECT_NEAR(young.ts, 800.0 * std::exp(-0.000997 * (71.3826 - std::pow(5.0, 2.0525))), 0.05); // 765.53
}

TEST(InitStand, AgeIsTheIntegerPartOfTheEnteredAgePlusOneTenth) {
    for (auto [exage, age] : {std::pair{11.95f, 12}, {12.0f, 12}, {12.85f, 12}}) {
        GrowthModel m = existingStand(exage, 500, 60);
        ASSERT_TRUE(m.InitStand());
        EXPECT_EQ(m.age, age) << exage;
    }
}

TEST(InitStand, DominantHeightFollowsTheSiteCurveAndEqualsSiteAtTwentyFive) {
    for (float site : {20.0f, 60.0f, 95.34f}) {
        for (int age : {8, 14, 25, 30}) {
            GrowthModel m = existingStand(static_cast<float>(age), 500, site);
            ASSERT_TRUE(m.InitStand());
            EXPECT_NEAR(m.hd, siteCurve(site, age), 1e-5 * site) << site << " " << age;
        }
        GrowthModel at25 = existingStand(25, 500, site);
        ASSERT_TRUE(at25.InitStand());
        EXPECT_FLOAT_EQ(at25.hd, site);
    }
}

TEST(InitStand, HardwoodsLowerThePredictedBasalArea) {
    // Age 12, 600 trees, site 70: hd 39.806; without hardwoods 108.87 square feet, with 20 % 93.71.
    GrowthModel pine = existingStand(12, 600, 70);
    GrowthModel mixed = existingStand(12, 600, 70);
    mixed.qhdwd = 1;
    mixed.hdwdpercnt = 0.2f;
    ASSERT_TRUE(pine.InitStand());
    ASSERT_TRUE(mixed.InitStand());
    EXPECT_NEAR(pine.weibull.Q * 600 * 0.005454, 108.87, 0.02);
    EXPECT_NEAR(mixed.weibull.Q * 600 * 0.005454, 93.71, 0.02);
}

TEST(InitStand, GivenBasalAreaIsReproducedByTheRegister) {
    GrowthModel m = existingStand(15, 600, 70, 100);
    ASSERT_TRUE(m.InitStand());
    EXPECT_NEAR(m.weibull.a, 1.3618, 0.001);
    m.StandStats();
    EXPECT_NEAR(m.tba, 100.0f, 1.0f);
    EXPECT_EQ(m.dmax, m.dbh[m.nrec - 1]);
}

TEST(InitStand, CutClassIsNotStoredButCounted) {
    GrowthModel m = existingStand(15, 600, 70, 100);
    ASSERT_TRUE(m.InitStand());
    ASSERT_LT(m.nrec, kMaxRecords);
    EXPECT_EQ(m.dbh[m.nrec], 0.0f);
    EXPECT_EQ(m.freq[m.nrec], 0.0f);
    EXPECT_GT(m.dbh[m.nrec - 1], 0.0f);
    const float total = registerTotal(m);
    EXPECT_LT(total, 600.0f);
    EXPECT_GT(total, 599.9f);
}

TEST(InitStand, RefusesStandsWhoseMeanDiameterLiesBelowTheWeibullLocation) {
    // Mean DBH 4.43 below a location of 4.81; mean 2.21 below 2.53. No distribution fits either.
    GrowthModel dense = existingStand(26, 1154.33f, 95.34f, 133.61f);
    GrowthModel sparse = existingStand(25, 800, 60, 25);
    for (GrowthModel* m : {&dense, &sparse}) {
        m->nrec = 0;
        EXPECT_FALSE(m->InitStand());
        EXPECT_EQ(m->nrec, 0); // the register is not filled with a meaningless distribution
        EXPECT_EQ(m->dbh[1], 0.0f);
    }
}

// The fitted distribution has the requested mean and second moment (moments from the library's gamma).
TEST(SolveWeibull, FitReproducesMeanAndSecondMoment) {
    struct Case {
        float mean, dq, a;
    };
    for (const Case& k : {Case{3.7f, 3.9440f, 0.0f}, Case{5.3802f, 5.5280f, 1.3618f}, Case{8.0f, 8.5f, 2.0f}}) {
        GrowthModel m;
        const float Q = k.dq * k.dq;
        const auto fit = m.SolveWeibull(k.mean, Q, k.a, 1.0f, 5.0f);
        ASSERT_EQ(fit.statusCode, 0) << k.mean;
        ASSERT_GE(fit.c, 1.0f);
        ASSERT_LE(fit.c, 5.0f);
        const double g1 = std::tgamma(1.0 + 1.0 / fit.c);
        const double g2 = std::tgamma(1.0 + 2.0 / fit.c);
        EXPECT_NEAR(k.a + fit.b * g1, k.mean, 1e-4 * k.mean);
        EXPECT_NEAR(k.a * k.a + 2.0 * k.a * fit.b * g1 + fit.b * fit.b * g2, Q, 1e-4 * Q);
    }
}

TEST(GammaFn, MatchesKnownValues) {
    const double rootPi = std::sqrt(std::numbers::pi);
    struct Case {
        float x;
        double expected;
    };
    for (const Case& k : {Case{1.0f, 1.0}, Case{2.0f, 1.0}, Case{5.0f, 24.0}, Case{0.5f, rootPi},
                          Case{1.5f, rootPi / 2}, Case{1.2f, std::tgamma(1.2)}, Case{3.7f, std::tgamma(3.7)},
                          Case{7.25f, std::tgamma(7.25)}, Case{-0.5f, -2 * rootPi}}) {
        EXPECT_NEAR(GammaFn(k.x), k.expected, 2e-6 * std::fabs(k.expected)) << k.x;
    }
}

TEST(SolveWeibull, MeanWithoutABracketIsLoweredUntilOneExists) {
    GrowthModel m;
    const float Q = 3.9440f * 3.9440f;
    const auto fit = m.SolveWeibull(3.8583f, Q, 0.0f, 1.0f, 5.0f);
    EXPECT_EQ(fit.statusCode, 2);
    EXPECT_NEAR(fit.b * std::tgamma(1.0 + 1.0 / fit.c), 3.8383, 1e-4);
    EXPECT_NEAR(fit.b * fit.b * std::tgamma(1.0 + 2.0 / fit.c), Q, 1e-4 * Q);
}

// A hand-chosen distribution with location 1.0 inch: the 1.0-inch class starts at the location itself.
TEST(GenerateTrees, ClassesFollowTheDistributionFromTheLocationOn) {
    GrowthModel m;
    m.age = 12;
    m.ts = 600;
    m.hd = 40;
    m.GenerateTrees(1.0f, 3.0f, 2.5f);

    EXPECT_EQ(m.dbh[9], 0.0f); // below the location: skipped
    EXPECT_EQ(m.freq[9], 0.0f);
    EXPECT_EQ(m.dbh[10], 1.0f);
    EXPECT_NEAR(m.freq[10], 0.021516, 1e-5); // 600 (1 - exp(-(0.05 / 3)^2.5))
    EXPECT_NEAR(m.freq[11], 0.313800, 1e-5); // 600 (F(1.15) - F(1.05))
    EXPECT_EQ(m.ht[10], 0.0f);               // a class at the location gets trees but no height or crown
    EXPECT_EQ(m.crownRatio[10], 0.0f);

    // Heights rise with DBH up to 1.4504 hd^0.9366 10^(-0.4413 / age) at the largest class.
    const int last = m.nrec - 1;
    EXPECT_EQ(m.dmax, m.dbh[last]);
    EXPECT_NEAR(m.ht[last], 42.18929, 1e-4);
    for (int i = 12; i <= last; ++i) {
        ASSERT_GT(m.ht[i], m.ht[i - 1]) << i;
        ASSERT_GT(m.crownRatio[i], 0.0f) << i;
        ASSERT_LT(m.crownRatio[i], 1.0f) << i;
        ASSERT_FLOAT_EQ(m.crownLength[i], m.ht[i] * m.crownRatio[i]) << i;
    }
    EXPECT_NEAR(m.rs, std::sqrt(43560.0 / 600) / 40, 1e-6);
}

} // namespace
} // namespace grovex
