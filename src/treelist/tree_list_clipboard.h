#pragma once
// Tree list cells as clipboard text: cells separated by tabs, rows by "\r\n". Building the text that Copy and
// Cut put on the clipboard, blanking what Cut took, and measuring and writing the text that Paste reads.

#include "treelist/tree_list.h"

#include <optional>
#include <string>
#include <string_view>

namespace grovex {

// Pasted cell texts longer than this are cut.
inline constexpr int kMaxPastedCellLength = 50;

inline constexpr const char* kPasteUnavailableCaption = "Paste unavailable";
inline constexpr const char* kPasteTruncatedMessage =
    "Maximum cell string length of 50 was exceeded, the extra has been truncated";

// A rectangle of grid cells, rows and columns inclusive (row 0 is the header).
struct GridBlock {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    int height() const { return bottom - top + 1; }
    int width() const { return right - left + 1; }
    bool operator==(const GridBlock&) const = default;
};

// The block between two corners, in either order.
GridBlock normalizedBlock(int row1, int column1, int row2, int column2);

// Copy of the whole list: each row's cells with blanks and their separators left out, so rows with blanks come
// out shorter (a row without a crown class runs on into the next row's text).
std::string wholeListText(const TreeList& list);

// Copy of a block: every cell in place, a blank as empty text; tabs between the block's columns (on tree rows
// only after columns 0 to 3), "\r\n" between rows.
std::string blockText(const TreeList& list, const GridBlock& block);

// Cut blanks what it copied: every cell of the list, or every cell of a block.
void blankWholeList(TreeList& list);
void blankBlock(TreeList& list, const GridBlock& block);

// The shape of pasted text: rows = 1 + the line ends that are followed by more text; columns = 1 + the tabs on
// the first line that do not end it.
struct TextShape {
    int rows = 1;
    int columns = 1;
    bool operator==(const TextShape&) const = default;
};
TextShape measurePasteText(std::string_view text);

// Lines of pasted text for growing the list: 1 + the carriage returns (a "\r\n" pair counts once; a lone line
// feed is part of a cell's text).
int countPasteLines(std::string_view text);

// The message that refuses pasting `shape` into `block` when the block is not a whole number of copies of it.
std::optional<std::string> pasteShapeMessage(const GridBlock& block, const TextShape& shape);

// Writes the text cell by cell from the area's top-left cell: integers through atoi, reals through atof,
// identifiers as text (empty text stores 0 or an empty identifier). Cells beyond the area's last column are
// skipped up to the line's end; the paste stops after the area's last row. True when a cell was cut to 50
// characters.
bool writePastedText(TreeList& list, std::string_view text, const GridBlock& area);

// Block paste: the text repeated down and across the block, one copy per tile of `shape` (the caller has
// checked the shape). True when a cell was cut.
bool pasteTiled(TreeList& list, std::string_view text, const GridBlock& block, const TextShape& shape);

// Paste at one cell: when the text's lines reach past the last row, blank rows are appended first (never past
// 300 rows), the text is written from the cell to column 11 and the last row, and appended rows left entirely
// blank are removed again. True when a cell was cut.
bool pasteAtCell(TreeList& list, std::string_view text, int row, int column);

} // namespace grovex
