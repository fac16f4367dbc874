#pragma once
// The message boxes of a run where nobody reads them as they come (a batch run, a regime search): each is kept,
// questions are answered Yes (or OK), and the first tells why a failed run failed. With it, the temporary state
// file of such a run, which keeps nothing.

#include "base/platform/ui.h"
#include "control/projection.h"

#include <string>
#include <vector>

namespace grovex {

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

// The messages of a run without a copy to roll back to (DiscardedState), but the notices that a rollback
// found none: they say nothing there, and would hide the reason, such as a stand grown past its rotation.
inline std::vector<std::string> withoutRollbackNotices(const MessageLog& log) {
    std::vector<std::string> messages;
    for (const std::string& message : log.messages()) {
        if (message != kRestoreFailedMessage) {
            messages.push_back(message);
        }
    }
    return messages;
}

// Why such a run failed: its first message. Only a fit the model cannot make fails a command without saying
// why first; the routine then reports just a failed command.
inline std::string failureReason(const std::vector<std::string>& messages) {
    if (messages.empty()) {
        return "The macro made no tables.";
    }
    return messages.front() == kOperationFailedMessage
               ? std::string("The diameter distribution could not be fitted to these stand values.")
               : messages.front();
}

// A run that keeps no copy of the simulation for a rollback: a command that fails fails the run, whose
// simulation is then thrown away.
class DiscardedState : public StateFile {
public:
    DiscardedState() : StateFile({}) {}
    bool save(CGROVEXDoc&) override { return true; }
    bool write(const std::vector<uint8_t>&) override { return true; }
    std::optional<std::vector<uint8_t>> read() override { return std::nullopt; }
    void remove() override {}
};

} // namespace grovex
