#include "dialogs/plantation_rules.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

using namespace plantation;

using P = PlantationTexts;

// Page texts built by editing a starting point, so that each case states only what it changes.
struct Texts {
    PlantationTexts t;

    Texts set(std::string P::*box, std::string text) const {
        Texts copy = *this;
        copy.t.*box = std::move(text);
        return copy;
    }
    // The only filled output target box (criterion 1 to 7).
    Texts target(int criterion, std::string text) const {
        Texts copy = *this;
        copy.t.targets = {};
        copy.t.targets[criterion - 1] = std::move(text);
        return copy;
    }
    // A further filled output target box.
    Texts also(int criterion, std::string text) const {
        Texts copy = *this;
        copy.t.targets[criterion - 1] = std::move(text);
        return copy;
    }
};

// A new plantation as a user would fill the page: every check passes.
Texts bare() {
    Texts t;
    t.t.title = "Bare land";
    t.t.rotation = "60";
    t.t.siteIndex = "60";
    t.t.treesPlanted = "800";
    t.t.percentSurvival = "90";
    t.t.targets[0] = "25";
    return t;
}

Texts existing(const std::string& age) {
    Texts t = bare();
    t.t.standExists = true;
    t.t.existingAge = age;
    t.t.treesSurviving = "600";
    return t;
}

// A stand held by the document: dq 5, hd 40, cords 10, crown ratio 45 percent, relative spacing 0.5.
const CurrentStand kHeld{true, 5.0f, 40.0f, 10.0f, 45.0f, 0.5f};

Checked<PlantationValues> validate(const PlantationTexts& t, const CurrentStand& stand = {}) {
    return validatePlantation(t, plantationEnablingRule(t.standExists, t.treeListExists, t.existingAge), stand);
}

struct RefusalCase {
    const char* name;
    Texts texts;
    CurrentStand stand;
    std::string message;
    int control;
};

class PlantationRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(PlantationRefusal, ShowsTheStepsMessageAndFocusesItsBox) {
    const RefusalCase& c = GetParam();
    const Checked<PlantationValues> result = validate(c.texts.t, c.stand);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().message, c.message);
    EXPECT_EQ(result.error().control, c.control);
}

const std::string kTreesRange = "Please enter a real number from 50 to 2000";
const std::string kOneTarget = "Please enter one and only one Output Target parameter.";

// The page's steps in their order; where a case has two faults, the earlier step must win.
const RefusalCase kRefusals[] = {
    {"TitleTooLong",
     bare().set(&P::title, std::string(80, 'x')).set(&P::rotation, "x"),
     {},
     "The title can be at most 79 characters long.",
     kTitle},
    {"RotationNotInteger",
     bare().set(&P::rotation, "6x").set(&P::siteIndex, "10"),
     {},
     "Please specify an Integer",
     kRotation},
    {"RotationSigned", bare().set(&P::rotation, "+60"), {}, "Please specify an Integer", kRotation},
    {"RotationEmpty", bare().set(&P::rotation, ""), {}, "Please enter an integer from 8 to 100", kRotation},
    {"RotationAbove", bare().set(&P::rotation, "101"), {}, "Please enter an integer from 8 to 100", kRotation},
    {"SiteBelow",
     bare().set(&P::siteIndex, "19.9").set(&P::treesPlanted, "1"),
     {},
     "Please enter a real number from 20 to 100",
     kSiteIndex},
    {"SiteNotANumber", bare().set(&P::siteIndex, "nan"), {}, "Please enter a real number from 20 to 100", kSiteIndex},
    {"ExistingAgeNotInteger",
     existing("1x").set(&P::treesSurviving, "10"),
     {},
     "Please specify an Integer",
     kExistingAge},
    {"TreesSurvivingBelow", existing("0").set(&P::treesSurviving, "49.9"), {}, kTreesRange, kTreesSurviving},
    {"TreesSurvivingAbove", existing("10").set(&P::treesSurviving, "2001"), {}, kTreesRange, kTreesSurviving},
    {"ExistingAgeZero", existing("0"), {}, "Please enter an integer from 1 to 30", kExistingAge},
    {"ExistingAgeAboveRotation",
     existing("21").set(&P::rotation, "20"),
     {},
     "Please enter an integer from 1 to 20",
     kExistingAge},
    {"ExistingAgeAbove30", existing("31"), {}, "Please enter an integer from 1 to 30", kExistingAge},
    {"BasalAreaBelow",
     existing("8").set(&P::basalArea, "24.9").set(&P::hardwoodPercent, "99"),
     {},
     "Please enter a real number from 25 to 200",
     kBasalArea},
    {"BasalAreaBlank",
     existing("12").set(&P::basalArea, " "),
     {},
     "Please enter a real number from 25 to 200",
     kBasalArea},
    {"TreesPlantedBelow",
     bare().set(&P::treesPlanted, "49").set(&P::percentSurvival, "1"),
     {},
     kTreesRange,
     kTreesPlanted},
    {"TreesPlantedAbove", bare().set(&P::treesPlanted, "2000.5"), {}, kTreesRange, kTreesPlanted},
    {"SurvivalBelow",
     bare().set(&P::percentSurvival, "29").set(&P::hardwoodPercent, "-1"),
     {},
     "Please enter a real number from 30 to 100",
     kPercentSurvival},
    {"HardwoodAbove",
     bare().set(&P::hardwoodPercent, "90.5").target(1, ""),
     {},
     "Please enter a real number from 0 to 90",
     kHardwood},
    {"NoTarget", bare().target(1, ""), {}, kOneTarget, kFirstTarget},
    {"TwoTargets", bare().also(7, "0.3"), {}, kOneTarget, kFirstTarget},
    {"AgeTargetNotInteger", bare().target(1, "2a"), {}, "Please specify an Integer", kFirstTarget},
    {"AgeTargetBelow8", bare().target(1, "5"), {}, "Please enter an integer from 8 to 60", kFirstTarget},
    {"AgeTargetAboveRotation", bare().target(1, "61"), {}, "Please enter an integer from 8 to 60", kFirstTarget},
    {"AgeTargetBelowExistingAge",
     existing("12").target(1, "11"),
     {},
     "Please enter an integer from 12 to 60",
     kFirstTarget},
    {"BasalAreaTargetNotAboveGiven",
     existing("12").set(&P::basalArea, "90").target(2, "90.5"),
     {},
     "Please enter a real number from 91.000 to 180",
     kFirstTarget + 1},
    {"BasalAreaTargetWithoutGiven",
     bare().target(2, "0.5"),
     {},
     "Please enter a real number from 1.000 to 180",
     kFirstTarget + 1},
    {"QmdTargetNotAboveStand", bare().target(3, "5.05"), kHeld, "Please enter a real number from 5.100 to 12",
     kFirstTarget + 2},
    {"HeightTargetNotAboveStand", bare().target(4, "40.5"), kHeld, "Please enter a real number from 41.000 to 100",
     kFirstTarget + 3},
    {"CordsTargetAbove50", bare().target(5, "50.1"), kHeld, "Please enter a real number from 10.100 to 50",
     kFirstTarget + 4},
    {"CrownRatioTargetEqualToStand", bare().target(6, "45"), kHeld, "Please enter a real number from 20 to 44.000000",
     kFirstTarget + 5},
    {"CrownRatioTargetWithoutStand",
     bare().target(6, "99.5"),
     {},
     "Please enter a real number from 20 to 99.000000",
     kFirstTarget + 5},
    {"SpacingTargetNotBelowStand", bare().target(7, "0.45"), kHeld, "Please enter a real number from 0.100 to 0.400000",
     kFirstTarget + 6},
    {"SpacingTargetWithoutStand",
     bare().target(7, "5.01"),
     {},
     "Please enter a real number from 0.100 to 5.000000",
     kFirstTarget + 6},
};

INSTANTIATE_TEST_SUITE_P(Steps, PlantationRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlantationAccepted, BareLandKeepsTheEnteredValuesAndNoHardwood) {
    PlantationTexts t = bare().t;
    t.title = std::string(79, 't');
    t.treesPlanted = "650";
    t.percentSurvival = "85.5";
    t.poorlyDrained = true;
    const auto result = validate(t);
    ASSERT_TRUE(result.ok()) << result.error().message;
    const PlantationValues& v = result.value();
    EXPECT_EQ(v.title, t.title);
    EXPECT_EQ(v.nyears, 60);
    EXPECT_FALSE(v.qexist);
    EXPECT_FLOAT_EQ(v.tp, 650.0f);
    EXPECT_FLOAT_EQ(v.ps, 85.5f);
    EXPECT_TRUE(v.qdrain);
    EXPECT_FLOAT_EQ(v.hdwdpercnt, -1.0f);
    EXPECT_FLOAT_EQ(v.tba, 0.0f);
    EXPECT_EQ(v.pcrit, kCriterionAge);
    EXPECT_FLOAT_EQ(v.target, 25.0f);
}

TEST(PlantationAccepted, YoungExistingStandIgnoresItsBasalArea) {
    PlantationTexts t = existing("6").target(1, "8").t;
    t.basalArea = "5";
    t.hardwoodPercent = "0";
    const auto result = validate(t);
    ASSERT_TRUE(result.ok()) << result.error().message;
    EXPECT_EQ(result.value().exage, 6);
    EXPECT_FLOAT_EQ(result.value().tba, 0.0f);
    EXPECT_FLOAT_EQ(result.value().hdwdpercnt, 0.0f);
}

TEST(PlantationAccepted, StandFromATreeListReadsNeitherStandNumbersNorSiteNorHardwood) {
    PlantationTexts t = existing("").t;
    t.treeListExists = true;
    t.treesSurviving = "";
    t.siteIndex = "abc";
    t.hardwoodPercent = "500";
    t.earlierHardwoodPercent = 12.5f;
    const auto result = validate(t);
    ASSERT_TRUE(result.ok()) << result.error().message;
    EXPECT_FLOAT_EQ(result.value().site, 60.0f);
    EXPECT_FLOAT_EQ(result.value().ts, 50.0f);
    EXPECT_EQ(result.value().exage, 2);
    EXPECT_FLOAT_EQ(result.value().hdwdpercnt, 12.5f);
    EXPECT_TRUE(result.value().qlist);
}

TEST(PlantationAccepted, TargetsAtTheEndsOfTheirRanges) {
    const struct {
        int criterion;
        const char* text;
        float target;
    } ends[] = {{1, "60", 60}, {2, "180", 180}, {3, "5.1", 5.1f}, {4, "41", 41},   {5, "10.1", 10.1f},
                {6, "44", 44}, {6, "20", 20},   {7, "0.1", 0.1f}, {7, "0.4", 0.4f}};
    for (const auto& end : ends) {
        const auto result = validate(bare().target(end.criterion, end.text).t, kHeld);
        ASSERT_TRUE(result.ok()) << end.text << ": " << result.error().message;
        EXPECT_EQ(result.value().pcrit, end.criterion);
        EXPECT_FLOAT_EQ(result.value().target, end.target);
    }
}

TEST(PlantationEnabling, FollowsTheStandChoices) {
    const PlantationEnabled bare = plantationEnablingRule(false, true, "");
    EXPECT_TRUE(bare.treesPlanted && bare.percentSurvival && bare.poorlyDrained && bare.hardwood && bare.siteIndex);
    EXPECT_FALSE(bare.treesSurviving || bare.existingAge || bare.basalArea || bare.treeListExists || bare.browse);

    const PlantationEnabled list = plantationEnablingRule(true, true, "12");
    EXPECT_TRUE(list.treeListExists && list.browse);
    EXPECT_FALSE(list.siteIndex || list.hardwood || list.poorlyDrained || list.treesSurviving || list.existingAge);

    const PlantationEnabled numbers = plantationEnablingRule(true, false, "12");
    EXPECT_TRUE(numbers.treesSurviving && numbers.existingAge && numbers.basalArea && numbers.hardwood);
    EXPECT_FALSE(numbers.treesPlanted || numbers.browse || numbers.poorlyDrained);
}

TEST(PlantationEnabling, DrainageOfAnExistingStandOnlyWhileTheAgeIsBelow8) {
    EXPECT_TRUE(plantationEnablingRule(true, false, "7").poorlyDrained);
    EXPECT_FALSE(plantationEnablingRule(true, false, "8").poorlyDrained);
    EXPECT_TRUE(plantationEnablingRule(true, false, "").poorlyDrained);
    EXPECT_TRUE(plantationEnablingRule(true, false, "12a").poorlyDrained);
}

TEST(PlantationEnabling, OpeningKeepsSiteAndHardwoodEnabled) {
    const PlantationEnabled open = plantationOpeningState(true, true);
    EXPECT_TRUE(open.siteIndex && open.hardwood && open.browse && open.existingAge);
    EXPECT_FALSE(open.poorlyDrained || open.treesPlanted);
    EXPECT_FALSE(plantationOpeningState(true, false).browse);
}

TEST(CurrentStand, ModelWithoutDominantHeightHoldsNoStand) {
    GrowthModel model;
    EXPECT_FALSE(currentStandOf(model).held);
    model.hd = 30;
    model.crMean = 40;
    EXPECT_TRUE(currentStandOf(model).held);
    EXPECT_FLOAT_EQ(currentStandOf(model).crMean, 40.0f);
}

} // namespace
} // namespace grovex
