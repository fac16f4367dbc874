#pragma once
// printf-style formatting and atoi/atof-style parsing that never depend on the user's locale:
// every number the program shows, copies or stores uses a decimal point.

#include <string>
#include <string_view>

namespace grovex {

#if defined(__MINGW32__)
// MinGW's own printf conversions (see c_format.cpp), not those of the Windows C library.
#define GROVEX_PRINTF_FORMAT(fmtIndex, argIndex) __attribute__((format(gnu_printf, fmtIndex, argIndex)))
#elif defined(__GNUC__)
#define GROVEX_PRINTF_FORMAT(fmtIndex, argIndex) __attribute__((format(printf, fmtIndex, argIndex)))
#else
#define GROVEX_PRINTF_FORMAT(fmtIndex, argIndex)
#endif

// Formats like snprintf in the "C" locale.
std::string cformat(const char* format, ...) GROVEX_PRINTF_FORMAT(1, 2);

// Parses like atoi: leading blanks, an optional sign, then as many digits as follow; 0 when nothing parses.
// Values beyond the int range are clamped.
int cAtoi(std::string_view text);

// Parses like atof in the "C" locale: the longest leading prefix that is a number; 0 when nothing parses.
double cAtof(std::string_view text);

// A real as "%g" writes it, with as many more digits as it needs to read back as the same single-precision
// value ("25", "0.899999976").
std::string cRealText(double value);

// True when every character is a decimal digit 0 to 9 (an empty text passes, as the input pages expect).
bool isAllDigits(std::string_view text);

} // namespace grovex
