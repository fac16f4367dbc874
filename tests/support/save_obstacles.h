#pragma once
// What stands in the way of a save on a real disk: a folder named like a file, a folder where the file
// should be, a file the user made read-only, a folder nobody may write in. Each sets up the obstacle in a
// scratch folder, names the target to save to, and says which reason the user must be given.

#include "base/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace grovex::fakes {

enum class Obstacle {
    ParentIsAFile,      // ".../plain file/target": Not a directory
    TargetIsADirectory, // Is a directory
    ReadOnlyTarget,     // an existing file without write permission: Permission denied
    UnwritableFolder,   // an existing file in a folder nobody may write in (see lockFolder)
};

inline const char* obstacleName(Obstacle obstacle) {
    switch (obstacle) {
    case Obstacle::ParentIsAFile:
        return "parent is a file";
    case Obstacle::TargetIsADirectory:
        return "target is a directory";
    case Obstacle::ReadOnlyTarget:
        return "read-only target";
    case Obstacle::UnwritableFolder:
        return "unwritable folder";
    }
    return "";
}

// The obstacles that stand for every user, root included, on any file system. A folder nobody may write in
// needs the immutable attribute to stop root (lockFolder), which not every file system has.
inline constexpr Obstacle kObstacles[] = {Obstacle::ParentIsAFile, Obstacle::TargetIsADirectory,
                                          Obstacle::ReadOnlyTarget};

// Leaves a file readable by all and writable by nobody (mode 0444): on Windows, the read-only attribute.
inline void makeReadOnly(const std::filesystem::path& path) {
    using std::filesystem::perms;
    std::filesystem::permissions(path, perms::owner_read | perms::group_read | perms::others_read);
}

#ifdef _WIN32
// Windows keeps writers out of a folder by its access rules, which these tests do not set up (and Wine does
// not enforce).
inline std::optional<std::string> lockFolder(const std::filesystem::path&) {
    return std::nullopt;
}
inline void unlockFolder(const std::filesystem::path&) {}
inline void unlockTree(const std::filesystem::path&) {}
#else
// Permission bits bind every user but root.
inline bool permissionsBind() {
    return ::geteuid() != 0;
}

// Sets or clears a folder's immutable attribute, which stops root too: nothing can be created, renamed or
// removed in the folder. False where the file system or the process cannot change it.
inline bool setImmutable(const std::filesystem::path& folder, bool immutable) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return false;
    }
    int flags = 0;
    bool changed = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (changed) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        changed = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return changed;
}

// Makes a folder one that nobody may write in and answers the system's words for a write refused there: no
// write permission for anybody, and for root, whom permission bits do not stop, the immutable attribute.
// Nothing when this file system lets root write in any folder.
inline std::optional<std::string> lockFolder(const std::filesystem::path& folder) {
    ::chmod(folder.c_str(), 0555);
    if (permissionsBind()) {
        return "Permission denied";
    }
    if (setImmutable(folder, true)) {
        return "Operation not permitted";
    }
    ::chmod(folder.c_str(), 0755);
    return std::nullopt;
}

inline void unlockFolder(const std::filesystem::path& folder) {
    if (!permissionsBind()) {
        setImmutable(folder, false);
    }
    ::chmod(folder.c_str(), 0755);
}

// Clears the immutable attribute of a folder and of every folder below it, so that they can be removed.
inline void unlockTree(const std::filesystem::path& root) {
    if (permissionsBind()) {
        return;
    }
    std::error_code ignored;
    setImmutable(root, false);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ignored)) {
        if (entry.is_directory(ignored)) {
            setImmutable(entry.path(), false);
        }
    }
}
#endif

inline void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Whatever a test saved, of any kind.
inline constexpr FileCap kAnySavedFile{"saved", 16 * 1024 * 1024};

inline std::vector<uint8_t> bytesOf(const std::filesystem::path& path) {
    return readFile(path.string(), kAnySavedFile).bytes;
}

class ScratchFolder {
public:
    ScratchFolder() : path_(makeScratchFolder("grovex-save").value()) {}
    ~ScratchFolder() {
        std::error_code ignored;
        unlockTree(path_);
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // The names in the folder, to check that a failed save left nothing beside the target.
    std::vector<std::string> entries(const std::filesystem::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

// An obstacle set up in a folder of its own. `previous` is what an existing target holds (kept by every
// failed save); `target` is the path to save to; `reason` the system's words for the failure.
struct ObstacleSetup {
    std::filesystem::path target;
    std::string reason;
    bool hasPrevious = false; // a previous file at `target` that must survive byte for byte

    // Sets up `obstacle` in a folder of its own under `scratch`.
    static ObstacleSetup make(Obstacle obstacle, const std::filesystem::path& scratch, const std::string& fileName,
                              const std::vector<uint8_t>& previous) {
        namespace fs = std::filesystem;
        const fs::path folder = scratch / obstacleName(obstacle);
        fs::create_directories(folder);
        ObstacleSetup setup;
        switch (obstacle) {
        case Obstacle::ParentIsAFile:
            writeBytes(folder / "plain file", previous);
            setup.target = folder / "plain file" / fileName;
            setup.reason = "Not a directory";
            break;
        case Obstacle::TargetIsADirectory:
            setup.target = folder / fileName;
            fs::create_directory(setup.target);
            setup.reason = "Is a directory";
            break;
        case Obstacle::ReadOnlyTarget:
            setup.target = folder / fileName;
            writeBytes(setup.target, previous);
            makeReadOnly(setup.target);
            setup.reason = "Permission denied";
            setup.hasPrevious = true;
            break;
        case Obstacle::UnwritableFolder:
            setup.target = folder / fileName;
            writeBytes(setup.target, previous);
            setup.reason = lockFolder(folder).value_or(""); // empty: root may write in any folder here
            setup.hasPrevious = true;
            break;
        }
        return setup;
    }

    std::string message() const { return "Unable to save " + target.string() + ": " + reason + "."; }
};

} // namespace grovex::fakes
