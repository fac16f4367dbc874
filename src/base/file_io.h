#pragma once
// Whole-file reads of bounded size, and saves that never destroy the previous version of a file: the bytes
// go to a temporary file beside the target, are flushed to the disk, and only then replace the target.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <sys/types.h>
#include <vector>

namespace grovex {

// Success, or the sentence that tells the user what failed and why.
class IoStatus {
public:
    static IoStatus success() { return IoStatus(); }
    static IoStatus failure(std::string message) {
        IoStatus status;
        status.ok_ = false;
        status.message_ = std::move(message);
        return status;
    }

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const std::string& message() const { return message_; }

private:
    bool ok_ = true;
    std::string message_;
};

// The system calls a save makes, so that tests can make any of them fail. Each answers like its POSIX
// namesake: -1 with errno set on failure.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual int open(const char* path, int flags, mode_t mode);
    virtual ssize_t write(int fd, const void* data, size_t size);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
};

// The real system calls.
FileSystem& systemFileSystem();

// The largest file of one kind that its reader takes, worked out by each format from its layout, and the
// kind's name for the reason that refuses a larger file.
struct FileCap {
    const char* kind;   // "document": "it is larger than the largest document file (716684 bytes)"
    size_t largestSize; // bytes; well below SIZE_MAX
};

// The whole content of a file. On failure bytes is empty, `reason` says why (the system's reason, or "it is a
// directory", "it is not a regular file", "it is larger than the largest <kind> file (<N> bytes)") and
// `error` is the sentence "Unable to open <path>: <reason>.".
struct FileContent {
    std::vector<uint8_t> bytes;
    std::string reason;
    std::string error;
    bool ok() const { return error.empty(); }
};

// Reads a regular file of at most cap.largestSize bytes. Anything else is refused without waiting and before
// anything is allocated for it: a directory, a named pipe, a socket or a device, a file larger than the cap,
// and a file that grows past the cap while it is read.
FileContent readFile(const std::string& path, const FileCap& cap);

// Opens a regular file for reading, as readFile does, for a reader that streams it: a descriptor that blocks
// no longer, or -1 with `reason` ("it is a directory", "it is not a regular file", the system's reason).
int openRegularFile(const std::string& path, std::string& reason);

// Writes bytes to a new file in the target's directory, flushes it to the disk and renames it over the
// target (a symbolic link is followed, so the link stays). A target that exists and is not writable (no
// write permission bit, even for root) is refused with "Permission denied" rather than replaced. On any
// failure the temporary file is removed, the target is left as it was, and the message says
// "Unable to save <path>: <reason>."
IoStatus writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                             FileSystem& fileSystem = systemFileSystem());

// Whether this process can make new files in the folder `path` (the state files of a projection go there).
bool isWritableFolder(const std::string& path);

// A new, empty folder in the system's temporary folder, named `prefix` and a unique ending, that only this
// user can read: its path (without a trailing separator), or nothing when none can be made.
std::optional<std::string> makeScratchFolder(const std::string& prefix);

// The sentence for a failed save, with the system's description of errno value `error`.
std::string saveFailureMessage(const std::string& path, int error);
// The sentence for a failed open: "Unable to open <path>: <reason>.".
std::string openFailureMessage(const std::string& path, const std::string& reason);

} // namespace grovex
