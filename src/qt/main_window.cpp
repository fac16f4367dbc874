#include "qt/main_window.h"

#include "app/command_rules.h"
#include "app/commands.h"
#include "app/exit_prompt.h"
#include "app/menus.h"
#include "app/window_placement.h"
#include "base/platform/settings.h"
#include "qt/application.h"
#include "qt/chart_dock.h"
#include "qt/command_actions.h"
#include "qt/dialog_input_source.h"
#include "qt/icons.h"
#include "qt/initialize_stand_sheet.h"
#include "qt/mdi_layout.h"
#include "qt/platform/qt_text.h"
#include "qt/results_widget.h"
#include "qt/simulation_window.h"
#include "qt/stand_value_window.h"
#include "qt/status_panes.h"
#include "qt/tree_list_window.h"
#include "results/document_file.h"
#include "results/table_export.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace grovex {
namespace {

using namespace appcmd;
using namespace cmd;

constexpr const char* kBarStateSection = "BOSKWOODBarState";

std::optional<std::string> writeDocument(CGROVEXDoc& doc, const std::string& path) {
    const IoStatus status = saveDocument(doc, path);
    if (status) {
        return std::nullopt;
    }
    return status.message();
}

Rect toRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// The local ".gvx" files among dropped URLs.
QStringList droppedDocuments(const QMimeData* data) {
    QStringList files;
    if (data == nullptr) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        const QString file = url.toLocalFile();
        if (!file.isEmpty() && file.endsWith(QLatin1String(kDocumentExtension), Qt::CaseInsensitive)) {
            files.append(file);
        }
    }
    return files;
}

} // namespace

MainWindow::MainWindow(Application& app)
    : app_(app), saver_(app.ui(), writeDocument), prices_(app.settings(), app.ui(), app.appDirectory()) {
    setWindowTitle(QStringLiteral("GROVEX"));
    setWindowIcon(applicationIcon());
    setAcceptDrops(true);

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);

    commands_ = new CommandActions(*this);
    addToolBar(Qt::TopToolBarArea, commands_->toolBar());
    statusPanes_ = new StatusPanes(*statusBar());
    chartDock_ = new ChartDock(this);
    addDockWidget(Qt::RightDockWidgetArea, chartDock_);
    chartDock_->hide();
    connect(chartDock_, &ChartDock::choicesChanged, this, &MainWindow::refreshChart);
    connect(chartDock_, &ChartDock::exportRequested, this, &MainWindow::exportChart);
    connect(chartDock_, &QDockWidget::visibilityChanged, this, [this] { updateCommandUi(); });
    connect(&chartDock_->chartWidget(), &ChartWidget::hovered, this,
            [this](const QString& text) { statusBar()->showMessage(text); });

    saver_.setSavedHandler([this](const std::string& path) {
        app_.recentFiles().add(path);
        refreshRecentFiles();
    });

    connect(commands_, &CommandActions::commandTriggered, this, &MainWindow::executeCommand);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MainWindow::updateCommandUi);
    for (QMenu* windowMenu : commands_->windowMenus()) {
        connect(windowMenu, &QMenu::aboutToShow, this, [this, windowMenu] {
            fillWindowMenu(*mdiArea_, *windowMenu, [this](QMdiSubWindow* window) { activate(window); });
        });
    }
    for (const int menuId : {kMenuNoDocument, kMenuSimulation, kMenuTreeList}) {
        for (QMenu* menu : commands_->menus(menuId)) {
            connect(menu, &QMenu::aboutToShow, this, &MainWindow::updateCommandUi);
        }
    }
    refreshRecentFiles();
    updateCommandUi();
}

// The child windows go after this object has ceased to be a MainWindow; their signals must not reach it.
MainWindow::~MainWindow() {
    mdiArea_->disconnect(this);
    chartDock_->disconnect(this);
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        window->disconnect(this);
    }
}

SimulationWindow* MainWindow::activeSimulation() const {
    return qobject_cast<SimulationWindow*>(mdiArea_->currentSubWindow());
}

std::vector<SimulationWindow*> MainWindow::simulationWindows() const {
    std::vector<SimulationWindow*> windows;
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (auto* simulation = qobject_cast<SimulationWindow*>(window)) {
            windows.push_back(simulation);
        }
    }
    return windows;
}

SimulationWindow* MainWindow::findWindow(const std::string& path) const {
    for (SimulationWindow* window : simulationWindows()) {
        const std::string& own = window->document().path();
        if (!own.empty() && samePath(own, path)) {
            return window;
        }
    }
    return nullptr;
}

// The windows of one document share its run record.
SimulationWindow* MainWindow::addSimulationWindow(std::shared_ptr<CGROVEXDoc> document) {
    std::shared_ptr<RunRecord> record;
    for (SimulationWindow* other : simulationWindows()) {
        if (other->sharedDocument() == document) {
            record = other->runRecord();
        }
    }
    auto* window = new SimulationWindow(std::move(document), app_.viewServices(), std::move(record));
    window->setCloseGuard([this](SimulationWindow& closing) { return confirmClose(closing); });
    window->setInputSource(std::make_unique<DialogInputSource>(window, app_.ui(), treeListBrowser(app_), [this] {
        TreeListWindow* treeList = treeListWindow();
        return treeList != nullptr ? &treeList->view().treeList() : nullptr;
    }));
    window->setSaveAction([this](CGROVEXDoc& doc) { return saver_.save(doc); });
    connect(window, &SimulationWindow::commandStateChanged, this, &MainWindow::updateCommandUi);
    connect(window, &QObject::destroyed, this, [this] { QTimer::singleShot(0, this, &MainWindow::updateCommandUi); });
    mdiArea_->addSubWindow(window);
    placeChild(*window);
    window->show();
    activate(window);
    updateCommandUi();
    return window;
}

// The area may make the hidden tree list window its current one when another window closes; hidden, it is
// not active for the user.
TreeListWindow* MainWindow::activeTreeList() const {
    auto* window = qobject_cast<TreeListWindow*>(mdiArea_->currentSubWindow());
    return window != nullptr && !window->isHidden() ? window : nullptr;
}

TreeListWindow* MainWindow::treeListWindow() const {
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (auto* treeList = qobject_cast<TreeListWindow*>(window)) {
            return treeList;
        }
    }
    return nullptr;
}

// While the application closes, the tree list has been asked already.
void MainWindow::addTreeListWindow(TreeListWindow* window) {
    window->setCloseGuard([this, window] { return closingAll_ || window->commands().queryClose(); });
    connect(window, &TreeListWindow::commandStateChanged, this, &MainWindow::updateCommandUi);
    connect(window, &QObject::destroyed, this, [this] { QTimer::singleShot(0, this, &MainWindow::updateCommandUi); });
    mdiArea_->addSubWindow(window);
    placeChild(*window);
}

// A simulation window opens large enough for a whole table; the tree list window takes the usual share.
void MainWindow::placeChild(QMdiSubWindow& window) {
    auto* simulation = qobject_cast<SimulationWindow*>(&window);
    placeNewChild(*mdiArea_, window,
                  simulation != nullptr ? std::optional(simulation->sizeForWholeTable()) : std::nullopt);
}

// Hiding the active window activates the next visible one, as closing it would.
void MainWindow::hideChild(QMdiSubWindow* window) {
    const bool wasActive = mdiArea_->currentSubWindow() == window;
    window->hide();
    if (wasActive) {
        mdiArea_->activateNextSubWindow();
        if (mdiArea_->currentSubWindow() == window) {
            mdiArea_->setActiveSubWindow(nullptr);
        }
    }
    updateCommandUi();
}

void MainWindow::activate(QMdiSubWindow* window) {
    if (window->isMinimized()) {
        window->showNormal();
    }
    mdiArea_->setActiveSubWindow(window);
    window->setFocus();
}

// Closing the last window of a modified document asks whether to save it.
bool MainWindow::confirmClose(SimulationWindow& window) {
    if (closingAll_) {
        return true;
    }
    const auto windows = simulationWindows();
    const bool shownElsewhere = std::any_of(windows.begin(), windows.end(), [&window](SimulationWindow* other) {
        return other != &window && !other->isHidden() && other->sharedDocument() == window.sharedDocument();
    });
    return shownElsewhere || saver_.saveModified(window.document());
}

void MainWindow::executeCommand(int id) {
    TreeListWindow* treeList = activeTreeList();
    switch (treeList != nullptr ? treeListCommandRoute(id) : commandRoute(id)) {
    case CommandRoute::TreeList:
        if (treeList != nullptr) {
            treeList->executeCommand(id);
        }
        break;
    case CommandRoute::View:
        if (SimulationWindow* window = activeSimulation()) {
            window->resultsWidget().executeCommand(id);
        }
        break;
    case CommandRoute::Document:
        if (SimulationWindow* window = activeSimulation()) {
            executeDocumentCommand(id, *window);
        }
        break;
    case CommandRoute::Simulation:
        if (SimulationWindow* window = activeSimulation()) {
            window->executeProjectionCommand(id);
            refreshOtherViews(*window);
        }
        break;
    case CommandRoute::MainFrame:
        executeFrameCommand(id);
        break;
    case CommandRoute::Application:
        app_.executeCommand(id);
        break;
    case CommandRoute::AlwaysDisabled:
        break;
    }
    updateCommandUi();
}

// The other windows of a document lay out and show what a command of one of them changed.
void MainWindow::refreshOtherViews(SimulationWindow& window) {
    for (SimulationWindow* other : simulationWindows()) {
        if (other != &window && other->sharedDocument() == window.sharedDocument()) {
            other->view().LayoutTables();
            other->resultsWidget().scrollChanged();
        }
    }
}

void MainWindow::executeDocumentCommand(int id, SimulationWindow& window) {
    if (id == kFileClose) {
        // Every window of the document closes; the question comes once. The document is held here, as it must
        // outlive the windows closed below.
        // NOLINTNEXTLINE(performance-unnecessary-copy-initialization)
        const std::shared_ptr<CGROVEXDoc> document = window.sharedDocument();
        if (!saver_.saveModified(*document)) {
            return;
        }
        closingAll_ = true;
        for (SimulationWindow* other : simulationWindows()) {
            if (other->sharedDocument() == document) {
                other->close();
            }
        }
        closingAll_ = false;
        return;
    }
    if (id == kFileSave) {
        saver_.save(window.document());
    } else if (id == kFileSaveAs) {
        saver_.saveAs(window.document());
    }
}

void MainWindow::executeFrameCommand(int id) {
    switch (id) {
    case kAppExit:
        close();
        break;
    case kViewToolbar:
        commands_->toolBar()->setVisible(commands_->toolBar()->isHidden());
        break;
    case kViewStatusBar:
        statusBar()->setVisible(statusBar()->isHidden());
        break;
    case kWindowNew:
        if (SimulationWindow* window = activeSimulation()) {
            addSimulationWindow(window->sharedDocument());
        }
        break;
    case kWindowCascade:
        cascadeChildren(*mdiArea_);
        break;
    case kWindowTile:
        mdiArea_->tileSubWindows();
        break;
    case kWindowArrange:
        arrangeIcons(*mdiArea_);
        break;
    case kFileSaveAll:
        saveAll();
        break;
    case kStandValue:
        if (SimulationWindow* window = activeSimulation()) {
            showStandValue(*window);
        }
        break;
    case kViewCharts:
        chartDock_->setVisible(chartDock_->isHidden());
        if (!chartDock_->isHidden() && !chartDock_->isFloating()) {
            resizeDocks({chartDock_}, {width() * 11 / 20}, Qt::Horizontal);
        }
        break;
    case kFileExportTables:
        exportTables();
        break;
    case kFileExportChart:
        exportChart();
        break;
    default:
        break;
    }
}

// A closed window stays a child, hidden, until it is deleted.
StandValueWindow* MainWindow::standValueWindow(const CGROVEXDoc& document) const {
    for (StandValueWindow* window : findChildren<StandValueWindow*>(Qt::FindDirectChildrenOnly)) {
        if (window->isVisible() && &window->record().document() == &document) {
            return window;
        }
    }
    return nullptr;
}

StandValueWindow* MainWindow::showStandValue(SimulationWindow& simulation) {
    StandValueWindow* window = standValueWindow(simulation.document());
    if (window == nullptr) {
        prices_.windowOpens();
        window = new StandValueWindow(simulation.runRecord(), prices_, app_.viewServices().clipboard, app_.ui(), this);
        connect(window, &StandValueWindow::pricesChosen, this, &MainWindow::refreshStandValues);
        refreshStandValues();
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void MainWindow::refreshStandValues() {
    const auto shown = simulationWindows();
    for (StandValueWindow* window : findChildren<StandValueWindow*>(Qt::FindDirectChildrenOnly)) {
        if (window->isHidden()) {
            continue; // closed, or not shown yet
        }
        const bool open = std::any_of(shown.begin(), shown.end(), [window](SimulationWindow* simulation) {
            return !simulation->isHidden() && &simulation->document() == &window->record().document();
        });
        if (open) {
            window->refresh();
        } else {
            window->close();
        }
    }
}

void MainWindow::refreshChart() {
    if (!chartDock_->isHidden()) {
        fillChart();
    }
}

void MainWindow::fillChart() {
    SimulationWindow* active = activeSimulation();
    const auto simulationOf = [](SimulationWindow* window) {
        return ChartDock::Simulation{&window->document(),
                                     window->windowTitle().remove(QStringLiteral("[*]")).toStdString()};
    };
    std::vector<ChartDock::Simulation> others;
    for (SimulationWindow* window : simulationWindows()) {
        const bool sameDocument = active != nullptr && window->sharedDocument() == active->sharedDocument();
        const bool listed = std::any_of(others.begin(), others.end(), [window](const ChartDock::Simulation& other) {
            return other.document == &window->document();
        });
        if (!window->isHidden() && !sameDocument && !listed) {
            others.push_back(simulationOf(window));
        }
    }
    chartDock_->refresh(active != nullptr ? simulationOf(active) : ChartDock::Simulation{}, others);
}

void MainWindow::exportTables() {
    SimulationWindow* window = activeSimulation();
    if (window == nullptr) {
        return;
    }
    FileDialogRequest request;
    request.filter = "CSV Files (*.csv)|*.csv|JSON Files (*.json)|*.json||";
    request.defaultExtension = ".csv";
    const std::optional<std::string> path = app_.ui().saveFileName(request);
    if (!path) {
        return;
    }
    const CGROVEXDoc& doc = window->document();
    if (const IoStatus status = saveTablesExport(doc.model, doc.run.targetReached, *path); !status) {
        app_.ui().message(status.message(), Buttons::Ok, Icon::Error);
    }
}

void MainWindow::exportChart() {
    fillChart();
    FileDialogRequest request;
    request.filter = "PNG Images (*.png)|*.png|SVG Drawings (*.svg)|*.svg|PDF Documents (*.pdf)|*.pdf||";
    request.defaultExtension = ".png";
    const std::optional<std::string> path = app_.ui().saveFileName(request);
    if (path) {
        const ChartWidget& chart = chartDock_->chartWidget();
        if (const IoStatus status = grovex::exportChart(chart.chart(), *path, chart.size().expandedTo({800, 600}));
            !status) {
            app_.ui().message(status.message(), Buttons::Ok, Icon::Error);
        }
    }
}

// Every simulation document in window order, then the tree list.
void MainWindow::saveAll() {
    std::vector<CGROVEXDoc*> documents;
    for (SimulationWindow* window : simulationWindows()) {
        if (std::find(documents.begin(), documents.end(), &window->document()) == documents.end()) {
            documents.push_back(&window->document());
        }
    }
    saver_.saveAll(documents);
    if (TreeListWindow* treeList = treeListWindow()) {
        treeList->commitEditing();
        treeList->commands().saveForSaveAll();
    }
}

void MainWindow::updateTitles() {
    // A closed window stays in the area, hidden, until it is deleted.
    auto windows = simulationWindows();
    std::erase_if(windows, [](SimulationWindow* window) { return window->isHidden(); });
    for (SimulationWindow* window : windows) {
        int number = 0;
        int count = 0;
        for (SimulationWindow* other : windows) {
            if (other->sharedDocument() == window->sharedDocument()) {
                ++count;
                if (other == window) {
                    number = count;
                }
            }
        }
        window->updateTitle(number, count);
    }
}

void MainWindow::showMenu(int menuId) {
    if (menuId == shownMenu_) {
        return;
    }
    shownMenu_ = menuId;
    menuBar()->clear();
    for (QMenu* menu : commands_->menus(menuId)) {
        menuBar()->addMenu(menu);
    }
}

void MainWindow::updateCommandUi() {
    SimulationWindow* active = activeSimulation();
    TreeListWindow* treeList = activeTreeList();
    showMenu(active != nullptr ? kMenuSimulation : treeList != nullptr ? kMenuTreeList : kMenuNoDocument);
    updateCommandStates(active, treeList);
    updateTitles();
    refreshStandValues();
    refreshChart();

    // The tree list names its current cell.
    statusPanes_->setIdleMessage(treeList != nullptr ? toQString(treeList->view().currentCellDescription())
                                                     : QString());
    if (treeList != nullptr) {
        statusPanes_->setModified(treeList->document().isModified());
        setWindowTitle(QStringLiteral("GROVEX - ") + toQString(treeList->document().title()));
    } else {
        statusPanes_->setModified(active != nullptr && active->document().isModified());
        setWindowTitle(active != nullptr ? QStringLiteral("GROVEX - ") + toQString(active->document().title())
                                         : QStringLiteral("GROVEX"));
    }
}

void MainWindow::updateCommandStates(SimulationWindow* active, TreeListWindow* treeList) {
    ShellState state;
    state.simulationActive = active != nullptr;
    const QList<QMdiSubWindow*> children = mdiArea_->subWindowList();
    state.childWindowOpen =
        std::any_of(children.begin(), children.end(), [](QMdiSubWindow* w) { return !w->isHidden(); });
    state.toolbarVisible = !commands_->toolBar()->isHidden();
    state.statusBarVisible = !statusBar()->isHidden();
    state.chartsVisible = !chartDock_->isHidden();
    state.recentFileCount = static_cast<int>(app_.recentFiles().files().size());

    for (const auto& [id, action] : commands_->actions()) {
        const CommandRoute route = treeList != nullptr ? treeListCommandRoute(id) : commandRoute(id);
        if (route == CommandRoute::TreeList) {
            action->setEnabled(treeList->commandEnabled(id));
        } else if (route == CommandRoute::Simulation) {
            action->setEnabled(active != nullptr && active->projectionCommandEnabled(id));
        } else if (route == CommandRoute::View) {
            action->setEnabled(active != nullptr && active->resultsWidget().commandEnabled(id));
            if (action->isCheckable()) {
                action->setChecked(active != nullptr && active->resultsWidget().commandChecked(id));
            }
        } else {
            action->setEnabled(shellCommandEnabled(id, state));
            if (const std::optional<bool> checked = shellCommandChecked(id, state)) {
                action->setChecked(*checked);
            }
        }
    }
}

void MainWindow::refreshRecentFiles() {
    const RecentFileList& list = app_.recentFiles();
    std::vector<QString> texts;
    texts.reserve(list.files().size());
    const std::string current = QDir::toNativeSeparators(QDir::currentPath()).toStdString();
    for (int i = 0; i < static_cast<int>(list.files().size()); ++i) {
        texts.push_back(toQString(list.menuText(i, current)));
    }
    commands_->setRecentFiles(texts);
    list.save(app_.settings());
    app_.saveSettings();
}

void MainWindow::restoreAndShow() {
    Settings& settings = app_.settings();
    if (const std::optional<std::vector<uint8_t>> state = settings.readBytes(kBarStateSection, "State")) {
        restoreState(QByteArray(reinterpret_cast<const char*>(state->data()), static_cast<qsizetype>(state->size())));
    }
    statusBar()->setVisible(settings.intOr(kBarStateSection, "StatusBar", 1) != 0);

    const StartPlacement placement = readStartPlacement(settings, toRect(screen()->availableGeometry()));
    const Rect& r = placement.normal;
    setGeometry(r.left, r.top, r.width(), r.height());
    switch (placement.show) {
    case ShowMode::Normal:
        show();
        break;
    case ShowMode::Maximized:
        showMaximized();
        break;
    case ShowMode::MinimizedNoActivate:
        setAttribute(Qt::WA_ShowWithoutActivating);
        setWindowState(placement.restoreToMaximized ? Qt::WindowMinimized | Qt::WindowMaximized : Qt::WindowMinimized);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
        break;
    }
    // The windows made before the area had its size get theirs now.
    for (QMdiSubWindow* child : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        placeChild(*child);
    }
    updateCommandUi();
}

void MainWindow::saveState() {
    Settings& settings = app_.settings();
    ClosingPlacement placement;
    placement.normal = toRect(normalGeometry());
    placement.minimized = isMinimized();
    placement.maximized = isMaximized();
    placement.restoresMaximized = (windowState() & Qt::WindowMaximized) != 0;
    writeClosingPlacement(settings, placement);

    const QByteArray bars = QMainWindow::saveState();
    settings.writeBytes(kBarStateSection, "State", std::vector<uint8_t>(bars.begin(), bars.end()));
    settings.writeInt(kBarStateSection, "StatusBar", statusBar()->isHidden() ? 0 : 1);
}

// Every document is asked about first, in window order; a refusal keeps everything open. Then the macro,
// the placement and the bars.
void MainWindow::closeEvent(QCloseEvent* event) {
    std::vector<CGROVEXDoc*> asked;
    for (SimulationWindow* window : simulationWindows()) {
        CGROVEXDoc* document = &window->document();
        if (std::find(asked.begin(), asked.end(), document) != asked.end()) {
            continue;
        }
        asked.push_back(document);
        if (!saver_.saveModified(*document)) {
            event->ignore();
            updateCommandUi(); // a document saved before the refusal has its new title
            return;
        }
    }
    if (TreeListWindow* treeList = treeListWindow()) {
        treeList->commitEditing();
        if (!treeList->commands().queryClose()) {
            event->ignore();
            updateCommandUi();
            return;
        }
    }
    closingAll_ = true;
    mdiArea_->closeAllSubWindows();
    closingAll_ = false;

    offerToSaveMacro(app_.macroStore(), app_.ui(), app_.appDirectory());
    saveState();
    app_.saveSettings();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedDocuments(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QStringList files = droppedDocuments(event->mimeData());
    if (files.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    activateWindow();
    for (const QString& file : files) {
        app_.openDocumentFile(file);
    }
}

} // namespace grovex
