#pragma once
// A regime: the commands a batch run gives every stand, as a macro (a ".gmc" file or its text form, for
// example one recorded in the desktop application). Its first command, Initialize and Project, takes the
// stand from a row of the stand table and keeps the regime's target, rotation and volume units unless the
// row gives them; every later command (thinning, fertilization, next target) plays as recorded.

#include "batch/batch_results.h"
#include "batch/stand_inputs.h"
#include "control/macro_store.h"

#include <optional>
#include <string>
#include <vector>

namespace grovex::batch {

struct Regime {
    std::string name;
    std::vector<MacroEntry> entries;
    size_t initializationEnd = 0; // index of the "end Input1" that closes the first command's inputs
    // What the first command's inputs keep for every stand: the rotation, the output target and the volume
    // units, as the texts a user would type for them.
    StandOptions kept;
};

// The name of a regime given as "NAME=MACRO", or the macro file's name without its extension.
struct RegimeFile {
    std::string name;
    std::string path;
};
RegimeFile parseRegimeOption(const std::string& text);

// Reads a regime and checks that it starts with Initialize and Project. A refusal says why, with the name.
std::optional<std::string> readRegime(const RegimeFile& file, Regime& regime);

// A regime made of entries already read (checked as readRegime checks a file).
std::optional<std::string> makeRegime(std::string name, std::vector<MacroEntry> entries, Regime& regime);

// The regime of `grovex-cli project`'s options: Initialize and Project as a recording of those options would
// hold it. The stand values among the options (site, planted, ...) make its example stand; a batch takes
// only its target, rotation and units.
std::optional<StandRefusal> projectRegime(const StandOptions& options, Regime& regime);

// A stand's values from a row of the stand table, with the regime's target, rotation and units where the
// row does not give them. `error` names a cell that is not a value at all (poorly_drained other than 0 or 1).
StandOptions standOptions(const StandRecord& row, const StandOptions& kept, const std::string& treeListPath,
                          std::string& error);

// The regime's macro for one stand: its first command's inputs replaced by the entries that recording an
// Initialize and Project with `input` would leave. Nothing when the result would not fit in a macro.
std::optional<std::vector<MacroEntry>> mergedMacro(const Regime& regime, const ProjectInput& input);

} // namespace grovex::batch
