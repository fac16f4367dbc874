#pragma once
// Geometry helpers of the results view shared by its layout, drawing and hit testing.

#include "model/result_table.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace grovex::view_geometry {

// Column c spans from the sum of the widths before it to that sum plus its own width.
inline int columnLeft(const ResultTable& table, int column) {
    return std::accumulate(table.colWidth.begin(), table.colWidth.begin() + column, 0);
}
inline int columnRight(const ResultTable& table, int column) {
    return columnLeft(table, column) + table.colWidth[column];
}
inline int tableRight(const ResultTable& table) {
    return columnRight(table, kColumnCount - 1);
}

// Calls visit(line) for each line of a text whose lines end with "\r\n" or "\n".
template <typename Visit> void forEachLine(std::string_view text, Visit visit) {
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        visit(line);
        if (end == std::string_view::npos) {
            return;
        }
        start = end + 1;
    }
}

inline int longestLineLength(std::string_view text) {
    size_t longest = 0;
    forEachLine(text, [&](std::string_view line) { longest = std::max(longest, line.size()); });
    return static_cast<int>(longest);
}

inline int lineBreakCount(std::string_view text) {
    return static_cast<int>(std::ranges::count(text, '\n'));
}

} // namespace grovex::view_geometry
