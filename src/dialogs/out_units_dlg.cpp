#include "dialogs/out_units_dlg.h"

#include "base/c_format.h"
#include "base/data_exchange.h"
#include "dialogs/box_text.h"
#include "model/growth_model.h"

#include <cmath>
#include <utility>

namespace grovex {

using namespace volumeunits;
using boxtext::within;

namespace {

const char* const kNotInteger = "Please specify an Integer";

constexpr std::initializer_list<int> kCustomBoxes = {1043, 1044, 1045, 1046, 1048, 1050,
                                                     1052, 1054, 1049, 1051, 1053, 1055};

std::string realOrEmpty(float value) {
    return value >= -1 ? cformat("%.2f", double{value}) : "";
}

} // namespace

outUnitsDlg::outUnitsDlg() {
    addRadioGroup({kCubicFeetButton, kCordsButton, kCustomUnitsButton});
    addRadioGroup({kInsideBarkButton, kOutsideBarkButton});
    addEdit(kMinDbhClass);
    addEdit(kTopDiameter);
    addRadioGroup({kInternationalButton, kDoyleButton, kScribnerButton});
    for (size_t k = 0; k < 3; ++k) {
        addEdit(kEquationName[k], kNameLimit);
        addEdit(kEquationA[k]);
        addEdit(kEquationB[k]);
        addEdit(kEquationMinDbh[k]);
    }
}

void outUnitsDlg::OnInitDialog() {
    // The data exchange of the names.
    for (size_t k = 0; k < 3; ++k) {
        setText(kEquationName[k], names[k]);
    }
    if (minDbhClass > 0) {
        setText(kMinDbhClass, cformat("%d", minDbhClass));
        setText(kTopDiameter, voltop >= 0 ? cformat("%.2f", double{voltop}) : "");
        for (size_t k = 0; k < 3; ++k) {
            setText(kEquationA[k], realOrEmpty(a[k]));
            setText(kEquationB[k], realOrEmpty(b[k]));
            setText(kEquationMinDbh[k], equationMinDbh[k] >= -1 ? cformat("%d", equationMinDbh[k]) : "");
        }
        if (boardFootRule >= 1 && boardFootRule <= 3) {
            setChecked(kInternationalButton + boardFootRule - 1, true);
        }
        if (vtype >= kCubicFeet && vtype <= kCustomEquations) {
            setChecked(kCubicFeetButton + vtype - 1, true);
        }
        if (barkType >= 1 && barkType <= 2) {
            setChecked(kInsideBarkButton + barkType - 1, true);
        }
    } else {
        setText(kMinDbhClass, kProposedMinDbhClass);
        setText(kTopDiameter, kProposedTopDiameter);
        setChecked(kCubicFeetButton, true);
        setChecked(kOutsideBarkButton, true);
    }
    EnableControls();
}

void outUnitsDlg::OnControlChanged(int id) {
    if (id == kCubicFeetButton || id == kCordsButton || id == kCustomUnitsButton) {
        EnableControls();
    }
}

void outUnitsDlg::EnableControls() {
    const std::initializer_list<int> rules = {kInternationalButton, kDoyleButton, kScribnerButton};
    const std::initializer_list<int> barkAndTop = {kOutsideBarkButton, kInsideBarkButton, kTopDiameter};
    if (checked(kCustomUnitsButton)) {
        setEnabled(kCustomBoxes, true);
        setEnabled(kMinDbhClass, false);
        setEnabled(rules, false);
        setEnabled(barkAndTop, false);
    } else if (checked(kCordsButton)) {
        setEnabled(rules, true);
        setEnabled(kMinDbhClass, true);
        setEnabled(kCustomBoxes, false);
        setEnabled(barkAndTop, false);
    } else {
        setEnabled(barkAndTop, true);
        setEnabled(kMinDbhClass, true);
        setChecked(kCubicFeetButton, true);
        setEnabled(rules, false);
        setEnabled(kCustomBoxes, false);
    }
}

FormResult outUnitsDlg::UpdateData() {
    for (size_t k = 0; k < 3; ++k) {
        if (FormResult r = exchangeText(kEquationName[k], names[k]); !r) {
            return r;
        }
    }
    return FormResult::accepted();
}

FormResult outUnitsDlg::OnApply() {
    if (enabled(kMinDbhClass)) {
        const std::string minDbh = text(kMinDbhClass);
        if (!isAllDigits(minDbh)) {
            return FormResult::refused(kNotInteger, kMinDbhClass);
        }
        minDbhClass = boxtext::integer(minDbh);
    }
    for (size_t k = 0; k < 3; ++k) {
        if (enabled(kEquationMinDbh[k])) {
            const std::string minDbh = text(kEquationMinDbh[k]);
            if (!isAllDigits(minDbh)) {
                return FormResult::refused(kNotInteger, kEquationMinDbh[k]);
            }
            equationMinDbh[k] = boxtext::integer(minDbh);
        }
    }
    if (enabled(kTopDiameter)) {
        const std::string top = text(kTopDiameter);
        voltop = top.empty() ? -1.0f : boxtext::real(top);
    }
    // A coefficient may be any number; "inf", "nan" or one beyond single precision would make every volume
    // of the equation infinite or undefined, so those are refused.
    for (const auto& [boxes, coefficients] : {std::pair{&kEquationA, &a}, std::pair{&kEquationB, &b}}) {
        for (size_t k = 0; k < 3; ++k) {
            if (!enabled((*boxes)[k])) {
                continue;
            }
            const float value = boxtext::real(text((*boxes)[k]));
            if (!std::isfinite(value)) {
                return FormResult::refused(ddx::kNotANumber, (*boxes)[k]);
            }
            (*coefficients)[k] = value;
        }
    }

    if (checked(kCustomUnitsButton)) {
        vtype = kCustomEquations;
        for (size_t k = 0; k < 3; ++k) {
            if (!within(equationMinDbh[k], 1, 99)) {
                return FormResult::refused("Please enter an integer from 1 to 99", kEquationMinDbh[k]);
            }
        }
    } else if (checked(kCordsButton)) {
        vtype = kCordsAndBoardFeet;
        boardFootRule = checked(kInternationalButton) ? 1
                        : checked(kDoyleButton)       ? 2
                        : checked(kScribnerButton)    ? 3
                                                      : 0;
        if (boardFootRule == 0) {
            return FormResult::refused("Please select a board foot rule", kInternationalButton);
        }
        if (!within(minDbhClass, 8, 20)) {
            return FormResult::refused("Please enter an integer from 8 to 20", kMinDbhClass);
        }
    } else {
        vtype = kCubicFeet;
        barkType = checked(kInsideBarkButton) ? 1 : checked(kOutsideBarkButton) ? 2 : 0;
        if (barkType == 0) {
            return FormResult::refused("Please select a volume type", kInsideBarkButton);
        }
        if (!within(minDbhClass, 1, 20)) {
            return FormResult::refused("Please enter an integer from 1 to 20", kMinDbhClass);
        }
        if (!(voltop >= 0 && voltop < static_cast<float>(minDbhClass))) {
            return FormResult::refused(cformat("Please enter a real number from 0 to %d", minDbhClass), kTopDiameter);
        }
    }
    return FormResult::accepted();
}

} // namespace grovex
