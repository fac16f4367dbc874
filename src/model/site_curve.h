#pragma once
// Stand-level relations shared by initialization and growth.

#include "model/numerics.h"

#include <cmath>

namespace grovex {

// The site index curve S(x, y) = exp(ln(site) (25 / x)^-0.0525 exp(-2.4007 y)): the dominant height at
// age x, where y is 1/x - 0.04 on the plain curve and carries the thinning response otherwise.
inline float SiteHeight(float site, double x, double y) {
    using namespace numerics;
    return f32(std::exp(std::log(static_cast<double>(site)) * std::pow(25.0 / x, -0.0525_f) * std::exp(-2.4007_f * y)));
}

// Live crown ratio of a tree at age A: (1 - thinRatio^e exp((-0.4673 - 49.7133/A) dbh/ht - 0.5177 ht/hd))^1.9718,
// given thinTerm = thinRatio^e.
inline float CrownRatio(double thinTerm, double A, float dbh, float ht, float hd) {
    using namespace numerics;
    const double x = (-0.4673_f - 49.7133_f / A) * dbh / ht - 0.5177_f * ht / hd;
    return f32(std::pow(1.0 - thinTerm * std::exp(x), 1.9718_f));
}

// thinRatio^e with e = 0.0703 (175.2992 t - t^2) / A^2, t the years since thinning.
inline double CrownThinTerm(float thinRatio, int t, double A) {
    using namespace numerics;
    const float e = f32(0.0703_f * (175.2992_f * t - static_cast<double>(t) * t) / (A * A));
    return std::pow(static_cast<double>(thinRatio), static_cast<double>(e));
}

// Total height of a tree of diameter d from the stand's height-diameter relation at age A.
inline float TreeHeight(double hdPower, double slope, double A, float d, float dmax) {
    using namespace numerics;
    return f32(1.4504_f * hdPower * std::pow(10.0, slope * (1.0 / d - 1.0 / static_cast<double>(dmax)) - 0.4413_f / A));
}

// The slope of that relation: 2.8095 log10(ts) / A - 1.3504.
inline double HeightSlope(float ts, double A) {
    using namespace numerics;
    return 2.8095_f * std::log10(static_cast<double>(ts)) / A - 1.3504_f;
}

} // namespace grovex
