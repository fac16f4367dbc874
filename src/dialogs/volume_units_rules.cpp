#include "dialogs/volume_units_rules.h"

#include "base/c_format.h"
#include "dialogs/box_text.h"

namespace grovex {

using namespace volumeunits;
using boxtext::within;

VolumeUnitsEnabled volumeUnitsEnablingRule(int32_t units) {
    VolumeUnitsEnabled e;
    if (units == kCustomEquations) {
        e.equations = true;
    } else if (units == kCordsAndBoardFeet) {
        e.boardFootRule = e.minDbhClass = true;
    } else {
        e.barkAndTop = e.minDbhClass = true;
    }
    return e;
}

namespace {

const char* const kNotInteger = "Please specify an Integer";

FieldError fail(std::string message, int control) {
    return FieldError{std::move(message), control};
}

bool unnamed(const std::string& name) {
    return name.find_first_not_of(' ') == std::string::npos;
}

} // namespace

Checked<VolumeUnitsValues> validateVolumeUnits(const VolumeUnitsTexts& texts) {
    for (size_t k = 0; k < texts.equations.size(); ++k) {
        if (texts.equations[k].name.size() > static_cast<size_t>(kMaxVolumeNameLength)) {
            return fail(cformat("The volume units name can be at most %d characters long.", kMaxVolumeNameLength),
                        kEquationName[k]);
        }
    }

    const VolumeUnitsEnabled enabled = volumeUnitsEnablingRule(texts.units);
    VolumeUnitsValues v;
    std::array<CustomEquation, 3> entered;

    if (enabled.minDbhClass) {
        if (!isAllDigits(texts.minDbhClass)) {
            return fail(kNotInteger, kMinDbhClass);
        }
        v.minDbhClass = boxtext::integer(texts.minDbhClass);
    }
    if (enabled.equations) {
        for (size_t k = 0; k < entered.size(); ++k) {
            if (!isAllDigits(texts.equations[k].minDbhClass)) {
                return fail(kNotInteger, kEquationMinDbh[k]);
            }
            entered[k].minDbhClass = boxtext::integer(texts.equations[k].minDbhClass);
        }
    }
    if (enabled.barkAndTop) {
        v.voltop = texts.topDiameter.empty() ? -1.0f : boxtext::real(texts.topDiameter);
    }
    if (enabled.equations) {
        for (size_t k = 0; k < entered.size(); ++k) {
            entered[k].name = texts.equations[k].name;
            entered[k].a = boxtext::real(texts.equations[k].a);
            entered[k].b = boxtext::real(texts.equations[k].b);
        }
    }

    if (texts.units == kCustomEquations) {
        v.vtype = kCustomEquations;
        for (size_t k = 0; k < entered.size(); ++k) {
            if (!within(entered[k].minDbhClass, 1, 99)) {
                return fail("Please enter an integer from 1 to 99", kEquationMinDbh[k]);
            }
        }
        for (size_t k = 0; k < entered.size(); ++k) {
            if (!unnamed(entered[k].name)) {
                v.equations[k] = entered[k];
            }
        }
    } else if (texts.units == kCordsAndBoardFeet) {
        v.vtype = kCordsAndBoardFeet;
        if (texts.boardFootRule < 1 || texts.boardFootRule > 3) {
            return fail("Please select a board foot rule", kInternationalButton);
        }
        v.voltyp = texts.boardFootRule;
        if (!within(v.minDbhClass, 8, 20)) {
            return fail("Please enter an integer from 8 to 20", kMinDbhClass);
        }
    } else {
        v.vtype = kCubicFeet;
        if (texts.barkType < 1 || texts.barkType > 2) {
            return fail("Please select a volume type", kInsideBarkButton);
        }
        v.voltyp = texts.barkType;
        if (!within(v.minDbhClass, 1, 20)) {
            return fail("Please enter an integer from 1 to 20", kMinDbhClass);
        }
        if (!(v.voltop >= 0 && v.voltop < static_cast<float>(v.minDbhClass))) {
            return fail(cformat("Please enter a real number from 0 to %d", v.minDbhClass), kTopDiameter);
        }
    }
    return v;
}

} // namespace grovex
