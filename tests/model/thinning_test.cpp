// Row thinning, low thinning by diameter limits and down to a residual basal area, their tables and
// the residual fraction that drives the later growth responses.

#include "model/growth_model.h"
#include "model_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace grovex {
namespace {

using modeltest::emptyRegister;
using modeltest::growTo;
using modeltest::plantedStand;
using modeltest::setTree;

const std::vector<float> kDiameters{3, 4, 5, 5.5f, 5.6f, 7, 8.4f, 8.5f, 10, 12};

// Fifty trees in each of ten records from 3 to 12 inches, at age 15.
GrowthModel handStand() {
    GrowthModel m = emptyRegister();
    m.age = 15;
    m.hd = 50;
    for (size_t i = 0; i < kDiameters.size(); ++i) {
        setTree(m, static_cast<int>(i) + 1, kDiameters[i], 50);
    }
    m.qthin = 1;
    return m;
}

std::vector<int> tableKinds(const GrowthModel& m) {
    std::vector<int> kinds;
    for (const ResultTable& t : m.tables) {
        kinds.push_back(t.kind);
    }
    return kinds;
}

TEST(Thin, RowThinningMovesItsShareOfEveryRecord) {
    GrowthModel m = handStand();
    m.ithin = 1;
    m.rcut = 0.2f;
    m.thinRatio = 0.9f;  // from an earlier low thinning
    m.thinFreq[250] = 7; // stale removals of an earlier thinning are cleared everywhere
    m.Thin();

    for (int i = 1; i <= m.nrec; ++i) {
        EXPECT_FLOAT_EQ(m.thinFreq[i], 10) << i;
        EXPECT_FLOAT_EQ(m.freq[i], 40) << i;
    }
    EXPECT_EQ(m.thinFreq[250], 0.0f);
    EXPECT_EQ(m.thinRatio, 0.9f);
    EXPECT_EQ(m.kt, 15);
    EXPECT_EQ(tableKinds(m), (std::vector<int>{kThinnedTreeTable, kLiveTreeTable}));
    EXPECT_FLOAT_EQ(m.ts, 400);
    EXPECT_FLOAT_EQ(m.tables[0].rows.back()[1], 100); // removed trees in the total row
    EXPECT_FLOAT_EQ(m.tables[1].rows.back()[1], 400);
}

TEST(Thin, RowAndLowThinningAppendFourTables) {
    for (int ilow : {1, 2}) {
        GrowthModel m = handStand();
        m.ithin = 3;
        m.rcut = 0.2f;
        m.ilow = ilow;
        m.dlow = 10;
        m.dhigh = 12;
        m.tlim = 1;
        m.Thin();
        EXPECT_EQ(tableKinds(m),
                  (std::vector<int>{kThinnedTreeTable, kLiveTreeTable, kThinnedTreeTable, kLiveTreeTable}));
        // The 10-inch record: by diameter limits only the low removal shows; down to a basal area the low
        // removal comes on top of the row removal.
        EXPECT_NEAR(m.thinFreq[9], ilow == 1 ? 40.0f : 50.0f, 1e-3) << ilow;
        EXPECT_NEAR(m.freq[9], 0.0f, 1e-4) << ilow;
        EXPECT_FLOAT_EQ(m.thinFreq[1], 10) << ilow; // below dlow: row thinning only
        EXPECT_FLOAT_EQ(m.freq[1], 40) << ilow;
    }
}

TEST(Thin, BasalAreaThinningSparesRecordsBelowTheSmallestDiameter) {
    GrowthModel m = handStand();
    m.ithin = 2;
    m.ilow = 2;
    m.dlow = 6;
    m.tlim = 1; // never reached: everything from 5.50001 inches on goes
    m.Thin();
    for (int i = 1; i <= 4; ++i) { // 3 to 5.5 inches
        EXPECT_EQ(m.freq[i], 50.0f) << i;
        EXPECT_EQ(m.thinFreq[i], 0.0f) << i;
    }
    for (int i = 5; i <= m.nrec; ++i) {
        EXPECT_NEAR(m.freq[i], 0.0f, 1e-4) << i;
        EXPECT_NEAR(m.thinFreq[i], 50.0f, 1e-4) << i;
    }
}

TEST(Thin, DiameterLimitsRemoveWholeRecordsInclusiveOfHalfInchRounding) {
    GrowthModel m = handStand();
    m.ithin = 2;
    m.ilow = 1;
    m.dlow = 6;
    m.dhigh = 8;
    m.Thin();
    for (size_t i = 0; i < kDiameters.size(); ++i) {
        const int slot = static_cast<int>(i) + 1;
        const bool inside = kDiameters[i] > 5.5f && kDiameters[i] < 8.5f;
        EXPECT_EQ(m.freq[slot], inside ? 0.0f : 50.0f) << kDiameters[i];
        EXPECT_EQ(m.thinFreq[slot], inside ? 50.0f : 0.0f) << kDiameters[i];
    }
}

TEST(Thin, DiameterLimitThinningOfAQuarterOfTheBasalAreaLeavesThreeQuarters) {
    GrowthModel m = emptyRegister();
    m.age = 15;
    m.hd = 50;
    setTree(m, 1, 6, 100); // 36 x 100 = 3600
    setTree(m, 2, 12, 75); // 144 x 75 = 10800
    m.qthin = 1;
    m.ithin = 2;
    m.ilow = 1;
    m.dlow = 5;
    m.dhigh = 7;
    m.Thin();
    EXPECT_FLOAT_EQ(m.thinRatio, 0.75f);
    EXPECT_EQ(m.kt, 15);
}

// A thinning one season after the last statistics: the residual is measured against the stand as it
// is now, and ends at most one one-percent step of one record below the limit.
TEST(Thin, BasalAreaThinningStopsWithinOneStepBelowTheLimit) {
    GrowthModel m = plantedStand();
    growTo(m, 18);
    m.GrowOneYear(); // the one-season step of a continuing projection, without new statistics
    ++m.age;
    GrowthModel current = m;
    current.StandStats();
    const float B = current.tba;
    ASSERT_GT(B, 100.0f);

    m.qthin = 1;
    m.ithin = 2;
    m.ilow = 2;
    m.dlow = 0;
    m.tlim = 80;
    m.Thin();

    int lastThinned = 0;
    for (int i = 1; i <= m.nrec; ++i) {
        if (m.thinFreq[i] > 0) {
            lastThinned = i;
        }
    }
    ASSERT_GT(lastThinned, 0);
    const double d = m.dbh[lastThinned];
    const double step = 0.005454 * d * d * (m.freq[lastThinned] + m.thinFreq[lastThinned]) / 100;
    EXPECT_LE(m.tba, 80.0f + 1e-3f);
    EXPECT_GT(m.tba, 80.0 - step - 1e-3);
    EXPECT_NEAR(m.thinRatio, m.tba / B, 1e-3);
    EXPECT_EQ(tableKinds(m), (std::vector<int>{kThinnedTreeTable, kLiveTreeTable}));
}

TEST(Thin, LimitAboveTheStandRemovesNothingButStillAppendsTables) {
    GrowthModel m = handStand();
    m.ithin = 2;
    m.ilow = 2;
    m.tlim = 500;
    m.Thin();
    EXPECT_EQ(m.thinRatio, 1.0f);
    for (int i = 1; i <= m.nrec; ++i) {
        EXPECT_EQ(m.freq[i], 50.0f);
    }
    ASSERT_EQ(m.tables.size(), 2u);
    EXPECT_EQ(m.tables[0].rows.size(), 1u); // only a total row of zeros
    EXPECT_EQ(m.tables[0].rows[0][1], 0.0f);
}

// Removing every tree leaves a stand that must stay finite through later growth and tables.
TEST(Thin, RemovingEveryTreeLeavesAFiniteEmptyStand) {
    GrowthModel m = plantedStand();
    growTo(m, 15);
    m.qthin = 1;
    m.ithin = 2;
    m.ilow = 1;
    m.dlow = 0;
    m.dhigh = 100;
    m.Thin();
    EXPECT_NEAR(m.thinRatio, 0.0f, 1e-6);
    EXPECT_GE(m.thinRatio, 0.0f);
    EXPECT_EQ(m.ts, 0.0f);

    m.target = 30;
    EXPECT_TRUE(m.ProjectToTarget());
    EXPECT_EQ(m.age, 30);
    for (float v : {m.ts, m.tba, m.dq, m.hMean, m.crMean, m.rs, m.cords, m.dmax, m.hd}) {
        EXPECT_TRUE(std::isfinite(v));
    }
    for (int i = 1; i <= m.nrec; ++i) {
        ASSERT_TRUE(std::isfinite(m.dbh[i]) && std::isfinite(m.ht[i]) && std::isfinite(m.crownRatio[i])) << i;
    }
    const ResultTable& live = m.tables.back();
    ASSERT_EQ(live.rows.size(), 1u);
    for (float v : live.rows[0]) {
        EXPECT_EQ(v, 0.0f);
    }
}

} // namespace
} // namespace grovex
