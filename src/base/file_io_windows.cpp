#include "base/file_io_native.h"

#include "base/path_text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <io.h>
#include <optional>
#include <random>
#include <sys/stat.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace grovex {
namespace {

// The UTF-16 form of a UTF-8 path, which is what Windows takes; nothing, with errno EINVAL, for text that is
// not UTF-8.
std::optional<std::wstring> widePath(const char* path) {
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (length <= 0) {
        errno = EINVAL;
        return std::nullopt;
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide.data(), length);
    wide.pop_back(); // the terminating zero, which the string keeps anyway
    return wide;
}

// The errno value of a Windows error code, for the reasons the user is given.
int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_PARAMETER:
        return EINVAL;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    default:
        return EIO;
    }
}

int failWithLastError() {
    errno = errnoOf(::GetLastError());
    return -1;
}

// Windows finds no file below a plain file where POSIX systems say "Not a directory"; the user is told the
// latter, which names the fault in the path. Answers the errno value for a path that was not found.
int missingPathError(const std::wstring& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    while (!folder.empty()) {
        const DWORD attributes = ::GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ENOENT : ENOTDIR;
        }
        const std::filesystem::path parent = folder.parent_path();
        if (parent == folder) {
            break;
        }
        folder = parent;
    }
    return ENOENT;
}

// A file name as the system gives it back ("\\?\C:\folder\file", "\\?\UNC\server\share\file"), in the form
// every program takes.
std::wstring withoutLongPathPrefix(std::wstring path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        return L"\\\\" + path.substr(8);
    }
    if (path.rfind(L"\\\\?\\", 0) == 0) {
        return path.substr(4);
    }
    return path;
}

// The path of the file an open handle refers to, after every link.
std::optional<std::wstring> finalPath(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return std::nullopt;
        }
        if (length < path.size()) {
            path.resize(length);
            return withoutLongPathPrefix(std::move(path));
        }
        path.resize(length); // too small: the length asked for counts the terminating zero
    }
}

} // namespace

// Descriptors carry bytes as they are (_O_BINARY: no line-end translation) and are not inherited by child
// processes (_O_NOINHERIT), as O_CLOEXEC keeps them on POSIX systems.
int FileSystem::open(const char* path, int flags, mode_t mode) {
    const std::optional<std::wstring> wide = widePath(path);
    if (!wide) {
        return -1;
    }
    const int fd = ::_wopen(wide->c_str(), flags | _O_BINARY | _O_NOINHERIT, mode);
    if (fd < 0 && errno == ENOENT) {
        errno = missingPathError(*wide);
    }
    return fd;
}
ssize_t FileSystem::write(int fd, const void* data, size_t size) {
    return ::_write(fd, data, static_cast<unsigned>(std::min<size_t>(size, INT_MAX)));
}
// FlushFileBuffers: the file's data and size are on the disk.
int FileSystem::fsync(int fd) {
    return ::_commit(fd);
}
int FileSystem::close(int fd) {
    return ::_close(fd);
}
// Replaces the target in one step, as rename() does on POSIX systems (Windows' own rename() refuses a target
// that exists), and returns only once the new name is on the disk.
int FileSystem::rename(const char* from, const char* to) {
    const std::optional<std::wstring> wideFrom = widePath(from);
    const std::optional<std::wstring> wideTo = widePath(to);
    if (!wideFrom || !wideTo) {
        return -1;
    }
    if (!::MoveFileExW(wideFrom->c_str(), wideTo->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return failWithLastError();
    }
    return 0;
}
int FileSystem::unlink(const char* path) {
    const std::optional<std::wstring> wide = widePath(path);
    return wide ? ::_wunlink(wide->c_str()) : -1;
}

namespace native {

const int kCreateNewFile = _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT;
// Windows keeps one permission: a file created without _S_IWRITE would be read-only.
const mode_t kNewFileMode = _S_IREAD | _S_IWRITE;

// A symbolic link is a reparse point; the system resolves it when the file is opened.
std::string replacedFile(const std::string& path) {
    const std::optional<std::wstring> wide = widePath(path.c_str());
    if (!wide) {
        return path;
    }
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    const HANDLE handle = ::CreateFileW(wide->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return path; // a dangling link: the save replaces the link itself
    }
    const std::optional<std::wstring> target = finalPath(handle);
    ::CloseHandle(handle);
    return target ? textOf(std::filesystem::path(*target)) : path;
}

// The read-only attribute is what a user sets to keep a file as it is (the folder's access rules stop the
// save at the open or the rename, with their own reason).
int replacementRefused(const std::string& target) {
    const std::optional<std::wstring> wide = widePath(target.c_str());
    if (!wide) {
        return 0;
    }
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return 0; // a new file, or a path the open will report on
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return EISDIR;
    }
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? EACCES : 0;
}

int openRegularFile(const std::string& path, std::string& reason) {
    const std::optional<std::wstring> wide = widePath(path.c_str());
    if (!wide) {
        reason = reasonText(errno);
        return -1;
    }
    // Windows refuses to open a folder as a file with "access denied"; the user is told what it is.
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        reason = "it is a directory";
        return -1;
    }
    // Shared for deleting too: as on POSIX systems, a file being read can still be replaced by a save.
    const HANDLE handle =
        ::CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = reasonText(errnoOf(::GetLastError()));
        return -1;
    }
    // A device or a pipe (NUL, CON, \\.\pipe\...) is not read; the type that counts is the one opened.
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        reason = "it is not a regular file";
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        reason = reasonText(errno);
        ::CloseHandle(handle);
        return -1;
    }
    return fd;
}

int64_t fileSize(int fd) {
    return ::_filelengthi64(fd);
}

ssize_t read(int fd, void* data, size_t size) {
    return ::_read(fd, data, static_cast<unsigned>(std::min<size_t>(size, INT_MAX)));
}

void close(int fd) {
    ::_close(fd);
}

// A new file takes the access rules of its folder, as the file it replaces did unless someone changed them
// by hand; the one permission bit, read-only, is refused before (replacementRefused).
void keepPermissions(int, const std::string&) {}

// MoveFileExW with MOVEFILE_WRITE_THROUGH already returned only once the rename was on the disk, and a
// folder cannot be flushed through a C library descriptor.
void syncDirectory(const std::string&, FileSystem&) {}

// Windows' access() looks at the read-only attribute only, which folders do not heed; so a file is made
// there and dropped again.
bool isWritableFolder(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const std::optional<std::wstring> wide = widePath(path.c_str());
    if (!wide) {
        return false;
    }
    const std::wstring name =
        L".grovex-probe-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
    const HANDLE probe = ::CreateFileW((std::filesystem::path(*wide) / name).c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::CloseHandle(probe);
    return true;
}

// The temporary folder is the user's own (below the profile), and a folder made there inherits its access
// rules.
std::optional<std::string> makeScratchFolder(const std::string& prefix) {
    constexpr int kAttempts = 100;
    std::error_code error;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (error) {
        return std::nullopt;
    }
    std::random_device random;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::filesystem::path folder = temp / pathOf(prefix + "-" + std::to_string(random()));
        if (::CreateDirectoryW(folder.c_str(), nullptr)) {
            return textOf(folder);
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

unsigned long processId() {
    return ::GetCurrentProcessId();
}

} // namespace native
} // namespace grovex
