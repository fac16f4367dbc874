#include "base/sha256.h"

#include "base/file_io.h"
#include "base/file_io_native.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <vector>

namespace grovex {
namespace {

constexpr std::array<uint32_t, 64> kRoundConstants{
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::array<uint32_t, 8> kInitialState{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                                0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr size_t kFileChunk = 1024 * 1024;

inline uint32_t rotateRight(uint32_t value, int bits) {
    return (value >> bits) | (value << (32 - bits));
}

} // namespace

Sha256::Sha256() : state_(kInitialState) {}

void Sha256::compressBlock(const uint8_t* block) {
    std::array<uint32_t, 64> w{};
    for (int i = 0; i < 16; ++i) {
        w[i] = (uint32_t{block[4 * i]} << 24) | (uint32_t{block[4 * i + 1]} << 16) | (uint32_t{block[4 * i + 2]} << 8) |
               uint32_t{block[4 * i + 3]};
    }
    for (int i = 16; i < 64; ++i) {
        const uint32_t s0 = rotateRight(w[i - 15], 7) ^ rotateRight(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const uint32_t s1 = rotateRight(w[i - 2], 17) ^ rotateRight(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    uint32_t e = state_[4], f = state_[5], g = state_[6], h = state_[7];
    for (int i = 0; i < 64; ++i) {
        const uint32_t s1 = rotateRight(e, 6) ^ rotateRight(e, 11) ^ rotateRight(e, 25);
        const uint32_t choose = (e & f) ^ (~e & g);
        const uint32_t t1 = h + s1 + choose + kRoundConstants[i] + w[i];
        const uint32_t s0 = rotateRight(a, 2) ^ rotateRight(a, 13) ^ rotateRight(a, 22);
        const uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
        const uint32_t t2 = s0 + majority;
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
    state_[4] += e;
    state_[5] += f;
    state_[6] += g;
    state_[7] += h;
}

void Sha256::update(std::span<const uint8_t> bytes) {
    length_ += bytes.size();
    size_t at = 0;
    if (buffered_ > 0) {
        const size_t take = std::min(bytes.size(), buffer_.size() - buffered_);
        std::copy_n(bytes.data(), take, buffer_.data() + buffered_);
        buffered_ += take;
        at = take;
        if (buffered_ < buffer_.size()) {
            return;
        }
        compressBlock(buffer_.data());
        buffered_ = 0;
    }
    for (; bytes.size() - at >= 64; at += 64) {
        compressBlock(bytes.data() + at);
    }
    std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end(), buffer_.begin());
    buffered_ = bytes.size() - at;
}

void Sha256::update(std::string_view text) {
    update(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::array<uint8_t, 32> Sha256::digest() const {
    Sha256 tail = *this; // the padding finishes a copy, so this object can go on
    const uint64_t bitLength = length_ * 8;
    std::array<uint8_t, 72> padding{};
    padding[0] = 0x80;
    const size_t padLength = (tail.buffered_ < 56 ? 56 : 120) - tail.buffered_;
    tail.update(std::span<const uint8_t>(padding.data(), padLength));
    std::array<uint8_t, 8> lengthBytes{};
    for (int i = 0; i < 8; ++i) {
        lengthBytes[i] = static_cast<uint8_t>(bitLength >> (56 - 8 * i));
    }
    tail.update(lengthBytes);
    std::array<uint8_t, 32> out{};
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 4; ++j) {
            out[4 * i + j] = static_cast<uint8_t>(tail.state_[i] >> (24 - 8 * j));
        }
    }
    return out;
}

std::string Sha256::hexDigest() const {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(64);
    for (const uint8_t byte : digest()) {
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0xf]);
    }
    return hex;
}

std::optional<std::string> sha256OfFile(const std::string& path, std::string& error) {
    std::string reason;
    const int fd = openRegularFile(path, reason);
    if (fd < 0) {
        error = openFailureMessage(path, reason);
        return std::nullopt;
    }
    Sha256 hash;
    std::vector<uint8_t> chunk(kFileChunk);
    for (;;) {
        const ssize_t n = native::read(fd, chunk.data(), chunk.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = "Unable to read " + path + ": " + std::generic_category().message(errno) + ".";
            native::close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        hash.update(std::span<const uint8_t>(chunk.data(), static_cast<size_t>(n)));
    }
    native::close(fd);
    return hash.hexDigest();
}

} // namespace grovex
