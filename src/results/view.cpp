// The results view: construction, the first update, the commands and the state they change.

#include "results/view.h"

#include "base/platform/settings.h"
#include "results/font_record.h"

#include <algorithm>

namespace grovex {
namespace {

constexpr const char* kOptionsSection = "Options";
constexpr Size kEmptyScrollSize{800, 800};
constexpr const char* kAllTablesKey = "AllTables";
constexpr int kSmallestDecreasableHeight = 16;

constexpr std::array kKeyIds = {
    cmd::kLineDown,   cmd::kLineUp,    cmd::kPageDown,   cmd::kPageUp,      cmd::kScrollLeft, cmd::kScrollRight,
    cmd::kCtrlLeft,   cmd::kCtrlRight, cmd::kCellDown,   cmd::kCellUp,      cmd::kCellLeft,   cmd::kCellRight,
    cmd::kExtendDown, cmd::kExtendUp,  cmd::kExtendLeft, cmd::kExtendRight,
};

} // namespace

CGROVEXView::CGROVEXView(CGROVEXDoc& doc, const FontMetricsSource& screen, Settings& settings, Ui& ui,
                         Clipboard& clipboard, std::string appDirectory)
    : doc_(doc), screen_(screen), settings_(settings), ui_(ui), clipboard_(clipboard),
      appDirectory_(std::move(appDirectory)), fontRecordSaver_(&FontRecordSaver::forThisRun()) {
    doc_.display.allTables = settings_.intOr(kOptionsSection, kAllTablesKey, 1) != 0;
}

void CGROVEXView::OnInitialUpdate() {
    scrollSize_ = kEmptyScrollSize;
    screenFont_ = readFontRecord(appDirectory_ + kFontRecordName).value_or(LogFont{});
    screenFont_.height = std::clamp(screenFont_.height, -kLargestFontHeight, kLargestFontHeight);
    zeroColumnWidths();
    LayoutTables();
}

void CGROVEXView::LayoutTables() {
    // A view without tables (new, or emptied by Reset) scrolls over the size it starts with.
    scrollSize_ = layoutWith(screen_, screenFont_).value_or(kEmptyScrollSize);
    setScrollPosition(scrollPosition_);
}

void CGROVEXView::ClearSelection(bool keepCorners) {
    rowMask_.fill(0);
    if (!keepCorners) {
        anchorRow_ = anchorCol_ = endRow_ = endCol_ = -1;
    }
}

void CGROVEXView::ResetViewState() {
    ClearSelection(false);
    selectAll_ = false;
    showSelection_ = true;
    dragging_ = false;
    repaint();
}

void CGROVEXView::ScrollToNewest() {
    const int newest = doc_.model.lastTable();
    if (newest > 0) {
        setScrollPosition({scrollPosition_.x, tables()[newest].tableTop});
    }
}

void CGROVEXView::UpdateShownTables(int oldLastTable) {
    UpdateShownRange(doc_.display, oldLastTable, doc_.model.lastTable());
}

void CGROVEXView::setScrollPosition(Point position) {
    const int maxX = std::max(0, scrollSize_.width - clientSize_.width);
    const int maxY = std::max(0, scrollSize_.height - clientSize_.height);
    scrollPosition_ = {std::clamp(position.x, 0, maxX), std::clamp(position.y, 0, maxY)};
    if (host_ != nullptr) {
        host_->scrollChanged();
    }
}

void CGROVEXView::scrollBy(int dx, int dy) {
    setScrollPosition({scrollPosition_.x + dx, scrollPosition_.y + dy});
}

bool CGROVEXView::isCellSelected(int table, int row, int column) const {
    if (table != selTable_ || row < 0 || row >= static_cast<int>(rowMask_.size()) || column < 0 ||
        column >= kColumnCount) {
        return false;
    }
    return (rowMask_[row] >> column & 1) != 0;
}

int CGROVEXView::lastDrawnTable() const {
    int last = std::max(0, doc_.display.firstShown) - 1;
    while (last + 1 < static_cast<int>(tables().size()) && !tables()[last + 1].rows.empty()) {
        ++last;
    }
    return last;
}

void CGROVEXView::repaint() const {
    if (host_ != nullptr) {
        host_->requestRepaint();
    }
}

bool CGROVEXView::isEnabled(int commandId) const {
    switch (commandId) {
    case cmd::kEditSelectAll:
        return hasTable();
    case cmd::kEditCopy:
        return hasTable() && (selectAll_ || (anchorRow_ >= 0 && anchorCol_ >= 0));
    case cmd::kIncreaseFontSize:
    case cmd::kDecreaseFontSize:
    case cmd::kViewAllTables:
    case cmd::kFilePrint:
    case cmd::kFilePrintPreview:
        return true;
    default:
        return std::find(kKeyIds.begin(), kKeyIds.end(), commandId) != kKeyIds.end();
    }
}

bool CGROVEXView::isChecked(int commandId) const {
    return commandId == cmd::kViewAllTables && doc_.display.allTables;
}

bool CGROVEXView::execute(int commandId) {
    switch (commandId) {
    case cmd::kEditCopy:
        OnEditCopy();
        return true;
    case cmd::kEditSelectAll:
        if (hasTable()) {
            selectAll_ = true;
            repaint();
        }
        return true;
    case cmd::kIncreaseFontSize:
        changeFontSize(+1);
        return true;
    case cmd::kDecreaseFontSize:
        changeFontSize(-1);
        return true;
    case cmd::kViewAllTables:
        toggleAllTables();
        return true;
    default:
        return executeScrollKey(commandId) || executeSelectionKey(commandId);
    }
}

void CGROVEXView::toggleAllTables() {
    DisplayState& display = doc_.display;
    display.allTables = !display.allTables;
    if (display.allTables) {
        display.stepFirst = std::max(0, display.firstShown);
        display.firstShown = 0;
    } else {
        display.firstShown = display.stepFirst;
    }
    ClearSelection(false);
    LayoutTables();
    repaint();
    if (display.allTables) {
        ScrollToNewest();
    } else {
        setScrollPosition({0, 0});
    }
    settings_.writeInt(kOptionsSection, kAllTablesKey, display.allTables ? 1 : 0);
}

void CGROVEXView::changeFontSize(int step) {
    if ((step < 0 && screenFont_.height < kSmallestDecreasableHeight) ||
        (step > 0 && screenFont_.height >= kLargestFontHeight)) {
        return;
    }
    screenFont_.height += step;
    screenFont_.width = 0;
    zeroColumnWidths();
    LayoutTables();
    repaint();
    fontRecordSaver_->save(appDirectory_ + kFontRecordName, screenFont_, ui_);
}

void CGROVEXView::zeroColumnWidths() {
    for (ResultTable& table : doc_.model.tables) {
        table.colWidth.fill(0);
    }
}

} // namespace grovex
