#pragma once
// The message boxes of a run where nobody reads them as they come (a batch run): each is kept, questions are
// answered Yes (or OK), and the first tells why a failed run failed.

#include "base/platform/ui.h"

#include <string>
#include <vector>

namespace grovex::batch {

class MessageLog : public Ui {
public:
    Answer message(std::string_view text, Buttons buttons, Icon, std::string_view) override {
        messages_.emplace_back(text);
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }
    std::optional<std::string> openFileName(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileName(const FileDialogRequest&) override { return std::nullopt; }

    const std::vector<std::string>& messages() const { return messages_; }
    void clear() { messages_.clear(); }

private:
    std::vector<std::string> messages_;
};

} // namespace grovex::batch
