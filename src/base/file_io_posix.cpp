#include "base/file_io_native.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace grovex {
namespace {

// Why a file of this type is not read.
std::string notRegularReason(mode_t mode) {
    return S_ISDIR(mode) ? "it is a directory" : "it is not a regular file";
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

namespace native {

const int kCreateNewFile = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
const mode_t kNewFileMode = 0666; // narrowed by the user's umask

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

// A rename replaces a file whatever its permissions, but a file the user made read-only must not be
// replaced behind their back. The mode bits are checked as well as access(), which grants root everything.
int replacementRefused(const std::string& target) {
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

int64_t fileSize(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 ? static_cast<int64_t>(status.st_size) : -1;
}

ssize_t read(int fd, void* data, size_t size) {
    return ::read(fd, data, size);
}

void close(int fd) {
    ::close(fd);
}

// The new version keeps the permissions of the one it replaces.
void keepPermissions(int fd, const std::string& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(fd, old.st_mode & 07777);
    }
}

void syncDirectory(const std::string& directory, FileSystem& fileSystem) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fileSystem.fsync(fd);
        ::close(fd);
    }
}

bool isWritableFolder(const std::string& path) {
    return ::access(path.c_str(), W_OK | X_OK) == 0;
}

std::optional<std::string> makeScratchFolder(const std::string& prefix) {
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / (prefix + "-XXXXXX")).string();
    if (error || ::mkdtemp(pattern.data()) == nullptr) {
        return std::nullopt;
    }
    return pattern;
}

unsigned long processId() {
    return static_cast<unsigned long>(::getpid());
}

} // namespace native
} // namespace grovex
