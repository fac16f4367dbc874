// The target test and the model's side of a projection.

#include "model/growth_model.h"

namespace grovex {

bool GrowthModel::criterionMet() const {
    switch (pcrit) {
    case kCriterionAge:
        return static_cast<float>(age) >= target;
    case kCriterionBasalArea:
        return tba >= target;
    case kCriterionQuadraticMeanDbh:
        return dq >= target;
    case kCriterionDominantHeight:
        return hd >= target;
    case kCriterionCords:
        return cords >= target;
    case kCriterionCrownRatio:
        return crMean <= target;
    case kCriterionRelativeSpacing:
        return rs <= target;
    default:
        return false;
    }
}

bool GrowthModel::TargetTest() {
    const bool met = criterionMet();
    if (met) {
        MakeTable(kLiveTreeTable);
    }
    return met;
}

bool GrowthModel::ProjectToTarget() {
    for (;;) {
        // Each year's statistics as StandStats makes them; the cord volume is computed only where it is read.
        const bool testsCords = pcrit == kCriterionCords;
        updateStandValues(testsCords);
        if (!testsCords && (criterionMet() || age >= nyears)) {
            cords = standCords();
        }
        if (observer_ != nullptr) {
            observer_->standAtAge(*this);
        }
        if (TargetTest()) {
            return true;
        }
        if (age >= nyears) {
            MakeTable(kLiveTreeTable);
            return false;
        }
        GrowOneYear();
        ++age;
    }
}

} // namespace grovex
