#pragma once
// The system clipboard, plain text only.

#include <optional>
#include <string>

namespace grovex {

// Which step of putting text on the clipboard failed; the caller names it to the user.
enum class ClipboardStatus { Ok, CannotOpen, CannotEmpty, CannotSet };

// Which step of reading text from the clipboard failed.
enum class ClipboardReadStatus { Ok, CannotOpen, NoText, CannotGet };

struct ClipboardRead {
    ClipboardReadStatus status = ClipboardReadStatus::NoText;
    std::string text; // the text when status is Ok
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual ClipboardStatus setText(const std::string& text) = 0;
    // Nothing when the clipboard holds no text or cannot be opened.
    virtual std::optional<std::string> text() = 0;
    // The text, or the step that failed. A clipboard that cannot tell its failures apart reports NoText.
    virtual ClipboardRead readText() {
        std::optional<std::string> value = text();
        if (!value) {
            return {ClipboardReadStatus::NoText, {}};
        }
        return {ClipboardReadStatus::Ok, std::move(*value)};
    }
};

} // namespace grovex
