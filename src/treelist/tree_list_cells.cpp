#include "treelist/tree_list_cells.h"

#include "base/c_format.h"

namespace grovex {
namespace {

constexpr CellFormat kHeaderFormats[kHeaderCells] = {
    CellFormat::Integer, CellFormat::Text,    CellFormat::Real2,   CellFormat::Integer,
    CellFormat::Integer, CellFormat::Integer, CellFormat::Integer, CellFormat::Integer,
    CellFormat::Real1,   CellFormat::Real1,   CellFormat::Integer, CellFormat::Real1,
};
constexpr CellFormat kTreeFormats[kTreeCells] = {CellFormat::Integer, CellFormat::Text, CellFormat::Real1,
                                                 CellFormat::Real1, CellFormat::Integer};

struct FieldName {
    const char* name;
    const char* unit;
};
constexpr FieldName kHeaderNames[kHeaderCells] = {
    {"Record code", "always 1"},
    {"Plot ID", ""},
    {"Plot area", "acres"},
    {"Age", "growing seasons"},
    {"Fertilization age", "growing seasons"},
    {"Nitrogen", "pounds per acre"},
    {"Phosphorus", "1 yes, 0 no"},
    {"Thinning age", "growing seasons, 0 when never thinned"},
    {"Basal area after thinning", "square feet per acre"},
    {"Basal area before thinning", "square feet per acre"},
    {"Hardwood", "1 yes, 0 no"},
    {"Hardwood percent", "percent of basal area"},
};
constexpr FieldName kTreeNames[kTreeCells] = {
    {"Record code", "always 2"}, {"Tree ID", ""}, {"DBH", "inches"}, {"Height", "feet"}, {"Crown class", ""},
};

FieldName fieldOf(int row, int column) {
    if (cellFormat(row, column) == CellFormat::None) {
        return {"", ""};
    }
    return row == 0 ? kHeaderNames[column] : kTreeNames[column];
}

// The storage behind one cell; exactly one pointer is set.
struct CellRef {
    int32_t* integer = nullptr;
    float* real = nullptr;
    std::string* text = nullptr;
};

template <typename List, typename Ref> Ref refTo(List& list, int row, int column) {
    if (!hasCell(list, row, column)) {
        return {};
    }
    if (row == 0) {
        auto& h = list.header;
        switch (column) {
        case 0:
            return {&h.code, nullptr, nullptr};
        case 1:
            return {nullptr, nullptr, &h.plotId};
        case 2:
            return {nullptr, &h.plotArea, nullptr};
        case 3:
            return {&h.age, nullptr, nullptr};
        case 4:
            return {&h.fertilizationAge, nullptr, nullptr};
        case 5:
            return {&h.lbn, nullptr, nullptr};
        case 6:
            return {&h.qphos, nullptr, nullptr};
        case 7:
            return {&h.thinningAge, nullptr, nullptr};
        case 8:
            return {nullptr, &h.baa, nullptr};
        case 9:
            return {nullptr, &h.bab, nullptr};
        case 10:
            return {&h.qhdwd, nullptr, nullptr};
        default:
            return {nullptr, &h.hardwoodPercent, nullptr};
        }
    }
    auto& r = list.rows[row - 1];
    switch (column) {
    case 0:
        return {&r.code, nullptr, nullptr};
    case 1:
        return {nullptr, nullptr, &r.id};
    case 2:
        return {nullptr, &r.dbh, nullptr};
    case 3:
        return {nullptr, &r.height, nullptr};
    default:
        return {&r.crownClass, nullptr, nullptr};
    }
}

struct ConstCellRef {
    const int32_t* integer = nullptr;
    const float* real = nullptr;
    const std::string* text = nullptr;
};

CellRef mutableRef(TreeList& list, int row, int column) {
    return refTo<TreeList, CellRef>(list, row, column);
}

ConstCellRef constRef(const TreeList& list, int row, int column) {
    return refTo<const TreeList, ConstCellRef>(list, row, column);
}

} // namespace

CellFormat cellFormat(int row, int column) {
    if (row == 0 && column >= 0 && column < kHeaderCells) {
        return kHeaderFormats[column];
    }
    if (row >= 1 && row <= kMaxTreeRows && column >= 0 && column < kTreeCells) {
        return kTreeFormats[column];
    }
    return CellFormat::None;
}

bool hasCell(const TreeList& list, int row, int column) {
    return cellFormat(row, column) != CellFormat::None && row <= list.lastRow + 1;
}

std::string formatCell(const TreeList& list, int row, int column) {
    const ConstCellRef ref = constRef(list, row, column);
    if (ref.text != nullptr) {
        return *ref.text;
    }
    if (ref.integer != nullptr) {
        return cformat("%d", *ref.integer);
    }
    if (ref.real != nullptr) {
        return cformat(cellFormat(row, column) == CellFormat::Real2 ? "%.2f" : "%.1f", static_cast<double>(*ref.real));
    }
    return {};
}

bool isBlankCell(const TreeList& list, int row, int column) {
    const ConstCellRef ref = constRef(list, row, column);
    if (ref.text != nullptr) {
        return ref.text->empty();
    }
    if (ref.integer != nullptr) {
        return *ref.integer == kBlankInt;
    }
    if (ref.real != nullptr) {
        return *ref.real == kBlankReal;
    }
    return true;
}

std::string cellText(const TreeList& list, int row, int column) {
    return isBlankCell(list, row, column) ? std::string() : formatCell(list, row, column);
}

void storeCellText(TreeList& list, int row, int column, std::string_view text) {
    const CellRef ref = mutableRef(list, row, column);
    if (ref.text != nullptr) {
        *ref.text = std::string(text);
    } else if (ref.integer != nullptr) {
        *ref.integer = cAtoi(text);
    } else if (ref.real != nullptr) {
        *ref.real = static_cast<float>(cAtof(text));
    }
}

void blankCell(TreeList& list, int row, int column) {
    const CellRef ref = mutableRef(list, row, column);
    if (ref.text != nullptr) {
        ref.text->clear();
    } else if (ref.integer != nullptr) {
        *ref.integer = kBlankInt;
    } else if (ref.real != nullptr) {
        *ref.real = kBlankReal;
    }
}

std::string gridRowName(int row) {
    return row == 0 ? std::string("Header") : cformat("Row %d", row);
}

const char* cellFieldName(int row, int column) {
    return fieldOf(row, column).name;
}

const char* cellUnit(int row, int column) {
    return fieldOf(row, column).unit;
}

std::string cellName(int row, int column) {
    const FieldName field = fieldOf(row, column);
    return *field.name == '\0' ? std::string() : gridRowName(row) + ", " + field.name;
}

std::string cellNameWithUnit(int row, int column) {
    const FieldName field = fieldOf(row, column);
    return *field.unit == '\0' ? cellName(row, column) : cellName(row, column) + " (" + field.unit + ")";
}

bool isBlankRow(const TreeRow& row) {
    return row.code == kBlankInt && row.id.empty() && row.dbh == kBlankReal && row.height == kBlankReal &&
           row.crownClass == kBlankInt;
}

} // namespace grovex
