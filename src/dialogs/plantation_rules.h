#pragma once
// The rules of the Plantation Information page, free of any widget: which boxes are enabled, and the
// validation of the entered texts in the page's fixed order with its exact messages.

#include "dialogs/field_check.h"
#include "model/growth_model.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace grovex {

// Control ids of the page.
namespace plantation {
inline constexpr int kTitle = 1003;
inline constexpr int kRotation = 1005;
inline constexpr int kStandExists = 1006;
inline constexpr int kTreeListExists = 1007;
inline constexpr int kSiteIndex = 1008;
inline constexpr int kTreesSurviving = 1009;
inline constexpr int kExistingAge = 1010;
inline constexpr int kBasalArea = 1011;
inline constexpr int kTreesPlanted = 1012;
inline constexpr int kPoorlyDrained = 1013;
inline constexpr int kPercentSurvival = 1014;
inline constexpr int kHardwood = 1016;
inline constexpr int kFirstTarget = 1026; // 1026 to 1032: age, basal area, quadratic mean DBH, dominant
inline constexpr int kTargetCount = 7;    // height, cord volume, crown ratio, relative spacing (pcrit 1 to 7)
inline constexpr int kBrowse = 1093;
} // namespace plantation

// Which boxes of the page can be used. The rotation and the output target boxes are always enabled.
struct PlantationEnabled {
    bool siteIndex = true;
    bool treesSurviving = false;
    bool existingAge = false;
    bool basalArea = false;
    bool treeListExists = false;
    bool browse = false;
    bool treesPlanted = true;
    bool percentSurvival = true;
    bool poorlyDrained = true;
    bool hardwood = true;
};

// The state as the page opens (site index and hardwood boxes stay enabled whatever is checked).
PlantationEnabled plantationOpeningState(bool standExists, bool treeListExists);
// The state after a click on "Stand Already Exists" or "Tree List Exists" or a change of the age text: the
// drainage box of an existing stand is enabled only while the age text is a whole number below 8.
PlantationEnabled plantationEnablingRule(bool standExists, bool treeListExists, std::string_view existingAgeText);

// The page's boxes as they hold their texts, and its check boxes.
struct PlantationTexts {
    std::string title;
    std::string rotation;
    std::string siteIndex;
    bool standExists = false;
    bool treeListExists = false;
    std::string treesSurviving;
    std::string existingAge;
    std::string basalArea;
    std::string treesPlanted;
    std::string percentSurvival;
    bool poorlyDrained = false;
    std::string hardwoodPercent;
    std::array<std::string, plantation::kTargetCount> targets; // in the order of the criteria 1 to 7
    float earlierHardwoodPercent = -1;                         // kept when the hardwood box is disabled
};

// The page's values once accepted (percentages as entered, not yet fractions).
struct PlantationValues {
    std::string title;
    int32_t nyears = 60;
    float site = 60;
    bool qexist = false;
    bool qlist = false;
    float ts = 50;
    int32_t exage = 2;
    float tba = 0; // 0 when not given
    float tp = 800;
    float ps = 90;
    bool qdrain = false;
    float hdwdpercnt = -1; // -1 when not given
    int32_t pcrit = kCriterionAge;
    float target = 0;
};

// The stand the output targets are measured against: the current stand of the active simulation document.
struct CurrentStand {
    bool held = false; // false while the document has never held a stand
    float dq = 0;
    float hd = 0;
    float cords = 0;
    float crMean = 0; // percent
    float rs = 0;
};
CurrentStand currentStandOf(const GrowthModel& model);

// Checks the boxes in the page's order and stops at the first failure.
Checked<PlantationValues> validatePlantation(const PlantationTexts& texts, const PlantationEnabled& enabled,
                                             const CurrentStand& stand);

} // namespace grovex
