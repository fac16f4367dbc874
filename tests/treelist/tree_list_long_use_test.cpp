// A tree list of the full 300 rows through the file, the grid, the clipboard and row insertion.

#include "tree_list_view_fixture.h"
#include "treelist/tree_list_clipboard.h"
#include "treelist/tree_list_file.h"

#include <filesystem>
#include <random>

namespace grovex {
namespace {

using namespace cmd;

// 300 rows whose values all fit their fields: DBH 4.0 to 13.5, heights 30 to 79, crown classes 1 to 4.
TreeList fullList() {
    TreeList list = sampleList(0);
    for (int r = 1; r <= kMaxTreeRows; ++r) {
        list.rows[static_cast<size_t>(r - 1)] = {2, cformat("T%d", r), 4.0f + static_cast<float>(r % 20) * 0.5f,
                                                 30.0f + static_cast<float>(r % 50), 1 + r % 4};
    }
    list.lastRow = kMaxTreeRows - 1;
    return list;
}

void expectSameRows(const TreeList& a, const TreeList& b) {
    ASSERT_EQ(a.lastRow, b.lastRow);
    for (int r = 0; r <= a.lastRow; ++r) {
        const TreeRow& x = a.rows[static_cast<size_t>(r)];
        const TreeRow& y = b.rows[static_cast<size_t>(r)];
        ASSERT_TRUE(x.code == y.code && x.id == y.id && x.dbh == y.dbh && x.height == y.height &&
                    x.crownClass == y.crownClass)
            << "row " << r + 1;
    }
}

TEST(TreeListLongUse, AFullListWritesAndReadsBackWholeAndALongerFileKeepsTheFirst300) {
    const TreeList full = fullList();
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("grovex_full_list_" + std::to_string(std::random_device()()) + ".dat");
    fakes::RecordingUi ui;
    ASSERT_FALSE(unfitValueMessage(full).has_value());
    ASSERT_TRUE(writeTreeListFile(path.string(), full, ui));
    TreeList read;
    EXPECT_EQ(readTreeListFile(path.string(), read, ui), TreeListReadStatus::Complete);
    std::filesystem::remove(path);
    EXPECT_TRUE(read.loaded);
    expectSameRows(read, full);
    EXPECT_EQ(treeListText(read), treeListText(full));
    EXPECT_TRUE(ui.messages().empty());

    // One line more: the first 300 are kept and the user is told.
    std::string longer = treeListText(full);
    const size_t lastLine = longer.rfind('\n', longer.size() - 2) + 1;
    longer += longer.substr(lastLine);
    TreeList cut;
    EXPECT_EQ(readTreeList({reinterpret_cast<const uint8_t*>(longer.data()), longer.size()}, cut, ui),
              TreeListReadStatus::TooManyTrees);
    expectSameRows(cut, full);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kTooManyTreesMessage});
}

TEST_F(GridTest, AFullListDrawsSelectsCopiesPastesBackAndTakesNoMoreRows) {
    const TreeList full = fullList();
    load(full);
    const int gridBottom = (kMaxTreeRows + 1) * treegrid::kCellHeight;
    EXPECT_GE(view.scrollSize().height, gridBottom);

    // Scrolled to the end: the last row is drawn and the mouse finds it.
    view.setScrollPosition({0, view.scrollSize().height});
    const Point at = view.scrollPosition();
    ASSERT_GT(at.y, gridBottom - 600);
    fakes::FakeCanvas canvas({0, 0, 800, 600});
    canvas.setWindowOrigin(at);
    view.OnDraw(canvas);
    const std::vector<std::string> texts = canvas.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "T300"), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "T1"), texts.end()); // far above the client area
    const std::optional<GridCell> last = view.hitTest({60, gridBottom - 8 - at.y});
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(*last, (GridCell{kMaxTreeRows, 1}));

    // Select All, Copy, then Paste over the whole list: nothing changes and nothing is reported.
    view.execute(kEditSelectAll);
    view.execute(kEditCopy);
    ASSERT_EQ(clipboard.text(), wholeListText(full));
    view.execute(kEditSelectAll);
    view.execute(kEditPaste);
    EXPECT_TRUE(ui.messages().empty());
    expectSameRows(list(), full);
    EXPECT_EQ(treeListText(list()), treeListText(full));

    // A block copied from the top and pasted at the last row cannot grow the list past 300 rows.
    view.setScrollPosition({0, 0});
    selectBlock(1, 0, 3, 4);
    view.execute(kEditCopy);
    view.setScrollPosition(at);
    const Point lastRowPoint{cellPoint(kMaxTreeRows, 0).x, cellPoint(kMaxTreeRows, 0).y - at.y};
    view.OnLButtonDown(lastRowPoint);
    view.OnLButtonUp();
    view.execute(kEditPaste);
    EXPECT_EQ(list().lastRow, kMaxTreeRows - 1);
    EXPECT_EQ(list().rows[kMaxTreeRows - 1].id, "T1");
    EXPECT_EQ(list().rows[kMaxTreeRows - 2].id, "T299");

    // Inserting rows at the limit does nothing.
    doc.setModified(false);
    rowCountAnswer = 5;
    view.OnLButtonDown(lastRowPoint);
    view.OnLButtonUp();
    view.execute(kInsertRow);
    EXPECT_EQ(list().lastRow, kMaxTreeRows - 1);
    EXPECT_FALSE(doc.isModified());
}

} // namespace
} // namespace grovex
