#include "dialogs/stand_projection_dlg.h"

#include "dialogs/general_info_dlg.h"
#include "form_driver.h"
#include "results/document.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace grovex {
namespace {

using namespace standprojection;
using plantation::kFirstTarget;
using testing::click;
using testing::enabledAmong;
using testing::type;

// A running stand whose values lie between two hundredths, so that the rounding of the bounds matters.
CGROVEXDoc standDocument() {
    CGROVEXDoc doc;
    GrowthModel& m = doc.model;
    m.ResetModel();
    m.age = 15;
    m.nyears = 40;
    m.tba = 100.004f;
    m.dq = 6.004f;
    m.hd = 45.004f;
    m.cords = 12.004f;
    m.crMean = 40.0f;
    m.rs = 0.304f;
    m.dmax = 11;
    m.pcrit = kCriterionBasalArea;
    // A previous treatment that the dialog must not show again.
    m.qthin = 1;
    m.qfert = 1;
    return doc;
}

using Step = std::function<void(standProjectionDlg&)>;

Step set(int id, std::string text) {
    return [id, text = std::move(text)](standProjectionDlg& d) { type(d, id, text); };
}
Step tick(int id, bool on = true) {
    return [id, on](standProjectionDlg& d) { click(d, id, on); };
}
Step onlyTarget(int criterion, std::string text) {
    return [criterion, text = std::move(text)](standProjectionDlg& d) {
        for (int k = 0; k < plantation::kTargetCount; ++k) {
            d.setText(kFirstTarget + k, "");
        }
        d.setText(kFirstTarget + criterion - 1, text);
    };
}

struct Opened {
    CGROVEXDoc doc;
    standProjectionDlg dlg{doc};

    explicit Opened(const std::function<void(GrowthModel&)>& adjust = {}) : doc(standDocument()) {
        if (adjust) {
            adjust(doc.model);
        }
        dlg.OnInitDialog();
    }
    FormResult ok(const std::vector<Step>& steps) {
        for (const Step& step : steps) {
            step(dlg);
        }
        return dlg.OnOK();
    }
};

struct Refusal {
    const char* name;
    std::vector<Step> steps;
    std::string message;
    int focus;
    bool withoutStand = false;
};

class StandProjectionRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(StandProjectionRefusal, ShowsTheStepsMessageAndFocusesItsBox) {
    const Refusal& c = GetParam();
    Opened o([&c](GrowthModel& m) {
        if (c.withoutStand) {
            m.hd = 0;
        }
    });
    EXPECT_EQ(o.ok(c.steps), FormResult::refused(c.message, c.focus));
}

const std::string kOneTarget = "Please enter one and only one Output Target parameter.";
const Step kRowThinning[] = {tick(kThin), tick(kRowThin)};

const Refusal kRefusals[] = {
    {"RowIntervalMalformedWhileNotThinning",
     {set(kRowInterval, "5x"), set(kDbhBelow, "x")},
     "Please enter an integer.",
     kRowInterval},
    {"DbhBelowMalformed", {set(kDbhBelow, "abc"), set(kNitrogen, "0")}, "Please enter a number.", kDbhBelow},
    {"NitrogenZeroWithoutFertilizing",
     {set(kNitrogen, "0"), set(kHardwood, "95")},
     "Please enter an integer between 50 and 400.",
     kNitrogen},
    {"NitrogenAbove",
     {tick(kFertilize), set(kNitrogen, "401")},
     "Please enter an integer between 50 and 400.",
     kNitrogen},
    {"NitrogenEmpty", {set(kNitrogen, "")}, "Please enter an integer.", kNitrogen},
    {"HardwoodAbove",
     {tick(kThin), tick(kRowThin), set(kRowInterval, "7"), set(kHardwood, "90.5")},
     "Please enter a real number from 0 to 90",
     kHardwood},
    {"RowInterval7",
     {tick(kThin), tick(kRowThin), set(kRowInterval, "7")},
     "Please enter a number from 2 to 6",
     kRowInterval},
    {"RowIntervalOfBoth",
     {tick(kThin), tick(kRowAndLowThin), set(kRowInterval, "1"), set(kDbhBelow, "8")},
     "Please enter a number from 2 to 6",
     kRowInterval},
    {"ResidualAboveStandWithoutRowCheck",
     {tick(kThin), tick(kLowThin), tick(kBasalArea), set(kRowInterval, "7"), set(kResidualBasalArea, "100.5")},
     "Please enter a real number from 0 to 100.003998",
     kResidualBasalArea},
    {"DbhBelowAboveStoredLimit",
     {tick(kThin), tick(kLowThin), tick(kDiameter), set(kDbhAbove, "9"), set(kDbhBelow, "7.5")},
     "Please enter a real number from 0 to 7.000000",
     kDbhBelow},
    {"DbhAboveLargest",
     {tick(kThin), tick(kLowThin), tick(kDiameter), set(kDbhAbove, "11.5")},
     "Please enter a real number from 0 to 11.000000",
     kDbhAbove},
    {"NoTarget", {onlyTarget(1, "")}, kOneTarget, kFirstTarget},
    {"TwoTargets", {set(kFirstTarget + 6, "0.2")}, kOneTarget, kFirstTarget},
    {"AgeTargetLetter", {onlyTarget(1, "20a")}, "Please specify an Integer", kFirstTarget},
    {"AgeTargetBelowCurrent", {onlyTarget(1, "14")}, "Please enter an integer from 15 to 40", kFirstTarget},
    {"AgeTargetAboveRotation", {onlyTarget(1, "41")}, "Please enter an integer from 15 to 40", kFirstTarget},
    {"BasalAreaTarget", {onlyTarget(2, "100.99")}, "Please enter a real number from 101.00 to 180", kFirstTarget + 1},
    {"QmdTarget", {onlyTarget(3, "12.01")}, "Please enter a real number from 6.10 to 12", kFirstTarget + 2},
    {"HeightTarget", {onlyTarget(4, "45.99")}, "Please enter a real number from 46.00 to 100", kFirstTarget + 3},
    {"CordsTarget", {onlyTarget(5, "50.5")}, "Please enter a real number from 12.10 to 50", kFirstTarget + 4},
    {"CrownRatioPrefilled", {onlyTarget(6, "39.90")}, "Please enter a real number from 20 to 39.00", kFirstTarget + 5},
    {"CrownRatioBelow20", {onlyTarget(6, "19")}, "Please enter a real number from 20 to 39.00", kFirstTarget + 5},
    {"SpacingTarget", {onlyTarget(7, "0.21")}, "Please enter a real number from 0.10 to 0.20", kFirstTarget + 6},
    {"CrownRatioWithoutStand",
     {onlyTarget(6, "99.5")},
     "Please enter a real number from 20 to 99.00",
     kFirstTarget + 5,
     true},
    {"SpacingWithoutStand",
     {onlyTarget(7, "5.01")},
     "Please enter a real number from 0.10 to 5.00",
     kFirstTarget + 6,
     true},
};

INSTANTIATE_TEST_SUITE_P(Steps, StandProjectionRefusal, ::testing::ValuesIn(kRefusals), RowName());

TEST(StandProjection, EveryPrefilledTargetIsAccepted) {
    for (int criterion = 1; criterion <= plantation::kTargetCount; ++criterion) {
        Opened o([criterion](GrowthModel& m) { m.pcrit = criterion; });
        if (criterion == kCriterionCrownRatio) {
            EXPECT_FALSE(o.ok({})); // current - 0.1 lies above the bound, current - 1
            EXPECT_TRUE(o.ok({onlyTarget(6, "39")}));
            continue;
        }
        EXPECT_TRUE(o.ok({})) << criterion << " " << o.dlg.text(kFirstTarget + criterion - 1);
        EXPECT_EQ(o.dlg.pcrit, criterion);
    }
}

TEST(StandProjection, OpensWithoutTheLastTreatmentAndWithTheStoredThinningValues) {
    Opened o([](GrowthModel& m) {
        m.ithin = 2;
        m.ilow = 1;
        m.dlow = 2.5f;
        m.dhigh = 8;
        m.tlim = 65.5f;
        m.lbn = 150;
    });
    const standProjectionDlg& d = o.dlg;
    for (const int id : {kThin, kFertilize, kPhosphorus}) {
        EXPECT_FALSE(d.checked(id)) << id;
    }
    EXPECT_TRUE(d.checked(kLowThin));
    EXPECT_TRUE(d.checked(kDiameter));
    const std::pair<int, const char*> texts[] = {{kRowInterval, "5"}, {kDbhBelow, "2.5"},           {kDbhAbove, "8"},
                                                 {kNitrogen, "150"},  {kResidualBasalArea, "65.5"}, {kHardwood, ""}};
    for (const auto& [id, text] : texts) {
        EXPECT_EQ(d.text(id), text) << id;
    }
    const std::vector<int> treatment = {kRowThin,  kLowThin,    kRowAndLowThin, kRowInterval,
                                        kDiameter, kBasalArea,  kDbhAbove,      kResidualBasalArea,
                                        kDbhBelow, kPhosphorus, kNitrogen};
    EXPECT_EQ(enabledAmong(d, treatment), std::set<int>{});
    EXPECT_EQ(d.text(kFirstTarget + 1), "101.00");
    EXPECT_EQ(d.text(kFirstTarget), "");
}

TEST(StandProjection, PrefillsTheCurrentCriterionFromTheStand) {
    const char* const expected[] = {"15", "101.00", "6.10", "46.00", "12.10", "39.90", "0.20"};
    for (int criterion = 1; criterion <= plantation::kTargetCount; ++criterion) {
        Opened o([criterion](GrowthModel& m) { m.pcrit = criterion; });
        for (int k = 1; k <= plantation::kTargetCount; ++k) {
            EXPECT_EQ(o.dlg.text(kFirstTarget + k - 1), k == criterion ? expected[k - 1] : "") << criterion;
        }
    }
    Opened hardwoods([](GrowthModel& m) {
        m.qhdwd = 1;
        m.hdwdpercnt = 0.125f;
    });
    EXPECT_EQ(hardwoods.dlg.text(kHardwood), "12.50");
}

TEST(StandProjection, TheRowIntervalComesFromTheStoredFraction) {
    const std::pair<float, const char*> cases[] = {
        {0.2f, "5"}, {0.5f, "2"}, {1.0f / 3, "3"}, {0.25f, "4"}, {1.0f / 6, "6"}};
    for (const auto& [fraction, text] : cases) {
        Opened o([f = fraction](GrowthModel& m) { m.rcut = f; });
        EXPECT_EQ(o.dlg.text(kRowInterval), text) << fraction;
    }
}

TEST(StandProjection, AStandOlderThan25OffersOnlyTheAgeAndTakesItsCriterionOnOk) {
    Opened o([](GrowthModel& m) {
        m.age = 26;
        m.pcrit = kCriterionQuadraticMeanDbh;
    });
    for (int k = 0; k < plantation::kTargetCount; ++k) {
        EXPECT_EQ(o.dlg.enabled(kFirstTarget + k), k == 0) << k;
    }
    EXPECT_EQ(o.dlg.text(kFirstTarget), "26");
    EXPECT_EQ(o.doc.model.pcrit, kCriterionQuadraticMeanDbh); // nothing written before OK

    EXPECT_FALSE(o.ok({onlyTarget(1, "25")}));
    EXPECT_EQ(o.doc.model.pcrit, kCriterionQuadraticMeanDbh);
    ASSERT_TRUE(o.ok({onlyTarget(1, "26")}));
    EXPECT_EQ(o.doc.model.pcrit, kCriterionAge);
    EXPECT_EQ(o.dlg.values().target, 26.0f);
}

struct Enabling {
    const char* name;
    std::vector<Step> clicks;
    std::set<int> enabled;
};

class StandProjectionEnabling : public ::testing::TestWithParam<Enabling> {};

TEST_P(StandProjectionEnabling, EnablesExactlyTheControlsOfTheState) {
    Opened o;
    for (const Step& step : GetParam().clicks) {
        step(o.dlg);
    }
    const std::vector<int> ruled = {kRowThin,  kLowThin,           kRowAndLowThin, kRowInterval, kDiameter, kBasalArea,
                                    kDbhAbove, kResidualBasalArea, kDbhBelow,      kPhosphorus,  kNitrogen};
    EXPECT_EQ(enabledAmong(o.dlg, ruled), GetParam().enabled);
}

const std::set<int> kTypes = {kRowThin, kLowThin, kRowAndLowThin};
std::set<int> types(std::initializer_list<int> more) {
    std::set<int> s = kTypes;
    s.insert(more);
    return s;
}

const Enabling kEnablings[] = {
    {"NothingChecked", {tick(kRowAndLowThin)}, {}},
    {"Fertilize", {tick(kFertilize)}, {kPhosphorus, kNitrogen}},
    {"FertilizeUnchecked", {tick(kFertilize), tick(kFertilize, false)}, {}},
    {"RowThin", {tick(kThin), tick(kRowThin)}, types({kRowInterval})},
    {"LowThinByDiameter",
     {tick(kThin), tick(kLowThin), tick(kDiameter)},
     types({kDiameter, kBasalArea, kDbhAbove, kDbhBelow})},
    {"LowThinByBasalArea",
     {tick(kThin), tick(kLowThin), tick(kBasalArea)},
     types({kDiameter, kBasalArea, kResidualBasalArea, kDbhBelow})},
    {"RowAndLowThin",
     {tick(kThin), tick(kRowAndLowThin), tick(kDiameter)},
     types({kRowInterval, kDiameter, kBasalArea, kDbhAbove, kResidualBasalArea, kDbhBelow})},
    {"ThinUnchecked", {tick(kThin), tick(kLowThin), tick(kThin, false)}, {}},
};

INSTANTIATE_TEST_SUITE_P(States, StandProjectionEnabling, ::testing::ValuesIn(kEnablings), RowName());

TEST(StandProjection, AcceptedValuesAreTheTreatmentAsEntered) {
    Opened o;
    ASSERT_TRUE(o.ok({tick(kThin), tick(kLowThin), tick(kBasalArea), set(kRowInterval, "9"), set(kDbhBelow, "1.5"),
                      set(kResidualBasalArea, "80"), tick(kFertilize), tick(kPhosphorus), set(kNitrogen, "250"),
                      set(kHardwood, "0"), onlyTarget(7, "0.2")}));
    Input2Values expected;
    expected.qthin = true;
    expected.ithin = 2;
    expected.rcut = 9; // not checked for a low thinning
    expected.ilow = 2;
    expected.dlow = 1.5f;
    expected.dhigh = 7;
    expected.tlim = 80;
    expected.percnt = 0;
    expected.qfert = true;
    expected.qphos = true;
    expected.lbn = 250;
    expected.pcrit = kCriterionRelativeSpacing;
    expected.target = 0.2f;
    EXPECT_EQ(o.dlg.values(), expected);

    Opened plain;
    ASSERT_TRUE(plain.ok({}));
    EXPECT_EQ(plain.dlg.values().percnt, -1.0f);
    EXPECT_FALSE(plain.dlg.values().qthin);
    EXPECT_EQ(plain.dlg.values().ithin, 1);
}

} // namespace
} // namespace grovex
