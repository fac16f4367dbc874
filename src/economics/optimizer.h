#pragma once
// The search for the best regime of a stand: every schedule of a search space is recorded as the desktop
// records it (Initialize and Project, then one Midrotation Treatment and Project per treatment age) and
// projected once to the last harvest age with a RunRecorder attached, which values a final harvest at every
// age of the range without another projection. The best regimes are recorded again to their own harvest age
// and valued in full, so that each one's macro plays back to the values shown.

#include "control/macro_store.h"
#include "economics/prices.h"
#include "economics/search_space.h"
#include "economics/valuation.h"
#include "model/input1.h"
#include "results/document.h"
#include "treelist/tree_list.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace grovex::economics {

// The stand a search is for, as the input pages accepted it.
struct SearchStand {
    Input1 input;                       // accepted with some age target
    const TreeList* treeList = nullptr; // the trees of a stand from a tree list
    // The pages' check of the stand with the age target `targetAge`: fills `input`, or answers the refusal.
    std::function<std::optional<std::string>(int targetAge, Input1& input)> withTargetAge;
};

// A schedule recorded to a final target age.
struct RecordedRun {
    std::unique_ptr<CGROVEXDoc> doc;
    std::vector<MacroEntry> macro;
    std::optional<std::string> failure; // why a command was refused or failed
};

// Records `schedule` ended by a projection to `harvestAge`, telling `observer` (may be null) of every age.
// A treatment at age a is given after a projection to a - 1, as the treatment command grows the stand one
// season before it treats; the last command projects to the harvest age.
RecordedRun recordSchedule(const SearchStand& stand, const Schedule& schedule, int harvestAge, StandObserver* observer);

struct RankedRegime {
    Schedule schedule;
    int harvestAge = 0;
    std::string text;              // the schedule in words and its harvest age
    Valuation valuation;           // of the regime recorded to its harvest age
    std::vector<MacroEntry> macro; // that recording
};

struct SkipCount {
    std::string reason;
    int64_t count = 0;
};

struct SearchResult {
    int64_t combinations = 0;
    int64_t valued = 0;
    int startAge = 0;
    bool levRanked = true;              // bare land: ranked by LEV; an existing stand by NPV
    std::vector<RankedRegime> best;     // the best first
    std::vector<SkipCount> skipped;     // by reason, in the order first met
    std::optional<std::string> failure; // the stand itself could not be started: nothing was searched
};

// Why a combination is skipped, beside the pages' and the model's own messages.
inline constexpr const char* kHarvestBeyondRotation = "final harvest beyond the rotation";
inline constexpr const char* kHarvestNotAfterStart = "final harvest not after the stand's start age";
inline constexpr const char* kHarvestBeforeFirstAge = "final harvest before the first age the stand is grown to";
inline constexpr const char* kTreatmentNotAfterStart = "treatment not after the stand's start age";
inline constexpr const char* kTreatmentNotBeforeHarvest = "treatment at or after the final harvest age";

// Values every combination of `space` for `stand` and keeps the `keep` best.
SearchResult searchRegimes(const Prices& prices, const SearchSpace& space, const SearchStand& stand, size_t keep);

} // namespace grovex::economics
