#include "base/file_io.h"

#include "base/file_io_native.h"
#include "base/path_text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace grovex {
namespace {

using native::reasonText;

constexpr int kTemporaryNameAttempts = 100;
constexpr size_t kReadChunk = 64 * 1024;

// Closes the descriptor it holds when it goes.
struct Descriptor {
    explicit Descriptor(int opened) : fd(opened) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd >= 0) {
            native::close(fd);
        }
    }
    const int fd;
};

std::filesystem::path directoryOf(const std::filesystem::path& file) {
    const std::filesystem::path parent = file.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

} // namespace

std::string native::reasonText(int error) {
    return std::generic_category().message(error);
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
    return native::openRegularFile(path, reason);
}

bool isWritableFolder(const std::string& path) {
    return native::isWritableFolder(path);
}

std::optional<std::string> makeScratchFolder(const std::string& prefix) {
    return native::makeScratchFolder(prefix);
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
    const Descriptor file(native::openRegularFile(path, reason));
    if (file.fd < 0) {
        return refused(reason);
    }
    const int64_t size = native::fileSize(file.fd);
    if (size < 0) {
        return refused(reasonText(errno));
    }
    if (static_cast<uintmax_t>(size) > cap.largestSize) {
        return refused(tooLarge);
    }

    FileContent content;
    content.bytes.reserve(static_cast<size_t>(size));
    // Up to one byte past the cap, which tells a file that grew while it was read (or that reports no size,
    // as the system's own files do) from one that fits.
    uint8_t chunk[kReadChunk];
    for (;;) {
        const size_t room = cap.largestSize - content.bytes.size() + 1;
        const ssize_t n = native::read(file.fd, chunk, std::min(sizeof chunk, room));
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
    const std::string target = native::replacedFile(path);
    const std::filesystem::path targetPath = pathOf(target);
    const std::string directory = textOf(directoryOf(targetPath));
    static std::atomic<unsigned> counter{0};

    if (const int error = native::replacementRefused(target); error != 0) {
        return IoStatus::failure(saveFailureMessage(path, error));
    }

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < kTemporaryNameAttempts && fd < 0; ++attempt) {
        const std::string name = "." + textOf(targetPath.filename()) + "." + std::to_string(native::processId()) + "." +
                                 std::to_string(counter++) + ".tmp";
        temporary = textOf(pathOf(directory) / pathOf(name));
        fd = fileSystem.open(temporary.c_str(), native::kCreateNewFile, native::kNewFileMode);
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

    native::keepPermissions(fd, target);

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
    native::syncDirectory(directory, fileSystem);
    return IoStatus::success();
}

} // namespace grovex
