// The Macro menu of a simulation window as a user reaches it: record projections given through scripted
// inputs, play them in another window, and the enabled states the menus show meanwhile.

#include "app/commands.h"
#include "app_sandbox.h"
#include "control/macro_recorder.h"
#include "qt/application.h"
#include "qt/command_actions.h"
#include "qt/main_window.h"
#include "qt/simulation_window.h"
#include "results/table_text.h"
#include "scripted_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTest>

#include <deque>
#include <memory>

using namespace grovex;

namespace {

Input1 standInput(int ageTarget) {
    Input1 input;
    input.title = "Macro stand";
    input.nyears = 60;
    input.pcrit = kCriterionAge;
    input.target = static_cast<float>(ageTarget);
    return input;
}

Input2Values thinAndFertilize(int ageTarget) {
    Input2Values values;
    values.qthin = true;
    values.ithin = 1;
    values.rcut = 4;
    values.qfert = true;
    values.lbn = 150;
    values.pcrit = kCriterionAge;
    values.target = static_cast<float>(ageTarget);
    return values;
}

std::string tables(SimulationWindow& window) {
    const CGROVEXDoc& doc = window.document();
    return allTablesText(doc.model.tables, 0, doc.model.lastTable());
}

} // namespace

class MacroWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aRecordedMacroPlaysTheSameTablesInANewWindow();
    void theMenuFollowsTheRecordingWindow();
    void closingTheRecordingWindowStopsTheRecording();

private:
    bool enabled(Application& app, int id) { return app.mainWindow().commands().action(id)->isEnabled(); }
    // Starts recording in the active window and records an initialization to age 20, then a thinning with
    // fertilizer to age 25.
    void recordSession(Application& app, ScriptedInputs& inputs);

    fakes::AppSandbox sandbox_{fakes::AppDirectory::Sandbox};
};

void MacroWindowTest::init() {
    QVERIFY(sandbox_.enter());
}

void MacroWindowTest::cleanup() {
    sandbox_.leave();
}

void MacroWindowTest::recordSession(Application& app, ScriptedInputs& inputs) {
    trigger(app, cmd::kRecordMacro);
    inputs.input1s.push_back(standInput(20));
    trigger(app, cmd::kInitializeAndProject);
    inputs.input2s.push_back(thinAndFertilize(25));
    trigger(app, cmd::kMidrotationAndProject);
    QCOMPARE(app.mainWindow().activeSimulation()->document().model.age, 25);
}

void MacroWindowTest::aRecordedMacroPlaysTheSameTablesInANewWindow() {
    auto app = sandbox_.start();
    QVERIFY(app);
    SimulationWindow* recorder = app->mainWindow().activeSimulation();
    ScriptedInputs& recorded = scriptActiveWindow(*app);
    recordSession(*app, recorded);
    QVERIFY(app->macroStore().recordingActive());
    trigger(*app, cmd::kStopMacro);
    QVERIFY(!app->macroStore().recordingActive());
    QVERIFY(!app->macroStore().empty());
    QVERIFY(app->macroStore().unsaved());

    // The new window replays the inputs instead of asking for them, and shows the same tables.
    SimulationWindow* player = app->fileNew();
    QVERIFY(player != nullptr && player != recorder);
    ScriptedInputs& unused = scriptActiveWindow(*app);
    QVERIFY(enabled(*app, cmd::kPlayMacro));
    trigger(*app, cmd::kPlayMacro);
    QVERIFY2(sandbox_.ui().messages().empty(),
             sandbox_.ui().texts().empty() ? "" : sandbox_.ui().texts().front().c_str());
    QCOMPARE(unused.asked(), 0);
    QVERIFY(!player->macro().failed());
    QVERIFY(player->document().model.lastTable() >= 0);
    QCOMPARE(tables(*player), tables(*recorder));
    QVERIFY(player->document().isModified());
    QVERIFY(!QFile::exists(sandbox_.filePath(QString::fromLatin1(kPlayStateFileName))));

    // Save Macro starts in the application directory and leaves the macro saved.
    const QString path = sandbox_.filePath(QStringLiteral("session.gmc"));
    sandbox_.ui().queueFileName(QDir::toNativeSeparators(path).toStdString());
    QVERIFY(enabled(*app, cmd::kSaveMacro));
    trigger(*app, cmd::kSaveMacro);
    QCOMPARE(sandbox_.ui().fileDialogs().size(), size_t{1});
    QCOMPARE(sandbox_.ui().fileDialogs().front().startDirectory, app->appDirectory());
    QVERIFY(QFile::exists(path));
    QVERIFY(!enabled(*app, cmd::kSaveMacro));
}

void MacroWindowTest::theMenuFollowsTheRecordingWindow() {
    auto app = sandbox_.start();
    QVERIFY(app);
    MainWindow& main = app->mainWindow();
    SimulationWindow* first = main.activeSimulation();

    // No macro yet: only Record and Open.
    QVERIFY(enabled(*app, cmd::kRecordMacro));
    QVERIFY(enabled(*app, cmd::kOpenMacro));
    for (const int id : {cmd::kPlayMacro, cmd::kStopMacro, cmd::kStepMacro, cmd::kSaveMacro}) {
        QVERIFY2(!enabled(*app, id), QByteArray::number(id).constData());
    }

    // While recording, Stop is the way out; Reset is refused.
    ScriptedInputs& inputs = scriptActiveWindow(*app);
    recordSession(*app, inputs);
    QVERIFY(enabled(*app, cmd::kStopMacro));
    QVERIFY(!enabled(*app, cmd::kRecordMacro));
    QVERIFY(!enabled(*app, cmd::kPlayMacro));
    QVERIFY(!enabled(*app, cmd::kStepMacro));
    QVERIFY(!enabled(*app, cmd::kReset));

    // Another window of the application answers for itself; it cannot record or play meanwhile.
    SimulationWindow* second = app->fileNew();
    QVERIFY(second != first);
    QVERIFY(!enabled(*app, cmd::kStopMacro));
    sandbox_.ui().clear();
    trigger(*app, cmd::kRecordMacro);
    QCOMPARE(sandbox_.ui().texts(), std::vector<std::string>{kRecordingInOtherViewMessage});
    sandbox_.ui().clear();
    trigger(*app, cmd::kPlayMacro);
    QCOMPARE(sandbox_.ui().texts(), std::vector<std::string>{kPlayWhileOtherRecordsMessage});
    QCOMPARE(second->document().model.lastTable(), -1);

    // Stopped: the macro can be played, stepped and saved.
    main.activate(first);
    trigger(*app, cmd::kStopMacro);
    QVERIFY(enabled(*app, cmd::kPlayMacro));
    QVERIFY(enabled(*app, cmd::kStepMacro));
    QVERIFY(enabled(*app, cmd::kSaveMacro));
    QVERIFY(enabled(*app, cmd::kRecordMacro));
    QVERIFY(!enabled(*app, cmd::kStopMacro));

    // Stepping the first command in the new window: Stop ends the stepping, Play waits.
    main.activate(second);
    trigger(*app, cmd::kStepMacro);
    QVERIFY(second->macro().stepping());
    QVERIFY(second->document().model.lastTable() >= 0);
    QVERIFY(enabled(*app, cmd::kStopMacro));
    QVERIFY(!enabled(*app, cmd::kPlayMacro));
    trigger(*app, cmd::kStopMacro);
    QVERIFY(!second->macro().stepping());
    QVERIFY(enabled(*app, cmd::kPlayMacro));
}

void MacroWindowTest::closingTheRecordingWindowStopsTheRecording() {
    auto app = sandbox_.start();
    QVERIFY(app);
    MainWindow& main = app->mainWindow();
    QPointer<SimulationWindow> other = app->fileNew();
    main.activate(other);
    ScriptedInputs& inputs = scriptActiveWindow(*app);
    recordSession(*app, inputs);

    // The recorded document is modified: "No" to saving it, and the window goes.
    sandbox_.ui().queueAnswer(Answer::No);
    QVERIFY(other->close());
    QVERIFY(!app->macroStore().recordingActive());
    QVERIFY(app->macroStore().unsaved());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QVERIFY(other.isNull());
    QVERIFY(main.activeSimulation() != nullptr);
    QVERIFY(enabled(*app, cmd::kPlayMacro));
    QVERIFY(enabled(*app, cmd::kRecordMacro));
}

QTEST_MAIN(MacroWindowTest)
#include "macro_window_test.moc"
