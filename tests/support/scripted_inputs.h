#pragma once
// An input source that answers each command with the next of the input groups a test queued for it, and
// cancels (answers nothing) once its queue is empty.

#include "control/projection.h"

#include <deque>
#include <optional>

namespace grovex {

class ScriptedInputs : public InputSource {
public:
    std::deque<Input1> input1s;
    std::deque<Input2Values> input2s;
    std::optional<Input1> input1(CGROVEXDoc&) override { return next(input1s); }
    std::optional<Input2Values> input2(CGROVEXDoc&) override { return next(input2s); }

private:
    template <class T> static std::optional<T> next(std::deque<T>& queue) {
        if (queue.empty()) {
            return std::nullopt;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

} // namespace grovex
