#include "app/recent_files.h"

#include "app/app_directory.h"
#include "base/path_text.h"
#include "base/platform/settings.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace grovex {
namespace {

constexpr std::string_view kSection = "Recent File List";
constexpr size_t kMaxMenuPath = 40;

std::string keyOf(int index) {
    return "File" + std::to_string(index + 1);
}

} // namespace

bool samePath(const std::string& a, const std::string& b) {
    if (a == b) {
        return true;
    }
    std::error_code error;
    return std::filesystem::equivalent(pathOf(a), pathOf(b), error) && !error;
}

void RecentFileList::add(const std::string& path) {
    remove(path);
    files_.insert(files_.begin(), path);
    if (files_.size() > kCapacity) {
        files_.resize(kCapacity);
    }
}

void RecentFileList::remove(const std::string& path) {
    std::erase_if(files_, [&path](const std::string& file) { return samePath(file, path); });
}

void RecentFileList::load(const Settings& settings) {
    files_.clear();
    for (int i = 0; i < kCapacity; ++i) {
        const std::string file = settings.stringOr(kSection, keyOf(i), "");
        if (!file.empty()) {
            files_.push_back(file);
        }
    }
}

void RecentFileList::save(Settings& settings) const {
    for (int i = 0; i < kCapacity; ++i) {
        settings.writeString(kSection, keyOf(i), i < static_cast<int>(files_.size()) ? files_[i] : "");
    }
}

std::string RecentFileList::menuText(int index, const std::string& currentDirectory) const {
    std::string path = files_.at(index);
    const std::string directory = withTrailingSeparator(currentDirectory);
    if (path.size() > directory.size() && startsWithPath(path, directory) &&
        path.find_first_of("/\\", directory.size()) == std::string::npos) {
        path.erase(0, directory.size());
    } else if (path.size() > kMaxMenuPath) {
        // Keep the start of the path and its file name, drop the folders in between.
        const size_t nameStart = path.find_last_of("/\\");
        const std::string name = nameStart == std::string::npos ? path : path.substr(nameStart);
        const size_t keep = name.size() + 4 < kMaxMenuPath ? kMaxMenuPath - name.size() - 4 : 3;
        path = path.substr(0, keep) + "..." + name;
    }
    // A single "&" in a file name would turn into an access key.
    std::string escaped;
    for (const char c : path) {
        escaped += c;
        if (c == '&') {
            escaped += '&';
        }
    }
    return "&" + std::to_string(index + 1) + " " + escaped;
}

} // namespace grovex
