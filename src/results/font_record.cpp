#include "results/font_record.h"

#include <algorithm>
#include <cstring>

namespace grovex {
namespace {

// Offsets of the record's fields.
enum : size_t {
    kCharSet = 0,
    kClipPrecision = 1,
    kEscapement = 2,
    kHeight = 6,
    kItalic = 10,
    kOrientation = 11,
    kOutPrecision = 15,
    kPitchAndFamily = 16,
    kQuality = 17,
    kStrikeOut = 18,
    kUnderline = 19,
    kWeight = 20,
    kWidth = 24,
    kFaceName = 28,
};
constexpr size_t kFaceNameSize = kFontRecordSize - kFaceName;
static_assert(kFaceNameSize == sizeof(LogFont::faceName));

void putInt32(FontRecord& record, size_t offset, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (size_t i = 0; i < 4; ++i) {
        record[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
    }
}

int32_t getInt32(std::span<const uint8_t> bytes, size_t offset) {
    uint32_t bits = 0;
    for (size_t i = 0; i < 4; ++i) {
        bits |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
    }
    return static_cast<int32_t>(bits);
}

} // namespace

FontRecord encodeFontRecord(const LogFont& font) {
    FontRecord record{};
    record[kCharSet] = font.charSet;
    record[kClipPrecision] = font.clipPrecision;
    putInt32(record, kEscapement, font.escapement);
    putInt32(record, kHeight, font.height);
    record[kItalic] = font.italic;
    putInt32(record, kOrientation, font.orientation);
    record[kOutPrecision] = font.outPrecision;
    record[kPitchAndFamily] = font.pitchAndFamily;
    record[kQuality] = font.quality;
    record[kStrikeOut] = font.strikeOut;
    record[kUnderline] = font.underline;
    putInt32(record, kWeight, font.weight);
    putInt32(record, kWidth, font.width);
    const size_t nameLength = strnlen(font.faceName, kFaceNameSize - 1);
    std::copy_n(font.faceName, nameLength, record.begin() + kFaceName);
    return record;
}

std::optional<LogFont> decodeFontRecord(std::span<const uint8_t> bytes) {
    if (bytes.size() < kFontRecordSize) {
        return std::nullopt;
    }
    LogFont font;
    font.charSet = bytes[kCharSet];
    font.clipPrecision = bytes[kClipPrecision];
    font.escapement = getInt32(bytes, kEscapement);
    font.height = getInt32(bytes, kHeight);
    font.italic = bytes[kItalic];
    font.orientation = getInt32(bytes, kOrientation);
    font.outPrecision = bytes[kOutPrecision];
    font.pitchAndFamily = bytes[kPitchAndFamily];
    font.quality = bytes[kQuality];
    font.strikeOut = bytes[kStrikeOut];
    font.underline = bytes[kUnderline];
    font.weight = getInt32(bytes, kWeight);
    font.width = getInt32(bytes, kWidth);
    const auto name = bytes.subspan(kFaceName, kFaceNameSize - 1);
    const auto nameEnd = std::find(name.begin(), name.end(), uint8_t{0});
    std::memset(font.faceName, 0, kFaceNameSize);
    std::copy(name.begin(), nameEnd, font.faceName);
    return font;
}

std::optional<LogFont> readFontRecord(const std::string& path) {
    const FileContent content = readFile(path, kFontRecordFileCap);
    if (!content.ok()) {
        return std::nullopt;
    }
    return decodeFontRecord(content.bytes);
}

IoStatus writeFontRecord(const std::string& path, const LogFont& font, FileSystem& fileSystem) {
    const FontRecord record = encodeFontRecord(font);
    return writeFileAtomically(path, record, fileSystem);
}

FontRecordSaver& FontRecordSaver::forThisRun() {
    static FontRecordSaver saver;
    return saver;
}

bool FontRecordSaver::save(const std::string& path, const LogFont& font, Ui& ui, FileSystem& fileSystem) {
    const IoStatus status = writeFontRecord(path, font, fileSystem);
    if (!status && !failureReported_) {
        failureReported_ = true;
        ui.message(status.message(), Buttons::Ok, Icon::Warning);
    }
    return static_cast<bool>(status);
}

} // namespace grovex
