#include "cli/project_inputs.h"

#include "base/c_format.h"
#include "dialogs/propsheet.h"
#include "model/growth_model.h"

#include <optional>

namespace grovex::cli {
namespace {

constexpr size_t kMaxEquations = 3;

FormResult usage(std::string message) {
    return FormResult::refused(std::move(message), 0);
}

int32_t unitsCode(const std::string& units) {
    if (units == "cords") {
        return kCordsAndBoardFeet;
    }
    return units == "custom" ? kCustomEquations : kCubicFeet;
}

// Options that describe a choice the run does not make would be ignored by the pages; refuse them instead.
std::optional<FormResult> conflictingStandOption(const ProjectOptions& o) {
    const bool existing = o.existingAge.has_value();
    if (existing && (o.planted || o.survival)) {
        return usage("--planted and --survival describe bare land; they cannot be used with --existing-age.");
    }
    if (!existing && (o.trees || o.basalArea)) {
        return usage("--trees and --basal-area describe an existing stand; give --existing-age with them.");
    }
    return std::nullopt;
}

std::optional<FormResult> conflictingUnitsOption(const ProjectOptions& o, int32_t units) {
    if (units != kCubicFeet && (o.bark || o.top)) {
        return usage("--bark and --top apply only to --units cubic.");
    }
    if (units != kCordsAndBoardFeet && o.rule) {
        return usage("--rule applies only to --units cords.");
    }
    if (units != kCustomEquations && !o.equations.empty()) {
        return usage("--equation applies only to --units custom.");
    }
    if (units == kCustomEquations) {
        if (o.minDbh) {
            return usage("--min-dbh does not apply to --units custom: each --equation has its own minimum DBH class.");
        }
        if (o.equations.empty()) {
            return usage("--units custom needs at least one --equation NAME,A,B,MINDBH.");
        }
        if (o.equations.size() > kMaxEquations) {
            return usage("At most three --equation options can be given.");
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

// The Plantation Information page as the options fill it. The site index and trees-planted boxes, read-only
// for a user, take the options' values.
std::optional<FormResult> fillPlantation(generalInfoDlg& page, const ProjectOptions& o) {
    using namespace plantation;
    type(page, kTitle, o.title.value_or(""));
    type(page, kRotation, o.rotation.value_or("60"));
    type(page, kSiteIndex, o.site.value_or("60"));
    if (o.existingAge) {
        click(page, kStandExists);
        type(page, kExistingAge, *o.existingAge);
        type(page, kTreesSurviving, o.trees.value_or(""));
        type(page, kBasalArea, o.basalArea.value_or(""));
    } else {
        type(page, kTreesPlanted, o.planted.value_or("800"));
        type(page, kPercentSurvival, o.survival.value_or("90"));
    }
    if (o.poorlyDrained) {
        if (!page.enabled(kPoorlyDrained)) {
            return usage("--poorly-drained applies only to bare land or to a stand younger than 8 growing seasons.");
        }
        click(page, kPoorlyDrained);
    }
    type(page, kHardwood, o.hardwood.value_or(""));
    bool anyTarget = false;
    for (int k = 0; k < kTargetCount; ++k) {
        if (o.targets[static_cast<size_t>(k)]) {
            type(page, kFirstTarget + k, *o.targets[static_cast<size_t>(k)]);
            anyTarget = true;
        }
    }
    if (!anyTarget) {
        type(page, kFirstTarget, "25");
    }
    return std::nullopt;
}

std::optional<FormResult> fillVolumeUnits(outUnitsDlg& page, const ProjectOptions& o, int32_t units) {
    using namespace volumeunits;
    if (units == kCubicFeet) {
        click(page, kCubicFeetButton);
        click(page, o.bark.value_or("outside") == "inside" ? kInsideBarkButton : kOutsideBarkButton);
        type(page, kMinDbhClass, o.minDbh.value_or("7"));
        type(page, kTopDiameter, o.top.value_or("6"));
    } else if (units == kCordsAndBoardFeet) {
        click(page, kCordsButton);
        const std::string rule = o.rule.value_or("");
        if (rule == "international" || rule == "doyle" || rule == "scribner") {
            click(page, rule == "international" ? kInternationalButton
                        : rule == "doyle"       ? kDoyleButton
                                                : kScribnerButton);
        }
        type(page, kMinDbhClass, o.minDbh.value_or("8"));
    } else {
        click(page, kCustomUnitsButton);
        for (size_t k = 0; k < kMaxEquations; ++k) {
            type(page, kEquationMinDbh[k], "1"); // an equation not given keeps its defaults
        }
        for (size_t k = 0; k < o.equations.size(); ++k) {
            const std::optional<EquationTexts> e = equationTexts(o.equations[k]);
            if (!e) {
                return usage("--equation takes NAME,A,B,MINDBH: four parts separated by commas, not \"" +
                             o.equations[k] + "\".");
            }
            if (e->name.find_first_not_of(' ') == std::string::npos) {
                return usage("--equation needs a NAME before its first comma.");
            }
            if (e->name.size() > static_cast<size_t>(kMaxVolumeNameLength)) {
                return usage(cformat("The volume units name can be at most %d characters long.", kMaxVolumeNameLength));
            }
            type(page, kEquationName[k], e->name);
            type(page, kEquationA[k], e->a);
            type(page, kEquationB[k], e->b);
            type(page, kEquationMinDbh[k], e->minDbhClass);
        }
    }
    return std::nullopt;
}

} // namespace

FormResult projectInput(const ProjectOptions& o, ProjectInput& accepted) {
    if (auto conflict = conflictingStandOption(o)) {
        return *conflict;
    }
    // A run starts on a new document, which has never held a stand, with pages never filled in.
    const CGROVEXDoc* const noDocument = nullptr;
    propsheet sheet(noDocument);
    sheet.OnInitDialog();
    if (auto refused = fillPlantation(sheet.plantationPage, o)) {
        return *refused;
    }
    const int32_t units = unitsCode(o.units);
    if (auto conflict = conflictingUnitsOption(o, units)) {
        return *conflict;
    }
    if (o.title && o.title->size() > static_cast<size_t>(kMaxTitleLength)) {
        return usage(cformat("The title can be at most %d characters long.", kMaxTitleLength));
    }
    if (auto refused = fillVolumeUnits(sheet.volumeUnitsPage, o, units)) {
        return *refused;
    }
    if (FormResult result = sheet.OnOK(); !result) {
        return result;
    }
    accepted.plantationPage = sheet.plantationMembers();
    accepted.volumeUnitsPage = sheet.volumeUnitsMembers();
    accepted.input = sheet.input1();
    if (o.basalArea && accepted.input.exage < 8) {
        return usage("--basal-area applies only to a stand of age 8 or more.");
    }
    return FormResult::accepted();
}

} // namespace grovex::cli
