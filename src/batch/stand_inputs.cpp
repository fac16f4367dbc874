#include "batch/stand_inputs.h"

#include "base/c_format.h"
#include "dialogs/propsheet.h"
#include "model/growth_model.h"

#include <optional>
#include <utility>

namespace grovex::batch {
namespace {

constexpr size_t kMaxEquations = 3;

struct FieldInfo {
    StandField field;
    const char* name;
    int control; // the sheet's box or button that refuses the field's value; 0 for none
};

// Every field with its name and its control on the sheet. The targets keep the criteria's order.
constexpr std::array<FieldInfo, 24> kFields{{
    {StandField::Title, "title", plantation::kTitle},
    {StandField::Rotation, "rotation", plantation::kRotation},
    {StandField::Site, "site", plantation::kSiteIndex},
    {StandField::Planted, "planted", plantation::kTreesPlanted},
    {StandField::Survival, "survival", plantation::kPercentSurvival},
    {StandField::ExistingAge, "existing_age", plantation::kExistingAge},
    {StandField::Trees, "trees", plantation::kTreesSurviving},
    {StandField::BasalArea, "basal_area", plantation::kBasalArea},
    {StandField::PoorlyDrained, "poorly_drained", plantation::kPoorlyDrained},
    {StandField::Hardwood, "hardwood", plantation::kHardwood},
    {StandField::TreeList, "treelist", 0},
    {StandField::TargetAge, "target_age", plantation::kFirstTarget},
    {StandField::TargetBasalArea, "target_basal_area", plantation::kFirstTarget + 1},
    {StandField::TargetQmd, "target_qmd", plantation::kFirstTarget + 2},
    {StandField::TargetHeight, "target_height", plantation::kFirstTarget + 3},
    {StandField::TargetCords, "target_cords", plantation::kFirstTarget + 4},
    {StandField::TargetCrownRatio, "target_crown_ratio", plantation::kFirstTarget + 5},
    {StandField::TargetRelativeSpacing, "target_relative_spacing", plantation::kFirstTarget + 6},
    {StandField::Units, "units", 0},
    {StandField::Bark, "bark", 0},
    {StandField::Rule, "rule", 0},
    {StandField::MinDbh, "min_dbh", volumeunits::kMinDbhClass},
    {StandField::Top, "top", volumeunits::kTopDiameter},
    {StandField::Equation, "equation", 0},
}};

const FieldInfo* infoOf(StandField field) {
    for (const FieldInfo& info : kFields) {
        if (info.field == field) {
            return &info;
        }
    }
    return nullptr;
}

// The field whose box refused, by the control the sheet puts the focus into.
StandField fieldOfControl(int control) {
    using namespace volumeunits;
    for (size_t k = 0; k < kMaxEquations; ++k) {
        if (control == kEquationName[k] || control == kEquationA[k] || control == kEquationB[k] ||
            control == kEquationMinDbh[k]) {
            return StandField::Equation;
        }
    }
    for (const FieldInfo& info : kFields) {
        if (info.control != 0 && info.control == control) {
            return info.field;
        }
    }
    return StandField::None;
}

StandField targetField(size_t criterion) {
    return static_cast<StandField>(static_cast<int>(StandField::TargetAge) + static_cast<int>(criterion));
}

int32_t unitsCode(const std::string& units) {
    if (units == "cords") {
        return kCordsAndBoardFeet;
    }
    return units == "custom" ? kCustomEquations : kCubicFeet;
}

// The texts the sheet is filled with for a field left out.
std::string defaultText(const StandOptions& o, StandField field) {
    switch (field) {
    case StandField::Rotation:
        return plantation::kProposedRotation;
    case StandField::Site:
        return plantation::kProposedSiteIndex;
    case StandField::Planted:
        return plantation::kProposedTreesPlanted;
    case StandField::Survival:
        return plantation::kProposedSurvival;
    case StandField::MinDbh:
        return unitsCode(o.units) == kCordsAndBoardFeet ? "8" : volumeunits::kProposedMinDbhClass;
    case StandField::Top:
        return volumeunits::kProposedTopDiameter;
    case StandField::TargetAge: {
        for (const auto& target : o.targets) {
            if (target) {
                return "";
            }
        }
        return plantation::kProposedTargetAge;
    }
    default:
        return "";
    }
}

const std::optional<std::string>* givenText(const StandOptions& o, StandField field) {
    switch (field) {
    case StandField::Title:
        return &o.title;
    case StandField::Rotation:
        return &o.rotation;
    case StandField::Site:
        return &o.site;
    case StandField::Planted:
        return &o.planted;
    case StandField::Survival:
        return &o.survival;
    case StandField::ExistingAge:
        return &o.existingAge;
    case StandField::Trees:
        return &o.trees;
    case StandField::BasalArea:
        return &o.basalArea;
    case StandField::Hardwood:
        return &o.hardwood;
    case StandField::TreeList:
        return &o.treeList;
    case StandField::Bark:
        return &o.bark;
    case StandField::Rule:
        return &o.rule;
    case StandField::MinDbh:
        return &o.minDbh;
    case StandField::Top:
        return &o.top;
    default:
        break;
    }
    const int target = static_cast<int>(field) - static_cast<int>(StandField::TargetAge);
    if (target >= 0 && target < static_cast<int>(o.targets.size())) {
        return &o.targets[static_cast<size_t>(target)];
    }
    return nullptr;
}

StandRefusal refusal(std::string message, StandField field = StandField::None) {
    return StandRefusal{std::move(message), field};
}

// "a, b and c"
std::string listOf(const FieldNamer& name, std::initializer_list<StandField> fields) {
    std::string text;
    size_t k = 0;
    for (StandField field : fields) {
        text += (k == 0 ? "" : k + 1 == fields.size() ? " and " : ", ") + name(field);
        ++k;
    }
    return text;
}

int givenTargets(const StandOptions& o) {
    int given = 0;
    for (const auto& target : o.targets) {
        given += target ? 1 : 0;
    }
    return given;
}

bool standValueGiven(const StandOptions& o) {
    return o.existingAge || o.planted || o.survival || o.trees || o.basalArea || o.site || o.hardwood ||
           o.poorlyDrained;
}

// Options that describe a choice the run does not make would be ignored by the pages; refuse them instead.
std::optional<StandRefusal> conflictingStandOption(const StandOptions& o, const FieldNamer& name) {
    using F = StandField;
    if (o.treeList && standValueGiven(o)) {
        return refusal(name(F::TreeList) + " describes the stand by its trees; " +
                       listOf(name, {F::Site, F::Planted, F::Survival, F::ExistingAge, F::Trees, F::BasalArea,
                                     F::PoorlyDrained, F::Hardwood}) +
                       " cannot be used with it.");
    }
    const bool existing = o.existingAge.has_value();
    if (existing && (o.planted || o.survival)) {
        return refusal(listOf(name, {F::Planted, F::Survival}) + " describe bare land; they cannot be used with " +
                       name(F::ExistingAge) + ".");
    }
    if (!existing && (o.trees || o.basalArea)) {
        return refusal(listOf(name, {F::Trees, F::BasalArea}) + " describe an existing stand; give " +
                       name(F::ExistingAge) + " with them.");
    }
    return std::nullopt;
}

std::optional<StandRefusal> conflictingUnitsOption(const StandOptions& o, int32_t units, const FieldNamer& name) {
    using F = StandField;
    const std::string unitsName = name(F::Units);
    if (units != kCubicFeet && (o.bark || o.top)) {
        return refusal(listOf(name, {F::Bark, F::Top}) + " apply only to " + unitsName + " cubic.");
    }
    if (units != kCordsAndBoardFeet && o.rule) {
        return refusal(name(F::Rule) + " applies only to " + unitsName + " cords.");
    }
    if (units != kCustomEquations && !o.equations.empty()) {
        return refusal(name(F::Equation) + " applies only to " + unitsName + " custom.");
    }
    if (units == kCustomEquations) {
        if (o.minDbh) {
            return refusal(name(F::MinDbh) + " does not apply to " + unitsName + " custom: each " + name(F::Equation) +
                           " has its own minimum DBH class.");
        }
        if (o.equations.empty()) {
            return refusal(unitsName + " custom needs at least one " + name(F::Equation) + " NAME,A,B,MINDBH.");
        }
        if (o.equations.size() > kMaxEquations) {
            return refusal("At most three " + name(F::Equation) + " options can be given.");
        }
    }
    return std::nullopt;
}

struct EquationTexts {
    std::string name;
    std::string a;
    std::string b;
    std::string minDbhClass;
};

// Splits NAME,A,B,MINDBH; the name may not hold a comma.
std::optional<EquationTexts> equationTexts(const std::string& text) {
    EquationTexts e;
    std::array<std::string*, 4> parts{&e.name, &e.a, &e.b, &e.minDbhClass};
    size_t start = 0;
    for (size_t k = 0; k < parts.size(); ++k) {
        const size_t end = text.find(',', start);
        if ((end == std::string::npos) != (k + 1 == parts.size())) {
            return std::nullopt;
        }
        *parts[k] = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end + 1;
    }
    return e;
}

// A click on a check box or radio button, as the dialog receives it.
void click(DialogForm& form, int id, bool checked = true) {
    form.setChecked(id, checked);
    form.OnControlChanged(id);
}

void type(DialogForm& form, int id, std::string text) {
    form.setText(id, std::move(text));
    form.OnControlChanged(id);
}

// The Plantation Information page as the options fill it. Every box the options speak for is typed, an empty
// one included, so that what the page proposes when it opens counts only through the defaults above.
std::optional<StandRefusal> fillPlantation(generalInfoDlg& page, const StandOptions& o, const FieldNamer& name) {
    using namespace plantation;
    type(page, kTitle, o.title.value_or(""));
    type(page, kRotation, o.rotation.value_or(defaultText(o, StandField::Rotation)));
    type(page, kSiteIndex, o.site.value_or(defaultText(o, StandField::Site)));
    if (o.existingAge) {
        click(page, kStandExists);
        type(page, kExistingAge, *o.existingAge);
        type(page, kTreesSurviving, o.trees.value_or(""));
        type(page, kBasalArea, o.basalArea.value_or(""));
    } else {
        type(page, kTreesPlanted, o.planted.value_or(defaultText(o, StandField::Planted)));
        type(page, kPercentSurvival, o.survival.value_or(defaultText(o, StandField::Survival)));
    }
    if (o.poorlyDrained) {
        if (!page.enabled(kPoorlyDrained)) {
            return refusal(name(StandField::PoorlyDrained) +
                           " applies only to bare land or to a stand younger than 8 growing seasons.");
        }
        click(page, kPoorlyDrained);
    }
    type(page, kHardwood, o.hardwood.value_or(""));
    for (size_t k = 0; k < o.targets.size(); ++k) {
        type(page, kFirstTarget + static_cast<int>(k), o.targets[k].value_or(defaultText(o, targetField(k))));
    }
    return std::nullopt;
}

std::optional<StandRefusal> fillEquations(outUnitsDlg& page, const StandOptions& o, const FieldNamer& name) {
    using namespace volumeunits;
    const std::string option = name(StandField::Equation);
    for (size_t k = 0; k < kMaxEquations; ++k) {
        type(page, kEquationMinDbh[k], "1"); // an equation not given keeps its defaults
    }
    for (size_t k = 0; k < o.equations.size(); ++k) {
        if (o.equations[k].empty()) {
            continue;
        }
        const std::optional<EquationTexts> e = equationTexts(o.equations[k]);
        if (!e) {
            return refusal(option + " takes NAME,A,B,MINDBH: four parts separated by commas, not \"" + o.equations[k] +
                           "\".");
        }
        if (e->name.find_first_not_of(' ') == std::string::npos) {
            return refusal(option + " needs a NAME before its first comma.");
        }
        if (e->name.size() > static_cast<size_t>(kMaxVolumeNameLength)) {
            return refusal(cformat("The volume units name can be at most %d characters long.", kMaxVolumeNameLength),
                           StandField::Equation);
        }
        type(page, kEquationName[k], e->name);
        type(page, kEquationA[k], e->a);
        type(page, kEquationB[k], e->b);
        type(page, kEquationMinDbh[k], e->minDbhClass);
    }
    return std::nullopt;
}

std::optional<StandRefusal> fillVolumeUnits(outUnitsDlg& page, const StandOptions& o, int32_t units,
                                            const FieldNamer& name) {
    using namespace volumeunits;
    if (units == kCubicFeet) {
        click(page, kCubicFeetButton);
        click(page, o.bark.value_or("outside") == "inside" ? kInsideBarkButton : kOutsideBarkButton);
        type(page, kMinDbhClass, o.minDbh.value_or(defaultText(o, StandField::MinDbh)));
        type(page, kTopDiameter, o.top.value_or(defaultText(o, StandField::Top)));
    } else if (units == kCordsAndBoardFeet) {
        click(page, kCordsButton);
        const std::string rule = o.rule.value_or("");
        if (rule == "international" || rule == "doyle" || rule == "scribner") {
            click(page, rule == "international" ? kInternationalButton
                        : rule == "doyle"       ? kDoyleButton
                                                : kScribnerButton);
        }
        type(page, kMinDbhClass, o.minDbh.value_or(defaultText(o, StandField::MinDbh)));
    } else {
        click(page, kCustomUnitsButton);
        return fillEquations(page, o, name);
    }
    return std::nullopt;
}

} // namespace

std::string fieldName(StandField field) {
    const FieldInfo* info = infoOf(field);
    return info != nullptr ? info->name : "";
}

std::string optionName(StandField field) {
    std::string name = fieldName(field);
    for (char& c : name) {
        c = c == '_' ? '-' : c;
    }
    return name.empty() ? name : "--" + name;
}

std::string fieldText(const StandOptions& options, StandField field, bool& isDefault) {
    const std::optional<std::string>* given = givenText(options, field);
    isDefault = given == nullptr || !given->has_value();
    if (field == StandField::PoorlyDrained) {
        isDefault = !options.poorlyDrained;
        return options.poorlyDrained ? "1" : "0";
    }
    if (field == StandField::Units) {
        isDefault = false;
        return options.units;
    }
    return isDefault ? defaultText(options, field) : **given;
}

std::optional<StandRefusal> standInput(const StandOptions& o, const FieldNamer& name, ProjectInput& accepted) {
    if (auto conflict = conflictingStandOption(o, name)) {
        return conflict;
    }
    // A run starts on a new document, which has never held a stand, with pages never filled in.
    const CGROVEXDoc* const noDocument = nullptr;
    propsheet sheet(noDocument);
    sheet.OnInitDialog();
    if (auto refused = fillPlantation(sheet.plantationPage, o, name)) {
        return refused;
    }
    const int32_t units = unitsCode(o.units);
    if (auto conflict = conflictingUnitsOption(o, units, name)) {
        return conflict;
    }
    if (o.title && o.title->size() > static_cast<size_t>(kMaxTitleLength)) {
        return refusal(cformat("The title can be at most %d characters long.", kMaxTitleLength), StandField::Title);
    }
    if (auto refused = fillVolumeUnits(sheet.volumeUnitsPage, o, units, name)) {
        return refused;
    }
    if (FormResult result = sheet.OnOK(); !result) {
        const StandField field = fieldOfControl(result.focusControl);
        // "One and only one" target is about every target given, not the box the focus goes to.
        const bool severalTargets =
            field >= StandField::TargetAge && field <= StandField::TargetRelativeSpacing && givenTargets(o) > 1;
        return refusal(std::move(result.message), severalTargets ? StandField::None : field);
    }
    accepted.plantationPage = sheet.plantationMembers();
    accepted.volumeUnitsPage = sheet.volumeUnitsMembers();
    accepted.input = sheet.input1();
    if (o.basalArea && accepted.input.exage < 8) {
        return refusal(name(StandField::BasalArea) + " applies only to a stand of age 8 or more.");
    }
    if (o.treeList) {
        accepted.input.qexist = true;
        accepted.input.qlist = true;
        accepted.plantationPage.qexist = true;
        accepted.plantationPage.qlist = true;
    }
    return std::nullopt;
}

} // namespace grovex::batch
