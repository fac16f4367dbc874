#pragma once
// The main window: the child windows in an MDI area, the menus, the tool bar and the status bar. It routes
// every command to the active view, its document, itself or the application, and keeps the menus, buttons,
// window titles and the "Modified" pane up to date in one place (updateCommandUi).

#include "app/document_commands.h"
#include "app/stand_value.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QMdiArea;
class QMdiSubWindow;

namespace grovex {

class Application;
class CGROVEXDoc;
class ChartDock;
class CommandActions;
class SimulationWindow;
class StandValueWindow;
class StatusPanes;
class TreeListWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(Application& app);
    ~MainWindow() override;

    QMdiArea& mdiArea() { return *mdiArea_; }
    CommandActions& commands() { return *commands_; }
    StatusPanes& statusPanes() { return *statusPanes_; }
    ChartDock& chartDock() { return *chartDock_; }
    DocumentSaver& saver() { return saver_; }

    // The active child window when it shows a simulation.
    SimulationWindow* activeSimulation() const;
    std::vector<SimulationWindow*> simulationWindows() const;
    // The window that shows the document saved as `path`, if any.
    SimulationWindow* findWindow(const std::string& path) const;
    SimulationWindow* addSimulationWindow(std::shared_ptr<CGROVEXDoc> document);
    // The Stand Value window of the simulation's document, opened (with the prices remembered, or asked for
    // the first time) or brought to the front.
    StandValueWindow* showStandValue(SimulationWindow& simulation);
    // The Stand Value window of the document, if one is open.
    StandValueWindow* standValueWindow(const CGROVEXDoc& document) const;
    PricesChoice& prices() { return prices_; }

    // The active child window when it is the tree list window.
    TreeListWindow* activeTreeList() const;
    // The tree list window, shown or hidden; null when there is none.
    TreeListWindow* treeListWindow() const;
    // Adds the tree list window to the area (the caller shows or hides it) and routes its commands.
    void addTreeListWindow(TreeListWindow* window);
    void activate(QMdiSubWindow* window);
    void hideChild(QMdiSubWindow* window);

    // Runs a command by id, as a menu item, a tool bar button or a key does.
    void executeCommand(int id);
    // The one update of menus, buttons, titles and panes; runs on activation and after every command.
    void updateCommandUi();
    // The recent-file entries of the File menus, after the list changed.
    void refreshRecentFiles();
    // The chart pane shows the active simulation and the ones compared with it as they are now.
    void refreshChart();
    // File > Export Tables and Export Chart, to a file the user names.
    void exportTables();
    void exportChart();

    // Start: bar state and placement from the settings, then show.
    void restoreAndShow();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void executeFrameCommand(int id);
    void executeDocumentCommand(int id, SimulationWindow& window);
    void refreshOtherViews(SimulationWindow& window);
    bool confirmClose(SimulationWindow& window);
    void saveAll();
    void updateCommandStates(SimulationWindow* active, TreeListWindow* treeList);
    void updateTitles();
    // Every Stand Value window shows its simulation as it is now; one whose simulation has no window left
    // closes.
    void refreshStandValues();
    void showMenu(int menuId);
    void placeChild(QMdiSubWindow& window);
    void saveState();
    void fillChart();

    Application& app_;
    QMdiArea* mdiArea_ = nullptr;
    CommandActions* commands_ = nullptr;
    StatusPanes* statusPanes_ = nullptr;
    ChartDock* chartDock_ = nullptr;
    DocumentSaver saver_;
    PricesChoice prices_;
    int shownMenu_ = 0;
    bool closingAll_ = false;
};

} // namespace grovex
