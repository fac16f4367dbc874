#include "base/data_exchange.h"

#include "base/c_format.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace grovex::ddx {
namespace {

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

// The text without the blanks and tabs around it.
std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// from_chars takes no leading plus sign.
std::string_view withoutPlus(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+') {
        text.remove_prefix(1);
    }
    return text;
}

} // namespace

std::string integerRangeMessage(int32_t low, int32_t high) {
    return cformat("Please enter an integer between %d and %d.", low, high);
}

std::string realRangeMessage(double low, double high) {
    return cformat("Please enter a number between %.6g and %.6g.", low, high);
}

std::string maxCharsMessage(int count) {
    return cformat("Please enter no more than %d characters.", count);
}

std::optional<int32_t> parseInteger(std::string_view text) {
    const std::string_view number = withoutPlus(trimmed(text));
    int32_t value = 0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value, 10);
    if (number.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<float> parseReal(std::string_view text) {
    const std::string_view number = withoutPlus(trimmed(text));
    // Only decimal numbers: from_chars would also take "inf" and "nan".
    for (const char ch : number) {
        if (!(ch >= '0' && ch <= '9') && ch != '.' && ch != '-' && ch != '+' && ch != 'e' && ch != 'E') {
            return std::nullopt;
        }
    }
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value, std::chars_format::general);
    if (number.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return static_cast<float>(value);
}

std::string integerText(int32_t value) {
    return cformat("%d", value);
}

std::string realText(float value) {
    return cformat("%.6g", static_cast<double>(value));
}

} // namespace grovex::ddx
