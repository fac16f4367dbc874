#pragma once
// Writing the midrotation-treatment inputs into the model and the run state, in the order a recorded
// treatment applies them (a thinning is carried out at once), and the next-target step that replaces them
// when "Project to next target" runs.

#include "model/growth_model.h"
#include "model/input2.h"
#include "results/document.h"

namespace grovex {

// Before the treatment inputs are taken: a stand older than 25 may only be projected to an age, so
// `pcrit` becomes 1 and `target` the current age.
void PrepareInput2(GrowthModel& model);

// `kt` (kt_check) or `kfert` (kfert_check): raised to `age` if below it, then lowered to `nyears` if above.
void ClampTreatmentAge(const GrowthModel& model, int32_t& treatmentAge);

// The accepted "Stand Projection" values: thinning (bab = tba, qthin, ithin, kt_check, rcut = 1/interval,
// ilow, dlow, dhigh, tlim and baa = tlim) or kt = 0; pcrit and target; the hardwood level; fertilization
// (qfert, kfert_check, qphos, lbn) or qfert = 0; finally Thin when `kt` is not below `age`.
void ApplyInput2(GrowthModel& model, RunState& run, const Input2Values& values);

// Next-target mode (and a replayed "next"): no treatment in this step (kt = 0); the projection then runs
// with the criterion and target in force, so a met criterion stops it after the one season of growth.
void ApplyNextTarget(GrowthModel& model);

} // namespace grovex
