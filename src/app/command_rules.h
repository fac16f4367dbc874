#pragma once
// Who answers each command of the main window and when the shell's own commands are enabled or checked.

#include <optional>

namespace grovex {

// Where a command goes.
enum class CommandRoute {
    Application,    // About, New, Open, recent files, Print Setup, help, the tree list window
    MainFrame,      // Exit, bars, window arrangement, Save All
    Document,       // Close, Save, Save As of the active simulation document
    View,           // the active results view answers enabled, checked and execute (Copy, Print, keys...)
    NotYetAvailable // shown, but no window handles it yet: always disabled
};

CommandRoute commandRoute(int id);

// What the shell's rules look at.
struct ShellState {
    bool simulationActive = false; // the active child window is a simulation window
    bool childWindowOpen = false;  // any child window is shown
    bool toolbarVisible = true;
    bool statusBarVisible = true;
    int recentFileCount = 0;
};

// Enabled state of a command that is not routed to the view. A view command answers false here; ask the
// active view instead.
bool shellCommandEnabled(int id, const ShellState& state);
// The check mark of a shell command; nothing for commands without one.
std::optional<bool> shellCommandChecked(int id, const ShellState& state);

} // namespace grovex
