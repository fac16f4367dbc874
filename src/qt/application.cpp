#include "qt/application.h"

#include "app/app_directory.h"
#include "app/commands.h"
#include "app/user_manual.h"
#include "base/platform/settings.h"
#include "qt/about_dialog.h"
#include "qt/icons.h"
#include "qt/main_window.h"
#include "qt/platform/qt_clipboard.h"
#include "qt/platform/qt_settings.h"
#include "qt/platform/qt_shell.h"
#include "qt/platform/qt_text.h"
#include "qt/platform/qt_ui.h"
#include "qt/results_widget.h"
#include "qt/simulation_window.h"
#include "qt/tree_list_window.h"
#include "results/document_file.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace grovex {

using namespace appcmd;
using namespace cmd;

Application::Application(ApplicationServices services)
    : settings_(std::move(services.settings)), shell_(std::move(services.shell)), ui_(std::move(services.ui)),
      clipboard_(std::move(services.clipboard)) {
    QCoreApplication::setOrganizationName(QString::fromLatin1(QtSettings::kOrganization));
    QCoreApplication::setApplicationName(QString::fromLatin1(QtSettings::kApplication));
    QApplication::setWindowIcon(applicationIcon());
    if (!settings_) {
        settings_ = std::make_unique<QtSettings>();
    }
    if (!shell_) {
        shell_ = std::make_unique<QtShell>();
    }
    if (!ui_) {
        ui_ = std::make_unique<QtUi>();
    }
    if (!clipboard_) {
        clipboard_ = std::make_unique<QtClipboard>();
    }
}

Application::~Application() {
    // The windows use the services; they go first.
    mainWindow_.reset();
}

bool Application::start(const QStringList& arguments) {
    macroStore_ = MacroStore();
    recentFiles_.load(*settings_);

    appDirectory_ = applicationDirectory(arguments.isEmpty(), *settings_,
                                         toStdString(QDir::toNativeSeparators(QDir::currentPath())),
                                         defaultApplicationDirectory(toStdString(QDir::homePath())));
    viewServices_ =
        std::make_unique<ViewServices>(ViewServices{*settings_, *ui_, *clipboard_, appDirectory_, macroStore_});

    mainWindow_ = std::make_unique<MainWindow>(*this);

    // The first argument that is not an option names a document to open; otherwise a new one. A document
    // that cannot be opened has shown its message, and the user goes on with a new one rather than losing
    // the application as well.
    QString file;
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-'))) {
            file = argument;
            break;
        }
    }
    if (file.isEmpty() || openDocumentFile(file) == nullptr) {
        fileNew();
    }

    mainWindow_->restoreAndShow();

    if (const std::optional<std::string> directory = lastCurrentDirectory(*settings_)) {
        QDir::setCurrent(toQString(*directory));
    }

    ensureTreeListWindow();
    return true;
}

void Application::executeCommand(int id) {
    if (id >= kRecentFile1 && id < kRecentFile1 + kRecentFileCount) {
        openRecentFile(id - kRecentFile1);
        return;
    }
    switch (id) {
    case kFileNew:
        fileNew();
        break;
    case kFileOpen:
        fileOpen();
        break;
    case kFilePrintSetup:
        ResultsWidget::printSetup();
        break;
    case kAppAbout:
        about();
        break;
    case kHelpTopics:
    case kHelp:
    case kContextHelp:
    case kDefaultHelp:
        openUserManual(*shell_, *ui_, userManualPlaces(appDirectory_));
        break;
    case kShowHideTreeList:
    case kToolbarTreeList:
        toggleTreeList();
        break;
    default:
        break;
    }
}

void Application::saveSettings() {
    const IoStatus status = settings_->flush();
    if (!status && !settingsFailureShown_) {
        settingsFailureShown_ = true;
        ui_->message(status.message(), Buttons::Ok, Icon::Warning);
    }
}

SimulationWindow* Application::fileNew() {
    auto document = std::make_shared<CGROVEXDoc>();
    document->setTitle(untitled_.next());
    return mainWindow_->addSimulationWindow(std::move(document));
}

void Application::fileOpen() {
    FileDialogRequest request;
    request.filter = kDocumentFilter;
    request.defaultExtension = kDocumentExtension;
    request.overwritePrompt = false;
    if (const std::optional<std::string> path = ui_->openFileName(request)) {
        // The folder of the chosen file becomes the current one, where the next dialog starts.
        QDir::setCurrent(QFileInfo(toQString(*path)).absolutePath());
        openDocumentFile(toQString(*path));
    }
    rememberCurrentDirectory(*settings_, toStdString(QDir::toNativeSeparators(QDir::currentPath())));
}

SimulationWindow* Application::openDocumentFile(const QString& path) {
    const std::string absolute = toStdString(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    if (SimulationWindow* open = mainWindow_->findWindow(absolute)) {
        mainWindow_->activate(open);
        return open;
    }
    OpenedDocument opened = grovex::openDocument(absolute);
    if (!opened.ok()) {
        ui_->message(opened.error, Buttons::Ok, Icon::Warning);
        return nullptr;
    }
    const std::string yearlyMessage = yearlyUnreadMessage(*opened.document);
    SimulationWindow* window = mainWindow_->addSimulationWindow(std::move(opened.document));
    recentFiles_.add(absolute);
    mainWindow_->refreshRecentFiles();
    if (!yearlyMessage.empty()) {
        ui_->message(yearlyMessage, Buttons::Ok, Icon::Warning);
    }
    return window;
}

// A recent file that no longer opens leaves the list.
void Application::openRecentFile(int index) {
    if (index >= static_cast<int>(recentFiles_.files().size())) {
        return;
    }
    const std::string path = recentFiles_.files()[index];
    if (openDocumentFile(toQString(path)) == nullptr) {
        recentFiles_.remove(path);
        mainWindow_->refreshRecentFiles();
    }
}

void Application::createTreeListWindow() {
    auto* window = new TreeListWindow(*viewServices_);
    mainWindow_->addTreeListWindow(window);
    window->show();
    treeListWindow_ = window;
}

treeListDoc* Application::treeListDocument() const {
    return treeListWindow_ != nullptr ? &treeListWindow_->document() : nullptr;
}

TreeListWindow& Application::ensureTreeListWindow() {
    if (treeListWindow_ == nullptr) {
        QMdiSubWindow* active = mainWindow_->mdiArea().currentSubWindow();
        createTreeListWindow();
        treeListWindow_->hide();
        if (active != nullptr) {
            mainWindow_->activate(active);
        }
    }
    mainWindow_->updateCommandUi();
    return *treeListWindow_;
}

void Application::toggleTreeList() {
    if (treeListWindow_ == nullptr) {
        createTreeListWindow();
        mainWindow_->activate(treeListWindow_);
    } else if (treeListWindow_->isVisible()) {
        mainWindow_->hideChild(treeListWindow_);
    } else {
        treeListWindow_->show();
        mainWindow_->activate(treeListWindow_);
    }
    mainWindow_->updateCommandUi();
}

void Application::about() {
    AboutDialog dialog(*shell_, appDirectory_, mainWindow_.get());
    dialog.exec();
}

} // namespace grovex
