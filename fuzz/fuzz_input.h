#pragma once
// Splits a fuzzer's input into a few small choices taken from its front and the bytes that remain.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace grovex::fuzz {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : bytes_(data, size) {}

    // A number from 0 to `count` - 1 made of the next byte; 0 once the input is used up.
    int pick(int count) {
        if (bytes_.empty() || count <= 0) {
            return 0;
        }
        const int value = bytes_.front() % count;
        bytes_ = bytes_.subspan(1);
        return value;
    }

    std::span<const uint8_t> rest() const { return bytes_; }
    std::string_view restAsText() const { return {reinterpret_cast<const char*>(bytes_.data()), bytes_.size()}; }

private:
    std::span<const uint8_t> bytes_;
};

} // namespace grovex::fuzz
