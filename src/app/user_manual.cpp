#include "app/user_manual.h"

#include "base/platform/shell.h"
#include "base/platform/ui.h"

namespace grovex {

std::optional<std::string> userManualMessage(int shellResult, const std::string& appDirectory) {
    if (shellResult > 32) {
        return std::nullopt;
    }
    if (shellResult == kShellNoAssociation) {
        return std::string("The Adobe Acrobat Reader must be installed on your computer before you may view the "
                           "user manual.\n") +
               kReaderAddress;
    }
    if (shellResult == kShellFileNotFound || shellResult == kShellPathNotFound) {
        return "Unable to find  " + appDirectory + kUserManualFile;
    }
    return std::string("Unable to launch ") + kUserManualFile;
}

void openUserManual(Shell& shell, Ui& ui, const std::string& appDirectory) {
    if (const std::optional<std::string> message =
            userManualMessage(shell.open(kUserManualFile, appDirectory), appDirectory)) {
        ui.message(*message, Buttons::Ok, Icon::Warning);
    }
}

} // namespace grovex
