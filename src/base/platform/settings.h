#pragma once
// The user's settings, by section and key (the program's profile in the registry or its equivalent).

#include "base/file_io.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace grovex {

class Settings {
public:
    virtual ~Settings() = default;

    // Nothing when the value was never written.
    virtual std::optional<std::string> readString(std::string_view section, std::string_view key) const = 0;
    virtual void writeString(std::string_view section, std::string_view key, std::string_view value) = 0;
    virtual std::optional<int> readInt(std::string_view section, std::string_view key) const = 0;
    virtual void writeInt(std::string_view section, std::string_view key, int value) = 0;
    virtual std::optional<std::vector<uint8_t>> readBytes(std::string_view section, std::string_view key) const = 0;
    virtual void writeBytes(std::string_view section, std::string_view key, const std::vector<uint8_t>& value) = 0;

    // Writes what was changed to the store, when the store does not do so at once. A failure says "Unable to
    // save the settings to <store>: <reason>."
    virtual IoStatus flush() { return IoStatus::success(); }

    std::string stringOr(std::string_view section, std::string_view key, std::string_view fallback) const {
        return readString(section, key).value_or(std::string(fallback));
    }
    int intOr(std::string_view section, std::string_view key, int fallback) const {
        return readInt(section, key).value_or(fallback);
    }
};

} // namespace grovex
