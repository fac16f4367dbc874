#pragma once
// What the main window asks as the program ends: whether to save a macro that holds unsaved changes.

#include <string>

namespace grovex {

class MacroStore;
class Ui;

// While the macro has unsaved entries: "Save the current macro before exiting?" No leaves it unsaved; Yes
// asks for a ".gmc" file in the application directory and writes it there. A cancelled file dialog leaves
// without saving; a failed write says so and asks again.
void offerToSaveMacro(MacroStore& macro, Ui& ui, const std::string& appDirectory);

} // namespace grovex
