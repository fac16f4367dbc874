#include "app/app_directory.h"

#include "base/platform/settings.h"

#include <algorithm>

namespace grovex {
namespace {

constexpr std::string_view kSection = "Directories";

} // namespace

std::string withTrailingSeparator(std::string path) {
    if (path.empty() || (path.back() != kPathSeparator && path.back() != '/')) {
        path += kPathSeparator;
    }
    return path;
}

bool startsWithPath(const std::string& path, const std::string& start) {
    if (path.size() < start.size()) {
        return false;
    }
#ifdef _WIN32
    const auto isSeparator = [](char c) { return c == '/' || c == '\\'; };
    return std::equal(start.begin(), start.end(), path.begin(),
                      [&](char a, char b) { return a == b || (isSeparator(a) && isSeparator(b)); });
#else
    return path.compare(0, start.size(), start) == 0;
#endif
}

std::string applicationDirectory(bool commandLineEmpty, Settings& settings, const std::string& currentDirectory,
                                 const std::string& fallback) {
    if (!commandLineEmpty) {
        return settings.stringOr(kSection, "Application", fallback);
    }
    std::string directory = withTrailingSeparator(currentDirectory);
    settings.writeString(kSection, "Application", directory);
    return directory;
}

std::string defaultApplicationDirectory([[maybe_unused]] const std::string& homeDirectory) {
#ifdef _WIN32
    return "c:\\";
#else
    return withTrailingSeparator(homeDirectory);
#endif
}

void rememberCurrentDirectory(Settings& settings, const std::string& currentDirectory) {
    settings.writeString(kSection, "LastCurDir", currentDirectory);
}

std::optional<std::string> lastCurrentDirectory(const Settings& settings) {
    std::optional<std::string> directory = settings.readString(kSection, "LastCurDir");
    if (directory && directory->empty()) {
        return std::nullopt;
    }
    return directory;
}

} // namespace grovex
