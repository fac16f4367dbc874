// The desktop application as a user meets it: start-up, menus, opening documents, the view commands, copy,
// and closing.

#include "app/commands.h"
#include "app_sandbox.h"
#include "qt/about_dialog.h"
#include "qt/application.h"
#include "qt/command_actions.h"
#include "qt/main_window.h"
#include "qt/results_widget.h"
#include "qt/simulation_window.h"
#include "qt/status_panes.h"
#include "results/document_file.h"
#include "support/test_paths.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QToolBar>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace grovex;

namespace {

// The texts of a menu's entries in order, "-" for a separator; hidden entries are left out.
QStringList entryTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (action->isVisible()) {
            texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        }
    }
    return texts;
}

QStringList menuBarTitles(QMainWindow& window) {
    QStringList titles;
    for (const QAction* action : window.menuBar()->actions()) {
        titles.append(action->text());
    }
    return titles;
}

// Windows closed with WA_DeleteOnClose go away at the next turn of the event loop, and the main window
// updates itself one turn later.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A path that names no document the program can read, and the message that refuses it.
struct Unreadable {
    QString path;
    std::string message;
};

// A named pipe without a writer, a directory, a link that leads back to itself and a sparse file of 200 GB,
// all named as documents, made in `folder`; and /dev/zero.
std::vector<Unreadable> unreadableDocuments(const QString& folder) {
    const std::filesystem::path dir = folder.toStdString();
    const std::filesystem::path pipe = dir / "pipe.gvx";
    const std::filesystem::path directory = dir / "folder.gvx";
    const std::filesystem::path loop = dir / "loop.gvx";
    const std::filesystem::path huge = dir / "huge.gvx";
    if (!std::filesystem::exists(pipe)) {
        ::mkfifo(pipe.c_str(), 0600);
        std::filesystem::create_directory(directory);
        std::filesystem::create_symlink(dir / "back.gvx", loop);
        std::filesystem::create_symlink(loop, dir / "back.gvx");
        { std::ofstream create(huge); }
        std::filesystem::resize_file(huge, std::uintmax_t{200} * 1000 * 1000 * 1000);
    }
    const auto refused = [](const std::filesystem::path& path, const std::string& reason) {
        return Unreadable{QString::fromStdString(path.string()),
                          "Unable to open " + path.string() + ": " + reason + "."};
    };
    return {
        refused(pipe, "it is not a regular file"),
        refused(directory, "it is a directory"),
        refused(loop, "Too many levels of symbolic links"),
        refused(huge, "it is larger than the largest document file (768692 bytes)"),
        refused("/dev/zero", "it is not a regular file"),
    };
}

QByteArray runCli(const QStringList& arguments) {
    QProcess cli;
    cli.start(QString::fromStdString(cliPath()), arguments);
    if (!cli.waitForFinished(30000) || cli.exitCode() != 0) {
        qWarning() << "grovex-cli failed:" << cli.readAllStandardError();
        return {};
    }
    return cli.readAllStandardOutput();
}

} // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithOneNewSimulationAndAHiddenTreeList();
    void simulationMenusHoldTheirItemsInOrder();
    void treeListCommandTogglesTheWindow();
    void openedDocumentShowsItsTablesOnce();
    void refusedDocumentShowsItsMessageAndOpensNothing();
    void viewAllTablesTogglesCheckMarkAndSetting();
    void fontSizeChangeIsRemembered();
    void copyAfterSelectAllGivesTheCommandLineText();
    void modifiedDocumentMarksTitleAndStatusPane();
    void closingAsksForModifiedDocumentsAndRemembersPlacement();
    void barsAndPlacementComeBackAtTheNextStart();
    void droppedDocumentsOpen();
    void unreadableDocumentsShowTheirMessageAndLeaveEveryWindowAsItWas();
    void unreadableDocumentOnTheCommandLineStartsWithANewSimulation();
    void newWindowSharesTheDocument();
    void screenshots();

private:
    QString savedDocument();

    fakes::AppSandbox sandbox_{fakes::AppDirectory::Sandbox};
};

void ApplicationTest::init() {
    QVERIFY(sandbox_.enter());
}

void ApplicationTest::cleanup() {
    sandbox_.leave();
}

// The default projection of grovex-cli, saved as a document.
QString ApplicationTest::savedDocument() {
    QString path = sandbox_.filePath(QStringLiteral("stand.gvx"));
    runCli({QStringLiteral("project"), QStringLiteral("--save"), path});
    return path;
}

void ApplicationTest::startsWithOneNewSimulationAndAHiddenTreeList() {
    auto app = sandbox_.start();
    QVERIFY(app);
    MainWindow& main = app->mainWindow();
    QVERIFY(main.isVisible());

    const auto simulations = main.simulationWindows();
    QCOMPARE(simulations.size(), size_t{1});
    QCOMPARE(simulations[0]->windowTitle(), QStringLiteral("GROVEX1[*]"));
    QCOMPARE(main.activeSimulation(), simulations[0]);
    QCOMPARE(simulations[0]->document().model.lastTable(), -1);

    QMdiSubWindow* treeList = app->treeListWindow();
    QVERIFY(treeList != nullptr);
    QCOMPARE(treeList->windowTitle(), QStringLiteral("Tree List"));
    QVERIFY(treeList->isHidden());
    QCOMPARE(main.mdiArea().subWindowList().size(), 2);

    const QString expectedDirectory = QDir::toNativeSeparators(sandbox_.path()) + QDir::separator();
    QCOMPARE(QString::fromStdString(app->appDirectory()), expectedDirectory);
    QCOMPARE(QString::fromStdString(app->settings().stringOr("Directories", "Application", "")), expectedDirectory);

    // A second new document counts on.
    app->executeCommand(cmd::kFileNew);
    QCOMPARE(main.activeSimulation()->windowTitle(), QStringLiteral("GROVEX2[*]"));
}

void ApplicationTest::simulationMenusHoldTheirItemsInOrder() {
    auto app = sandbox_.start();
    MainWindow& main = app->mainWindow();
    QCOMPARE(menuBarTitles(main), (QStringList{"&File", "&Edit", "&Macro", "&View", "&Window", "&Help"}));

    const std::vector<QMenu*>& menus = main.commands().menus(129);
    QCOMPARE(entryTexts(menus[0]),
             (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Close", "&Save\tCtrl+S", "Save &As...", "Save A&ll",
                          "-", "Export &Tables...", "Export C&hart...", "-", "&Print...\tCtrl+P", "Print Pre&view",
                          "P&rint Setup...", "-", "Recent File", "-", "E&xit"}));
    QCOMPARE(entryTexts(menus[3]),
             (QStringList{"&Toolbar", "&Status Bar", "-", "&Increase Font Size", "&Decrease Font Size", "-",
                          "Show or Hide Tree &List", "View &All Tables", "C&harts", "-", "Stand &Value"}));

    // The empty view: nothing to select or copy; a stand can be initialized; a macro can be recorded, not played.
    CommandActions& commands = main.commands();
    QVERIFY(!commands.action(cmd::kEditCopy)->isEnabled());
    QVERIFY(!commands.action(cmd::kEditSelectAll)->isEnabled());
    QVERIFY(commands.action(cmd::kInitializeAndProject)->isEnabled());
    QVERIFY(!commands.action(cmd::kMidrotationAndProject)->isEnabled());
    QVERIFY(commands.action(cmd::kRecordMacro)->isEnabled());
    QVERIFY(!commands.action(cmd::kPlayMacro)->isEnabled());
    QVERIFY(commands.action(cmd::kShowHideTreeList)->isEnabled());
    QVERIFY(commands.action(cmd::kFileSave)->isEnabled());
    QVERIFY(commands.action(cmd::kViewToolbar)->isChecked());
    QCOMPARE(commands.action(cmd::kReset)->toolTip(), QStringLiteral("Reset (ctrl R)"));
    QCOMPARE(commands.action(cmd::kReset)->statusTip(), QStringLiteral("Reset the current view"));
    QCOMPARE(commands.action(cmd::kEditCopy)->shortcuts(),
             (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Ins"))}));
    QCOMPARE(commands.toolBar()->actions().size(), 29); // the Charts button after a separator at the end

    // Without a simulation window the short menu shows.
    main.activeSimulation()->close();
    settle();
    QCOMPARE(menuBarTitles(main), (QStringList{"&File", "&View", "&Help"}));
    QVERIFY(!commands.action(cmd::kFileSave)->isEnabled());
}

void ApplicationTest::treeListCommandTogglesTheWindow() {
    auto app = sandbox_.start();
    MainWindow& main = app->mainWindow();
    main.executeCommand(cmd::kShowHideTreeList);
    QVERIFY(app->treeListWindow()->isVisible());
    QCOMPARE(main.mdiArea().currentSubWindow(), app->treeListWindow());
    main.executeCommand(cmd::kToolbarTreeList);
    QVERIFY(app->treeListWindow()->isHidden());
    // The simulation window becomes the active one again, with its menu.
    QVERIFY(main.activeSimulation() != nullptr);
    QCOMPARE(main.menuBar()->actions().size(), 6);

    // Closed by the user, it is made again.
    main.executeCommand(cmd::kShowHideTreeList);
    app->treeListWindow()->close();
    settle();
    QVERIFY(app->treeListWindow() == nullptr);
    main.executeCommand(cmd::kShowHideTreeList);
    QVERIFY(app->treeListWindow() != nullptr);
    QVERIFY(app->treeListWindow()->isVisible());
    QCOMPARE(app->treeListWindow()->windowTitle(), QStringLiteral("Tree List"));
}

void ApplicationTest::openedDocumentShowsItsTablesOnce() {
    const QString path = savedDocument();
    auto app = sandbox_.start({path});
    QVERIFY(app);
    MainWindow& main = app->mainWindow();
    QCOMPARE(main.simulationWindows().size(), size_t{1});
    SimulationWindow* window = main.activeSimulation();
    QCOMPARE(window->windowTitle(), QStringLiteral("stand.gvx[*]"));
    QVERIFY(window->document().model.lastTable() >= 0);
    QVERIFY(main.commands().action(cmd::kEditSelectAll)->isEnabled());

    // The tables are painted: black text on the white view.
    const QImage image = window->resultsWidget().viewport()->grab().toImage();
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
        }
    }
    QVERIFY(dark > 100);

    // Opening it again activates the window it has.
    app->executeCommand(cmd::kFileNew);
    QCOMPARE(app->openDocumentFile(path), window);
    QCOMPARE(main.activeSimulation(), window);
    QCOMPARE(main.simulationWindows().size(), size_t{2});

    // File Open through the dialog remembers the folder, and the recent-file list names the file.
    sandbox_.ui().queueFileName(path.toStdString());
    main.executeCommand(cmd::kFileOpen);
    QCOMPARE(sandbox_.ui().fileDialogs().back().filter,
             std::string("GROVEX Files (*.gvx)|*.gvx|All Files (*.*)|*.*||"));
    QCOMPARE(QString::fromStdString(app->settings().stringOr("Directories", "LastCurDir", "")),
             QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
    QCOMPARE(main.commands().action(cmd::kRecentFile1)->text(), QStringLiteral("&1 stand.gvx"));
    QVERIFY(main.commands().action(cmd::kRecentFile1)->isEnabled());
}

void ApplicationTest::refusedDocumentShowsItsMessageAndOpensNothing() {
    const QString path = savedDocument();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const char older[4] = {'\xFB', '\xC9', '\x9A', '\x3B'}; // 999999995
    file.write(older, 4);
    file.close();

    auto app = sandbox_.start();
    sandbox_.ui().clear();
    QVERIFY(app->openDocumentFile(path) == nullptr);
    QCOMPARE(sandbox_.ui().texts(),
             std::vector<std::string>{"Unable to open the file.  The file has a different version number."});
    QCOMPARE(app->mainWindow().simulationWindows().size(), size_t{1});

    // A start with that file on the command line shows the message and goes on with a new simulation.
    app.reset();
    auto started = sandbox_.start({path});
    QVERIFY(started);
    QCOMPARE(sandbox_.ui().texts(),
             std::vector<std::string>{"Unable to open the file.  The file has a different version number."});
    QCOMPARE(started->mainWindow().simulationWindows().size(), size_t{1});
}

void ApplicationTest::viewAllTablesTogglesCheckMarkAndSetting() {
    auto app = sandbox_.start({savedDocument()});
    MainWindow& main = app->mainWindow();
    QAction* allTables = main.commands().action(cmd::kViewAllTables);
    QVERIFY(allTables->isChecked());
    allTables->trigger();
    QVERIFY(!allTables->isChecked());
    QCOMPARE(app->settings().intOr("Options", "AllTables", -1), 0);
    allTables->trigger();
    QVERIFY(allTables->isChecked());
    QCOMPARE(app->settings().intOr("Options", "AllTables", -1), 1);
}

void ApplicationTest::fontSizeChangeIsRemembered() {
    auto app = sandbox_.start({savedDocument()});
    MainWindow& main = app->mainWindow();
    const int before = main.activeSimulation()->view().screenFont().height;
    main.commands().action(cmd::kIncreaseFontSize)->trigger();
    QCOMPARE(main.activeSimulation()->view().screenFont().height, before + 1);
    QVERIFY(QFile::exists(QString::fromStdString(app->appDirectory()) + QStringLiteral("def_Font.bin")));

    // A window made later starts with the remembered size.
    app->executeCommand(cmd::kFileNew);
    QCOMPARE(main.activeSimulation()->view().screenFont().height, before + 1);
}

void ApplicationTest::copyAfterSelectAllGivesTheCommandLineText() {
    const QByteArray expected = runCli({QStringLiteral("project"), QStringLiteral("--format"), QStringLiteral("text")});
    QVERIFY(!expected.isEmpty());
    auto app = sandbox_.start({savedDocument()});
    MainWindow& main = app->mainWindow();
    QApplication::clipboard()->clear();
    main.commands().action(cmd::kEditSelectAll)->trigger();
    QVERIFY(main.commands().action(cmd::kEditCopy)->isEnabled());

    // Ctrl+Insert reaches the view's Copy wherever the focus is in the window.
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main.activeSimulation()->resultsWidget(), Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text().toUtf8(), expected);
}

void ApplicationTest::modifiedDocumentMarksTitleAndStatusPane() {
    auto app = sandbox_.start();
    MainWindow& main = app->mainWindow();
    SimulationWindow* window = main.activeSimulation();
    QCOMPARE(main.statusPanes().modifiedText(), QString());
    window->document().setModified(true);
    main.updateCommandUi();
    QVERIFY(window->isWindowModified());
    QCOMPARE(main.statusPanes().modifiedText(), QStringLiteral("Modified"));

    // Saving clears both and names the window after its file.
    sandbox_.ui().queueFileName(sandbox_.filePath(QStringLiteral("saved.gvx")).toStdString());
    main.executeCommand(cmd::kFileSave);
    QVERIFY(!window->isWindowModified());
    QCOMPARE(window->windowTitle(), QStringLiteral("saved.gvx[*]"));
    QCOMPARE(main.statusPanes().modifiedText(), QString());
    QVERIFY(openDocument(sandbox_.filePath(QStringLiteral("saved.gvx")).toStdString()).ok());
}

void ApplicationTest::closingAsksForModifiedDocumentsAndRemembersPlacement() {
    auto app = sandbox_.start();
    MainWindow& main = app->mainWindow();
    main.activeSimulation()->document().setModified(true);
    main.setGeometry(100, 50, 800, 650);

    sandbox_.ui().clear();
    sandbox_.ui().queueAnswer(Answer::Cancel);
    QVERIFY(!main.close());
    QCOMPARE(sandbox_.ui().texts(), std::vector<std::string>{"Save changes to GROVEX1?"});
    QCOMPARE(main.simulationWindows().size(), size_t{1});

    // An unsaved macro is offered after the documents.
    app->macroStore().appendInteger("ProjectInit", -1);
    app->macroStore().setUnsaved(true);
    sandbox_.ui().clear();
    sandbox_.ui().queueAnswer(Answer::No);
    sandbox_.ui().queueAnswer(Answer::No);
    QVERIFY(main.close());
    QCOMPARE(sandbox_.ui().texts(),
             (std::vector<std::string>{"Save changes to GROVEX1?", "Save the current macro before exiting?"}));
    QCOMPARE(app->settings().stringOr("Window size", "Rect", ""), std::string("0100 0050 0900 0700"));
    QCOMPARE(app->settings().intOr("Window size", "Max", -1), 0);
    QVERIFY(app->settings().readBytes("BOSKWOODBarState", "State").has_value());
}

void ApplicationTest::barsAndPlacementComeBackAtTheNextStart() {
    {
        auto app = sandbox_.start();
        MainWindow& main = app->mainWindow();
        // The first start: four fifths of the screen's free area, in its middle.
        const QRect free = main.screen()->availableGeometry();
        const QRect first = main.normalGeometry();
        QVERIFY(qAbs(first.width() - free.width() * 0.8) <= 1 && qAbs(first.height() - free.height() * 0.8) <= 1);
        QVERIFY((first.center() - free.center()).manhattanLength() <= 2);
        // The first simulation window stays inside the area.
        const QRect child = main.activeSimulation()->geometry();
        QVERIFY(QRect(QPoint(0, 0), main.mdiArea().viewport()->size()).contains(child));
        main.executeCommand(cmd::kViewToolbar);
        main.executeCommand(cmd::kViewStatusBar);
        QVERIFY(!main.commands().action(cmd::kViewToolbar)->isChecked());
        main.setGeometry(120, 80, 700, 600);
        main.showMaximized();
        QVERIFY(main.close());
    }
    auto app = sandbox_.start();
    MainWindow& main = app->mainWindow();
    QVERIFY(main.isMaximized());
    QCOMPARE(main.normalGeometry(), QRect(120, 80, 700, 600));
    QVERIFY(main.commands().toolBar()->isHidden());
    QVERIFY(!main.commands().action(cmd::kViewToolbar)->isChecked());
    QVERIFY(!main.commands().action(cmd::kViewStatusBar)->isChecked());
}

void ApplicationTest::droppedDocumentsOpen() {
    const QString path = savedDocument();
    auto app = sandbox_.start();
    MainWindow& main = app->mainWindow();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile(sandbox_.filePath(QStringLiteral("notes.txt")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&main, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&main, &drop);
    QCOMPARE(main.simulationWindows().size(), size_t{2});
    QCOMPARE(main.activeSimulation()->windowTitle(), QStringLiteral("stand.gvx[*]"));
}

// File Open, a recent file and a drop of what is no document each show one message, and the window with
// unsaved work keeps its tables and stays modified.
void ApplicationTest::unreadableDocumentsShowTheirMessageAndLeaveEveryWindowAsItWas() {
    auto app = sandbox_.start({savedDocument()});
    MainWindow& main = app->mainWindow();
    SimulationWindow* work = main.activeSimulation();
    QVERIFY(work != nullptr);
    work->document().setModified(true);
    const std::vector<ResultTable> tables = work->document().model.tables;
    QVERIFY(!tables.empty());

    const auto drop = [&main](const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&main, &enter);
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&main, &dropped);
    };
    for (const Unreadable& file : unreadableDocuments(sandbox_.path())) {
        for (const char* route : {"File Open", "recent file", "drop"}) {
            sandbox_.ui().clear();
            if (route == std::string("File Open")) {
                sandbox_.ui().queueFileName(file.path.toStdString());
                main.executeCommand(cmd::kFileOpen);
            } else if (route == std::string("recent file")) {
                app->recentFiles().add(file.path.toStdString());
                main.refreshRecentFiles();
                main.executeCommand(cmd::kRecentFile1);
                const std::vector<std::string>& recent = app->recentFiles().files();
                QVERIFY(std::find(recent.begin(), recent.end(), file.path.toStdString()) == recent.end());
            } else if (file.path.endsWith(QLatin1String(".gvx"))) {
                drop(file.path);
            } else {
                continue; // only documents are taken from a drop
            }
            const QByteArray what = (file.path + QStringLiteral(" by ") + QLatin1String(route)).toLocal8Bit();
            QVERIFY2(sandbox_.ui().texts() == std::vector<std::string>{file.message}, what.constData());
            QVERIFY2(main.simulationWindows() == std::vector<SimulationWindow*>{work}, what.constData());
            QCOMPARE(main.activeSimulation(), work);
            QVERIFY(work->document().isModified());
            QCOMPARE(work->document().model.tables.size(), tables.size());
            QCOMPARE(work->document().model.tables.back().summary, tables.back().summary);
        }
    }
    QVERIFY(main.isVisible());
}

void ApplicationTest::unreadableDocumentOnTheCommandLineStartsWithANewSimulation() {
    for (const Unreadable& file : unreadableDocuments(sandbox_.path())) {
        auto app = sandbox_.start({file.path});
        QVERIFY(app);
        QCOMPARE(sandbox_.ui().texts(), std::vector<std::string>{file.message});
        QCOMPARE(app->mainWindow().simulationWindows().size(), size_t{1});
        QCOMPARE(app->mainWindow().activeSimulation()->document().title(), std::string("GROVEX1"));
        QVERIFY(app->mainWindow().isVisible());
    }
}

void ApplicationTest::newWindowSharesTheDocument() {
    auto app = sandbox_.start();
    MainWindow& main = app->mainWindow();
    SimulationWindow* first = main.activeSimulation();
    first->document().setModified(true);
    main.executeCommand(cmd::kWindowNew);
    SimulationWindow* second = main.activeSimulation();
    QVERIFY(second != first);
    QCOMPARE(&second->document(), &first->document());
    QCOMPARE(first->windowTitle(), QStringLiteral("GROVEX1:1[*]"));
    QCOMPARE(second->windowTitle(), QStringLiteral("GROVEX1:2[*]"));

    // Closing one of the two asks nothing; the last one asks, even before the first is gone.
    sandbox_.ui().clear();
    QVERIFY(second->close());
    QVERIFY(sandbox_.ui().messages().empty());
    main.updateCommandUi();
    QCOMPARE(first->windowTitle(), QStringLiteral("GROVEX1[*]"));
    sandbox_.ui().queueAnswer(Answer::Cancel);
    QVERIFY(!first->close());
    QCOMPARE(sandbox_.ui().texts(), std::vector<std::string>{"Save changes to GROVEX1?"});
}

// With GROVEX_SCREENSHOT_DIR set, pictures of the main window, its menus and the About box go there, to be
// looked at; otherwise nothing happens.
void ApplicationTest::screenshots() {
    const QString out = qEnvironmentVariable("GROVEX_SCREENSHOT_DIR");
    if (out.isEmpty()) {
        QSKIP("GROVEX_SCREENSHOT_DIR is not set");
    }
    auto app = sandbox_.start();
    MainWindow& main = app->mainWindow();
    main.setGeometry(0, 0, 1000, 700);
    main.mdiArea().currentSubWindow()->setGeometry(0, 0, 600, 400);
    settle();
    QVERIFY(main.grab().save(out + QStringLiteral("/main_empty.png")));

    app->openDocumentFile(savedDocument());
    main.executeCommand(cmd::kShowHideTreeList);
    main.executeCommand(cmd::kWindowCascade);
    main.activate(main.simulationWindows().back());
    main.activeSimulation()->document().setModified(true);
    main.updateCommandUi();
    settle();
    QVERIFY(main.grab().save(out + QStringLiteral("/main_document.png")));

    int index = 0;
    for (QMenu* menu : main.commands().menus(129)) {
        menu->popup(QPoint(0, 0));
        settle();
        QVERIFY(menu->grab().save(out + QStringLiteral("/menu129_%1.png").arg(index++)));
        menu->hide();
    }
    QMenu* file128 = main.commands().menus(128).front();
    file128->popup(QPoint(0, 0));
    settle();
    QVERIFY(file128->grab().save(out + QStringLiteral("/menu128_file.png")));
    file128->hide();

    AboutDialog about(app->shell(), app->appDirectory(), &main);
    about.show();
    settle();
    QVERIFY(about.grab().save(out + QStringLiteral("/about.png")));
}

QTEST_MAIN(ApplicationTest)
#include "application_test.moc"
