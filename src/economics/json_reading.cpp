#include "economics/json_reading.h"

#include <cmath>

namespace grovex::economics::jsonread {

void refuse(const std::string& key, const std::string& why) {
    throw Refusal{key + ": " + why};
}

std::string join(const std::string& parent, const std::string& key) {
    return parent.empty() ? key : parent + "." + key;
}

void onlyKnownKeys(const json& object, const std::string& where, std::initializer_list<std::string_view> known) {
    for (const auto& [key, value] : object.items()) {
        bool found = false;
        for (std::string_view name : known) {
            found = found || key == name;
        }
        if (!found) {
            std::string list;
            for (std::string_view name : known) {
                list += (list.empty() ? "" : ", ") + std::string(name);
            }
            refuse(join(where, key), "not a key of this file (the keys here are " + list + ")");
        }
    }
}

const json& member(const json& object, const std::string& where, const char* key) {
    if (!object.contains(key)) {
        refuse(join(where, key), "missing");
    }
    return object.at(key);
}

double number(const json& value, const std::string& key) {
    if (!value.is_number()) {
        refuse(key, "must be a number");
    }
    const double x = value.get<double>();
    if (!std::isfinite(x)) {
        refuse(key, "must be a finite number");
    }
    return x;
}

namespace {

// nlohmann's message without its "[json.exception.parse_error.101] " tag.
std::string withoutTag(const json::exception& e) {
    std::string what = e.what();
    const size_t tagEnd = what.find("] ");
    return tagEnd == std::string::npos ? what : what.substr(tagEnd + 2);
}

} // namespace

std::optional<std::string> parseJson(const std::string& text, const std::function<void(const json&)>& build) {
    try {
        build(json::parse(text));
        return std::nullopt;
    } catch (const json::parse_error& e) {
        return "not a JSON file: " + withoutTag(e);
    } catch (const json::exception& e) {
        return "cannot be read: " + withoutTag(e);
    } catch (const Refusal& r) {
        return r.text;
    }
}

} // namespace grovex::economics::jsonread
