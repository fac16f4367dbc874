#pragma once
// The application directory (temporary state files, the font record, the user manual, the start folder of
// the macro dialogs) and the folder the file dialogs start in.

#include <optional>
#include <string>

namespace grovex {

class Settings;

// The native path separator that ends the application directory.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Adds the separator unless the path already ends with one ('/' is accepted everywhere).
std::string withTrailingSeparator(std::string path);

// Whether `path` begins with `start`. On Windows a '/' and a '\' match each other: the system takes both,
// and the file dialogs and the current directory do not always give the same one.
bool startsWithPath(const std::string& path, const std::string& start);

// The application directory of this run. Started without arguments, it is the current directory (plus the
// separator), and it is written to "Directories" / "Application" for later starts. Started with arguments
// (a document opened from the desktop, say), it is read back from there; `fallback` when never written.
std::string applicationDirectory(bool commandLineEmpty, Settings& settings, const std::string& currentDirectory,
                                 const std::string& fallback);

// Where the application directory defaults to when no start without arguments ever wrote it: "c:\" on
// Windows, the user's home directory elsewhere.
std::string defaultApplicationDirectory(const std::string& homeDirectory);

// "Directories" / "LastCurDir": written after File Open; at start, when present and not empty, the folder to
// make current.
void rememberCurrentDirectory(Settings& settings, const std::string& currentDirectory);
std::optional<std::string> lastCurrentDirectory(const Settings& settings);

} // namespace grovex
