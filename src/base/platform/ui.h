#pragma once
// Message boxes and file dialogs as the core asks for them; each front end supplies its own implementation.

#include <optional>
#include <string>
#include <string_view>

namespace grovex {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Warning, Error, Question };
enum class Answer { Ok, Cancel, Yes, No };

// A file dialog as the commands describe it. The filter uses the "Name (*.ext)|*.ext|All Files (*.*)|*.*||"
// form: pairs of a description and a pattern, separated by "|".
struct FileDialogRequest {
    std::string filter;
    std::string defaultExtension; // ".gvx"; appended when the chosen name has no extension
    std::string startDirectory;   // empty: the current directory
    std::string fileName;         // proposed name
    bool overwritePrompt = true;  // save dialogs ask before replacing a file
};

class Ui {
public:
    virtual ~Ui() = default;

    // Shows a modal message and returns the button the user pressed. An empty caption means the
    // application's own title.
    virtual Answer message(std::string_view text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                           std::string_view caption = {}) = 0;

    // The chosen file's full path, or nothing when the user cancels.
    virtual std::optional<std::string> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFileName(const FileDialogRequest& request) = 0;
};

} // namespace grovex
