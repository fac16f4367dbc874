// Stock tables built from hand-made registers: DBH classes, rows and totals, per-tree volumes of the three
// unit kinds, headings, summary texts and the limit of the table store.

#include "model/growth_model.h"
#include "model/volumes.h"
#include "model_test_util.h"
#include "support/case_names.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <string>

namespace grovex {
namespace {

using modeltest::emptyRegister;
using modeltest::setTree;

enum Column { kClass, kTrees, kHeight, kBasalArea, kVol1, kVol2, kVol3 };

// Custom equations vol = 0 + 1 x D2H in all three columns: volumes that are easy to sum by hand.
GrowthModel d2hRegister() {
    GrowthModel m = emptyRegister();
    m.vtype = kCustomEquations;
    m.voldbh = {1, 1, 1};
    m.volb = {1, 1, 1};
    return m;
}

const ResultTable& liveTable(GrowthModel& m) {
    m.MakeTable(kLiveTreeTable);
    return m.tables.back();
}

struct ClassCase {
    float dbh;
    int dbhClass;
};

class DbhClassRule : public ::testing::TestWithParam<ClassCase> {};

TEST_P(DbhClassRule, TreeFallsInItsClass) {
    GrowthModel m = d2hRegister();
    setTree(m, 1, GetParam().dbh, 10);
    const ResultTable& t = liveTable(m);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0][kClass], static_cast<float>(GetParam().dbhClass));
}

INSTANTIATE_TEST_SUITE_P(HalfInchRoundsDown, DbhClassRule,
                         ::testing::Values(ClassCase{6.5f, 6}, ClassCase{6.51f, 7}, ClassCase{6.49f, 6},
                                           ClassCase{0.3f, 1}, ClassCase{0.5f, 1}, ClassCase{1.5f, 1},
                                           ClassCase{39.6f, 40}, ClassCase{40.5f, 40}));

TEST(MakeTable, ClassRowsHoldTreeWeightedSumsAndTheTotalRowFollows) {
    GrowthModel m = d2hRegister();
    setTree(m, 1, 5.6f, 10, 30); // class 6
    setTree(m, 2, 6.4f, 30, 40); // class 6
    setTree(m, 3, 9.0f, 4, 50);  // class 9; classes 7 and 8 are empty
    const ResultTable& t = liveTable(m);

    ASSERT_EQ(t.rows.size(), 3u);
    const double ba6 = 0.005454 * (5.6 * 5.6 * 10 + 6.4 * 6.4 * 30);
    const double vol6 = 5.6 * 5.6 * 30 * 10 + 6.4 * 6.4 * 40 * 30;
    const double vol9 = 81.0 * 50 * 4;
    EXPECT_EQ(t.rows[0][kClass], 6.0f);
    EXPECT_FLOAT_EQ(t.rows[0][kTrees], 40);
    EXPECT_FLOAT_EQ(t.rows[0][kHeight], 37.5f);
    EXPECT_NEAR(t.rows[0][kBasalArea], ba6, 1e-4);
    for (int c : {kVol1, kVol2, kVol3}) {
        EXPECT_NEAR(t.rows[0][c], vol6, 1e-5 * vol6);
    }
    EXPECT_EQ(t.rows[1][kClass], 9.0f);
    EXPECT_FLOAT_EQ(t.rows[1][kHeight], 50);

    const TableRow& total = t.rows[2];
    EXPECT_EQ(total[kClass], 0.0f);
    EXPECT_EQ(total[kHeight], 0.0f);
    EXPECT_FLOAT_EQ(total[kTrees], 44);
    EXPECT_NEAR(total[kBasalArea], ba6 + 0.005454 * 81 * 4, 1e-4);
    EXPECT_NEAR(total[kVol1], vol6 + vol9, 1e-5 * (vol6 + vol9));
}

// Which trees count, and where: empty slots, too few trees, thin classes and classes beyond 40 inches.
TEST(MakeTable, TreesThatDoNotCountOrOnlyCountInTheTotal) {
    GrowthModel m = d2hRegister();
    setTree(m, 1, 0, 100);      // no diameter: ignored entirely
    setTree(m, 2, -3, 100);     // likewise
    setTree(m, 3, 5, 0.009f);   // below 0.01 trees: 0
    setTree(m, 4, 8, 0.05f);    // class 8 holds 0.09 trees: no row,
    setTree(m, 5, 8.2f, 0.04f); // but they are in the total
    setTree(m, 6, 12, 20);
    setTree(m, 7, 45, 2); // class 45: total only
    setTree(m, 8, 60, 1); // class 60: total only
    m.site = 60;
    const ResultTable& t = liveTable(m);

    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0][kClass], 12.0f);
    EXPECT_FLOAT_EQ(t.rows[0][kTrees], 20);
    EXPECT_NEAR(t.rows[1][kTrees], 23.09, 1e-4);
    const double ba = 0.005454 * (64 * 0.05 + 8.2 * 8.2 * 0.04 + 144 * 20 + 2025 * 2 + 3600);
    EXPECT_NEAR(t.rows[1][kBasalArea], ba, 1e-4 * ba);
    EXPECT_NE(t.summary.find("Surviving Trees Per Acres =   23.09"), std::string::npos) << t.summary;
}

TEST(MakeTable, ThinnedTableCountsRemovedTreesButTheSurvivorLineStillCountsLiveOnes) {
    GrowthModel m = d2hRegister();
    setTree(m, 1, 6, 30);
    m.thinFreq[1] = 10;
    setTree(m, 2, 9, 0);
    m.thinFreq[2] = 5;
    m.MakeTable(kThinnedTreeTable);
    const ResultTable& t = m.tables.back();
    EXPECT_EQ(t.summary, "                                  Thinned Trees     \r\n");
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_FLOAT_EQ(t.rows[0][kTrees], 10);
    EXPECT_FLOAT_EQ(t.rows[1][kTrees], 5);
    EXPECT_FLOAT_EQ(t.rows[2][kTrees], 15);
    EXPECT_EQ(m.lastTableKind, kThinnedTreeTable);
}

// Cubic feet for a 6-inch tree 40 feet tall (10 per acre) and an 8-inch tree 50 feet tall (5 per acre),
// with the coefficients of a stand that is not low-thinned and of one that is.
struct CubicCase {
    const char* name;
    int voltyp;
    bool lowThinned;
    float vol1, vol2, vol3;
};

class CubicFeetVolumes : public ::testing::TestWithParam<CubicCase> {};

TEST_P(CubicFeetVolumes, TotalToFourInchAndToTheTopAboveIt) {
    const CubicCase& k = GetParam();
    GrowthModel m = emptyRegister();
    m.vtype = kCubicFeet;
    m.voltyp = k.voltyp;
    m.voltop = 6;
    m.voldbh[0] = 1;
    if (k.lowThinned) {
        m.qthin = 1;
        m.ithin = 2;
    }
    setTree(m, 1, 6.0f, 10, 40); // DBH equal to the top: nothing to the top
    setTree(m, 2, 8.0f, 5, 50);
    const ResultTable& t = liveTable(m);
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0][kVol3], 0.0f);
    EXPECT_NEAR(t.rows[1][kVol3], k.vol3, 1e-3);
    EXPECT_NEAR(t.rows[2][kVol1], k.vol1, 1e-3);
    EXPECT_NEAR(t.rows[2][kVol2], k.vol2, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(
    BarkAndCoefficientSets, CubicFeetVolumes,
    ::testing::Values(CubicCase{"OutsideBark", 2, false, 36.4669f + 39.1775f, 29.7269f + 37.0788f, 26.1345f},
                      CubicCase{"InsideBark", 1, false, 36.4669f + 39.1775f, 29.7269f + 37.0788f, 20.2194f},
                      CubicCase{"OutsideBarkThinned", 2, true, 36.9823f + 39.5232f, 30.3848f + 37.7207f, 26.6744f},
                      CubicCase{"InsideBarkThinned", 1, true, 36.9823f + 39.5232f, 30.3848f + 37.7207f, 20.7728f}),
    RowName());

TEST(MakeTable, CubicFeetBelowTheSmallestClassHaveNoVolumeToTheTop) {
    GrowthModel m = emptyRegister();
    m.voltop = 6;
    m.voldbh[0] = 9;
    setTree(m, 1, 8.0f, 5, 50);
    EXPECT_EQ(liveTable(m).rows.back()[kVol3], 0.0f);
}

// Board feet of a tree with D2H 10000 (10 inches, 100 feet) by each rule, and the rule's heading.
struct RuleCase {
    int voltyp;
    float boardFeet;
    const char* heading;
};

class BoardFootRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(BoardFootRule, ComputesBoardFeetAndCords) {
    const RuleCase& k = GetParam();
    GrowthModel m = emptyRegister();
    m.vtype = kCordsAndBoardFeet;
    m.voltyp = k.voltyp;
    m.voldbh[0] = 1;
    setTree(m, 1, 10, 2, 100);
    const ResultTable& t = liveTable(m);
    EXPECT_NEAR(t.rows[0][kVol3], 2 * k.boardFeet, 2e-3);
    EXPECT_NEAR(t.rows[0][kVol2], 0.511871, 1e-5); // 2 V R_ob(4) / 92 cubic feet per cord of class 10
    EXPECT_NEAR(t.rows[0][kVol1], 48.03898, 1e-3);
    EXPECT_EQ(t.headings[5], "Volume\nCords\nTo 4.in");
    EXPECT_EQ(t.headings[6], k.heading);
}

INSTANTIATE_TEST_SUITE_P(AllRules, BoardFootRule,
                         ::testing::Values(RuleCase{1, 101.1128f, "Volume\nInternational\nbd.ft."},
                                           RuleCase{2, 64.92105f, "Volume\nDoyle\nbd.ft."},
                                           RuleCase{3, 91.70575f, "Volume\nscribner\nbd.ft."},
                                           RuleCase{7, 91.70575f, "Volume\nscribner\nbd.ft."}));

TEST(MakeTable, CordsAndBoardFeetStartAtTheirThresholds) {
    GrowthModel m = emptyRegister();
    m.vtype = kCordsAndBoardFeet;
    m.voltyp = 1;
    m.voldbh[0] = 1;
    setTree(m, 1, 4.0f, 10, 30);         // class 4: no cords
    setTree(m, 2, 10, 1, 37.99f);        // D2H just below 3800: no board feet
    setTree(m, 3, 11, 1, 3800.0f / 121); // D2H 3800: the first board feet
    const ResultTable& t = liveTable(m);
    ASSERT_EQ(t.rows.size(), 4u);
    EXPECT_EQ(t.rows[0][kVol2], 0.0f);
    EXPECT_GT(t.rows[0][kVol1], 0.0f);
    EXPECT_EQ(t.rows[1][kVol3], 0.0f);
    EXPECT_GT(t.rows[1][kVol2], 0.0f);
    EXPECT_NEAR(t.rows[2][kVol3], 19.605, 2e-3);
}

TEST(MakeTable, CustomEquationsNeverGiveNegativeVolumesAndStartAtTheirClass) {
    GrowthModel m = emptyRegister();
    m.vtype = kCustomEquations;
    m.vola = {-5, -5, 1};
    m.volb = {0.002f, 0.002f, 0};
    m.voldbh = {1, 8, 1};
    setTree(m, 1, 5, 10, 40); // D2H 1000: -5 + 2 < 0
    setTree(m, 2, 10, 3, 60); // D2H 6000: -5 + 12 = 7
    const ResultTable& t = liveTable(m);
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0][kVol1], 0.0f);
    EXPECT_EQ(t.rows[0][kVol2], 0.0f);
    EXPECT_FLOAT_EQ(t.rows[0][kVol3], 10);
    EXPECT_NEAR(t.rows[1][kVol1], 21, 1e-4);
    EXPECT_NEAR(t.rows[1][kVol2], 21, 1e-4);
    EXPECT_FLOAT_EQ(t.rows[2][kVol3], 13);
}

TEST(CubicFeetPerCord, FollowsItsClassTableAndHoldsAboveOneHundred) {
    const std::vector<std::pair<int, int>> expected{{0, 0},   {4, 0},    {5, 84},   {6, 85},  {7, 87},
                                                    {8, 90},  {9, 91},   {10, 92},  {11, 93}, {12, 94},
                                                    {13, 95}, {100, 95}, {101, 95}, {250, 95}};
    for (auto [dbhClass, cubicFeet] : expected) {
        EXPECT_EQ(CubicFeetPerCord(dbhClass), cubicFeet) << dbhClass;
    }
}

TEST(MakeTable, TreesBeyondOneHundredInchesUseTheLastCordFactor) {
    GrowthModel m = emptyRegister();
    m.vtype = kCordsAndBoardFeet;
    setTree(m, 1, 120, 1, 100);
    EXPECT_NEAR(liveTable(m).rows.back()[kVol2], 36.0781, 1e-3);
}

struct HeadingCase {
    const char* name;
    int vtype, voltyp;
    float voltop;
    const char *vol1, *vol2, *vol3;
};

class Headings : public ::testing::TestWithParam<HeadingCase> {};

TEST_P(Headings, NameTheVolumeColumns) {
    const HeadingCase& k = GetParam();
    GrowthModel m = emptyRegister();
    m.vtype = k.vtype;
    m.voltyp = k.voltyp;
    m.voltop = k.voltop;
    for (int kind : {kLiveTreeTable, kThinnedTreeTable}) {
        m.MakeTable(kind);
        const auto& h = m.tables.back().headings;
        EXPECT_EQ(h[0], "\nDBH\nClass");
        EXPECT_EQ(h[1], "\nNumber\nTrees ");
        EXPECT_EQ(h[2], "\nAverage\nHeight");
        EXPECT_EQ(h[3], "\nBasal\nArea");
        EXPECT_EQ(h[4], k.vol1);
        EXPECT_EQ(h[5], k.vol2);
        EXPECT_EQ(h[6], k.vol3);
    }
}

INSTANTIATE_TEST_SUITE_P(AllUnits, Headings,
                         ::testing::Values(HeadingCase{"InsideBark", 1, 1, 6, "Total\nVolume\no.b.",
                                                       "Volume\no.b.\nTo 4.in", "Volume\ni.b.\nTo  6in"},
                                           HeadingCase{"OutsideBark", 1, 2, 10.4f, "Total\nVolume\no.b.",
                                                       "Volume\no.b.\nTo 4.in", "Volume\no.b.\nTo 10in"},
                                           HeadingCase{"Cords", 2, 2, 6, "Total\nVolume\no.b.",
                                                       "Volume\nCords\nTo 4.in", "Volume\nDoyle\nbd.ft."},
                                           HeadingCase{"Custom", 3, 2, 6, "\nVolume\n1", "\nVolume\n2", "\nVolume\n3"}),
                         RowName());

// A stand whose summary values are set by hand: site 60, basal area 101.25, age 20, dq 6.5, one record of
// 440 trees, mean height 48.75, hd 55.5, rs 0.18, crown ratio 41.25 %, 22.5 cords.
GrowthModel summaryStand() {
    GrowthModel m = emptyRegister();
    setTree(m, 1, 6.5f, 440, 48.75f);
    m.site = 60;
    m.tba = 101.25f;
    m.age = 20;
    m.dq = 6.5f;
    m.hMean = 48.75f;
    m.hd = 55.5f;
    m.rs = 0.18f;
    m.crMean = 41.25f;
    m.cords = 22.5f;
    return m;
}

TEST(MakeTable, LiveTreeSummaryText) {
    GrowthModel m = summaryStand();
    EXPECT_EQ(liveTable(m).summary, "                                   Live Trees       \r\n"
                                    "                           Inputs                           Predicted\r\n"
                                    "\r\n"
                                    "                Site Index =   60.00             Basal Area =  101.25\r\n"
                                    " Growing Seasons Completed =   20.00     Quadratic Mean DBH =    6.50\r\n"
                                    " Surviving Trees Per Acres =  440.00         Average Height =   48.75\r\n"
                                    "                                            Dominant Height =   55.50\r\n"
                                    "                                           Relative Spacing =    0.18\r\n"
                                    "                                        Average Crown Ratio =   41.25\r\n"
                                    "                                   Merchantable Cord Volume =   22.50");
}

TEST(MakeTable, LiveTreeSummaryTextWithHardwoods) {
    GrowthModel m = summaryStand();
    m.qhdwd = 1;
    m.hdwdpercnt = 0.25f;
    EXPECT_EQ(liveTable(m).summary, "                                   Live Trees       \r\n"
                                    "                          Inputs                           Predicted\r\n"
                                    "\r\n"
                                    "                Site Index =   60.00             Basal Area =  101.25\r\n"
                                    " Growing Seasons Completed =   20.00     Quadratic Mean DBH =    6.50\r\n"
                                    " Surviving Trees Per Acres =  440.00         Average Height =   48.75\r\n"
                                    "          Percent hardwood =   25.00        Dominant Height =   55.50\r\n"
                                    "                                           Relative Spacing =    0.18\r\n"
                                    "                                        Average Crown Ratio =   41.25\r\n"
                                    "                                   Merchantable Cord Volume =   22.50");
}

TEST(MakeTable, TheHundredAndFirstTableReplacesTheLastSlotAfterAMessage) {
    GrowthModel m = d2hRegister();
    fakes::RecordingUi ui;
    m.setUi(&ui);
    setTree(m, 1, 6, 10);
    for (int n = 0; n < kMaxTables; ++n) {
        m.MakeTable(kLiveTreeTable);
    }
    EXPECT_EQ(m.lastTable(), 99);
    EXPECT_TRUE(ui.messages().empty());

    m.thinFreq[1] = 4;
    m.MakeTable(kThinnedTreeTable);
    EXPECT_EQ(m.lastTable(), 99);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "Maximum number of tables has been reached, overwriting last table");
    EXPECT_EQ(ui.messages()[0].buttons, Buttons::Ok);
    const ResultTable& replaced = m.tables[99];
    EXPECT_EQ(replaced.kind, kThinnedTreeTable);
    EXPECT_EQ(replaced.summary.find("Live"), std::string::npos);
    ASSERT_EQ(replaced.rows.size(), 2u);
    EXPECT_FLOAT_EQ(replaced.rows.back()[kTrees], 4);
    EXPECT_EQ(m.tables[98].kind, kLiveTreeTable);

    m.MakeTable(kLiveTreeTable); // once per call
    EXPECT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(m.lastTable(), 99);
}

} // namespace
} // namespace grovex
