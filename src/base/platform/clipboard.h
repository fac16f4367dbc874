#pragma once
// The system clipboard, plain text only.

#include <optional>
#include <string>

namespace grovex {

// Which step of putting text on the clipboard failed; the caller names it to the user.
enum class ClipboardStatus { Ok, CannotOpen, CannotEmpty, CannotSet };

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual ClipboardStatus setText(const std::string& text) = 0;
    // Nothing when the clipboard holds no text or cannot be opened.
    virtual std::optional<std::string> text() = 0;
};

} // namespace grovex
