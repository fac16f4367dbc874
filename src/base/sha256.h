#pragma once
// SHA-256 (FIPS 180-4) of bytes in memory or of a file, as 64 lower-case hexadecimal digits. A batch run
// records the digest of every file it read, and decides from them whether earlier results still apply.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace grovex {

class Sha256 {
public:
    Sha256();

    // Adds bytes to the message; the message may be fed in pieces of any size.
    void update(std::span<const uint8_t> bytes);
    void update(std::string_view text);

    // The digest of everything added so far. The object may go on taking bytes afterwards.
    std::array<uint8_t, 32> digest() const;
    std::string hexDigest() const;

private:
    void compressBlock(const uint8_t* block);

    std::array<uint32_t, 8> state_;
    std::array<uint8_t, 64> buffer_{};
    size_t buffered_ = 0;
    uint64_t length_ = 0; // bytes added
};

// The digest of a file, read in pieces of 1 MiB. On failure answers nothing and `error` says
// "Unable to open <path>: <reason>." or "Unable to read <path>: <reason>.".
std::optional<std::string> sha256OfFile(const std::string& path, std::string& error);

} // namespace grovex
