#pragma once
// Reading the economics' JSON files (prices, search spaces) key by key: a value that is refused throws its key
// and the reason, which the file's reader catches once at the top. Only the files' readers include this.

#include <nlohmann/json.hpp>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace grovex::economics::jsonread {

using nlohmann::json;

// A refusal of one key: thrown while a file is read, caught once at the top.
struct Refusal {
    std::string text;
};

[[noreturn]] void refuse(const std::string& key, const std::string& why);

// "costs.thinning": a key below its parent ("" at the top level).
std::string join(const std::string& parent, const std::string& key);

// Refuses every key of `object` outside `known`, naming the keys that are known there.
void onlyKnownKeys(const json& object, const std::string& where, std::initializer_list<std::string_view> known);

// The value of a key that must be there.
const json& member(const json& object, const std::string& where, const char* key);

// A finite number.
double number(const json& value, const std::string& key);

// Parses `text` and hands the document to `build`, which reads it key by key. Returns why the file was refused:
// a refusal `build` threw, or what the parser found (bad syntax, a number beyond the range of a double).
std::optional<std::string> parseJson(const std::string& text, const std::function<void(const json&)>& build);

} // namespace grovex::economics::jsonread
