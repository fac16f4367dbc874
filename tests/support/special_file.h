#pragma once
// A path that names something other than a regular file, which a reader must refuse at once rather than
// wait on: a named pipe without a writer, made in the given folder, on POSIX systems; on Windows, whose named
// pipes live outside the folders, the null device.

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace grovex::fakes {

// The path of the special file, or an empty text when none could be made.
inline std::string specialFile([[maybe_unused]] const std::filesystem::path& folder,
                               [[maybe_unused]] const std::string& name) {
#ifdef _WIN32
    return "NUL";
#else
    const std::filesystem::path pipe = folder / name;
    return ::mkfifo(pipe.c_str(), 0600) == 0 ? pipe.string() : std::string();
#endif
}

} // namespace grovex::fakes
