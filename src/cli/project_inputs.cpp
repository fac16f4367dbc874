#include "cli/project_inputs.h"

#include "dialogs/initialize_sheet.h"

#include <optional>

namespace grovex::cli {
namespace {

constexpr size_t kMaxEquations = 3;

FieldError usage(std::string message) {
    return FieldError{std::move(message), 0};
}

// Options that describe a choice the run does not make would be ignored by the pages; refuse them instead.
std::optional<FieldError> conflictingOption(const ProjectOptions& o, int32_t units, bool drainageEnabled) {
    const bool existing = o.existingAge.has_value();
    if (existing && (o.planted || o.survival)) {
        return usage("--planted and --survival describe bare land; they cannot be used with --existing-age.");
    }
    if (!existing && (o.trees || o.basalArea)) {
        return usage("--trees and --basal-area describe an existing stand; give --existing-age with them.");
    }
    if (o.poorlyDrained && !drainageEnabled) {
        return usage("--poorly-drained applies only to bare land or to a stand younger than 8 growing seasons.");
    }
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

PlantationTexts plantationTexts(const ProjectOptions& o) {
    PlantationTexts p;
    p.title = o.title.value_or("");
    p.rotation = o.rotation.value_or("60");
    p.siteIndex = o.site.value_or("60");
    p.standExists = o.existingAge.has_value();
    if (p.standExists) {
        p.existingAge = *o.existingAge;
        p.treesSurviving = o.trees.value_or("");
        p.basalArea = o.basalArea.value_or("");
    } else {
        p.treesPlanted = o.planted.value_or("800");
        p.percentSurvival = o.survival.value_or("90");
    }
    p.poorlyDrained = o.poorlyDrained;
    p.hardwoodPercent = o.hardwood.value_or("");
    bool anyTarget = false;
    for (size_t k = 0; k < o.targets.size(); ++k) {
        if (o.targets[k]) {
            p.targets[k] = *o.targets[k];
            anyTarget = true;
        }
    }
    if (!anyTarget) {
        p.targets[0] = "25";
    }
    return p;
}

int32_t unitsCode(const std::string& units) {
    if (units == "cords") {
        return kCordsAndBoardFeet;
    }
    return units == "custom" ? kCustomEquations : kCubicFeet;
}

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

} // namespace

Checked<Input1> projectInput(const ProjectOptions& o) {
    const PlantationTexts plantation = plantationTexts(o);
    const PlantationEnabled enabled =
        plantationEnablingRule(plantation.standExists, plantation.treeListExists, plantation.existingAge);
    const int32_t units = unitsCode(o.units);
    if (auto conflict = conflictingOption(o, units, enabled.poorlyDrained)) {
        return *conflict;
    }

    VolumeUnitsTexts volume;
    volume.units = units;
    if (units == kCubicFeet) {
        volume.barkType = o.bark.value_or("outside") == "inside" ? 1 : 2;
        volume.minDbhClass = o.minDbh.value_or("7");
        volume.topDiameter = o.top.value_or("6");
    } else if (units == kCordsAndBoardFeet) {
        const std::string rule = o.rule.value_or("");
        volume.boardFootRule = rule == "international" ? 1 : rule == "doyle" ? 2 : rule == "scribner" ? 3 : 0;
        volume.minDbhClass = o.minDbh.value_or("8");
    } else {
        for (EquationTexts& e : volume.equations) {
            e.minDbhClass = "1"; // an equation not given keeps its defaults
        }
        for (size_t k = 0; k < o.equations.size(); ++k) {
            std::optional<EquationTexts> e = equationTexts(o.equations[k]);
            if (!e) {
                return usage("--equation takes NAME,A,B,MINDBH: four parts separated by commas, not \"" +
                             o.equations[k] + "\".");
            }
            if (e->name.find_first_not_of(' ') == std::string::npos) {
                return usage("--equation needs a NAME before its first comma.");
            }
            volume.equations[k] = *e;
        }
    }

    // A run starts on a new model, which has never held a stand.
    Checked<Input1> input = validateInitializeSheet(plantation, enabled, CurrentStand{}, volume);
    if (input && o.basalArea && input.value().exage < 8) {
        return usage("--basal-area applies only to a stand of age 8 or more.");
    }
    return input;
}

} // namespace grovex::cli
