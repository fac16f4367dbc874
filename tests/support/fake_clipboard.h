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

    std::vector<std::string> attempts; // every text offered, also those that failed

private:
    ClipboardStatus failure_ = ClipboardStatus::Ok;
    std::optional<std::string> text_;
};

} // namespace grovex::fakes
