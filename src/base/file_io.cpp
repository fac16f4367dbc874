#include "base/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace grovex {
namespace {

constexpr mode_t kNewFileMode = 0666; // narrowed by the user's umask
constexpr int kTemporaryNameAttempts = 100;
constexpr size_t kReadChunk = 64 * 1024;

std::string reasonText(int error) {
    return std::generic_category().message(error);
}

// The file a save really replaces: the end of a chain of symbolic links, or the path itself.
std::string replacedFile(const std::string& path) {
    struct stat linkStatus {};
    if (::lstat(path.c_str(), &linkStatus) != 0 || !S_ISLNK(linkStatus.st_mode)) {
        return path;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path; // a dangling link: the save replaces the link itself
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

// Why a file of this type is not read.
std::string notRegularReason(mode_t mode) {
    return S_ISDIR(mode) ? "it is a directory" : "it is not a regular file";
}

// Closes the descriptor it holds when it goes.
struct Descriptor {
    explicit Descriptor(int opened) : fd(opened) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    const int fd;
};

std::filesystem::path directoryOf(const std::filesystem::path& file) {
    const std::filesystem::path parent = file.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

// Makes the rename itself durable. A directory that cannot be synced (some file systems refuse) is no
// reason to call the save failed: the data are already on the disk. The flush goes through the file system
// of the save, so a save that skips flushing skips this one too.
void syncDirectory(const std::filesystem::path& directory, FileSystem& fileSystem) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fileSystem.fsync(fd);
        ::close(fd);
    }
}

// A rename replaces a file whatever its permissions, but a file the user made read-only must not be
// replaced behind their back. The mode bits are checked as well as access(), which grants root everything.
// Answers the errno value of a refusal, or 0.
int replacementRefused(const std::filesystem::path& target) {
    struct stat status {};
    if (::stat(target.c_str(), &status) != 0) {
        return 0; // a new file, or a path the open will report on
    }
    if (S_ISDIR(status.st_mode)) {
        return EISDIR;
    }
    if (!S_ISREG(status.st_mode)) {
        return 0;
    }
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return EACCES;
    }
    if (::access(target.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS)) {
        return errno;
    }
    return 0;
}

} // namespace

int FileSystem::open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
ssize_t FileSystem::write(int fd, const void* data, size_t size) {
    return ::write(fd, data, size);
}
int FileSystem::fsync(int fd) {
    return ::fsync(fd);
}
int FileSystem::close(int fd) {
    return ::close(fd);
}
int FileSystem::rename(const char* from, const char* to) {
    return ::rename(from, to);
}
int FileSystem::unlink(const char* path) {
    return ::unlink(path);
}

FileSystem& systemFileSystem() {
    static FileSystem system;
    return system;
}

std::string saveFailureMessage(const std::string& path, int error) {
    return "Unable to save " + path + ": " + reasonText(error) + ".";
}

std::string openFailureMessage(const std::string& path, const std::string& reason) {
    return "Unable to open " + path + ": " + reason + ".";
}

int openRegularFile(const std::string& path, std::string& reason) {
    // A path that names a special file is not even opened: opening some devices does something by itself.
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        reason = notRegularReason(status.st_mode);
        return -1;
    }
    // Something else may take the file's place before the open. Without O_NONBLOCK, a named pipe would wait
    // there for a writer; the type that counts is the one of the file opened.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        reason = reasonText(errno);
        return -1;
    }
    int flags = 0;
    if (::fstat(fd, &status) != 0 || (flags = ::fcntl(fd, F_GETFL)) < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        reason = reasonText(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(status.st_mode)) {
        reason = notRegularReason(status.st_mode);
        ::close(fd);
        return -1;
    }
    return fd;
}

FileContent readFile(const std::string& path, const FileCap& cap) {
    const auto refused = [&path](std::string reason) {
        FileContent content;
        content.error = openFailureMessage(path, reason);
        content.reason = std::move(reason);
        return content;
    };
    const std::string tooLarge = "it is larger than the largest " + std::string(cap.kind) + " file (" +
                                 std::to_string(cap.largestSize) + " bytes)";

    std::string reason;
    const Descriptor file(openRegularFile(path, reason));
    if (file.fd < 0) {
        return refused(reason);
    }
    struct stat status {};
    if (::fstat(file.fd, &status) != 0) {
        return refused(reasonText(errno));
    }
    if (static_cast<uintmax_t>(status.st_size) > cap.largestSize) {
        return refused(tooLarge);
    }

    FileContent content;
    content.bytes.reserve(static_cast<size_t>(status.st_size));
    // Up to one byte past the cap, which tells a file that grew while it was read (or that reports no size,
    // as the system's own files do) from one that fits.
    uint8_t chunk[kReadChunk];
    for (;;) {
        const size_t room = cap.largestSize - content.bytes.size() + 1;
        const ssize_t n = ::read(file.fd, chunk, std::min(sizeof chunk, room));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return refused(reasonText(errno));
        }
        if (n == 0) {
            return content;
        }
        if (static_cast<size_t>(n) == room) {
            return refused(tooLarge);
        }
        content.bytes.insert(content.bytes.end(), chunk, chunk + n);
    }
}

IoStatus writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes, FileSystem& fileSystem) {
    const std::filesystem::path target(replacedFile(path));
    const std::filesystem::path directory = directoryOf(target);
    static std::atomic<unsigned> counter{0};

    if (const int error = replacementRefused(target); error != 0) {
        return IoStatus::failure(saveFailureMessage(path, error));
    }

    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < kTemporaryNameAttempts && fd < 0; ++attempt) {
        temporary = directory / ("." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                                 std::to_string(counter++) + ".tmp");
        fd = fileSystem.open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd < 0 && errno != EEXIST) {
            return IoStatus::failure(saveFailureMessage(path, errno));
        }
    }
    if (fd < 0) {
        return IoStatus::failure(saveFailureMessage(path, EEXIST));
    }

    const auto abandon = [&](int error) {
        if (fd >= 0) {
            fileSystem.close(fd);
        }
        fileSystem.unlink(temporary.c_str());
        return IoStatus::failure(saveFailureMessage(path, error));
    };

    // The new version keeps the permissions of the one it replaces.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(fd, old.st_mode & 07777);
    }

    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = fileSystem.write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return abandon(errno);
        }
        if (n == 0) {
            return abandon(ENOSPC);
        }
        written += static_cast<size_t>(n);
    }
    if (fileSystem.fsync(fd) != 0) {
        return abandon(errno);
    }
    const int closed = fileSystem.close(fd);
    fd = -1;
    if (closed != 0) {
        return abandon(errno);
    }
    if (fileSystem.rename(temporary.c_str(), target.c_str()) != 0) {
        return abandon(errno);
    }
    syncDirectory(directory, fileSystem);
    return IoStatus::success();
}

} // namespace grovex
