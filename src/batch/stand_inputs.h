#pragma once
// A stand described by texts, as a user types them on the command line or into the cells of a stand table,
// checked by filling the "Initialize Stand" sheet with them and pressing OK: the sheet's checks, ranges and
// messages are the command line's and the batch run's.

#include "dialogs/dialog_form.h"
#include "model/input1.h"
#include "model/input_pages.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace grovex::batch {

struct StandOptions {
    std::optional<std::string> title;
    std::optional<std::string> rotation;
    std::optional<std::string> site;
    std::optional<std::string> planted;
    std::optional<std::string> survival;
    std::optional<std::string> existingAge;
    std::optional<std::string> trees;
    std::optional<std::string> basalArea;
    bool poorlyDrained = false;
    std::optional<std::string> hardwood;
    // Output targets in the order of the projection criteria: age, basal area, quadratic mean DBH, dominant
    // height, merchantable cords, crown ratio, relative spacing.
    std::array<std::optional<std::string>, 7> targets;
    std::string units = "cubic";
    std::optional<std::string> bark;
    std::optional<std::string> rule;
    std::optional<std::string> minDbh;
    std::optional<std::string> top;
    // NAME,A,B,MINDBH for equations 1 to 3 in order; an empty text leaves that equation unnamed.
    std::vector<std::string> equations;
    // An existing stand described by the trees of a tree list file (".dat") instead of stand-level values.
    std::optional<std::string> treeList;
};

// The values a stand can be given, each named once: "site" is the `--site` option and the `site` column.
enum class StandField {
    None,
    Title,
    Rotation,
    Site,
    Planted,
    Survival,
    ExistingAge,
    Trees,
    BasalArea,
    PoorlyDrained,
    Hardwood,
    TreeList,
    TargetAge, // the seven targets follow in the order of StandOptions::targets
    TargetBasalArea,
    TargetQmd,
    TargetHeight,
    TargetCords,
    TargetCrownRatio,
    TargetRelativeSpacing,
    Units,
    Bark,
    Rule,
    MinDbh,
    Top,
    Equation,
};

// The field's name with underscores ("existing_age"); empty for None.
std::string fieldName(StandField field);
// The command line's option for it ("--existing-age").
std::string optionName(StandField field);

// The text the field was given, or the one the sheet is filled with when it was left out (empty when it has
// none); `isDefault` tells which.
std::string fieldText(const StandOptions& options, StandField field, bool& isDefault);

// What the sheet accepted: the members its pages remember and the Input1 values they stand for.
struct ProjectInput {
    PlantationPageMembers plantationPage;
    VolumeUnitsPageMembers volumeUnitsPage;
    Input1 input;
};

// A refusal: the sheet's first message, or one of the texts' own (such as an option that belongs to another
// choice), and the field it is about; None when the message names its fields itself.
struct StandRefusal {
    std::string message;
    StandField field = StandField::None;
};

// How a refusal names the fields it is about: optionName on the command line, the column in a stand table.
using FieldNamer = std::function<std::string(StandField)>;

// Fills the sheet and presses OK; `accepted` is filled when nothing is refused. For a stand from a tree list
// the sheet takes the other values and the input is marked as an existing stand from a tree list.
std::optional<StandRefusal> standInput(const StandOptions& options, const FieldNamer& name, ProjectInput& accepted);

} // namespace grovex::batch
