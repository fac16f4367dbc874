#pragma once
// Axis scales with round tick steps (1, 2 or 5 times a power of ten) and their tick labels.

#include <string>
#include <vector>

namespace grovex::charts {

struct AxisScale {
    double low = 0;
    double high = 1;
    double step = 1;

    // The ticks from low to high, both included.
    std::vector<double> ticks() const;
    // The digits after the decimal point that tell the ticks apart.
    int decimals() const;
    std::string label(double value) const;
    // Where a value falls between low (0) and high (1).
    double fraction(double value) const { return (value - low) / (high - low); }
};

// The round number nearest to `value` (rounded) or the smallest not below it, among 1, 2, 5 and 10 times a
// power of ten.
double niceNumber(double value, bool round);

// A scale that covers low to high with at most about `maxTicks` ticks, starting and ending on a tick. An
// empty range is widened around its value; values that are not finite are left out by the caller. The step
// is at least `minStep`.
AxisScale niceScale(double low, double high, int maxTicks, double minStep = 0);

} // namespace grovex::charts
