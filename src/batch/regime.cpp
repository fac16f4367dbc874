#include "batch/regime.h"

#include "base/c_format.h"
#include "control/command_abandoned.h"
#include "control/macro_inputs.h"
#include "control/macro_text.h"
#include "control/message_log.h"
#include "model/growth_model.h"

#include <filesystem>
#include <memory>

namespace grovex::batch {
namespace {

constexpr const char* kProjectInit = "ProjectInit";

std::string regimeMessage(const std::string& name, const std::string& text) {
    return "Regime " + name + ": " + text;
}

// The model as the first command's inputs leave it.
std::optional<std::string> replayInitialization(const std::vector<MacroEntry>& entries, GrowthModel& model) {
    MacroStore store;
    if (!store.loadBytes(macroFileBytes(entries))) {
        return std::string("the macro holds more entries than a macro can.");
    }
    model.ResetModel();
    RunState run;
    std::string title;
    MessageLog log;
    bool failed = false;
    ReplayHooks hooks;
    hooks.macroFailure = [&failed] { failed = true; };
    hooks.extractTreeList = [] { return true; }; // each stand brings its own trees
    hooks.ui = &log;
    int position = 0;
    try {
        ReplaySection(store, position, kStartInput1, kEndInput1, {model, run, title}, hooks);
    } catch (const CommandAbandoned&) {
        failed = true;
    }
    if (failed) {
        return log.messages().empty() ? std::string("its Initialize and Project inputs cannot be replayed.")
                                      : log.messages().front();
    }
    return std::nullopt;
}

const char* ruleName(int32_t voltyp) {
    return voltyp == 1 ? "international" : voltyp == 2 ? "doyle" : "scribner";
}

// The texts a user would type for the rotation, target and volume units the model holds.
std::optional<std::string> keptOptions(const GrowthModel& m, StandOptions& kept) {
    kept = StandOptions{};
    kept.rotation = std::to_string(m.nyears);
    kept.targets[static_cast<size_t>(m.pcrit - 1)] = cRealText(m.target);
    if (m.vtype == kCubicFeet) {
        kept.units = "cubic";
        kept.bark = m.voltyp == 1 ? "inside" : "outside";
        kept.minDbh = std::to_string(m.voldbh[0]);
        kept.top = cRealText(m.voltop);
    } else if (m.vtype == kCordsAndBoardFeet) {
        kept.units = "cords";
        kept.rule = ruleName(m.voltyp);
        kept.minDbh = std::to_string(m.voldbh[0]);
    } else {
        kept.units = "custom";
        for (size_t k = 0; k < 3; ++k) {
            const std::string& name = m.volnam[k];
            if (name.find(',') != std::string::npos) {
                return "the name of volume equation " + std::to_string(k + 1) + " holds a comma.";
            }
            kept.equations.push_back(name == "-blank-" ? std::string()
                                                       : name + "," + cRealText(m.vola[k]) + "," +
                                                             cRealText(m.volb[k]) + "," + std::to_string(m.voldbh[k]));
        }
        while (!kept.equations.empty() && kept.equations.back().empty()) {
            kept.equations.pop_back();
        }
    }
    return std::nullopt;
}

// The first "end Input1" after "ProjectInit" and "start Input1" at the start of the macro.
std::optional<size_t> initializationEnd(const std::vector<MacroEntry>& entries) {
    if (entries.size() < 2 || entries[0].key != kProjectInit || entries[1].key != kStartInput1) {
        return std::nullopt;
    }
    for (size_t k = 2; k < entries.size(); ++k) {
        if (entries[k].key == kEndInput1) {
            return k;
        }
    }
    return std::nullopt;
}

} // namespace

RegimeFile parseRegimeOption(const std::string& text) {
    const size_t equals = text.find('=');
    std::error_code ignored;
    if (equals != std::string::npos && equals > 0 && !std::filesystem::exists(text, ignored)) {
        return RegimeFile{text.substr(0, equals), text.substr(equals + 1)};
    }
    return RegimeFile{std::filesystem::path(text).stem().string(), text};
}

std::optional<std::string> makeRegime(std::string name, std::vector<MacroEntry> entries, Regime& regime) {
    const std::optional<size_t> end = initializationEnd(entries);
    if (!end) {
        return regimeMessage(name, "a regime must start with Initialize and Project (ProjectInit, start Input1 "
                                   "... end Input1); this macro does not.");
    }
    auto model = std::make_unique<GrowthModel>();
    if (auto refused = replayInitialization(entries, *model)) {
        return regimeMessage(name, *refused);
    }
    if (auto refused = keptOptions(*model, regime.kept)) {
        return regimeMessage(name, *refused);
    }
    regime.name = std::move(name);
    regime.entries = std::move(entries);
    regime.initializationEnd = *end;
    return std::nullopt;
}

std::optional<std::string> readRegime(const RegimeFile& file, Regime& regime) {
    std::vector<MacroEntry> entries;
    std::string error;
    if (!readMacroEntries(file.path, entries, error)) {
        return regimeMessage(file.name, error);
    }
    return makeRegime(file.name, std::move(entries), regime);
}

std::optional<StandRefusal> projectRegime(const StandOptions& options, Regime& regime) {
    ProjectInput accepted;
    if (auto refused = standInput(options, optionName, accepted)) {
        return refused;
    }
    Regime recorded;
    recorded.entries = {MacroEntry::marker(kProjectInit), MacroEntry::marker(kStartInput1),
                        MacroEntry::marker(kEndInput1), MacroEntry::marker("Project"),
                        MacroEntry::marker("ProjectEnd")};
    recorded.initializationEnd = 2;
    std::vector<MacroEntry> entries = *mergedMacro(recorded, accepted);
    if (auto refused = makeRegime("default", std::move(entries), regime)) {
        return StandRefusal{*refused, StandField::None};
    }
    return std::nullopt;
}

StandOptions standOptions(const StandRecord& row, const StandOptions& kept, const std::string& treeListPath,
                          std::string& error) {
    StandOptions o = kept;
    const auto& cell = row.known;
    // The positions of kKnownColumns.
    o.title = cell[0];
    if (cell[1]) {
        o.rotation = cell[1];
    }
    o.site = cell[2];
    o.planted = cell[3];
    o.survival = cell[4];
    o.existingAge = cell[5];
    o.trees = cell[6];
    o.basalArea = cell[7];
    if (cell[8] && *cell[8] != "0" && *cell[8] != "1") {
        error = "must be 0 or 1, not \"" + *cell[8] + "\"";
    }
    o.poorlyDrained = cell[8] && *cell[8] == "1";
    o.hardwood = cell[9];
    if (cell[10]) {
        o.treeList = treeListPath;
    }
    return o;
}

std::optional<std::vector<MacroEntry>> mergedMacro(const Regime& regime, const ProjectInput& input) {
    // Recording reads the values back from a model that has just taken them.
    auto written = std::make_unique<GrowthModel>();
    written->ResetModel();
    WriteInput1(*written, input.input);
    const std::vector<MacroEntry> inputs = Input1Entries(input.input, *written);
    std::vector<MacroEntry> merged;
    merged.reserve(regime.entries.size() + inputs.size());
    merged.insert(merged.end(), regime.entries.begin(), regime.entries.begin() + 2);
    merged.insert(merged.end(), inputs.begin(), inputs.end());
    merged.insert(merged.end(), regime.entries.begin() + static_cast<std::ptrdiff_t>(regime.initializationEnd),
                  regime.entries.end());
    if (merged.size() > static_cast<size_t>(MacroStore::kCapacity)) {
        return std::nullopt;
    }
    return merged;
}

} // namespace grovex::batch
