#include "base/archive.h"

#include <bit>

namespace grovex {
namespace {

constexpr uint8_t kLongTextByte = 0xFF;
constexpr uint16_t kUnicodeMarker = 0xFFFE;
constexpr uint16_t kLongerTextWord = 0xFFFF;
constexpr uint32_t kWiderLengthMarker = 0xFFFFFFFF;

} // namespace

void ArchiveWriter::putUint8(uint8_t value) {
    bytes_.push_back(value);
}

void ArchiveWriter::putUint16(uint16_t value) {
    bytes_.push_back(static_cast<uint8_t>(value));
    bytes_.push_back(static_cast<uint8_t>(value >> 8));
}

void ArchiveWriter::putUint32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes_.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void ArchiveWriter::putInt32(int32_t value) {
    putUint32(static_cast<uint32_t>(value));
}

void ArchiveWriter::putFloat32(float value) {
    putUint32(std::bit_cast<uint32_t>(value));
}

void ArchiveWriter::putText(std::string_view text) {
    const size_t length = text.size();
    if (length < kLongTextByte) {
        putUint8(static_cast<uint8_t>(length));
    } else if (length < kUnicodeMarker) {
        putUint8(kLongTextByte);
        putUint16(static_cast<uint16_t>(length));
    } else {
        // Texts of 4 GiB or more cannot be written; nothing in the program comes near that.
        putUint8(kLongTextByte);
        putUint16(kLongerTextWord);
        putUint32(static_cast<uint32_t>(length));
    }
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

bool ArchiveReader::fail(ArchiveError error) {
    if (error_ == ArchiveError::None) {
        error_ = error;
    }
    return false;
}

bool ArchiveReader::take(size_t count, const uint8_t*& start) {
    if (!ok()) {
        return false;
    }
    if (count > remaining()) {
        return fail(ArchiveError::EndOfData);
    }
    start = bytes_.data() + position_;
    position_ += count;
    return true;
}

bool ArchiveReader::readUint8(uint8_t& value) {
    const uint8_t* p = nullptr;
    if (!take(1, p)) {
        return false;
    }
    value = p[0];
    return true;
}

bool ArchiveReader::readUint16(uint16_t& value) {
    const uint8_t* p = nullptr;
    if (!take(2, p)) {
        return false;
    }
    value = static_cast<uint16_t>(p[0] | (p[1] << 8));
    return true;
}

bool ArchiveReader::readUint32(uint32_t& value) {
    const uint8_t* p = nullptr;
    if (!take(4, p)) {
        return false;
    }
    value = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
            (static_cast<uint32_t>(p[3]) << 24);
    return true;
}

bool ArchiveReader::readInt32(int32_t& value) {
    uint32_t bits = 0;
    if (!readUint32(bits)) {
        return false;
    }
    value = static_cast<int32_t>(bits);
    return true;
}

bool ArchiveReader::readFloat32(float& value) {
    uint32_t bits = 0;
    if (!readUint32(bits)) {
        return false;
    }
    value = std::bit_cast<float>(bits);
    return true;
}

bool ArchiveReader::readText(std::string& text, size_t maxLength) {
    // The prefix is read from a copy of the position so that a refused text consumes nothing.
    const size_t start = position_;
    uint8_t shortLength = 0;
    if (!readUint8(shortLength)) {
        return false;
    }
    size_t length = shortLength;
    if (shortLength == kLongTextByte) {
        uint16_t word = 0;
        if (!readUint16(word)) {
            position_ = start;
            return false;
        }
        length = word;
        if (word == kUnicodeMarker) {
            position_ = start;
            return fail(ArchiveError::BadLength);
        }
        if (word == kLongerTextWord) {
            uint32_t dword = 0;
            if (!readUint32(dword)) {
                position_ = start;
                return false;
            }
            if (dword == kWiderLengthMarker) {
                position_ = start;
                return fail(ArchiveError::BadLength);
            }
            length = dword;
        }
    }
    if (length > maxLength) {
        position_ = start;
        return fail(ArchiveError::TextTooLong);
    }
    const uint8_t* p = nullptr;
    if (!take(length, p)) {
        position_ = start;
        return false;
    }
    if (length == 0) {
        text.clear();
    } else {
        text.assign(reinterpret_cast<const char*>(p), length);
    }
    return true;
}

} // namespace grovex
