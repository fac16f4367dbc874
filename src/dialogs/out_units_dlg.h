#pragma once
// "Volume Output Units", the second page of the "Initialize Stand" sheet: cubic feet (bark type, minimum DBH
// class, top diameter), cords and board feet (board-foot rule, minimum DBH class) or three custom equations
// vol = A + B(d*d*h). The page's members are what a simulation document remembers (VolumeUnitsPageMembers).

#include "dialogs/dialog_form.h"
#include "model/input_pages.h"

#include <array>

namespace grovex {

// Control ids of the page.
namespace volumeunits {
inline constexpr int kCubicFeetButton = 1033; // units: one radio group 1033 to 1035
inline constexpr int kCordsButton = 1034;
inline constexpr int kCustomUnitsButton = 1035;
inline constexpr int kInsideBarkButton = 1036; // bark: one radio group 1036, 1037
inline constexpr int kOutsideBarkButton = 1037;
inline constexpr int kMinDbhClass = 1038;
inline constexpr int kTopDiameter = 1039;
inline constexpr int kInternationalButton = 1040; // board-foot rule: one radio group 1040 to 1042
inline constexpr int kDoyleButton = 1041;
inline constexpr int kScribnerButton = 1042;
// The boxes of custom equations 1, 2 and 3.
inline constexpr std::array<int, 3> kEquationName = {1043, 1048, 1049};
inline constexpr std::array<int, 3> kEquationA = {1044, 1050, 1051};
inline constexpr std::array<int, 3> kEquationB = {1045, 1052, 1053};
inline constexpr std::array<int, 3> kEquationMinDbh = {1046, 1054, 1055};

inline constexpr int kNameLimit = 15;

// What a page never filled in proposes, as the command line does: cubic feet outside bark from DBH class 7
// to a 6-inch top.
inline constexpr const char* kProposedMinDbhClass = "7";
inline constexpr const char* kProposedTopDiameter = "6";
} // namespace volumeunits

class outUnitsDlg : public PropertyPageForm, public VolumeUnitsPageMembers {
public:
    outUnitsDlg();

    std::string caption() const override { return "Volume Output Units"; }

    VolumeUnitsPageMembers members() const { return *this; }
    void restore(const VolumeUnitsPageMembers& remembered) { static_cast<VolumeUnitsPageMembers&>(*this) = remembered; }

    void OnInitDialog() override;
    // 1033, 1034 and 1035 rerun the enabling rule.
    void OnControlChanged(int id) override;
    void EnableControls();

    FormResult UpdateData() override;
    FormResult OnApply() override;
};

} // namespace grovex
