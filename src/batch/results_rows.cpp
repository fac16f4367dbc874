#include "batch/results_rows.h"

#include <cmath>
#include <ctime>

namespace grovex::batch::rows {
namespace {

// An empty text is stored as NULL: a CSV cell cannot tell the two apart, so neither output does.
Value text(std::string_view value) {
    return value.empty() ? Value{} : Value{value};
}

// NaN cannot be stored as a number (SQLite would make it NULL anyway), so both outputs write NULL.
Value real(double value) {
    return std::isnan(value) ? Value{} : Value{value};
}

Value real(const std::optional<double>& value) {
    return value ? real(*value) : Value{};
}

Value whole(const std::optional<int32_t>& value) {
    return value ? Value{int64_t{*value}} : Value{};
}

// harvest_age to value_at_best_age.
void appendMeasures(const Measures& m, Row& row) {
    row.insert(row.end(), {int64_t{m.harvestAge}, real(m.npv), real(m.lev), real(m.irr), real(m.eaa), whole(m.bestAge),
                           real(m.valueAtBestAge)});
}

} // namespace

std::vector<std::string> standColumns(const std::vector<std::string>& userColumns) {
    std::vector<std::string> columns{"stand_id"};
    columns.insert(columns.end(), kKnownColumns.begin(), kKnownColumns.end());
    columns.insert(columns.end(), userColumns.begin(), userColumns.end());
    return columns;
}

void runRow(const RunIdentity& run, const RunRow& times, Row& row) {
    row.assign({times.runNo, text(run.programVersion), text(run.programCommit), text(times.started), text(times.ended),
                text(run.commandLine), text(run.shard), text(run.fingerprint), int64_t{run.dbhDetail ? 1 : 0}});
}

void inputFileRow(int64_t runNo, const InputFile& file, Row& row) {
    row.assign({runNo, Value{std::string_view(file.role)}, Value{std::string_view(file.path)},
                Value{std::string_view(file.sha256)}});
}

void regimeRow(const RegimeRecord& regime, int64_t regimeNo, Row& row) {
    row.assign({Value{std::string_view(regime.name)}, regimeNo, text(regime.macroText)});
}

void standRow(const StandRecord& stand, Row& row) {
    row.clear();
    row.emplace_back(std::string_view(stand.standId));
    for (const std::optional<std::string>& value : stand.known) {
        row.push_back(value ? Value{std::string_view(*value)} : Value{});
    }
    for (const std::string& value : stand.userValues) {
        row.push_back(text(value));
    }
}

void resultRow(const StandResult& result, int64_t runNo, Row& row) {
    row.assign({Value{std::string_view(result.standId)}, Value{std::string_view(result.regime)},
                Value{std::string_view(result.ok ? "ok" : "failed")}, text(result.message),
                int64_t{result.elapsedMicroseconds}, runNo});
}

void summaryRow(const StandResult& result, const SummaryRow& summary, Row& row) {
    row.assign({Value{std::string_view(result.standId)},
                Value{std::string_view(result.regime)},
                int64_t{summary.tableNo},
                Value{std::string_view(summary.thinned ? "thinned" : "live")},
                int64_t{summary.age},
                real(summary.trees),
                real(summary.basalArea),
                real(summary.qmd),
                real(summary.averageHeight),
                real(summary.dominantHeight),
                real(summary.relativeSpacing),
                real(summary.crownRatio),
                real(summary.cords),
                real(summary.volumes[0]),
                real(summary.volumes[1]),
                real(summary.volumes[2]),
                text(summary.volumeHeadings[0]),
                text(summary.volumeHeadings[1]),
                text(summary.volumeHeadings[2]),
                real(summary.hardwoodPercent)});
}

void dbhRow(const StandResult& result, const DbhRow& dbh, Row& row) {
    row.assign({Value{std::string_view(result.standId)}, Value{std::string_view(result.regime)}, int64_t{dbh.tableNo},
                int64_t{dbh.dbhClass}, real(dbh.trees), real(dbh.averageHeight), real(dbh.basalArea),
                real(dbh.volumes[0]), real(dbh.volumes[1]), real(dbh.volumes[2])});
}

void economicsRow(const StandResult& result, int64_t runNo, Row& row) {
    row.assign({Value{std::string_view(result.standId)}, Value{std::string_view(result.regime)}});
    appendMeasures(*result.measures, row);
    row.push_back(runNo);
}

void bestRegimeRow(const StandOutcome& outcome, int64_t runNo, Row& row) {
    const BestRegime& best = *outcome.bestRegime;
    row.assign({Value{std::string_view(outcome.stand.standId)}, text(best.regime), text(best.macroText)});
    if (best.regime.empty()) {
        row.insert(row.end(), 7, Value{});
    } else {
        appendMeasures(best.measures, row);
    }
    row.insert(row.end(), {best.combinations, best.valued, text(best.message), runNo});
}

std::string utcTimestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

} // namespace grovex::batch::rows
