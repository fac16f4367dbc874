#pragma once
// "Stand Projection": the midrotation treatment (thinning, fertilization, hardwoods) and the next output
// target of a running simulation, pre-filled from the simulation document that opened it.

#include "dialogs/dialog_form.h"
#include "model/input2.h"

#include <cstdint>

namespace grovex {

class CGROVEXDoc;

// Control ids of the dialog; the output target boxes are those of the Plantation Information page
// (plantation::kFirstTarget, 1026 to 1032).
namespace standprojection {
inline constexpr int kThin = 1059;
inline constexpr int kRowThin = 1060; // thinning type: one radio group 1060 to 1062
inline constexpr int kLowThin = 1061;
inline constexpr int kRowAndLowThin = 1062;
inline constexpr int kRowInterval = 1063;
inline constexpr int kDiameter = 1064; // low-thinning basis: one radio group 1064, 1065
inline constexpr int kBasalArea = 1065;
inline constexpr int kDbhBelow = 1082;
inline constexpr int kDbhAbove = 1083;
inline constexpr int kResidualBasalArea = 1084;
inline constexpr int kHardwood = 1085;
inline constexpr int kPhosphorus = 1087;
inline constexpr int kNitrogen = 1088;
inline constexpr int kFertilize = 1090;

inline constexpr int32_t kNitrogenMin = 50;
inline constexpr int32_t kNitrogenMax = 400;
inline constexpr int kOldStandAge = 25; // older stands can only be projected to an age
} // namespace standprojection

class standProjectionDlg : public DialogForm {
public:
    // `owner` is the simulation document of the view that opens the dialog: it gives the current stand and
    // the treatment stored last time.
    explicit standProjectionDlg(CGROVEXDoc& owner);

    std::string caption() const override { return "Stand Projection"; }

    // The members, in their order.
    int32_t ilow = 0;
    int32_t ithin = 0;
    int32_t pcrit = 0;
    float target = 0;
    float percnt = 0;
    bool qthin = false;
    float dlow = 0;
    int32_t rcut = 0;
    float dhigh = 0;
    float tlim = 0;
    int32_t lbn = 0;
    bool qphos = false;
    bool qfert = false;

    // Pre-fills the dialog from the owner's simulation.
    void OnInitDialog() override;
    // 1059, 1060, 1061, 1062, 1090, 1064 and 1065 rerun the enabling rule.
    void OnControlChanged(int id) override;
    void EnableControls();

    // The standard data exchange, saving direction: the row interval, the three diameters and basal area and
    // the nitrogen box (50 to 400 whatever "Fertilize" says) into the members, and the three check boxes.
    FormResult UpdateData();
    // OK: the data exchange, then the checks in their order. For a stand older than 25 an accepted OK sets
    // the simulation's projection criterion to age.
    FormResult OnOK();

    // The accepted values (after OnOK succeeded).
    Input2Values values() const;

private:
    FormResult checkTarget(int criterion, const std::string& text);

    CGROVEXDoc& owner_;
};

} // namespace grovex
