// The tree list window as a user meets it: hidden at start and toggled, its menu, opening a file, editing a
// cell in place, pasting a block, inserting rows through the dialog, saving and reading the file back, the
// question on closing, printing in pages, and the "Change Tree List State" dialog.

#include "app/commands.h"
#include "app_sandbox.h"
#include "modal_dialogs.h"
#include "model/growth_model.h"
#include "qt/application.h"
#include "qt/command_actions.h"
#include "qt/main_window.h"
#include "qt/simulation_window.h"
#include "qt/status_panes.h"
#include "qt/tree_list_dialogs_qt.h"
#include "qt/tree_list_widget.h"
#include "qt/tree_list_window.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"
#include "treelist/tree_list_file.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace grovex;

namespace {

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Pictures go to GROVEX_SNAPSHOT_DIR when it is set, to be looked at.
void keepSnapshot(const QImage& image, const QString& name) {
    const QString dir = qEnvironmentVariable("GROVEX_SNAPSHOT_DIR");
    if (!dir.isEmpty()) {
        image.save(dir + QLatin1Char('/') + name);
    }
}

// The centre of a grid cell in the widget's viewport, with the grid scrolled to the top left.
QPoint cellCentre(int row, int column) {
    return {treegrid::kCellWidth * column + treegrid::kCellWidth / 2,
            treegrid::kCellHeight * row + treegrid::kCellHeight / 2};
}

// A double click as the system delivers it: a press and release, then the double click and its release.
void doubleClickCell(TreeListWidget& widget, int row, int column) {
    QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, cellCentre(row, column));
    QTest::mouseDClick(widget.viewport(), Qt::LeftButton, {}, cellCentre(row, column));
}

QStringList menuBarTitles(QMainWindow& window) {
    QStringList titles;
    for (const QAction* action : window.menuBar()->actions()) {
        titles.append(action->text());
    }
    return titles;
}

} // namespace

class TreeListWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsHiddenAndTogglesWithItsOwnMenu();
    void opensEditsPastesAndSavesAFile();
    void cellsAreNamedInTheStatusBarTheToolTipsAndARefusedSave();
    void insertRowAsksForACountAndRefusesOneOutOfRange();
    void closingTheApplicationAsksAboutAModifiedList();
    void printsTheGridInPagesAcrossThenDown();
    void stateDialogRemovesEditsAndReturnsTheEntries();
    void aNamedPipeIsRefusedAtOnceAndTheSimulationKeepsItsWork();

private:
    // Shows the tree list window and loads `path` through File Open.
    TreeListWindow& openTreeList(const QString& path);
    QString sampleFile();

    fakes::AppSandbox sandbox_{fakes::AppDirectory::Unset, QRect(0, 0, 1000, 700)};
    std::unique_ptr<Application> app_;
};

void TreeListWindowTest::init() {
    QVERIFY(sandbox_.enter());
}

void TreeListWindowTest::cleanup() {
    app_.reset();
    sandbox_.leave();
}

QString TreeListWindowTest::sampleFile() {
    QString path = sandbox_.filePath(QStringLiteral("plot.dat"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write("1Tr 7  1.00 22 -1  -1 0  0 -1.0 -1.0 0 0.0\n"
                   "2  101  9.4 58.21\n"
                   "2  102 11.0 61.52\n"
                   "2  103  4.5 33.03\n"
                   "2  104 10.2 60.04\n");
    }
    return path;
}

TreeListWindow& TreeListWindowTest::openTreeList(const QString& path) {
    MainWindow& main = app_->mainWindow();
    main.executeCommand(cmd::kShowHideTreeList);
    TreeListWindow* window = app_->treeListWindow();
    window->setGeometry(0, 0, 760, 260);
    sandbox_.ui().queueFileName(path.toStdString());
    main.executeCommand(cmd::kFileOpen); // Ctrl+O in the tree list window opens a tree list
    settle();
    return *window;
}

void TreeListWindowTest::startsHiddenAndTogglesWithItsOwnMenu() {
    app_ = sandbox_.start();
    MainWindow& main = app_->mainWindow();
    TreeListWindow* window = app_->treeListWindow();
    QVERIFY(window != nullptr);
    QVERIFY(window->isHidden());
    QCOMPARE(app_->treeListDocument(), &window->document());
    QCOMPARE(window->document().title(), std::string("Untitled"));

    main.executeCommand(cmd::kToolbarTreeList);
    QVERIFY(window->isVisible());
    QCOMPARE(main.activeTreeList(), window);
    QCOMPARE(menuBarTitles(main), (QStringList{"&File", "&Edit", "&View", "&Window", "&Help"}));
    CommandActions& commands = main.commands();
    // No list yet: opening, resetting and inserting rows work, saving and printing wait for a list.
    QVERIFY(commands.action(cmd::kFileOpen)->isEnabled());
    QVERIFY(commands.action(cmd::kReset)->isEnabled());
    QVERIFY(commands.action(cmd::kInsertRow)->isEnabled());
    QVERIFY(commands.action(cmd::kFileSaveAll)->isEnabled());
    QVERIFY(!commands.action(cmd::kFileSave)->isEnabled());
    QVERIFY(!commands.action(cmd::kFilePrint)->isEnabled());
    QVERIFY(!commands.action(cmd::kEditCopy)->isEnabled());
    QCOMPARE(commands.action(cmd::kInsertRow)->text(), QStringLiteral("&Insert Row"));
    if (!qEnvironmentVariable("GROVEX_SNAPSHOT_DIR").isEmpty()) {
        settle();
        keepSnapshot(main.grab().toImage(), QStringLiteral("tree_list_main_empty.png"));
        int index = 0;
        for (QMenu* menu : commands.menus(135)) {
            menu->popup(QPoint(0, 0));
            settle();
            keepSnapshot(menu->grab().toImage(), QStringLiteral("menu135_%1.png").arg(index++));
            menu->hide();
        }
    }

    main.executeCommand(cmd::kShowHideTreeList);
    QVERIFY(window->isHidden());
    QCOMPARE(menuBarTitles(main).size(), 6); // the simulation's menu again
}

void TreeListWindowTest::opensEditsPastesAndSavesAFile() {
    app_ = sandbox_.start();
    MainWindow& main = app_->mainWindow();
    const QString path = sampleFile();
    TreeListWindow& window = openTreeList(path);
    TreeListWidget& widget = window.widget();
    treeListView& view = window.view();

    QVERIFY(view.loaded());
    QCOMPARE(view.treeList().rowCount(), 4);
    QCOMPARE(window.windowTitle(), QStringLiteral("Tree List")); // never the file's name
    QCOMPARE(main.windowTitle(), QStringLiteral("GROVEX - plot.dat"));
    QVERIFY(main.commands().action(cmd::kFileSave)->isEnabled());
    QCOMPARE(main.statusPanes().modifiedText(), QString());
    keepSnapshot(window.grab().toImage(), QStringLiteral("tree_list_loaded.png"));

    // A double click opens the editor over the cell, centred, limited to 20 characters, its text selected.
    doubleClickCell(widget, 2, 2);
    CellEditor& editor = widget.editor();
    QVERIFY(editor.isVisible());
    QVERIFY(view.editing());
    const Rect rect = view.editorRect();
    QCOMPARE(editor.geometry(), QRect(rect.left, rect.top, rect.width(), rect.height()));
    QCOMPARE(editor.text(), QStringLiteral("11.0"));
    QCOMPARE(editor.selectedText(), QStringLiteral("11.0"));
    QCOMPARE(editor.maxLength(), 20);
    QVERIFY(editor.alignment() & Qt::AlignHCenter);
    keepSnapshot(window.grab().toImage(), QStringLiteral("tree_list_editing.png"));

    QTest::keyClicks(&editor, QStringLiteral("12.75"));
    QTest::keyClick(&editor, Qt::Key_Return);
    QVERIFY(!editor.isVisible());
    QCOMPARE(view.treeList().rows[1].dbh, 12.75f);
    QVERIFY(window.document().isModified());
    QCOMPARE(main.statusPanes().modifiedText(), QStringLiteral("Modified"));
    settle();
    keepSnapshot(main.grab().toImage(), QStringLiteral("tree_list_main_modified.png"));

    // Tab stores the cell and moves the editor on; Escape keeps the typed text without a new mark.
    doubleClickCell(widget, 3, 1);
    QTest::keyClicks(&editor, QStringLiteral("A7"));
    QTest::keyClick(&editor, Qt::Key_Tab);
    QCOMPARE(view.treeList().rows[2].id, std::string("A7"));
    QVERIFY(view.editing());
    QCOMPARE(view.editCell().row, 3);
    QCOMPARE(view.editCell().column, 2);
    window.document().setModified(false);
    QTest::keyClicks(&editor, QStringLiteral("5"));
    QTest::keyClick(&editor, Qt::Key_Escape);
    QVERIFY(!view.editing());
    QCOMPARE(view.treeList().rows[2].dbh, 5.0f);
    QVERIFY(!window.document().isModified());

    // Losing the focus stores the text too.
    doubleClickCell(widget, 4, 3);
    QTest::keyClicks(&editor, QStringLiteral("70"));
    QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, cellCentre(1, 0));
    QVERIFY(!view.editing());
    QCOMPARE(view.treeList().rows[3].height, 70.0f);

    // A 2 x 2 block from the clipboard, pasted at the current cell (row 1, column 2).
    QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, cellCentre(1, 2));
    QVERIFY(main.commands().action(cmd::kEditPaste)->isEnabled());
    QGuiApplication::clipboard()->setText(QStringLiteral("8.5\t40.5\r\n9.5\t41.5"));
    main.executeCommand(cmd::kEditPaste);
    QCOMPARE(view.treeList().rows[0].dbh, 8.5f);
    QCOMPARE(view.treeList().rows[0].height, 40.5f);
    QCOMPARE(view.treeList().rows[1].dbh, 9.5f);
    QCOMPARE(view.treeList().rows[1].height, 41.5f);
    QVERIFY(sandbox_.ui().messages().empty());

    // Save writes to the file it came from; reading it back gives what the grid shows.
    main.executeCommand(cmd::kFileSave);
    QVERIFY(!window.document().isModified());
    QVERIFY(sandbox_.ui().fileDialogs().size() == 1); // only the Open
    TreeList reread;
    fakes::RecordingUi quiet;
    QCOMPARE(readTreeListFile(path.toStdString(), reread, quiet), TreeListReadStatus::Complete);
    QCOMPARE(reread.rowCount(), 4);
    for (int r = 0; r < 4; ++r) {
        const TreeRow& saved = reread.rows[static_cast<size_t>(r)];
        const TreeRow& shown = view.treeList().rows[static_cast<size_t>(r)];
        QCOMPARE(saved.id, shown.id);
        QCOMPARE(saved.dbh, shown.dbh);
        QCOMPARE(saved.height, shown.height);
        QCOMPARE(saved.crownClass, shown.crownClass);
    }
    QCOMPARE(reread.rows[2].id, std::string("A7"));
}

void TreeListWindowTest::cellsAreNamedInTheStatusBarTheToolTipsAndARefusedSave() {
    app_ = sandbox_.start();
    MainWindow& main = app_->mainWindow();
    TreeListWindow& window = openTreeList(sampleFile());
    TreeListWidget& widget = window.widget();
    QCOMPARE(main.statusBar()->currentMessage(), QStringLiteral("Ready"));

    // The current cell, wherever the mouse or the keys put it.
    QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, cellCentre(2, 3));
    QCOMPARE(main.statusBar()->currentMessage(), QStringLiteral("Row 2, Height (feet)"));
    main.executeCommand(cmd::kCellUp);
    QCOMPARE(main.statusBar()->currentMessage(), QStringLiteral("Row 1, Height (feet)"));

    // The cell under the mouse; nothing beside the tree cells.
    const auto toolTipAt = [&widget](QPoint at) {
        QHelpEvent help(QEvent::ToolTip, at, widget.viewport()->mapToGlobal(at));
        QApplication::sendEvent(widget.viewport(), &help);
        return help.isAccepted() ? QToolTip::text() : QString();
    };
    QCOMPARE(toolTipAt(cellCentre(0, 2)), QStringLiteral("Header, Plot area (acres)"));
    QCOMPARE(toolTipAt(cellCentre(3, 4)), QStringLiteral("Row 3, Crown class"));
    QCOMPARE(toolTipAt(cellCentre(3, 6)), QString());
    settle();
    keepSnapshot(main.grab().toImage(), QStringLiteral("tree_list_cell_names.png"));

    // A height that does not fit its field: the refusal names the cell as the status bar does.
    doubleClickCell(widget, 2, 3);
    QTest::keyClicks(&widget.editor(), QStringLiteral("104.3"));
    QTest::keyClick(&widget.editor(), Qt::Key_Return);
    QCOMPARE(main.statusBar()->currentMessage(), QStringLiteral("Row 2, Height (feet)"));
    main.executeCommand(cmd::kFileSave);
    QCOMPARE(sandbox_.ui().texts(),
             std::vector<std::string>{
                 "Row 2, Height: 104.3 does not fit its 4-character field. The tree list was not saved."});

    // The simulation window has nothing to name.
    main.executeCommand(cmd::kShowHideTreeList);
    QCOMPARE(main.statusBar()->currentMessage(), QStringLiteral("Ready"));
}

void TreeListWindowTest::insertRowAsksForACountAndRefusesOneOutOfRange() {
    app_ = sandbox_.start();
    MainWindow& main = app_->mainWindow();
    TreeListWindow& window = openTreeList(sampleFile());
    QTest::mouseClick(window.widget().viewport(), Qt::LeftButton, {}, cellCentre(2, 0));

    QString caption;
    whenDialogShows<InsertRowsDialog>([&caption](InsertRowsDialog& dialog) {
        caption = dialog.windowTitle();
        QCOMPARE(dialog.rowsBox()->text(), QStringLiteral("1"));
        keepSnapshot(dialog.grab().toImage(), QStringLiteral("insert_rows.png"));
        dialog.rowsBox()->setText(QStringLiteral("300"));
        dialog.accept(); // refused: the dialog stays
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.rowsBox()->selectedText(), QStringLiteral("300"));
        dialog.rowsBox()->setText(QStringLiteral("2"));
        dialog.accept();
    });
    main.executeCommand(cmd::kInsertRow);
    QCOMPARE(caption, QStringLiteral("Insert how many rows?"));
    QCOMPARE(sandbox_.ui().texts(), std::vector<std::string>{"Please enter an integer between 1 and 299."});
    const TreeList& list = window.view().treeList();
    QCOMPARE(list.rowCount(), 6);
    QCOMPARE(list.rows[2].code, -1); // two blank rows after grid row 2
    QCOMPARE(list.rows[3].code, -1);
    QCOMPARE(list.rows[4].id, std::string("103"));

    // Cancel inserts nothing.
    whenDialogShows<InsertRowsDialog>([](InsertRowsDialog& dialog) { dialog.reject(); });
    main.executeCommand(cmd::kInsertRow);
    QCOMPARE(window.view().treeList().rowCount(), 6);
}

void TreeListWindowTest::closingTheApplicationAsksAboutAModifiedList() {
    app_ = sandbox_.start();
    MainWindow& main = app_->mainWindow();
    TreeListWindow& window = openTreeList(sampleFile());
    main.executeCommand(cmd::kResetKey); // not modified: cleared without a question, then modified
    QVERIFY(!window.view().loaded());
    QVERIFY(window.document().isModified());
    QVERIFY(sandbox_.ui().messages().empty());

    main.executeCommand(cmd::kShowHideTreeList); // hidden, it is still asked about
    sandbox_.ui().queueAnswer(Answer::Cancel);
    QVERIFY(!main.close());
    QCOMPARE(sandbox_.ui().texts(), std::vector<std::string>{"Save the Tree List before closing?"});
    QVERIFY(app_->treeListWindow() != nullptr);

    sandbox_.ui().queueAnswer(Answer::No);
    QVERIFY(main.close());
    QCOMPARE(sandbox_.ui().texts().size(), size_t{2}); // asked once more, not again while the windows close
}

void TreeListWindowTest::printsTheGridInPagesAcrossThenDown() {
    app_ = sandbox_.start();
    TreeListWindow& window = openTreeList(sampleFile());
    TreeListPrintable printable(window.view());

    // The grid is 683 pixels wide: a page 500 wide takes two across.
    const RenderedPage first = renderPrintPage(printable, 1, QSize(500, 300), 96);
    QCOMPARE(first.pageCount, 2);
    QVERIFY(!first.image.isNull());
    keepSnapshot(first.image, QStringLiteral("tree_list_print_1.png"));
    const RenderedPage second = renderPrintPage(printable, 2, QSize(500, 300), 96);
    keepSnapshot(second.image, QStringLiteral("tree_list_print_2.png"));
    QVERIFY(renderPrintPage(printable, 3, QSize(500, 300), 96).image.isNull());
    QCOMPARE(renderPrintPage(printable, 1, QSize(800, 1000), 96).pageCount, 1);
}

void TreeListWindowTest::stateDialogRemovesEditsAndReturnsTheEntries() {
    GrowthModel model;
    for (int slot = 1; slot <= 4; ++slot) {
        model.dbh[slot] = 4.0f + static_cast<float>(slot);
        model.ht[slot] = 30.0f + static_cast<float>(slot);
        model.freq[slot] = 50.0f;
        model.thinFreq[slot] = 0.0f;
    }
    fakes::RecordingUi ui;
    fakes::FakeClipboard clipboard;
    treeListStateDlg form(model, ui, clipboard, treeValuesEditor(ui));
    TreeListStateDialog dialog(form);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Change Tree List State"));
    QListWidget* list = dialog.list();
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->item(0)->text(), QStringLiteral("5.00\t31.00\t50.00\t0.00"));
    QStringList notes;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        notes << label->text();
    }
    QVERIFY(notes.contains(QStringLiteral("* Double click an item to edit it.")));
    QVERIFY(notes.contains(QStringLiteral("Live\nFrequency")));
    keepSnapshot(dialog.grab().toImage(), QStringLiteral("tree_list_state.png"));

    // Remove the second and fourth entries.
    list->item(1)->setSelected(true);
    list->item(3)->setSelected(true);
    ui.queueAnswer(Answer::Yes);
    dialog.findChild<QPushButton*>(controlName(treelistdlg::kRemoveSelected))->click();
    QCOMPARE(list->count(), 2);
    QCOMPARE(ui.texts(), std::vector<std::string>{"Remove the selected entries?"});

    // A double click edits the entry through "Change Tree Values"; a malformed number is refused first.
    whenDialogShows<TreeValuesDialog>([](TreeValuesDialog& values) {
        QCOMPARE(values.box(treelistdlg::kHeight)->text(), QStringLiteral("33"));
        keepSnapshot(values.grab().toImage(), QStringLiteral("tree_values.png"));
        values.box(treelistdlg::kHeight)->setText(QStringLiteral("abc"));
        values.accept();
        QVERIFY(values.isVisible());
        values.box(treelistdlg::kHeight)->setText(QStringLiteral("34.5"));
        values.accept();
    });
    const QRect second = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(list->item(1)->text(), QStringLiteral("7.00\t34.50\t50.00\t0.00"));
    QCOMPARE(ui.texts().back(), std::string("Please enter a number."));

    dialog.findChild<QPushButton*>(controlName(1))->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(form.resultCount(), 2);
    QCOMPARE(form.resultText(), std::string("5.00\t31.00\t50.00\t0.00|7.00\t34.50\t50.00\t0.00|"));
}

// The tree list window's File Open of a named pipe answers at once with the reason; the list stays empty and
// the simulation window keeps its unsaved work.
void TreeListWindowTest::aNamedPipeIsRefusedAtOnceAndTheSimulationKeepsItsWork() {
    app_ = sandbox_.start();
    SimulationWindow* simulation = app_->mainWindow().activeSimulation();
    simulation->document().setModified(true);
    const std::string pipe = sandbox_.filePath(QStringLiteral("pipe.dat")).toStdString();
    QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);
    sandbox_.ui().clear();
    TreeListWindow& window = openTreeList(QString::fromStdString(pipe));
    QCOMPARE(sandbox_.ui().texts(), std::vector<std::string>{"Unable to open " + pipe + ": it is not a regular file."});
    QVERIFY(!window.view().loaded());
    QVERIFY(simulation->document().isModified());
    QCOMPARE(app_->mainWindow().simulationWindows(), std::vector<SimulationWindow*>{simulation});
}

QTEST_MAIN(TreeListWindowTest)
#include "tree_list_window_test.moc"
