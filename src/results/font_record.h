#pragma once
// The font record "def_Font.bin": the screen font of the results view as 60 little-endian bytes in the
// application directory, read when a view starts and written on every font size change.

#include "base/platform/canvas.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace grovex {

inline constexpr const char* kFontRecordName = "def_Font.bin";
inline constexpr size_t kFontRecordSize = 60;

using FontRecord = std::array<uint8_t, kFontRecordSize>;

// Field by field at fixed offsets; the face name is written up to its terminator and zeros after it.
FontRecord encodeFontRecord(const LogFont& font);
// Nothing when fewer than 60 bytes are given. A face name without a terminator is cut to 31 characters.
std::optional<LogFont> decodeFontRecord(std::span<const uint8_t> bytes);

// Nothing when the file is missing, short or unreadable.
std::optional<LogFont> readFontRecord(const std::string& path);
// Answers false when the file cannot be written; callers ignore that.
bool writeFontRecord(const std::string& path, const LogFont& font);

} // namespace grovex
