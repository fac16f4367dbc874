// The results view: drawing the tables (or the framed title of an empty view) through a Canvas.

#include "results/table_text.h"
#include "results/view.h"
#include "results/view_geometry.h"

#include <algorithm>

namespace grovex {
namespace {

using namespace view_geometry;

constexpr std::string_view kEmptyTitle =
    "\nGROVEX for\nLoblolly Pine Plantations\nEstablished on\nCutover, Site Prepared Lands";
constexpr std::string_view kEmptyFrameSample = "Cutover, Site Prepared LandsXXXXX";
constexpr int kEmptyFrameTop = 20;
constexpr int kEmptyFrameLines = 5;
constexpr int kEmptyFramePadding = 15; // above and below the text inside the frame
constexpr int kEmptyFrameNarrowLeft = 2;
constexpr Point kStandTitleAt{23, 2};
constexpr int kHeadingShift = 21;
constexpr int kHeadingLines = 3;

// Everything a table draws, for deciding whether it meets the clip box.
Rect tableBounds(const ResultTable& table) {
    const int right = std::max(table.summaryWidth + 1, tableRight(table) + kHeadingShift);
    return {0, table.tableTop, right, table.tableBottom};
}

// The lines drawn bold: the first, or the first two when the summary has two or more line breaks.
size_t boldPartLength(std::string_view summary, int boldLines) {
    size_t end = std::string_view::npos;
    for (int i = 0; i < boldLines; ++i) {
        end = summary.find('\n', end == std::string_view::npos ? 0 : end + 1);
    }
    return end;
}

} // namespace

void CGROVEXView::OnDraw(Canvas& canvas) const {
    drawContent(canvas, screenFont_, showSelection_);
}

void CGROVEXView::drawContent(Canvas& canvas, const LogFont& font, bool showSelection) const {
    canvas.setFont(font);
    const Rect clip = canvas.clipBox();
    canvas.fillSolidRect(clip, kWhite);
    canvas.setBackgroundMode(BackgroundMode::Opaque);
    if (!hasTable()) {
        drawEmptyView(canvas);
        return;
    }
    const bool inverse = selectAll_ && showSelection;
    const auto useTextColours = [&] {
        canvas.setTextColor(inverse ? kWhite : kBlack);
        canvas.setBackgroundColor(inverse ? kBlack : kWhite);
    };
    useTextColours();
    drawVisibleTables(canvas, clip, !selectAll_ && showSelection);
    // The title goes on last: the first summary line starts with blanks drawn on an opaque background that
    // would otherwise cover it.
    if (!doc_.display.standTitle.empty()) {
        useTextColours();
        canvas.textOut(kStandTitleAt, doc_.display.standTitle);
    }
}

// Tables lie one under the other, so those meeting the clip box are found by their vertical range.
void CGROVEXView::drawVisibleTables(Canvas& canvas, const Rect& clip, bool highlight) const {
    const int first = std::max(0, doc_.display.firstShown);
    const int last = lastDrawnTable();
    if (last < first) {
        return;
    }
    const auto begin = tables().begin() + first;
    const auto end = tables().begin() + last + 1;
    auto table = std::partition_point(begin, end, [&](const ResultTable& t) { return t.tableBottom <= clip.top; });
    for (; table != end && table->tableTop < clip.bottom; ++table) {
        if (tableBounds(*table).intersects(clip)) {
            drawTable(canvas, static_cast<int>(table - tables().begin()), clip, highlight);
        }
    }
}

void CGROVEXView::drawEmptyView(Canvas& canvas) const {
    canvas.setTextColor(kBlack);
    canvas.setBackgroundColor(kWhite);
    const Size extent = canvas.textExtent(kEmptyFrameSample);
    const int left = clientSize_.width < extent.width ? kEmptyFrameNarrowLeft : (clientSize_.width - extent.width) / 2;
    const Rect frame{left, kEmptyFrameTop, left + extent.width,
                     kEmptyFrameTop + kEmptyFrameLines * extent.height + 2 * kEmptyFramePadding};
    canvas.drawRaisedEdge(frame);
    const Rect text{frame.left, frame.top + kEmptyFramePadding, frame.right, frame.bottom - kEmptyFramePadding};
    canvas.drawText(kEmptyTitle, text, TextAlign::Center);
}

void CGROVEXView::drawTable(Canvas& canvas, int index, const Rect& clip, bool highlight) const {
    const ResultTable& table = tables()[index];
    const int headingBottom = table.headingTop + kHeadingLines * lineHeight_;
    if (table.tableTop < clip.bottom && table.summaryBottom > clip.top) {
        drawSummary(canvas, table);
    }
    if (table.headingTop < clip.bottom && headingBottom > clip.top) {
        drawHeadings(canvas, table);
    }
    drawRows(canvas, index, clip, highlight);
}

void CGROVEXView::drawSummary(Canvas& canvas, const ResultTable& table) const {
    const std::string_view summary = table.summary;
    const int boldLines = lineBreakCount(summary) >= 2 ? 2 : 1;
    const size_t boldEnd = boldPartLength(summary, boldLines);
    std::string_view bold = summary.substr(0, boldEnd);
    if (!bold.empty() && bold.back() == '\r') {
        bold.remove_suffix(1);
    }
    const Rect boldRect{0, table.tableTop, table.summaryWidth, table.tableTop + boldLines * lineHeight_};
    canvas.drawText(bold, boldRect, TextAlign::Left);
    canvas.setBackgroundMode(BackgroundMode::Transparent);
    canvas.drawText(bold, {1, boldRect.top, boldRect.right + 1, boldRect.bottom}, TextAlign::Left);
    canvas.setBackgroundMode(BackgroundMode::Opaque);
    if (boldEnd != std::string_view::npos && boldEnd + 1 < summary.size()) {
        const Rect rest{0, boldRect.bottom, table.summaryWidth, table.summaryBottom};
        canvas.drawText(summary.substr(boldEnd + 1), rest, TextAlign::Left);
    }
}

void CGROVEXView::drawHeadings(Canvas& canvas, const ResultTable& table) const {
    const int bottom = table.headingTop + kHeadingLines * lineHeight_;
    for (int c = 0; c < kColumnCount; ++c) {
        const Rect rect{columnLeft(table, c) + kHeadingShift, table.headingTop, columnRight(table, c) + kHeadingShift,
                        bottom};
        canvas.drawText(table.headings[c], rect, TextAlign::Center);
    }
}

void CGROVEXView::drawRows(Canvas& canvas, int index, const Rect& clip, bool highlight) const {
    const ResultTable& table = tables()[index];
    int first = 0;
    int last = table.lastRow();
    if (lineHeight_ > 0) {
        first = std::max(first, (clip.top - table.rowsTop) / lineHeight_);
        last = clip.bottom <= table.rowsTop ? -1 : std::min(last, (clip.bottom - table.rowsTop - 1) / lineHeight_);
    }
    for (int r = first; r <= last; ++r) {
        const int top = table.rowsTop + r * lineHeight_;
        for (int c = 0; c < kColumnCount; ++c) {
            const Rect cell{columnLeft(table, c), top, columnRight(table, c), top + lineHeight_};
            const std::string text = cellText(table, r, c, CellTextUse::Screen);
            if (!(highlight && isCellSelected(index, r, c))) {
                canvas.drawText(text, cell, TextAlign::Right);
                continue;
            }
            canvas.fillSolidRect(cell, kBlack);
            canvas.setTextColor(kWhite);
            canvas.setBackgroundColor(kBlack);
            canvas.drawText(text, cell, TextAlign::Right);
            canvas.setTextColor(kBlack);
            canvas.setBackgroundColor(kWhite);
        }
    }
}

} // namespace grovex
