#pragma once
// The two input groups as a macro sees them: the entries an accepted Initialize Stand sheet (Input1) and
// Stand Projection dialog (Input2) leave in the macro, in recording order, and the replay of one recorded
// section into a model and its results view.
//
// Custom volume equations: the index of "vola[i]", "volb[i]" and "voldbh[i]" numbers the equation, 1 to
// 3, and the model keeps equation i at array position i - 1; the replay stores at index - 1, so a
// recorded custom-unit run replays to the same model. "voldbh[0]" is a key of its own: the minimum DBH
// class of cubic feet and cords, position 0. "volnam" carries the character offset of the name in the
// 15-character name table; its slot is index / 15.

#include "base/platform/ui.h"
#include "control/macro_store.h"
#include "model/growth_model.h"
#include "model/input1.h"
#include "model/input2.h"
#include "results/document.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace grovex {

inline constexpr const char* kStartInput1 = "start Input1";
inline constexpr const char* kEndInput1 = "end Input1";
inline constexpr const char* kStartInput2 = "start Input2";
inline constexpr const char* kEndInput2 = "end Input2";

inline constexpr const char* kMinDbhOutOfRange = "The Min DBH is out of range";
inline constexpr const char* kMaxDbhOutOfRange = "The Max DBH is out of range";
inline constexpr const char* kResidualOutOfRange = "The TargetResidual Basal Area is out of range";
inline constexpr const char* kNextNeedsYoungStand = "The stand age must be 25 or less if non age targets are used.";
// A replayed value outside the domain the input pages allow: the key, the value and the two ends.
inline constexpr const char* kMacroValueOutOfRangeFormat =
    "The macro's value for %s (%s) is out of range: it must be from %s to %s.";
// The key of a custom equation's value in that message: the key and the equation number 1 to 3.
inline constexpr const char* kMacroEquationKeyFormat = "%s of equation %d";

// The entries of an accepted Initialize Stand sheet, between "start Input1" and "end Input1" (both left
// to the caller), with the values as `model` holds them after WriteInput1 (and, for a stand from a tree
// list, after the tree list was taken into the model: "EXTRACTLIST" marks that place).
std::vector<MacroEntry> Input1Entries(const Input1& input, const GrowthModel& model);

// The entries of an accepted Stand Projection dialog, between "start Input2" and "end Input2", for a model
// as it stands before ApplyInput2 (control/input2_apply.h) writes the values: the same order and values,
// and "tthin" when the thinning age will not be below the age.
std::vector<MacroEntry> Input2Entries(const Input2Values& values, const GrowthModel& before);

// Appends entries in order (MacroAbandon when the store fills).
void recordEntries(MacroStore& store, const std::vector<MacroEntry>& entries);

// What a section replay changes.
struct ReplayTarget {
    GrowthModel& model;
    RunState& run;
    std::string& standTitle;
};

// What the projection routine and the player supply to a replay.
struct ReplayHooks {
    // The macro failure handling (start or end marker missing, a key outside the vocabulary, a section
    // that ends at the last entry). The replay goes on after it.
    std::function<void()> macroFailure;
    // "EXTRACTLIST": takes the tree list of the simulation's current tree list grid into the model again;
    // false when that was refused (with its message), which abandons the command.
    std::function<bool()> extractTreeList;
    // Optional: next-target mode's own step after "next" has set kt to 0.
    std::function<void()> nextTarget;
    // Where the range-check messages go; may be null.
    Ui* ui = nullptr;
};

// Replays the section that starts at the first `startMarker` from `position` on and ends at `endMarker`.
// Afterwards `position` is the entry after the end marker, or lastIndex + 1 when the failure handling ran.
// A range check that fails shows its message and throws MacroAbandon(ValueOutOfRange); "tlim" is checked
// against the stand only when the thinning uses it (ithin 2 or 3 with ilow 2), so a row thinning always
// replays. Every value the section set is also held against the domain the input pages allow
// (kMacroValueOutOfRangeFormat) at the end of the section and before an entry that acts on the model
// ("EXTRACTLIST", "tthin", "next").
void ReplaySection(const MacroStore& store, int& position, std::string_view startMarker, std::string_view endMarker,
                   ReplayTarget target, const ReplayHooks& hooks);

} // namespace grovex
