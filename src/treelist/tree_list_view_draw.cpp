// The tree list grid: drawing the cells, the selection and the grid lines, and printing them in pages.

#include "treelist/tree_list_cells.h"
#include "treelist/tree_list_document.h"
#include "treelist/tree_list_view.h"

#include <algorithm>

namespace grovex {
namespace {

using namespace treegrid;

constexpr const char* kNoListText = "No Tree List Available";

Rect cellRect(int row, int column) {
    return {kCellWidth * column, kCellHeight * row, kCellWidth * column + kCellWidth, kCellHeight * row + kCellHeight};
}

int columnsOf(int row) {
    return row == 0 ? kHeaderColumns : kTreeColumns;
}

} // namespace

void treeListView::OnDraw(Canvas& canvas) const {
    canvas.setFont(gridFont());
    canvas.setBackgroundMode(BackgroundMode::Transparent);
    canvas.setTextColor(kBlack);
    if (!list_.loaded) {
        canvas.textOut({0, 0}, kNoListText);
        return;
    }
    canvas.fillSolidRect(canvas.clipBox(), kWhite);
    drawGrid(canvas);
}

void treeListView::drawGrid(Canvas& canvas) const {
    const Rect clip = canvas.clipBox();
    const int lastGridRow = list_.lastRow + 1;
    const int first = std::clamp(clip.top / kCellHeight, 0, lastGridRow);
    const int last = std::clamp(clip.bottom / kCellHeight, 0, lastGridRow);
    for (int row = first; row <= last; ++row) {
        for (int column = 0; column < columnsOf(row); ++column) {
            if (cellRect(row, column).intersects(clip)) {
                drawCell(canvas, row, column);
            }
        }
    }
    drawGridLines(canvas);
}

void treeListView::drawCell(Canvas& canvas, int row, int column) const {
    const Rect rect = cellRect(row, column);
    const bool inverse = showSelection_ && (selectAll_ || isCellSelected(row, column));
    if (inverse) {
        canvas.fillSolidRect(rect, kBlack);
    }
    const std::string text = grovex::cellText(list_, row, column);
    if (!text.empty()) {
        canvas.setTextColor(inverse ? kWhite : kBlack);
        canvas.drawText(text, rect, TextAlign::Center);
    }
}

void treeListView::drawGridLines(Canvas& canvas) const {
    const int headerRight = kCellWidth * kHeaderColumns;
    const int treeRight = kCellWidth * kTreeColumns;
    for (int x = kCellWidth; x <= headerRight; x += kCellWidth) {
        canvas.moveTo({x, 0});
        canvas.lineTo({x, kCellHeight});
    }
    canvas.moveTo({0, kCellHeight});
    canvas.lineTo({headerRight, kCellHeight});
    const Rect clip = canvas.clipBox();
    for (int row = 1; row <= list_.lastRow + 1; ++row) {
        const int top = kCellHeight * row;
        if (top > clip.bottom || top + kCellHeight < clip.top) {
            continue;
        }
        for (int x = kCellWidth; x <= treeRight; x += kCellWidth) {
            canvas.moveTo({x, top});
            canvas.lineTo({x, top + kCellHeight});
        }
        canvas.moveTo({0, top + kCellHeight});
        canvas.lineTo({treeRight, top + kCellHeight});
    }
}

PrintPlan treeListView::OnBeginPrinting(const FontMetricsSource& printer, Size printableSize) {
    pageGeometry_ = measurePage(printer, gridFont(), printableSize);
    printPlan_ = planPages(scrollSize_, pageGeometry_);
    showSelection_ = false;
    return printPlan_;
}

Point treeListView::pageOrigin(int page) const {
    return grovex::pageOrigin(printPlan_, pageGeometry_, page);
}

void treeListView::OnPrintPage(Canvas& printer, int page) const {
    const Point origin = pageOrigin(page);
    printer.setWindowOrigin(origin);
    // Only this page's share of the grid: what lies beyond it is printed on the next page.
    printer.clipTo({origin.x, origin.y, origin.x + pageWidth(), origin.y + pageHeight()});
    OnDraw(printer);
    printer.removeClip();
    drawPageFooter(printer, pageGeometry_, origin, doc_.title(), page);
}

void treeListView::OnEndPrinting() {
    showSelection_ = true;
    repaint();
}

} // namespace grovex
