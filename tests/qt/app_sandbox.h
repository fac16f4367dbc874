#pragma once
// Support for the Qt tests that start the whole application: a shell that opens nothing, the services of a
// test start, and a sandbox, a temporary directory made the current one, holding the settings file and
// whatever the test writes.

#include "base/platform/shell.h"
#include "qt/application.h"
#include "qt/main_window.h"
#include "qt/platform/qt_settings.h"
#include "support/recording_ui.h"

#include <QDir>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace grovex::fakes {

class NoShell : public Shell {
public:
    int open(const std::string&, const std::string&) override { return kShellFileNotFound; }
};

// Services of a test start: settings in `settingsFile`, a NoShell, and a RecordingUi, left in `ui` for the
// test to script and read (it lives as long as the application made from the services).
inline ApplicationServices recordingServices(const QString& settingsFile, RecordingUi*& ui) {
    ApplicationServices services;
    services.settings = std::make_unique<QtSettings>(settingsFile);
    services.shell = std::make_unique<NoShell>();
    auto recording = std::make_unique<RecordingUi>();
    ui = recording.get();
    services.ui = std::move(recording);
    return services;
}

// What the settings say of the application directory before a start.
enum class AppDirectory {
    Unset,   // nothing: a start without arguments takes the current directory, the sandbox
    Sandbox, // the sandbox, as an earlier plain start would have left it: a start with a file name keeps its
             // files (the font record) there too
};

// One per test fixture: enter() in init(), leave() in cleanup(), start() in the tests.
class AppSandbox {
public:
    explicit AppSandbox(AppDirectory appDirectory = AppDirectory::Unset,
                        std::optional<QRect> mainWindowGeometry = std::nullopt)
        : appDirectory_(appDirectory), mainWindowGeometry_(mainWindowGeometry) {}

    // Makes a new temporary directory the current one; false when none could be made.
    bool enter() {
        dir_ = std::make_unique<QTemporaryDir>();
        if (!dir_->isValid()) {
            return false;
        }
        previousDirectory_ = QDir::currentPath();
        QDir::setCurrent(dir_->path());
        return true;
    }

    // Goes back to the directory current before enter() and removes the sandbox.
    void leave() {
        if (!previousDirectory_.isEmpty()) {
            QDir::setCurrent(previousDirectory_);
            previousDirectory_.clear();
        }
        dir_.reset();
    }

    QString path() const { return dir_->path(); }
    QString filePath(const QString& name) const { return dir_->filePath(name); }

    // The ui of the last start.
    RecordingUi& ui() const { return *ui_; }

    // Starts an application on "settings.ini" in the sandbox, with the main window placed at the geometry given
    // to the constructor, if any; null when the start-up sequence ends the program.
    std::unique_ptr<Application> start(const QStringList& arguments = {}) {
        ApplicationServices services = recordingServices(filePath(QStringLiteral("settings.ini")), ui_);
        if (appDirectory_ == AppDirectory::Sandbox) {
            services.settings->writeString("Directories", "Application",
                                           (QDir::toNativeSeparators(path()) + QDir::separator()).toStdString());
        }
        auto app = std::make_unique<Application>(std::move(services));
        if (!app->start(arguments)) {
            return nullptr;
        }
        if (mainWindowGeometry_) {
            app->mainWindow().setGeometry(*mainWindowGeometry_);
        }
        return app;
    }

private:
    AppDirectory appDirectory_;
    std::optional<QRect> mainWindowGeometry_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDirectory_;
    RecordingUi* ui_ = nullptr;
};

} // namespace grovex::fakes
