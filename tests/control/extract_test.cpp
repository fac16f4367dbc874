#include "control/command_abandoned.h"
#include "control/extract.h"
#include "model/site_curve.h"
#include "support/case_names.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"
#include "support/test_paths.h"
#include "treelist/tree_list_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace grovex {
namespace {

// A plot of 0.1 acres at age 15 with four trees: two of crown class 1 or 2 (heights 60 and 64).
TreeList plot() {
    TreeList list;
    list.loaded = true;
    TreeListHeader& h = list.header;
    h.code = 1;
    h.plotId = "P1";
    h.plotArea = 0.1f;
    h.age = 15;
    h.fertilizationAge = 0;
    h.lbn = 0;
    h.qphos = 0;
    h.thinningAge = 0;
    h.qhdwd = 0;
    h.hardwoodPercent = 0;
    const TreeRow rows[] = {
        {2, "1", 10.0f, 60.0f, 1}, {2, "2", 8.0f, 64.0f, 2}, {2, "3", 6.0f, 50.0f, 3}, {2, "4", 4.0f, 40.0f, 4}};
    for (const TreeRow& row : rows) {
        list.rows[static_cast<size_t>(++list.lastRow)] = row;
    }
    return list;
}

class ExtractTest : public testing::Test {
protected:
    void extract(const TreeList& list) { Extract(model, run, &list, ui); }
    GrowthModel model;
    RunState run;
    fakes::RecordingUi ui;
};

TEST_F(ExtractTest, CrownClassesOrAGivenDominantHeightSetTheStandValues) {
    extract(plot());
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FLOAT_EQ(model.hd, 62.0f); // mean of the class 1 and 2 trees
    EXPECT_FLOAT_EQ(model.hMean, 53.5f);
    EXPECT_FLOAT_EQ(model.dmax, 10.0f);
    // The site index is the one whose curve passes through hd at the stand's age.
    EXPECT_NEAR(SiteHeight(model.site, 15.0, 1.0 / 15.0 - 0.04), 62.0, 1e-3);
    EXPECT_NEAR(model.crMean,
                (model.crownRatio[1] + model.crownRatio[2] + model.crownRatio[3] + model.crownRatio[4]) / 4 * 100,
                1e-3);
    EXPECT_FLOAT_EQ(model.crownLength[1], model.ht[1] * model.crownRatio[1]);

    TreeList given = plot();
    given.header.dominantHeight = 70.0f;
    for (int k = 0; k < 4; ++k) {
        given.rows[static_cast<size_t>(k)].crownClass = -1; // a list with a dominant height has no classes
    }
    extract(given);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FLOAT_EQ(model.hd, 70.0f);
}

TEST_F(ExtractTest, ASmallPlotIsScaledToPerAcreValues) {
    model.nrec = 250;
    model.dbh[5] = 7; // left over from an earlier register
    extract(plot());
    EXPECT_FLOAT_EQ(model.freq[1], 10.0f);
    EXPECT_FLOAT_EQ(model.ts, 40.0f);
    EXPECT_FLOAT_EQ(model.tp, 40.0f);
    EXPECT_NEAR(model.tba, (100 + 64 + 36 + 16) * 0.005454 / 0.1, 1e-4);
    EXPECT_NEAR(model.dq, std::sqrt((100 + 64 + 36 + 16) / 4.0), 1e-4);
    EXPECT_NEAR(model.rs, std::sqrt(43560.0 / 40) / 62.0, 1e-5);
    EXPECT_EQ(model.plotArea, 1.0f);
    EXPECT_EQ(model.nrec, 4);
    EXPECT_EQ(model.dbh[5], 0.0f);
    EXPECT_EQ(model.exage, 15.0f);
}

TEST_F(ExtractTest, PlotLevelTreatmentsComeFromTheHeader) {
    TreeList list = plot();
    list.header.baa = 60;
    list.header.bab = 80;
    list.header.thinningAge = 12;
    list.header.hardwoodPercent = 12.5f;
    list.header.qhdwd = 1;
    list.header.lbn = 150;
    list.header.qphos = 1;
    list.header.fertilizationAge = 10;
    extract(list);
    EXPECT_FLOAT_EQ(model.thinRatio, 0.75f);
    EXPECT_EQ(model.qthin, 1);
    EXPECT_EQ(model.ithin, 2);
    EXPECT_EQ(model.kt, 12);
    EXPECT_EQ(run.bab, 80.0f);
    EXPECT_EQ(run.baa, 60.0f);
    EXPECT_FLOAT_EQ(model.hdwdpercnt, 0.125f);
    EXPECT_EQ(model.qhdwd, 1);
    EXPECT_EQ(model.qfert, 1);
    EXPECT_EQ(model.qphos, 1);
    EXPECT_EQ(model.kfert, 10);

    // Equal basal areas, or a blank one, mean no thinning: qthin and ithin keep what they held.
    model.qthin = 0;
    model.ithin = 3;
    list.header.baa = 80;
    list.header.lbn = -1;
    model.qfert = 1;
    extract(list);
    EXPECT_EQ(model.thinRatio, 1.0f);
    EXPECT_EQ(model.qthin, 0);
    EXPECT_EQ(model.ithin, 3);
    EXPECT_EQ(model.qfert, 1); // a blank nitrogen amount leaves the fertilization flag alone
    list.header.baa = kBlankReal;
    extract(list);
    EXPECT_EQ(model.thinRatio, 1.0f);
}

TEST_F(ExtractTest, BlankCellsWarnOnceAndTheExtractionGoesOn) {
    TreeList list = plot();
    list.rows[1].id.clear();
    list.rows[3].crownClass = kBlankInt;
    extract(list);
    ASSERT_EQ(ui.texts(), std::vector<std::string>{kBlankCellsMessage});
    EXPECT_EQ(model.nrec, 4);

    ui.clear();
    list = plot();
    list.rows[static_cast<size_t>(++list.lastRow)] = TreeRow{};
    EXPECT_THROW(extract(list), CommandAbandoned); // the blank row's code is not 2
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kBlankRowsMessage, kItemRecordCodeMessage}));
}

TEST_F(ExtractTest, WrongRecordCodesStopAfterTheModelWasCleared) {
    TreeList list = plot();
    list.rows[2].code = 3;
    model.ts = 999;
    model.site = 70;
    EXPECT_THROW(extract(list), CommandAbandoned);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kItemRecordCodeMessage});
    EXPECT_EQ(model.ts, 0.0f);
    EXPECT_EQ(model.site, 0.0f);

    ui.clear();
    list = plot();
    list.header.code = 2;
    EXPECT_THROW(extract(list), CommandAbandoned);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kHeaderRecordCodeMessage});

    ui.clear();
    EXPECT_THROW(Extract(model, run, nullptr, ui), CommandAbandoned);
    list.loaded = false;
    EXPECT_THROW(extract(list), CommandAbandoned);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kTreeListEmptyMessage, kTreeListEmptyMessage}));
}

struct Unusable {
    const char* name;
    void (*spoil)(TreeList&);
    std::string message;
};

class UnusableListTest : public ExtractTest, public testing::WithParamInterface<Unusable> {};

TEST_P(UnusableListTest, IsRefusedWithAMessageNamingTheProblem) {
    TreeList list = plot();
    GetParam().spoil(list);
    EXPECT_THROW(extract(list), CommandAbandoned);
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.messages().back().text, GetParam().message);
    for (float value : {model.ts, model.tba, model.dq, model.hd, model.site, model.rs, model.hMean, model.crMean}) {
        EXPECT_TRUE(std::isfinite(value));
    }
}

INSTANTIATE_TEST_SUITE_P(
    DivisionsByZero, UnusableListTest,
    testing::Values(
        Unusable{"NoRows", [](TreeList& l) { l.lastRow = -1; }, kNoTreesMessage},
        Unusable{"PlotAreaZero", [](TreeList& l) { l.header.plotArea = 0; }, kPlotAreaMessage},
        Unusable{"PlotAreaBlank", [](TreeList& l) { l.header.plotArea = kBlankReal; }, kPlotAreaMessage},
        Unusable{"AgeZero", [](TreeList& l) { l.header.age = 0; }, kStandAgeMessage},
        Unusable{"HeightZero", [](TreeList& l) { l.rows[2].height = 0; },
                 "Tree 3 of the tree list has a height of 0 or less.  Unable to extract Tree List data."},
        Unusable{"NoDominantTrees", [](TreeList& l) { l.rows[0].crownClass = l.rows[1].crownClass = 3; },
                 kNoDominantTreesMessage},
        Unusable{"DominantHeightZero", [](TreeList& l) { l.header.dominantHeight = 0; }, kDominantHeightMessage},
        // Typed into the grid: ages no file could hold, which the years since a treatment would
        // overflow.
        Unusable{"AgeOf100", [](TreeList& l) { l.header.age = 100; }, kStandAgeFieldMessage},
        Unusable{"FertilizationAgeBelowAField", [](TreeList& l) { l.header.fertilizationAge = -10; },
                 kFertilizationAgeFieldMessage},
        Unusable{"LowestThinningAge", [](TreeList& l) { l.header.thinningAge = std::numeric_limits<int32_t>::min(); },
                 kThinningAgeFieldMessage}),
    RowName());

TEST_F(ExtractTest, AListReadFromItsFileExtracts) {
    TreeList list;
    ASSERT_TRUE(readTreeListFile(testData("treelist_crown_class.dat"), list, ui) == TreeListReadStatus::Complete);
    extract(list);
    EXPECT_EQ(model.nrec, list.rowCount());
    EXPECT_GT(model.hd, 0.0f);
    EXPECT_TRUE(std::isfinite(model.site));
}

class ChangeTreeListTest : public testing::Test {
protected:
    void SetUp() override {
        model.ResetModel();
        model.InitStand();
        model.StandStats();
        model.MakeTable(kLiveTreeTable);
    }
    GrowthModel model;
    fakes::RecordingUi ui;
};

TEST_F(ChangeTreeListTest, FewerRowsLeaveTheRemovedSlotsEmpty) {
    const int nrec = model.nrec;
    ASSERT_GT(nrec, 2);
    ASSERT_TRUE(ChangeTreeList(model, "5.00\t30.00\t100.00\t0.00|7.50\t40.00\t50.00\t12.50|", 2, ui));
    EXPECT_EQ(model.dbh[2], 7.5f);
    EXPECT_EQ(model.ht[2], 40.0f);
    EXPECT_EQ(model.freq[2], 50.0f);
    EXPECT_EQ(model.thinFreq[2], 12.5f);
    EXPECT_EQ(model.dbh[3], 0.0f);
    EXPECT_EQ(model.nrec, nrec);
    EXPECT_NEAR(model.ts, 150.0f, 1e-3);
    EXPECT_EQ(model.lastTable(), 1);
    EXPECT_EQ(model.tables.back().kind, kLiveTreeTable);
}

TEST_F(ChangeTreeListTest, MoreRowsThanRecordsExtendTheRegisterAndOver300AreRefused) {
    model.nrec = 1;
    std::string rows;
    for (int i = 0; i < 3; ++i) {
        rows += "6.00\t35.00\t100.00\t0.00|";
    }
    ASSERT_TRUE(ChangeTreeList(model, rows, 3, ui));
    EXPECT_EQ(model.nrec, 3);
    EXPECT_NEAR(model.ts, 300.0f, 1e-3);

    const GrowthModel before = model;
    std::string tooMany;
    for (int i = 0; i < 301; ++i) {
        tooMany += "6.00\t35.00\t1.00\t0.00|";
    }
    EXPECT_FALSE(ChangeTreeList(model, tooMany, 301, ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kTooManyRowsMessage});
    EXPECT_EQ(model.dbh, before.dbh);
    EXPECT_EQ(model.lastTable(), before.lastTable());
}

TEST_F(ChangeTreeListTest, TheCommandAppliesTheDialogsRowsOnlyOnOk) {
    CGROVEXDoc doc;
    doc.model = model;
    fakes::FakeClipboard clipboard;
    int repaints = 0;
    const auto repaint = [&] { ++repaints; };
    EXPECT_FALSE(ChangeCurrentSimulationTreeList(
        doc, ui, clipboard, {}, [](treeListStateDlg&) { return false; }, repaint));
    EXPECT_EQ(doc.model.lastTable(), 0);
    EXPECT_EQ(repaints, 0);

    const float second = model.dbh[2];
    EXPECT_TRUE(ChangeCurrentSimulationTreeList(
        doc, ui, clipboard, {},
        [](treeListStateDlg& dialog) {
            dialog.select({0});
            dialog.removeSelected(); // answered Yes
            dialog.accept();
            return true;
        },
        repaint));
    EXPECT_NEAR(doc.model.dbh[1], second, 0.005f); // the dialog shows two decimals
    EXPECT_EQ(doc.model.lastTable(), 1);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(repaints, 1);
}

} // namespace
} // namespace grovex
