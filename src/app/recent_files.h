#pragma once
// The recent-file list of the File menu: up to eight documents, the latest first, kept in the settings
// section "Recent File List" as "File1" to "File8".

#include <string>
#include <vector>

namespace grovex {

class Settings;

class RecentFileList {
public:
    static constexpr int kCapacity = 8;

    const std::vector<std::string>& files() const { return files_; }

    // Puts the path first; an entry for the same file moves up instead of appearing twice.
    void add(const std::string& path);
    void remove(const std::string& path);

    void load(const Settings& settings);
    void save(Settings& settings) const;

    // The menu text of entry `index` (0-based): "&1 " and the path, shortened in the middle when it is long;
    // a file in `currentDirectory` shows by its name alone.
    std::string menuText(int index, const std::string& currentDirectory) const;

private:
    std::vector<std::string> files_;
};

// True when the two paths name the same file (same text, or the same file on disk).
bool samePath(const std::string& a, const std::string& b);

} // namespace grovex
