#pragma once
// One results table: the stand summary, seven column headings and the class rows with their total row.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace grovex {

inline constexpr int kColumnCount = 7;
inline constexpr int kMaxRows = 200;
inline constexpr int kMaxTables = 100;

// The longest texts a table holds. The summary: the live-tree summary with hardwoods, 533 characters of text
// and eleven "%8.2f" numbers at their widest, ten floats of -3.4e38 (43 characters each) and the hardwood
// percent, a float times 100 (45): 533 + 10 x 43 + 45 = 1008. A heading: "Volume\ni.b.\nTo%3.0fin" with a top
// diameter of -3.4e38, 16 + 40 = 56.
inline constexpr size_t kMaxSummaryLength = 1008;
inline constexpr size_t kMaxHeadingLength = 56;

// The kinds a table can be made from.
inline constexpr int kLiveTreeTable = 2;
inline constexpr int kThinnedTreeTable = 3;

// (dbhClass, trees, avgHeight, basalArea, vol1, vol2, vol3)
using TableRow = std::array<float, kColumnCount>;

struct ResultTable {
    std::string summary;                            // lines end with "\r\n"; no line break at the end
    std::array<std::string, kColumnCount> headings; // "\n" separates the lines of one heading
    std::vector<TableRow> rows;                     // at most kMaxRows; the last row is the total row
    static constexpr int32_t lastColumn = kColumnCount - 1;

    // Layout, computed and read only by the results view; stored with the document.
    std::array<int32_t, kColumnCount> colWidth{};
    int32_t tableTop = 0;
    int32_t summaryWidth = 0;
    int32_t summaryBottom = 0;
    int32_t headingTop = 0;
    int32_t rowsTop = 0;
    int32_t tableBottom = 0;

    // What the table was made from and the stand age then. Not part of the document file.
    int32_t kind = kLiveTreeTable;
    int32_t age = 0;
    // Whether the volumes came from the coefficients of a low-thinned stand. Not part of the document file.
    bool thinnedVolumes = false;
    // The stand values a live-tree table's summary shows, unrounded. Not part of the document file.
    struct StandValues {
        float trees = 0; // surviving trees per acre
        float basalArea = 0;
        float qmd = 0;
        float averageHeight = 0;
        float dominantHeight = 0;
        float relativeSpacing = 0;
        float crownRatio = 0;
        float cords = 0;
        float hardwoodPercent = -1; // -1 when the summary does not show it
    } stand;

    int32_t lastRow() const { return static_cast<int32_t>(rows.size()) - 1; }
};

} // namespace grovex
