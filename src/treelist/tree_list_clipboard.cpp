#include "treelist/tree_list_clipboard.h"

#include "base/c_format.h"
#include "treelist/tree_list_cells.h"

#include <algorithm>

namespace grovex {
namespace {

constexpr int kLastHeaderColumn = kHeaderCells - 1;
constexpr int kLastTreeColumn = kTreeCells - 1;
// A pasted line moves right while the next column is below this.
constexpr int kPasteColumnLimit = 13;

void appendIfSet(std::string& out, int32_t value, const char* format) {
    if (value != kBlankInt) {
        out += cformat(format, value);
    }
}

void appendIfSet(std::string& out, float value, const char* format) {
    if (value != kBlankReal) {
        out += cformat(format, static_cast<double>(value));
    }
}

} // namespace

GridBlock normalizedBlock(int row1, int column1, int row2, int column2) {
    return {std::min(row1, row2), std::min(column1, column2), std::max(row1, row2), std::max(column1, column2)};
}

std::string wholeListText(const TreeList& list) {
    const TreeListHeader& h = list.header;
    std::string out;
    appendIfSet(out, h.code, "%d\t");
    out += h.plotId + "\t";
    appendIfSet(out, h.plotArea, "%.2f\t");
    for (const int32_t value : {h.age, h.fertilizationAge, h.lbn, h.qphos, h.thinningAge}) {
        appendIfSet(out, value, "%d\t");
    }
    appendIfSet(out, h.baa, "%.1f\t");
    appendIfSet(out, h.bab, "%.1f\t");
    appendIfSet(out, h.qhdwd, "%d\t");
    appendIfSet(out, h.hardwoodPercent, "%.1f\r\n");
    for (int i = 0; i <= list.lastRow; ++i) {
        const TreeRow& r = list.rows[i];
        appendIfSet(out, r.code, "%d\t");
        out += r.id + "\t";
        appendIfSet(out, r.dbh, "%.1f\t");
        appendIfSet(out, r.height, "%.1f\t");
        appendIfSet(out, r.crownClass, "%d\r\n");
    }
    return out;
}

std::string blockText(const TreeList& list, const GridBlock& block) {
    std::string out;
    for (int row = block.top; row <= block.bottom; ++row) {
        for (int column = block.left; column <= block.right; ++column) {
            out += cellText(list, row, column);
            if (column != block.right && (row == 0 || column < kLastTreeColumn)) {
                out += '\t';
            }
        }
        if (row != block.bottom) {
            out += "\r\n";
        }
    }
    return out;
}

void blankWholeList(TreeList& list) {
    blankBlock(list, {0, 0, list.lastRow + 1, kLastHeaderColumn});
}

void blankBlock(TreeList& list, const GridBlock& block) {
    for (int row = block.top; row <= block.bottom; ++row) {
        for (int column = block.left; column <= block.right; ++column) {
            blankCell(list, row, column);
        }
    }
}

TextShape measurePasteText(std::string_view text) {
    TextShape shape;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            continue;
        }
        size_t next = i + 1;
        if (next < text.size() && text[next] == '\n') {
            ++next;
        }
        if (next < text.size()) {
            ++shape.rows;
        }
    }
    const std::string_view firstLine = text.substr(0, text.find('\r'));
    for (size_t i = 0; i < firstLine.size(); ++i) {
        if (firstLine[i] == '\t' && (i + 1 >= text.size() || (text[i + 1] != '\r' && text[i + 1] != '\n'))) {
            ++shape.columns;
        }
    }
    return shape;
}

int countPasteLines(std::string_view text) {
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\r'));
}

std::optional<std::string> pasteShapeMessage(const GridBlock& block, const TextShape& shape) {
    const bool rowsFit = block.height() % shape.rows == 0;
    const bool columnsFit = block.width() % shape.columns == 0;
    if (!rowsFit) {
        return columnsFit ? "The size and shape of the rows\n in the copy and paste areas are not even multiples"
                          : "The size and shape of the rows and columns\n in the copy and paste areas are not even "
                            "multiples";
    }
    if (!columnsFit) {
        return "The size and shape of the columns\n in the copy and paste areas are not even multiples";
    }
    return std::nullopt;
}

bool writePastedText(TreeList& list, std::string_view text, const GridBlock& area) {
    bool truncated = false;
    int row = area.top;
    int column = area.left;
    size_t i = 0;
    while (i < text.size()) {
        std::string cell;
        for (; i < text.size() && text[i] != '\t' && text[i] != '\r'; ++i) {
            if (cell.size() < static_cast<size_t>(kMaxPastedCellLength)) {
                cell += text[i];
            } else {
                truncated = true;
            }
        }
        storeCellText(list, row, column, cell);
        if (i >= text.size()) {
            break;
        }
        if (text[i] == '\t') {
            ++i;
            if (column + 1 <= area.right && column + 1 < kPasteColumnLimit) {
                ++column;
                continue;
            }
            // The line holds more cells than the area is wide: skip them up to the line feed.
            while (i < text.size() && text[i] != '\n') {
                ++i;
            }
            ++i;
        } else { // '\r', with its line feed
            ++i;
            if (i < text.size() && text[i] == '\n') {
                ++i;
            }
        }
        ++row;
        column = area.left;
        if (row > area.bottom) {
            break;
        }
    }
    return truncated;
}

bool pasteTiled(TreeList& list, std::string_view text, const GridBlock& block, const TextShape& shape) {
    bool truncated = false;
    for (int down = 0; down < block.height() / shape.rows; ++down) {
        for (int across = 0; across < block.width() / shape.columns; ++across) {
            const int top = block.top + down * shape.rows;
            const int left = block.left + across * shape.columns;
            const GridBlock tile{top, left, top + shape.rows - 1,
                                 std::min(left + shape.columns - 1, kLastHeaderColumn)};
            truncated = writePastedText(list, text, tile) || truncated;
        }
    }
    return truncated;
}

bool pasteAtCell(TreeList& list, std::string_view text, int row, int column) {
    const int firstNewRow = list.lastRow + 1;
    const int neededLastRow = std::min(row + countPasteLines(text) - 2, kMaxTreeRows - 1);
    const bool grow = neededLastRow > list.lastRow;
    for (int index = firstNewRow; index <= neededLastRow; ++index) {
        list.rows[index] = TreeRow{};
    }
    if (grow) {
        list.lastRow = neededLastRow;
    }
    const bool truncated = writePastedText(list, text, {row, column, list.lastRow + 1, kLastHeaderColumn});
    if (grow) {
        while (list.lastRow >= firstNewRow && isBlankRow(list.rows[list.lastRow])) {
            --list.lastRow;
        }
    }
    return truncated;
}

} // namespace grovex
