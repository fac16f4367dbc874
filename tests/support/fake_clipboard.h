#pragma once
// A clipboard that keeps the text it is given, or fails at the step a test names.

#include "base/platform/clipboard.h"

#include <vector>

namespace grovex::fakes {

class FakeClipboard : public Clipboard {
public:
    // Every later setText fails with this status (Ok: succeed again).
    void failWith(ClipboardStatus status) { failure_ = status; }

    ClipboardStatus setText(const std::string& text) override {
        attempts.push_back(text);
        if (failure_ == ClipboardStatus::Ok) {
            text_ = text;
        }
        return failure_;
    }
    std::optional<std::string> text() override { return text_; }
    // Every later readText fails with this status (Ok: read the text again).
    void failReadWith(ClipboardReadStatus status) { readFailure_ = status; }
    ClipboardRead readText() override {
        if (readFailure_ != ClipboardReadStatus::Ok) {
            return {readFailure_, {}};
        }
        return Clipboard::readText();
    }

    std::vector<std::string> attempts; // every text offered, also those that failed

private:
    ClipboardStatus failure_ = ClipboardStatus::Ok;
    ClipboardReadStatus readFailure_ = ClipboardReadStatus::Ok;
    std::optional<std::string> text_;
};

} // namespace grovex::fakes
