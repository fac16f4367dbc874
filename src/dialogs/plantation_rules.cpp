#include "dialogs/plantation_rules.h"

#include "base/c_format.h"
#include "dialogs/box_text.h"

#include <algorithm>

namespace grovex {

using namespace plantation;
using boxtext::within;

PlantationEnabled plantationOpeningState(bool standExists, bool treeListExists) {
    PlantationEnabled e;
    e.treesSurviving = e.existingAge = e.basalArea = e.treeListExists = standExists;
    e.browse = standExists && treeListExists;
    e.treesPlanted = e.percentSurvival = e.poorlyDrained = !standExists;
    return e;
}

PlantationEnabled plantationEnablingRule(bool standExists, bool treeListExists, std::string_view existingAgeText) {
    PlantationEnabled e;
    if (!standExists) {
        return e;
    }
    e.treesPlanted = e.percentSurvival = false;
    e.treeListExists = true;
    if (treeListExists) {
        e.browse = true;
        e.poorlyDrained = e.hardwood = e.siteIndex = false;
        return e;
    }
    e.existingAge = e.basalArea = e.treesSurviving = true;
    const int age = !existingAgeText.empty() && isAllDigits(existingAgeText) ? cAtoi(existingAgeText) : -1;
    e.poorlyDrained = age < 8;
    return e;
}

CurrentStand currentStandOf(const GrowthModel& model) {
    CurrentStand stand;
    stand.held = model.hd > 0;
    stand.dq = model.dq;
    stand.hd = model.hd;
    stand.cords = model.cords;
    stand.crMean = model.crMean;
    stand.rs = model.rs;
    return stand;
}

namespace {

const char* const kNotInteger = "Please specify an Integer";

FieldError fail(std::string message, int control) {
    return FieldError{std::move(message), control};
}

// The output target in the filled box; criterion is 1 to 7.
Checked<PlantationValues> checkTarget(PlantationValues v, int criterion, const std::string& text, int minTargetAge,
                                      const CurrentStand& stand) {
    const int control = kFirstTarget + criterion - 1;
    v.pcrit = criterion;
    if (criterion == kCriterionAge) {
        if (!isAllDigits(text)) {
            return fail(kNotInteger, control);
        }
        const int32_t age = boxtext::integer(text);
        const int32_t low = std::max(8, minTargetAge);
        if (!within(age, low, v.nyears)) {
            return fail(cformat("Please enter an integer from %d to %d", low, v.nyears), control);
        }
        v.target = static_cast<float>(age);
        return v;
    }

    // Bounds are rounded to single precision like the values they are compared with, so that a target typed
    // exactly as the message names its lower end is accepted.
    const float target = boxtext::real(text);
    float low = 0;
    float high = 0;
    std::string message;
    switch (criterion) {
    case kCriterionBasalArea:
        low = v.tba + 1.0f;
        high = 180;
        message = cformat("Please enter a real number from %.3f to %d", double{low}, 180);
        break;
    case kCriterionQuadraticMeanDbh:
        low = static_cast<float>(stand.dq + 0.1);
        high = 12;
        message = cformat("Please enter a real number from %.3f to %d", double{low}, 12);
        break;
    case kCriterionDominantHeight:
        low = stand.hd + 1.0f;
        high = 100;
        message = cformat("Please enter a real number from %.3f to %d", double{low}, 100);
        break;
    case kCriterionCords:
        low = static_cast<float>(stand.cords + 0.1);
        high = 50;
        message = cformat("Please enter a real number from %.3f to %d", double{low}, 50);
        break;
    case kCriterionCrownRatio:
        // A document that has never held a stand has no crown ratio to stay below: any stand the page allows.
        low = 20;
        high = stand.held ? stand.crMean - 1.0f : 99.0f;
        message = cformat("Please enter a real number from %d to %f", 20, double{high});
        break;
    default: // relative spacing
        low = 0.1f;
        high = stand.held ? static_cast<float>(stand.rs - 0.1) : 5.0f;
        message = cformat("Please enter a real number from %.3f to %f", double{low}, double{high});
        break;
    }
    if (!within(target, low, high)) {
        return fail(message, control);
    }
    v.target = target;
    return v;
}

} // namespace

Checked<PlantationValues> validatePlantation(const PlantationTexts& texts, const PlantationEnabled& enabled,
                                             const CurrentStand& stand) {
    if (texts.title.size() > static_cast<size_t>(kMaxTitleLength)) {
        return fail(cformat("The title can be at most %d characters long.", kMaxTitleLength), kTitle);
    }

    PlantationValues v; // holds the presets
    v.title = texts.title;
    v.qexist = texts.standExists;
    v.qlist = texts.treeListExists;
    v.qdrain = texts.poorlyDrained;
    v.hdwdpercnt = texts.earlierHardwoodPercent;

    if (!isAllDigits(texts.rotation)) {
        return fail(kNotInteger, kRotation);
    }
    v.nyears = boxtext::integer(texts.rotation);
    if (!within(v.nyears, 8, 100)) {
        return fail(cformat("Please enter an integer from %d to %d", 8, 100), kRotation);
    }

    if (enabled.siteIndex) {
        v.site = boxtext::real(texts.siteIndex);
        if (!within(v.site, 20.0f, 100.0f)) {
            return fail("Please enter a real number from 20 to 100", kSiteIndex);
        }
    }

    if (enabled.treesSurviving) {
        v.ts = boxtext::real(texts.treesSurviving);
    }
    if (enabled.treesPlanted) {
        v.tp = boxtext::real(texts.treesPlanted);
    }
    if (enabled.percentSurvival) {
        v.ps = boxtext::real(texts.percentSurvival);
    }
    if (enabled.existingAge) {
        if (!isAllDigits(texts.existingAge)) {
            return fail(kNotInteger, kExistingAge);
        }
        v.exage = boxtext::integer(texts.existingAge);
    }

    int minTargetAge = 8;
    v.tba = 0;
    if (v.qexist) {
        if (enabled.treesSurviving) {
            if (!within(v.ts, 50.0f, 2000.0f)) {
                return fail("Please enter a real number from 50 to 2000", kTreesSurviving);
            }
            const int32_t oldest = std::min(v.nyears, 30);
            if (!within(v.exage, 1, oldest)) {
                return fail(cformat("Please enter an integer from 1 to %d", oldest), kExistingAge);
            }
        }
        if (enabled.basalArea) {
            minTargetAge = v.exage;
            if (v.exage >= 8 && !texts.basalArea.empty()) {
                v.tba = boxtext::real(texts.basalArea);
                if (!within(v.tba, 25.0f, 200.0f)) {
                    return fail("Please enter a real number from 25 to 200", kBasalArea);
                }
            }
        }
    } else {
        if (enabled.treesPlanted && !within(v.tp, 50.0f, 2000.0f)) {
            return fail("Please enter a real number from 50 to 2000", kTreesPlanted);
        }
        if (enabled.percentSurvival && !within(v.ps, 30.0f, 100.0f)) {
            return fail("Please enter a real number from 30 to 100", kPercentSurvival);
        }
    }

    if (enabled.hardwood) {
        if (texts.hardwoodPercent.empty()) {
            v.hdwdpercnt = -1;
        } else {
            v.hdwdpercnt = boxtext::real(texts.hardwoodPercent);
            if (!within(v.hdwdpercnt, 0.0f, 90.0f)) {
                return fail("Please enter a real number from 0 to 90", kHardwood);
            }
        }
    }

    int filled = 0;
    int criterion = 0;
    for (int i = 0; i < kTargetCount; ++i) {
        if (!texts.targets[i].empty()) {
            ++filled;
            criterion = i + 1;
        }
    }
    if (filled != 1) {
        return fail("Please enter one and only one Output Target parameter.", kFirstTarget);
    }
    return checkTarget(std::move(v), criterion, texts.targets[criterion - 1], minTargetAge, stand);
}

} // namespace grovex
