#pragma once
// The midrotation-treatment input group as the "Stand Projection" dialog accepts it (percentages and the row
// interval as entered; writing them into the model happens where the treatment command runs).

#include "model/growth_model.h"

#include <cstdint>

namespace grovex {

struct Input2Values {
    bool qthin = false;
    int32_t ithin = 1; // 1 row thinning, 2 low thinning, 3 both (row first)
    int32_t rcut = 5;  // row interval n: every n-th row is removed (the model keeps 1/n)
    int32_t ilow = 2;  // low thinning 1 by diameter limits, 2 down to a residual basal area
    float dlow = 0;    // inches
    float dhigh = 7;   // inches
    float tlim = 70;   // square feet per acre
    float percnt = -1; // percent of basal area in hardwoods; -1 when the box was left empty
    bool qfert = false;
    bool qphos = false;
    int32_t lbn = 200; // pounds of nitrogen per acre
    int32_t pcrit = kCriterionAge;
    float target = 0;

    bool operator==(const Input2Values&) const = default;
};

} // namespace grovex
