// The results view: hit testing, cell selection by mouse and keys, and the scroll keys.

#include "results/view.h"
#include "results/view_geometry.h"

#include <algorithm>

namespace grovex {
namespace {

using namespace view_geometry;

constexpr int kHorizontalStep = 5;
constexpr int kPageOverlap = 20;

bool isExtendKey(int id) {
    return id == cmd::kExtendDown || id == cmd::kExtendUp || id == cmd::kExtendLeft || id == cmd::kExtendRight;
}

bool isCellKey(int id) {
    return id == cmd::kCellDown || id == cmd::kCellUp || id == cmd::kCellLeft || id == cmd::kCellRight;
}

} // namespace

std::optional<CellRef> CGROVEXView::hitTest(Point client) const {
    if (client.x < 0 || client.y < 0 || client.x >= clientSize_.width || client.y >= clientSize_.height) {
        return std::nullopt;
    }
    return hitTestLogical({client.x + scrollPosition_.x, client.y + scrollPosition_.y});
}

std::optional<CellRef> CGROVEXView::hitTestLogical(Point at) const {
    int t = std::max(0, doc_.display.firstShown);
    const int last = lastDrawnTable();
    if (last < t) {
        return std::nullopt;
    }
    while (t < last && tables()[t].tableBottom < at.y) {
        ++t;
    }
    const ResultTable& table = tables()[t];
    if (at.y < table.rowsTop || at.y > table.tableBottom || at.x < 0 || at.x > tableRight(table)) {
        return std::nullopt;
    }
    int column = 0;
    while (column < kColumnCount - 1 && at.x >= columnRight(table, column)) {
        ++column;
    }
    const int row = lineHeight_ > 0 ? (at.y - table.rowsTop) / lineHeight_ : 0;
    return CellRef{t, std::clamp(row, 0, table.lastRow()), column};
}

void CGROVEXView::OnLButtonDown(Point client) {
    selectAll_ = false;
    ClearSelection(false);
    selTable_ = -1;
    if (const std::optional<CellRef> cell = hitTest(client)) {
        selTable_ = cell->table;
        anchorRow_ = cell->row;
        anchorCol_ = cell->column;
        selectCell(anchorRow_, anchorCol_);
        if (host_ != nullptr) {
            host_->captureMouse(true);
        }
        dragging_ = true;
    }
    repaint();
}

void CGROVEXView::OnMouseMove(Point client) {
    if (!dragging_) {
        return;
    }
    const std::optional<CellRef> cell = hitTest(client);
    if (!cell || cell->table != selTable_) {
        return;
    }
    const bool hasEnd = endRow_ >= 0 && endCol_ >= 0;
    if (cell->row == (hasEnd ? endRow_ : anchorRow_) && cell->column == (hasEnd ? endCol_ : anchorCol_)) {
        return;
    }
    endRow_ = cell->row;
    endCol_ = cell->column;
    showCurrentSelection();
    repaint();
}

void CGROVEXView::OnLButtonUp() {
    if (host_ != nullptr) {
        host_->captureMouse(false);
    }
    dragging_ = false;
}

void CGROVEXView::selectCell(int row, int column) {
    if (row >= 0 && row < static_cast<int>(rowMask_.size()) && column >= 0 && column < kColumnCount) {
        rowMask_[row] |= 1 << column;
    }
}

void CGROVEXView::selectRectangle() {
    for (int r = std::min(anchorRow_, endRow_); r <= std::max(anchorRow_, endRow_); ++r) {
        for (int c = std::min(anchorCol_, endCol_); c <= std::max(anchorCol_, endCol_); ++c) {
            selectCell(r, c);
        }
    }
}

void CGROVEXView::showCurrentSelection() {
    ClearSelection(true);
    if (endRow_ >= 0 && endCol_ >= 0) {
        selectRectangle();
    } else {
        selectCell(anchorRow_, anchorCol_);
    }
}

bool CGROVEXView::executeSelectionKey(int commandId) {
    if (!isCellKey(commandId) && !isExtendKey(commandId)) {
        return false;
    }
    if (anchorRow_ < 0 || anchorCol_ < 0) {
        if (!startCurrentCell(commandId)) {
            return true;
        }
    } else if (selTable_ < std::max(0, doc_.display.firstShown) || selTable_ > lastDrawnTable()) {
        return true;
    } else if (isExtendKey(commandId)) {
        extendSelection(commandId);
    } else {
        moveCurrentCell(commandId);
    }
    showCurrentSelection();
    repaint();
    return true;
}

bool CGROVEXView::startCurrentCell(int commandId) {
    const bool right = commandId == cmd::kCellRight || commandId == cmd::kExtendRight;
    const bool down = commandId == cmd::kCellDown || commandId == cmd::kExtendDown;
    const int first = std::max(0, doc_.display.firstShown);
    if (!(right || (down && selTable_ != -1)) || lastDrawnTable() < first) {
        return false;
    }
    selTable_ = first;
    anchorRow_ = anchorCol_ = 0;
    endRow_ = endCol_ = -1;
    return true;
}

void CGROVEXView::moveCurrentCell(int commandId) {
    const int first = std::max(0, doc_.display.firstShown);
    switch (commandId) {
    case cmd::kCellDown:
        if (anchorRow_ < tables()[selTable_].lastRow()) {
            ++anchorRow_;
        } else if (selTable_ < lastDrawnTable()) {
            ++selTable_;
            anchorRow_ = 0;
        }
        break;
    case cmd::kCellUp:
        if (anchorRow_ > 0) {
            --anchorRow_;
        } else if (selTable_ > first) {
            --selTable_;
            anchorRow_ = tables()[selTable_].lastRow();
        }
        break;
    case cmd::kCellLeft:
        anchorCol_ = std::max(0, anchorCol_ - 1);
        break;
    default:
        anchorCol_ = std::min(kColumnCount - 1, anchorCol_ + 1);
        break;
    }
    endRow_ = endCol_ = -1;
}

void CGROVEXView::extendSelection(int commandId) {
    if (endRow_ < 0 || endCol_ < 0) {
        endRow_ = anchorRow_;
        endCol_ = anchorCol_;
    }
    switch (commandId) {
    case cmd::kExtendDown:
        endRow_ = std::min(tables()[selTable_].lastRow(), endRow_ + 1);
        break;
    case cmd::kExtendUp:
        endRow_ = std::max(0, endRow_ - 1);
        break;
    case cmd::kExtendLeft:
        endCol_ = std::max(0, endCol_ - 1);
        break;
    default:
        endCol_ = std::min(kColumnCount - 1, endCol_ + 1);
        break;
    }
}

bool CGROVEXView::executeScrollKey(int commandId) {
    switch (commandId) {
    case cmd::kLineDown:
        scrollBy(0, lineHeight_);
        return true;
    case cmd::kLineUp:
        scrollBy(0, -lineHeight_);
        return true;
    case cmd::kPageDown:
        scrollBy(0, clientSize_.height - kPageOverlap);
        return true;
    case cmd::kPageUp:
        scrollBy(0, -(clientSize_.height - kPageOverlap));
        return true;
    case cmd::kScrollLeft:
    case cmd::kCtrlRight:
        scrollBy(-kHorizontalStep, 0);
        break;
    case cmd::kScrollRight:
    case cmd::kCtrlLeft:
        scrollBy(kHorizontalStep, 0);
        break;
    default:
        return false;
    }
    if (commandId == cmd::kScrollLeft || commandId == cmd::kScrollRight) {
        repaint();
    }
    return true;
}

} // namespace grovex
