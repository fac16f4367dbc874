#include "dialogs/propsheet.h"

#include "form_driver.h"
#include "results/document_file.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

using testing::click;
using testing::contents;
using testing::type;

void fillPlantation(generalInfoDlg& d) {
    type(d, plantation::kTitle, "Sheet");
    type(d, plantation::kRotation, "50");
    type(d, plantation::kSiteIndex, "70");
    type(d, plantation::kTreesPlanted, "650");
    type(d, plantation::kPercentSurvival, "85");
    type(d, plantation::kHardwood, "12.5");
    type(d, plantation::kFirstTarget, "30");
}

void fillVolumeUnits(outUnitsDlg& d) {
    click(d, volumeunits::kInsideBarkButton);
    type(d, volumeunits::kMinDbhClass, "5");
    type(d, volumeunits::kTopDiameter, "3");
}

struct OkOrder {
    const char* name;
    int activePage;
    bool page0Good;
    bool page1Good;
    FormResult expected;
    int endsOn;
};

class SheetOk : public ::testing::TestWithParam<OkOrder> {};

TEST_P(SheetOk, ChecksTheActivePageFirstThenBothInOrderAndStaysOnTheRefusingPage) {
    const OkOrder& c = GetParam();
    propsheet sheet;
    sheet.OnInitDialog();
    EXPECT_EQ(sheet.activePage(), 0);
    fillPlantation(sheet.plantationPage);
    if (!c.page0Good) {
        type(sheet.plantationPage, plantation::kFirstTarget, "");
    }
    fillVolumeUnits(sheet.volumeUnitsPage);
    if (!c.page1Good) {
        type(sheet.volumeUnitsPage, volumeunits::kMinDbhClass, "21");
    }
    sheet.setActivePage(c.activePage);
    EXPECT_EQ(sheet.OnOK(), c.expected);
    if (!c.expected.ok) {
        EXPECT_EQ(sheet.activePage(), c.endsOn);
    }
}

const FormResult kNoTarget =
    FormResult::refused("Please enter one and only one Output Target parameter.", plantation::kFirstTarget);
const FormResult kBadMinDbh = FormResult::refused("Please enter an integer from 1 to 20", volumeunits::kMinDbhClass);

const OkOrder kOrders[] = {
    {"BothGood", 1, true, true, FormResult::accepted(), 1},
    {"FirstPageActiveSecondRefuses", 0, true, false, kBadMinDbh, 1},
    {"SecondPageActiveFirstRefuses", 1, false, true, kNoTarget, 0},
    {"SecondPageActiveBothRefuse", 1, false, false, kBadMinDbh, 1},
    {"FirstPageActiveBothRefuse", 0, false, false, kNoTarget, 0},
};

INSTANTIATE_TEST_SUITE_P(Pages, SheetOk, ::testing::ValuesIn(kOrders), RowName());

TEST(InitializeSheet, AcceptedPagesBecomeInput1) {
    propsheet sheet;
    sheet.OnInitDialog();
    fillPlantation(sheet.plantationPage);
    fillVolumeUnits(sheet.volumeUnitsPage);
    ASSERT_TRUE(sheet.OnOK());
    const Input1 in = sheet.input1();
    EXPECT_EQ(in.title, "Sheet");
    EXPECT_EQ(in.nyears, 50);
    EXPECT_FALSE(in.qexist);
    EXPECT_EQ(in.site, 70.0f);
    EXPECT_EQ(in.tp, 650.0f);
    EXPECT_EQ(in.psPercent, 85.0f);
    EXPECT_EQ(in.hdwdPercent, 12.5f);
    EXPECT_EQ(in.pcrit, 1);
    EXPECT_EQ(in.target, 30.0f);
    EXPECT_EQ(in.vtype, kCubicFeet);
    EXPECT_EQ(in.voltyp, 1);
    EXPECT_EQ(in.minDbhClass, 5);
    EXPECT_EQ(in.voltop, 3.0f);
}

TEST(InitializeSheet, UnitsMapToInput1ByTheirKind) {
    VolumeUnitsPageMembers cords;
    cords.vtype = kCordsAndBoardFeet;
    cords.boardFootRule = 3;
    cords.barkType = 1;
    cords.minDbhClass = 9;
    const Input1 c = propsheet::makeInput1({}, cords);
    EXPECT_EQ(c.voltyp, 3);
    EXPECT_EQ(c.minDbhClass, 9);

    VolumeUnitsPageMembers custom;
    custom.vtype = kCustomEquations;
    custom.names = {"pulp", "  ", "saw"};
    custom.a = {1, 2, 3};
    custom.b = {0.1f, 0.2f, 0.3f};
    custom.equationMinDbh = {4, 5, 6};
    const Input1 e = propsheet::makeInput1({}, custom);
    EXPECT_EQ(e.equations[0].name, "pulp");
    EXPECT_EQ(e.equations[0].minDbhClass, 4);
    EXPECT_EQ(e.equations[1].name, "-blank-"); // unnamed
    EXPECT_EQ(e.equations[1].a, 0.0f);
    EXPECT_EQ(e.equations[1].minDbhClass, 1);
    EXPECT_EQ(e.equations[2].b, 0.3f);
}

TEST(InitializeSheet, RememberedPagesSurviveTheDocumentFileAndReopenAlike) {
    CGROVEXDoc doc;
    propsheet first(&doc);
    first.OnInitDialog();
    fillPlantation(first.plantationPage);
    click(first.volumeUnitsPage, volumeunits::kCordsButton);
    click(first.volumeUnitsPage, volumeunits::kScribnerButton);
    type(first.volumeUnitsPage, volumeunits::kMinDbhClass, "12");
    type(first.volumeUnitsPage, volumeunits::kEquationName[0], std::string(15, 'n'));
    ASSERT_TRUE(first.OnOK());
    doc.plantationPage = first.plantationMembers();
    doc.volumeUnitsPage = first.volumeUnitsMembers();

    CGROVEXDoc loaded;
    ASSERT_EQ(loadDocument(loaded, storeDocument(doc)), DocumentLoad::Ok);

    propsheet before(&doc);
    before.restore(doc.plantationPage, doc.volumeUnitsPage);
    before.OnInitDialog();
    propsheet after(&loaded);
    after.restore(loaded.plantationPage, loaded.volumeUnitsPage);
    after.OnInitDialog();
    for (int page = 0; page < propsheet::kPageCount; ++page) {
        EXPECT_EQ(contents(after.page(page)), contents(before.page(page))) << page;
    }
    EXPECT_EQ(after.volumeUnitsPage.text(volumeunits::kEquationName[0]), std::string(15, 'n'));
    EXPECT_EQ(after.volumeUnitsPage.text(volumeunits::kMinDbhClass), "12");
    EXPECT_TRUE(after.volumeUnitsPage.checked(volumeunits::kScribnerButton));
    EXPECT_EQ(after.plantationPage.text(plantation::kHardwood), "12.500000");
    EXPECT_EQ(after.plantationPage.text(plantation::kRotation), "50");
}

} // namespace
} // namespace grovex
