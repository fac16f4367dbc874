#pragma once
// The standard data exchange of dialog boxes: reading an integer or a real from an edit box, the range checks,
// the messages the user sees when a box is refused, and the text a box shows for a value. Every dialog form
// uses these, so the messages read the same everywhere.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace grovex::ddx {

inline constexpr const char* kNotAnInteger = "Please enter an integer.";
inline constexpr const char* kNotANumber = "Please enter a number.";

// "Please enter an integer between 1 and 299."
std::string integerRangeMessage(int32_t low, int32_t high);
// "Please enter a number between 0.5 and 10." (the bounds as the box would show them).
std::string realRangeMessage(double low, double high);
// "Please enter no more than 30 characters."
std::string maxCharsMessage(int count);

// An integer box: blanks and tabs around an optional sign and decimal digits; nothing else, and within the
// 32-bit range. Nothing when the text is not such an integer (kNotAnInteger applies).
std::optional<int32_t> parseInteger(std::string_view text);
// A real box: blanks and tabs around a decimal number ("12", "-3.5", ".25", "1e3"); the value must be finite
// in single precision. Nothing otherwise (kNotANumber applies). Independent of the user's locale.
std::optional<float> parseReal(std::string_view text);

// The text a box shows for a value: "%d" for integers, the shortest "%.6g" form for reals.
std::string integerText(int32_t value);
std::string realText(float value);

} // namespace grovex::ddx
