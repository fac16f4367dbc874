#pragma once
// The font record "def_Font.bin": the screen font of the results view as 60 little-endian bytes in the
// application directory, read when a view starts and written on every font size change.

#include "base/file_io.h"
#include "base/platform/canvas.h"
#include "base/platform/ui.h"

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

// The record file holds the record and nothing more.
inline constexpr FileCap kFontRecordFileCap{"font record", kFontRecordSize};

// Nothing when the file is missing, short, longer than a record or unreadable.
std::optional<LogFont> readFontRecord(const std::string& path);
// Replaces the file without ever leaving a short record behind: on failure the previous record is kept.
IoStatus writeFontRecord(const std::string& path, const LogFont& font, FileSystem& fileSystem = systemFileSystem());

// Saves the record at every font change, but tells the user about a failure only once, the first time: a
// failing folder would otherwise bring a message at every step of the font size.
class FontRecordSaver {
public:
    // The one saver of the application's run.
    static FontRecordSaver& forThisRun();

    // Writes the record; the first failure is shown through `ui` ("Unable to save <path>: <reason>.").
    // Answers whether the record was written.
    bool save(const std::string& path, const LogFont& font, Ui& ui, FileSystem& fileSystem = systemFileSystem());
    bool failureReported() const { return failureReported_; }

private:
    bool failureReported_ = false;
};

} // namespace grovex
