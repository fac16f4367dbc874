#pragma once
// A measured plot as the tree list grid holds it: the header row of plot-level facts and up to 300 tree rows.
// Blank cells hold -1 (integers), -1.0 (reals) or an empty identifier.

#include <array>
#include <cstdint>
#include <string>

namespace grovex {

inline constexpr int kMaxTreeRows = 300;
inline constexpr int kHeaderCells = 12;
inline constexpr int kTreeCells = 5;
inline constexpr int32_t kBlankInt = -1;
inline constexpr float kBlankReal = -1.0f;

struct TreeListHeader {
    int32_t code = kBlankInt;             // cell 0: 1 in a valid list
    std::string plotId;                   // cell 1, kept exactly as read
    float plotArea = kBlankReal;          // cell 2, acres
    int32_t age = kBlankInt;              // cell 3
    int32_t fertilizationAge = kBlankInt; // cell 4
    int32_t lbn = kBlankInt;              // cell 5, pounds of nitrogen
    int32_t qphos = kBlankInt;            // cell 6
    int32_t thinningAge = kBlankInt;      // cell 7 (kt)
    float baa = kBlankReal;               // cell 8, basal area after thinning
    float bab = kBlankReal;               // cell 9, basal area before thinning
    int32_t qhdwd = kBlankInt;            // cell 10
    float hardwoodPercent = kBlankReal;   // cell 11
    float dominantHeight = kBlankReal;    // not shown in a cell; -1.0: absent (crown classes are used)
};

struct TreeRow {
    int32_t code = kBlankInt;       // cell 0: 2 in a valid list
    std::string id;                 // cell 1
    float dbh = kBlankReal;         // cell 2, inches
    float height = kBlankReal;      // cell 3, feet
    int32_t crownClass = kBlankInt; // cell 4
};

struct TreeList {
    TreeListHeader header;
    std::array<TreeRow, kMaxTreeRows> rows;
    int32_t lastRow = -1; // index of the last tree row; -1 for none
    bool loaded = false;

    int rowCount() const { return lastRow + 1; }
    bool hasDominantHeight() const { return header.dominantHeight != kBlankReal; }
};

} // namespace grovex
