#pragma once
// Who answers each command of the main window and when the shell's own commands are enabled or checked.

#include <optional>

namespace grovex {

// Where a command goes.
enum class CommandRoute {
    Application,   // About, New, Open, recent files, Print Setup, help, the tree list window
    MainFrame,     // Exit, bars, window arrangement, Save All, Stand Value
    Document,      // Close, Save, Save As of the active simulation document
    View,          // the active results view answers enabled, checked and execute (Copy, Print, keys...)
    TreeList,      // the tree list window answers enabled and execute (its files, editing, printing, keys)
    Simulation,    // the active simulation window's projection and macro commands answer enabled and execute
    AlwaysDisabled // shown, but no window handles it (editing, the grid and pane keys): never enabled
};

// The route of a command while a simulation window, or no window, is active.
CommandRoute commandRoute(int id);
// The route of a command while the tree list window is active: its menu's file, edit and print commands,
// Reset and the grid's keys go to that window; Save All, Print Setup, the tree list toggle and the rest of the
// shell's commands go where they always do.
CommandRoute treeListCommandRoute(int id);

// What the shell's rules look at.
struct ShellState {
    bool simulationActive = false; // the active child window is a simulation window
    bool childWindowOpen = false;  // any child window is shown
    bool toolbarVisible = true;
    bool statusBarVisible = true;
    bool chartsVisible = false;
    int recentFileCount = 0;
};

// Enabled state of a command that is not routed to the view. A view command answers false here; ask the
// active view instead.
bool shellCommandEnabled(int id, const ShellState& state);
// The check mark of a shell command; nothing for commands without one.
std::optional<bool> shellCommandChecked(int id, const ShellState& state);

} // namespace grovex
