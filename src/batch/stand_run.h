#pragma once
// One stand of a batch run under each of its regimes: the row is checked through the input sheet, the
// regime's macro is merged with it and played on a simulation of its own, and the tables become the stand's
// results. A stand that fails is that stand's alone; nothing is shared between stands but the regimes.

#include "batch/regime.h"
#include "batch/result_sink.h"
#include "economics/prices.h"
#include "economics/search_space.h"
#include "treelist/tree_list.h"

#include <string>
#include <vector>

namespace grovex::batch {

// What a batch run values: with prices, every regime a stand ran; with a search space too, the best regime of
// every stand.
struct StandValuing {
    const economics::Prices* prices = nullptr;
    const economics::SearchSpace* space = nullptr; // only with prices
};

class StandRun {
public:
    // `tableFolder` is the stand table's folder, which tree list paths are relative to.
    StandRun(const std::vector<Regime>& regimes, bool dbhDetail, std::string tableFolder, StandValuing valuing = {});

    // The stand's results under the regimes marked in `pending` (indexed like the regimes).
    StandOutcome run(const StandRecord& row, const std::vector<bool>& pending) const;

private:
    StandResult runRegime(const StandRecord& row, size_t regimeIndex, const TreeList* trees,
                          const std::string& treeListError) const;
    BestRegime searchBest(const StandRecord& row, const TreeList* trees, const std::string& treeListError) const;
    std::string treeListPath(const StandRecord& row) const;

    const std::vector<Regime>& regimes_;
    bool dbhDetail_;
    std::string tableFolder_;
    StandValuing valuing_;
};

// "row 17 (stand_id B-204)": how a message names a row.
std::string rowName(const StandRecord& row);

} // namespace grovex::batch
