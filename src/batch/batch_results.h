#pragma once
// What a batch run produces for each stand of a stand table under each regime, and the interface of the
// places it is written to (the results database, or a folder of CSV files).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace grovex::batch {

// The known columns of a stand table, in the order the `stand` table of the results keeps them.
inline constexpr std::array<const char*, 11> kKnownColumns{"title",          "rotation",     "site",    "planted",
                                                           "survival",       "existing_age", "trees",   "basal_area",
                                                           "poorly_drained", "hardwood",     "treelist"};

// One row of the stand table, as given.
struct StandRecord {
    int64_t rowIndex = 0; // 0 for the first row after the header
    int64_t line = 0;     // line number in the file where the row starts (the header is line 1)
    std::string standId;
    std::array<std::optional<std::string>, kKnownColumns.size()> known; // empty cell: not given
    std::vector<std::string> userValues;                                // in the order of the user's columns
};

// A regime as stored: its name and the macro's text form.
struct RegimeRecord {
    std::string name;
    std::string macroText;
};

// The stand values of one results table. A thinned-tree table has no stand summary: only the values its
// total row gives (trees, basal area, volumes) are set.
struct SummaryRow {
    int32_t tableNo = 0;  // 1 for the first table of the run
    bool thinned = false; // kind: "thinned" or "live"
    int32_t age = 0;
    std::optional<double> trees;               // trees per acre
    std::optional<double> basalArea;           // square feet per acre
    std::optional<double> qmd;                 // quadratic mean DBH, inches
    std::optional<double> averageHeight;       // feet
    std::optional<double> dominantHeight;      // feet
    std::optional<double> relativeSpacing;     // ratio
    std::optional<double> crownRatio;          // percent
    std::optional<double> cords;               // merchantable cords per acre
    std::optional<double> hardwoodPercent;     // percent of the basal area, where the table shows it
    std::array<double, 3> volumes{};           // the three volume column totals per acre
    std::array<std::string, 3> volumeHeadings; // their headings, lines joined by one blank
};

// One DBH class row of a results table (the total row is not repeated here).
struct DbhRow {
    int32_t tableNo = 0;
    int32_t dbhClass = 0; // inches
    double trees = 0;
    double averageHeight = 0;
    double basalArea = 0;
    std::array<double, 3> volumes{};
};

// What a run is worth, per acre, at the discount rate of the prices (economics/valuation.h).
struct Measures {
    int32_t harvestAge = 0; // the age of the run's final harvest
    std::optional<double> npv;
    std::optional<double> lev; // bare land only
    std::optional<double> irr; // a rate per year: 0.07 for 7 percent
    std::optional<double> eaa;
    std::optional<int32_t> bestAge;
    std::optional<double> valueAtBestAge; // LEV (bare land) or NPV (existing stand) at the best age
};

// The best regime a search found for a stand, or why it found none.
struct BestRegime {
    std::string regime;    // the regime in words; empty when none was found
    std::string macroText; // its macro as text
    Measures measures;
    int64_t combinations = 0;
    int64_t valued = 0;
    std::string message; // why no regime was found; empty otherwise
};

// The outcome of one stand under one regime.
struct StandResult {
    int64_t rowIndex = 0;
    int32_t regimeIndex = 0;
    std::string standId;
    std::string regime;
    bool ok = false;
    std::string message; // why it failed; for a stand that ran, the warnings shown on the way (may be empty)
    int64_t elapsedMicroseconds = 0;
    std::vector<SummaryRow> summaries;
    std::vector<DbhRow> dbhRows;      // only with the DBH detail
    std::optional<Measures> measures; // with prices, for a stand that ran
};

} // namespace grovex::batch
