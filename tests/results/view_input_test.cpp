// Hit testing, mouse and keyboard selection and the scroll keys of the results view.

#include "view_fixture.h"

namespace grovex {
namespace {

using namespace cmd;

TEST_F(ViewTest, HitTestFindsTheCellAndClampsToTheTable) {
    CGROVEXView& v = open(2); // table 0: rows from 155 to 218; table 1: rows from 413 to 476
    const auto at = [&](int x, int y) { return v.hitTest({x, y}); };
    EXPECT_EQ(at(0, 155), (CellRef{0, 0, 0}));
    EXPECT_EQ(at(69, 175), (CellRef{0, 0, 0}));
    EXPECT_EQ(at(70, 176), (CellRef{0, 1, 1}));
    EXPECT_EQ(at(580, 218), (CellRef{0, 2, 6})); // right edge and bottom edge clamp to the last cell
    EXPECT_EQ(at(300, 450), (CellRef{1, 1, 3}));
    EXPECT_EQ(at(300, 476), (CellRef{1, 2, 3}));
    EXPECT_FALSE(at(581, 160)); // right of column 6
    EXPECT_FALSE(at(100, 154)); // headings
    EXPECT_FALSE(at(100, 240)); // between the tables
    EXPECT_FALSE(at(100, 500)); // below the last table
    EXPECT_FALSE(at(-1, 160));  // outside the client area
    EXPECT_FALSE(at(100, 600));

    v.setClientSize({800, 100});
    v.setScrollPosition({0, 400});
    EXPECT_EQ(at(10, 13), (CellRef{1, 0, 0})); // logical y 413
}

TEST_F(ViewTest, MouseDragSelectsARectangleInTheTableWhereItStarted) {
    CGROVEXView& v = open(2);
    v.OnLButtonDown(cellPoint(2, 1));
    EXPECT_EQ(host.captures, std::vector<bool>{true});
    EXPECT_TRUE(v.isCellSelected(0, 2, 1));
    v.OnMouseMove({300, 450}); // another table: ignored
    EXPECT_EQ(v.endRow(), -1);
    v.OnMouseMove(cellPoint(0, 3));
    v.OnLButtonUp();
    v.OnMouseMove(cellPoint(1, 1)); // no longer dragging
    EXPECT_EQ(host.captures, (std::vector<bool>{true, false}));
    EXPECT_EQ(v.selTable(), 0);
    EXPECT_EQ(v.anchorRow(), 2);
    EXPECT_EQ(v.anchorCol(), 1);
    EXPECT_EQ(v.endRow(), 0);
    EXPECT_EQ(v.endCol(), 3);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 7; ++c) {
            EXPECT_EQ(v.isCellSelected(0, r, c), c >= 1 && c <= 3) << r << "," << c;
        }
    }

    v.execute(kEditSelectAll);
    v.OnLButtonDown({700, 160}); // beside every table: nothing is current any more
    EXPECT_FALSE(v.selectAll());
    EXPECT_EQ(v.selTable(), -1);
    EXPECT_EQ(v.anchorRow(), -1);
    EXPECT_FALSE(v.isCellSelected(0, 0, 1));
    EXPECT_FALSE(v.isEnabled(kEditCopy));
}

TEST_F(ViewTest, KeysWithoutACurrentCell) {
    CGROVEXView& v = open(2);
    for (int id : {kCellUp, kCellLeft, kExtendUp, kExtendLeft, kCellDown, kExtendDown}) {
        v.execute(id); // Up and Left never start; Down needs a table that held a selection
        EXPECT_EQ(v.anchorRow(), -1) << id;
    }
    v.execute(kExtendRight);
    EXPECT_EQ(v.selTable(), 0);
    EXPECT_EQ(v.anchorRow(), 0);
    EXPECT_EQ(v.anchorCol(), 0);
    EXPECT_EQ(v.endRow(), -1);

    v.ClearSelection(false); // the table stays: now Down starts too
    v.execute(kCellDown);
    EXPECT_EQ(v.anchorRow(), 0);
    EXPECT_TRUE(v.isCellSelected(0, 0, 0));
}

TEST_F(ViewTest, CurrentCellMovesAcrossTablesWithinTheShownRange) {
    doc.display.firstShown = 1;
    addTables(1);
    CGROVEXView& v = open(2); // tables 1 and 2 shown
    v.execute(kCellRight);
    EXPECT_EQ(v.selTable(), 1);
    v.execute(kCellUp); // not before the first shown table
    EXPECT_EQ(v.selTable(), 1);
    EXPECT_EQ(v.anchorRow(), 0);
    for (int i = 0; i < 3; ++i) {
        v.execute(kCellDown);
    }
    EXPECT_EQ(v.selTable(), 2);
    EXPECT_EQ(v.anchorRow(), 0);
    for (int i = 0; i < 5; ++i) {
        v.execute(kCellDown); // stops at the last row of the last table
    }
    EXPECT_EQ(v.anchorRow(), 2);
    v.execute(kExtendLeft);
    v.execute(kCellUp); // drops the rectangle
    EXPECT_EQ(v.anchorRow(), 1);
    EXPECT_EQ(v.endRow(), -1);
    v.execute(kCellUp);
    v.execute(kCellUp);
    EXPECT_EQ(v.selTable(), 1);
    EXPECT_EQ(v.anchorRow(), 2);
    for (int i = 0; i < 9; ++i) {
        v.execute(kCellRight);
    }
    EXPECT_EQ(v.anchorCol(), 6);
    v.execute(kCellLeft);
    EXPECT_EQ(v.anchorCol(), 5);
    EXPECT_TRUE(v.isCellSelected(1, 2, 5));
    EXPECT_FALSE(v.isCellSelected(1, 2, 6));
}

TEST_F(ViewTest, ShiftKeysMoveTheOtherCornerWithinTheTable) {
    CGROVEXView& v = open(2);
    v.execute(kCellRight);
    v.execute(kCellRight); // current cell (0, 1)
    v.execute(kExtendUp);  // the corner starts at the current cell and stays in the table
    EXPECT_EQ(v.endRow(), 0);
    EXPECT_EQ(v.endCol(), 1);
    for (int i = 0; i < 4; ++i) {
        v.execute(kExtendDown);
    }
    v.execute(kExtendLeft);
    v.execute(kExtendLeft);
    EXPECT_EQ(v.endRow(), 2);
    EXPECT_EQ(v.endCol(), 0);
    EXPECT_EQ(v.selTable(), 0);
    EXPECT_TRUE(v.isCellSelected(0, 2, 0));
    EXPECT_TRUE(v.isCellSelected(0, 0, 1));
    EXPECT_FALSE(v.isCellSelected(0, 0, 2));
    v.execute(kExtendRight);
    EXPECT_EQ(v.endCol(), 1);
    EXPECT_FALSE(v.isCellSelected(0, 1, 0));
}

struct ScrollCase {
    int id;
    Point expected; // from (100, 200) in a 300 by 300 client area, line height 21
};

class ScrollKeyTest : public ViewTest, public testing::WithParamInterface<ScrollCase> {};

TEST_P(ScrollKeyTest, ScrollsByItsAmount) {
    CGROVEXView& v = open(4); // 593 by 1025
    v.setClientSize({300, 300});
    v.setScrollPosition({100, 200});
    EXPECT_TRUE(v.execute(GetParam().id));
    EXPECT_EQ(v.scrollPosition().x, GetParam().expected.x);
    EXPECT_EQ(v.scrollPosition().y, GetParam().expected.y);
}

INSTANTIATE_TEST_SUITE_P(Keys, ScrollKeyTest,
                         testing::Values(ScrollCase{kLineDown, {100, 221}}, ScrollCase{kLineUp, {100, 179}},
                                         ScrollCase{kPageDown, {100, 480}}, ScrollCase{kPageUp, {100, 0}},
                                         ScrollCase{kScrollLeft, {95, 200}}, ScrollCase{kScrollRight, {105, 200}},
                                         ScrollCase{kCtrlLeft, {105, 200}}, ScrollCase{kCtrlRight, {95, 200}}));

} // namespace
} // namespace grovex
