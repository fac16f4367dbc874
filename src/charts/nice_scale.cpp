#include "charts/nice_scale.h"

#include "base/c_format.h"

#include <algorithm>
#include <cmath>

namespace grovex::charts {

std::vector<double> AxisScale::ticks() const {
    std::vector<double> result;
    const auto count = static_cast<int>(std::lround((high - low) / step));
    for (int i = 0; i <= count; ++i) {
        result.push_back(low + i * step);
    }
    return result;
}

int AxisScale::decimals() const {
    return step >= 1 ? 0 : std::min(6, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

std::string AxisScale::label(double value) const {
    const double shown = std::abs(value) < step * 1e-9 ? 0.0 : value; // no "-0"
    return cformat("%.*f", decimals(), shown);
}

double niceNumber(double value, bool round) {
    const double exponent = std::floor(std::log10(value));
    const double power = std::pow(10.0, exponent);
    const double fraction = value / power;
    double nice = 10;
    if (round) {
        nice = fraction < 1.5 ? 1 : fraction < 3 ? 2 : fraction < 7 ? 5 : 10;
    } else {
        nice = fraction <= 1 ? 1 : fraction <= 2 ? 2 : fraction <= 5 ? 5 : 10;
    }
    return nice * power;
}

AxisScale niceScale(double low, double high, int maxTicks, double minStep) {
    if (high < low) {
        std::swap(low, high);
    }
    if (high - low <= std::abs(high) * 1e-9) {
        const double half = low == 0 ? 1 : std::abs(low) * 0.1;
        low -= half;
        high += half;
    }
    const double range = niceNumber(high - low, false);
    AxisScale scale;
    scale.step = std::max(minStep, niceNumber(range / std::max(1, maxTicks - 1), true));
    scale.low = std::floor(low / scale.step + 1e-9) * scale.step;
    scale.high = std::ceil(high / scale.step - 1e-9) * scale.step;
    return scale;
}

} // namespace grovex::charts
