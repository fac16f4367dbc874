// Writing the accepted stand-initialization inputs into the model and starting a run from them.

#include "model/input1.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>

namespace grovex {
namespace {

GrowthModel written(const Input1& input) {
    GrowthModel m;
    m.ResetModel();
    WriteInput1(m, input);
    return m;
}

Input1 existing(int age, float trees, float basalArea = 0) {
    Input1 in;
    in.qexist = true;
    in.exage = age;
    in.ts = trees;
    in.tba = basalArea;
    return in;
}

TEST(WriteInput1, BareLandStoresPercentagesAsFractions) {
    Input1 in;
    in.title = "North tract";
    in.site = 72.5f;
    in.tp = 650;
    in.psPercent = 85;
    in.qdrain = true;
    in.hdwdPercent = 20;
    in.pcrit = kCriterionDominantHeight;
    in.target = 55;
    const GrowthModel m = written(in);
    EXPECT_EQ(m.title, "North tract");
    EXPECT_EQ(m.qexist, 0);
    EXPECT_EQ(m.site, 72.5f);
    EXPECT_EQ(m.tp, 650.0f);
    EXPECT_FLOAT_EQ(m.ps, 0.85f);
    EXPECT_EQ(m.qdrain, 1);
    EXPECT_EQ(m.qhdwd, 1);
    EXPECT_FLOAT_EQ(m.hdwdpercnt, 0.2f);
    EXPECT_EQ(m.pcrit, kCriterionDominantHeight);
    EXPECT_EQ(m.target, 55.0f);

    Input1 noHardwood;
    EXPECT_EQ(written(noHardwood).qhdwd, 0);
    noHardwood.hdwdPercent = 0; // zero percent is given, not missing
    EXPECT_EQ(written(noHardwood).qhdwd, 1);
}

TEST(WriteInput1, BasalAreaAndDrainageDependOnTheExistingStandsAge) {
    Input1 young = existing(5, 700, 60);
    young.qdrain = true;
    const GrowthModel y = written(young);
    EXPECT_EQ(y.qtba, 0); // a basal area is only taken from age 8 on
    EXPECT_EQ(y.qdrain, 1);
    EXPECT_EQ(y.ts, 700.0f);

    Input1 old = existing(12, 700, 95);
    old.qdrain = true;
    const GrowthModel o = written(old);
    EXPECT_EQ(o.qtba, 1);
    EXPECT_EQ(o.tba, 95.0f);
    EXPECT_EQ(o.qdrain, 0); // drainage only matters before age 8
    EXPECT_EQ(o.exage, 12.0f);

    EXPECT_EQ(written(existing(12, 700)).qtba, 0);
}

TEST(WriteInput1, VolumeUnits) {
    Input1 cubic;
    cubic.voltyp = 1;
    cubic.minDbhClass = 9;
    cubic.voltop = 8;
    GrowthModel m = written(cubic);
    EXPECT_EQ(m.vtype, kCubicFeet);
    EXPECT_EQ(m.voltyp, 1);
    EXPECT_EQ(m.voldbh[0], 9);
    EXPECT_EQ(m.voltop, 8.0f);

    Input1 custom;
    custom.vtype = kCustomEquations;
    custom.equations[0] = {"Pulp", -2.5f, 0.002f, 5};
    custom.equations[1].name = " "; // left blank on the page
    custom.equations[2] = {"Saw", 1, 0.003f, 10};
    m = written(custom);
    EXPECT_EQ(m.vtype, kCustomEquations);
    EXPECT_EQ(m.volnam, (std::array<std::string, 3>{"Pulp", "-blank-", "Saw"}));
    EXPECT_EQ(m.vola, (std::array<float, 3>{-2.5f, 0, 1}));
    EXPECT_EQ(m.volb, (std::array<float, 3>{0.002f, 0, 0.003f}));
    EXPECT_EQ(m.voldbh, (std::array<int32_t, 3>{5, 1, 10}));
}

TEST(WriteInput1, OverlongTextsAreShortenedWithAMessage) {
    GrowthModel m;
    fakes::RecordingUi ui;
    m.setUi(&ui);
    Input1 in;
    in.title = std::string(100, 'x');
    in.vtype = kCustomEquations;
    in.equations[0].name = std::string(20, 'n');
    WriteInput1(m, in);
    EXPECT_EQ(m.title.size(), 79u);
    EXPECT_EQ(m.volnam[0].size(), 14u);
    EXPECT_EQ(ui.messages().size(), 2u);
}

TEST(StartRun, BareLandAndYoungStandsStartAtEightOlderOnesAtTheirAge) {
    for (auto [input, age] : {std::pair{Input1{}, 8}, {existing(3, 900), 8}, {existing(17, 500), 17}}) {
        GrowthModel m = written(input);
        ASSERT_TRUE(StartRun(m));
        EXPECT_EQ(m.age, age);
        EXPECT_GT(m.nrec, 0);
    }
}

TEST(StartRun, StandFromATreeListKeepsItsRegister) {
    Input1 in = existing(14, 0);
    in.qlist = true;
    GrowthModel m;
    m.ResetModel();
    m.nrec = 2;
    m.dbh[1] = 5;
    m.freq[1] = 300;
    m.dbh[2] = 7;
    m.freq[2] = 200;
    WriteInput1(m, in);
    m.exage = 14; // the tree-list extraction stores the stand's age
    ASSERT_TRUE(StartRun(m));
    EXPECT_EQ(m.age, 14);
    EXPECT_EQ(m.nrec, 2);
    EXPECT_EQ(m.freq[1], 300.0f);
}

// An age no page accepts (from a damaged macro or file) must not make the whole-year conversion undefined:
// it is taken at the nearest end of the int range, a NaN as no age at all.
TEST(StartRun, AnAgeOutsideTheIntRangeIsTakenAtItsEnd) {
    const std::pair<float, int32_t> cases[] = {{std::numeric_limits<float>::max(), INT32_MAX},
                                               {std::numeric_limits<float>::infinity(), INT32_MAX},
                                               {-std::numeric_limits<float>::max(), 14},
                                               {std::numeric_limits<float>::quiet_NaN(), 14}};
    for (const auto& [exage, age] : cases) {
        Input1 in = existing(14, 0);
        in.qlist = true;
        GrowthModel m = written(in);
        m.age = 14;
        m.exage = exage;
        ASSERT_TRUE(StartRun(m));
        EXPECT_EQ(m.age, age) << exage;
    }
    // A stand described by its values goes through the same conversion in the initialization: no age, so it
    // starts at 8 as a young stand does.
    GrowthModel m = written(existing(14, 800));
    m.exage = std::numeric_limits<float>::quiet_NaN();
    ASSERT_TRUE(StartRun(m));
    EXPECT_EQ(m.age, 8);
}

TEST(StartRun, RefusesAStandNoDiameterDistributionFits) {
    Input1 in = existing(26, 1154.33f, 133.61f);
    in.site = 95.34f;
    GrowthModel m = written(in);
    EXPECT_FALSE(StartRun(m));
}

} // namespace
} // namespace grovex
