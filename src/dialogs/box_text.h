#pragma once
// How the input pages read their boxes: atoi/atof of the text, rounded into the page's 32-bit members.

#include "base/c_format.h"

#include <cfloat>
#include <cstdint>
#include <limits>
#include <string_view>

namespace grovex::boxtext {

// A real box as the page stores it: atof, rounded to single precision (overflowing to an infinity).
inline float real(std::string_view text) {
    const double value = cAtof(text);
    if (value > FLT_MAX) {
        return std::numeric_limits<float>::infinity();
    }
    if (value < -FLT_MAX) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

inline int32_t integer(std::string_view text) {
    return cAtoi(text);
}

// Ranges include their ends; a NaN is never inside.
inline bool within(float value, float low, float high) {
    return low <= value && value <= high;
}
inline bool within(int32_t value, int32_t low, int32_t high) {
    return low <= value && value <= high;
}

} // namespace grovex::boxtext
