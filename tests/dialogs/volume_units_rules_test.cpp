#include "dialogs/volume_units_rules.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

using namespace volumeunits;

using V = VolumeUnitsTexts;

// Page texts built by editing a starting point, so that each case states only what it changes.
struct Texts {
    VolumeUnitsTexts t;

    template <class T> Texts set(T V::*box, T value) const {
        Texts copy = *this;
        copy.t.*box = std::move(value);
        return copy;
    }
    Texts set(std::string V::*box, const char* text) const { return set<std::string>(box, text); }
    Texts equation(int k, EquationTexts e) const {
        Texts copy = *this;
        copy.t.equations[k] = std::move(e);
        return copy;
    }
};

Texts cubicFeet() {
    Texts t;
    t.t.units = kCubicFeet;
    t.t.barkType = 2;
    t.t.minDbhClass = "7";
    t.t.topDiameter = "6";
    return t;
}

Texts cords() {
    Texts t;
    t.t.units = kCordsAndBoardFeet;
    t.t.boardFootRule = 1;
    t.t.minDbhClass = "8";
    return t;
}

Texts custom() {
    Texts t;
    t.t.units = kCustomEquations;
    t.t.equations[0] = {"pulpwood", "-0.5", "0.0021", "5"};
    t.t.equations[1] = {"sawtimber", "1", "0.002", "9"};
    t.t.equations[2] = {"chips", "0", "0.001", "1"};
    return t;
}

struct RefusalCase {
    const char* name;
    Texts texts;
    std::string message;
    int control;
};

class VolumeUnitsRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(VolumeUnitsRefusal, ShowsTheStepsMessageAndFocusesItsBox) {
    const RefusalCase& c = GetParam();
    const Checked<VolumeUnitsValues> result = validateVolumeUnits(c.texts.t);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().message, c.message);
    EXPECT_EQ(result.error().control, c.control);
}

// The page's steps in their order; where a case has two faults, the earlier step must win.
const RefusalCase kRefusals[] = {
    {"NameTooLong", cubicFeet().equation(1, {"fifteen chars!!", "", "", ""}).set(&V::minDbhClass, "x"),
     "The volume units name can be at most 14 characters long.", kEquationName[1]},
    {"MinDbhNotInteger", cubicFeet().set(&V::minDbhClass, "7a").set(&V::barkType, 0), "Please specify an Integer",
     kMinDbhClass},
    {"EquationMinDbhNotInteger", custom().equation(0, {"a", "", "", "0"}).equation(1, {"b", "", "", "x"}),
     "Please specify an Integer", kEquationMinDbh[1]},
    {"EquationMinDbhEmpty", custom().equation(1, {}), "Please enter an integer from 1 to 99", kEquationMinDbh[1]},
    {"EquationMinDbhAbove99", custom().equation(2, {"c", "", "", "100"}), "Please enter an integer from 1 to 99",
     kEquationMinDbh[2]},
    {"NoBoardFootRule", cords().set(&V::boardFootRule, 0).set(&V::minDbhClass, "7"), "Please select a board foot rule",
     kInternationalButton},
    {"CordsMinDbhBelow8", cords().set(&V::minDbhClass, "7"), "Please enter an integer from 8 to 20", kMinDbhClass},
    {"CordsMinDbhAbove20", cords().set(&V::minDbhClass, "21"), "Please enter an integer from 8 to 20", kMinDbhClass},
    {"NoBarkType", cubicFeet().set(&V::barkType, 0).set(&V::minDbhClass, "0"), "Please select a volume type",
     kInsideBarkButton},
    {"CubicMinDbhEmpty", cubicFeet().set(&V::minDbhClass, ""), "Please enter an integer from 1 to 20", kMinDbhClass},
    {"TopEmpty", cubicFeet().set(&V::minDbhClass, "6").set(&V::topDiameter, ""),
     "Please enter a real number from 0 to 6", kTopDiameter},
    {"TopNotBelowMinDbh", cubicFeet().set(&V::minDbhClass, "6"), "Please enter a real number from 0 to 6",
     kTopDiameter},
    {"TopNegative", cubicFeet().set(&V::topDiameter, "-0.1"), "Please enter a real number from 0 to 7", kTopDiameter},
};

INSTANTIATE_TEST_SUITE_P(Steps, VolumeUnitsRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VolumeUnitsAccepted, CubicFeetWithTopJustBelowTheMinimumClass) {
    VolumeUnitsTexts t = cubicFeet().t;
    t.barkType = 1;
    t.minDbhClass = "6";
    t.topDiameter = "5.9";
    t.equations[0] = {"ignored", "x", "y", "not read while disabled"};
    const auto result = validateVolumeUnits(t);
    ASSERT_TRUE(result.ok()) << result.error().message;
    EXPECT_EQ(result.value().vtype, kCubicFeet);
    EXPECT_EQ(result.value().voltyp, 1);
    EXPECT_EQ(result.value().minDbhClass, 6);
    EXPECT_FLOAT_EQ(result.value().voltop, 5.9f);
}

TEST(VolumeUnitsAccepted, CordsTakeTheRuleAsBarkTypeField) {
    VolumeUnitsTexts t = cords().t;
    t.boardFootRule = 3;
    t.minDbhClass = "20";
    t.topDiameter = "garbage";
    const auto result = validateVolumeUnits(t);
    ASSERT_TRUE(result.ok()) << result.error().message;
    EXPECT_EQ(result.value().vtype, kCordsAndBoardFeet);
    EXPECT_EQ(result.value().voltyp, 3);
    EXPECT_EQ(result.value().minDbhClass, 20);
}

TEST(VolumeUnitsAccepted, CustomEquationsWithoutNameStayBlank) {
    VolumeUnitsTexts t = custom().t;
    t.equations[1].name = "";
    t.equations[2].name = "  ";
    t.minDbhClass = "x"; // disabled for custom units
    const auto result = validateVolumeUnits(t);
    ASSERT_TRUE(result.ok()) << result.error().message;
    const auto& eq = result.value().equations;
    EXPECT_EQ(result.value().vtype, kCustomEquations);
    EXPECT_EQ(eq[0].name, "pulpwood");
    EXPECT_FLOAT_EQ(eq[0].a, -0.5f);
    EXPECT_FLOAT_EQ(eq[0].b, 0.0021f);
    EXPECT_EQ(eq[0].minDbhClass, 5);
    for (int k : {1, 2}) {
        EXPECT_EQ(eq[k].name, "-blank-");
        EXPECT_FLOAT_EQ(eq[k].a, 0.0f);
        EXPECT_FLOAT_EQ(eq[k].b, 0.0f);
        EXPECT_EQ(eq[k].minDbhClass, 1);
    }
}

TEST(VolumeUnitsEnabling, EachUnitEnablesItsOwnBoxes) {
    const VolumeUnitsEnabled cubic = volumeUnitsEnablingRule(kCubicFeet);
    EXPECT_TRUE(cubic.barkAndTop && cubic.minDbhClass);
    EXPECT_FALSE(cubic.boardFootRule || cubic.equations);
    const VolumeUnitsEnabled boardFeet = volumeUnitsEnablingRule(kCordsAndBoardFeet);
    EXPECT_TRUE(boardFeet.boardFootRule && boardFeet.minDbhClass);
    EXPECT_FALSE(boardFeet.barkAndTop || boardFeet.equations);
    const VolumeUnitsEnabled own = volumeUnitsEnablingRule(kCustomEquations);
    EXPECT_TRUE(own.equations);
    EXPECT_FALSE(own.barkAndTop || own.minDbhClass || own.boardFootRule);
    EXPECT_TRUE(volumeUnitsEnablingRule(0).barkAndTop); // nothing checked counts as cubic feet
}

} // namespace
} // namespace grovex
