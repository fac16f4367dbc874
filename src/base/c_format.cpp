#include "c_format.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

#if defined(_WIN32)
#include <locale.h>
#else
#include <locale.h>
#if defined(__APPLE__)
#include <xlocale.h>
#endif
#endif

namespace grovex {
namespace {

#if defined(_WIN32)
_locale_t classicLocale() {
    static _locale_t locale = _create_locale(LC_ALL, "C");
    return locale;
}
#else
locale_t classicLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Switches the calling thread to the "C" locale for the lifetime of the object.
class ClassicLocaleScope {
public:
    ClassicLocaleScope() : previous_(uselocale(classicLocale())) {}
    ~ClassicLocaleScope() { uselocale(previous_); }
    ClassicLocaleScope(const ClassicLocaleScope&) = delete;
    ClassicLocaleScope& operator=(const ClassicLocaleScope&) = delete;

private:
    locale_t previous_;
};
#endif

int formatInto(char* buffer, size_t size, const char* format, va_list args) {
#if defined(_WIN32)
    return _vsnprintf_l(buffer, size, format, classicLocale(), args);
#else
    ClassicLocaleScope scope;
    return vsnprintf(buffer, size, format, args);
#endif
}

// isspace in the "C" locale, whatever locale the process runs in.
bool isCSpace(char ch) {
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

} // namespace

std::string cformat(const char* format, ...) {
    char small[256];
    va_list args;
    va_start(args, format);
    va_list retry;
    va_copy(retry, args);
    int length = formatInto(small, sizeof small, format, args);
    va_end(args);
    std::string result;
    if (length < 0) {
        va_end(retry);
        return result;
    }
    if (static_cast<size_t>(length) < sizeof small) {
        result.assign(small, static_cast<size_t>(length));
    } else {
        std::vector<char> large(static_cast<size_t>(length) + 1);
        formatInto(large.data(), large.size(), format, retry);
        result.assign(large.data(), static_cast<size_t>(length));
    }
    va_end(retry);
    return result;
}

int cAtoi(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && isCSpace(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

double cAtof(std::string_view text) {
    std::string copy(text); // strtod needs a terminated string
#if defined(_WIN32)
    return _strtod_l(copy.c_str(), nullptr, classicLocale());
#else
    ClassicLocaleScope scope;
    return std::strtod(copy.c_str(), nullptr);
#endif
}

bool isAllDigits(std::string_view text) {
    for (char ch : text) {
        if (ch < '0' || ch > '9') {
            return false;
        }
    }
    return true;
}

std::string cRealText(double value) {
    if (!std::isfinite(value)) {
        return cformat("%g", value);
    }
    for (int digits = 6; digits < 9; ++digits) {
        std::string text = cformat("%.*g", digits, value);
        if (static_cast<float>(cAtof(text)) == static_cast<float>(value)) {
            return text;
        }
    }
    return cformat("%.9g", value);
}

} // namespace grovex
