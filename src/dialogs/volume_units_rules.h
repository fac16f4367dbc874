#pragma once
// The rules of the Volume Output Units page, free of any widget: which boxes are enabled for the chosen
// units, and the validation of the entered texts in the page's fixed order with its exact messages.

#include "dialogs/field_check.h"
#include "model/input1.h"

#include <array>
#include <cstdint>
#include <string>

namespace grovex {

// Control ids of the page.
namespace volumeunits {
inline constexpr int kCubicFeetButton = 1033;
inline constexpr int kCordsButton = 1034;
inline constexpr int kCustomUnitsButton = 1035;
inline constexpr int kInsideBarkButton = 1036;
inline constexpr int kOutsideBarkButton = 1037;
inline constexpr int kMinDbhClass = 1038;
inline constexpr int kTopDiameter = 1039;
inline constexpr int kInternationalButton = 1040;
inline constexpr int kDoyleButton = 1041;
inline constexpr int kScribnerButton = 1042;
// The boxes of custom equations 1, 2 and 3.
inline constexpr std::array<int, 3> kEquationName = {1043, 1048, 1049};
inline constexpr std::array<int, 3> kEquationA = {1044, 1050, 1051};
inline constexpr std::array<int, 3> kEquationB = {1045, 1052, 1053};
inline constexpr std::array<int, 3> kEquationMinDbh = {1046, 1054, 1055};
} // namespace volumeunits

// Which groups of boxes can be used for the checked units button (kCubicFeet, kCordsAndBoardFeet or
// kCustomEquations of the model; anything else counts as cubic feet).
struct VolumeUnitsEnabled {
    bool barkAndTop = false;    // 1036, 1037, 1039
    bool minDbhClass = false;   // 1038
    bool boardFootRule = false; // 1040 to 1042
    bool equations = false;     // all boxes of the three custom equations
};
VolumeUnitsEnabled volumeUnitsEnablingRule(int32_t units);

struct EquationTexts {
    std::string name;
    std::string a;
    std::string b;
    std::string minDbhClass;
};

// The page's boxes as they hold their texts, and its radio buttons.
struct VolumeUnitsTexts {
    int32_t units = kCubicFeet; // vtype of the checked units button
    int32_t barkType = 0;       // 1 inside bark, 2 outside bark, 0 none checked
    int32_t boardFootRule = 0;  // 1 International 1/4, 2 Doyle, 3 Scribner, 0 none checked
    std::string minDbhClass;    // 1038
    std::string topDiameter;    // 1039
    std::array<EquationTexts, 3> equations;
};

// The page's values once accepted, in the terms of Input1. For custom units an equation without a name
// (empty or blanks only) stays "-blank-" with A 0, B 0 and minimum DBH class 1.
struct VolumeUnitsValues {
    int32_t vtype = kCubicFeet;
    int32_t voltyp = 2;      // bark type or board-foot rule
    int32_t minDbhClass = 7; // cubic feet, cords and board feet
    float voltop = 6;        // cubic feet
    std::array<CustomEquation, 3> equations;
};

// Checks the boxes in the page's order and stops at the first failure.
Checked<VolumeUnitsValues> validateVolumeUnits(const VolumeUnitsTexts& texts);

} // namespace grovex
