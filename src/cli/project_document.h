#pragma once
// The simulation document of a finished `grovex-cli project` run, as the desktop application would save it
// after the same Initialize and Project: the projected model with its tables, the run and display state, and
// the values the two input pages would remember.

#include "batch/stand_inputs.h"
#include "results/document.h"

#include <memory>

namespace grovex::cli {

// The pages remember what the sheet accepted.
std::unique_ptr<CGROVEXDoc> projectedDocument(GrowthModel model, bool targetReached, const batch::ProjectInput& input);

} // namespace grovex::cli
