#include "dialogs/general_info_dlg.h"

#include "base/c_format.h"
#include "base/data_exchange.h"
#include "dialogs/box_text.h"
#include "dialogs/stand_bounds.h"
#include "results/document.h"

#include <algorithm>

namespace grovex {

using namespace plantation;
using boxtext::within;

namespace {

const char* const kNotInteger = "Please specify an Integer";

constexpr int targetBox(int criterion) {
    return kFirstTarget + criterion - 1;
}

} // namespace

generalInfoDlg::generalInfoDlg(const CGROVEXDoc* activeDocument) : activeDocument_(activeDocument) {
    addEdit(kTitle, kTitleLimit);
    addEdit(kRotation);
    addEdit(kSiteIndex);
    addCheckBox(kStandExists);
    addEdit(kTreesSurviving);
    addEdit(kExistingAge);
    addCheckBox(kTreeListExists);
    addButton(kBrowse);
    addEdit(kBasalArea);
    addEdit(kTreesPlanted);
    addEdit(kPercentSurvival);
    addCheckBox(kPoorlyDrained);
    addEdit(kHardwood);
    for (int k = 1; k <= kTargetCount; ++k) {
        addEdit(targetBox(k));
    }
}

void generalInfoDlg::OnInitDialog() {
    // The data exchange of the title and the check boxes.
    setText(kTitle, title);
    setChecked(kPoorlyDrained, qdrain);
    setChecked(kTreeListExists, qlist);
    setChecked(kStandExists, qexist);

    if (site == kPageNeverFilled) {
        // Nothing typed yet: a bare-land plantation that OK accepts as it stands.
        site = 0;
        for (const int id : controlIds()) {
            if (kind(id) == ControlKind::Edit) {
                setText(id, "");
            }
        }
        setText(kRotation, kProposedRotation);
        setText(kSiteIndex, kProposedSiteIndex);
        setText(kTreesPlanted, kProposedTreesPlanted);
        setText(kPercentSurvival, kProposedSurvival);
        setText(targetBox(kCriterionAge), kProposedTargetAge);
    } else {
        for (int k = 1; k <= kTargetCount; ++k) {
            setText(targetBox(k), "");
        }
        if (pcrit >= 1 && pcrit <= kTargetCount) {
            setText(targetBox(pcrit),
                    pcrit == kCriterionAge ? cformat("%d", static_cast<int>(target)) : cformat("%f", double{target}));
        }
        setText(kTreesSurviving, ts >= 0 ? cformat("%.2f", double{ts}) : "");
        setText(kHardwood, hdwdpercnt >= 0 ? cformat("%f", double{hdwdpercnt}) : "");
        setText(kBasalArea, tba > 0 ? cformat("%f", double{tba}) : "");
        setText(kRotation, nyears >= 0 ? cformat("%d", nyears) : "");
        setText(kSiteIndex, site >= 0 ? cformat("%f", double{site}) : "");
        setText(kExistingAge, exage >= 0 ? cformat("%d", exage) : "");
        setText(kTreesPlanted, tp >= 0 ? cformat("%f", double{tp}) : "");
        setText(kPercentSurvival, ps >= 0 ? cformat("%f", double{ps}) : "");
        setText(kTitle, title);
    }

    // The opening state; the site index and hardwood boxes keep their template state (enabled).
    const bool existing = checked(kStandExists);
    setEnabled({kExistingAge, kBasalArea, kTreesSurviving, kTreeListExists}, existing);
    setEnabled({kTreesPlanted, kPercentSurvival, kPoorlyDrained}, !existing);
    setEnabled(kBrowse, existing && checked(kTreeListExists));
}

void generalInfoDlg::OnControlChanged(int id) {
    if (id == kStandExists || id == kTreeListExists || id == kExistingAge) {
        EnableControls();
    } else if (id == kBrowse) {
        OnBrowse();
    }
}

void generalInfoDlg::OnBrowse() {
    const bool loaded = browse_ ? browse_() : false;
    setChecked(kTreeListExists, loaded);
    EnableControls();
}

void generalInfoDlg::EnableControls() {
    if (!checked(kStandExists)) {
        setEnabled({kExistingAge, kBasalArea, kTreesSurviving, kTreeListExists, kBrowse}, false);
        setEnabled({kTreesPlanted, kPercentSurvival, kPoorlyDrained, kHardwood, kSiteIndex}, true);
        return;
    }
    setEnabled({kTreesPlanted, kPercentSurvival, kPoorlyDrained}, false);
    setEnabled(kTreeListExists, true);
    if (checked(kTreeListExists)) {
        setEnabled({kHardwood, kSiteIndex, kExistingAge, kBasalArea, kTreesSurviving}, false);
        setEnabled(kBrowse, true);
        return;
    }
    setEnabled(kBrowse, false);
    setEnabled({kHardwood, kSiteIndex, kExistingAge, kBasalArea, kTreesSurviving}, true);
    // Drainage matters only for a young stand: an age typed as a whole number below 8.
    const std::string age = text(kExistingAge);
    const int32_t years = !age.empty() && isAllDigits(age) ? boxtext::integer(age) : -1;
    setEnabled(kPoorlyDrained, years < 8);
}

FormResult generalInfoDlg::UpdateData() {
    if (FormResult r = exchangeText(kTitle, title); !r) {
        return r;
    }
    qdrain = checked(kPoorlyDrained);
    qlist = checked(kTreeListExists);
    qexist = checked(kStandExists);
    return FormResult::accepted();
}

FormResult generalInfoDlg::OnApply() {
    // Presets: a disabled box is not read.
    nyears = 60;
    site = 60;
    ts = 50;
    exage = 2;
    tp = 800;
    ps = 90;

    if (enabled(kRotation)) {
        const std::string rotation = text(kRotation);
        if (!isAllDigits(rotation)) {
            return FormResult::refused(kNotInteger, kRotation);
        }
        nyears = boxtext::integer(rotation);
        if (!within(nyears, 8, 100)) {
            return FormResult::refused(cformat("Please enter an integer from %d to %d", 8, 100), kRotation);
        }
    }
    if (enabled(kSiteIndex)) {
        site = boxtext::real(text(kSiteIndex));
        if (!within(site, 20.0f, 100.0f)) {
            return FormResult::refused("Please enter a real number from 20 to 100", kSiteIndex);
        }
    }
    if (enabled(kTreesSurviving)) {
        ts = boxtext::real(text(kTreesSurviving));
    }
    if (enabled(kTreesPlanted)) {
        tp = boxtext::real(text(kTreesPlanted));
    }
    if (enabled(kPercentSurvival)) {
        ps = boxtext::real(text(kPercentSurvival));
    }
    if (enabled(kExistingAge)) {
        const std::string age = text(kExistingAge);
        if (!isAllDigits(age)) {
            return FormResult::refused(kNotInteger, kExistingAge);
        }
        exage = boxtext::integer(age);
    }

    int32_t minTargetAge = 8;
    tba = 0;
    if (qexist) {
        if (enabled(kTreesSurviving)) {
            if (!within(ts, 50.0f, static_cast<float>(kTreesSurvivingMax))) {
                return FormResult::refused(cformat("Please enter a real number from 50 to %d", kTreesSurvivingMax),
                                           kTreesSurviving);
            }
            const int32_t oldest = std::min(nyears, 30);
            if (!within(exage, 1, oldest)) {
                return FormResult::refused(cformat("Please enter an integer from 1 to %d", oldest), kExistingAge);
            }
        }
        if (enabled(kBasalArea)) {
            minTargetAge = exage;
            const std::string basalArea = text(kBasalArea);
            if (exage >= 8 && !basalArea.empty()) {
                tba = boxtext::real(basalArea);
                if (!within(tba, 25.0f, 200.0f)) {
                    return FormResult::refused("Please enter a real number from 25 to 200", kBasalArea);
                }
            }
        }
    } else {
        if (enabled(kTreesPlanted) && !within(tp, 50.0f, 2000.0f)) {
            return FormResult::refused("Please enter a real number from 50 to 2000", kTreesPlanted);
        }
        if (enabled(kPercentSurvival) && !within(ps, 30.0f, 100.0f)) {
            return FormResult::refused("Please enter a real number from 30 to 100", kPercentSurvival);
        }
    }

    if (enabled(kHardwood)) {
        const std::string hardwood = text(kHardwood);
        if (hardwood.empty()) {
            hdwdpercnt = -1;
        } else {
            hdwdpercnt = boxtext::real(hardwood);
            if (!within(hdwdpercnt, 0.0f, 90.0f)) {
                return FormResult::refused("Please enter a real number from 0 to 90", kHardwood);
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
    return checkTarget(criterion, text(targetBox(criterion)), minTargetAge);
}

FormResult generalInfoDlg::checkTarget(int criterion, const std::string& text, int32_t minTargetAge) {
    const int box = targetBox(criterion);
    if (criterion == kCriterionAge) {
        if (!isAllDigits(text)) {
            return FormResult::refused(kNotInteger, box);
        }
        const int32_t age = boxtext::integer(text);
        const int32_t low = std::max(8, minTargetAge);
        if (!within(age, low, nyears)) {
            return FormResult::refused(cformat("Please enter an integer from %d to %d", low, nyears), box);
        }
        pcrit = criterion;
        target = static_cast<float>(age);
        return FormResult::accepted();
    }

    // The bounds are rounded to single precision like the typed value, so that a target typed exactly as the
    // message names its lower end is accepted.
    const StandBounds stand = standBoundsOf(activeDocument_);
    const float value = boxtext::real(text);
    float low = 0;
    float high = 0;
    std::string message;
    switch (criterion) {
    case kCriterionBasalArea:
        low = tba + 1.0f;
        high = 180;
        message = cformat("Please enter a real number from %.3f to %d", double{low}, 180);
        break;
    case kCriterionQuadraticMeanDbh:
        low = static_cast<float>(double{stand.dq} + 0.1);
        high = 12;
        message = cformat("Please enter a real number from %.3f to %d", double{low}, 12);
        break;
    case kCriterionDominantHeight:
        low = stand.hd + 1.0f;
        high = 100;
        message = cformat("Please enter a real number from %.3f to %d", double{low}, 100);
        break;
    case kCriterionCords:
        low = static_cast<float>(double{stand.cords} + 0.1);
        high = 50;
        message = cformat("Please enter a real number from %.3f to %d", double{low}, 50);
        break;
    case kCriterionCrownRatio:
        low = 20;
        high = stand.held ? stand.crMean - 1.0f : kNoStandCrownRatioMax;
        message = cformat("Please enter a real number from %d to %f", 20, double{high});
        break;
    default: // relative spacing
        low = 0.1f;
        high = stand.held ? static_cast<float>(double{stand.rs} - 0.1) : kNoStandRelativeSpacingMax;
        message = cformat("Please enter a real number from %.3f to %f", double{low}, double{high});
        break;
    }
    if (!within(value, low, high)) {
        return FormResult::refused(message, box);
    }
    pcrit = criterion;
    target = value;
    return FormResult::accepted();
}

} // namespace grovex
