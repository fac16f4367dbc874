#pragma once
// Turns the options of `grovex-cli project` into the texts the input pages would hold, checks them with the
// pages' rules, and answers the Input1 values or the first refusal.

#include "cli/project_options.h"
#include "dialogs/field_check.h"
#include "model/input1.h"

namespace grovex::cli {

// A refusal that comes from the command line itself (an option that belongs to another choice) has no
// control id (0); the others name the page box that refused the value.
Checked<Input1> projectInput(const ProjectOptions& options);

} // namespace grovex::cli
