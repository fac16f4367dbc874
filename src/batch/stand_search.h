#pragma once
// The stand of a regime search from its texts, as the command line and the stand table give them: the sheet
// accepts it once with the rotation as its age target, and again for each first target a schedule needs.

#include "batch/stand_inputs.h"
#include "economics/optimizer.h"
#include "treelist/tree_list.h"

#include <optional>

namespace grovex::batch {

// Fills `stand` from `options`, whose output targets are left out (the search gives its own); `trees` is the
// tree list of a stand from one and must outlive `stand`. A refusal of the stand's own values is answered.
std::optional<StandRefusal> searchStand(const StandOptions& options, const FieldNamer& name, const TreeList* trees,
                                        economics::SearchStand& stand);

} // namespace grovex::batch
