#pragma once
// Opening the user manual "Grovex.pdf" of the application directory with the system's PDF reader.

#include <optional>
#include <string>

namespace grovex {

class Shell;
class Ui;

inline constexpr const char* kUserManualFile = "Grovex.pdf";
// Where the reader named in the message below can be downloaded.
inline constexpr const char* kReaderAddress = "https://get.adobe.com/reader/";

// The message for an "open" result code, or nothing when the manual opened.
std::optional<std::string> userManualMessage(int shellResult, const std::string& appDirectory);

// Asks the shell to open the manual and shows the message of a failure.
void openUserManual(Shell& shell, Ui& ui, const std::string& appDirectory);

} // namespace grovex
