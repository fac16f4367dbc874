// The results view: "Copy" of all tables shown, a rectangle of cells or the current cell.

#include "base/platform/clipboard.h"
#include "base/platform/ui.h"
#include "results/table_text.h"
#include "results/view.h"

#include <algorithm>

namespace grovex {

void CGROVEXView::OnEditCopy() {
    if (!hasTable()) {
        return;
    }
    if (const std::optional<std::string> text = copyText()) {
        putOnClipboard(*text);
    }
}

std::optional<std::string> CGROVEXView::copyText() const {
    if (selectAll_) {
        return allTablesText(tables(), doc_.display.firstShown, doc_.model.lastTable());
    }
    if (anchorRow_ >= 0 && anchorCol_ >= 0 && endRow_ >= 0 && endCol_ >= 0) {
        return rectangleText();
    }
    if (anchorRow_ >= 0 && anchorCol_ >= 0) {
        return copiedCellText(anchorRow_, anchorCol_);
    }
    return std::nullopt;
}

// Cells separated by tabs, rows by line ends, with no line end after the bottom row.
std::string CGROVEXView::rectangleText() const {
    const int top = std::min(anchorRow_, endRow_);
    const int bottom = std::max(anchorRow_, endRow_);
    const int left = std::min(anchorCol_, endCol_);
    const int right = std::max(anchorCol_, endCol_);
    std::string text;
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            text += copiedCellText(r, c);
            if (c < right) {
                text += '\t';
            }
        }
        if (r < bottom) {
            text += "\r\n";
        }
    }
    return text;
}

std::string CGROVEXView::copiedCellText(int row, int column) const {
    if (selTable_ < 0 || selTable_ >= static_cast<int>(tables().size())) {
        return {};
    }
    return cellText(tables()[selTable_], row, column, CellTextUse::Copy);
}

void CGROVEXView::putOnClipboard(const std::string& text) {
    PutTextOnClipboard(clipboard_, ui_, text);
}

void PutTextOnClipboard(Clipboard& clipboard, Ui& ui, const std::string& text) {
    switch (clipboard.setText(text)) {
    case ClipboardStatus::CannotOpen:
        ui.message("Cannot open the Clipboard", Buttons::Ok, Icon::Warning);
        break;
    case ClipboardStatus::CannotEmpty:
        ui.message("Cannot empty the Clipboard", Buttons::Ok, Icon::Warning);
        break;
    case ClipboardStatus::CannotSet:
        ui.message("Unable to set Clipboard data", Buttons::Ok, Icon::Warning);
        break;
    case ClipboardStatus::Ok:
        break;
    }
}

} // namespace grovex
