#pragma once
// Texts of the results tables: the text of one cell as the view shows it or copies it, and the fixed-width
// text of whole tables that "Select All" followed by "Copy" puts on the clipboard.

#include "model/result_table.h"

#include <string>
#include <vector>

namespace grovex {

// Where a cell text goes. They differ only in the height column of a total row: empty on the screen,
// five blanks in a copied cell range.
enum class CellTextUse { Screen, Copy };

// Column 0 is "%d" of the value truncated to an integer, the other columns "%.1f"; the total row (the last
// row) shows "Total" in column 0 and no number in column 2. Cells outside the table give an empty text.
std::string cellText(const ResultTable& table, int row, int column, CellTextUse use);

// Tables first to last (inclusive, clamped to the list) as fixed-width text: for each table a blank line, the
// summary and a blank line, three heading lines and one line per row in 15-character columns, then a blank
// line. Every line ends with "\r\n".
std::string allTablesText(const std::vector<ResultTable>& tables, int first, int last);

} // namespace grovex
