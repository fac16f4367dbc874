#include "results/table_text.h"

#include "base/c_format.h"

#include <array>
#include <climits>
#include <string_view>

namespace grovex {
namespace {

constexpr int kHeadingLines = 3;

// Truncation toward zero that stays defined for values no table should hold (NaN, huge numbers).
int truncated(float value) {
    if (!(value > static_cast<float>(INT_MIN) && value < static_cast<float>(INT_MAX))) {
        return value > 0 ? INT_MAX : (value < 0 ? INT_MIN : 0);
    }
    return static_cast<int>(value);
}

// The non-empty lines of one heading, top-aligned in three lines.
std::array<std::string_view, kHeadingLines> headingLines(std::string_view heading) {
    std::array<std::string_view, kHeadingLines> lines{};
    size_t next = 0;
    size_t start = 0;
    while (start <= heading.size() && next < lines.size()) {
        size_t end = heading.find('\n', start);
        if (end == std::string_view::npos) {
            end = heading.size();
        }
        if (end > start) {
            lines[next++] = heading.substr(start, end - start);
        }
        start = end + 1;
    }
    return lines;
}

void appendTable(std::string& text, const ResultTable& table) {
    text += "\r\n";
    text += table.summary;
    text += "\r\n\r\n";

    std::array<std::array<std::string_view, kHeadingLines>, kColumnCount> parts;
    for (int c = 0; c < kColumnCount; ++c) {
        parts[c] = headingLines(table.headings[c]);
    }
    for (int line = 0; line < kHeadingLines; ++line) {
        for (int c = 0; c < kColumnCount; ++c) {
            text += cformat("%15s", std::string(parts[c][line]).c_str());
        }
        text += "\r\n";
    }

    const int lastRow = table.lastRow();
    for (int r = 0; r <= lastRow; ++r) {
        const TableRow& row = table.rows[r];
        const bool total = r == lastRow;
        for (int c = 0; c < kColumnCount; ++c) {
            if (c == 0) {
                text += total ? std::string("Total     ") : cformat("%15d", truncated(row[c]));
            } else if (c == 2 && total) {
                text += "          ";
            } else {
                text += cformat("%15.1f", static_cast<double>(row[c]));
            }
        }
        text += "\r\n";
    }
    text += "\r\n";
}

} // namespace

std::string cellText(const ResultTable& table, int row, int column, CellTextUse use) {
    if (row < 0 || row > table.lastRow() || column < 0 || column >= kColumnCount) {
        return {};
    }
    const bool total = row == table.lastRow();
    if (total && column == 0) {
        return "Total";
    }
    if (total && column == 2) {
        return use == CellTextUse::Copy ? "     " : "";
    }
    const float value = table.rows[row][column];
    return column == 0 ? cformat("%d", truncated(value)) : cformat("%.1f", static_cast<double>(value));
}

std::string allTablesText(const std::vector<ResultTable>& tables, int first, int last) {
    std::string text;
    if (first < 0) {
        first = 0;
    }
    const int lastIndex = static_cast<int>(tables.size()) - 1;
    if (last > lastIndex) {
        last = lastIndex;
    }
    for (int t = first; t <= last; ++t) {
        appendTable(text, tables[t]);
    }
    return text;
}

} // namespace grovex
