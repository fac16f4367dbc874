#pragma once
// Driving a running application as its menus would: the active simulation window answers its commands with
// the input groups a test queues, and a command is triggered through its action.

#include "qt/application.h"
#include "qt/command_actions.h"
#include "qt/main_window.h"
#include "qt/simulation_window.h"
#include "support/scripted_inputs.h"

#include <QAction>

#include <memory>

namespace grovex {

inline ScriptedInputs& scriptActiveWindow(Application& app) {
    auto inputs = std::make_unique<ScriptedInputs>();
    ScriptedInputs& result = *inputs;
    app.mainWindow().activeSimulation()->setInputSource(std::move(inputs));
    return result;
}

inline void trigger(Application& app, int id) {
    app.mainWindow().commands().action(id)->trigger();
}

} // namespace grovex
