#include "dialogs/initialize_sheet.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

PlantationTexts existingStandTexts() {
    PlantationTexts t;
    t.title = "Existing stand";
    t.rotation = "40";
    t.siteIndex = "65.5";
    t.standExists = true;
    t.existingAge = "12";
    t.treesSurviving = "550";
    t.basalArea = "90";
    t.hardwoodPercent = "15";
    t.targets[1] = "120";
    return t;
}

VolumeUnitsTexts cordsTexts() {
    VolumeUnitsTexts t;
    t.units = kCordsAndBoardFeet;
    t.boardFootRule = 2;
    t.minDbhClass = "10";
    return t;
}

Checked<Input1> validateSheet(const PlantationTexts& p, const VolumeUnitsTexts& v) {
    return validateInitializeSheet(p, plantationEnablingRule(p.standExists, p.treeListExists, p.existingAge), {}, v);
}

TEST(InitializeSheet, AcceptedPagesBuildInput1) {
    const auto result = validateSheet(existingStandTexts(), cordsTexts());
    ASSERT_TRUE(result.ok()) << result.error().message;
    const Input1& in = result.value();
    EXPECT_EQ(in.title, "Existing stand");
    EXPECT_EQ(in.nyears, 40);
    EXPECT_TRUE(in.qexist);
    EXPECT_FALSE(in.qlist);
    EXPECT_FLOAT_EQ(in.site, 65.5f);
    EXPECT_FLOAT_EQ(in.ts, 550.0f);
    EXPECT_EQ(in.exage, 12);
    EXPECT_FLOAT_EQ(in.tba, 90.0f);
    EXPECT_FLOAT_EQ(in.hdwdPercent, 15.0f);
    EXPECT_EQ(in.pcrit, kCriterionBasalArea);
    EXPECT_FLOAT_EQ(in.target, 120.0f);
    EXPECT_EQ(in.vtype, kCordsAndBoardFeet);
    EXPECT_EQ(in.voltyp, 2);
    EXPECT_EQ(in.minDbhClass, 10);
}

TEST(InitializeSheet, PlantationPageIsCheckedBeforeVolumeUnits) {
    PlantationTexts p = existingStandTexts();
    p.siteIndex = "10";
    VolumeUnitsTexts v = cordsTexts();
    v.boardFootRule = 0;
    const auto first = validateSheet(p, v);
    ASSERT_FALSE(first.ok());
    EXPECT_EQ(first.error().control, plantation::kSiteIndex);

    const auto second = validateSheet(existingStandTexts(), v);
    ASSERT_FALSE(second.ok());
    EXPECT_EQ(second.error(), (FieldError{"Please select a board foot rule", volumeunits::kInternationalButton}));
}

} // namespace
} // namespace grovex
