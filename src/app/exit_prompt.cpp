#include "app/exit_prompt.h"

#include "base/platform/ui.h"
#include "control/macro_store.h"

#include <optional>

namespace grovex {

void offerToSaveMacro(MacroStore& macro, Ui& ui, const std::string& appDirectory) {
    while (macro.unsaved() && macro.lastIndex() >= 0) {
        if (ui.message("Save the current macro before exiting?", Buttons::YesNo, Icon::Question) != Answer::Yes) {
            return;
        }
        FileDialogRequest request;
        request.filter = kMacroFilter;
        request.defaultExtension = kMacroExtension;
        request.startDirectory = appDirectory;
        request.overwritePrompt = true;
        const std::optional<std::string> path = ui.saveFileName(request);
        if (!path) {
            return;
        }
        if (macro.save(*path)) {
            return;
        }
        ui.message("Unable to save current macro.  Please try again.", Buttons::Ok, Icon::Warning);
    }
}

} // namespace grovex
