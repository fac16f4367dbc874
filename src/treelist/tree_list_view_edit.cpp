// The tree list grid: the in-place editor (opening, the dominant-height question, commit and Escape).

#include "base/c_format.h"
#include "base/platform/ui.h"
#include "treelist/tree_list_cells.h"
#include "treelist/tree_list_view.h"

#include <algorithm>

namespace grovex {
namespace {

using namespace treegrid;

constexpr const char* kDominantHeightQuestion =
    "The Dominant Height is set at %5.1f, the Crown Class is currently not used.\n\n  Delete the Dominant Height "
    "value and use Crown Class instead?";
constexpr std::string_view kEditorSample = "cell";
constexpr int kEditorPadding = 13;
constexpr int kCrownClassColumn = 4;

bool isBlankText(const std::string& text) {
    return text == "-1" || text == "-1.0" || text == "-1.00";
}

std::string limited(std::string text) {
    if (text.size() > static_cast<size_t>(kEditorTextLimit)) {
        text.resize(kEditorTextLimit);
    }
    return text;
}

} // namespace

void treeListView::setEditorText(std::string text) {
    editorText_ = limited(std::move(text));
}

void treeListView::commitEdit(std::string text) {
    if (editing_) {
        setEditorText(std::move(text));
        closeEditor(true);
    }
}

void treeListView::escapeEdit(std::string text) {
    if (editing_) {
        setEditorText(std::move(text));
        closeEditor(false);
    }
}

void treeListView::openEditor(int row, int column) {
    if (!list_.loaded || !hasCell(list_, row, column)) {
        return;
    }
    if (row > 0 && column == kCrownClassColumn && list_.hasDominantHeight()) {
        const std::string question = cformat(kDominantHeightQuestion, static_cast<double>(list_.header.dominantHeight));
        if (ui_.message(question, Buttons::YesNo, Icon::Question) != Answer::Yes) {
            return;
        }
        list_.header.dominantHeight = kBlankReal;
    }
    editing_ = true;
    editCell_ = {row, column};

    const Size sample = screen_.textExtent(gridFont(), kEditorSample);
    Rect rect{kCellWidth * column - scrollPosition_.x, kCellHeight * row - scrollPosition_.y, 0, 0};
    rect.right = rect.left + std::max(kCellWidth, sample.width + kEditorMargins + kEditorPadding);
    rect.bottom = rect.top + std::max(kCellHeight, sample.height + kEditorPadding);
    rect.right += kCellWidth;
    editorRect_ = rect;

    const std::string text = formatCell(list_, row, column);
    editorText_ = limited(isBlankText(text) ? std::string() : text);
    if (host_ != nullptr) {
        host_->showEditor(editorRect_, editorText_);
    }
}

void treeListView::commitOpenEditor() {
    if (editing_) {
        closeEditor(true);
    }
}

void treeListView::closeEditor(bool markAsModified) {
    storeCellText(list_, editCell_.row, editCell_.column, editorText_);
    editing_ = false;
    if (host_ != nullptr) {
        host_->hideEditor();
    }
    if (markAsModified) {
        markModified();
    }
    repaint();
}

} // namespace grovex
