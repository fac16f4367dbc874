#pragma once
// Conventions of the model's arithmetic.
//
// A constant written with up to seven significant digits is a single-precision constant: `1.4504_f` is
// the float nearest 1.4504, widened to double so that the equation around it is evaluated in double.
// `f32` rounds the result of an equation to float, as storing it into the state does.

#include <cmath>

namespace grovex::numerics {

constexpr double operator""_f(long double value) {
    return static_cast<double>(static_cast<float>(value));
}

constexpr float f32(double value) {
    return static_cast<float>(value);
}

// A frequency below 0.01 trees per acre counts as no trees in growth, statistics and tables.
constexpr float countedTrees(float frequency) {
    return frequency < 0.01f ? 0.0f : frequency;
}

// The integer DBH class of a diameter: a DBH of exactly k + 0.5 falls in class k; the smallest class is 1.
// Diameters from outside data may be absurd (NaN, huge); they land in the smallest or a very large class.
inline int dbhClass(float dbh) {
    const double shifted = static_cast<double>(dbh) + 0.4999999_f;
    if (!(shifted >= 1.0)) {
        return 1;
    }
    return shifted < 1.0e9 ? static_cast<int>(shifted) : 1000000000;
}

// The whole years of an age held as a real, cut toward zero as a conversion to int does; an age outside
// the int range (or NaN, taken as 0) is brought to the nearest end first, where the conversion would be
// undefined.
inline int wholeYears(double years) {
    if (std::isnan(years)) {
        return 0;
    }
    constexpr double kLowest = -2147483648.0;
    constexpr double kHighest = 2147483647.0;
    return static_cast<int>(years < kLowest ? kLowest : years > kHighest ? kHighest : years);
}

} // namespace grovex::numerics
