#include "batch/stand_run.h"

#include "batch/stand_search.h"
#include "control/macro_recorder.h"
#include "control/macro_text.h"
#include "control/message_log.h"
#include "control/projection.h"
#include "economics/optimizer.h"
#include "economics/valuation.h"
#include "model/result_table.h"
#include "treelist/tree_list_file.h"

#include <chrono>
#include <filesystem>
#include <memory>

namespace grovex::batch {
namespace {

constexpr size_t kTreeListColumn = kKnownColumns.size() - 1;

std::optional<double> value(float v) {
    return static_cast<double>(v);
}

// A heading's lines joined by one blank: "Volume\no.b.\nTo  6in" is "Volume o.b. To  6in".
std::string headingText(const std::string& heading) {
    std::string text;
    for (char c : heading) {
        text += c == '\n' ? ' ' : c;
    }
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

SummaryRow summaryOf(const ResultTable& table, int32_t tableNo) {
    SummaryRow s;
    s.tableNo = tableNo;
    s.thinned = table.kind == kThinnedTreeTable;
    s.age = table.age;
    const TableRow& total = table.rows.back();
    s.trees = value(total[1]);
    s.basalArea = value(total[3]);
    if (!s.thinned) {
        const ResultTable::StandValues& v = table.stand;
        s.trees = value(v.trees);
        s.basalArea = value(v.basalArea);
        s.qmd = value(v.qmd);
        s.averageHeight = value(v.averageHeight);
        s.dominantHeight = value(v.dominantHeight);
        s.relativeSpacing = value(v.relativeSpacing);
        s.crownRatio = value(v.crownRatio);
        s.cords = value(v.cords);
        if (v.hardwoodPercent >= 0) {
            s.hardwoodPercent = value(v.hardwoodPercent);
        }
    }
    for (size_t k = 0; k < 3; ++k) {
        s.volumes[k] = total[4 + k];
        s.volumeHeadings[k] = headingText(table.headings[4 + k]);
    }
    return s;
}

void addDbhRows(const ResultTable& table, int32_t tableNo, std::vector<DbhRow>& out) {
    for (size_t r = 0; r + 1 < table.rows.size(); ++r) {
        const TableRow& row = table.rows[r];
        out.push_back(DbhRow{tableNo, static_cast<int32_t>(row[0]), row[1], row[2], row[3], {row[4], row[5], row[6]}});
    }
}

// Plays a merged macro on a new simulation; the failure message, or nothing when it ran (and then
// `warnings` holds what was shown on the way, one message per line).
std::optional<std::string> play(const std::vector<MacroEntry>& macro, const TreeList* trees, CGROVEXDoc& doc,
                                StandObserver* observer, std::string& warnings) {
    MessageLog log;
    MacroStore store;
    for (const MacroEntry& entry : macro) {
        store.append(entry);
    }
    doc.setTitle("GROVEX1");
    doc.model.setUi(&log);
    doc.model.setObserver(observer);
    DiscardedState stateFile;
    DiscardedState playFile;
    MacroOnlyInputs given(trees);
    MacroRecorder recorder(store, doc, log, playFile);
    MacroInputSource inputs(recorder, given);
    ProjectionCommands commands(doc, log, inputs, stateFile, &recorder);
    commands.setRecordsYearly(false);
    recorder.setProjection([&commands] { commands.project(); });
    recorder.play();
    doc.model.setUi(nullptr);
    doc.model.setObserver(nullptr);
    const std::vector<std::string> messages = withoutRollbackNotices(log);
    if (!recorder.failed() && doc.model.lastTable() >= 0) {
        for (const std::string& message : messages) {
            warnings += (warnings.empty() ? "" : "\n") + message;
        }
        return std::nullopt;
    }
    return failureReason(messages);
}

// Where a refused value came from: ", column site" for a cell of the row (given or left empty), ", regime
// thin, target_age 15" for a value the regime keeps; nothing for a message that names its fields itself.
std::string refusalPlace(const StandRecord& row, const Regime& regime, const StandOptions& options, StandField field) {
    if (field == StandField::None) {
        return "";
    }
    const bool rotationFromRegime = field == StandField::Rotation && !row.known[1];
    if (field < StandField::TargetAge && !rotationFromRegime) {
        return ", column " + fieldName(field);
    }
    bool isDefault = false;
    const std::string text = fieldText(options, field, isDefault);
    return ", regime " + regime.name + ", " + fieldName(field) + (text.empty() ? "" : " " + text);
}

Measures measuresOf(const economics::Valuation& v) {
    return Measures{v.harvestAge, v.npv, v.lev, v.irr, v.eaa, v.bestAge, v.valueAtBestAge};
}

// "No combination could be valued: 12 final harvest beyond the rotation; 3 ...".
std::string nothingValued(const economics::SearchResult& result) {
    std::string reasons;
    for (const economics::SkipCount& skip : result.skipped) {
        reasons += (reasons.empty() ? "" : "; ") + std::to_string(skip.count) + " " + skip.reason;
    }
    return "No combination could be valued: " + reasons;
}

} // namespace

std::string rowName(const StandRecord& row) {
    return "row " + std::to_string(row.rowIndex + 1) + " (stand_id " + row.standId + ")";
}

StandRun::StandRun(const std::vector<Regime>& regimes, bool dbhDetail, std::string tableFolder, StandValuing valuing)
    : regimes_(regimes), dbhDetail_(dbhDetail), tableFolder_(std::move(tableFolder)), valuing_(valuing) {}

std::string StandRun::treeListPath(const StandRecord& row) const {
    const std::optional<std::string>& cell = row.known[kTreeListColumn];
    return cell ? (std::filesystem::path(tableFolder_) / *cell).string() : "";
}

StandOutcome StandRun::run(const StandRecord& row, const std::vector<bool>& pending) const {
    StandOutcome outcome;
    outcome.stand = row;
    std::unique_ptr<TreeList> trees;
    std::string treeListError;
    if (row.known[kTreeListColumn]) {
        trees = std::make_unique<TreeList>();
        MessageLog log;
        readTreeListFile(treeListPath(row), *trees, log);
        if (!trees->loaded) {
            treeListError = log.messages().empty() ? "The tree list could not be read." : log.messages().front();
        }
    }
    bool any = false;
    for (size_t k = 0; k < regimes_.size(); ++k) {
        if (pending[k]) {
            outcome.results.push_back(runRegime(row, k, trees.get(), treeListError));
            any = true;
        }
    }
    if (any && valuing_.space != nullptr) {
        outcome.bestRegime = searchBest(row, trees.get(), treeListError);
    }
    return outcome;
}

BestRegime StandRun::searchBest(const StandRecord& row, const TreeList* trees, const std::string& treeListError) const {
    BestRegime best;
    std::string cellError;
    const StandOptions options = standOptions(row, regimes_.front().kept, treeListPath(row), cellError);
    economics::SearchStand stand;
    if (!cellError.empty()) {
        best.message = rowName(row) + ", column poorly_drained: " + cellError;
    } else if (!treeListError.empty()) {
        best.message = rowName(row) + ", column treelist: " + treeListError;
    } else if (auto refused = searchStand(options, fieldName, trees, stand)) {
        best.message =
            rowName(row) + refusalPlace(row, regimes_.front(), options, refused->field) + ": " + refused->message;
    }
    if (!best.message.empty()) {
        return best;
    }
    const economics::SearchResult result = economics::searchRegimes(*valuing_.prices, *valuing_.space, stand, 1);
    best.combinations = result.combinations;
    best.valued = result.valued;
    if (result.failure || result.best.empty()) {
        best.message = rowName(row) + ": " + (result.failure ? *result.failure : nothingValued(result));
        return best;
    }
    const economics::RankedRegime& first = result.best.front();
    best.regime = first.text;
    best.macroText = macroText(first.macro);
    best.measures = measuresOf(first.valuation);
    return best;
}

StandResult StandRun::runRegime(const StandRecord& row, size_t regimeIndex, const TreeList* trees,
                                const std::string& treeListError) const {
    const auto started = std::chrono::steady_clock::now();
    const Regime& regime = regimes_[regimeIndex];
    StandResult result;
    result.rowIndex = row.rowIndex;
    result.regimeIndex = static_cast<int32_t>(regimeIndex);
    result.standId = row.standId;
    result.regime = regime.name;
    const auto finish = [&](std::optional<std::string> failure) {
        result.ok = !failure;
        if (failure) {
            result.message = std::move(*failure);
            result.summaries.clear();
        }
        result.elapsedMicroseconds =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started).count();
        return result;
    };
    std::string cellError;
    const StandOptions options = standOptions(row, regime.kept, treeListPath(row), cellError);
    if (!cellError.empty()) {
        return finish(rowName(row) + ", column poorly_drained: " + cellError);
    }
    ProjectInput accepted;
    if (auto refused = standInput(options, fieldName, accepted)) {
        return finish(rowName(row) + refusalPlace(row, regime, options, refused->field) + ": " + refused->message);
    }
    if (!treeListError.empty()) {
        return finish(rowName(row) + ", column treelist: " + treeListError);
    }
    const std::optional<std::vector<MacroEntry>> macro = mergedMacro(regime, accepted);
    if (!macro) {
        return finish(rowName(row) + ", regime " + regime.name +
                      ": with this stand's values the macro would hold "
                      "more than 400 entries.");
    }
    auto doc = std::make_unique<CGROVEXDoc>();
    std::string shown;
    std::optional<economics::RunRecorder> recorder;
    if (valuing_.prices != nullptr) {
        recorder.emplace(*valuing_.prices);
    }
    if (auto failure = play(*macro, trees, *doc, recorder ? &*recorder : nullptr, shown)) {
        return finish(rowName(row) + ", regime " + regime.name + ": " + *failure);
    }
    if (recorder) {
        result.measures =
            measuresOf(economics::valueRun(*valuing_.prices, economics::runFacts(doc->model, &*recorder)));
    }
    const std::vector<ResultTable>& tables = doc->model.tables;
    for (size_t t = 0; t < tables.size(); ++t) {
        const auto tableNo = static_cast<int32_t>(t + 1);
        result.summaries.push_back(summaryOf(tables[t], tableNo));
        if (dbhDetail_) {
            addDbhRows(tables[t], tableNo, result.dbhRows);
        }
    }
    result.message = std::move(shown);
    return finish(std::nullopt);
}

} // namespace grovex::batch
