#pragma once
// The operating system's side of the file layer (file_io.cpp, sha256.cpp): one implementation for POSIX systems
// (file_io_posix.cpp) and one for Windows (file_io_windows.cpp), with the same promises. Paths are UTF-8;
// descriptors are the C library's and carry bytes unchanged; a failure sets errno as POSIX does.

#include "base/file_io.h"

#include <cstdint>
#include <optional>
#include <string>

namespace grovex::native {

// The system's description of errno value `error`: "No such file or directory".
std::string reasonText(int error);

// The flags and permission bits with which FileSystem::open creates the temporary file of a save: a new
// file (never one that exists), for writing, not passed on to child processes.
extern const int kCreateNewFile;
extern const mode_t kNewFileMode;

// The file a save really replaces: the end of a chain of symbolic links, or the path itself.
std::string replacedFile(const std::string& path);

// A file that exists and that a save must not replace: EISDIR for a folder, EACCES (or the system's reason)
// for a file the user made read-only. 0 for anything else, a new file included.
int replacementRefused(const std::string& target);

// openRegularFile of file_io.h.
int openRegularFile(const std::string& path, std::string& reason);

// The size in bytes of an open file, or -1.
int64_t fileSize(int fd);
// Reads up to `size` bytes: the count read, 0 at the end, -1 on failure.
ssize_t read(int fd, void* data, size_t size);
void close(int fd);

// Gives the temporary file of a save the permissions of the file it is to replace.
void keepPermissions(int fd, const std::string& target);

// Makes the rename of a save durable, through `fileSystem` so that a save that skips flushing skips this
// one too. A folder that cannot be flushed is no reason to call the save failed: the data are on the disk.
void syncDirectory(const std::string& directory, FileSystem& fileSystem);

// isWritableFolder and makeScratchFolder of file_io.h.
bool isWritableFolder(const std::string& path);
std::optional<std::string> makeScratchFolder(const std::string& prefix);

// This process, so that saves of two processes into one folder never pick the same temporary name.
unsigned long processId();

} // namespace grovex::native
