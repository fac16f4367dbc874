// Every equation of initialization and of one growing season against a second calculation written here
// in double precision, straight from the published equations, for one case per branch. The tolerances are
// a few float roundings wide, so that a changed coefficient fails even where its effect is small (the
// thinning response at base age 25, the crown response to a thinning, the survival of a vigorous tree).

#include "model/growth_model.h"
#include "model_test_util.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace grovex {
namespace {

using modeltest::emptyRegister;
using modeltest::setTree;

// ---- the reference calculation ----

double siteCurveAt(double site, double x, double y) {
    return std::exp(std::log(site) * std::pow(25.0 / x, -0.0525) * std::exp(-2.4007 * y));
}

double treeHeight(double hd, double ts, double age, double d, double dmax) {
    const double slope = 2.8095 * std::log10(ts) / age - 1.3504;
    return 1.4504 * std::pow(hd, 0.9366) * std::pow(10.0, slope * (1.0 / d - 1.0 / dmax) - 0.4413 / age);
}

double crownRatio(double thinRatio, double yearsSinceThinning, double age, double d, double h, double hd) {
    const double t = yearsSinceThinning;
    const double e = 0.0703 * (175.2992 * t - t * t) / (age * age);
    return std::pow(1.0 - std::pow(thinRatio, e) * std::exp((-0.4673 - 49.7133 / age) * d / h - 0.5177 * h / hd),
                    1.9718);
}

// The two fertilization responses are Weibull densities of the years since fertilization.
double weibullDensity(double t, double b, double c) {
    return (c / b) * std::pow(t / b, c - 1) * std::exp(-std::pow(t / b, c));
}
double heightResponse(double t, double lbn, bool phosphorus) {
    return 1.0 + (phosphorus ? 1 : 0) * 0.0042008 * lbn * weibullDensity(t, 4.2433906, 1.85553901);
}
double diameterResponse(double t, double lbn, bool phosphorus) {
    return 1.0 + (0.01596221 + 0.01596112 * (phosphorus ? 1 : 0)) * std::pow(lbn, 0.732605) *
                     weibullDensity(t, 3.4816854, 1.64781744);
}

struct Tree {
    double dbh, freq, ht, cr;
};

struct Stand {
    int age = 15;
    double site = 60;
    bool hardwood = false;
    double hardwoodShare = 0;
    bool thinned = false; // qthin
    int ithin = 1;
    int kt = 0;
    double thinRatio = 1;
    int kfert = 0;
    int lbn = 0;
    bool phosphorus = false;
    std::vector<Tree> trees;
    double dmax = 0; // after a season: the largest tree's own growth
    double hd = 0;
};

double survivalLogit(const Stand& s, double cr, double r, double hRelative) {
    if (s.hardwood && s.thinned) {
        return -1.1995 + 7.8409 * cr + 3.6627 * hRelative - 0.0317 * r;
    }
    if (s.hardwood) {
        return -4.8038 + 9.068 * cr + 0.0999 * r + 6.2971 * hRelative;
    }
    if (!s.thinned) {
        return -4.7819 + 9.0717 * cr + 0.0983 * r + 6.2759 * hRelative;
    }
    return -1.1447 + 7.8177 * cr + 3.6261 * hRelative - 0.04395 * r;
}

double increment(const Stand& s, double pdg, double cr, double r, double pineCompetition) {
    const double g =
        s.hardwood
            ? pdg * 0.4967 * std::pow(cr, 1.0232) * std::exp(0.8476 * (1 - r) + 0.79775 * (1 - s.thinRatio))
            : pdg * 0.4947 * std::pow(cr, 1.03479) * std::exp(pineCompetition * (1 - r) + 0.80428 * (1 - s.thinRatio));
    return std::max(g, 0.0);
}

// One growing season from age A to A + 1.
Stand grownOneSeason(Stand s) {
    const double A = s.age;
    double ts = 0;
    double tba = 0;
    double dmax = 0;
    for (const Tree& t : s.trees) {
        ts += t.freq;
        tba += 0.005454 * t.dbh * t.dbh * t.freq;
        dmax = std::max(dmax, t.dbh);
    }

    double y0 = 1 / A - 0.04;
    double y1 = 1 / (A + 1) - 0.04;
    if (s.thinned && (s.ithin == 2 || s.ithin == 3)) {
        const double t = A - s.kt;
        const double t25 = 25.0 - s.kt;
        const double thetaA = std::pow(s.thinRatio, -0.7384 * (12.878 * t - t * t) / (A * A));
        const double theta25 = std::pow(s.thinRatio, -0.7384 * (12.878 * t25 - t25 * t25) / (25.0 * 25.0));
        y0 = thetaA / A - theta25 / 25;
        y1 = thetaA / (A + 1) - theta25 / 25;
    }
    const double FH = s.kfert > 0 ? heightResponse(A - s.kfert, s.lbn, s.phosphorus) : 1.0;
    const double FD = s.kfert > 0 ? diameterResponse(A - s.kfert, s.lbn, s.phosphorus) : 1.0;
    // The dominant heights are held as floats.
    const double H0 = static_cast<float>(siteCurveAt(s.site, A, y0));
    const double H1 = static_cast<float>(siteCurveAt(s.site, A + 1, y1));
    const double HG = (H1 - H0) * FH;
    const double pdg = 0.209472 + 0.286583 * HG;

    const double B = s.hardwood ? tba / (1 - s.hardwoodShare) : tba;
    const double D = std::sqrt(B / ts / 0.005454);
    for (Tree& t : s.trees) {
        const double h = treeHeight(H0, ts, A, t.dbh, dmax);
        const double r = D / t.dbh;
        const double p = std::min(1.0, 1 / (1 + std::exp(-survivalLogit(s, t.cr, r, h / H0))));
        t.dbh += increment(s, pdg, t.cr, r, 0.8798) * FD;
        t.freq *= p;
    }

    const double hm = 1.4504 * std::pow(H0, 0.9366) * std::pow(10.0, -0.4413 / A);
    const double crm = crownRatio(s.thinRatio, A - s.kt, A, dmax, hm, H0);
    s.dmax = dmax + increment(s, pdg, crm, D / dmax, 0.87978) * FD;

    double survivors = 0;
    for (const Tree& t : s.trees) {
        survivors += t.freq;
    }
    const bool phosphorusFertilized = s.kfert > 0 && s.phosphorus;
    const double Hn = phosphorusFertilized ? H0 + HG : H1;
    for (Tree& t : s.trees) {
        t.ht = treeHeight(Hn, survivors, A + 1, t.dbh, s.dmax);
        t.cr = crownRatio(s.thinRatio, A + 1 - s.kt, A + 1, t.dbh, t.ht, Hn);
    }
    s.hd = phosphorusFertilized ? Hn : siteCurveAt(s.site, A + 1, 1 / (A + 1) - 0.04);
    return s;
}

// ---- the cases ----

// Three records at age A: a dominant tree with a full crown, a codominant one and a suppressed one with a
// short crown and a high competition ratio (its survival is far from 1, so every survival coefficient
// shows in its mortality).
Stand threeRecords(int age) {
    Stand s;
    s.age = age;
    s.trees = {{9.5, 120, 0, 0.45}, {7.25, 260, 0, 0.35}, {3.75, 90, 0, 0.12}};
    return s;
}

struct SeasonCase {
    const char* name;
    Stand stand;
};

Stand with(Stand s, void (*change)(Stand&)) {
    change(s);
    return s;
}

GrowthModel modelOf(const Stand& s) {
    GrowthModel m = emptyRegister();
    m.age = s.age;
    m.site = static_cast<float>(s.site);
    m.qhdwd = s.hardwood ? 1 : 0;
    m.hdwdpercnt = static_cast<float>(s.hardwoodShare);
    m.qthin = s.thinned ? 1 : 0;
    m.ithin = s.ithin;
    m.kt = s.kt;
    m.thinRatio = static_cast<float>(s.thinRatio);
    m.kfert = s.kfert;
    m.qfert = s.kfert > 0 ? 1 : 0;
    m.lbn = s.lbn;
    m.qphos = s.phosphorus ? 1 : 0;
    int slot = 1;
    for (const Tree& t : s.trees) {
        setTree(m, slot++, static_cast<float>(t.dbh), static_cast<float>(t.freq), 30.0f, static_cast<float>(t.cr));
    }
    return m;
}

class OneSeason : public ::testing::TestWithParam<SeasonCase> {};

TEST_P(OneSeason, MatchesTheEquationsWrittenOut) {
    const Stand& before = GetParam().stand;
    const Stand after = grownOneSeason(before);
    GrowthModel m = modelOf(before);
    m.StandStats();
    m.GrowOneYear();

    for (size_t i = 0; i < before.trees.size(); ++i) {
        const int slot = static_cast<int>(i) + 1;
        const Tree& was = before.trees[i];
        const Tree& is = after.trees[i];
        SCOPED_TRACE("record " + std::to_string(slot));
        // Increments and mortality rather than the new totals: a changed coefficient moves them by far more
        // than the rounding of the stored floats.
        EXPECT_NEAR(m.dbh[slot] - was.dbh, is.dbh - was.dbh, 1e-5 * (is.dbh - was.dbh) + 5e-7);
        EXPECT_NEAR(1 - m.freq[slot] / was.freq, 1 - is.freq / was.freq, 2e-5 * (1 - is.freq / was.freq) + 2e-7);
        EXPECT_NEAR(m.ht[slot], is.ht, 1e-6 * is.ht);
        EXPECT_NEAR(m.crownRatio[slot], is.cr, 3e-6 * is.cr);
    }
    const double dmaxBefore = before.trees.front().dbh;
    EXPECT_NEAR(m.dmax - dmaxBefore, after.dmax - dmaxBefore, 1e-5 * (after.dmax - dmaxBefore) + 5e-7);
    EXPECT_NEAR(m.hd, after.hd, 1e-6 * after.hd);
}

// The low thinning at age 19 leaves t25 = 6, where 12.878 t - t^2 is near its largest: the response at
// base age 25 is as large as it gets.
INSTANTIATE_TEST_SUITE_P(EveryBranch, OneSeason,
                         ::testing::Values(SeasonCase{"Untreated", threeRecords(15)},
                                           SeasonCase{"Hardwood", with(threeRecords(15),
                                                                       [](Stand& s) {
                                                                           s.hardwood = true;
                                                                           s.hardwoodShare = 0.3;
                                                                       })},
                                           SeasonCase{"RowThinned", with(threeRecords(15),
                                                                         [](Stand& s) {
                                                                             s.thinned = true;
                                                                             s.ithin = 1;
                                                                             s.kt = 15;
                                                                         })},
                                           SeasonCase{"RowThinnedHardwood", with(threeRecords(15),
                                                                                 [](Stand& s) {
                                                                                     s.thinned = true;
                                                                                     s.kt = 15;
                                                                                     s.hardwood = true;
                                                                                     s.hardwoodShare = 0.3;
                                                                                 })},
                                           SeasonCase{"LowThinned", with(threeRecords(22),
                                                                         [](Stand& s) {
                                                                             s.thinned = true;
                                                                             s.ithin = 2;
                                                                             s.kt = 19;
                                                                             s.thinRatio = 0.55;
                                                                         })},
                                           SeasonCase{"LowThinnedThisSeason", with(threeRecords(19),
                                                                                   [](Stand& s) {
                                                                                       s.thinned = true;
                                                                                       s.ithin = 3;
                                                                                       s.kt = 19;
                                                                                       s.thinRatio = 0.55;
                                                                                   })},
                                           SeasonCase{"LowThinnedHardwood", with(threeRecords(22),
                                                                                 [](Stand& s) {
                                                                                     s.thinned = true;
                                                                                     s.ithin = 2;
                                                                                     s.kt = 19;
                                                                                     s.thinRatio = 0.55;
                                                                                     s.hardwood = true;
                                                                                     s.hardwoodShare = 0.2;
                                                                                 })},
                                           SeasonCase{"Nitrogen", with(threeRecords(15),
                                                                       [](Stand& s) {
                                                                           s.kfert = 13;
                                                                           s.lbn = 150;
                                                                       })},
                                           SeasonCase{"NitrogenAndPhosphorus", with(threeRecords(15),
                                                                                    [](Stand& s) {
                                                                                        s.kfert = 12;
                                                                                        s.lbn = 150;
                                                                                        s.phosphorus = true;
                                                                                    })},
                                           SeasonCase{"EverythingAtOnce", with(threeRecords(22),
                                                                               [](Stand& s) {
                                                                                   s.thinned = true;
                                                                                   s.ithin = 3;
                                                                                   s.kt = 19;
                                                                                   s.thinRatio = 0.55;
                                                                                   s.hardwood = true;
                                                                                   s.hardwoodShare = 0.2;
                                                                                   s.kfert = 19;
                                                                                   s.lbn = 200;
                                                                                   s.phosphorus = true;
                                                                               })}),
                         RowName());

// The responses against their densities over the years in which they act.
TEST(FertilizationMultipliers, FollowTheirWeibullDensities) {
    for (bool phosphorus : {false, true}) {
        for (int lbn : {50, 200}) {
            for (int t = 1; t <= 14; ++t) {
                const FertilizerResponse r = FertilizationMultipliers(t, lbn, phosphorus);
                const double FD = diameterResponse(t, lbn, phosphorus);
                const double FH = heightResponse(t, lbn, phosphorus);
                EXPECT_NEAR(r.FD - 1, FD - 1, 1e-5 * (FD - 1) + 2e-7) << t << " " << lbn << " " << phosphorus;
                EXPECT_NEAR(r.FH - 1, FH - 1, 1e-5 * (FH - 1) + 2e-7) << t << " " << lbn << " " << phosphorus;
            }
        }
    }
}

// ---- initialization ----

struct InitCase {
    const char* name;
    float exage, trees, site;
    float hardwoodShare; // 0: no hardwood competition
};

class InitialStand : public ::testing::TestWithParam<InitCase> {};

// The predicted basal area, location and mean, for stands whose mean needs no shift to find a shape.
TEST_P(InitialStand, PredictsItsStandValues) {
    const InitCase& k = GetParam();
    GrowthModel m;
    m.qexist = 1;
    m.exage = k.exage;
    m.ts = k.trees;
    m.site = k.site;
    m.qhdwd = k.hardwoodShare > 0 ? 1 : 0;
    m.hdwdpercnt = k.hardwoodShare;
    ASSERT_TRUE(m.InitStand());
    ASSERT_EQ(m.weibull.statusCode, 0);

    const double A = std::floor(k.exage + 0.1);
    const double hd = siteCurveAt(k.site, A, 1 / A - 0.04);
    const double ts = k.trees;
    const double ln = std::log(hd);
    const double tba =
        k.hardwoodShare > 0
            ? std::exp(-2.4345 - 6.85252 / A + 0.614497 * ln + 0.49701 * std::log(ts) + 0.53524 * std::log(k.site) -
                       0.85662 * k.hardwoodShare)
            : std::exp(-3.10633 - 6.22094 / A + 0.6781 * ln + 0.54576 * std::log(ts) + 0.54738 * std::log(k.site));
    const double a = std::max(0.0, 0.073765 * hd - 0.982664 - 0.379953 * hd / A);
    const double dq = std::sqrt(tba / ts / 0.005454);
    const double mean = dq - std::exp(-0.61472 - 9.13668 / A - 0.107574 * std::log(ts));

    EXPECT_NEAR(m.hd, hd, 1e-6 * hd);
    EXPECT_NEAR(m.weibull.Q * ts * 0.005454, tba, 2e-6 * tba);
    EXPECT_NEAR(m.weibull.a, a, 2e-6 * hd);
    EXPECT_NEAR(m.weibull.mean, mean, 1e-6 * mean);
    ASSERT_GT(a, 0.0) << "the case should exercise the location equation";
}

INSTANTIATE_TEST_SUITE_P(PineAndHardwood, InitialStand,
                         ::testing::Values(InitCase{"Pine", 15, 600, 70, 0}, InitCase{"Pine30", 30, 450, 55, 0},
                                           InitCase{"Hardwood", 15, 600, 70, 0.25f}),
                         RowName());

// Heights and crowns of the register: every class below the largest depends on the slope of the
// height-diameter relation, and a stand thinned earlier keeps a crown response.
TEST(GenerateTrees, HeightsAndCrownsFollowTheirRelations) {
    for (float thinRatio : {1.0f, 0.6f}) {
        GrowthModel m;
        m.age = 17;
        m.ts = 540;
        m.hd = 48.5f;
        m.kt = thinRatio < 1 ? 13 : 0;
        m.thinRatio = thinRatio;
        m.GenerateTrees(1.2f, 5.1f, 3.1f);
        const double dmax = m.dmax;
        ASSERT_GT(dmax, 8.0);
        for (int i = 20; i <= m.nrec - 1; i += 7) {
            const double d = m.dbh[i];
            const double h = treeHeight(48.5, 540, 17, d, dmax);
            EXPECT_NEAR(m.ht[i], h, 1e-6 * h) << i;
            const double cr = crownRatio(thinRatio, 17 - m.kt, 17, d, m.ht[i], 48.5);
            EXPECT_NEAR(m.crownRatio[i], cr, 2e-6 * cr) << thinRatio << " " << i;
        }
    }
}

// Above 5.5 the gamma function is its Stirling series alone, with the series' constants as the algorithm
// states them; the last term is below a millionth of the value there, so only a tight tolerance sees it.
TEST(GammaFn, FollowsItsStirlingSeriesAboveFiveAndAHalf) {
    for (double x : {5.5, 5.75, 7.25, 9.5}) {
        const double z = 1 / x;
        const double series = 1 + z * (0.08333333 + z * (0.003472222 - 0.002681327 * z));
        const double expected = 2.506628 * series * std::pow(x, x - 0.5) * std::exp(-x);
        EXPECT_NEAR(GammaFn(static_cast<float>(x)), expected, 1.5e-7 * expected) << x;
    }
}

} // namespace
} // namespace grovex
