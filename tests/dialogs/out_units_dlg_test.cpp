#include "dialogs/out_units_dlg.h"

#include "form_driver.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace grovex {
namespace {

using namespace volumeunits;
using testing::click;
using testing::enabledAmong;
using testing::type;

using Step = std::function<void(outUnitsDlg&)>;

Step set(int id, std::string text) {
    return [id, text = std::move(text)](outUnitsDlg& d) { type(d, id, text); };
}
Step tick(int id) {
    return [id](outUnitsDlg& d) { click(d, id); };
}
// Cubic feet outside bark, minimum DBH class 7, top 6: accepted.
void cubic(outUnitsDlg& d) {
    click(d, kCubicFeetButton);
    click(d, kOutsideBarkButton);
    type(d, kMinDbhClass, "7");
    type(d, kTopDiameter, "6");
}
void cords(outUnitsDlg& d) {
    click(d, kCordsButton);
    click(d, kDoyleButton);
    type(d, kMinDbhClass, "10");
}
void custom(outUnitsDlg& d) {
    click(d, kCustomUnitsButton);
    for (size_t k = 0; k < 3; ++k) {
        type(d, kEquationName[k], "eq" + std::to_string(k + 1));
        type(d, kEquationA[k], "1");
        type(d, kEquationB[k], "0.002");
        type(d, kEquationMinDbh[k], "5");
    }
}

outUnitsDlg filled(const std::vector<Step>& steps) {
    outUnitsDlg d;
    d.OnInitDialog();
    for (const Step& step : steps) {
        step(d);
    }
    return d;
}

FormResult okOn(outUnitsDlg& d) {
    if (FormResult r = d.UpdateData(); !r) {
        return r;
    }
    return d.OnApply();
}

struct Refusal {
    const char* name;
    std::vector<Step> steps;
    std::string message;
    int focus;
};

class VolumeUnitsRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(VolumeUnitsRefusal, ShowsTheStepsMessageAndFocusesItsControl) {
    const Refusal& c = GetParam();
    outUnitsDlg d = filled(c.steps);
    EXPECT_EQ(okOn(d), FormResult::refused(c.message, c.focus));
}

const std::string kInteger = "Please specify an Integer";
const std::string kEquationRange = "Please enter an integer from 1 to 99";

const Refusal kRefusals[] = {
    {"NameTooLong",
     {custom, set(kEquationName[1], std::string(16, 'n')), set(kEquationMinDbh[0], "x")},
     "Please enter no more than 15 characters.",
     kEquationName[1]},
    {"MinDbhNotInteger", {cubic, set(kMinDbhClass, "7.5"), set(kTopDiameter, "")}, kInteger, kMinDbhClass},
    {"EquationMinDbhNotInteger",
     {custom, set(kEquationMinDbh[1], "x"), set(kEquationMinDbh[0], "0")},
     kInteger,
     kEquationMinDbh[1]},
    {"EquationMinDbhEmpty", {custom, set(kEquationMinDbh[1], "")}, kEquationRange, kEquationMinDbh[1]},
    {"EquationsCheckedInOrder",
     {custom, set(kEquationMinDbh[2], "0"), set(kEquationMinDbh[0], "100")},
     kEquationRange,
     kEquationMinDbh[0]},
    {"NoBoardFootRule",
     {tick(kCordsButton), set(kMinDbhClass, "7")},
     "Please select a board foot rule",
     kInternationalButton},
    {"CordsMinDbh7", {cords, set(kMinDbhClass, "7")}, "Please enter an integer from 8 to 20", kMinDbhClass},
    {"CordsMinDbh21", {cords, set(kMinDbhClass, "21")}, "Please enter an integer from 8 to 20", kMinDbhClass},
    // Cubic feet chosen again after a run in cords, which never asked for a bark type.
    {"NoBarkType",
     {[](outUnitsDlg& d) { d.setChecked(kOutsideBarkButton, false); }, set(kMinDbhClass, "0")},
     "Please select a volume type",
     kInsideBarkButton},
    {"CubicMinDbhEmpty", {cubic, set(kMinDbhClass, "")}, "Please enter an integer from 1 to 20", kMinDbhClass},
    {"CubicMinDbh21", {cubic, set(kMinDbhClass, "21")}, "Please enter an integer from 1 to 20", kMinDbhClass},
    {"TopEmpty",
     {cubic, set(kMinDbhClass, "6"), set(kTopDiameter, "")},
     "Please enter a real number from 0 to 6",
     kTopDiameter},
    {"TopAtMinDbh",
     {cubic, set(kMinDbhClass, "6"), set(kTopDiameter, "6")},
     "Please enter a real number from 0 to 6",
     kTopDiameter},
    {"TopNegative", {cubic, set(kTopDiameter, "-0.5")}, "Please enter a real number from 0 to 7", kTopDiameter},
    // A coefficient that is no finite number would make every volume of its equation infinite or undefined.
    {"CoefficientInfinite", {custom, set(kEquationA[1], "inf")}, "Please enter a number.", kEquationA[1]},
    {"CoefficientUndefined", {custom, set(kEquationB[2], "nan")}, "Please enter a number.", kEquationB[2]},
    {"CoefficientsAThenB",
     {custom, set(kEquationB[0], "1e39"), set(kEquationA[2], "-1e39")},
     "Please enter a number.",
     kEquationA[2]},
};

INSTANTIATE_TEST_SUITE_P(Steps, VolumeUnitsRefusal, ::testing::ValuesIn(kRefusals), RowName());

TEST(VolumeUnitsPage, AcceptedUnitsFillTheirMembers) {
    outUnitsDlg c = filled({cubic, set(kMinDbhClass, "6"), set(kTopDiameter, "5.9")});
    ASSERT_TRUE(okOn(c));
    EXPECT_EQ(c.vtype, 1);
    EXPECT_EQ(c.barkType, 2);
    EXPECT_EQ(c.minDbhClass, 6);
    EXPECT_EQ(c.voltop, 5.9f);

    for (const char* minDbh : {"8", "20"}) {
        outUnitsDlg b = filled({cords, set(kMinDbhClass, minDbh)});
        ASSERT_TRUE(okOn(b)) << minDbh;
        EXPECT_EQ(b.vtype, 2);
        EXPECT_EQ(b.boardFootRule, 2);
        EXPECT_EQ(b.barkType, 0);
    }

    outUnitsDlg e = filled({custom, set(kEquationA[2], "-5"), set(kEquationB[2], ""), set(kEquationMinDbh[2], "99")});
    ASSERT_TRUE(okOn(e));
    EXPECT_EQ(e.vtype, 3);
    EXPECT_EQ(e.names, (std::array<std::string, 3>{"eq1", "eq2", "eq3"}));
    EXPECT_EQ(e.a, (std::array<float, 3>{1, 1, -5}));
    EXPECT_EQ(e.b, (std::array<float, 3>{0.002f, 0.002f, 0}));
    EXPECT_EQ(e.equationMinDbh, (std::array<int32_t, 3>{5, 5, 99}));
    EXPECT_EQ(e.minDbhClass, 0); // its box is disabled: a page never filled in keeps 0
}

TEST(VolumeUnitsPage, SwitchingFromCustomToCubicKeepsTheEquationTextsUnread) {
    outUnitsDlg d = filled(
        {custom, tick(kCubicFeetButton), tick(kInsideBarkButton), set(kMinDbhClass, "7"), set(kTopDiameter, "4")});
    EXPECT_FALSE(d.enabled(kEquationA[0]));
    ASSERT_TRUE(okOn(d));
    EXPECT_EQ(d.text(kEquationA[0]), "1");
    EXPECT_EQ(d.a[0], 0.0f);
    EXPECT_EQ(d.equationMinDbh[0], 0);
    EXPECT_EQ(d.vtype, 1);
}

std::vector<int> allButUnits() {
    std::vector<int> ids;
    outUnitsDlg d;
    for (const int id : d.controlIds()) {
        if (id != kCubicFeetButton && id != kCordsButton && id != kCustomUnitsButton) {
            ids.push_back(id);
        }
    }
    return ids;
}

TEST(VolumeUnitsPage, EachUnitsButtonEnablesItsOwnGroup) {
    const std::set<int> customBoxes = {1043, 1044, 1045, 1046, 1048, 1050, 1052, 1054, 1049, 1051, 1053, 1055};
    outUnitsDlg d = filled({});
    click(d, kCustomUnitsButton);
    EXPECT_EQ(enabledAmong(d, allButUnits()), customBoxes);
    click(d, kCordsButton);
    EXPECT_EQ(enabledAmong(d, allButUnits()),
              (std::set<int>{kInternationalButton, kDoyleButton, kScribnerButton, kMinDbhClass}));
    click(d, kCubicFeetButton);
    EXPECT_EQ(enabledAmong(d, allButUnits()),
              (std::set<int>{kInsideBarkButton, kOutsideBarkButton, kTopDiameter, kMinDbhClass}));
}

TEST(VolumeUnitsPage, ANewPageProposesCubicFeetOutsideBarkFromClass7ToA6InchTop) {
    outUnitsDlg d;
    d.OnInitDialog();
    for (const int id : d.controlIds()) {
        EXPECT_EQ(d.checked(id), id == kCubicFeetButton || id == kOutsideBarkButton) << id;
        EXPECT_EQ(d.text(id), id == kMinDbhClass ? "7" : id == kTopDiameter ? "6" : "") << id;
    }
    EXPECT_EQ(enabledAmong(d, allButUnits()),
              (std::set<int>{kInsideBarkButton, kOutsideBarkButton, kTopDiameter, kMinDbhClass}));
    EXPECT_EQ(d.textLimit(kEquationName[2]), 15);

    ASSERT_TRUE(okOn(d));
    EXPECT_EQ(d.vtype, 1);
    EXPECT_EQ(d.barkType, 2);
    EXPECT_EQ(d.minDbhClass, 7);
    EXPECT_EQ(d.voltop, 6.0f);
}

TEST(VolumeUnitsPage, ReopeningShowsTheRememberedValues) {
    VolumeUnitsPageMembers m;
    m.boardFootRule = 2;
    m.barkType = 1;
    m.vtype = 2;
    m.minDbhClass = 10;
    m.voltop = 4.5f;
    m.a = {1.5f, -1, -2};
    m.b = {0.25f, 0, 3};
    m.equationMinDbh = {5, -1, -2};
    m.names = {"pulp", "", "saw"};
    outUnitsDlg d;
    d.restore(m);
    d.OnInitDialog();
    const std::pair<int, const char*> texts[] = {
        {kMinDbhClass, "10"},      {kTopDiameter, "4.50"},     {kEquationA[0], "1.50"},  {kEquationA[1], "-1.00"},
        {kEquationA[2], ""},       {kEquationB[0], "0.25"},    {kEquationB[1], "0.00"},  {kEquationB[2], "3.00"},
        {kEquationMinDbh[0], "5"}, {kEquationMinDbh[1], "-1"}, {kEquationMinDbh[2], ""}, {kEquationName[0], "pulp"},
        {kEquationName[1], ""},    {kEquationName[2], "saw"},
    };
    for (const auto& [id, text] : texts) {
        EXPECT_EQ(d.text(id), text) << id;
    }
    for (const int id : d.controlIds()) {
        const bool on = id == kCordsButton || id == kDoyleButton || id == kInsideBarkButton;
        EXPECT_EQ(d.checked(id), on) << id;
    }
    EXPECT_TRUE(d.enabled(kDoyleButton));
    EXPECT_FALSE(d.enabled(kTopDiameter));

    m.voltop = -1;
    d.restore(m);
    d.OnInitDialog();
    EXPECT_EQ(d.text(kTopDiameter), "");
}

} // namespace
} // namespace grovex
