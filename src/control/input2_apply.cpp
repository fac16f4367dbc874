#include "control/input2_apply.h"

#include "model/numerics.h"

namespace grovex {

using numerics::f32;

void PrepareInput2(GrowthModel& model) {
    if (model.age > 25) {
        model.pcrit = kCriterionAge;
        model.target = static_cast<float>(model.age);
    }
}

void ClampTreatmentAge(const GrowthModel& model, int32_t& treatmentAge) {
    if (treatmentAge < model.age) {
        treatmentAge = model.age;
    }
    if (treatmentAge > model.nyears) {
        treatmentAge = model.nyears;
    }
}

void ApplyInput2(GrowthModel& model, RunState& run, const Input2Values& values) {
    if (values.qthin) {
        run.bab = model.tba;
        model.qthin = 1;
        model.ithin = values.ithin;
        ClampTreatmentAge(model, model.kt);
        if (values.ithin != 2) {
            model.rcut = f32(1.0 / values.rcut);
        }
        if (values.ithin != 1) {
            model.ilow = values.ilow;
            model.dlow = values.dlow;
            if (values.ilow == 1) {
                model.dhigh = values.dhigh;
            }
        }
        if (values.ilow == 2) {
            model.tlim = values.tlim;
            run.baa = values.tlim;
        }
    } else {
        model.kt = 0;
    }
    model.pcrit = values.pcrit;
    model.target = values.target;
    if (values.percnt == -1.0f) {
        model.qhdwd = 0;
    } else {
        model.qhdwd = 1;
        model.hdwdpercnt = f32(values.percnt / 100.0);
    }
    if (values.qfert) {
        model.qfert = 1;
        ClampTreatmentAge(model, model.kfert);
        model.qphos = values.qphos ? 1 : 0;
        model.lbn = values.lbn;
    } else {
        model.qfert = 0;
    }
    if (model.kt >= model.age) {
        model.Thin();
    }
}

void ApplyNextTarget(GrowthModel& model) {
    model.kt = 0;
}

} // namespace grovex
