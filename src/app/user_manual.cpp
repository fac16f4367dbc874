#include "app/user_manual.h"

#include "app/app_directory.h"
#include "base/path_text.h"
#include "base/platform/shell.h"
#include "base/platform/ui.h"

#include <filesystem>
#include <system_error>

#ifndef GROVEX_INSTALLED_DOCDIR
#define GROVEX_INSTALLED_DOCDIR ""
#endif
// The documentation folder relative to the folder of the programs, such as "../share/doc/grovex".
#ifndef GROVEX_DOCDIR_FROM_BINDIR
#define GROVEX_DOCDIR_FROM_BINDIR ""
#endif

namespace grovex {

std::string installedDocDirectory() {
    return GROVEX_INSTALLED_DOCDIR;
}

std::string docDirectoryBeside(const std::string& programDirectory) {
    const std::string relative = GROVEX_DOCDIR_FROM_BINDIR;
    if (programDirectory.empty() || relative.empty()) {
        return {};
    }
    return textOf((pathOf(programDirectory) / relative).lexically_normal());
}

std::string userManualDirectory(const UserManualPlaces& places,
                                const std::function<bool(const std::string& path)>& isFile) {
    auto holdsManual = [&](const std::string& place) {
        return !place.empty() && isFile(withTrailingSeparator(place) + kUserManualFile);
    };
    if (holdsManual(places.appDirectory)) {
        return places.appDirectory;
    }
    for (const std::string& place : places.otherDirectories) {
        if (holdsManual(place)) {
            return place;
        }
    }
    return places.appDirectory;
}

std::string userManualDirectory(const UserManualPlaces& places) {
    return userManualDirectory(places, [](const std::string& path) {
        std::error_code error;
        return std::filesystem::is_regular_file(pathOf(path), error);
    });
}

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

void openUserManual(Shell& shell, Ui& ui, const UserManualPlaces& places) {
    const std::string directory = userManualDirectory(places);
    if (const std::optional<std::string> message =
            userManualMessage(shell.open(kUserManualFile, directory), places.appDirectory)) {
        ui.message(*message, Buttons::Ok, Icon::Warning);
    }
}

void openUserManual(Shell& shell, Ui& ui, const std::string& appDirectory) {
    openUserManual(shell, ui, UserManualPlaces{appDirectory, {}});
}

} // namespace grovex
