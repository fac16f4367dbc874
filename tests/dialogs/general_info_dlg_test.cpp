#include "dialogs/general_info_dlg.h"

#include "form_driver.h"
#include "results/document.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>

namespace grovex {
namespace {

using namespace plantation;
using testing::click;
using testing::enabledAmong;
using testing::type;

using Step = std::function<void(generalInfoDlg&)>;

Step set(int id, std::string text) {
    return [id, text = std::move(text)](generalInfoDlg& d) { type(d, id, text); };
}
Step tick(int id) {
    return [id](generalInfoDlg& d) { click(d, id); };
}
// A new plantation as a user fills the page opened for the first time: every check passes.
void bareLand(generalInfoDlg& d) {
    type(d, kTitle, "Bare land");
    type(d, kRotation, "60");
    type(d, kPercentSurvival, "90");
    type(d, kFirstTarget, "25");
}
Step existing(std::string age) {
    return [age = std::move(age)](generalInfoDlg& d) {
        bareLand(d);
        click(d, kStandExists);
        type(d, kExistingAge, age);
        type(d, kTreesSurviving, "600");
    };
}
Step onlyTarget(int criterion, std::string text) {
    return [criterion, text = std::move(text)](generalInfoDlg& d) {
        for (int k = 0; k < kTargetCount; ++k) {
            type(d, kFirstTarget + k, "");
        }
        type(d, kFirstTarget + criterion - 1, text);
    };
}

// A document whose stand has dq 5, hd 40, 10 cords, crown ratio 45 percent and relative spacing 0.5.
const CGROVEXDoc& standDocument() {
    static const CGROVEXDoc doc = [] {
        CGROVEXDoc d;
        d.model.dq = 5;
        d.model.hd = 40;
        d.model.cords = 10;
        d.model.crMean = 45;
        d.model.rs = 0.5f;
        return d;
    }();
    return doc;
}

FormResult okOn(generalInfoDlg& d) {
    if (FormResult r = d.UpdateData(); !r) {
        return r;
    }
    return d.OnApply();
}

generalInfoDlg filled(const std::vector<Step>& steps, const CGROVEXDoc* doc = nullptr) {
    generalInfoDlg d(doc);
    d.OnInitDialog();
    for (const Step& step : steps) {
        step(d);
    }
    return d;
}

struct Refusal {
    const char* name;
    std::vector<Step> steps;
    bool withStand;
    std::string message;
    int focus;
};

class PlantationRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(PlantationRefusal, ShowsTheStepsMessageAndFocusesItsBox) {
    const Refusal& c = GetParam();
    generalInfoDlg d = filled(c.steps, c.withStand ? &standDocument() : nullptr);
    EXPECT_EQ(okOn(d), FormResult::refused(c.message, c.focus));
}

const std::string kTreesRange = "Please enter a real number from 50 to 2000";
const std::string kOneTarget = "Please enter one and only one Output Target parameter.";
const std::string kInteger = "Please specify an Integer";

// The page's steps in their order; where a case holds two faults, the earlier step must win.
const Refusal kRefusals[] = {
    {"TitleTooLong",
     {bareLand, set(kTitle, std::string(80, 'x')), set(kRotation, "x")},
     false,
     "Please enter no more than 79 characters.",
     kTitle},
    {"RotationNotInteger", {bareLand, set(kRotation, "6x"), set(kSiteIndex, "10")}, false, kInteger, kRotation},
    {"RotationSigned", {bareLand, set(kRotation, "+60")}, false, kInteger, kRotation},
    {"RotationEmpty", {bareLand, set(kRotation, "")}, false, "Please enter an integer from 8 to 100", kRotation},
    {"RotationAbove", {bareLand, set(kRotation, "101")}, false, "Please enter an integer from 8 to 100", kRotation},
    {"SiteBelow",
     {bareLand, set(kSiteIndex, "19.9"), set(kTreesPlanted, "1")},
     false,
     "Please enter a real number from 20 to 100",
     kSiteIndex},
    {"ExistingAgeNotInteger", {existing("1x"), set(kTreesSurviving, "10")}, false, kInteger, kExistingAge},
    {"TreesSurvivingBelow", {existing("0"), set(kTreesSurviving, "49.9")}, false, kTreesRange, kTreesSurviving},
    {"TreesSurvivingAbove", {existing("10"), set(kTreesSurviving, "2001")}, false, kTreesRange, kTreesSurviving},
    {"ExistingAgeZero", {existing("0")}, false, "Please enter an integer from 1 to 30", kExistingAge},
    {"ExistingAgeAboveRotation",
     {existing("21"), set(kRotation, "20")},
     false,
     "Please enter an integer from 1 to 20",
     kExistingAge},
    {"ExistingAgeAbove30", {existing("31")}, false, "Please enter an integer from 1 to 30", kExistingAge},
    {"BasalAreaBelow",
     {existing("8"), set(kBasalArea, "24.9"), set(kHardwood, "99")},
     false,
     "Please enter a real number from 25 to 200",
     kBasalArea},
    {"PlantedBelow",
     {bareLand, set(kTreesPlanted, "49"), set(kPercentSurvival, "29")},
     false,
     "Please enter a real number from 50 to 2000",
     kTreesPlanted},
    {"SurvivalBelow",
     {bareLand, set(kPercentSurvival, "29.9"), set(kHardwood, "95")},
     false,
     "Please enter a real number from 30 to 100",
     kPercentSurvival},
    {"HardwoodAbove",
     {bareLand, set(kHardwood, "90.1"), set(kFirstTarget + 1, "50")},
     false,
     "Please enter a real number from 0 to 90",
     kHardwood},
    {"NoTarget", {bareLand, onlyTarget(1, "")}, false, kOneTarget, kFirstTarget},
    {"TwoTargets", {bareLand, set(kFirstTarget + 6, "0.3")}, false, kOneTarget, kFirstTarget},
    {"AgeTargetLetter", {bareLand, onlyTarget(1, "2x")}, false, kInteger, kFirstTarget},
    {"AgeTargetBelow8", {bareLand, onlyTarget(1, "5")}, false, "Please enter an integer from 8 to 60", kFirstTarget},
    {"AgeTargetBelowExistingAge",
     {existing("12"), onlyTarget(1, "11")},
     false,
     "Please enter an integer from 12 to 60",
     kFirstTarget},
    {"AgeTargetAboveRotation",
     {bareLand, onlyTarget(1, "61")},
     false,
     "Please enter an integer from 8 to 60",
     kFirstTarget},
    {"BasalAreaTargetWithoutBasalArea",
     {bareLand, onlyTarget(2, "0.5")},
     false,
     "Please enter a real number from 1.000 to 180",
     kFirstTarget + 1},
    {"BasalAreaTargetBelowGiven",
     {existing("12"), set(kBasalArea, "100"), onlyTarget(2, "100.5")},
     false,
     "Please enter a real number from 101.000 to 180",
     kFirstTarget + 1},
    {"QmdTargetBelowStand",
     {bareLand, onlyTarget(3, "5.05")},
     true,
     "Please enter a real number from 5.100 to 12",
     kFirstTarget + 2},
    {"HeightTargetAbove",
     {bareLand, onlyTarget(4, "100.5")},
     true,
     "Please enter a real number from 41.000 to 100",
     kFirstTarget + 3},
    {"CordsTargetBelowStand",
     {bareLand, onlyTarget(5, "10.05")},
     true,
     "Please enter a real number from 10.100 to 50",
     kFirstTarget + 4},
    {"CrownRatioTargetEqualToStand",
     {bareLand, onlyTarget(6, "45")},
     true,
     "Please enter a real number from 20 to 44.000000",
     kFirstTarget + 5},
    {"CrownRatioTargetBelow20",
     {bareLand, onlyTarget(6, "19.9")},
     true,
     "Please enter a real number from 20 to 44.000000",
     kFirstTarget + 5},
    {"CrownRatioTargetWithoutStand",
     {bareLand, onlyTarget(6, "99.5")},
     false,
     "Please enter a real number from 20 to 99.000000",
     kFirstTarget + 5},
    {"SpacingTargetAboveStand",
     {bareLand, onlyTarget(7, "0.45")},
     true,
     "Please enter a real number from 0.100 to 0.400000",
     kFirstTarget + 6},
    {"SpacingTargetWithoutStand",
     {bareLand, onlyTarget(7, "5.5")},
     false,
     "Please enter a real number from 0.100 to 5.000000",
     kFirstTarget + 6},
};

INSTANTIATE_TEST_SUITE_P(Steps, PlantationRefusal, ::testing::ValuesIn(kRefusals), RowName());

TEST(PlantationPage, ABareLandPageYieldsTheTypedSiteAndPlantingAndThePresetsOfTheOtherBoxes) {
    generalInfoDlg d = filled({bareLand, set(kSiteIndex, "72.5"), set(kTreesPlanted, "600")});
    ASSERT_TRUE(okOn(d));
    EXPECT_EQ(d.title, "Bare land");
    EXPECT_EQ(d.nyears, 60);
    EXPECT_EQ(d.site, 72.5f);
    EXPECT_EQ(d.tp, 600.0f);
    EXPECT_EQ(d.ps, 90.0f);
    EXPECT_EQ(d.ts, 50.0f);
    EXPECT_EQ(d.exage, 2);
    EXPECT_EQ(d.tba, 0.0f);
    EXPECT_EQ(d.hdwdpercnt, -1.0f);
    EXPECT_EQ(d.pcrit, 1);
    EXPECT_EQ(d.target, 25.0f);
    EXPECT_FALSE(d.qexist);
}

TEST(PlantationPage, AStandFromATreeListChecksNoneOfTheDisabledBoxes) {
    generalInfoDlg d = filled({existing("abc"), tick(kTreeListExists), set(kSiteIndex, "1"), set(kTreesSurviving, "1"),
                               set(kHardwood, "300")});
    d.hdwdpercnt = 12; // accepted last time
    ASSERT_TRUE(okOn(d));
    EXPECT_TRUE(d.qexist);
    EXPECT_TRUE(d.qlist);
    EXPECT_EQ(d.exage, 2);
    EXPECT_EQ(d.ts, 50.0f);
    EXPECT_EQ(d.site, 60.0f);
    EXPECT_EQ(d.hdwdpercnt, 12.0f);
}

TEST(PlantationPage, AYoungStandIgnoresItsBasalAreaAndOffersDrainage) {
    generalInfoDlg d = filled({existing("6"), set(kBasalArea, "300")});
    EXPECT_TRUE(d.enabled(kPoorlyDrained));
    ASSERT_TRUE(okOn(d));
    EXPECT_EQ(d.tba, 0.0f);
    EXPECT_EQ(d.exage, 6);
}

TEST(PlantationPage, HardwoodsLeftEmptyAreMinusOneAndZeroIsAValue) {
    generalInfoDlg empty = filled({bareLand, set(kHardwood, "")});
    ASSERT_TRUE(okOn(empty));
    EXPECT_EQ(empty.hdwdpercnt, -1.0f);
    generalInfoDlg zero = filled({bareLand, set(kHardwood, "0")});
    ASSERT_TRUE(okOn(zero));
    EXPECT_EQ(zero.hdwdpercnt, 0.0f);
}

TEST(PlantationPage, TargetsOnTheBoundsNamedByTheMessagesAreAccepted) {
    struct Case {
        int criterion;
        std::string text;
        float target;
    };
    const Case cases[] = {{6, "44", 44.0f}, {6, "20", 20.0f}, {3, "5.1", 5.1f}, {7, "0.4", 0.4f}, {2, "1", 1.0f}};
    for (const Case& c : cases) {
        generalInfoDlg d = filled({bareLand, onlyTarget(c.criterion, c.text)}, &standDocument());
        ASSERT_TRUE(okOn(d)) << c.text;
        EXPECT_EQ(d.pcrit, c.criterion);
        EXPECT_EQ(d.target, c.target);
    }
}

TEST(PlantationPage, ADocumentThatNeverHeldAStandBoundsTheTargetsLikeNoDocument) {
    const CGROVEXDoc fresh;
    generalInfoDlg d = filled({bareLand, onlyTarget(6, "99.5")}, &fresh);
    EXPECT_EQ(okOn(d).message, "Please enter a real number from 20 to 99.000000");
    type(d, kFirstTarget + 5, "99");
    EXPECT_TRUE(okOn(d));
}

// Enabling rule after a click on 1006 or 1007 or a change of the age text.
struct Enabling {
    const char* name;
    bool standExists;
    bool treeList;
    std::string age;
    std::set<int> enabled;
};

class PlantationEnabling : public ::testing::TestWithParam<Enabling> {};

TEST_P(PlantationEnabling, EnablesExactlyTheBoxesOfTheState) {
    const Enabling& c = GetParam();
    generalInfoDlg d = filled({});
    click(d, kStandExists, c.standExists);
    click(d, kTreeListExists, c.treeList);
    type(d, kExistingAge, c.age);
    const std::vector<int> ruled = {kTreeListExists, kSiteIndex,     kTreesSurviving,  kExistingAge, kBasalArea,
                                    kTreesPlanted,   kPoorlyDrained, kPercentSurvival, kHardwood,    kBrowse};
    EXPECT_EQ(enabledAmong(d, ruled), c.enabled);
    EXPECT_TRUE(d.enabled(kRotation) && d.enabled(kTitle) && d.enabled(kFirstTarget + 6));
}

const std::set<int> kByNumbers = {kTreeListExists, kHardwood, kSiteIndex, kExistingAge, kBasalArea, kTreesSurviving};
std::set<int> withDrainage(std::set<int> s) {
    s.insert(kPoorlyDrained);
    return s;
}

const Enabling kEnablings[] = {
    {"NewStand", false, false, "", {kTreesPlanted, kPercentSurvival, kPoorlyDrained, kHardwood, kSiteIndex}},
    {"NewStandIgnoresTreeListCheck",
     false,
     true,
     "12",
     {kTreesPlanted, kPercentSurvival, kPoorlyDrained, kHardwood, kSiteIndex}},
    {"FromTreeList", true, true, "3", {kTreeListExists, kBrowse}},
    {"ByNumbersAgeEmpty", true, false, "", withDrainage(kByNumbers)},
    {"ByNumbersAge7", true, false, "7", withDrainage(kByNumbers)},
    {"ByNumbersAge8", true, false, "8", kByNumbers},
    {"ByNumbersAge12", true, false, "12", kByNumbers},
    {"ByNumbersAgeNotDigits", true, false, "12a", withDrainage(kByNumbers)},
};

INSTANTIATE_TEST_SUITE_P(States, PlantationEnabling, ::testing::ValuesIn(kEnablings), RowName());

TEST(PlantationPage, DisablingDrainageKeepsItsCheckMark) {
    generalInfoDlg d = filled({existing("5"), tick(kPoorlyDrained), set(kExistingAge, "9")});
    EXPECT_FALSE(d.enabled(kPoorlyDrained));
    EXPECT_TRUE(d.checked(kPoorlyDrained));
}

TEST(PlantationPage, FirstOpeningProposesABareLandPlantationThatOkAccepts) {
    generalInfoDlg d;
    d.title = "left over";
    d.OnInitDialog();
    const std::map<int, std::string> proposed = {
        {kRotation, "60"}, {kSiteIndex, "60"}, {kTreesPlanted, "800"}, {kPercentSurvival, "90"}, {kFirstTarget, "25"}};
    for (const int id : d.controlIds()) {
        if (d.kind(id) == ControlKind::Edit) {
            const auto found = proposed.find(id);
            EXPECT_EQ(d.text(id), found != proposed.end() ? found->second : "") << id;
        }
        EXPECT_FALSE(d.checked(id)) << id;
    }
    EXPECT_EQ(d.site, 0.0f);
    EXPECT_EQ(d.textLimit(kTitle), 79);
    EXPECT_EQ(enabledAmong(d, {kTreeListExists, kBrowse, kTreesSurviving, kExistingAge, kBasalArea}), std::set<int>{});

    ASSERT_TRUE(okOn(d));
    EXPECT_EQ(d.nyears, 60);
    EXPECT_EQ(d.site, 60.0f);
    EXPECT_EQ(d.tp, 800.0f);
    EXPECT_EQ(d.ps, 90.0f);
    EXPECT_EQ(d.pcrit, kCriterionAge);
    EXPECT_EQ(d.target, 25.0f);
    EXPECT_EQ(d.hdwdpercnt, -1.0f);
    EXPECT_FALSE(d.qexist);
}

PlantationPageMembers afterARun() {
    PlantationPageMembers m;
    m.pcrit = 3;
    m.target = 6.5f;
    m.hdwdpercnt = 10;
    m.tba = 90;
    m.nyears = 40;
    m.site = 70;
    m.ts = 600;
    m.exage = 12;
    m.tp = 800;
    m.ps = 90;
    m.title = "Run";
    m.qexist = true;
    return m;
}

TEST(PlantationPage, ReopeningShowsTheAcceptedValues) {
    generalInfoDlg d;
    d.restore(afterARun());
    d.OnInitDialog();
    EXPECT_EQ(d.text(kFirstTarget + 2), "6.500000");
    for (const int other : {0, 1, 3, 4, 5, 6}) {
        EXPECT_EQ(d.text(kFirstTarget + other), "");
    }
    EXPECT_EQ(d.text(kTreesSurviving), "600.00");
    EXPECT_EQ(d.text(kHardwood), "10.000000");
    EXPECT_EQ(d.text(kBasalArea), "90.000000");
    EXPECT_EQ(d.text(kRotation), "40");
    EXPECT_EQ(d.text(kSiteIndex), "70.000000");
    EXPECT_EQ(d.text(kExistingAge), "12");
    EXPECT_EQ(d.text(kTreesPlanted), "800.000000");
    EXPECT_EQ(d.text(kPercentSurvival), "90.000000");
    EXPECT_EQ(d.text(kTitle), "Run");
    EXPECT_TRUE(d.checked(kStandExists));
}

TEST(PlantationPage, ReopeningLeavesBoxesEmptyWhoseValuesAreOutsideTheirConditions) {
    PlantationPageMembers m = afterARun();
    m.pcrit = 1;
    m.target = 25.7f;
    m.hdwdpercnt = -1;
    m.tba = 0;
    generalInfoDlg d;
    d.restore(m);
    d.OnInitDialog();
    EXPECT_EQ(d.text(kFirstTarget), "25");
    EXPECT_EQ(d.text(kHardwood), "");
    EXPECT_EQ(d.text(kBasalArea), "");

    m.pcrit = -1;
    d.restore(m);
    d.OnInitDialog();
    for (int k = 0; k < kTargetCount; ++k) {
        EXPECT_EQ(d.text(kFirstTarget + k), "");
    }
}

TEST(PlantationPage, OpeningAStandFromATreeListEnablesItsNumbersUntilTheFirstClick) {
    PlantationPageMembers m = afterARun();
    m.qlist = true;
    generalInfoDlg d;
    d.restore(m);
    d.OnInitDialog();
    const std::vector<int> ruled = {kTreeListExists, kSiteIndex,     kTreesSurviving,  kExistingAge, kBasalArea,
                                    kTreesPlanted,   kPoorlyDrained, kPercentSurvival, kHardwood,    kBrowse};
    EXPECT_EQ(enabledAmong(d, ruled), (std::set<int>{kTreeListExists, kBrowse, kExistingAge, kBasalArea,
                                                     kTreesSurviving, kSiteIndex, kHardwood}));
    m.qlist = false;
    m.exage = 5;
    d.restore(m);
    d.OnInitDialog();
    EXPECT_FALSE(d.enabled(kBrowse));
    EXPECT_FALSE(d.enabled(kPoorlyDrained)); // the age is not looked at on opening
}

TEST(PlantationPage, BrowseChecksTreeListExistsByWhatTheTreeListWindowLoaded) {
    generalInfoDlg d = filled({existing("12")});
    d.OnControlChanged(kBrowse); // nobody to load a tree list
    EXPECT_FALSE(d.checked(kTreeListExists));

    int calls = 0;
    d.setBrowseAction([&calls] { return ++calls == 1; });
    d.OnControlChanged(kBrowse);
    EXPECT_TRUE(d.checked(kTreeListExists));
    EXPECT_TRUE(d.enabled(kBrowse));
    EXPECT_FALSE(d.enabled(kTreesSurviving));
    d.OnControlChanged(kBrowse);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(d.checked(kTreeListExists));
    EXPECT_TRUE(d.enabled(kTreesSurviving));
}

} // namespace
} // namespace grovex
