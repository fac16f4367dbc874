// Save Macro, and the save offered before a macro is overwritten, with the macro file writer failing on the
// way: the old file stays, the user is told once what failed and why, and the macro stays unsaved.

#include "control/macro_recorder.h"
#include "support/failing_file_system.h"
#include "support/recording_ui.h"
#include "support/save_obstacles.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

using fakes::FailingFileSystem;
using fakes::Obstacle;
using fakes::ObstacleSetup;

class MacroSaveFaultsTest : public testing::Test {
protected:
    void SetUp() override {
        path_ = (scratch_.path() / "thin.gmc").string();
        MacroStore old;
        old.recordMarker("ProjectInit");
        ASSERT_TRUE(old.save(path_));
        oldBytes_ = fakes::bytesOf(path_);

        store_.recordMarker("ProjectInit");
        store_.recordText("title", "A stand thinned twice");
        store_.recordReal("si", 65.5f);
        store_.recordInteger("nyears", 60);
        store_.recordMarker("Project");
        store_.recordMarker("ProjectEnd");
        store_.setUnsaved(true);
        recorder_.setFileSystem(disk_);
    }

    void expectUnsaved() {
        EXPECT_TRUE(store_.unsaved());
        EXPECT_EQ(store_.lastIndex(), 5);
        EXPECT_EQ(fakes::bytesOf(path_), oldBytes_);
        EXPECT_EQ(scratch_.entries(scratch_.path()), std::vector<std::string>{"thin.gmc"});
    }

    fakes::ScratchFolder scratch_;
    std::string path_;
    std::vector<uint8_t> oldBytes_;
    MacroStore store_;
    CGROVEXDoc doc_;
    fakes::RecordingUi ui_;
    StateFile playFile_{(scratch_.path() / kPlayStateFileName).string()};
    FailingFileSystem disk_;
    MacroRecorder recorder_{store_, doc_, ui_, playFile_, scratch_.path().string()};
};

TEST_F(MacroSaveFaultsTest, AWriteCutOffAfterAnyNumberOfBytesKeepsTheFileAndTheMacroUnsaved) {
    const size_t size = store_.fileBytes().size();
    const std::string message = "Unable to save " + path_ + ": No space left on device.";
    for (size_t budget : fakes::everyCutPoint(size)) {
        SCOPED_TRACE(budget);
        ui_.clear();
        disk_.byteBudget = budget;
        ui_.queueFileName(path_);
        ASSERT_TRUE(recorder_.isEnabled(cmd::kSaveMacro));
        recorder_.execute(cmd::kSaveMacro);
        ASSERT_EQ(ui_.texts(), std::vector<std::string>{message});
        ASSERT_EQ(ui_.messages()[0].icon, Icon::Error);
        ASSERT_TRUE(store_.unsaved());
        ASSERT_EQ(fakes::bytesOf(path_), oldBytes_);
        ASSERT_EQ(scratch_.entries(scratch_.path()), std::vector<std::string>{"thin.gmc"});
    }
    for (auto step : {FailingFileSystem::Step::Open, FailingFileSystem::Step::Fsync, FailingFileSystem::Step::Close,
                      FailingFileSystem::Step::Rename}) {
        ui_.clear();
        disk_ = FailingFileSystem();
        disk_.failingStep = step;
        disk_.stepError = EACCES;
        ui_.queueFileName(path_);
        recorder_.execute(cmd::kSaveMacro);
        EXPECT_EQ(ui_.texts(), std::vector<std::string>{"Unable to save " + path_ + ": Permission denied."});
        expectUnsaved();
    }

    ui_.clear();
    disk_ = FailingFileSystem();
    disk_.byteBudget = size;
    ui_.queueFileName(path_);
    recorder_.execute(cmd::kSaveMacro);
    EXPECT_TRUE(ui_.messages().empty());
    EXPECT_FALSE(store_.unsaved());
    EXPECT_EQ(fakes::bytesOf(path_), store_.fileBytes());
}

TEST_F(MacroSaveFaultsTest, SavingIntoAnObstacleIsReportedOnceAndTheMacroStaysUnsaved) {
    for (Obstacle obstacle : fakes::kObstacles) {
        SCOPED_TRACE(fakes::obstacleName(obstacle));
        ui_.clear();
        const ObstacleSetup setup = ObstacleSetup::make(obstacle, scratch_.path() / "elsewhere", "x.gmc", oldBytes_);
        ui_.queueFileName(setup.target.string());
        recorder_.execute(cmd::kSaveMacro);
        EXPECT_EQ(ui_.texts(), std::vector<std::string>{setup.message()});
        if (setup.hasPrevious) {
            EXPECT_EQ(fakes::bytesOf(setup.target), oldBytes_);
        }
        EXPECT_TRUE(store_.unsaved());
    }
}

TEST_F(MacroSaveFaultsTest, AFolderThatCannotBeWrittenInKeepsTheMacroUnsaved) {
    const std::optional<std::string> refused = fakes::lockFolder(scratch_.path());
    if (!refused) {
        GTEST_SKIP() << "this file system lets root write in any folder; a failing open covers this above";
    }
    ui_.queueFileName(path_);
    recorder_.execute(cmd::kSaveMacro);
    fakes::unlockFolder(scratch_.path());
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"Unable to save " + path_ + ": " + *refused + "."});
    expectUnsaved();
}

// Record and Open offer to save the macro they would replace; a failed save keeps it when the user says so.
TEST_F(MacroSaveFaultsTest, AFailedSaveBeforeOverwritingKeepsTheMacroWhenTheUserStops) {
    disk_.byteBudget = 10;
    ui_.queueAnswer(Answer::Yes);
    ui_.queueFileName(path_);
    ui_.queueAnswer(Answer::No);
    recorder_.execute(cmd::kRecordMacro);
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{kSaveBeforeOverwriteQuestion, kSaveFailedContinueRecordQuestion}));
    EXPECT_FALSE(recorder_.isEnabled(cmd::kStopMacro)); // not recording
    expectUnsaved();

    ui_.clear();
    ui_.queueAnswer(Answer::Yes);
    ui_.queueFileName(path_);
    recorder_.execute(cmd::kOpenMacro);
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{kSaveBeforeOverwriteQuestion, kSaveFailedOpenAbortedMessage}));
    expectUnsaved();
}

} // namespace
} // namespace grovex
