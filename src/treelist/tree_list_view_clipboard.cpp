// The tree list grid: Copy, Cut and Paste through the clipboard.

#include "base/platform/clipboard.h"
#include "base/platform/ui.h"
#include "treelist/tree_list_cells.h"
#include "treelist/tree_list_clipboard.h"
#include "treelist/tree_list_view.h"

namespace grovex {
namespace {

const char* copyFailureMessage(ClipboardStatus status) {
    switch (status) {
    case ClipboardStatus::CannotOpen:
        return "Cannot open the Clipboard";
    case ClipboardStatus::CannotEmpty:
        return "Cannot empty the Clipboard";
    default:
        return "Unable to set Clipboard data";
    }
}

const char* readFailureMessage(ClipboardReadStatus status) {
    switch (status) {
    case ClipboardReadStatus::CannotOpen:
        return "Cannot open the Clipboard";
    case ClipboardReadStatus::NoText:
        return "There is no text in the clipboard";
    default:
        return "Unable to get Clipboard data, application may be out of memory";
    }
}

} // namespace

void treeListView::copyOrCut(bool cut) {
    if (!list_.loaded || !(selectAll_ || hasCurrentCell())) {
        return;
    }
    const std::optional<GridBlock> block =
        selectAll_ ? std::nullopt
                   : std::optional<GridBlock>(normalizedBlock(anchorRow_, anchorCol_, hasBlock() ? endRow_ : anchorRow_,
                                                              hasBlock() ? endCol_ : anchorCol_));
    std::string text;
    if (selectAll_) {
        text = wholeListText(list_);
    } else if (hasBlock()) {
        text = blockText(list_, *block);
    } else {
        text = grovex::cellText(list_, anchorRow_, anchorCol_);
    }

    const ClipboardStatus status = clipboard_.setText(text);
    if (status != ClipboardStatus::Ok) {
        // Cut takes nothing away from the grid when the clipboard did not take the text.
        ui_.message(copyFailureMessage(status));
        return;
    }
    if (cut) {
        markModified();
        if (block) {
            blankBlock(list_, *block);
        } else {
            blankWholeList(list_);
        }
        clearSelection();
    }
    repaint();
}

void treeListView::paste() {
    if (!list_.loaded) {
        return;
    }
    std::optional<GridBlock> area;
    if (selectAll_) {
        // The whole list as it stands: the header's twelve columns and every tree row, so that a copy of the
        // whole list pastes back over it.
        area = GridBlock{0, 0, list_.lastRow + 1, kHeaderCells - 1};
    } else if (hasBlock()) {
        area = normalizedBlock(anchorRow_, anchorCol_, endRow_, endCol_);
    } else if (!hasCurrentCell()) {
        ui_.message("Please select a cell, or block first");
        return;
    }

    const ClipboardRead read = clipboard_.readText();
    if (read.status != ClipboardReadStatus::Ok) {
        ui_.message(readFailureMessage(read.status));
        return;
    }

    bool truncated = false;
    if (area) {
        const TextShape shape = measurePasteText(read.text);
        if (const std::optional<std::string> refusal = pasteShapeMessage(*area, shape)) {
            ui_.message(*refusal, Buttons::Ok, Icon::Warning, kPasteUnavailableCaption);
            return;
        }
        truncated = pasteTiled(list_, read.text, *area, shape);
    } else {
        const int lastRowBefore = list_.lastRow;
        truncated = pasteAtCell(list_, read.text, anchorRow_, anchorCol_);
        if (list_.lastRow != lastRowBefore) {
            setListScrollExtent();
        }
    }
    if (truncated) {
        ui_.message(kPasteTruncatedMessage);
    }
    markModified();
    clearSelection();
    repaint();
}

} // namespace grovex
