// Commands of the results view: select all, the range of tables shown, font size and its record, scrolling
// to the newest table, copy in its three modes and printing in pages.

#include "model/input1.h"
#include "results/font_record.h"
#include "view_fixture.h"

#include <fstream>
#include <iterator>

namespace grovex {
namespace {

using namespace cmd;
using fakes::Draw;
using fakes::DrawCall;
using fakes::FakeCanvas;

std::vector<uint8_t> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(ViewTest, SelectAllAndCopyNeedATable) {
    CGROVEXView& empty = open(0);
    EXPECT_FALSE(empty.isEnabled(kEditSelectAll));
    EXPECT_FALSE(empty.isEnabled(kEditCopy));
    empty.execute(kEditSelectAll);
    EXPECT_FALSE(empty.selectAll());

    CGROVEXView& v = open(1);
    EXPECT_TRUE(v.isEnabled(kEditSelectAll));
    EXPECT_FALSE(v.isEnabled(kEditCopy));
    v.execute(kEditSelectAll);
    EXPECT_TRUE(v.selectAll());
    EXPECT_TRUE(v.isEnabled(kEditCopy));
    EXPECT_FALSE(v.execute(12345));
}

TEST_F(ViewTest, AViewEmptiedOfItsTablesScrollsOverItsStartingSizeAgain) {
    CGROVEXView& v = open(3);
    ASSERT_NE(v.scrollSize().height, 800); // laid out for its tables
    doc.model.tables.clear();              // as Reset leaves the document
    v.LayoutTables();
    EXPECT_EQ(v.scrollSize().width, 800);
    EXPECT_EQ(v.scrollSize().height, 800);
}

TEST_F(ViewTest, AllTablesToggleShowsEveryTableAndBackTheLatestCommand) {
    settings.writeInt("Options", "AllTables", 0);
    CGROVEXView& v = open(1);
    v.setClientSize({800, 100});
    EXPECT_FALSE(doc.display.allTables);
    EXPECT_FALSE(v.isChecked(kViewAllTables));
    addTables(2); // a second command made tables 1 and 2
    v.UpdateShownTables(0);
    v.LayoutTables();
    EXPECT_EQ(doc.display.firstShown, 1);
    EXPECT_EQ(doc.display.stepFirst, 1);
    EXPECT_EQ(doc.model.tables[1].tableTop, 5);

    v.execute(kViewAllTables);
    EXPECT_TRUE(v.isChecked(kViewAllTables));
    EXPECT_EQ(doc.display.firstShown, 0);
    EXPECT_EQ(doc.model.tables[2].tableTop, 521);
    EXPECT_EQ(v.scrollPosition().y, 521); // scrolled to the newest table
    EXPECT_EQ(settings.ints.at({"Options", "AllTables"}), 1);

    v.execute(kViewAllTables);
    EXPECT_EQ(doc.display.firstShown, 1);
    EXPECT_EQ(v.scrollPosition().y, 0);
    EXPECT_EQ(settings.ints.at({"Options", "AllTables"}), 0);

    addTables(1); // with all tables shown the range still starts at 0
    v.execute(kViewAllTables);
    v.UpdateShownTables(2);
    EXPECT_EQ(doc.display.firstShown, 0);
    EXPECT_EQ(doc.display.stepFirst, 3);
}

TEST_F(ViewTest, FontSizeStepsAreRecordedAndStartTheNextView) {
    CGROVEXView& v = open(1);
    const std::filesystem::path record = dir / "def_Font.bin";
    EXPECT_FALSE(std::filesystem::exists(record));
    for (int expected : {17, 16, 15, 15}) {
        v.execute(kDecreaseFontSize);
        EXPECT_EQ(v.screenFont().height, expected);
    }
    EXPECT_EQ(v.lineHeight(), 18);
    EXPECT_EQ(v.charWidth(), 7);
    EXPECT_EQ(doc.model.tables[0].colWidth[0], 60); // 5 x 7 + 25

    const std::vector<uint8_t> bytes = fileBytes(record);
    ASSERT_EQ(bytes.size(), 60u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 6, bytes.begin() + 10), (std::vector<uint8_t>{15, 0, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 20, bytes.begin() + 24), (std::vector<uint8_t>{0x90, 1, 0, 0}));
    EXPECT_EQ(bytes[15], 4);  // output precision
    EXPECT_EQ(bytes[16], 53); // pitch and family
    EXPECT_EQ(bytes[17], 2);  // quality
    EXPECT_EQ(std::string(bytes.begin() + 28, bytes.begin() + 40), std::string("Courier New\0", 12));

    CGROVEXView next(doc, metrics, settings, ui, clipboard, appDirectory());
    next.OnInitialUpdate();
    EXPECT_EQ(next.screenFont().height, 15);
    for (int i = 0; i < 30; ++i) {
        next.execute(kIncreaseFontSize);
    }
    EXPECT_EQ(next.screenFont().height, 45);
    EXPECT_EQ(decodeFontRecord(fileBytes(record))->height, 45);
}

TEST_F(ViewTest, UnusableFontRecordsAreIgnoredSilently) {
    std::ofstream(dir / "def_Font.bin", std::ios::binary) << "short";
    CGROVEXView& v = open(1);
    EXPECT_EQ(v.screenFont().height, 18);

    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ViewTest, ARecordThatCannotBeSavedIsReportedOnceAndTheSizeStillChanges) {
    FontRecordSaver saver;
    const std::string missing = (dir / "missing" / "").string();
    CGROVEXView elsewhere(doc, metrics, settings, ui, clipboard, missing);
    elsewhere.setFontRecordSaver(saver);
    elsewhere.OnInitialUpdate();
    elsewhere.execute(kIncreaseFontSize);
    elsewhere.execute(kIncreaseFontSize);
    EXPECT_EQ(elsewhere.screenFont().height, 20);

    CGROVEXView another(doc, metrics, settings, ui, clipboard, missing);
    another.setFontRecordSaver(saver);
    another.OnInitialUpdate();
    another.execute(kDecreaseFontSize);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Unable to save " + missing +
                                                   "def_Font.bin: No such file or "
                                                   "directory."});
}

// A new window is made as large as the first table of the proposed plantation needs: the scroll size of a
// view holding that table once it has been projected, at every font size.
TEST_F(ViewTest, AWholeTableNeedsTheRoomOfTheProposedPlantationsTable) {
    CGROVEXView& empty = open(0);
    CGROVEXDoc projected;
    projected.model.ResetModel();
    WriteInput1(projected.model, Input1{});
    ASSERT_TRUE(StartRun(projected.model));
    projected.model.ProjectToTarget();
    ASSERT_EQ(projected.model.tables.size(), 1u);
    CGROVEXView shown(projected, metrics, settings, ui, clipboard, appDirectory());
    shown.OnInitialUpdate();

    for (int step = 0; step < 3; ++step) {
        const Size whole = empty.wholeTableSize();
        EXPECT_EQ(whole.width, shown.scrollSize().width) << step;
        EXPECT_EQ(whole.height, shown.scrollSize().height) << step;
        empty.execute(kIncreaseFontSize);
        shown.execute(kIncreaseFontSize);
        EXPECT_GT(empty.wholeTableSize().height, whole.height);
    }
}

TEST_F(ViewTest, ScrollToNewestNeedsASecondTable) {
    CGROVEXView& one = open(1);
    one.setClientSize({800, 50});
    one.ScrollToNewest();
    EXPECT_EQ(one.scrollPosition().y, 0);
    CGROVEXView& two = open(1);
    two.setClientSize({300, 50});
    two.setScrollPosition({7, 0});
    two.ScrollToNewest();
    EXPECT_EQ(two.scrollPosition().x, 7);
    EXPECT_EQ(two.scrollPosition().y, 263);
}

TEST_F(ViewTest, CopyOfTheTablesShownAfterSelectAll) {
    doc.display.firstShown = 1;
    CGROVEXView& v = open(2);
    v.execute(kEditSelectAll);
    v.execute(kEditCopy);
    const std::string text = clipboard.text().value();
    EXPECT_TRUE(text.starts_with("\r\n  Table 01\r\n  Inputs\r\n")) << text;
    EXPECT_EQ(text.find("Table 00"), std::string::npos);
    EXPECT_NE(text.find("\r\nTotal               112.3          "), std::string::npos);
}

TEST_F(ViewTest, CopyOfARectangleAndOfOneCell) {
    CGROVEXView& v = open(1);
    v.OnLButtonDown(cellPoint(2, 1));
    v.OnMouseMove(cellPoint(0, 3));
    v.execute(kEditCopy);
    EXPECT_EQ(clipboard.text(), "12.3\t30.1\t1.6\r\n100.0\t35.3\t19.6\r\n112.3\t     \t21.2");

    v.OnLButtonDown(cellPoint(0, 0));
    v.execute(kEditCopy);
    EXPECT_EQ(clipboard.text(), "3");
    v.execute(kCellDown);
    v.execute(kCellDown);
    v.execute(kEditCopy);
    EXPECT_EQ(clipboard.text(), "Total");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ViewTest, ClipboardFailuresAreNamed) {
    CGROVEXView& v = open(1);
    v.execute(kEditSelectAll);
    for (ClipboardStatus status :
         {ClipboardStatus::CannotOpen, ClipboardStatus::CannotEmpty, ClipboardStatus::CannotSet}) {
        clipboard.failWith(status);
        v.execute(kEditCopy);
    }
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Cannot open the Clipboard", "Cannot empty the Clipboard",
                                                    "Unable to set Clipboard data"}));
    EXPECT_TRUE(v.selectAll());
}

// A 600 dpi printer under a 96 dpi screen prints the 18-high font at 112 (56 by 115). Three tables are
// 2695 + 13 wide and 3 x 1153 + 2 x 45 - 40 + 45 + 33 high; a 2000 by 2000 page holds 1944 by 1770.
TEST_F(ViewTest, PrintingPlansPagesAcrossThenDownWithAFooter) {
    CGROVEXView& v = open(3);
    v.execute(kEditSelectAll);
    const PrintPlan plan = v.OnBeginPrinting(metrics, 600, 96, {2000, 2000});
    EXPECT_EQ(v.printerFont().height, 112);
    EXPECT_EQ(v.printLineHeight(), 115);
    EXPECT_EQ(v.pageWidth(), 1944);
    EXPECT_EQ(v.pageHeight(), 1770);
    EXPECT_EQ(plan.pagesAcross, 2);
    EXPECT_EQ(plan.pagesDown, 3);
    EXPECT_EQ(v.pageOrigin(1).x, 0);
    EXPECT_EQ(v.pageOrigin(2).x, 1944);
    EXPECT_EQ(v.pageOrigin(2).y, 0);
    EXPECT_EQ(v.pageOrigin(6).y, 3540);

    FakeCanvas page({0, 0, 2000, 2000});
    v.OnPrintPage(page, 3); // the left half of the second band
    const std::vector<DrawCall> texts = page.callsOf(Draw::Text);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().origin.x, 0);
    EXPECT_EQ(texts.front().origin.y, 1770);
    EXPECT_EQ(texts.front().font.height, 112);
    EXPECT_EQ(texts.front().textColor, kBlack); // no selection on paper
    // The tables are cut at the page's own area, so nothing of the next page shows above the footer.
    const Rect background = page.callsOf(Draw::Fill).front().rect;
    EXPECT_EQ(background.top, 1770);
    EXPECT_EQ(background.bottom, 3540);
    EXPECT_EQ(background.right, 1944);
    EXPECT_FALSE(page.clip().has_value());
    const DrawCall& footer = texts.back();
    EXPECT_EQ(footer.text, "       GROVEX1      page  3");
    EXPECT_EQ(footer.rect.top, 3655); // 1770 + 2000 - 115
    EXPECT_EQ(footer.rect.right, 1944);
    const std::vector<DrawCall> line = page.callsOf(Draw::LineTo);
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].point.x, 300);
    EXPECT_EQ(line[0].point.y, 3655);

    v.OnEndPrinting();
    EXPECT_EQ(v.lineHeight(), 21);
    EXPECT_EQ(doc.model.tables[2].tableTop, 521);
    EXPECT_TRUE(v.showSelection());
}

} // namespace
} // namespace grovex
