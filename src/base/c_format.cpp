#include "c_format.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>
#include <vector>
#if defined(__APPLE__)
#include <xlocale.h>
#endif

namespace grovex {
namespace {

#if defined(__MINGW32__)
// MinGW's own printf and strtod: the C99 conversions, rounded as the C libraries of POSIX systems round
// (the Windows C library rounds 0.25 to "0.3" with %.1f and writes exponents with three digits), so that
// every output is the same byte for byte. They take the decimal point from the C locale, which a Windows
// program keeps at "C" unless it sets another; then the calling thread switches to "C" for the call.
class ClassicLocaleScope {
public:
    ClassicLocaleScope() : switched_(std::strcmp(localeconv()->decimal_point, ".") != 0) {
        if (switched_) {
            previousMode_ = _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
            previous_ = setlocale(LC_NUMERIC, nullptr);
            setlocale(LC_NUMERIC, "C");
        }
    }
    ~ClassicLocaleScope() {
        if (switched_) {
            setlocale(LC_NUMERIC, previous_.c_str());
            _configthreadlocale(previousMode_);
        }
    }
    ClassicLocaleScope(const ClassicLocaleScope&) = delete;
    ClassicLocaleScope& operator=(const ClassicLocaleScope&) = delete;

private:
    const bool switched_;
    int previousMode_ = 0;
    std::string previous_;
};

int formatInto(char* buffer, size_t size, const char* format, va_list args) {
    ClassicLocaleScope scope;
    return __mingw_vsnprintf(buffer, size, format, args);
}

double parseReal(const char* text) {
    ClassicLocaleScope scope;
    return __mingw_strtod(text, nullptr);
}
#elif defined(_WIN32)
_locale_t classicLocale() {
    static _locale_t locale = _create_locale(LC_ALL, "C");
    return locale;
}

// Where the output does not fit, _vsnprintf answers -1 instead of the length it needs.
int formatInto(char* buffer, size_t size, const char* format, va_list args) {
    va_list counting;
    va_copy(counting, args);
    const int written = _vsnprintf_l(buffer, size, format, classicLocale(), args);
    const int length = written >= 0 ? written : _vscprintf_l(format, classicLocale(), counting);
    va_end(counting);
    return length;
}

double parseReal(const char* text) {
    return _strtod_l(text, nullptr, classicLocale());
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

int formatInto(char* buffer, size_t size, const char* format, va_list args) {
    ClassicLocaleScope scope;
    return vsnprintf(buffer, size, format, args);
}

double parseReal(const char* text) {
    ClassicLocaleScope scope;
    return std::strtod(text, nullptr);
}
#endif

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
    const std::string copy(text); // strtod needs a terminated string
    return parseReal(copy.c_str());
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
