#pragma once
// The application: its settings and platform services, the application directory, the macro store, the
// recent-file list, the start-up sequence, and the application-wide commands (New, Open, recent files,
// About, help, showing or hiding the tree list window).

#include "app/document_commands.h"
#include "app/recent_files.h"
#include "base/platform/clipboard.h"
#include "base/platform/settings.h"
#include "base/platform/shell.h"
#include "base/platform/ui.h"
#include "control/macro_store.h"
#include "qt/tree_list_window.h"

#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <string>

namespace grovex {

class MainWindow;
class SimulationWindow;
struct ViewServices;

// The platform services of the application. Those left null are the platform's own: the settings of
// "Fernhill Lab" / "GROVEX", the desktop's shell, message boxes and file dialogs, the system clipboard.
struct ApplicationServices {
    std::unique_ptr<Settings> settings;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<Ui> ui;
    std::unique_ptr<Clipboard> clipboard;
};

class Application : public QObject {
    Q_OBJECT

public:
    explicit Application(ApplicationServices services = {});
    ~Application() override;

    // The start-up sequence. `arguments` are those after the program name; false means the program ends.
    bool start(const QStringList& arguments);

    MainWindow& mainWindow() { return *mainWindow_; }
    Settings& settings() { return *settings_; }
    Ui& ui() { return *ui_; }
    Shell& shell() { return *shell_; }
    MacroStore& macroStore() { return macroStore_; }
    RecentFileList& recentFiles() { return recentFiles_; }
    const std::string& appDirectory() const { return appDirectory_; }
    const ViewServices& viewServices() const { return *viewServices_; }
    // The child window of the tree list; null after the user closed it.
    TreeListWindow* treeListWindow() const { return treeListWindow_; }
    // The application's one tree list document: that of the tree list window, null while there is none.
    treeListDoc* treeListDocument() const;
    // The tree list window; when the user closed it, a new one is made, hidden, and the active window stays.
    TreeListWindow& ensureTreeListWindow();

    // Application commands by id: New, Open, recent files, Print Setup, About, help, the tree list window.
    void executeCommand(int id);
    SimulationWindow* fileNew();
    void fileOpen();
    // Opens a document, or activates the window that already shows it. Null (after the message) when the
    // file cannot be opened.
    SimulationWindow* openDocumentFile(const QString& path);
    void toggleTreeList();
    void about();
    // Writes the settings to their store. The first failure of the run is shown; later ones are not.
    void saveSettings();

private:
    void openRecentFile(int index);
    void createTreeListWindow();

    std::unique_ptr<Settings> settings_;
    std::unique_ptr<Shell> shell_;
    std::unique_ptr<Ui> ui_;
    std::unique_ptr<Clipboard> clipboard_;
    std::unique_ptr<ViewServices> viewServices_;
    std::unique_ptr<MainWindow> mainWindow_;
    MacroStore macroStore_;
    RecentFileList recentFiles_;
    UntitledNames untitled_;
    std::string appDirectory_;
    QPointer<TreeListWindow> treeListWindow_;
    bool settingsFailureShown_ = false;
};

} // namespace grovex
