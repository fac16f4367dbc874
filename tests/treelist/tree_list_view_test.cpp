// The tree list grid: hit testing, mouse and keyboard selection, in-place editing, inserting and deleting rows,
// drawing and printing.

#include "support/case_names.h"
#include "tree_list_view_fixture.h"
#include "treelist/tree_list_clipboard.h"

#include <algorithm>
#include <functional>

namespace grovex {
namespace {

using namespace cmd;

// ---- Hit testing ----

struct HitCase {
    const char* what;
    Point client;
    std::optional<GridCell> cell;
};

class HitTest : public GridTest, public ::testing::WithParamInterface<HitCase> {};

TEST_P(HitTest, FindsTheCellOrNone) {
    load(3); // grid rows 0 to 3 end at y 68, which is also the bound 17 x (last row + 2)
    EXPECT_EQ(view.hitTest(GetParam().client), GetParam().cell);
}

INSTANTIATE_TEST_SUITE_P(Grid, HitTest,
                         ::testing::Values(HitCase{"top-left", {0, 0}, GridCell{0, 0}},
                                           HitCase{"header, beyond column 11, clamps", {660, 5}, GridCell{0, 11}},
                                           HitCase{"x 661 is outside", {661, 5}, std::nullopt},
                                           HitCase{"tree row beside its cells", {600, 20}, GridCell{1, 10}},
                                           HitCase{"tree row at x 660", {660, 20}, GridCell{1, 12}},
                                           HitCase{"on the bound", {10, 68}, GridCell{3, 0}},
                                           HitCase{"beyond 17 x (last row + 2)", {10, 69}, std::nullopt},
                                           HitCase{"outside the client area", {-1, 5}, std::nullopt},
                                           HitCase{"below the client area", {10, 600}, std::nullopt}),
                         RowNumber());

TEST_F(GridTest, HitTestAddsTheScrollPositionAndFindsNothingWithoutAList) {
    EXPECT_FALSE(view.hitTest({5, 5}));
    load(40);
    view.setClientSize({300, 100});
    view.setScrollPosition({100, 170});
    EXPECT_EQ(view.hitTest({10, 5}), (GridCell{10, 2})); // logical (110, 175)
}

// ---- Cell names ----

// The status bar names the current cell and a tool tip the cell under the pointer, with the names the
// messages of a refused save use.
TEST_F(GridTest, TheCurrentCellAndTheCellUnderThePointerAreNamedWithTheirUnits) {
    EXPECT_EQ(view.cellDescriptionAt(cellPoint(0, 2)), ""); // no list yet
    load(12);
    EXPECT_EQ(view.currentCellDescription(), "");
    click(12, 3);
    EXPECT_EQ(view.currentCellDescription(), "Row 12, Height (feet)");
    view.execute(kCellRight);
    EXPECT_EQ(view.currentCellDescription(), "Row 12, Crown class");

    const std::string header[] = {"Header, Record code (always 1)",
                                  "Header, Plot ID",
                                  "Header, Plot area (acres)",
                                  "Header, Age (growing seasons)",
                                  "Header, Fertilization age (growing seasons)",
                                  "Header, Nitrogen (pounds per acre)",
                                  "Header, Phosphorus (1 yes, 0 no)",
                                  "Header, Thinning age (growing seasons, 0 when never thinned)",
                                  "Header, Basal area after thinning (square feet per acre)",
                                  "Header, Basal area before thinning (square feet per acre)",
                                  "Header, Hardwood (1 yes, 0 no)",
                                  "Header, Hardwood percent (percent of basal area)"};
    for (int column = 0; column < 12; ++column) {
        EXPECT_EQ(view.cellDescriptionAt(cellPoint(0, column)), header[column]);
    }
    const std::string tree[] = {"Row 3, Record code (always 2)", "Row 3, Tree ID", "Row 3, DBH (inches)",
                                "Row 3, Height (feet)", "Row 3, Crown class"};
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(view.cellDescriptionAt(cellPoint(3, column)), tree[column]);
    }
    // Beside a tree row's cells, below the last row, and scrolled.
    EXPECT_EQ(view.cellDescriptionAt(cellPoint(3, 5)), "");
    EXPECT_EQ(view.cellDescriptionAt({10, 17 * 13 + 5}), "");
    view.setClientSize({300, 100});
    view.setScrollPosition({0, 17 * 5});
    EXPECT_EQ(view.cellDescriptionAt(cellPoint(0, 2)), "Row 5, DBH (inches)");
}

// ---- Mouse ----

TEST_F(GridTest, ClickAndDragSelectABlock) {
    load(5);
    view.OnLButtonDown(cellPoint(2, 1));
    EXPECT_EQ(host.captures, std::vector<bool>{true});
    EXPECT_EQ(view.anchor(), (GridCell{2, 1}));
    EXPECT_EQ(view.end(), (GridCell{-1, -1}));
    view.OnMouseMove(cellPoint(2, 1)); // the anchor itself: no block yet
    EXPECT_FALSE(view.hasBlock());
    view.OnMouseMove(cellPoint(4, 3));
    view.OnLButtonUp();
    view.OnMouseMove(cellPoint(5, 4)); // no longer dragging
    EXPECT_EQ(host.captures, (std::vector<bool>{true, false}));
    EXPECT_EQ(view.end(), (GridCell{4, 3}));
    for (int r = 0; r <= 5; ++r) {
        for (int c = 0; c < 12; ++c) {
            EXPECT_EQ(view.isCellSelected(r, c), r >= 2 && r <= 4 && c >= 1 && c <= 3) << r << "," << c;
        }
    }
}

TEST_F(GridTest, ClickOnNoCellClearsTheSelectionAndSelectAll) {
    load(3);
    selectBlock(1, 0, 2, 2);
    view.execute(kEditSelectAll);
    EXPECT_TRUE(view.selectAll());
    view.OnLButtonDown({10, 17 * 5 + 1}); // below the last row
    EXPECT_FALSE(view.selectAll());
    EXPECT_FALSE(view.hasCurrentCell());
    EXPECT_FALSE(view.isCellSelected(1, 0));
    EXPECT_TRUE(host.captures.empty() || host.captures.back() == false);
    EXPECT_FALSE(view.isEnabled(kEditCopy));
}

TEST_F(GridTest, DraggingOutsideTheWindowScrollsOneRowEveryFourthMove) {
    load(100); // scroll height 17 x 101 + 23 = 1740
    view.setClientSize({700, 200});
    view.setScrollPosition({0, 340});
    view.OnLButtonDown(cellPoint(1, 0));
    for (int i = 0; i < 3; ++i) {
        view.OnMouseMove({10, 250});
    }
    EXPECT_EQ(view.scrollPosition().y, 340);
    view.OnMouseMove({10, 250});
    EXPECT_EQ(view.scrollPosition().y, 357);
    for (int i = 0; i < 8; ++i) {
        view.OnMouseMove({10, -5});
    }
    EXPECT_EQ(view.scrollPosition().y, 323);

    view.setScrollPosition({0, 1540}); // the bottom: no rows remain below
    for (int i = 0; i < 8; ++i) {
        view.OnMouseMove({10, 250});
    }
    EXPECT_EQ(view.scrollPosition().y, 1540);
}

TEST_F(GridTest, DoubleClickOpensTheEditorAndIgnoresPlacesWithoutData) {
    load(3);
    view.OnLButtonDblClk({10, 17 * 5 + 1});
    doubleClick(2, 7); // a tree row has no column 7
    EXPECT_FALSE(view.editing());
    doubleClick(2, 1);
    EXPECT_TRUE(view.editing());
    EXPECT_EQ(view.editCell(), (GridCell{2, 1}));
    EXPECT_TRUE(host.editorShown);
    EXPECT_EQ(host.editorText, "T2");
}

TEST_F(GridTest, ClickCommitsTheOpenEditor) {
    load(3);
    doubleClick(1, 2);
    view.setEditorText("7.25");
    view.OnLButtonDown(cellPoint(3, 0));
    EXPECT_FALSE(view.editing());
    EXPECT_FALSE(host.editorShown);
    EXPECT_FLOAT_EQ(list().rows[0].dbh, 7.25f);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(view.anchor(), (GridCell{3, 0}));
}

// ---- Keys ----

struct MoveCase {
    const char* what;
    GridCell from; // {-1, -1}: no current cell
    int key;
    GridCell to;
};

class CurrentCellKeys : public GridTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(CurrentCellKeys, MoveTheCurrentCellAndSelectOnlyIt) {
    load(3); // grid rows 0 to 3
    const MoveCase& c = GetParam();
    if (c.from.row >= 0) {
        click(c.from.row, c.from.column);
        view.execute(kExtendDown); // a block, which moving the current cell clears
    }
    view.execute(c.key);
    EXPECT_EQ(view.anchor(), c.to) << c.what;
    if (c.to.row >= 0 && c.to != c.from) {
        EXPECT_FALSE(view.hasBlock()) << c.what;
        EXPECT_TRUE(view.isCellSelected(c.to.row, c.to.column)) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Grid, CurrentCellKeys,
    ::testing::Values(MoveCase{"down from none", {-1, -1}, kCellDown, {0, 0}},
                      MoveCase{"right from none", {-1, -1}, kCellRight, {0, 0}},
                      MoveCase{"up from none", {-1, -1}, kCellUp, {-1, -1}},
                      MoveCase{"left from none", {-1, -1}, kCellLeft, {-1, -1}},
                      MoveCase{"down", {1, 3}, kCellDown, {2, 3}},
                      MoveCase{"down from the header keeps within the tree columns", {0, 9}, kCellDown, {1, 4}},
                      MoveCase{"down on the last row stays", {3, 2}, kCellDown, {3, 2}},
                      MoveCase{"up to the header", {1, 4}, kCellUp, {0, 4}},
                      MoveCase{"up on the header stays", {0, 6}, kCellUp, {0, 6}},
                      MoveCase{"right along the header", {0, 10}, kCellRight, {0, 11}},
                      MoveCase{"right from header cell 11", {0, 11}, kCellRight, {1, 0}},
                      MoveCase{"right from the second-to-last row's last cell", {2, 4}, kCellRight, {3, 0}},
                      MoveCase{"right on the last cell stays", {3, 4}, kCellRight, {3, 4}},
                      MoveCase{"left", {2, 3}, kCellLeft, {2, 2}},
                      MoveCase{"left from row 1 to header cell 11", {1, 0}, kCellLeft, {0, 11}},
                      MoveCase{"left from a later row to cell 4 above", {3, 0}, kCellLeft, {2, 4}},
                      MoveCase{"left on the first cell stays", {0, 0}, kCellLeft, {0, 0}}),
    RowNumber());

struct ExtendCase {
    const char* what;
    GridCell from; // {-1, -1}: no current cell
    std::vector<int> keys;
    GridCell anchor;
    GridCell end;
};

class ExtendKeys : public GridTest, public ::testing::WithParamInterface<ExtendCase> {};

TEST_P(ExtendKeys, MoveTheEndOfTheBlock) {
    load(3);
    const ExtendCase& c = GetParam();
    if (c.from.row >= 0) {
        click(c.from.row, c.from.column);
    }
    for (int key : c.keys) {
        view.execute(key);
    }
    EXPECT_EQ(view.anchor(), c.anchor) << c.what;
    EXPECT_EQ(view.end(), c.end) << c.what;
    if (c.end.row >= 0) {
        const GridBlock b{std::min(c.anchor.row, c.end.row), std::min(c.anchor.column, c.end.column),
                          std::max(c.anchor.row, c.end.row), std::max(c.anchor.column, c.end.column)};
        for (int r = 0; r <= 3; ++r) {
            for (int col = 0; col < 12; ++col) {
                const bool inside = r >= b.top && r <= b.bottom && col >= b.left && col <= b.right;
                EXPECT_EQ(view.isCellSelected(r, col), inside) << c.what << " " << r << "," << col;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Grid, ExtendKeys,
    ::testing::Values(
        ExtendCase{"down from none selects (0, 0)", {-1, -1}, {kExtendDown}, {0, 0}, {-1, -1}},
        ExtendCase{"right from none selects (0, 0)", {-1, -1}, {kExtendRight}, {0, 0}, {-1, -1}},
        ExtendCase{"up from none does nothing", {-1, -1}, {kExtendUp, kExtendLeft}, {-1, -1}, {-1, -1}},
        ExtendCase{"down stops at the last row", {1, 1}, {kExtendDown, kExtendDown, kExtendDown}, {1, 1}, {3, 1}},
        ExtendCase{"up stops at the header", {1, 1}, {kExtendUp, kExtendUp}, {1, 1}, {0, 1}},
        ExtendCase{"right stops at 4 from a tree row", {1, 3}, {kExtendRight, kExtendRight}, {1, 3}, {1, 4}},
        ExtendCase{"right reaches 11 from the header", {0, 10}, {kExtendRight, kExtendRight}, {0, 10}, {0, 11}},
        ExtendCase{"left stops at 0", {2, 1}, {kExtendLeft, kExtendLeft, kExtendUp}, {2, 1}, {1, 0}}),
    RowNumber());

TEST_F(GridTest, SelectionKeysDoNothingWhileEditing) {
    load(3);
    doubleClick(1, 1);
    view.setEditorText("X9");
    const Point before = view.scrollPosition();
    for (int key : {kCellDown, kCellUp, kCellRight, kCellLeft, kExtendDown, kExtendUp, kExtendRight, kExtendLeft,
                    kCtrlLeft, kCtrlRight}) {
        EXPECT_TRUE(view.execute(key));
        EXPECT_TRUE(view.editing()) << key;
    }
    EXPECT_EQ(view.anchor(), (GridCell{1, 1}));
    EXPECT_EQ(view.scrollPosition().x, before.x);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(GridTest, ScrollKeysCommitTheEditorAndScroll) {
    load(100);
    view.setClientSize({300, 200});
    doubleClick(1, 1);
    view.setEditorText("X9");
    view.execute(kLineDown);
    EXPECT_FALSE(view.editing());
    EXPECT_EQ(list().rows[0].id, "X9");
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(view.scrollPosition().y, 5);
    view.execute(kPageDown);
    EXPECT_EQ(view.scrollPosition().y, 185); // client height - 20
    view.execute(kPageUp);
    view.execute(kLineUp);
    EXPECT_EQ(view.scrollPosition().y, 0);
    view.execute(kScrollRight);
    view.execute(kCtrlLeft); // Ctrl+Left scrolls right
    EXPECT_EQ(view.scrollPosition().x, 10);
    view.execute(kCtrlRight);
    view.execute(kScrollLeft);
    EXPECT_EQ(view.scrollPosition().x, 0);
}

TEST_F(GridTest, TabAndShiftTabCommitMoveAndOpenTheEditor) {
    load(3);
    view.execute(kGridTab); // no current cell: (0, 0)
    EXPECT_TRUE(view.editing());
    EXPECT_EQ(view.editCell(), (GridCell{0, 0}));
    EXPECT_EQ(host.editorText, "1");
    view.setEditorText("4");
    view.execute(kGridBackTab); // commits, stays on (0, 0) and reopens there
    EXPECT_EQ(list().header.code, 4);
    EXPECT_EQ(view.editCell(), (GridCell{0, 0}));

    click(1, 4);
    view.execute(kGridTab);
    EXPECT_EQ(view.editCell(), (GridCell{2, 0}));
    view.execute(kGridBackTab);
    EXPECT_EQ(view.editCell(), (GridCell{1, 4}));
    EXPECT_EQ(view.anchor(), (GridCell{1, 4}));
}

TEST_F(GridTest, EnterOpensOnTheCurrentCellAndCommitsWhenEditing) {
    load(3);
    view.execute(kGridEnter);
    EXPECT_EQ(view.editCell(), (GridCell{0, 0}));
    EXPECT_TRUE(view.isCellSelected(0, 0));
    view.execute(kGridEnter);
    EXPECT_FALSE(view.editing());
    EXPECT_TRUE(doc.isModified());

    selectBlock(2, 2, 3, 3);
    view.execute(kGridEnter); // the current cell alone, without the block
    EXPECT_EQ(view.editCell(), (GridCell{2, 2}));
    EXPECT_FALSE(view.hasBlock());
    EXPECT_FALSE(view.isCellSelected(3, 3));
}

// ---- In-place editing ----

TEST_F(GridTest, EditorRectangleGrowsToTheSampleTextAndIsAlways55Wider) {
    load(40);
    view.setScrollPosition({0, 10});
    view.OnLButtonDblClk({55 * 3 + 5, 17 * 2 - 10 + 5});
    // "cell" is 4 x 7 = 28 wide and 17 high in the 14-pixel fake font: 28 + 4 + 13 = 45 keeps the width 55,
    // 17 + 13 = 30 enlarges the height; then 55 wider.
    const Rect expected{165, 24, 165 + 110, 24 + 30};
    EXPECT_EQ(view.editorRect().left, expected.left);
    EXPECT_EQ(view.editorRect().top, expected.top);
    EXPECT_EQ(view.editorRect().right, expected.right);
    EXPECT_EQ(view.editorRect().bottom, expected.bottom);
    EXPECT_EQ(host.editorRect.right, expected.right);
}

TEST_F(GridTest, EditorTextIsTheCellFormatOrEmptyForABlank) {
    TreeList l = sampleList(2);
    l.header.plotArea = kBlankReal;
    l.rows[0].height = kBlankReal;
    l.rows[1].code = kBlankInt;
    load(l);
    const auto textAt = [&](int row, int column) {
        doubleClick(row, column);
        std::string text = view.editorText();
        view.escapeEdit(text);
        return text;
    };
    EXPECT_EQ(textAt(0, 2), "");     // "-1.00"
    EXPECT_EQ(textAt(1, 3), "");     // "-1.0"
    EXPECT_EQ(textAt(2, 0), "");     // "-1"
    EXPECT_EQ(textAt(0, 8), "80.0"); // "%.1f"
    EXPECT_EQ(textAt(0, 5), "200");  // "%d"
    EXPECT_EQ(textAt(2, 2), "6.0");
    l.header.plotArea = 0.125f;
    load(l);
    EXPECT_EQ(textAt(0, 2), "0.12"); // "%.2f"
}

TEST_F(GridTest, EscapeKeepsTheTypedValueWithoutMarkingModified) {
    load(3);
    doubleClick(2, 3);
    view.escapeEdit("41.5");
    EXPECT_FALSE(view.editing());
    EXPECT_FALSE(host.editorShown);
    EXPECT_FLOAT_EQ(list().rows[1].height, 41.5f);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(GridTest, CommitStoresThroughAtoiAndAtofSoEmptyNumbersBecomeZero) {
    load(3);
    const auto commit = [&](int row, int column, const char* text) {
        doubleClick(row, column);
        view.commitEdit(text);
    };
    commit(1, 0, "");
    commit(1, 2, "");
    commit(1, 1, "");
    commit(2, 4, "3rd");
    commit(2, 3, "12.46ft");
    commit(0, 1, "  Plot 7  ");
    EXPECT_EQ(list().rows[0].code, 0);
    EXPECT_EQ(view.cellText(1, 0), "0");
    EXPECT_EQ(view.cellText(1, 2), "0.0");
    EXPECT_EQ(list().rows[0].id, ""); // an identifier stays empty: a blank
    EXPECT_EQ(list().rows[1].crownClass, 3);
    EXPECT_EQ(view.cellText(2, 3), "12.5");
    EXPECT_EQ(list().header.plotId, "  Plot 7  ");
    EXPECT_TRUE(doc.isModified());

    doubleClick(3, 1);
    view.setEditorText("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(view.editorText(), "ABCDEFGHIJKLMNOPQRST"); // 20 characters
    view.commitEdit("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(list().rows[2].id, "ABCDEFGHIJKLMNOPQRST");
}

TEST_F(GridTest, CrownClassWithADominantHeightAsksFirst) {
    TreeList l = sampleList(3);
    l.header.dominantHeight = 65.3f;
    load(l);
    const std::string question = "The Dominant Height is set at  65.3, the Crown Class is currently not used.\n\n"
                                 "  Delete the Dominant Height value and use Crown Class instead?";

    ui.queueAnswer(Answer::No);
    doubleClick(2, 4);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, question);
    EXPECT_EQ(ui.messages()[0].buttons, Buttons::YesNo);
    EXPECT_FALSE(view.editing());
    EXPECT_FLOAT_EQ(list().header.dominantHeight, 65.3f);
    EXPECT_EQ(list().rows[1].crownClass, 3);

    doubleClick(2, 3); // the height: no question
    view.escapeEdit(view.editorText());
    EXPECT_EQ(ui.messages().size(), 1u);

    ui.queueAnswer(Answer::Yes);
    doubleClick(2, 4);
    EXPECT_EQ(ui.messages().size(), 2u);
    EXPECT_TRUE(view.editing());
    EXPECT_FALSE(list().hasDominantHeight());
    doubleClick(3, 4); // asked once: the dominant height is gone
    EXPECT_EQ(ui.messages().size(), 2u);
}

// ---- Insert and delete rows ----

TEST_F(GridTest, InsertRowsAfterTheSelection) {
    struct Case {
        const char* what;
        std::function<void()> select;
        std::vector<std::string> ids; // identifiers after inserting two rows
    };
    const std::vector<Case> cases = {
        {"nothing selected: at the top", [] {}, {"", "", "T1", "T2", "T3"}},
        {"the header: at the top", [&] { click(0, 5); }, {"", "", "T1", "T2", "T3"}},
        {"current cell: after its row", [&] { click(2, 1); }, {"T1", "T2", "", "", "T3"}},
        {"block: after its bottom row", [&] { selectBlock(2, 0, 1, 3); }, {"T1", "T2", "", "", "T3"}},
        {"select all: after the last row", [&] { view.execute(kEditSelectAll); }, {"T1", "T2", "T3", "", ""}},
    };
    rowCountAnswer = 2;
    for (const Case& c : cases) {
        load(3);
        c.select();
        view.execute(kInsertRow);
        ASSERT_EQ(list().lastRow, 4) << c.what;
        std::vector<std::string> ids;
        for (int i = 0; i <= 4; ++i) {
            ids.push_back(list().rows[i].id);
        }
        EXPECT_EQ(ids, c.ids) << c.what;
        EXPECT_TRUE(doc.isModified()) << c.what;
        EXPECT_FALSE(view.hasCurrentCell()) << c.what;
        EXPECT_FALSE(view.selectAll()) << c.what;
        EXPECT_EQ(view.scrollSize().width, 683);
        EXPECT_EQ(view.scrollSize().height, 17 * 6 + 23);
    }
    const TreeRow& inserted = list().rows[3];
    EXPECT_TRUE(inserted.code == kBlankInt && inserted.dbh == kBlankReal && inserted.height == kBlankReal &&
                inserted.crownClass == kBlankInt);
}

TEST_F(GridTest, InsertRowsStopsAt300RowsAndCancelDoesNothing) {
    load(295);
    rowCountAnswer = 10;
    view.execute(kInsertRow);
    EXPECT_EQ(list().lastRow, 299);
    EXPECT_EQ(list().rows[299].id, "T295");
    EXPECT_EQ(list().rows[4].id, "");
    EXPECT_EQ(list().rows[5].id, "T1");

    doc.setModified(false);
    view.execute(kInsertRow); // full: nothing
    EXPECT_EQ(list().lastRow, 299);
    EXPECT_FALSE(doc.isModified());

    load(3);
    rowCountAnswer = std::nullopt;
    view.execute(kInsertRow);
    EXPECT_EQ(list().lastRow, 2);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(GridTest, InsertRowsOnAnEmptyViewStartsABlankList) {
    for (const int count : {1, 3}) {
        view.resetGrid();
        rowCountAnswer = count;
        view.execute(kInsertRow);
        EXPECT_TRUE(list().loaded);
        EXPECT_EQ(list().lastRow, count - 2) << count; // the header counts as one of the rows
        EXPECT_EQ(list().header.code, kBlankInt);
        EXPECT_EQ(list().header.plotId, "");
        EXPECT_EQ(list().header.hardwoodPercent, kBlankReal);
        EXPECT_FALSE(list().hasDominantHeight());
        for (int row = 0; row <= count - 1; ++row) {
            for (int column = 0; column < 12; ++column) {
                EXPECT_EQ(view.cellText(row, column), "") << row << "," << column;
            }
        }
        EXPECT_EQ(view.scrollSize().height, 17 * count + 23);
    }
}

TEST_F(GridTest, DeleteRemovesTheSelectedRows) {
    load(5);
    click(4, 2); // second-to-last
    view.execute(kDeleteSelectedRows);
    ASSERT_EQ(list().lastRow, 3);
    EXPECT_EQ(list().rows[3].id, "T5");
    EXPECT_EQ(list().rows[4].id, ""); // the freed slot is blank again
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(view.hasCurrentCell());
    EXPECT_EQ(view.scrollSize().height, 17 * 5 + 23);

    selectBlock(0, 3, 2, 1); // a block starting on the header starts at the first tree row
    view.execute(kDeleteSelectedRows);
    ASSERT_EQ(list().lastRow, 1);
    EXPECT_EQ(list().rows[0].id, "T3");
    EXPECT_EQ(list().header.code, 1);

    doc.setModified(false);
    click(0, 4); // only the header: nothing
    view.execute(kDeleteSelectedRows);
    EXPECT_EQ(list().lastRow, 1);
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(GridTest, DeleteNeedsASelectionAndSelectAllDiscardsTheList) {
    load(3);
    view.execute(kDeleteSelectedRows);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Please make a selection first"});
    EXPECT_EQ(list().lastRow, 2);
    EXPECT_FALSE(doc.isModified());

    view.execute(kEditSelectAll);
    view.execute(kDeleteSelectedRows);
    EXPECT_FALSE(list().loaded);
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(view.selectAll());
    fakes::FakeCanvas canvas;
    view.OnDraw(canvas);
    EXPECT_EQ(canvas.texts(), std::vector<std::string>{"No Tree List Available"});
}

// ---- Commands ----

TEST_F(GridTest, ClipboardAndSelectAllNeedAList) {
    EXPECT_FALSE(view.isEnabled(kEditSelectAll));
    EXPECT_FALSE(view.isEnabled(kFilePrint));
    view.execute(kEditSelectAll);
    EXPECT_FALSE(view.selectAll());
    load(2);
    EXPECT_TRUE(view.isEnabled(kEditSelectAll));
    EXPECT_TRUE(view.isEnabled(kFilePrintPreview));
    for (int id : {kEditCopy, kEditCut, kEditPaste}) {
        EXPECT_FALSE(view.isEnabled(id)) << id;
    }
    view.execute(kEditSelectAll);
    EXPECT_TRUE(view.isEnabled(kEditPaste));
    click(1, 1);
    EXPECT_TRUE(view.isEnabled(kEditCut));
    EXPECT_FALSE(view.execute(12345));
}

// ---- Drawing ----

TEST_F(GridTest, DrawsCellsCentredWithBlanksEmptyAndTheSelectionInverse) {
    TreeList l = sampleList(2);
    l.rows[1].dbh = kBlankReal;
    load(l);
    click(1, 2);
    fakes::FakeCanvas canvas;
    view.OnDraw(canvas);
    const auto fills = canvas.callsOf(fakes::Draw::Fill);
    ASSERT_GE(fills.size(), 2u);
    EXPECT_EQ(fills[0].fill, kWhite);
    std::vector<std::string> texts;
    for (const fakes::DrawCall& call : canvas.callsOf(fakes::Draw::Text)) {
        texts.push_back(call.text);
        EXPECT_EQ(call.align, TextAlign::Center);
        EXPECT_EQ(call.rect.width(), 55);
        EXPECT_EQ(call.rect.height(), 17);
        const bool selected = call.rect.left == 110 && call.rect.top == 17;
        EXPECT_EQ(call.textColor, selected ? kWhite : kBlack) << call.text;
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{"1",    "P1", "0.10", "12",  "5",    "200", "1", "10", "80.0", "120.0", "1",
                                        "12.5", "2",  "T1",   "5.0", "31.0", "2",   "2", "T2", "32.0", "3"}));
    const auto black = std::count_if(fills.begin(), fills.end(), [](const auto& f) { return f.fill == kBlack; });
    EXPECT_EQ(black, 1);

    canvas.clear();
    view.execute(kEditSelectAll);
    view.OnDraw(canvas);
    for (const fakes::DrawCall& call : canvas.callsOf(fakes::Draw::Text)) {
        EXPECT_EQ(call.textColor, kWhite) << call.text;
    }
    EXPECT_EQ(canvas.callsOf(fakes::Draw::Fill).size(), 1u + 12 + 2 * 5);
}

// ---- Printing ----

TEST_F(GridTest, PrintsInPagesAcrossThenDownWithAFooter) {
    load(20); // scroll extent 683 by 17 x 21 + 23 = 380
    doc.setTitle("plot7.dat");
    click(1, 1);
    // Fake printer font: "W" is 7 wide and a line 17 high. Page 500 - 7 = 493 by 300 - 34 = 266.
    const PrintPlan plan = view.OnBeginPrinting(metrics, {500, 300});
    EXPECT_EQ(view.pageWidth(), 493);
    EXPECT_EQ(view.pageHeight(), 266);
    EXPECT_EQ(plan.pagesAcross, 2);
    EXPECT_EQ(plan.pagesDown, 2);
    const auto origin = [&](int page) {
        const Point p = view.pageOrigin(page);
        return std::pair{p.x, p.y};
    };
    EXPECT_EQ(origin(1), std::pair(0, 0));
    EXPECT_EQ(origin(2), std::pair(493, 0));
    EXPECT_EQ(origin(3), std::pair(0, 266));
    EXPECT_EQ(origin(4), std::pair(493, 266));

    fakes::FakeCanvas printer;
    view.OnPrintPage(printer, 3);
    const auto texts = printer.callsOf(fakes::Draw::Text);
    ASSERT_FALSE(texts.empty());
    const fakes::DrawCall& footer = texts.back();
    EXPECT_EQ(footer.text, "       plot7.dat      page  3");
    EXPECT_EQ(footer.align, TextAlign::Left);
    EXPECT_EQ(footer.rect.top, 266 + 300 - 17);
    EXPECT_EQ(footer.rect.bottom, 266 + 300);
    const auto lineTo = printer.callsOf(fakes::Draw::LineTo).back();
    EXPECT_EQ(lineTo.point.x, 300);
    EXPECT_EQ(lineTo.point.y, 266 + 300 - 17);
    for (const fakes::DrawCall& call : texts) {
        EXPECT_EQ(call.textColor, kBlack) << call.text; // the selection is not printed
    }

    const int repaints = host.repaints;
    view.OnEndPrinting();
    EXPECT_GT(host.repaints, repaints);
}

} // namespace
} // namespace grovex
