#pragma once
// The rows of the results, table by table, as both outputs write them: the results database binds them to
// its statements, the CSV folder prints them. Keeping the columns and the conversions in one place is what
// makes a CSV folder hold exactly the rows of the database.

#include "batch/result_sink.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace grovex::batch::rows {

// One value of a row: NULL, a whole number, a real number or a text. A text points into the outcome being
// written and lives as long as it.
using Value = std::variant<std::monostate, int64_t, double, std::string_view>;
using Row = std::vector<Value>;

inline constexpr std::array<const char*, 9> kRunColumns{"run_no",  "program_version", "program_commit",
                                                        "started", "ended",           "command_line",
                                                        "shard",   "fingerprint",     "detail"};
inline constexpr std::array<const char*, 4> kInputFileColumns{"run_no", "role", "path", "sha256"};
inline constexpr std::array<const char*, 3> kRegimeColumns{"regime", "regime_no", "macro_text"};
inline constexpr std::array<const char*, 6> kResultColumns{"stand_id", "regime",     "status",
                                                           "message",  "elapsed_us", "run_no"};
inline constexpr std::array<const char*, 20> kSummaryColumns{"stand_id",
                                                             "regime",
                                                             "table_no",
                                                             "kind",
                                                             "age",
                                                             "trees",
                                                             "basal_area",
                                                             "qmd",
                                                             "average_height",
                                                             "dominant_height",
                                                             "relative_spacing",
                                                             "crown_ratio",
                                                             "cords",
                                                             "volume1",
                                                             "volume2",
                                                             "volume3",
                                                             "volume1_heading",
                                                             "volume2_heading",
                                                             "volume3_heading",
                                                             "hardwood_percent"};
inline constexpr std::array<const char*, 10> kDbhColumns{"stand_id", "regime",         "table_no",   "dbh_class",
                                                         "trees",    "average_height", "basal_area", "volume1",
                                                         "volume2",  "volume3"};

inline constexpr std::array<const char*, 10> kEconomicsColumns{
    "stand_id", "regime", "harvest_age", "npv", "lev", "irr", "eaa", "best_age", "value_at_best_age", "run_no"};
inline constexpr std::array<const char*, 14> kBestRegimeColumns{
    "stand_id", "regime",   "macro_text",        "harvest_age",  "npv",    "lev",     "irr",
    "eaa",      "best_age", "value_at_best_age", "combinations", "valued", "message", "run_no"};

template <size_t N> std::vector<std::string> names(const std::array<const char*, N>& columns) {
    return std::vector<std::string>(columns.begin(), columns.end());
}

// The columns of the stand table: stand_id, the known columns, then the stand table's own.
std::vector<std::string> standColumns(const std::vector<std::string>& userColumns);

// What a run row holds besides its number and end time.
struct RunRow {
    int64_t runNo = 0;
    std::string started; // ISO 8601 UTC
    std::string ended;   // empty while the run goes on
};

void runRow(const RunIdentity& run, const RunRow& times, Row& row);
void inputFileRow(int64_t runNo, const InputFile& file, Row& row);
// `regimeNo` counts from 1 in command-line order.
void regimeRow(const RegimeRecord& regime, int64_t regimeNo, Row& row);
void standRow(const StandRecord& stand, Row& row);
void resultRow(const StandResult& result, int64_t runNo, Row& row);
void summaryRow(const StandResult& result, const SummaryRow& summary, Row& row);
void dbhRow(const StandResult& result, const DbhRow& dbh, Row& row);
// Only for a result with measures, and an outcome with a best regime.
void economicsRow(const StandResult& result, int64_t runNo, Row& row);
void bestRegimeRow(const StandOutcome& outcome, int64_t runNo, Row& row);

// The current time as "2026-12-08T11:30:00Z".
std::string utcTimestamp();

} // namespace grovex::batch::rows
