#pragma once
// Opening the user manual "Grovex.pdf" with the system's PDF reader: from the application directory, else from
// the program's own folder (a build keeps the manual beside `grovex`), else from the documentation folder of
// the installation.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace grovex {

class Shell;
class Ui;

inline constexpr const char* kUserManualFile = "Grovex.pdf";
// Where the reader named in the message below can be downloaded.
inline constexpr const char* kReaderAddress = "https://get.adobe.com/reader/";

// The folders the manual is looked for in: the application directory, then the others in order. An empty
// folder is not looked in.
struct UserManualPlaces {
    std::string appDirectory;
    std::vector<std::string> otherDirectories;
};

// The documentation folder of the installation this program was built for (<prefix>/share/doc/grovex); empty
// on Windows, where an installation goes wherever its user puts it.
std::string installedDocDirectory();
// The documentation folder of an installation whose programs are in `programDirectory`, wherever that
// installation was put (a package installs under /usr, a build under /usr/local or any other prefix).
std::string docDirectoryBeside(const std::string& programDirectory);

// The folder to open the manual from: the first place that holds it as a file (`isFile` is asked about each
// full path). The application directory when none does, so that the message names it as before.
std::string userManualDirectory(const UserManualPlaces& places,
                                const std::function<bool(const std::string& path)>& isFile);
// The same, asking the file system.
std::string userManualDirectory(const UserManualPlaces& places);

// The message for an "open" result code, or nothing when the manual opened.
std::optional<std::string> userManualMessage(int shellResult, const std::string& appDirectory);

// Asks the shell to open the manual from the first place that holds it and shows the message of a failure.
// The shell hands the file to the reader and returns without waiting for it.
void openUserManual(Shell& shell, Ui& ui, const UserManualPlaces& places);
void openUserManual(Shell& shell, Ui& ui, const std::string& appDirectory);

} // namespace grovex
