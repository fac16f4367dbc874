#pragma once
// The little-endian archive encoding shared by the simulation document, the temporary state files and the
// macro file: 4-byte ints, IEEE single reals, and texts with a length prefix and no terminator.
//
// Text length prefix: below 255 one byte; below 0xFFFE the byte 0xFF and two bytes; otherwise 0xFF, the two
// bytes 0xFFFF and four bytes.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace grovex {

// The longest length prefix a reader takes, whatever the text's length: 0xFF, 0xFFFF and four bytes. The
// largest file of a format counts every text with it.
inline constexpr size_t kLongestTextPrefix = 7;

class ArchiveWriter {
public:
    void putUint8(uint8_t value);
    void putUint16(uint16_t value);
    void putUint32(uint32_t value);
    void putInt32(int32_t value);
    void putFloat32(float value); // the value's bits as they are, NaN payloads and the sign of zero included
    void putText(std::string_view text);

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

// Why a read was refused.
enum class ArchiveError {
    None,
    EndOfData,   // the value runs past the end of the bytes
    TextTooLong, // a text is longer than the caller allows
    BadLength,   // a length prefix this encoding does not use for 8-bit texts (0xFF 0xFFFE, 0xFF 0xFFFF 0xFFFFFFFF)
};

// Reads the encoding from bytes it does not own. A read that would pass the end, or a text longer than the
// caller allows, fails, leaves its output unchanged and consumes nothing; from then on every read fails.
class ArchiveReader {
public:
    static constexpr size_t kNoTextLimit = std::numeric_limits<size_t>::max();

    explicit ArchiveReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool readUint8(uint8_t& value);
    bool readUint16(uint16_t& value);
    bool readUint32(uint32_t& value);
    bool readInt32(int32_t& value);
    bool readFloat32(float& value);
    // A text of at most maxLength bytes. Nothing is allocated for a length the remaining bytes cannot hold.
    bool readText(std::string& text, size_t maxLength = kNoTextLimit);

    bool ok() const { return error_ == ArchiveError::None; }
    ArchiveError error() const { return error_; }
    size_t position() const { return position_; }
    size_t remaining() const { return bytes_.size() - position_; }

private:
    bool take(size_t count, const uint8_t*& start);
    bool fail(ArchiveError error);

    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
    ArchiveError error_ = ArchiveError::None;
};

} // namespace grovex
