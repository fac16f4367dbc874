// The tree list grid: construction, the list it holds, scrolling, the selection and the command table.

#include "treelist/tree_list_view.h"

#include "treelist/tree_list_cells.h"
#include "treelist/tree_list_document.h"

#include <algorithm>

namespace grovex {
namespace {

constexpr int kListScrollMargin = 23; // below the last row

bool isMovementKey(int id) {
    switch (id) {
    case cmd::kLineDown:
    case cmd::kLineUp:
    case cmd::kScrollRight:
    case cmd::kScrollLeft:
    case cmd::kCtrlLeft:
    case cmd::kCtrlRight:
    case cmd::kPageDown:
    case cmd::kPageUp:
    case cmd::kCellDown:
    case cmd::kCellUp:
    case cmd::kCellRight:
    case cmd::kCellLeft:
    case cmd::kExtendDown:
    case cmd::kExtendUp:
    case cmd::kExtendRight:
    case cmd::kExtendLeft:
        return true;
    default:
        return false;
    }
}

} // namespace

treeListView::treeListView(treeListDoc& doc, const FontMetricsSource& screen, Ui& ui, Clipboard& clipboard)
    : doc_(doc), screen_(screen), ui_(ui), clipboard_(clipboard) {}

void treeListView::OnInitialUpdate() {
    scrollSize_ = {treegrid::kInitialScrollExtent, treegrid::kInitialScrollExtent};
    setScrollPosition(scrollPosition_);
}

void treeListView::setTreeList(const TreeList& list) {
    if (editing_) {
        editing_ = false;
        if (host_ != nullptr) {
            host_->hideEditor();
        }
    }
    list_ = list;
    list_.lastRow = std::clamp(list_.lastRow, -1, kMaxTreeRows - 1);
    dragging_ = false;
    clearSelection();
    setListScrollExtent();
    repaint();
}

void treeListView::resetGrid() {
    if (editing_) {
        editing_ = false;
        if (host_ != nullptr) {
            host_->hideEditor();
        }
    }
    dragging_ = false;
    clearSelection();
    list_ = TreeList{};
    markModified();
    repaint();
}

LogFont treeListView::gridFont() {
    LogFont font;
    font.height = 14;
    font.pitchAndFamily = 34; // variable pitch, sans serif
    std::copy_n("Arial", 6, font.faceName);
    return font;
}

void treeListView::setScrollPosition(Point position) {
    const int maxX = std::max(0, scrollSize_.width - clientSize_.width);
    const int maxY = std::max(0, scrollSize_.height - clientSize_.height);
    scrollPosition_ = {std::clamp(position.x, 0, maxX), std::clamp(position.y, 0, maxY)};
    if (host_ != nullptr) {
        host_->scrollChanged();
    }
}

void treeListView::OnScroll(Point position) {
    commitOpenEditor();
    setScrollPosition(position);
}

void treeListView::scrollBy(int dx, int dy) {
    setScrollPosition({scrollPosition_.x + dx, scrollPosition_.y + dy});
}

void treeListView::setListScrollExtent() {
    scrollSize_ = {treegrid::kListScrollWidth, treegrid::kCellHeight * (list_.lastRow + 2) + kListScrollMargin};
    setScrollPosition(scrollPosition_);
}

void treeListView::repaint() const {
    if (host_ != nullptr) {
        host_->requestRepaint();
    }
}

void treeListView::markModified() {
    doc_.setModified(true);
}

void treeListView::clearSelection() {
    rowMask_.fill(0);
    selectAll_ = false;
    anchorRow_ = anchorCol_ = endRow_ = endCol_ = -1;
}

void treeListView::selectCell(int row, int column) {
    if (row >= 0 && row < static_cast<int>(rowMask_.size()) && column >= 0 && column < 32) {
        rowMask_[row] |= 1u << column;
    }
}

void treeListView::selectBlock() {
    rowMask_.fill(0);
    for (int r = std::min(anchorRow_, endRow_); r <= std::max(anchorRow_, endRow_); ++r) {
        for (int c = std::min(anchorCol_, endCol_); c <= std::max(anchorCol_, endCol_); ++c) {
            selectCell(r, c);
        }
    }
}

void treeListView::selectOnly(int row, int column) {
    rowMask_.fill(0);
    selectAll_ = false;
    anchorRow_ = row;
    anchorCol_ = column;
    endRow_ = endCol_ = -1;
    selectCell(row, column);
}

bool treeListView::isCellSelected(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rowMask_.size()) || column < 0 || column >= 32) {
        return false;
    }
    return (rowMask_[row] >> column & 1u) != 0;
}

std::string treeListView::cellText(int row, int column) const {
    return grovex::cellText(list_, row, column);
}

std::string treeListView::cellDescription(int row, int column) const {
    return list_.loaded && hasCell(list_, row, column) ? cellNameWithUnit(row, column) : std::string();
}

std::string treeListView::currentCellDescription() const {
    return hasCurrentCell() ? cellDescription(anchorRow_, anchorCol_) : std::string();
}

std::string treeListView::cellDescriptionAt(Point client) const {
    const std::optional<GridCell> cell = hitTest(client);
    return cell ? cellDescription(cell->row, cell->column) : std::string();
}

bool treeListView::isEnabled(int commandId) const {
    switch (commandId) {
    case cmd::kEditCopy:
    case cmd::kEditCut:
    case cmd::kEditPaste:
        return list_.loaded && (selectAll_ || hasCurrentCell());
    case cmd::kEditSelectAll:
    case cmd::kFilePrint:
    case cmd::kFilePrintPreview:
        return list_.loaded;
    case cmd::kGridEnter:
    case cmd::kGridTab:
    case cmd::kGridBackTab:
    case cmd::kInsertRow:
    case cmd::kDeleteSelectedRows:
        return true;
    default:
        return isMovementKey(commandId);
    }
}

bool treeListView::isChecked(int) const {
    return false;
}

bool treeListView::execute(int commandId) {
    switch (commandId) {
    case cmd::kGridEnter:
        onEnter();
        return true;
    case cmd::kGridTab:
    case cmd::kGridBackTab:
        commitOpenEditor();
        if (list_.loaded) {
            if (commandId == cmd::kGridTab) {
                nextCell();
            } else {
                previousCell();
            }
            if (hasCurrentCell()) {
                openEditor(anchorRow_, anchorCol_);
            }
            repaint();
        }
        return true;
    case cmd::kInsertRow:
        commitOpenEditor();
        insertRows();
        return true;
    case cmd::kDeleteSelectedRows:
        commitOpenEditor();
        deleteSelectedRows();
        return true;
    case cmd::kEditSelectAll:
        commitOpenEditor();
        if (list_.loaded) {
            selectAll_ = true;
            repaint();
        }
        return true;
    case cmd::kEditCopy:
    case cmd::kEditCut:
        commitOpenEditor();
        copyOrCut(commandId == cmd::kEditCut);
        return true;
    case cmd::kEditPaste:
        commitOpenEditor();
        paste();
        return true;
    default:
        return executeScrollKey(commandId) || executeSelectionKey(commandId);
    }
}

} // namespace grovex
