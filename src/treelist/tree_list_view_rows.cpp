// The tree list grid: Insert Row and Delete Selected Rows.

#include "base/platform/ui.h"
#include "treelist/tree_list_view.h"

#include <algorithm>

namespace grovex {

void treeListView::insertRows() {
    const std::optional<int> asked = askRowCount_ ? askRowCount_() : std::nullopt;
    if (!asked) {
        return;
    }
    if (list_.loaded) {
        // After the bottom row of the selection, as a row-array index: the header (grid row 0) inserts at the
        // top, grid row r after tree row r.
        int index = 0;
        if (selectAll_) {
            index = list_.lastRow + 1;
        } else if (hasBlock()) {
            index = std::max(anchorRow_, endRow_);
        } else if (hasCurrentCell()) {
            index = anchorRow_;
        }
        index = std::min(index, list_.lastRow + 1);
        const int count = std::min(*asked, kMaxTreeRows - 1 - list_.lastRow);
        if (count < 1) {
            return;
        }
        auto first = list_.rows.begin() + index;
        auto end = list_.rows.begin() + list_.lastRow + 1;
        std::move_backward(first, end, end + count);
        std::fill(first, first + count, TreeRow{});
        list_.lastRow += count;
    } else {
        if (*asked < 1) {
            return;
        }
        list_ = TreeList{};
        list_.lastRow = std::min(*asked - 1, kMaxTreeRows) - 1;
        list_.loaded = true;
    }
    setListScrollExtent();
    markModified();
    clearSelection();
    repaint();
}

void treeListView::deleteSelectedRows() {
    if (!list_.loaded) {
        return;
    }
    if (selectAll_) {
        list_ = TreeList{};
        setListScrollExtent();
        markModified();
        clearSelection();
        repaint();
        return;
    }
    if (!hasCurrentCell()) {
        ui_.message("Please make a selection first");
        return;
    }
    const int top = hasBlock() ? std::min(anchorRow_, endRow_) : anchorRow_;
    const int bottom = hasBlock() ? std::max(anchorRow_, endRow_) : anchorRow_;
    const int first = std::max(top, 1) - 1;
    const int last = std::min(bottom - 1, list_.lastRow);
    if (last < first) {
        return;
    }
    const int removed = last - first + 1;
    auto end = list_.rows.begin() + list_.lastRow + 1;
    std::move(list_.rows.begin() + last + 1, end, list_.rows.begin() + first);
    std::fill(end - removed, end, TreeRow{});
    list_.lastRow -= removed;
    setListScrollExtent();
    markModified();
    clearSelection();
    repaint();
}

} // namespace grovex
