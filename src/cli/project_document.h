#pragma once
// The simulation document of a finished `grovex-cli project` run, as the desktop application would save it
// after the same Initialize and Project: the projected model with its tables, the run and display state, and
// the values the two input pages would remember.

#include "cli/project_options.h"
#include "model/input1.h"
#include "model/input_pages.h"
#include "results/document.h"

#include <memory>

namespace grovex::cli {

// The Plantation Information page after OK with these accepted values (percentages as entered).
PlantationPageMembers plantationPageOf(const Input1& input);

// The Volume Output Units page after OK: the members of boxes the chosen units disable keep the values of a
// page that was never filled in, and the equation names are the texts as typed.
VolumeUnitsPageMembers volumeUnitsPageOf(const ProjectOptions& options, const Input1& input);

std::unique_ptr<CGROVEXDoc> projectedDocument(GrowthModel model, bool targetReached, const ProjectOptions& options,
                                              const Input1& input);

} // namespace grovex::cli
