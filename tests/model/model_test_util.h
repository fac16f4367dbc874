#pragma once
// Small builders shared by the model tests: hand-made registers and the default plantation.

#include "model/growth_model.h"

#include <cmath>

namespace grovex::modeltest {

// A reset model with an empty register, ready for slots written by hand.
inline GrowthModel emptyRegister() {
    GrowthModel m;
    m.ResetModel();
    m.nrec = 0;
    return m;
}

// Writes one tree record by hand and extends nrec to cover it.
inline void setTree(GrowthModel& m, int slot, float dbh, float freq, float ht = 40.0f, float crownRatio = 0.4f) {
    m.dbh[slot] = dbh;
    m.freq[slot] = freq;
    m.ht[slot] = ht;
    m.crownRatio[slot] = crownRatio;
    if (m.nrec < slot) {
        m.nrec = slot;
    }
}

// Bare land planted with the reset inputs (site 60, 800 trees, 90 % survival), initialized and with its
// first statistics: the stand at age 8 where every projection of such a plantation starts.
inline GrowthModel plantedStand(float site = 60.0f) {
    GrowthModel m;
    m.site = site;
    m.InitStand();
    m.StandStats();
    return m;
}

// One projection year after another without target tests, as the projection loop grows the stand.
inline void growTo(GrowthModel& m, int age) {
    while (m.age < age) {
        m.StandStats();
        m.GrowOneYear();
        ++m.age;
    }
    m.StandStats();
}

// The dominant height of the site index curve at an age, written out from its equation.
inline double siteCurve(double site, double age) {
    return std::exp(std::log(site) * std::pow(25.0 / age, -0.0525) * std::exp(-2.4007 * (1.0 / age - 0.04)));
}

} // namespace grovex::modeltest
