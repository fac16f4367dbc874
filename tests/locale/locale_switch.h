#pragma once
// Switches the whole process to a locale for a test: the C library's (printf, strtod, ...) and the global
// C++ locale (streams created afterwards), and back to what they were.

#include <clocale>
#include <locale>
#include <stdexcept>
#include <string>

namespace grovex {

namespace localetest {

// A locale that writes 12.5 as "12,5": Windows has it built in; scripts/ensure-test-locale.sh generates it
// elsewhere.
#ifdef _WIN32
inline constexpr const char* kCommaLocale = "German_Germany.1252";
inline constexpr const char* kMissingReason = "the C library does not know the locale German_Germany.1252";
#else
inline constexpr const char* kCommaLocale = "de_DE.UTF-8";
inline constexpr const char* kMissingReason =
    "the decimal-comma locale de_DE.UTF-8 is not installed (scripts/ensure-test-locale.sh generates it as root)";
#endif

} // namespace localetest

class ProcessLocale {
public:
    explicit ProcessLocale(const char* name) : previousC_(std::setlocale(LC_ALL, nullptr)) {
        if (std::setlocale(LC_ALL, name) == nullptr) {
            return;
        }
#ifndef __MINGW32__ // MinGW's C++ library knows the "C" locale only: its streams always write a point
        try {
            std::locale::global(std::locale(name));
        } catch (const std::runtime_error&) {
            std::setlocale(LC_ALL, previousC_.c_str());
            return;
        }
#endif
        // The locale must really change how numbers are written, or the test proves nothing.
        const std::string point = std::localeconv()->decimal_point;
        active_ = std::string(name) == "C" || point == ",";
    }
    ~ProcessLocale() {
        std::locale::global(previousCpp_);
        std::setlocale(LC_ALL, previousC_.c_str());
    }
    ProcessLocale(const ProcessLocale&) = delete;
    ProcessLocale& operator=(const ProcessLocale&) = delete;

    bool active() const {
        return active_;
    }

private:
    std::string previousC_;
    std::locale previousCpp_;
    bool active_ = false;
};

} // namespace grovex
