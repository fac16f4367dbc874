#include "control/command_abandoned.h"
#include "control/extract.h"
#include "control/projection.h"
#include "results/document_file.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <random>

namespace grovex {
namespace {

namespace fs = std::filesystem;

// Inputs answered from queues; an empty queue cancels. `onInput2` sees the document as the dialog would.
class ScriptedInputs : public InputSource {
public:
    std::deque<std::optional<Input1>> input1s;
    std::deque<std::optional<Input2Values>> input2s;
    std::function<void(CGROVEXDoc&)> onInput2;
    const TreeList* treeList = nullptr;
    int input2Calls = 0;

    std::optional<Input1> input1(CGROVEXDoc&) override { return next(input1s); }
    std::optional<Input2Values> input2(CGROVEXDoc& doc) override {
        ++input2Calls;
        if (onInput2) {
            onInput2(doc);
        }
        return next(input2s);
    }
    const TreeList* simulationTreeList() override { return treeList; }

private:
    template <class T> static std::optional<T> next(std::deque<std::optional<T>>& queue) {
        if (queue.empty()) {
            return std::nullopt;
        }
        std::optional<T> value = queue.front();
        queue.pop_front();
        return value;
    }
};

struct FakeMacro : MacroHooks {
    bool isRecording = true;
    int capacity = 400; // markers accepted before the store is full
    std::vector<std::string> markers;
    int rewinds = 0;
    int failures = 0;
    bool recording() const override { return isRecording; }
    void appendMarker(std::string_view marker) override {
        if (static_cast<int>(markers.size()) >= capacity) {
            throw CommandAbandoned("full");
        }
        markers.emplace_back(marker);
    }
    void rewindToPreviousCommand() override { ++rewinds; }
    void commandFailed() override { ++failures; }
};

struct CountingView : ResultsViewHooks {
    int clears = 0, refreshes = 0, resets = 0;
    void clearSelection() override { ++clears; }
    void refresh() override { ++refreshes; }
    void resetViewState() override { ++resets; }
};

struct FailingStateFile : StateFile {
    using StateFile::StateFile;
    bool write(const std::vector<uint8_t>&) override { return false; }
};

Input1 plantation(int nyears, int pcrit, float target) {
    Input1 input;
    input.title = "Test stand";
    input.nyears = nyears;
    input.pcrit = pcrit;
    input.target = target;
    return input;
}

class ProjectionTest : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("grovex_projection_" + std::to_string(std::random_device()()));
        fs::create_directories(dir);
        stateFile = std::make_unique<StateFile>((dir / kTemporaryStateFileName).string());
        doc.setTitle("GROVEX1");
        doc.model.setUi(&ui);
        commands = std::make_unique<ProjectionCommands>(doc, ui, inputs, *stateFile, nullptr, &view);
    }
    void TearDown() override { fs::remove_all(dir); }

    void useMacro() { commands = std::make_unique<ProjectionCommands>(doc, ui, inputs, *stateFile, &macro, &view); }

    // The document's saved form, without disturbing its modified flag.
    std::vector<uint8_t> bytes() {
        const bool modified = doc.isModified();
        std::vector<uint8_t> result = storeDocument(doc);
        doc.setModified(modified);
        return result;
    }

    // Initializes a plantation run that meets its age target (the next treatment asks for Input2).
    void initialize(int nyears, int pcrit, float target) {
        inputs.input1s.emplace_back(plantation(nyears, pcrit, target));
        commands->initializeAndProject();
        ASSERT_FALSE(doc.run.needsInit);
        ui.clear();
    }

    void expectUnchangedSince(const std::vector<uint8_t>& before, bool modifiedBefore) {
        EXPECT_EQ(bytes(), before);
        EXPECT_EQ(doc.isModified(), modifiedBefore);
        EXPECT_FALSE(fs::exists(stateFile->path()));
    }

    fs::path dir;
    CGROVEXDoc doc;
    fakes::RecordingUi ui;
    ScriptedInputs inputs;
    FakeMacro macro;
    CountingView view;
    std::unique_ptr<StateFile> stateFile;
    std::unique_ptr<ProjectionCommands> commands;
};

TEST_F(ProjectionTest, InitializeAndProjectMakesOneRunAndRecordsItsMarkers) {
    useMacro();
    inputs.input1s.emplace_back(plantation(60, kCriterionAge, 25));
    commands->execute(cmd::kInitializeKey);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(doc.model.age, 25);
    EXPECT_EQ(doc.model.lastTable(), 0);
    EXPECT_TRUE(doc.run.targetReached);
    EXPECT_EQ(doc.run.maxAge, 60);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.display.standTitle, "Test stand");
    EXPECT_EQ(macro.markers, (std::vector<std::string>{"ProjectInit", "Project", "ProjectEnd"}));
    EXPECT_EQ(view.clears, 1);
    EXPECT_EQ(view.refreshes, 1);
    EXPECT_FALSE(fs::exists(stateFile->path()));
}

TEST_F(ProjectionTest, ACancelledDialogLeavesTheDocumentAsItWas) {
    useMacro();
    const std::vector<uint8_t> empty = bytes();
    commands->initializeAndProject(); // the sheet is cancelled
    expectUnchangedSince(empty, false);
    EXPECT_TRUE(doc.run.needsInit);
    EXPECT_EQ(macro.rewinds, 1);
    EXPECT_EQ(macro.markers.back(), "ProjectEnd");

    initialize(60, kCriterionAge, 25);
    doc.setModified(false);
    const std::vector<uint8_t> before = bytes();
    commands->treatAndProject(); // the "Stand Projection" dialog is cancelled
    EXPECT_EQ(inputs.input2Calls, 1);
    expectUnchangedSince(before, false);
    EXPECT_EQ(macro.rewinds, 2);
}

TEST_F(ProjectionTest, TerminatingTheRunResetsTheFlagsBeforeTheSave) {
    initialize(60, kCriterionAge, 25);
    const std::vector<uint8_t> run = bytes();
    ui.queueAnswer(Answer::No);
    commands->initializeAndProject();
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kTerminateRunQuestion});
    EXPECT_EQ(bytes(), run);

    ui.queueAnswer(Answer::Yes);
    commands->initializeAndProject(); // then the sheet is cancelled: the tables come back, needsInit stays
    EXPECT_EQ(doc.model.lastTable(), 0);
    EXPECT_TRUE(doc.run.needsInit);
    EXPECT_EQ(doc.run.maxAge, 0);
}

TEST_F(ProjectionTest, TheAgeLimitRollsBackAndSaysSo) {
    initialize(25, kCriterionAge, 30); // stops at nyears without meeting the target
    EXPECT_FALSE(doc.run.targetReached);
    EXPECT_EQ(doc.model.age, 25);
    const std::vector<uint8_t> before = bytes();
    commands->treatAndProject();
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kMaximumAgeMessage});
    EXPECT_EQ(inputs.input2Calls, 0);
    expectUnchangedSince(before, true);

    useMacro();
    ui.clear();
    commands->treatAndProject();
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kMaximumAgeRecordingMessage});
    EXPECT_EQ(macro.rewinds, 1);
    expectUnchangedSince(before, true);
}

TEST_F(ProjectionTest, AFailureInsideTheCommandRollsBack) {
    useMacro();
    Input1 fromList = plantation(60, kCriterionAge, 25);
    fromList.qexist = true;
    fromList.qlist = true;
    inputs.input1s.emplace_back(fromList); // no simulation tree list
    const std::vector<uint8_t> empty = bytes();
    commands->initializeAndProject();
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kTreeListEmptyMessage, kOperationFailedMessage}));
    EXPECT_EQ(macro.failures, 1);
    expectUnchangedSince(empty, false);
    EXPECT_TRUE(doc.display.standTitle.empty());

    // A store that fills up while the command runs fails it the same way.
    macro = FakeMacro{};
    macro.capacity = 1;
    ui.clear();
    inputs.input1s.emplace_back(plantation(60, kCriterionAge, 25));
    commands->initializeAndProject();
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kOperationFailedMessage});
    expectUnchangedSince(empty, false);
}

TEST_F(ProjectionTest, AStandFromATreeListIsExtractedInsteadOfInitialized) {
    TreeList list;
    list.loaded = true;
    list.header = {1, "P", 0.1f, 12, 0, 0, 0, 0, -1, -1, 0, 0, -1};
    for (int k = 0; k < 20; ++k) {
        list.rows[static_cast<size_t>(k)] = {2, std::to_string(k), 4.0f + 0.3f * static_cast<float>(k),
                                             35.0f + static_cast<float>(k), k % 4 + 1};
    }
    list.lastRow = 19;
    inputs.treeList = &list;
    Input1 fromList = plantation(60, kCriterionAge, 15);
    fromList.qexist = true;
    fromList.qlist = true;
    inputs.input1s.emplace_back(fromList);
    commands->initializeAndProject();
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(doc.model.age, 15);
    EXPECT_EQ(doc.model.nrec, 20);
    EXPECT_EQ(doc.model.lastTable(), 0);
}

TEST_F(ProjectionTest, TreatmentInputsSeeThisYearsStand) {
    initialize(60, kCriterionAge, 20);
    GrowthModel grown = doc.model;
    grown.GrowOneYear();
    ++grown.age;
    grown.StandStats();
    float seenTba = 0;
    inputs.onInput2 = [&](CGROVEXDoc& d) { seenTba = d.model.tba; };
    Input2Values thin;
    thin.qthin = true;
    thin.ithin = 1;
    thin.rcut = 4;
    thin.pcrit = kCriterionAge;
    thin.target = 25;
    inputs.input2s.emplace_back(thin);
    commands->treatAndProject();
    EXPECT_EQ(seenTba, grown.tba);
    EXPECT_EQ(doc.run.bab, grown.tba);
    EXPECT_EQ(doc.model.kt, 21);
    EXPECT_FLOAT_EQ(doc.model.rcut, 0.25f);
    EXPECT_EQ(doc.model.age, 25);
    // The removed and residual tables of the thinning at 21, then the stand at 25, all of this command.
    EXPECT_EQ(doc.model.lastTable(), 3);
    EXPECT_EQ(doc.display.stepFirst, 1);
    EXPECT_EQ(doc.display.firstShown, 0);
}

TEST_F(ProjectionTest, NextTargetOnAStandOlderThan25AdvancesOneYearWithOneTable) {
    useMacro();
    initialize(60, kCriterionAge, 30);
    macro.markers.clear();
    doc.display.allTables = false;
    ASSERT_TRUE(commands->isEnabled(cmd::kProjectToNextTarget));
    commands->execute(cmd::kNextTargetKey);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(doc.model.age, 31);
    EXPECT_EQ(doc.model.pcrit, kCriterionAge);
    EXPECT_EQ(doc.model.target, 31.0f);
    EXPECT_EQ(doc.model.kt, 0);
    EXPECT_EQ(doc.model.lastTable(), 1);
    EXPECT_EQ(doc.display.firstShown, 1);
    EXPECT_EQ(doc.display.stepFirst, 1);
    EXPECT_FALSE(doc.run.nextTargetMode);
    EXPECT_EQ(inputs.input2Calls, 0);
    EXPECT_EQ(macro.markers, (std::vector<std::string>{"Project", "start Input2", "next", "end Input2", "ProjectEnd"}));
}

TEST_F(ProjectionTest, EnablingRules) {
    EXPECT_TRUE(commands->isEnabled(cmd::kInitializeAndProject));
    EXPECT_FALSE(commands->isEnabled(cmd::kMidrotationAndProject));
    EXPECT_FALSE(commands->isEnabled(cmd::kProjectToNextTarget));
    initialize(60, kCriterionAge, 20);
    EXPECT_TRUE(commands->isEnabled(cmd::kMidrotationKey));
    EXPECT_TRUE(commands->isEnabled(cmd::kProjectToNextTarget));
    doc.model.pcrit = kCriterionBasalArea; // at 20 any criterion may be the next target
    EXPECT_TRUE(commands->isEnabled(cmd::kProjectToNextTarget));
    doc.model.age = 26;
    EXPECT_FALSE(commands->isEnabled(cmd::kProjectToNextTarget));
    EXPECT_TRUE(commands->isEnabled(cmd::kReset));
    useMacro();
    EXPECT_FALSE(commands->isEnabled(cmd::kReset));
}

TEST_F(ProjectionTest, AStateFileThatCannotBeWrittenAsksFirst) {
    initialize(60, kCriterionAge, 20);
    doc.setModified(false);
    FailingStateFile failing((dir / "none" / kTemporaryStateFileName).string());
    ProjectionCommands withoutSave(doc, ui, inputs, failing, nullptr, &view);
    const std::vector<uint8_t> before = bytes();
    ui.queueAnswer(Answer::Cancel);
    withoutSave.treatAndProject();
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kSaveConditionsFailedMessage});
    EXPECT_EQ(ui.messages()[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(inputs.input2Calls, 0);
    expectUnchangedSince(before, false);

    // OK goes on; a later restore cannot return and says so.
    ui.clear();
    ui.queueAnswer(Answer::Ok);
    withoutSave.treatAndProject(); // the dialog is cancelled
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kSaveConditionsFailedMessage, kRestoreFailedMessage}));
}

TEST_F(ProjectionTest, TheStateFolderFallsBackToTheSystemTemporaryFolder) {
    EXPECT_EQ(temporaryStateDirectory(dir.string() + "/"), dir.string() + "/");
    const std::string fallback = temporaryStateDirectory((dir / "missing").string() + "/");
    EXPECT_EQ(fs::path(fallback), fs::temp_directory_path() / "");
}

TEST_F(ProjectionTest, ResetAsksToSaveAModifiedDocument) {
    initialize(60, kCriterionAge, 20);
    int saves = 0;
    commands->setSaveAction([&](CGROVEXDoc&) { return ++saves, false; }); // the Save As dialog is cancelled
    ui.queueAnswer(Answer::Yes);
    commands->execute(cmd::kResetKey);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Save GROVEX1 before resetting?"});
    EXPECT_EQ(ui.messages()[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(doc.model.lastTable(), 0);

    ui.queueAnswer(Answer::Cancel);
    commands->reset();
    EXPECT_EQ(doc.model.lastTable(), 0);

    ui.queueAnswer(Answer::No);
    commands->reset();
    EXPECT_EQ(doc.model.lastTable(), -1);
    EXPECT_TRUE(doc.run.needsInit);
    EXPECT_FALSE(doc.run.targetReached);
    EXPECT_EQ(doc.run.maxAge, 0);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(view.resets, 1);
    EXPECT_FALSE(commands->isEnabled(cmd::kProjectToNextTarget));

    // Unmodified: no question; and nothing at all while a macro is busy.
    doc.setModified(false);
    ui.clear();
    commands->reset();
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(view.resets, 2);
    useMacro();
    commands->execute(cmd::kResetKey);
    EXPECT_EQ(view.resets, 2);
}

} // namespace
} // namespace grovex
