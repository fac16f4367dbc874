// The projection commands of a simulation window as a user reaches them: through the menu actions, with the
// "Initialize Stand" sheet or scripted inputs, and the enabled states the menus show.

#include "app/commands.h"
#include "app_sandbox.h"
#include "dialogs/general_info_dlg.h"
#include "dialogs/out_units_dlg.h"
#include "modal_dialogs.h"
#include "qt/application.h"
#include "qt/command_actions.h"
#include "qt/initialize_stand_sheet.h"
#include "qt/main_window.h"
#include "qt/results_widget.h"
#include "qt/simulation_window.h"
#include "qt/tree_list_dialogs_qt.h"
#include "scripted_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <memory>
#include <utility>

using namespace grovex;

namespace {

Input1 standInput(const std::string& title, int nyears, float ageTarget) {
    Input1 input;
    input.title = title;
    input.nyears = nyears;
    input.pcrit = kCriterionAge;
    input.target = ageTarget;
    return input;
}

Input2Values rowThinning(float ageTarget) {
    Input2Values thin;
    thin.qthin = true;
    thin.ithin = 1;
    thin.rcut = 4;
    thin.pcrit = kCriterionAge;
    thin.target = ageTarget;
    return thin;
}

// Fills the open "Initialize Stand" sheet once the event loop runs: the title, a rotation of 40 years, 85 percent
// survival and the age target on the first page, inside-bark volumes on the second (empty target: the sheet is
// cancelled), then OK. A sheet that refuses is cancelled so that the test cannot hang.
void answerSheetLater(const QString& title, const QString& ageTarget, bool* refused) {
    QTimer::singleShot(0, [=] {
        auto* sheet = qobject_cast<InitializeStandSheet*>(QApplication::activeModalWidget());
        QVERIFY(sheet != nullptr);
        if (ageTarget.isEmpty()) {
            sheet->reject();
            return;
        }
        const std::pair<int, QString> entries[] = {{plantation::kTitle, title},
                                                   {plantation::kRotation, QStringLiteral("40")},
                                                   {plantation::kPercentSurvival, QStringLiteral("85")},
                                                   {plantation::kFirstTarget, ageTarget}};
        for (const auto& [id, text] : entries) {
            auto* box = qobject_cast<QLineEdit*>(sheet->control(id));
            QVERIFY(box != nullptr);
            box->selectAll();
            QTest::keyClicks(box, text);
        }
        sheet->tabs()->setCurrentIndex(1);
        qobject_cast<QAbstractButton*>(sheet->control(volumeunits::kInsideBarkButton))->click();
        for (const auto& [id, text] : {std::pair{volumeunits::kMinDbhClass, QStringLiteral("6")},
                                       std::pair{volumeunits::kTopDiameter, QStringLiteral("4")}}) {
            auto* box = qobject_cast<QLineEdit*>(sheet->control(id));
            QVERIFY(box != nullptr);
            box->selectAll();
            QTest::keyClicks(box, text);
        }
        sheet->findChild<QPushButton*>(controlName(1))->click();
        if (sheet->isVisible()) {
            *refused = true;
            sheet->reject();
        }
    });
}

// With GROVEX_SNAPSHOT_DIR set, the main window is kept as a picture there.
void keepSnapshot(MainWindow& widget, const QString& name) {
    const QString dir = qEnvironmentVariable("GROVEX_SNAPSHOT_DIR");
    if (!dir.isEmpty()) {
        widget.setGeometry(0, 0, 1000, 700);
        widget.mdiArea().currentSubWindow()->setGeometry(0, 0, 900, 560);
        QCoreApplication::processEvents();
        QVERIFY(widget.grab().save(dir + QLatin1Char('/') + name));
    }
}

} // namespace

class ProjectionWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void initializeThroughTheSheetShowsTheFirstTable();
    void aFirstInitializeNeedsNoTypingAndItsTableFitsTheWindow();
    void aTypedSiteIndexGrowsAnotherStand();
    void treatmentsAppendTablesAndResetEmptiesTheView();
    void resetOfAModifiedDocumentCanBeCancelledOrSaved();
    void otherWindowsOfTheDocumentFollow();
    void changedTreeListAppendsATable();

private:
    bool enabled(Application& app, int id) { return app.mainWindow().commands().action(id)->isEnabled(); }

    fakes::AppSandbox sandbox_{fakes::AppDirectory::Sandbox};
};

void ProjectionWindowTest::init() {
    QVERIFY(sandbox_.enter());
}

void ProjectionWindowTest::cleanup() {
    sandbox_.leave();
}

void ProjectionWindowTest::initializeThroughTheSheetShowsTheFirstTable() {
    auto app = sandbox_.start();
    QVERIFY(app);
    SimulationWindow* window = app->mainWindow().activeSimulation();
    QVERIFY(window != nullptr);
    CGROVEXDoc& doc = window->document();

    // A new window: only initializing makes sense.
    QVERIFY(enabled(*app, cmd::kInitializeAndProject));
    QVERIFY(enabled(*app, cmd::kInitializeKey));
    QVERIFY(!enabled(*app, cmd::kMidrotationAndProject));
    QVERIFY(!enabled(*app, cmd::kMidrotationKey));
    QVERIFY(!enabled(*app, cmd::kProjectToNextTarget));
    QVERIFY(enabled(*app, cmd::kReset));
    QVERIFY(enabled(*app, cmd::kRecordMacro));

    // Cancelled: nothing changes, no state file stays behind.
    bool refused = false;
    answerSheetLater({}, {}, &refused);
    trigger(*app, cmd::kInitializeAndProject);
    QCOMPARE(doc.model.lastTable(), -1);
    QVERIFY(!doc.isModified());
    QVERIFY(doc.run.needsInit);
    QVERIFY(!QFile::exists(sandbox_.filePath(QString::fromLatin1(kTemporaryStateFileName))));

    // Accepted through the key's command: a table, the title on the view, the document modified.
    answerSheetLater(QStringLiteral("Upland plantation"), QStringLiteral("30"), &refused);
    trigger(*app, cmd::kInitializeKey);
    QVERIFY2(!refused, sandbox_.ui().texts().empty() ? "" : sandbox_.ui().texts().back().c_str());
    QVERIFY(doc.model.lastTable() >= 0);
    QCOMPARE(doc.model.age, 30);
    QCOMPARE(doc.display.standTitle, std::string("Upland plantation"));
    QVERIFY(doc.isModified());
    QVERIFY(window->isWindowModified());
    // The scroll bars know the new extent.
    const int viewportHeight = window->resultsWidget().viewport()->height();
    QCOMPARE(window->resultsWidget().verticalScrollBar()->maximum(),
             std::max(0, window->view().scrollSize().height - viewportHeight));
    QVERIFY(!QFile::exists(sandbox_.filePath(QString::fromLatin1(kTemporaryStateFileName))));
    QVERIFY(enabled(*app, cmd::kMidrotationAndProject));
    QVERIFY(enabled(*app, cmd::kProjectToNextTarget));
    QVERIFY(enabled(*app, cmd::kRecordMacro));
}

// OK on the sheet as it first opens: bare land, site 60, 800 trees, to age 25. A new window in a main window
// with room enough shows that table whole.
void ProjectionWindowTest::aFirstInitializeNeedsNoTypingAndItsTableFitsTheWindow() {
    auto app = sandbox_.start();
    QVERIFY(app);
    MainWindow& main = app->mainWindow();
    main.setGeometry(0, 0, 1400, 1000);
    QCoreApplication::processEvents();
    trigger(*app, cmd::kFileNew);
    SimulationWindow* window = main.activeSimulation();
    QCOMPARE(window->document().title(), std::string("GROVEX2"));
    const Size whole = window->view().wholeTableSize();
    // Inside the widget's frame (the empty view still scrolls over its starting size).
    const QSize inside = window->resultsWidget().contentsRect().size();
    QVERIFY2(inside.width() >= whole.width && inside.height() >= whole.height,
             qPrintable(QStringLiteral("%1x%2 for %3x%4")
                            .arg(inside.width())
                            .arg(inside.height())
                            .arg(whole.width)
                            .arg(whole.height)));

    whenDialogShows<InitializeStandSheet>([](InitializeStandSheet& sheet) {
        sheet.findChild<QPushButton*>(controlName(1))->click();
        if (sheet.isVisible()) {
            sheet.reject();
        }
    });
    trigger(*app, cmd::kInitializeAndProject);
    QVERIFY(sandbox_.ui().texts().empty());
    CGROVEXDoc& doc = window->document();
    QCOMPARE(doc.model.lastTable(), 0);
    QCOMPARE(doc.model.age, 25);
    // The site index is the dominant height at age 25.
    QVERIFY(qAbs(doc.model.tables[0].stand.dominantHeight - 60.0f) < 0.01f);
    QCOMPARE(doc.plantationPage.tp, 800.0f);
    QCOMPARE(doc.volumeUnitsPage.minDbhClass, 7);
    // The whole table is in sight: nothing to scroll.
    QCOMPARE(window->resultsWidget().verticalScrollBar()->maximum(), 0);
    QCOMPARE(window->resultsWidget().horizontalScrollBar()->maximum(), 0);
    keepSnapshot(main, QStringLiteral("first_projection.png"));
}

// The site index box takes what the user types, and the projection follows it.
void ProjectionWindowTest::aTypedSiteIndexGrowsAnotherStand() {
    auto app = sandbox_.start();
    CGROVEXDoc& doc = app->mainWindow().activeSimulation()->document();
    const auto initializeWithSite = [&](const QString& site) {
        whenDialogShows<InitializeStandSheet>([site](InitializeStandSheet& sheet) {
            auto* box = qobject_cast<QLineEdit*>(sheet.control(plantation::kSiteIndex));
            QVERIFY(box != nullptr && box->isEnabled() && !box->isReadOnly());
            box->selectAll();
            QTest::keyClicks(box, site);
            sheet.findChild<QPushButton*>(controlName(1))->click();
            if (sheet.isVisible()) {
                sheet.reject();
            }
        });
        trigger(*app, cmd::kInitializeAndProject);
    };

    initializeWithSite(QStringLiteral("60"));
    QCOMPARE(doc.model.lastTable(), 0);
    const ResultTable site60 = doc.model.tables[0];

    sandbox_.ui().queueAnswer(Answer::No); // not saved before the reset
    trigger(*app, cmd::kReset);
    QCOMPARE(doc.model.lastTable(), -1);
    // The reopened sheet shows the site index accepted last time; 70 replaces it.
    whenDialogShows<InitializeStandSheet>([](InitializeStandSheet& sheet) {
        auto* box = qobject_cast<QLineEdit*>(sheet.control(plantation::kSiteIndex));
        QCOMPARE(box->text(), QStringLiteral("60.000000"));
        sheet.reject();
    });
    trigger(*app, cmd::kInitializeAndProject);
    initializeWithSite(QStringLiteral("70"));
    QCOMPARE(doc.model.lastTable(), 0);
    QCOMPARE(doc.plantationPage.site, 70.0f);
    const ResultTable& site70 = doc.model.tables[0];
    QCOMPARE(site70.age, site60.age);
    QVERIFY(qAbs(site70.stand.dominantHeight - 70.0f) < 0.01f);
    QVERIFY(site70.stand.basalArea > site60.stand.basalArea);
    QVERIFY(site70.summary.find("Site Index =   70.00") != std::string::npos);
}

void ProjectionWindowTest::treatmentsAppendTablesAndResetEmptiesTheView() {
    auto app = sandbox_.start();
    SimulationWindow* window = app->mainWindow().activeSimulation();
    CGROVEXDoc& doc = window->document();
    ScriptedInputs& inputs = scriptActiveWindow(*app);

    inputs.input1s.push_back(standInput("Scripted stand", 60, 20));
    trigger(*app, cmd::kInitializeAndProject);
    const int firstTables = doc.model.lastTable();
    QVERIFY(firstTables >= 0);
    QCOMPARE(doc.model.age, 20);

    // A thinning to age 25 appends tables; the view scrolls to the newest.
    inputs.input2s.push_back(rowThinning(25));
    trigger(*app, cmd::kMidrotationKey);
    QCOMPARE(inputs.input2Calls, 1);
    const int thinnedTables = doc.model.lastTable();
    QVERIFY(thinnedTables > firstTables);
    QCOMPARE(doc.model.age, 25);
    QScrollBar* scrollBar = window->resultsWidget().verticalScrollBar();
    QVERIFY(scrollBar->maximum() > 0);
    QVERIFY(window->view().scrollPosition().y > 0);
    QCOMPARE(scrollBar->value(), window->view().scrollPosition().y);
    keepSnapshot(app->mainWindow(), QStringLiteral("projection_thinned.png"));

    // A cancelled treatment changes nothing.
    trigger(*app, cmd::kMidrotationAndProject);
    QCOMPARE(doc.model.lastTable(), thinnedTables);
    QCOMPARE(doc.model.age, 25);

    // Reset of a modified document asks first; No resets without saving.
    sandbox_.ui().clear();
    sandbox_.ui().queueAnswer(Answer::No);
    trigger(*app, cmd::kResetKey);
    QCOMPARE(sandbox_.ui().texts(), std::vector<std::string>{"Save GROVEX1 before resetting?"});
    QCOMPARE(doc.model.lastTable(), -1);
    QVERIFY(doc.run.needsInit);
    QCOMPARE(window->view().scrollPosition().y, 0);
    QVERIFY(!enabled(*app, cmd::kMidrotationAndProject));
    QVERIFY(!enabled(*app, cmd::kProjectToNextTarget));
    QVERIFY(enabled(*app, cmd::kInitializeAndProject));
}

void ProjectionWindowTest::resetOfAModifiedDocumentCanBeCancelledOrSaved() {
    auto app = sandbox_.start();
    CGROVEXDoc& doc = app->mainWindow().activeSimulation()->document();
    ScriptedInputs& inputs = scriptActiveWindow(*app);
    inputs.input1s.push_back(standInput("Saved stand", 40, 20));
    trigger(*app, cmd::kInitializeAndProject);
    const int tables = doc.model.lastTable();
    QVERIFY(tables >= 0);

    sandbox_.ui().queueAnswer(Answer::Cancel);
    trigger(*app, cmd::kReset);
    QCOMPARE(doc.model.lastTable(), tables);

    // Yes saves through the window's Save (a new document asks for its name) before the reset.
    const QString path = sandbox_.filePath(QStringLiteral("saved.gvx"));
    sandbox_.ui().queueAnswer(Answer::Yes);
    sandbox_.ui().queueFileName(QDir::toNativeSeparators(path).toStdString());
    trigger(*app, cmd::kReset);
    QVERIFY(QFile::exists(path));
    QCOMPARE(doc.model.lastTable(), -1);
}

void ProjectionWindowTest::otherWindowsOfTheDocumentFollow() {
    auto app = sandbox_.start();
    MainWindow& main = app->mainWindow();
    SimulationWindow* first = main.activeSimulation();
    ScriptedInputs& inputs = scriptActiveWindow(*app);
    trigger(*app, cmd::kWindowNew);
    SimulationWindow* second = main.activeSimulation();
    QVERIFY(second != first);

    // The new window projects with its own inputs; the first window lays out the same tables.
    main.activate(first);
    inputs.input1s.push_back(standInput("Shared stand", 40, 20));
    trigger(*app, cmd::kInitializeAndProject);
    QVERIFY(first->document().model.lastTable() >= 0);
    QCOMPARE(second->view().scrollSize().height, first->view().scrollSize().height);
    QVERIFY(second->view().scrollSize().height > 0);
    main.activate(second);
    QVERIFY(enabled(*app, cmd::kMidrotationAndProject));
}

void ProjectionWindowTest::changedTreeListAppendsATable() {
    auto app = sandbox_.start();
    CGROVEXDoc& doc = app->mainWindow().activeSimulation()->document();
    ScriptedInputs& inputs = scriptActiveWindow(*app);
    inputs.input1s.push_back(standInput("Listed stand", 40, 20));
    trigger(*app, cmd::kInitializeAndProject);
    const int tables = doc.model.lastTable();
    QVERIFY(tables >= 0);

    // Cancel changes nothing; OK takes the dialog's rows and appends a table.
    for (const bool ok : {false, true}) {
        QTimer::singleShot(0, [ok] {
            auto* dialog = qobject_cast<TreeListStateDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            if (ok) {
                dialog->accept();
            } else {
                dialog->reject();
            }
        });
        trigger(*app, cmd::kChangeSimulationTreeList);
        QCOMPARE(doc.model.lastTable(), ok ? tables + 1 : tables);
    }
}

QTEST_MAIN(ProjectionWindowTest)
#include "projection_window_test.moc"
