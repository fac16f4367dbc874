#include "control/macro_text.h"

#include "base/file_io.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

namespace grovex {
namespace {

bool isKeyword(std::string_view word) {
    return word == "int" || word == "real" || word == "text" || word == "index";
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether the key reads back the same when written without quotes.
bool plainKey(std::string_view key) {
    if (key.empty() || key.front() == ' ' || key.back() == ' ' || key.front() == '#' ||
        key.find("  ") != std::string_view::npos) {
        return false;
    }
    for (char c : key) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x21 || u > 0x7E) && c != ' ') {
            return false;
        }
        if (c == '"' || c == '\\') {
            return false;
        }
    }
    size_t start = 0;
    while (start <= key.size()) {
        const size_t end = std::min(key.find(' ', start), key.size());
        if (isKeyword(key.substr(start, end - start))) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u > 0x7E) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

bool sameBits(float a, float b) {
    return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

std::optional<float> parseDecimal(std::string_view t) {
    float value = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), value);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size()) {
        return std::nullopt;
    }
    return value;
}

// Nine significant digits, or the bits when that would not read back the same value (NaN).
std::string realText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 9);
    std::string decimal(buffer, result.ptr);
    const std::optional<float> back = parseDecimal(decimal);
    if (back && sameBits(*back, value)) {
        return decimal;
    }
    std::snprintf(buffer, sizeof buffer, "0x%08X", std::bit_cast<uint32_t>(value));
    return buffer;
}

// ---- reading ----

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits a line into plain words and quoted texts; false with a reason on a broken quote or escape.
bool tokenize(std::string_view line, std::vector<Token>& tokens, std::string& reason) {
    size_t i = 0;
    while (true) {
        while (i < line.size() && isBlank(line[i])) {
            ++i;
        }
        if (i >= line.size()) {
            return true;
        }
        Token token;
        if (line[i] == '"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c != '\\') {
                    token.text += c;
                    continue;
                }
                if (i >= line.size()) {
                    break;
                }
                const char e = line[i++];
                if (e == '"' || e == '\\') {
                    token.text += e;
                } else if (e == 'x' && i + 2 <= line.size()) {
                    unsigned value = 0;
                    const auto r = std::from_chars(line.data() + i, line.data() + i + 2, value, 16);
                    if (r.ec != std::errc() || r.ptr != line.data() + i + 2) {
                        reason = "a \\x escape needs two hex digits";
                        return false;
                    }
                    token.text += static_cast<char>(value);
                    i += 2;
                } else {
                    reason = "unknown escape in a quoted text";
                    return false;
                }
            }
            if (!closed) {
                reason = "a quoted text is not closed";
                return false;
            }
            if (i < line.size() && !isBlank(line[i])) {
                reason = "a quoted text must be followed by a blank";
                return false;
            }
        } else {
            while (i < line.size() && !isBlank(line[i])) {
                token.text += line[i++];
            }
        }
        tokens.push_back(std::move(token));
    }
}

std::optional<int32_t> parseInteger(const Token& token) {
    if (token.quoted) {
        return std::nullopt;
    }
    int32_t value = 0;
    const char* end = token.text.data() + token.text.size();
    const auto r = std::from_chars(token.text.data(), end, value);
    if (r.ec != std::errc() || r.ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<float> parseReal(const Token& token) {
    if (token.quoted || token.text.empty()) {
        return std::nullopt;
    }
    const std::string& t = token.text;
    if (t.size() == 10 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        uint32_t bits = 0;
        const auto r = std::from_chars(t.data() + 2, t.data() + t.size(), bits, 16);
        if (r.ec != std::errc() || r.ptr != t.data() + t.size()) {
            return std::nullopt;
        }
        return std::bit_cast<float>(bits);
    }
    return parseDecimal(t);
}

bool parseLine(std::string_view line, MacroEntry& entry, std::string& reason) {
    std::vector<Token> tokens;
    if (!tokenize(line, tokens, reason)) {
        return false;
    }
    size_t next = 0;
    if (tokens[0].quoted) {
        entry.key = tokens[0].text;
        next = 1;
    } else {
        std::string key;
        while (next < tokens.size() && !tokens[next].quoted && !isKeyword(tokens[next].text)) {
            key += (key.empty() ? "" : " ") + tokens[next].text;
            ++next;
        }
        if (key.empty()) {
            reason = "the line has no key";
            return false;
        }
        entry.key = key;
    }
    entry.text.clear();
    entry.integer = kMacroNoInteger;
    entry.real = kMacroNoReal;
    entry.index = -1;
    bool anyValue = false;
    int order = 0; // fields come in the order int, real, text, index
    while (next < tokens.size()) {
        const Token& word = tokens[next];
        if (word.quoted || next + 1 >= tokens.size()) {
            reason = word.quoted ? "a quoted text where a field name belongs" : "\"" + word.text + "\" needs a value";
            return false;
        }
        const Token& value = tokens[next + 1];
        const int position = word.text == "int" ? 1 : word.text == "real" ? 2 : word.text == "text" ? 3 : 4;
        if (!isKeyword(word.text) || position <= order) {
            reason = "unexpected \"" + word.text + "\" (fields come once each, in the order int, real, text, index)";
            return false;
        }
        order = position;
        if (position == 1 || position == 4) {
            const std::optional<int32_t> n = parseInteger(value);
            if (!n) {
                reason = "\"" + value.text + "\" is not a whole number";
                return false;
            }
            (position == 1 ? entry.integer : entry.index) = *n;
        } else if (position == 2) {
            const std::optional<float> r = parseReal(value);
            if (!r) {
                reason = "\"" + value.text + "\" is not a real number";
                return false;
            }
            entry.real = *r;
        } else {
            if (!value.quoted) {
                reason = "a text value must be in double quotes";
                return false;
            }
            entry.text = value.text;
        }
        anyValue = anyValue || position != 4;
        next += 2;
    }
    if (!anyValue) {
        entry.integer = -1;
    }
    if (entry.key.size() > kMacroMaxKeyLength) {
        reason = "the key is longer than " + std::to_string(kMacroMaxKeyLength) + " characters";
        return false;
    }
    const size_t textLimit = entry.key == "volnam" ? kMacroMaxVolumeNameLength : kMacroMaxTextLength;
    if (entry.text.size() > textLimit) {
        reason = "the text is longer than " + std::to_string(textLimit) + " characters";
        return false;
    }
    return true;
}

} // namespace

std::string macroEntryLine(const MacroEntry& entry) {
    std::string line = plainKey(entry.key) ? entry.key : quoted(entry.key);
    const bool hasInteger = entry.integer != kMacroNoInteger;
    const bool hasReal = !sameBits(entry.real, kMacroNoReal);
    const bool hasText = !entry.text.empty();
    if (hasInteger && entry.integer == -1 && !hasReal && !hasText) {
        // A marker: the integer -1 is what a line without values means.
    } else if (!hasInteger && !hasReal && !hasText) {
        line += " int " + std::to_string(entry.integer);
    } else {
        if (hasInteger) {
            line += " int " + std::to_string(entry.integer);
        }
        if (hasReal) {
            line += " real " + realText(entry.real);
        }
        if (hasText) {
            line += " text " + quoted(entry.text);
        }
    }
    if (entry.index != -1) {
        line += " index " + std::to_string(entry.index);
    }
    return line;
}

std::string macroText(std::span<const MacroEntry> entries) {
    std::string text;
    for (const MacroEntry& entry : entries) {
        text += macroEntryLine(entry);
        text += '\n';
    }
    return text;
}

bool parseMacroText(std::string_view text, std::vector<MacroEntry>& entries, std::string& error) {
    std::vector<MacroEntry> parsed;
    size_t start = 0;
    int lineNumber = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#') {
            continue;
        }
        MacroEntry entry;
        std::string reason;
        if (!parseLine(line, entry, reason)) {
            error = "line " + std::to_string(lineNumber) + ": " + reason;
            return false;
        }
        if (parsed.size() >= static_cast<size_t>(MacroStore::kCapacity)) {
            error = "line " + std::to_string(lineNumber) + ": a macro holds at most " +
                    std::to_string(MacroStore::kCapacity) + " entries";
            return false;
        }
        parsed.push_back(std::move(entry));
    }
    entries = std::move(parsed);
    return true;
}

namespace {

// The file name ends in ".gmc" (a name that is only ".gmc" has no extension).
bool hasMacroExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    return dot != std::string::npos && dot > nameStart && path.compare(dot, std::string::npos, kMacroExtension) == 0;
}

} // namespace

bool readMacroEntries(const std::string& path, std::vector<MacroEntry>& entries, std::string& error) {
    // A file of another name may be as large as the larger of the two forms, the text form.
    static_assert(kLargestMacroTextFile > kLargestMacroFile);
    const bool binaryName = hasMacroExtension(path);
    const FileContent content = readFile(path, binaryName ? kMacroFileCap : kMacroTextFileCap);
    if (!content.ok()) {
        error = macroOpenFailure(path, content.reason);
        return false;
    }
    if (parseMacroFile(content.bytes, entries)) {
        return true;
    }
    if (binaryName) {
        error = macroOpenFailure(path);
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size());
    std::string textError;
    if (!parseMacroText(text, entries, textError)) {
        error = path + ": " + textError;
        return false;
    }
    return true;
}

} // namespace grovex
