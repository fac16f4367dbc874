// The results view: layout of the tables (column widths, vertical positions and the scroll size).

#include "model/input1.h"
#include "results/table_text.h"
#include "results/view.h"
#include "results/view_geometry.h"

#include <algorithm>
#include <memory>

namespace grovex {
namespace {

using namespace view_geometry;

constexpr std::string_view kLineSample = "22288822.2288";
constexpr std::string_view kCharSample = "W";
constexpr int kCellPadding = 25;
constexpr int kSummaryPadding = 13;
constexpr int kFirstPreviousBottom = -40;
constexpr int kTableGap = 45;
constexpr int kHeadingLines = 3;
constexpr int kHeadingGap = 3;
constexpr int kRightMargin = 13;
constexpr int kBottomMargin = 33;

// The table a new simulation shows after Initialize and Project with what the sheet proposes, grown once.
const ResultTable& proposedPlantationTable() {
    static const ResultTable table = [] {
        auto model = std::make_unique<GrowthModel>();
        model->ResetModel();
        WriteInput1(*model, Input1{});
        if (!StartRun(*model)) {
            return ResultTable{};
        }
        model->ProjectToTarget();
        return model->tables.empty() ? ResultTable{} : model->tables.back();
    }();
    return table;
}

} // namespace

std::optional<Size> CGROVEXView::layoutWith(const FontMetricsSource& metrics, const LogFont& font) {
    lineHeight_ = metrics.textExtent(font, kLineSample).height;
    charWidth_ = metrics.textExtent(font, kCharSample).width;
    if (!hasTable()) {
        return std::nullopt;
    }
    std::vector<ResultTable>& all = doc_.model.tables;
    const int first = std::max(0, doc_.display.firstShown);
    for (int t = first; t < static_cast<int>(all.size()); ++t) {
        layoutColumns(all[t], metrics, font);
    }
    int previousBottom = kFirstPreviousBottom;
    int width = 0;
    const int last = lastDrawnTable();
    for (int t = first; t <= last; ++t) {
        previousBottom = layoutRows(all[t], previousBottom);
        width = std::max({width, tableRight(all[t]) + kRightMargin, all[t].summaryWidth});
    }
    return Size{width, std::max(0, previousBottom + kBottomMargin)};
}

Size CGROVEXView::wholeTableSize() const {
    ResultTable table = proposedPlantationTable();
    layoutColumns(table, screen_, screenFont_);
    const int bottom = layoutRows(table, kFirstPreviousBottom);
    return {std::max(tableRight(table) + kRightMargin, table.summaryWidth), bottom + kBottomMargin};
}

void CGROVEXView::layoutColumns(ResultTable& table, const FontMetricsSource& metrics, const LogFont& font) const {
    for (int c = 0; c < kColumnCount; ++c) {
        int width = longestLineLength(table.headings[c]) * charWidth_ + kCellPadding;
        for (int r = 0; r <= table.lastRow(); ++r) {
            const std::string text = cellText(table, r, c, CellTextUse::Screen);
            width = std::max(width, metrics.textExtent(font, text).width + kCellPadding);
        }
        table.colWidth[c] = width;
    }
}

int CGROVEXView::layoutRows(ResultTable& table, int previousBottom) const {
    table.tableTop = previousBottom + kTableGap;
    table.summaryWidth = longestLineLength(table.summary) * charWidth_ + kSummaryPadding;
    table.summaryBottom = table.tableTop + (1 + lineBreakCount(table.summary)) * lineHeight_;
    table.headingTop = table.summaryBottom;
    table.rowsTop = table.headingTop + kHeadingLines * lineHeight_ + kHeadingGap;
    table.tableBottom = table.rowsTop + (table.lastRow() + 1) * lineHeight_;
    return table.tableBottom;
}

} // namespace grovex
