#pragma once
// Fills the "Initialize Stand" sheet from the options of `grovex-cli project`, as a user would type them,
// and presses OK: the sheet's checks, ranges and messages are the command line's.

#include "cli/project_options.h"
#include "dialogs/dialog_form.h"
#include "model/input1.h"
#include "model/input_pages.h"

namespace grovex::cli {

// What the sheet accepted: the members its pages remember and the Input1 values they stand for.
struct ProjectInput {
    PlantationPageMembers plantationPage;
    VolumeUnitsPageMembers volumeUnitsPage;
    Input1 input;
};

// The sheet's first refusal, or one of the command line itself (an option that belongs to another choice, a
// text longer than its field in the model) with no control (0). `accepted` is filled on success.
FormResult projectInput(const ProjectOptions& options, ProjectInput& accepted);

} // namespace grovex::cli
