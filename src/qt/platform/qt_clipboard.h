#pragma once
// The system clipboard on QClipboard, plain text only.

#include "base/platform/clipboard.h"

namespace grovex {

// Qt reports no errors of its own here, so the failures are found this way: no application clipboard is
// CannotOpen; text that does not read back after setting it is CannotSet (the platform refused it).
// Emptying cannot fail separately: setting the text replaces whatever was there.
class QtClipboard : public Clipboard {
public:
    ClipboardStatus setText(const std::string& text) override;
    std::optional<std::string> text() override;
    // No application clipboard is CannotOpen; no text is NoText.
    ClipboardRead readText() override;
};

} // namespace grovex
