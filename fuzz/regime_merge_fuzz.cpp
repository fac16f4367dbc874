// Regimes merged with stand rows: the first byte picks a row of a stand table, the rest is a macro (as text
// or as file bytes). A macro taken as a regime keeps options that the input sheet either takes back to the
// same options or refuses naming a field; its macro for the row holds at most 400 entries, starts with the
// row's initialization and then every later command as recorded; and the row runs to tables or fails with
// a message that names the row and gives the reason.

#include "batch/regime.h"
#include "batch/stand_run.h"
#include "control/macro_inputs.h"
#include "control/macro_text.h"
#include "control/projection.h"
#include "fuzz_input.h"

#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

using namespace grovex;
using namespace grovex::batch;

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Positions in kKnownColumns.
constexpr size_t kTitle = 0, kRotation = 1, kSite = 2, kPlanted = 3, kSurvival = 4, kExistingAge = 5, kTrees = 6,
                 kBasalArea = 7, kPoorlyDrained = 8, kHardwood = 9;

StandRecord row(std::string id, std::initializer_list<std::pair<size_t, std::string>> cells) {
    StandRecord record;
    record.line = 2;
    record.standId = std::move(id);
    for (const auto& [column, text] : cells) {
        record.known[column] = text;
    }
    return record;
}

const std::vector<StandRecord>& stands() {
    static const std::vector<StandRecord> rows{
        row("BL-1", {{kTitle, "Bare land"}, {kSite, "65"}, {kPlanted, "700"}, {kSurvival, "85"}}),
        row("EX-1", {{kExistingAge, "12"}, {kTrees, "600"}, {kSite, "65"}}),
        row("EX-2", {{kExistingAge, "14"}, {kTrees, "550"}, {kBasalArea, "90"}, {kSite, "70"}, {kRotation, "40"}}),
        row("PD-1", {{kExistingAge, "4"}, {kTrees, "650"}, {kPoorlyDrained, "1"}, {kHardwood, "10"}, {kSite, "55"}}),
        row("BAD-1", {{kPoorlyDrained, "yes"}}),
        row("BAD-2", {{kSite, "sixty"}}),
    };
    return rows;
}

bool readEntries(std::span<const uint8_t> bytes, std::vector<MacroEntry>& entries) {
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return parseMacroText(text, entries, error) || parseMacroFile(bytes, entries);
}

auto keptValues(const StandOptions& o) {
    return std::tie(o.rotation, o.targets, o.units, o.bark, o.rule, o.minDbh, o.top, o.equations);
}

// A refusal names its field by the namer's text, or by the field it returns.
std::string markedName(StandField field) {
    return "<" + fieldName(field) + ">";
}

bool namesAField(const StandRefusal& refusal) {
    if (refusal.field != StandField::None) {
        return true;
    }
    for (int f = static_cast<int>(StandField::Title); f <= static_cast<int>(StandField::Equation); ++f) {
        if (refusal.message.find(markedName(static_cast<StandField>(f))) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// The first command's inputs are replaced, every entry from the regime's "end Input1" on kept as it is.
void checkMerged(const Regime& regime, const std::vector<MacroEntry>& merged) {
    require(merged.size() <= static_cast<size_t>(MacroStore::kCapacity));
    require(merged.size() >= 3 && merged[0].key == "ProjectInit" && merged[1].key == kStartInput1);
    const size_t tail = regime.entries.size() - regime.initializationEnd;
    require(merged.size() >= tail + 2);
    const size_t end = merged.size() - tail;
    for (size_t k = 2; k < end; ++k) {
        require(merged[k].key != kEndInput1);
    }
    for (size_t k = 0; k < tail; ++k) {
        require(merged[end + k] == regime.entries[regime.initializationEnd + k]);
    }
}

// The kept options alone describe the default bare land; what the sheet accepts of them records a regime
// that keeps the same options.
void checkKeptOptions(const Regime& regime) {
    ProjectInput input;
    if (const std::optional<StandRefusal> refused = standInput(regime.kept, markedName, input)) {
        require(namesAField(*refused));
        return;
    }
    const std::optional<std::vector<MacroEntry>> merged = mergedMacro(regime, input);
    if (!merged) {
        return;
    }
    checkMerged(regime, *merged);
    Regime again;
    require(!makeRegime(regime.name, *merged, again));
    require(keptValues(again.kept) == keptValues(regime.kept));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const StandRecord& stand = stands()[static_cast<size_t>(input.pick(static_cast<int>(stands().size())))];
    std::vector<MacroEntry> entries;
    if (!readEntries(input.rest(), entries)) {
        return 0;
    }
    std::vector<Regime> regimes(1);
    Regime& regime = regimes.front();
    if (const std::optional<std::string> refused = makeRegime("fuzz", entries, regime)) {
        require(refused->rfind("Regime fuzz: ", 0) == 0);
        return 0;
    }
    require(regime.initializationEnd >= 2 && regime.initializationEnd < regime.entries.size());
    require(regime.entries[regime.initializationEnd].key == kEndInput1);
    checkKeptOptions(regime);

    // The row's own macro, when the sheet takes its values.
    bool runnable = false;
    std::string cellError;
    const StandOptions options = standOptions(stand, regime.kept, "", cellError);
    ProjectInput accepted;
    if (cellError.empty() && !standInput(options, fieldName, accepted)) {
        if (const std::optional<std::vector<MacroEntry>> merged = mergedMacro(regime, accepted)) {
            checkMerged(regime, *merged);
            runnable = true;
        }
    }

    const StandRun run(regimes, false, "");
    const StandOutcome outcome = run.run(stand, {true});
    require(outcome.results.size() == 1);
    const StandResult& result = outcome.results.front();
    require(result.standId == stand.standId && result.regime == "fuzz");
    // A stand's simulation is thrown away, never rolled back: the notice of a failed rollback is no reason.
    require(result.message.find(kRestoreFailedMessage) == std::string::npos);
    if (result.ok) {
        require(runnable && !result.summaries.empty());
    } else {
        require(result.message.rfind("row 1 (stand_id " + stand.standId + ")", 0) == 0);
        require(result.summaries.empty());
    }
    return 0;
}
