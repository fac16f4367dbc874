#include "control/macro_inputs.h"
#include "control/macro_recorder.h"
#include "control/macro_text.h"
#include "results/document_file.h"
#include "results/table_text.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

namespace grovex {
namespace {

namespace fs = std::filesystem;

// The dialogs of one view, answered from queues; an empty queue cancels.
class ScriptedInputs : public InputSource {
public:
    std::deque<Input1> input1s;
    std::deque<Input2Values> input2s;
    int asked = 0;

    std::optional<Input1> input1(CGROVEXDoc&) override {
        ++asked;
        return next(input1s);
    }
    std::optional<Input2Values> input2(CGROVEXDoc&) override {
        ++asked;
        return next(input2s);
    }

private:
    template <class T> static std::optional<T> next(std::deque<T>& queue) {
        if (queue.empty()) {
            return std::nullopt;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

Input1 plantation(int nyears, float target) {
    Input1 input;
    input.title = "Tract 7";
    input.nyears = nyears;
    input.target = target;
    return input;
}

Input2Values thinAndFertilize(float target) {
    Input2Values values;
    values.qthin = true;
    values.ithin = 3;
    values.rcut = 4;
    values.ilow = 2;
    values.tlim = 60;
    values.qfert = true;
    values.qphos = true;
    values.lbn = 150;
    values.target = target;
    return values;
}

// One results view with its own document, routine and macro controller, over a shared store and folder.
struct View {
    View(MacroStore& store, const fs::path& dir, fakes::RecordingUi& ui)
        : stateFile((dir / kTemporaryStateFileName).string()), playFile((dir / kPlayStateFileName).string()),
          recorder(store, doc, ui, playFile, dir.string(), [this] { ++repaints; }), source(recorder, inputs),
          commands(doc, ui, source, stateFile, &recorder) {
        doc.setTitle("GROVEX1");
        doc.model.setUi(&ui);
        recorder.setProjection([this] { commands.project(); });
    }

    std::string tables() const { return allTablesText(doc.model.tables, 0, doc.model.lastTable()); }
    std::vector<uint8_t> bytes() {
        const bool modified = doc.isModified();
        std::vector<uint8_t> result = storeDocument(doc);
        doc.setModified(modified);
        return result;
    }

    CGROVEXDoc doc;
    ScriptedInputs inputs;
    StateFile stateFile;
    StateFile playFile;
    int repaints = 0;
    MacroRecorder recorder;
    MacroInputSource source;
    ProjectionCommands commands;
};

std::vector<std::string> keys(const MacroStore& store) {
    std::vector<std::string> result;
    for (int i = 0; i <= store.lastIndex(); ++i) {
        result.push_back(store.entry(i).key);
    }
    return result;
}

class MacroRecorderTest : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("grovex_macro_recorder_" + std::to_string(std::random_device()()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::unique_ptr<View> newView() { return std::make_unique<View>(store, dir, ui); }

    // Initialize to 20, thin and fertilize to 25, then project to the next target, all recorded in `view`.
    void recordSession(View& view) {
        view.recorder.execute(kRecordMacroId);
        view.inputs.input1s.push_back(plantation(60, 20));
        view.commands.initializeAndProject();
        view.inputs.input2s.push_back(thinAndFertilize(25));
        view.commands.treatAndProject();
        view.commands.projectToNextTarget();
        view.recorder.execute(kStopMacroId);
        ASSERT_EQ(ui.messages().size(), 0u) << ui.texts().front();
    }

    void loadText(const std::string& text) {
        std::vector<MacroEntry> entries;
        std::string error;
        ASSERT_TRUE(parseMacroText(text, entries, error)) << error;
        ASSERT_TRUE(store.loadBytes(macroFileBytes(entries)));
    }

    bool noStateFilesLeft() const { return fs::is_empty(dir); }

    fs::path dir;
    MacroStore store;
    fakes::RecordingUi ui;
};

TEST_F(MacroRecorderTest, ARecordedSessionPlaysToTheSameTablesOnANewView) {
    auto recorded = newView();
    recordSession(*recorded);
    const std::vector<std::string> k = keys(store);
    ASSERT_GE(k.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(k.begin(), k.begin() + 2),
              (std::vector<std::string>{"ProjectInit", "start Input1"}));
    EXPECT_EQ(std::vector<std::string>(k.end() - 5, k.end()),
              (std::vector<std::string>{"Project", "start Input2", "next", "end Input2", "ProjectEnd"}));
    EXPECT_TRUE(store.unsaved());
    EXPECT_FALSE(store.recordingActive());
    EXPECT_EQ(recorded->recorder.macroPosition(), store.lastIndex() + 1);

    auto player = newView();
    player->recorder.execute(kPlayMacroId);
    EXPECT_TRUE(ui.messages().empty()) << ui.texts().front();
    EXPECT_EQ(player->inputs.asked, 0); // no dialog during a play
    EXPECT_EQ(player->tables(), recorded->tables());
    EXPECT_EQ(player->doc.display.standTitle, "Tract 7");
    EXPECT_EQ(player->doc.run.bab, recorded->doc.run.bab);
    EXPECT_TRUE(player->doc.isModified());
    EXPECT_FALSE(player->recorder.playing());
    EXPECT_TRUE(noStateFilesLeft());
}

TEST_F(MacroRecorderTest, ACancelledDialogWhileRecordingLeavesOnlyItsProjectEnd) {
    auto view = newView();
    recordSession(*view);
    view->recorder.execute(kRecordMacroId); // the unsaved macro: "No" to saving it
    ui.queueAnswer(Answer::No);
    view->inputs.input1s.push_back(plantation(60, 20));
    view->commands.initializeAndProject();
    ui.clear();
    const std::vector<std::string> before = keys(store);
    view->commands.treatAndProject(); // the treatment dialog is cancelled
    std::vector<std::string> expected = before;
    expected.push_back("ProjectEnd");
    EXPECT_EQ(keys(store), expected);
    EXPECT_TRUE(view->recorder.recording());
}

TEST_F(MacroRecorderTest, AFailedPlayRollsBackToTheViewBeforePlay) {
    // The run ends at 20; the recorded treatment then meets the age limit.
    loadText("ProjectInit\nstart Input1\ntitle text \"Short\"\nnyears int 20\nqexist int 0\nsite real 60\n"
             "tp real 800\nps real 0.9\nqdrain int 0\nqhdwd int 0\npcrit int 1\ntarget real 20\nvtype int 1\n"
             "voltyp int 2\nvoldbh[0] int 7\nvoltop real 6\nend Input1\nProject\nProjectEnd\n"
             "Project\nstart Input2\nkt int 0\npcrit int 1\ntarget real 25\nqhdwd int 0\nqfert int 0\n"
             "end Input2\nProjectEnd\n");
    auto view = newView();
    view->inputs.input1s.push_back(plantation(60, 15));
    view->commands.initializeAndProject();
    view->doc.setModified(false);
    view->doc.display.standTitle = "Mine";
    const std::vector<uint8_t> before = view->bytes();
    ui.clear();

    view->recorder.execute(kPlayMacroId);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kMaximumAgeMessage, kMacroCouldNotCompleteMessage}));
    EXPECT_EQ(view->bytes(), before);
    EXPECT_FALSE(view->doc.isModified());
    EXPECT_EQ(view->doc.display.standTitle, "Mine");
    EXPECT_TRUE(view->recorder.failed());
    EXPECT_EQ(view->repaints, 1);
    EXPECT_TRUE(noStateFilesLeft());

    // A macro that begins with "Project" needs tables; a new view stays as it was.
    loadText("Project\nProjectEnd\n");
    auto fresh = newView();
    const std::vector<uint8_t> empty = fresh->bytes();
    ui.clear();
    fresh->recorder.execute(kPlayMacroId);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kMacroNeedsInitializedViewMessage}));
    EXPECT_EQ(fresh->bytes(), empty);
    EXPECT_TRUE(noStateFilesLeft());
}

TEST_F(MacroRecorderTest, AnOutOfRangeReplayedValueRollsThePlayBack) {
    // The treatment's smallest DBH (8) lies above the largest one the model holds (7 after a reset).
    loadText("ProjectInit\nstart Input1\ntitle text \"Range\"\nnyears int 60\nqexist int 0\nsite real 60\n"
             "tp real 800\nps real 0.9\nqdrain int 0\nqhdwd int 0\npcrit int 1\ntarget real 20\nvtype int 1\n"
             "voltyp int 2\nvoldbh[0] int 7\nvoltop real 6\nend Input1\nProject\nProjectEnd\n"
             "Project\nstart Input2\nbab real 0\nqthin int 1\nithin int 2\nkt_check\nilow int 1\ndlow real 8\n"
             "dhigh real 9\npcrit int 1\ntarget real 25\nqhdwd int 0\nqfert int 0\ntthin\nend Input2\n"
             "ProjectEnd\n");
    auto view = newView();
    view->inputs.input1s.push_back(plantation(60, 15));
    view->commands.initializeAndProject();
    view->doc.setModified(false);
    const std::vector<uint8_t> before = view->bytes();
    ui.clear();

    view->recorder.execute(kPlayMacroId);
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{kMinDbhOutOfRange, kOperationFailedMessage, kMacroCouldNotCompleteMessage}));
    EXPECT_EQ(view->bytes(), before);
    EXPECT_FALSE(view->doc.isModified());
    EXPECT_TRUE(noStateFilesLeft());
}

TEST_F(MacroRecorderTest, SteppingRunsOneCommandPerStepAndStartsAgainAfterTheEnd) {
    auto recorded = newView();
    recordSession(*recorded);
    auto view = newView();
    int steps = 0;
    do {
        view->recorder.execute(kStepMacroId);
        ++steps;
        if (steps == 1) {
            EXPECT_EQ(view->doc.model.age, 20); // the initialization, and nothing else yet
            EXPECT_TRUE(view->recorder.stepping());
        }
    } while (view->recorder.stepping() && steps < 50);
    // The initialization, its closing ProjectEnd, the treatment, the next target: a replayed section leaves
    // the position on its ProjectEnd, which the next Step passes.
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kMacroFinishedMessage}));
    EXPECT_EQ(view->tables(), recorded->tables());
    EXPECT_TRUE(noStateFilesLeft());

    // The next Step starts from the first entry again: a new initialization with one table.
    const int lastTable = view->doc.model.lastTable();
    view->recorder.execute(kStepMacroId);
    EXPECT_TRUE(view->recorder.stepping());
    EXPECT_EQ(view->doc.model.age, 20);
    EXPECT_EQ(view->doc.model.lastTable(), lastTable + 1);

    // A failing step resets stepping with its message.
    loadText("ProjectInit\nstart Input1\nnyears int 60\nbogus int 1\nend Input1\nProject\nProjectEnd\n");
    ui.clear();
    view->recorder.execute(kStopMacroId);
    view->recorder.execute(kStepMacroId);
    EXPECT_FALSE(view->recorder.stepping());
    ASSERT_FALSE(ui.texts().empty());
    EXPECT_EQ(ui.texts().front(), kMacroSteppingResetMessage);
}

TEST_F(MacroRecorderTest, EnablingRulesFollowTheViewsActivity) {
    auto view = newView();
    auto enabled = [&] {
        std::string s;
        for (int id : {kRecordMacroId, kPlayMacroId, kStopMacroId, kStepMacroId, kSaveMacroId, kOpenMacroId}) {
            s += view->recorder.isEnabled(id) ? '1' : '0';
        }
        return s;
    };
    EXPECT_EQ(enabled(), "100001"); // empty macro
    view->recorder.record();
    EXPECT_EQ(enabled(), "001001"); // recording, still empty
    view->inputs.input1s.push_back(plantation(60, 20));
    view->commands.initializeAndProject();
    view->recorder.stop();
    EXPECT_EQ(enabled(), "110111"); // idle, unsaved macro
    view->recorder.step();
    EXPECT_EQ(enabled(), "001111"); // stepping
    view->recorder.stop();
    EXPECT_FALSE(view->recorder.isEnabled(-1));
    EXPECT_FALSE(view->recorder.execute(-1));
}

TEST_F(MacroRecorderTest, AnotherViewsRecordingIsNeverMixedOrReplaced) {
    auto other = newView();
    other->recorder.execute(kRecordMacroId);
    auto view = newView();
    loadText("ProjectInit\nProjectEnd\n"); // what a second macro would look like; not touched below
    other->recorder.record();              // a second Record in the recording view is disabled
    ui.clear();

    view->recorder.execute(kRecordMacroId);
    view->recorder.execute(kPlayMacroId);
    view->recorder.execute(kStepMacroId);
    view->recorder.execute(kOpenMacroId);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kRecordingInOtherViewMessage, kPlayWhileOtherRecordsMessage,
                                                    kPlayWhileOtherRecordsMessage, kOpenWhileRecordingMessage}));
    EXPECT_TRUE(ui.fileDialogs().empty());
    EXPECT_FALSE(view->recorder.busy());
    EXPECT_TRUE(other->recorder.recording());

    // Closing the recording view stops its recording as Stop does.
    other.reset();
    EXPECT_FALSE(store.recordingActive());
    EXPECT_TRUE(store.unsaved());
}

TEST_F(MacroRecorderTest, SaveAndOpenKeepTheUnsavedFlagAndReportBadFiles) {
    auto view = newView();
    recordSession(*view);
    const std::string path = (dir / "session.gmc").string();
    const std::vector<std::string> recorded = keys(store);

    // Record over an unsaved macro whose save fails, then refuse to go on: nothing changes.
    ui.queueAnswer(Answer::Yes);
    ui.queueFileName((dir / "missing" / "x.gmc").string());
    ui.queueAnswer(Answer::No);
    view->recorder.execute(kRecordMacroId);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kSaveBeforeOverwriteQuestion, kSaveFailedContinueRecordQuestion}));
    EXPECT_FALSE(view->recorder.recording());
    EXPECT_EQ(keys(store), recorded);
    EXPECT_EQ(ui.fileDialogs().front().filter, kMacroFilter);

    ui.clear();
    view->recorder.execute(kSaveMacroId);
    EXPECT_FALSE(store.unsaved()); // a cancelled dialog clears it too
    store.setUnsaved(true);
    ui.queueFileName(path);
    view->recorder.execute(kSaveMacroId);
    EXPECT_FALSE(store.unsaved());
    ASSERT_TRUE(fs::exists(path));

    std::ofstream(dir / "cut.gmc", std::ios::binary) << "\x05";
    ui.queueFileName((dir / "cut.gmc").string());
    view->recorder.execute(kOpenMacroId);
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{std::string(kMacroOpenFailedMessage) + (dir / "cut.gmc").string()}));
    EXPECT_TRUE(store.empty());

    ui.queueFileName(path);
    view->recorder.execute(kOpenMacroId);
    EXPECT_EQ(keys(store), recorded);
    EXPECT_FALSE(store.unsaved());
}

TEST_F(MacroRecorderTest, AFullStoreKeepsTheCompletedCommandsAndStopsRecording) {
    auto view = newView();
    view->recorder.execute(kRecordMacroId);
    view->inputs.input1s.push_back(plantation(99, 20));
    view->commands.initializeAndProject();
    // Each next-target step records five entries; the store fills before the run ends.
    while (view->recorder.recording() && view->doc.model.age < 99) {
        view->commands.projectToNextTarget();
    }
    ASSERT_FALSE(view->recorder.recording());
    EXPECT_FALSE(store.recordingActive());
    EXPECT_TRUE(store.unsaved());
    EXPECT_EQ(store.entry(store.lastIndex()).key, "ProjectEnd");
    EXPECT_LT(store.lastIndex(), MacroStore::kCapacity - 1);
    const std::vector<std::string> texts = ui.texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0], kMacroStoreFullMessage);
    EXPECT_EQ(texts[1], kMacroCouldNotCompleteMessage);
    EXPECT_TRUE(noStateFilesLeft());

    // What was kept plays.
    auto player = newView();
    ui.clear();
    player->recorder.execute(kPlayMacroId);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FALSE(player->recorder.failed());
}

} // namespace
} // namespace grovex
