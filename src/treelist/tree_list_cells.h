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

// The names the grid and the messages about a list give its places: the row ("Header", "Row 12"), the value a
// cell holds ("Plot area", "Height") and its unit ("acres", "feet"), or for a code what it takes ("always 2",
// "1 yes, 0 no"). Field names and units are empty where the place holds no data; a crown class has no unit.
std::string gridRowName(int row);
const char* cellFieldName(int row, int column);
const char* cellUnit(int row, int column);
// "Row 12, Height"; empty where the place holds no data.
std::string cellName(int row, int column);
// "Row 12, Height (feet)", or the name alone for a value without a unit.
std::string cellNameWithUnit(int row, int column);

bool isBlankRow(const TreeRow& row);

} // namespace grovex
