#pragma once
// Conventions of the model's arithmetic.
//
// A constant written with up to seven significant digits is a single-precision constant: `1.4504_f` is
// the float nearest 1.4504, widened to double so that the equation around it is evaluated in double.
// `f32` rounds the result of an equation to float, as storing it into the state does.

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

} // namespace grovex::numerics
