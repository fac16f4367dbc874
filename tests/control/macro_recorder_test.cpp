#include "control/macro_inputs.h"
#include "control/macro_recorder.h"
#include "control/macro_text.h"
#include "results/document_file.h"
#include "results/table_text.h"
#include "support/recording_ui.h"
#include "support/scripted_inputs.h"
#include "support/special_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <random>

namespace grovex {
namespace {

namespace fs = std::filesystem;

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
        view.recorder.execute(cmd::kRecordMacro);
        view.inputs.input1s.push_back(plantation(60, 20));
        view.commands.initializeAndProject();
        view.inputs.input2s.push_back(thinAndFertilize(25));
        view.commands.treatAndProject();
        view.commands.projectToNextTarget();
        view.recorder.execute(cmd::kStopMacro);
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
    player->recorder.execute(cmd::kPlayMacro);
    EXPECT_TRUE(ui.messages().empty()) << ui.texts().front();
    EXPECT_EQ(player->inputs.asked(), 0); // no dialog during a play
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
    view->recorder.execute(cmd::kRecordMacro); // the unsaved macro: "No" to saving it
    ui.queueAnswer(Answer::No);
    view->inputs.input1s.push_back(plantation(60, 20));
    view->commands.initializeAndProject();
    ui.clear();
    const std::vector<std::string> before = keys(store);
    view->commands.treatAndProject(); // the treatment dialog is cancelled
    std::vector<std::string> expected = before;
    expected.emplace_back("ProjectEnd");
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

    view->recorder.execute(cmd::kPlayMacro);
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
    fresh->recorder.execute(cmd::kPlayMacro);
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

    view->recorder.execute(cmd::kPlayMacro);
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
        view->recorder.execute(cmd::kStepMacro);
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
    view->recorder.execute(cmd::kStepMacro);
    EXPECT_TRUE(view->recorder.stepping());
    EXPECT_EQ(view->doc.model.age, 20);
    EXPECT_EQ(view->doc.model.lastTable(), lastTable + 1);

    // A failing step resets stepping with its message.
    loadText("ProjectInit\nstart Input1\nnyears int 60\nbogus int 1\nend Input1\nProject\nProjectEnd\n");
    ui.clear();
    view->recorder.execute(cmd::kStopMacro);
    view->recorder.execute(cmd::kStepMacro);
    EXPECT_FALSE(view->recorder.stepping());
    ASSERT_FALSE(ui.texts().empty());
    EXPECT_EQ(ui.texts().front(), kMacroSteppingResetMessage);
}

TEST_F(MacroRecorderTest, EnablingRulesFollowTheViewsActivity) {
    auto view = newView();
    auto enabled = [&] {
        std::string s;
        for (int id :
             {cmd::kRecordMacro, cmd::kPlayMacro, cmd::kStopMacro, cmd::kStepMacro, cmd::kSaveMacro, cmd::kOpenMacro}) {
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
    other->recorder.execute(cmd::kRecordMacro);
    auto view = newView();
    loadText("ProjectInit\nProjectEnd\n"); // what a second macro would look like; not touched below
    other->recorder.record();              // a second Record in the recording view is disabled
    ui.clear();

    view->recorder.execute(cmd::kRecordMacro);
    view->recorder.execute(cmd::kPlayMacro);
    view->recorder.execute(cmd::kStepMacro);
    view->recorder.execute(cmd::kOpenMacro);
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
    view->recorder.execute(cmd::kRecordMacro);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kSaveBeforeOverwriteQuestion, kSaveFailedContinueRecordQuestion}));
    EXPECT_FALSE(view->recorder.recording());
    EXPECT_EQ(keys(store), recorded);
    EXPECT_EQ(ui.fileDialogs().front().filter, kMacroFilter);

    ui.clear();
    view->recorder.execute(cmd::kSaveMacro);
    EXPECT_FALSE(store.unsaved()); // a cancelled dialog clears it too
    store.setUnsaved(true);
    ui.queueFileName(path);
    view->recorder.execute(cmd::kSaveMacro);
    EXPECT_FALSE(store.unsaved());
    ASSERT_TRUE(fs::exists(path));

    std::ofstream(dir / "cut.gmc", std::ios::binary) << "\x05";
    ui.queueFileName((dir / "cut.gmc").string());
    view->recorder.execute(cmd::kOpenMacro);
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{std::string(kMacroOpenFailedMessage) + (dir / "cut.gmc").string()}));
    EXPECT_TRUE(store.empty());

    // A named pipe is refused at once, with the reason.
    ui.clear();
    const std::string pipe = fakes::specialFile(dir, "pipe.gmc");
    ASSERT_FALSE(pipe.empty());
    ui.queueFileName(pipe);
    view->recorder.execute(cmd::kOpenMacro);
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{std::string(kMacroOpenFailedMessage) + pipe + ": it is not a regular file."}));

    ui.queueFileName(path);
    view->recorder.execute(cmd::kOpenMacro);
    EXPECT_EQ(keys(store), recorded);
    EXPECT_FALSE(store.unsaved());
}

TEST_F(MacroRecorderTest, AFullStoreKeepsTheCompletedCommandsAndStopsRecording) {
    auto view = newView();
    view->recorder.execute(cmd::kRecordMacro);
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
    player->recorder.execute(cmd::kPlayMacro);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FALSE(player->recorder.failed());
}

// ---- Replayed values outside what the input pages allow ----

// A plot of 0.1 acres at age 15 with four trees.
TreeList plotOfFourTrees() {
    TreeList list;
    list.loaded = true;
    list.header.code = 1;
    list.header.plotId = "P1";
    list.header.plotArea = 0.1f;
    list.header.age = 15;
    const TreeRow rows[] = {
        {2, "1", 10.0f, 60.0f, 1}, {2, "2", 8.0f, 64.0f, 2}, {2, "3", 6.0f, 50.0f, 3}, {2, "4", 4.0f, 40.0f, 4}};
    for (const TreeRow& row : rows) {
        list.rows[static_cast<size_t>(++list.lastRow)] = row;
    }
    return list;
}

// Sessions that use every choice of the pages the replay checks; each must play as it was recorded.
TEST_F(MacroRecorderTest, EveryRecordedSessionPlaysWithoutAMessage) {
    const TreeList treeList = plotOfFourTrees();
    const std::vector<std::function<void(View&)>> sessions{
        // An existing stand with its basal area and hardwoods in cords (Scribner), thinned from below by
        // diameter to an age past 25, then the next target (the age the stand has reached).
        [](View& v) {
            Input1 input = plantation(60, 20);
            input.qexist = true;
            input.ts = 600;
            input.exage = 12;
            input.tba = 85;
            input.hdwdPercent = 15;
            input.vtype = kCordsAndBoardFeet;
            input.voltyp = 3;
            input.minDbhClass = 9;
            v.inputs.input1s.push_back(input);
            v.commands.initializeAndProject();
            Input2Values values;
            values.qthin = true;
            values.ithin = 2;
            values.ilow = 1;
            values.dlow = 0;
            values.dhigh = 5;
            values.target = 30;
            v.inputs.input2s.push_back(values);
            v.commands.treatAndProject();
            v.commands.projectToNextTarget();
        },
        // A young poorly drained plantation in custom units, to a relative-spacing target; then a row thinning
        // (its residual basal area is whatever the dialog held) with the most nitrogen, to the largest DBH.
        [](View& v) {
            Input1 input = plantation(60, 0);
            input.site = 100;
            input.tp = 2000;
            input.psPercent = 30;
            input.qdrain = true;
            input.hdwdPercent = 90;
            input.pcrit = kCriterionRelativeSpacing;
            input.target = 0.3f;
            input.vtype = kCustomEquations;
            input.equations[0] = {"Pulp", 0.25f, 0.0021f, 99};
            input.equations[2] = {"Saw", -1.5f, 0.004f, 1};
            v.inputs.input1s.push_back(input);
            v.commands.initializeAndProject();
            Input2Values values;
            values.qthin = true;
            values.ithin = 1;
            values.rcut = 6;
            values.tlim = 999;
            values.percnt = 0;
            values.qfert = true;
            values.qphos = false;
            values.lbn = 400;
            values.pcrit = kCriterionQuadraticMeanDbh;
            values.target = 12;
            v.inputs.input2s.push_back(values);
            v.commands.treatAndProject();
        },
        // A stand from a tree list, then two next targets.
        [&treeList](View& v) {
            v.inputs.treeList = &treeList;
            Input1 input = plantation(40, 20);
            input.qexist = true;
            input.qlist = true;
            input.voltyp = 1;
            input.minDbhClass = 1;
            input.voltop = 0;
            v.inputs.input1s.push_back(input);
            v.commands.initializeAndProject();
            v.commands.projectToNextTarget();
            v.commands.projectToNextTarget();
        },
    };
    for (size_t k = 0; k < sessions.size(); ++k) {
        SCOPED_TRACE(k);
        auto recorded = newView();
        if (k > 0) {
            ui.queueAnswer(Answer::No); // not to save the macro of the session before
        }
        recorded->recorder.execute(cmd::kRecordMacro);
        ui.clear();
        sessions[k](*recorded);
        recorded->recorder.execute(cmd::kStopMacro);
        ASSERT_TRUE(ui.messages().empty()) << ui.texts().front();
        ASSERT_GT(recorded->doc.model.lastTable(), 0);

        auto player = newView();
        player->inputs.treeList = &treeList;
        player->recorder.execute(cmd::kPlayMacro);
        EXPECT_TRUE(ui.messages().empty()) << ui.texts().front();
        EXPECT_FALSE(player->recorder.failed());
        EXPECT_EQ(player->tables(), recorded->tables());
        ui.clear();
    }
}

// A macro of an initialization and a treatment in which each case changes or adds entries of one section.
struct DomainCase {
    int section; // 1 or 2
    std::vector<std::string> lines;
    const char* message; // null: plays
};

void PrintTo(const DomainCase& c, std::ostream* out) {
    *out << "Input" << c.section;
    for (const std::string& line : c.lines) {
        *out << " | " << line;
    }
}

std::string keyOf(const std::string& line) {
    return line.substr(0, line.find(' '));
}

// The section's lines with each case line in place of the line of the same key, or added at its end.
std::string sectionText(std::vector<std::string> lines, const std::vector<std::string>& changes) {
    for (const std::string& change : changes) {
        const auto same = std::find_if(lines.begin(), lines.end(),
                                       [&](const std::string& line) { return keyOf(line) == keyOf(change); });
        if (same != lines.end()) {
            *same = change;
        } else {
            lines.push_back(change);
        }
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

class ReplayDomainTest : public MacroRecorderTest, public testing::WithParamInterface<DomainCase> {};

TEST_P(ReplayDomainTest, AValueOutsideItsDomainRollsThePlayBackWithOneMessage) {
    const std::vector<std::string> input1{"title text \"Range\"", "nyears int 60",  "qexist int 0", "site real 60",
                                          "tp real 800",          "ps real 0.9",    "qdrain int 0", "qhdwd int 0",
                                          "pcrit int 1",          "target real 20", "vtype int 1",  "voltyp int 2",
                                          "voldbh[0] int 7",      "voltop real 6"};
    const std::vector<std::string> input2{"kt int 0", "pcrit int 1", "target real 25", "qhdwd int 0", "qfert int 0"};
    const DomainCase& c = GetParam();
    loadText("ProjectInit\nstart Input1\n" +
             sectionText(input1, c.section == 1 ? c.lines : std::vector<std::string>{}) +
             "end Input1\nProject\nProjectEnd\nProject\nstart Input2\n" +
             sectionText(input2, c.section == 2 ? c.lines : std::vector<std::string>{}) + "end Input2\nProjectEnd\n");
    auto view = newView();
    view->inputs.input1s.push_back(plantation(60, 15));
    view->commands.initializeAndProject();
    view->doc.setModified(false);
    view->doc.display.standTitle = "Mine";
    const std::vector<uint8_t> before = view->bytes();
    ui.clear();

    view->recorder.execute(cmd::kPlayMacro);
    if (c.message == nullptr) {
        EXPECT_TRUE(ui.messages().empty()) << ui.texts().front();
        EXPECT_EQ(view->doc.model.age, 25);
        return;
    }
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{c.message, kOperationFailedMessage, kMacroCouldNotCompleteMessage}));
    EXPECT_EQ(ui.messages().front().icon, Icon::Warning);
    EXPECT_EQ(view->bytes(), before);
    EXPECT_FALSE(view->doc.isModified());
    EXPECT_EQ(view->doc.display.standTitle, "Mine");
    EXPECT_TRUE(view->recorder.failed());
    EXPECT_TRUE(noStateFilesLeft());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ReplayDomainTest,
    testing::Values(
        DomainCase{1, {}, nullptr}, // the macro as it stands plays
        // The entry that a fuzzer found: the age of an existing stand as a text, whose real is the empty value.
        DomainCase{1,
                   {"qexist int 1", "qlist int 0", "ts real 800", "exage text \"12\"", "k int 12"},
                   "The macro's value for exage (3.4028235e+38) is out of range: it must be from 1 to 30."},
        DomainCase{1,
                   {"nyears int 20", "qexist int 1", "qlist int 0", "ts real 800", "exage real 21", "k int 21"},
                   "The macro's value for exage (21) is out of range: it must be from 1 to 20."},
        DomainCase{1,
                   {"qexist int 1", "qlist int 0", "ts real 800", "exage real 12", "k int -3"},
                   "The macro's value for k (-3) is out of range: it must be from 1 to 30."},
        DomainCase{1,
                   {"nyears int 2147483647"},
                   "The macro's value for nyears (2147483647) is out of range: it must be from 8 to 100."},
        DomainCase{1, {"qexist int 2"}, "The macro's value for qexist (2) is out of range: it must be from 0 to 1."},
        DomainCase{1,
                   {"site real 0x7fc00000"},
                   "The macro's value for site (nan) is out of range: it must be from 20 to 100."},
        DomainCase{1,
                   {"site int 60"}, // the real of an integer entry is the empty value
                   "The macro's value for site (3.4028235e+38) is out of range: it must be from 20 to 100."},
        DomainCase{1, {"tp real -5"}, "The macro's value for tp (-5) is out of range: it must be from 50 to 2000."},
        DomainCase{1, {"ps real 1.5"}, "The macro's value for ps (1.5) is out of range: it must be from 0.3 to 1."},
        DomainCase{1, {"pcrit int 99"}, "The macro's value for pcrit (99) is out of range: it must be from 1 to 7."},
        DomainCase{
            1, {"target real inf"}, "The macro's value for target (inf) is out of range: it must be from 0 to 60."},
        DomainCase{1,
                   {"pcrit int 6", "target real 10"},
                   "The macro's value for target (10) is out of range: it must be from 20 to 100."},
        DomainCase{1, {"vtype int 9"}, "The macro's value for vtype (9) is out of range: it must be from 1 to 3."},
        DomainCase{1, {"voltyp int 0"}, "The macro's value for voltyp (0) is out of range: it must be from 1 to 3."},
        DomainCase{1,
                   {"voldbh[0] int 100000"},
                   "The macro's value for voldbh[0] (100000) is out of range: it must be from 1 to 20."},
        DomainCase{
            1, {"voltop real 7.5"}, "The macro's value for voltop (7.5) is out of range: it must be from 0 to 7."},
        DomainCase{1,
                   {"vtype int 3", "voldbh[i] int 0 index 2"},
                   "The macro's value for voldbh[i] of equation 2 (0) is out of range: it must be from 1 to 99."},
        DomainCase{1,
                   {"vtype int 3", "vola[i] real -inf index 3"},
                   "The macro's value for vola[i] of equation 3 (-inf) is out of range: it must be from "
                   "-3.4028235e+38 to 3.4028235e+38."},
        DomainCase{2,
                   {"kt int -2147483648"},
                   "The macro's value for kt (-2147483648) is out of range: it must be from 0 to 60."},
        DomainCase{
            2, {"target real 61"}, "The macro's value for target (61) is out of range: it must be from 0 to 60."},
        DomainCase{2,
                   {"pcrit int 7", "target real 0"},
                   "The macro's value for target (0) is out of range: it must be from 0.1 to 3.4028235e+38."},
        DomainCase{2,
                   {"qhdwd int 1", "percnt real 0.95"},
                   "The macro's value for percnt (0.95) is out of range: it must be from 0 to 0.9."},
        DomainCase{2,
                   {"qfert int 1", "kfert_check", "qphos int 1", "lbn int -1"},
                   "The macro's value for lbn (-1) is out of range: it must be from 50 to 400."},
        DomainCase{2,
                   {"qfert int 1", "kfert_check", "qphos int 3", "lbn int 50"},
                   "The macro's value for qphos (3) is out of range: it must be from 0 to 1."},
        // Checked before the thinning runs with them.
        DomainCase{2,
                   {"bab real 0", "qthin int 1", "ithin int 1", "kt_check", "rcut real 7", "tthin"},
                   "The macro's value for rcut (7) is out of range: it must be from 0.16666667 to 0.5."},
        DomainCase{2,
                   {"bab real 0", "qthin int 1", "ithin int 9", "kt_check", "tthin"},
                   "The macro's value for ithin (9) is out of range: it must be from 1 to 3."},
        DomainCase{2,
                   {"bab real 0", "qthin int 1", "ithin int 2", "kt_check", "ilow int 0", "dlow real 0", "tthin"},
                   "The macro's value for ilow (0) is out of range: it must be from 1 to 2."},
        DomainCase{2,
                   {"bab real 0", "qthin int 1", "ithin int 2", "kt_check", "ilow int 1", "dlow real 0x7fc00000"},
                   kMinDbhOutOfRange}));

} // namespace
} // namespace grovex
