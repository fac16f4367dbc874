#include "dialogs/stand_projection_dlg.h"

#include "base/c_format.h"
#include "base/data_exchange.h"
#include "dialogs/box_text.h"
#include "dialogs/general_info_dlg.h"
#include "dialogs/stand_bounds.h"
#include "results/document.h"

#include <cmath>

namespace grovex {

using namespace standprojection;
using boxtext::within;
using plantation::kFirstTarget;
using plantation::kTargetCount;

namespace {

const char* const kNotInteger = "Please specify an Integer";

constexpr int targetBox(int criterion) {
    return kFirstTarget + criterion - 1;
}

// A bound as the dialog compares it: shown with two decimals and read back.
float twoDecimals(double bound) {
    return boxtext::real(cformat("%.2f", bound));
}

// The row interval the simulation's row fraction stands for (0.2 gives 5).
int32_t rowInterval(float fraction) {
    const double interval = 100.0 / ((double{fraction} - 0.01) * 100.0);
    if (!(std::fabs(interval) < 2147483647.0)) {
        return 0;
    }
    return static_cast<int32_t>(interval);
}

} // namespace

standProjectionDlg::standProjectionDlg(CGROVEXDoc& owner) : owner_(owner) {
    addCheckBox(kThin);
    addRadioGroup({kRowThin, kLowThin, kRowAndLowThin});
    addEdit(kRowInterval);
    addEdit(kDbhBelow);
    addRadioGroup({kDiameter, kBasalArea});
    addEdit(kDbhAbove);
    addEdit(kResidualBasalArea);
    addEdit(kHardwood);
    addCheckBox(kFertilize);
    addCheckBox(kPhosphorus);
    addEdit(kNitrogen);
    for (int k = 1; k <= kTargetCount; ++k) {
        addEdit(targetBox(k));
    }
}

void standProjectionDlg::EnableControls() {
    const std::initializer_list<int> thinning = {kRowThin,   kLowThin,  kRowAndLowThin, kRowInterval,      kDiameter,
                                                 kBasalArea, kDbhAbove, kDbhBelow,      kResidualBasalArea};
    if (checked(kThin)) {
        setEnabled(thinning, true);
        if (checked(kLowThin)) {
            setEnabled(kRowInterval, false);
            if (checked(kDiameter)) {
                setEnabled(kDbhAbove, true);
                setEnabled(kResidualBasalArea, false);
            } else if (checked(kBasalArea)) {
                setEnabled(kDbhAbove, false);
                setEnabled(kResidualBasalArea, true);
            }
        }
        if (checked(kRowThin)) {
            setEnabled({kDiameter, kBasalArea, kDbhAbove, kDbhBelow, kResidualBasalArea}, false);
        }
    } else {
        setEnabled(thinning, false);
    }
    setEnabled({kPhosphorus, kNitrogen}, checked(kFertilize));
}

void standProjectionDlg::OnControlChanged(int id) {
    switch (id) {
    case kThin:
    case kRowThin:
    case kLowThin:
    case kRowAndLowThin:
    case kFertilize:
    case kDiameter:
    case kBasalArea:
        EnableControls();
        break;
    default:
        break;
    }
}

void standProjectionDlg::OnInitDialog() {
    const GrowthModel& model = owner_.model;
    EnableControls();

    setChecked(model.ithin == 1 ? kRowThin : model.ithin == 2 ? kLowThin : kRowAndLowThin, true);
    rcut = rowInterval(model.rcut);
    ilow = model.ilow == 1 ? 1 : 2;
    setChecked(ilow == 1 ? kDiameter : kBasalArea, true);
    dlow = model.dlow;
    dhigh = model.dhigh;
    tlim = model.tlim;

    // An old stand can only be projected to an age; the simulation's criterion is set when OK is accepted.
    const bool old = model.age > kOldStandAge;
    if (old) {
        for (int k = kCriterionBasalArea; k <= kTargetCount; ++k) {
            setEnabled(targetBox(k), false);
        }
    }
    for (int k = 1; k <= kTargetCount; ++k) {
        setText(targetBox(k), "");
    }
    const int criterion = old ? static_cast<int>(kCriterionAge) : model.pcrit;
    switch (criterion) {
    case kCriterionAge:
        setText(targetBox(criterion), cformat("%d", model.age));
        break;
    case kCriterionBasalArea:
        setText(targetBox(criterion), cformat("%.2f", double{model.tba} + 1));
        break;
    case kCriterionQuadraticMeanDbh:
        setText(targetBox(criterion), cformat("%.2f", double{model.dq} + 0.1));
        break;
    case kCriterionDominantHeight:
        setText(targetBox(criterion), cformat("%.2f", double{model.hd} + 1));
        break;
    case kCriterionCords:
        setText(targetBox(criterion), cformat("%.2f", double{model.cords} + 0.1));
        break;
    case kCriterionCrownRatio:
        setText(targetBox(criterion), cformat("%.2f", double{model.crMean} - 0.1));
        break;
    case kCriterionRelativeSpacing:
        setText(targetBox(criterion), cformat("%.2f", double{model.rs} - 0.1));
        break;
    default:
        break;
    }

    percnt = static_cast<float>(double{model.hdwdpercnt} * 100);
    setText(kHardwood, model.qhdwd != 0 ? cformat("%.2f", double{percnt}) : "");
    qfert = false;
    lbn = model.lbn;

    // The data exchange of the members into the controls.
    setChecked(kThin, qthin);
    setText(kRowInterval, ddx::integerText(rcut));
    setText(kDbhBelow, ddx::realText(dlow));
    setText(kDbhAbove, ddx::realText(dhigh));
    setText(kResidualBasalArea, ddx::realText(tlim));
    setChecked(kFertilize, qfert);
    setChecked(kPhosphorus, qphos);
    setText(kNitrogen, ddx::integerText(lbn));
}

FormResult standProjectionDlg::UpdateData() {
    // Every box is exchanged, enabled or not.
    const auto integerBox = [this](int id, int32_t& member) {
        const std::optional<int32_t> value = ddx::parseInteger(text(id));
        if (!value) {
            return FormResult::refused(ddx::kNotAnInteger, id);
        }
        member = *value;
        return FormResult::accepted();
    };
    const auto realBox = [this](int id, float& member) {
        const std::optional<float> value = ddx::parseReal(text(id));
        if (!value) {
            return FormResult::refused(ddx::kNotANumber, id);
        }
        member = *value;
        return FormResult::accepted();
    };

    qthin = checked(kThin);
    if (FormResult r = integerBox(kRowInterval, rcut); !r) {
        return r;
    }
    if (FormResult r = realBox(kDbhBelow, dlow); !r) {
        return r;
    }
    if (FormResult r = realBox(kDbhAbove, dhigh); !r) {
        return r;
    }
    if (FormResult r = realBox(kResidualBasalArea, tlim); !r) {
        return r;
    }
    qfert = checked(kFertilize);
    qphos = checked(kPhosphorus);
    if (FormResult r = integerBox(kNitrogen, lbn); !r) {
        return r;
    }
    if (!within(lbn, kNitrogenMin, kNitrogenMax)) {
        return FormResult::refused(ddx::integerRangeMessage(kNitrogenMin, kNitrogenMax), kNitrogen);
    }
    return FormResult::accepted();
}

FormResult standProjectionDlg::OnOK() {
    if (FormResult r = UpdateData(); !r) {
        return r;
    }
    const GrowthModel& model = owner_.model;

    const std::string hardwood = text(kHardwood);
    if (hardwood.empty()) {
        percnt = -1;
    } else {
        percnt = boxtext::real(hardwood);
        if (!within(percnt, 0.0f, 90.0f)) {
            return FormResult::refused("Please enter a real number from 0 to 90", kHardwood);
        }
    }

    ithin = checked(kRowThin) ? 1 : checked(kLowThin) ? 2 : 3;

    if (checked(kThin)) {
        if (!checked(kLowThin) && !within(rcut, 2, 6)) {
            return FormResult::refused("Please enter a number from 2 to 6", kRowInterval);
        }
        if (!checked(kRowThin)) {
            // The upper limit stored in the simulation, not the one just typed.
            if (!within(dlow, 0.0f, model.dhigh)) {
                return FormResult::refused(cformat("Please enter a real number from 0 to %f", double{model.dhigh}),
                                           kDbhBelow);
            }
            if (checked(kDiameter)) {
                ilow = 1;
                if (!within(dhigh, 0.0f, model.dmax)) {
                    return FormResult::refused(cformat("Please enter a real number from 0 to %f", double{model.dmax}),
                                               kDbhAbove);
                }
            } else if (checked(kBasalArea)) {
                ilow = 2;
                if (!within(tlim, 0.0f, model.tba)) {
                    return FormResult::refused(cformat("Please enter a real number from 0 to %f", double{model.tba}),
                                               kResidualBasalArea);
                }
            }
        }
    }

    int filled = 0;
    int criterion = 0;
    for (int k = 1; k <= kTargetCount; ++k) {
        if (!text(targetBox(k)).empty()) {
            ++filled;
            criterion = k;
        }
    }
    if (filled != 1) {
        return FormResult::refused("Please enter one and only one Output Target parameter.", kFirstTarget);
    }
    if (FormResult r = checkTarget(criterion, text(targetBox(criterion))); !r) {
        return r;
    }
    if (model.age > kOldStandAge) {
        owner_.model.pcrit = kCriterionAge;
    }
    return FormResult::accepted();
}

FormResult standProjectionDlg::checkTarget(int criterion, const std::string& text) {
    const GrowthModel& model = owner_.model;
    const int box = targetBox(criterion);
    if (criterion == kCriterionAge) {
        if (!isAllDigits(text)) {
            return FormResult::refused(kNotInteger, box);
        }
        // From the current age: the box opens with it, and OK on the opened dialog must pass.
        const int32_t age = boxtext::integer(text);
        if (!within(age, model.age, model.nyears)) {
            return FormResult::refused(cformat("Please enter an integer from %d to %d", model.age, model.nyears), box);
        }
        pcrit = criterion;
        target = static_cast<float>(age);
        return FormResult::accepted();
    }

    const bool held = standBoundsOf(&owner_).held;
    const float value = boxtext::real(text);
    float low = 0;
    float high = 0;
    std::string message;
    switch (criterion) {
    case kCriterionBasalArea:
        low = twoDecimals(double{model.tba} + 1);
        high = 180;
        message = cformat("Please enter a real number from %.2f to %d", double{low}, 180);
        break;
    case kCriterionQuadraticMeanDbh:
        low = twoDecimals(double{model.dq} + 0.1);
        high = 12;
        message = cformat("Please enter a real number from %.2f to %d", double{low}, 12);
        break;
    case kCriterionDominantHeight:
        low = twoDecimals(double{model.hd} + 1);
        high = 100;
        message = cformat("Please enter a real number from %.2f to %d", double{low}, 100);
        break;
    case kCriterionCords:
        low = twoDecimals(double{model.cords} + 0.1);
        high = 50;
        message = cformat("Please enter a real number from %.2f to %d", double{low}, 50);
        break;
    case kCriterionCrownRatio:
        low = 20;
        high = held ? twoDecimals(double{model.crMean} - 1) : kNoStandCrownRatioMax;
        message = cformat("Please enter a real number from %d to %.2f", 20, double{high});
        break;
    default: // relative spacing
        low = 0.1f;
        high = held ? twoDecimals(double{model.rs} - 0.1) : kNoStandRelativeSpacingMax;
        message = cformat("Please enter a real number from %.2f to %.2f", 0.1, double{high});
        break;
    }
    if (!within(value, low, high)) {
        return FormResult::refused(message, box);
    }
    pcrit = criterion;
    target = value;
    return FormResult::accepted();
}

Input2Values standProjectionDlg::values() const {
    Input2Values v;
    v.qthin = qthin;
    v.ithin = ithin;
    v.rcut = rcut;
    v.ilow = ilow;
    v.dlow = dlow;
    v.dhigh = dhigh;
    v.tlim = tlim;
    v.percnt = percnt;
    v.qfert = qfert;
    v.qphos = qphos;
    v.lbn = lbn;
    v.pcrit = pcrit;
    v.target = target;
    return v;
}

} // namespace grovex
