#include "model/input1.h"

#include "model/numerics.h"

#include <algorithm>

namespace grovex {

namespace {

void writeVolumeUnits(GrowthModel& model, const Input1& input) {
    model.vtype = input.vtype;
    if (input.vtype == kCubicFeet || input.vtype == kCordsAndBoardFeet) {
        model.voltyp = input.voltyp;
        model.voldbh[0] = input.minDbhClass;
        if (input.vtype == kCubicFeet) {
            model.voltop = input.voltop;
        }
        return;
    }
    // Custom equations: every slot starts blank, then the named ones take their values.
    for (int e = 0; e < 3; ++e) {
        model.setVolumeName(e, "-blank-");
        model.vola[static_cast<size_t>(e)] = 0;
        model.volb[static_cast<size_t>(e)] = 0;
        model.voldbh[static_cast<size_t>(e)] = 1;
    }
    for (int e = 0; e < 3; ++e) {
        const CustomEquation& equation = input.equations[static_cast<size_t>(e)];
        if (equation.name == " ") {
            continue;
        }
        model.setVolumeName(e, equation.name);
        model.voldbh[static_cast<size_t>(e)] = equation.minDbhClass;
        model.vola[static_cast<size_t>(e)] = equation.a;
        model.volb[static_cast<size_t>(e)] = equation.b;
    }
}

} // namespace

void WriteInput1(GrowthModel& model, const Input1& input) {
    model.setTitle(input.title);
    model.nyears = input.nyears;
    model.qexist = input.qexist ? 1 : 0;
    const bool fromTreeList = input.qexist && input.qlist;
    if (!fromTreeList) {
        model.site = input.site;
    }
    if (input.qexist) {
        model.qlist = input.qlist ? 1 : 0;
        if (!input.qlist) {
            model.ts = input.ts;
            model.exage = static_cast<float>(input.exage);
            model.age = static_cast<int32_t>(static_cast<double>(model.exage) + 0.1);
            if (input.exage >= 8) {
                model.qtba = 0;
                if (input.tba != 0) {
                    model.qtba = 1;
                    model.tba = input.tba;
                }
            }
        }
    } else {
        model.tp = input.tp;
        model.ps = static_cast<float>(input.psPercent / 100.0);
    }
    if (!fromTreeList) {
        if (!input.qexist || input.exage < 8) {
            model.qdrain = input.qdrain ? 1 : 0;
        }
        if (input.hdwdPercent == -1.0f) {
            model.qhdwd = 0;
        } else {
            model.qhdwd = 1;
            model.hdwdpercnt = static_cast<float>(input.hdwdPercent / 100.0);
        }
    }
    model.pcrit = input.pcrit;
    model.target = input.target;
    writeVolumeUnits(model, input);
}

bool StartRun(GrowthModel& model) {
    if (!(model.qexist != 0 && model.qlist != 0)) {
        if (!model.InitStand()) {
            return false;
        }
    }
    model.age = std::max(model.age, numerics::wholeYears(model.exage));
    return true;
}

} // namespace grovex
