#pragma once
// In-memory settings: values by section and key, as a test writes them or reads what the code wrote.

#include "base/platform/settings.h"

#include <map>
#include <utility>

namespace grovex::fakes {

class FakeSettings : public Settings {
public:
    std::optional<std::string> readString(std::string_view section, std::string_view key) const override {
        return find(strings, section, key);
    }
    void writeString(std::string_view section, std::string_view key, std::string_view value) override {
        strings[{std::string(section), std::string(key)}] = std::string(value);
    }
    std::optional<int> readInt(std::string_view section, std::string_view key) const override {
        return find(ints, section, key);
    }
    void writeInt(std::string_view section, std::string_view key, int value) override {
        ints[{std::string(section), std::string(key)}] = value;
    }
    std::optional<std::vector<uint8_t>> readBytes(std::string_view section, std::string_view key) const override {
        return find(bytes, section, key);
    }
    void writeBytes(std::string_view section, std::string_view key, const std::vector<uint8_t>& value) override {
        bytes[{std::string(section), std::string(key)}] = value;
    }

    template <typename T> using Store = std::map<std::pair<std::string, std::string>, T>;
    Store<std::string> strings;
    Store<int> ints;
    Store<std::vector<uint8_t>> bytes;

private:
    template <typename T>
    static std::optional<T> find(const Store<T>& store, std::string_view section, std::string_view key) {
        const auto it = store.find({std::string(section), std::string(key)});
        return it == store.end() ? std::nullopt : std::optional<T>(it->second);
    }
};

} // namespace grovex::fakes
