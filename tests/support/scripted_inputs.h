#pragma once
// An input source that answers each command with the next of the input groups a test queued for it, and
// cancels (answers nothing) once its queue is empty. It counts the questions, so that a replay which asks
// one shows, and offers the tree list a test gives it as the simulation's own.

#include "control/projection.h"

#include <deque>
#include <optional>

namespace grovex {

class ScriptedInputs : public InputSource {
public:
    std::deque<Input1> input1s;
    std::deque<Input2Values> input2s;
    const TreeList* treeList = nullptr;
    int input1Calls = 0;
    int input2Calls = 0;

    int asked() const { return input1Calls + input2Calls; }

    std::optional<Input1> input1(CGROVEXDoc&) override {
        ++input1Calls;
        return next(input1s);
    }
    std::optional<Input2Values> input2(CGROVEXDoc&) override {
        ++input2Calls;
        return next(input2s);
    }
    const TreeList* simulationTreeList() override { return treeList; }

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
