#pragma once
// The cells of the tree list grid: which value each (row, column) holds, how it is shown, how typed or pasted
// text is stored into it, and blanks. Row 0 is the header (columns 0 to 11); row r >= 1 is tree row r, kept at
// index r - 1 (columns 0 to 4). Any other (row, column) addresses no data: it shows nothing and stores nothing.

#include "treelist/tree_list.h"

#include <string>
#include <string_view>

namespace grovex {

enum class CellFormat {
    None,    // no data at this place
    Integer, // "%d"
    Text,    // the identifier as stored
    Real2,   // "%.2f"
    Real1,   // "%.1f"
};

// The format of a place in the grid, whatever the list holds (row 1 and beyond are tree rows).
CellFormat cellFormat(int row, int column);

// True when the list has a cell there: the header, or a tree row up to the last one.
bool hasCell(const TreeList& list, int row, int column);

// The value in its format, blanks included ("-1", "-1.0", "-1.00"); empty where there is no cell.
std::string formatCell(const TreeList& list, int row, int column);

// -1, -1.0 or an empty identifier; a place without a cell counts as blank.
bool isBlankCell(const TreeList& list, int row, int column);

// What the grid shows and copies: the formatted value, or nothing for a blank.
std::string cellText(const TreeList& list, int row, int column);

// Stores text into a cell: integers through atoi, reals through atof, identifiers as they stand, so empty text
// stores 0 (or an empty identifier). Nothing happens where there is no cell.
void storeCellText(TreeList& list, int row, int column, std::string_view text);

void blankCell(TreeList& list, int row, int column);

bool isBlankRow(const TreeRow& row);

} // namespace grovex
