#pragma once
// Paths are UTF-8 text throughout the program, as the file dialogs, the command line and the settings hand
// them over. A std::filesystem::path made from narrow text, or written back as one, uses the system's code
// page on Windows instead, which mangles every name outside ASCII; these two convert as UTF-8 everywhere.

#include <filesystem>
#include <string>

namespace grovex {

inline std::filesystem::path pathOf(const std::string& text) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
#else
    return std::filesystem::path(text);
#endif
}

inline std::string textOf(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

} // namespace grovex
