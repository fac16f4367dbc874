#include "treelist/tree_list_file.h"

#include "base/c_format.h"
#include "treelist/tree_list_cells.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace grovex {
namespace {

// The bytes of a file read field by field. A byte 255 counts as the end of the file, as it did for the
// C library readers the format was made for.
class FieldCursor {
public:
    explicit FieldCursor(std::span<const uint8_t> bytes) {
        const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{255});
        text_ = std::string_view(reinterpret_cast<const char*>(bytes.data()), static_cast<size_t>(end - bytes.begin()));
    }

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return text_[pos_]; }

    // The next `width` characters, whatever they are; false when the file ends before them.
    bool take(size_t width, std::string_view& field) {
        if (text_.size() - pos_ < width) {
            pos_ = text_.size();
            return false;
        }
        field = text_.substr(pos_, width);
        pos_ += width;
        return true;
    }

    void skip(std::string_view characters) {
        while (!atEnd() && characters.find(peek()) != std::string_view::npos) {
            ++pos_;
        }
    }

    bool readInt(size_t width, int32_t& target) {
        std::string_view field;
        if (!take(width, field)) {
            return false;
        }
        target = cAtoi(field);
        return true;
    }

    bool readReal(size_t width, float& target) {
        std::string_view field;
        if (!take(width, field)) {
            return false;
        }
        target = static_cast<float>(cAtof(field));
        return true;
    }

    bool readText(size_t width, std::string& target) {
        std::string_view field;
        if (!take(width, field)) {
            return false;
        }
        target.assign(field);
        return true;
    }

    bool separator() {
        std::string_view field;
        return take(1, field);
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

// The header fields after the record code, in file order; stops at the first field cut short.
bool readHeaderFields(FieldCursor& in, TreeListHeader& h) {
    return in.readText(5, h.plotId) && in.readReal(5, h.plotArea) && in.separator() && in.readInt(2, h.age) &&
           in.separator() && in.readInt(2, h.fertilizationAge) && in.separator() && in.readInt(3, h.lbn) &&
           in.separator() && in.readInt(1, h.qphos) && in.separator() && in.readInt(2, h.thinningAge) &&
           in.readReal(5, h.baa) && in.readReal(5, h.bab) && in.separator() && in.readInt(1, h.qhdwd) &&
           in.readReal(4, h.hardwoodPercent);
}

// A tree line after its record code; the crown class only in the crown-class layout.
bool readTreeFields(FieldCursor& in, bool crownClasses, TreeRow& row) {
    std::string_view id;
    if (!in.take(5, id)) {
        return false;
    }
    row.id.assign(trimmed(id));
    if (!(in.separator() && in.readReal(4, row.dbh) && in.separator() && in.readReal(4, row.height))) {
        return false;
    }
    row.crownClass = kBlankInt;
    return !crownClasses || in.readInt(1, row.crownClass);
}

TreeListReadStatus finish(TreeList& list, int rows, TreeListReadStatus status) {
    list.lastRow = rows - 1;
    list.loaded = true;
    return status;
}

TreeListReadStatus endedEarly(TreeList& list, int rows, Ui& ui) {
    const bool one = rows == 1;
    ui.message(cformat("The tree list file ends in the middle of tree line %d; the %d complete %s before it %s read.",
                       rows + 1, rows, one ? "row" : "rows", one ? "was" : "were"),
               Buttons::Ok, Icon::Warning);
    return finish(list, rows, TreeListReadStatus::EndedEarly);
}

void resetBeforeReading(TreeList& list) {
    list.header.dominantHeight = kBlankReal;
    list.lastRow = -1;
    list.loaded = false;
}

// Formats `value` with a field's conversion; it fits when the text is exactly as wide as the field (a
// printf conversion never writes fewer characters than its width, only more) and reads back as what was
// written. An infinite or undefined real is written as letters that a reader takes for blanks and a number
// running into the next line, and a byte 255 ends the file for the reader, so neither can be saved.
struct FieldCheck {
    const char* column;
    std::string text;
    int width;
    bool quoted = false;
    bool readable = true;
};

FieldCheck intField(const char* column, int width, int32_t value) {
    return {column, cformat("%*d", width, value), width};
}

FieldCheck realField(const char* column, int width, int precision, float value) {
    return {column, cformat("%*.*f", width, precision, value), width, false, std::isfinite(value)};
}

FieldCheck textField(const char* column, const std::string& value) {
    const bool readable = value.find('\xff') == std::string::npos;
    return {column, cformat("%5s", value.c_str()), 5, true, readable};
}

std::optional<std::string> firstUnfit(const char* row, std::initializer_list<FieldCheck> fields) {
    for (const FieldCheck& f : fields) {
        const std::string value = f.quoted ? "\"" + f.text + "\"" : f.text;
        if (!f.readable) {
            const std::string shown = f.quoted ? value : std::string(trimmed(f.text));
            return cformat("%s, %s: %s cannot be saved in a tree list file. The tree list was not saved.", row,
                           f.column, shown.c_str());
        }
        if (static_cast<int>(f.text.size()) != f.width) {
            return cformat("%s, %s: %s does not fit its %d-character field. The tree list was not saved.", row,
                           f.column, value.c_str(), f.width);
        }
    }
    return std::nullopt;
}

int writtenRows(const TreeList& list) {
    return std::clamp(list.rowCount(), 0, kMaxTreeRows);
}

} // namespace

TreeListReadStatus readTreeList(std::span<const uint8_t> bytes, TreeList& list, Ui& ui) {
    resetBeforeReading(list);
    FieldCursor in(bytes);
    TreeListHeader& header = list.header;

    if (in.atEnd()) {
        ui.message(kEmptyFileMessage, Buttons::Ok, Icon::Warning);
        return finish(list, 0, TreeListReadStatus::EndedEarly);
    }
    int32_t code = 0;
    in.readInt(1, code);
    if (code != 1) {
        ui.message(kHeaderCodeMessage);
        return TreeListReadStatus::WrongHeaderCode;
    }
    header.code = code;
    if (!readHeaderFields(in, header)) {
        ui.message(kHeaderCutMessage, Buttons::Ok, Icon::Warning);
        return finish(list, 0, TreeListReadStatus::EndedEarly);
    }
    in.skip(" \t");
    if (!in.atEnd() && in.peek() != '\r' && in.peek() != '\n') {
        float dominantHeight = kBlankReal;
        if (!in.readReal(7, dominantHeight)) {
            ui.message(kHeaderCutMessage, Buttons::Ok, Icon::Warning);
            return finish(list, 0, TreeListReadStatus::EndedEarly);
        }
        header.dominantHeight = dominantHeight;
    }
    const bool crownClasses = !list.hasDominantHeight();

    int rows = 0;
    for (;;) {
        in.skip(" \t\r\n");
        if (in.atEnd()) {
            return finish(list, rows, TreeListReadStatus::Complete);
        }
        if (rows == kMaxTreeRows) {
            ui.message(kTooManyTreesMessage, Buttons::Ok, Icon::Warning);
            return finish(list, rows, TreeListReadStatus::TooManyTrees);
        }
        TreeRow row;
        in.readInt(1, row.code);
        if (row.code != 2) {
            ui.message(kRowCodeMessage);
            return TreeListReadStatus::WrongRowCode;
        }
        if (!readTreeFields(in, crownClasses, row)) {
            return endedEarly(list, rows, ui);
        }
        list.rows[static_cast<size_t>(rows++)] = std::move(row);
    }
}

TreeListReadStatus readTreeListFile(const std::string& path, TreeList& list, Ui& ui) {
    const FileContent content = readFile(path, kTreeListFileCap);
    if (!content.ok()) {
        resetBeforeReading(list);
        ui.message(content.error, Buttons::Ok, Icon::Warning);
        return TreeListReadStatus::Unopened;
    }
    return readTreeList(content.bytes, list, ui);
}

std::optional<std::string> unfitValueMessage(const TreeList& list) {
    const TreeListHeader& h = list.header;
    const auto header = [](int column) { return cellFieldName(0, column); };
    if (auto message = firstUnfit(gridRowName(0).c_str(), {
                                                              intField(header(0), 1, h.code),
                                                              textField(header(1), h.plotId),
                                                              realField(header(2), 5, 2, h.plotArea),
                                                              intField(header(3), 2, h.age),
                                                              intField(header(4), 2, h.fertilizationAge),
                                                              intField(header(5), 3, h.lbn),
                                                              intField(header(6), 1, h.qphos),
                                                              intField(header(7), 2, h.thinningAge),
                                                              realField(header(8), 5, 1, h.baa),
                                                              realField(header(9), 5, 1, h.bab),
                                                              intField(header(10), 1, h.qhdwd),
                                                              realField(header(11), 4, 1, h.hardwoodPercent),
                                                          })) {
        return message;
    }
    const bool crownClasses = !list.hasDominantHeight();
    if (!crownClasses) {
        if (auto message = firstUnfit(gridRowName(0).c_str(), {realField("Dominant height", 7, 4, h.dominantHeight)})) {
            return message;
        }
    }
    for (int r = 0; r < writtenRows(list); ++r) {
        const TreeRow& row = list.rows[static_cast<size_t>(r)];
        const std::string name = gridRowName(r + 1);
        const auto tree = [](int column) { return cellFieldName(1, column); };
        auto message = firstUnfit(name.c_str(), {
                                                    intField(tree(0), 1, row.code),
                                                    textField(tree(1), row.id),
                                                    realField(tree(2), 4, 1, row.dbh),
                                                    realField(tree(3), 4, 1, row.height),
                                                });
        if (!message && crownClasses) {
            message = firstUnfit(name.c_str(), {intField(tree(4), 1, row.crownClass)});
        }
        if (message) {
            return message;
        }
    }
    return std::nullopt;
}

std::string treeListText(const TreeList& list) {
    const TreeListHeader& h = list.header;
    const bool crownClasses = !list.hasDominantHeight();
    std::string text;
    if (crownClasses) {
        text =
            cformat("%1d%5s%5.2f %2d %2d %3d %1d %2d%5.1f%5.1f %1d%4.1f\n", h.code, h.plotId.c_str(), h.plotArea, h.age,
                    h.fertilizationAge, h.lbn, h.qphos, h.thinningAge, h.baa, h.bab, h.qhdwd, h.hardwoodPercent);
    } else {
        text = cformat("%1d%5s%5.2f %2d %2d %3d %1d %2d%5.1f%5.1f %1d%4.1f%7.4f\n", h.code, h.plotId.c_str(),
                       h.plotArea, h.age, h.fertilizationAge, h.lbn, h.qphos, h.thinningAge, h.baa, h.bab, h.qhdwd,
                       h.hardwoodPercent, h.dominantHeight);
    }
    for (int r = 0; r < writtenRows(list); ++r) {
        const TreeRow& row = list.rows[static_cast<size_t>(r)];
        if (crownClasses) {
            text += cformat("%1d%5s %4.1f %4.1f%1d\n", row.code, row.id.c_str(), row.dbh, row.height, row.crownClass);
        } else {
            text += cformat("%1d%5s %4.1f %4.1f\n", row.code, row.id.c_str(), row.dbh, row.height);
        }
    }
    return text;
}

bool writeTreeListFile(const std::string& path, const TreeList& list, Ui& ui, FileSystem& fileSystem) {
    if (const auto unfit = unfitValueMessage(list)) {
        ui.message(*unfit, Buttons::Ok, Icon::Warning);
        return false;
    }
    const std::string text = treeListText(list);
    const IoStatus status =
        writeFileAtomically(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), fileSystem);
    if (!status) {
        ui.message(std::string(kOutputFailureMessage) + "\n" + status.message());
        return false;
    }
    return true;
}

} // namespace grovex
