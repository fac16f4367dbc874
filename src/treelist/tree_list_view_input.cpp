// The tree list grid: hit testing, the mouse, and the movement and selection keys.

#include "treelist/tree_list_view.h"

#include <algorithm>

namespace grovex {
namespace {

using namespace treegrid;

constexpr int kScrollStep = 5;
constexpr int kPageOverlap = 20;
constexpr int kMovesPerDragScroll = 4;

int lastColumnOf(int row) {
    return row == 0 ? kHeaderColumns - 1 : kTreeColumns - 1;
}

} // namespace

std::optional<GridCell> treeListView::hitTest(Point client) const {
    if (client.x < 0 || client.y < 0 || client.x >= clientSize_.width || client.y >= clientSize_.height) {
        return std::nullopt;
    }
    return hitTestLogical({client.x + scrollPosition_.x, client.y + scrollPosition_.y});
}

Rect treeListView::cellClientRect(GridCell cell) const {
    const int left = kCellWidth * cell.column - scrollPosition_.x;
    const int top = kCellHeight * cell.row - scrollPosition_.y;
    return {left, top, left + kCellWidth, top + kCellHeight};
}

std::optional<GridCell> treeListView::hitTestLogical(Point at) const {
    if (!list_.loaded || at.x < 0 || at.x >= kHitRight || at.y < 0 || at.y > kCellHeight * (list_.lastRow + 2)) {
        return std::nullopt;
    }
    const int row = std::min(at.y / kCellHeight, list_.lastRow + 1);
    int column = at.x / kCellWidth;
    if (row == 0) {
        column = std::min(column, kHeaderColumns - 1);
    }
    return GridCell{row, column};
}

void treeListView::OnLButtonDown(Point client) {
    commitOpenEditor();
    clearSelection();
    if (const std::optional<GridCell> cell = hitTest(client)) {
        selectOnly(cell->row, cell->column);
        if (host_ != nullptr) {
            host_->captureMouse(true);
        }
        dragging_ = true;
        dragMoves_ = 0;
    }
    repaint();
}

void treeListView::OnMouseMove(Point client) {
    if (!dragging_) {
        return;
    }
    if (client.y < 0 || client.y > clientSize_.height) {
        if (++dragMoves_ % kMovesPerDragScroll == 0) {
            const int maxY = std::max(0, scrollSize_.height - clientSize_.height);
            if (client.y < 0) {
                scrollBy(0, -kCellHeight);
            } else if (scrollPosition_.y < maxY) {
                scrollBy(0, kCellHeight);
            }
        }
        return;
    }
    const std::optional<GridCell> cell = hitTest(client);
    if (!cell) {
        return;
    }
    const GridCell current = hasBlock() ? end() : anchor();
    if (*cell == current) {
        return;
    }
    endRow_ = cell->row;
    endCol_ = cell->column;
    selectBlock();
    repaint();
}

void treeListView::OnLButtonUp() {
    if (host_ != nullptr) {
        host_->captureMouse(false);
    }
    dragging_ = false;
}

void treeListView::OnLButtonDblClk(Point client) {
    commitOpenEditor();
    if (const std::optional<GridCell> cell = hitTest(client)) {
        openEditor(cell->row, cell->column);
        repaint();
    }
}

bool treeListView::executeScrollKey(int commandId) {
    switch (commandId) {
    case cmd::kCtrlLeft:
    case cmd::kCtrlRight:
        if (!editing_) {
            scrollBy(commandId == cmd::kCtrlLeft ? kScrollStep : -kScrollStep, 0);
        }
        return true;
    case cmd::kLineDown:
    case cmd::kLineUp:
    case cmd::kScrollRight:
    case cmd::kScrollLeft:
    case cmd::kPageDown:
    case cmd::kPageUp:
        break;
    default:
        return false;
    }
    commitOpenEditor();
    const int page = clientSize_.height - kPageOverlap;
    switch (commandId) {
    case cmd::kLineDown:
        scrollBy(0, kScrollStep);
        break;
    case cmd::kLineUp:
        scrollBy(0, -kScrollStep);
        break;
    case cmd::kScrollRight:
        scrollBy(kScrollStep, 0);
        break;
    case cmd::kScrollLeft:
        scrollBy(-kScrollStep, 0);
        break;
    case cmd::kPageDown:
        scrollBy(0, page);
        break;
    default:
        scrollBy(0, -page);
        break;
    }
    return true;
}

bool treeListView::executeSelectionKey(int commandId) {
    switch (commandId) {
    case cmd::kCellDown:
    case cmd::kCellUp:
    case cmd::kCellRight:
    case cmd::kCellLeft:
    case cmd::kExtendDown:
    case cmd::kExtendUp:
    case cmd::kExtendRight:
    case cmd::kExtendLeft:
        break;
    default:
        return false;
    }
    if (editing_ || !list_.loaded) {
        return true;
    }
    switch (commandId) {
    case cmd::kCellDown:
        if (!hasCurrentCell()) {
            selectOnly(0, 0);
        } else if (anchorRow_ <= list_.lastRow) {
            selectOnly(anchorRow_ + 1, std::min(anchorCol_, lastColumnOf(anchorRow_ + 1)));
        }
        break;
    case cmd::kCellUp:
        if (hasCurrentCell() && anchorRow_ > 0) {
            selectOnly(anchorRow_ - 1, anchorCol_);
        }
        break;
    case cmd::kCellRight:
        nextCell();
        break;
    case cmd::kCellLeft:
        previousCell();
        break;
    default:
        extendBlock(commandId);
        break;
    }
    repaint();
    return true;
}

bool treeListView::nextCell() {
    if (!hasCurrentCell()) {
        selectOnly(0, 0);
        return true;
    }
    if (anchorCol_ < lastColumnOf(anchorRow_)) {
        selectOnly(anchorRow_, anchorCol_ + 1);
        return true;
    }
    if (anchorRow_ <= list_.lastRow) {
        selectOnly(anchorRow_ + 1, 0);
        return true;
    }
    return false;
}

bool treeListView::previousCell() {
    if (!hasCurrentCell()) {
        return false;
    }
    if (anchorCol_ > 0) {
        selectOnly(anchorRow_, std::min(anchorCol_ - 1, lastColumnOf(anchorRow_)));
        return true;
    }
    if (anchorRow_ > 0) {
        selectOnly(anchorRow_ - 1, lastColumnOf(anchorRow_ - 1));
        return true;
    }
    return false;
}

void treeListView::extendBlock(int commandId) {
    const bool downOrRight = commandId == cmd::kExtendDown || commandId == cmd::kExtendRight;
    if (!hasCurrentCell()) {
        if (downOrRight) {
            selectOnly(0, 0);
        }
        return;
    }
    selectAll_ = false;
    if (!hasBlock()) {
        endRow_ = anchorRow_;
        endCol_ = anchorCol_;
    }
    switch (commandId) {
    case cmd::kExtendDown:
        endRow_ = std::min(endRow_ + 1, list_.lastRow + 1);
        break;
    case cmd::kExtendUp:
        endRow_ = std::max(endRow_ - 1, 0);
        break;
    case cmd::kExtendRight:
        endCol_ = std::min(endCol_ + 1, lastColumnOf(anchorRow_));
        break;
    default:
        endCol_ = std::max(endCol_ - 1, 0);
        break;
    }
    selectBlock();
}

void treeListView::onEnter() {
    if (editing_) {
        closeEditor(true);
        return;
    }
    if (!list_.loaded) {
        return;
    }
    if (!hasCurrentCell()) {
        selectOnly(0, 0);
    } else {
        selectOnly(anchorRow_, anchorCol_);
    }
    openEditor(anchorRow_, anchorCol_);
    repaint();
}

} // namespace grovex
