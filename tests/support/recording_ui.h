#pragma once
// A stand-in for the message boxes: records every message shown and answers from a queue, so a test
// can check exactly what the user would have seen and script what the user would have pressed.

#include "base/platform/ui.h"

#include <deque>
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
    }

private:
    std::vector<RecordedMessage> messages_;
    std::deque<Answer> answers_;
};

} // namespace grovex::fakes
