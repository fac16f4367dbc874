#pragma once
// A stand-in for the message boxes: records every message shown and answers from a queue, so a test
// can check exactly what the user would have seen and script what the user would have pressed.

#include "base/platform/ui.h"

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace grovex::fakes {

struct RecordedMessage {
    std::string text;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    std::string caption;
};

class RecordingUi : public Ui {
public:
    // Answers are used in the order queued; with none left a box answers with its first button.
    void queueAnswer(Answer answer) { answers_.push_back(answer); }

    Answer message(std::string_view text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                   std::string_view caption = {}) override {
        messages_.push_back({std::string(text), buttons, icon, std::string(caption)});
        if (!answers_.empty()) {
            const Answer answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }

    // File dialogs answer with the queued paths in order; an empty queue (or a queued nullopt) cancels.
    void queueFileName(std::optional<std::string> path) { fileNames_.push_back(std::move(path)); }

    std::optional<std::string> openFileName(const FileDialogRequest& request) override { return fileDialog(request); }
    std::optional<std::string> saveFileName(const FileDialogRequest& request) override { return fileDialog(request); }
    const std::vector<FileDialogRequest>& fileDialogs() const { return fileDialogs_; }

    const std::vector<RecordedMessage>& messages() const { return messages_; }

    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const RecordedMessage& m : messages_) {
            result.push_back(m.text);
        }
        return result;
    }

    size_t unusedAnswers() const { return answers_.size(); }

    void clear() {
        messages_.clear();
        answers_.clear();
        fileNames_.clear();
        fileDialogs_.clear();
    }

private:
    std::optional<std::string> fileDialog(const FileDialogRequest& request) {
        fileDialogs_.push_back(request);
        if (fileNames_.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> path = std::move(fileNames_.front());
        fileNames_.pop_front();
        return path;
    }

    std::vector<RecordedMessage> messages_;
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> fileNames_;
    std::vector<FileDialogRequest> fileDialogs_;
};

} // namespace grovex::fakes
