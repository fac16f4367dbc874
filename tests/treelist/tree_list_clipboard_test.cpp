// Copy, Cut and Paste of tree list cells: the texts put on the clipboard, the shape rules and their messages,
// tiling, growing the list from one cell, and how pasted text becomes cell values.

#include "support/case_names.h"
#include "tree_list_view_fixture.h"
#include "treelist/tree_list_cells.h"
#include "treelist/tree_list_clipboard.h"

#include <string>

namespace grovex {
namespace {

using namespace cmd;

std::string repeatLine(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += line;
    }
    return text;
}

// ---- Copy and Cut ----

TEST(WholeListText, LeavesOutBlanksAndTheirSeparators) {
    TreeList list = sampleList(3);
    EXPECT_EQ(wholeListText(list), "1\tP1\t0.10\t12\t5\t200\t1\t10\t80.0\t120.0\t1\t12.5\r\n"
                                   "2\tT1\t5.0\t31.0\t2\r\n"
                                   "2\tT2\t6.0\t32.0\t3\r\n"
                                   "2\tT3\t7.0\t33.0\t4\r\n");
    list.header.plotId.clear(); // an empty identifier keeps its tab
    list.header.lbn = kBlankInt;
    list.rows[0].dbh = kBlankReal;
    list.rows[1].crownClass = kBlankInt; // runs on into the next row
    EXPECT_EQ(wholeListText(list), "1\t\t0.10\t12\t5\t1\t10\t80.0\t120.0\t1\t12.5\r\n"
                                   "2\tT1\t31.0\t2\r\n"
                                   "2\tT2\t6.0\t32.0\t"
                                   "2\tT3\t7.0\t33.0\t4\r\n");
}

TEST(BlockText, KeepsBlanksInPlaceAndTabsOnlyBetweenTreeColumnsUpTo4) {
    TreeList list = sampleList(3);
    list.rows[0].height = kBlankReal;
    EXPECT_EQ(blockText(list, {1, 1, 2, 3}), "T1\t5.0\t\r\nT2\t6.0\t32.0");
    // Columns 3 to 6 over the header and a tree row: the tree row has no cells or tabs after column 4.
    EXPECT_EQ(blockText(list, {0, 3, 1, 6}), "12\t5\t200\t1\r\n\t2");
}

TEST_F(GridTest, CopyPutsTheCurrentCellBlockOrWholeListOnTheClipboard) {
    load(2);
    click(2, 3);
    view.execute(kEditCopy);
    EXPECT_EQ(clipboard.text(), "32.0");
    selectBlock(0, 0, 1, 1);
    view.execute(kEditCopy);
    EXPECT_EQ(clipboard.text(), "1\tP1\r\n2\tT1");
    view.execute(kEditSelectAll);
    view.execute(kEditCopy);
    EXPECT_EQ(clipboard.text(), wholeListText(list()));
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(view.selectAll()); // Copy keeps the selection
}

TEST_F(GridTest, CutBlanksWhatItCopiedAndMarksModified) {
    load(2);
    click(1, 3);
    view.execute(kEditCut);
    EXPECT_EQ(clipboard.text(), "31.0");
    EXPECT_EQ(list().rows[0].height, kBlankReal);
    EXPECT_EQ(view.cellText(1, 3), "");
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(view.hasCurrentCell());

    selectBlock(0, 1, 2, 2);
    view.execute(kEditCut);
    EXPECT_EQ(clipboard.text(), "P1\t0.10\r\nT1\t5.0\r\nT2\t6.0");
    EXPECT_EQ(list().header.plotId, "");
    EXPECT_EQ(list().header.plotArea, kBlankReal);
    EXPECT_EQ(list().rows[1].dbh, kBlankReal);
    EXPECT_EQ(list().rows[1].height, 32.0f); // outside the block

    view.execute(kEditSelectAll);
    view.execute(kEditCut);
    for (int row = 0; row <= 2; ++row) {
        for (int column = 0; column < 12; ++column) {
            EXPECT_EQ(view.cellText(row, column), "") << row << "," << column;
        }
    }
    EXPECT_EQ(list().lastRow, 1); // the rows stay, blank
}

TEST_F(GridTest, ClipboardFailuresAreNamedAndCutThenKeepsTheCells) {
    const std::vector<std::pair<ClipboardStatus, std::string>> cases = {
        {ClipboardStatus::CannotOpen, "Cannot open the Clipboard"},
        {ClipboardStatus::CannotEmpty, "Cannot empty the Clipboard"},
        {ClipboardStatus::CannotSet, "Unable to set Clipboard data"},
    };
    load(2);
    for (const auto& [status, message] : cases) {
        ui.clear();
        clipboard.failWith(status);
        click(1, 1);
        view.execute(kEditCut);
        EXPECT_EQ(ui.texts(), std::vector<std::string>{message});
        EXPECT_EQ(list().rows[0].id, "T1");
        EXPECT_FALSE(doc.isModified());
    }
}

// ---- Measuring pasted text ----

struct ShapeCase {
    const char* text;
    TextShape shape;
    int lines;
};

class PasteShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(PasteShape, CountsRowsColumnsAndLines) {
    EXPECT_EQ(measurePasteText(GetParam().text), GetParam().shape) << GetParam().text;
    EXPECT_EQ(countPasteLines(GetParam().text), GetParam().lines) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Text, PasteShape,
                         ::testing::Values(ShapeCase{"", {1, 1}, 1}, ShapeCase{"5", {1, 1}, 1},
                                           ShapeCase{"a\tb\tc", {1, 3}, 1}, ShapeCase{"a\tb\tc\r\nd\te\tf", {2, 3}, 2},
                                           ShapeCase{"a\tb\r\nc\td\r\n", {2, 2}, 3}, // the final line end is not a row
                                           ShapeCase{
                                               "a\tb\t\r\nc\td\te\r\n", {2, 2}, 3}, // a tab that ends the first line
                                           ShapeCase{"a\nb\nc", {1, 1}, 1},         // lone line feeds
                                           ShapeCase{"\t\t\r\n\r\n", {2, 2}, 3}),
                         RowNumber());

struct ShapeMessageCase {
    GridBlock block;
    TextShape shape;
    std::optional<std::string> message;
};

class PasteShapeMessage : public ::testing::TestWithParam<ShapeMessageCase> {};

TEST_P(PasteShapeMessage, RefusesBlocksThatAreNotWholeMultiples) {
    EXPECT_EQ(pasteShapeMessage(GetParam().block, GetParam().shape), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Block, PasteShapeMessage,
    ::testing::Values(
        ShapeMessageCase{{1, 0, 4, 5}, {2, 3}, std::nullopt}, ShapeMessageCase{{0, 0, 0, 0}, {1, 1}, std::nullopt},
        ShapeMessageCase{{1, 0, 3, 5},
                         {2, 3},
                         "The size and shape of the rows\n in the copy and paste areas are not even multiples"},
        ShapeMessageCase{{1, 0, 4, 4},
                         {2, 3},
                         "The size and shape of the columns\n in the copy and paste areas are not even multiples"},
        ShapeMessageCase{
            {1, 0, 3, 4},
            {2, 3},
            "The size and shape of the rows and columns\n in the copy and paste areas are not even multiples"}),
    RowNumber());

// ---- Paste into the grid ----

TEST_F(GridTest, PasteTilesABlockThatIsAWholeMultipleOfTheText) {
    load(6);
    clipboard.setText("11\tA\t1.5\r\n12\tB\t2.5");
    selectBlock(1, 0, 4, 5); // 4 rows by 6 columns: tiles at columns 0 and 3 of rows 1 and 3
    view.execute(kEditPaste);
    EXPECT_TRUE(ui.messages().empty());
    for (int first : {1, 3}) {
        const TreeRow& top = list().rows[first - 1];
        const TreeRow& bottom = list().rows[first];
        EXPECT_EQ(top.code, 11);
        EXPECT_EQ(top.id, "A");
        EXPECT_EQ(top.dbh, 1.5f);
        EXPECT_EQ(bottom.code, 12);
        EXPECT_EQ(bottom.id, "B");
        EXPECT_EQ(bottom.dbh, 2.5f);
        // The second tile starts in column 3: its first cell is the height, its second the crown class (atoi
        // of "A"), its third falls beyond column 4.
        EXPECT_EQ(top.height, 11.0f);
        EXPECT_EQ(top.crownClass, 0);
        EXPECT_EQ(bottom.height, 12.0f);
    }
    EXPECT_EQ(list().rows[4].id, "T5"); // below the block
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(view.hasCurrentCell());
}

TEST_F(GridTest, PasteRefusesAMismatchedBlockWithACaptionedWarning) {
    load(6);
    clipboard.setText("11\tA\t1.5\r\n12\tB\t2.5");
    selectBlock(1, 0, 3, 5);
    view.execute(kEditPaste);
    ASSERT_EQ(ui.messages().size(), 1u);
    const fakes::RecordedMessage& m = ui.messages()[0];
    EXPECT_EQ(m.text, "The size and shape of the rows\n in the copy and paste areas are not even multiples");
    EXPECT_EQ(m.caption, "Paste unavailable");
    EXPECT_EQ(m.icon, Icon::Warning);
    EXPECT_EQ(list().rows[0].id, "T1");
    EXPECT_FALSE(doc.isModified());
}

TEST_F(GridTest, PasteNeedsACurrentCellAndClipboardText) {
    load(2);
    clipboard.setText("5");
    view.execute(kEditPaste);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Please select a cell, or block first"});

    const std::vector<std::pair<ClipboardReadStatus, std::string>> cases = {
        {ClipboardReadStatus::CannotOpen, "Cannot open the Clipboard"},
        {ClipboardReadStatus::NoText, "There is no text in the clipboard"},
        {ClipboardReadStatus::CannotGet, "Unable to get Clipboard data, application may be out of memory"},
    };
    for (const auto& [status, message] : cases) {
        ui.clear();
        clipboard.failReadWith(status);
        click(1, 0);
        view.execute(kEditPaste);
        EXPECT_EQ(ui.texts(), std::vector<std::string>{message});
        EXPECT_EQ(list().rows[0].code, 2);
        EXPECT_FALSE(doc.isModified());
    }
}

TEST_F(GridTest, PastingTenLinesOnTheLastRowAppendsNineRowsAndNoBlankOnes) {
    load(4);
    clipboard.setText(repeatLine("2\tN\t9.0\t40.0\t1\r\n", 10)); // ten lines and a final line end
    click(4, 0);
    view.execute(kEditPaste);
    ASSERT_EQ(list().lastRow, 12); // 4 rows + 9
    for (int i = 3; i <= 12; ++i) {
        EXPECT_EQ(list().rows[i].id, "N") << i;
        EXPECT_EQ(list().rows[i].crownClass, 1) << i;
    }
    EXPECT_TRUE(isBlankRow(list().rows[13]));
    EXPECT_EQ(view.scrollSize().height, 17 * 14 + 23);
}

TEST_F(GridTest, PasteAtACellSkipsCellsBeyondTheAreaAndNeverGrowsPast300Rows) {
    load(3);
    // From column 3 of a tree row the area reaches column 11, but tree rows hold columns 3 and 4 only.
    clipboard.setText("41.5\t2\t9\t9\t9\t9\t9\t9\t9\t9\r\n42.5\t3");
    click(2, 3);
    view.execute(kEditPaste);
    EXPECT_EQ(list().rows[1].height, 41.5f);
    EXPECT_EQ(list().rows[1].crownClass, 2);
    EXPECT_EQ(list().rows[2].height, 42.5f); // the next line starts again in column 3
    EXPECT_EQ(list().rows[2].crownClass, 3);
    EXPECT_EQ(list().lastRow, 2);

    // The header is 12 wide: cells beyond column 11 are skipped up to the line end.
    clipboard.setText(repeatLine("7\t", 13) + "7\r\n2\tX");
    click(0, 10);
    view.execute(kEditPaste);
    EXPECT_EQ(list().header.qhdwd, 7);
    EXPECT_EQ(list().header.hardwoodPercent, 7.0f);
    EXPECT_EQ(list().rows[0].height, 31.0f); // the next line goes to row 1 from column 10: no cells there
    EXPECT_EQ(list().rows[0].code, 2);

    load(298);
    view.setClientSize({800, 17 * 300}); // every row in view
    clipboard.setText(repeatLine("2\tZ\t1.0\t1.0\t1\r\n", 5));
    click(298, 0);
    view.execute(kEditPaste);
    EXPECT_EQ(list().lastRow, 299);
    EXPECT_EQ(list().rows[299].id, "Z");
}

TEST_F(GridTest, LoneLineFeedsStayInsideOneCell) {
    load(3);
    clipboard.setText("a\nb\tc");
    click(1, 1);
    view.execute(kEditPaste);
    EXPECT_EQ(list().rows[0].id, "a\nb");
    EXPECT_EQ(list().rows[0].dbh, 0.0f); // atof("c")
    EXPECT_EQ(list().rows[1].id, "T2");
    EXPECT_EQ(list().lastRow, 2);
}

TEST_F(GridTest, LongCellsAreCutTo50WithOneMessage) {
    load(3);
    const std::string sixty(60, 'x');
    clipboard.setText(sixty + "\r\n" + sixty);
    click(1, 1);
    view.execute(kEditPaste);
    EXPECT_EQ(list().rows[0].id, std::string(50, 'x'));
    EXPECT_EQ(list().rows[1].id, std::string(50, 'x'));
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{"Maximum cell string length of 50 was exceeded, the extra has been truncated"});
    EXPECT_TRUE(doc.isModified());
}

TEST_F(GridTest, ACopiedBlankPastesBackAsZero) {
    TreeList l = sampleList(3);
    l.rows[1].dbh = kBlankReal;
    load(l);
    selectBlock(1, 1, 2, 3);
    view.execute(kEditCopy);
    EXPECT_EQ(clipboard.text(), "T1\t5.0\t31.0\r\nT2\t\t32.0");
    selectBlock(1, 1, 2, 3);
    view.execute(kEditPaste);
    EXPECT_EQ(list().rows[1].dbh, 0.0f);
    EXPECT_EQ(view.cellText(2, 2), "0.0");
    EXPECT_EQ(list().rows[0].dbh, 5.0f);
}

TEST_F(GridTest, AWholeListCopyPastesBackUnderSelectAll) {
    load(4);
    view.execute(kEditSelectAll);
    view.execute(kEditCopy);
    TreeList changed = sampleList(4);
    changed.header.age = 30;
    changed.rows[3].dbh = 22.0f;
    load(changed);
    view.execute(kEditSelectAll);
    view.execute(kEditPaste);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(wholeListText(list()), wholeListText(sampleList(4)));
}

} // namespace
} // namespace grovex
