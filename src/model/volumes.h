#pragma once
// Per-tree volume equations of the stock tables and the stand's merchantable cord volume.

#include "model/numerics.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace grovex {

// One coefficient set of the volume equations: total volume and the ratio to a top diameter t,
// outside bark (V, R_ob) and inside bark (W, R_ib).
struct VolumeCoefficients {
    float b1Outside, b0Outside;           // V = b1 D2H + b0
    float cOutside, e1Outside, e2Outside; // R_ob(t) = exp(c t^e1 / DBH^e2)
    float b1Inside, b0Inside;             // W = b1 D2H - b0
    float cInside, e1Inside, e2Inside;    // R_ib(t) = exp(c t^e1 / DBH^e2)
};

// Set T applies to stands low-thinned in this run, set U to all others.
inline constexpr VolumeCoefficients kThinnedCoefficients{0.00239f, 0.25663f, -1.04007f, 5.25569f, 4.99639f,
                                                         0.00203f, 0.13431f, -1.24933f, 5.22906f, 5.02295f};
inline constexpr VolumeCoefficients kUnthinnedCoefficients{0.00238f, 0.21949f, -0.78579f, 4.9206f,  4.55878f,
                                                           0.00196f, 0.01039f, -0.91505f, 4.93352f, 4.60614f};

inline float TotalVolumeOutside(const VolumeCoefficients& k, float D2H) {
    return numerics::f32(static_cast<double>(k.b1Outside) * D2H + k.b0Outside);
}

inline float TotalVolumeInside(const VolumeCoefficients& k, float D2H) {
    return numerics::f32(static_cast<double>(k.b1Inside) * D2H - k.b0Inside);
}

// exp(c t^e1 / DBH^e2); the argument of the exponential is rounded to float first.
inline float TopRatio(float c, float e1, float e2, float top, float dbh) {
    using numerics::f32;
    const float argument = f32(c * std::pow(static_cast<double>(top), static_cast<double>(e1)) /
                               std::pow(static_cast<double>(dbh), static_cast<double>(e2)));
    return f32(std::exp(static_cast<double>(argument)));
}

inline float RatioOutside(const VolumeCoefficients& k, float top, float dbh) {
    return TopRatio(k.cOutside, k.e1Outside, k.e2Outside, top, dbh);
}

inline float RatioInside(const VolumeCoefficients& k, float top, float dbh) {
    return TopRatio(k.cInside, k.e1Inside, k.e2Inside, top, dbh);
}

// Cubic feet per cord by DBH class; classes above 100 use the value of class 100.
inline int CubicFeetPerCord(int dbhClass) {
    static constexpr std::array<int, 14> kLowClasses{0, 0, 0, 0, 0, 84, 85, 87, 90, 91, 92, 93, 94, 95};
    if (dbhClass < 0) {
        return 0;
    }
    return dbhClass < static_cast<int>(kLowClasses.size()) ? kLowClasses[static_cast<size_t>(dbhClass)] : 95;
}

// Board feet of one tree by log rule (1 International 1/4-inch, 2 Doyle, otherwise Scribner); the stock
// tables count them for trees of D2H 3800 and more.
inline constexpr float kSmallestBoardFootD2H = 3800.0f;
inline float BoardFeet(int rule, float D2H) {
    using namespace numerics;
    const double x = D2H;
    switch (rule) {
    case 1: // International 1/4-inch
        return f32(0.005816_f * std::pow(x, 1.0835_f) - 24.3816_f);
    case 2: // Doyle
        return f32(0.00003386_f * std::pow(x, 1.5651_f) + 3.2492_f);
    default: // Scribner
        return f32(0.01888_f * std::pow(x, 0.9521_f) - 29.7455_f);
    }
}

// Set T for a stand low-thinned in this run, set U otherwise.
inline bool UsesThinnedCoefficients(int32_t qthin, int32_t ithin) {
    return qthin != 0 && ithin > 1;
}

} // namespace grovex
