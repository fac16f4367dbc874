// Save, Save As and the save before closing of the tree list window, with the writer failing on the way:
// the old file stays, the user is told once what failed and why, and the list stays modified.

#include "support/failing_file_system.h"
#include "support/fake_canvas.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"
#include "support/save_obstacles.h"
#include "treelist/tree_list_commands.h"
#include "treelist/tree_list_document.h"
#include "treelist/tree_list_file.h"
#include "treelist/tree_list_view.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

using fakes::FailingFileSystem;
using fakes::Obstacle;
using fakes::ObstacleSetup;
using Texts = std::vector<std::string>;

TreeList plot(int rows) {
    TreeList list;
    list.header.code = 1;
    list.header.plotId = "P9";
    list.header.plotArea = 0.2f;
    list.header.age = 15;
    list.header.fertilizationAge = 0;
    list.header.lbn = 0;
    list.header.qphos = 0;
    list.header.thinningAge = 0;
    list.header.baa = 0;
    list.header.bab = 0;
    list.header.qhdwd = 0;
    list.header.hardwoodPercent = 0;
    for (int i = 0; i < rows; ++i) {
        TreeRow& row = list.rows[static_cast<size_t>(i)];
        row.code = 2;
        row.id = std::to_string(i + 1);
        row.dbh = 5.0f + 0.1f * static_cast<float>(i);
        row.height = 40.0f + 0.2f * static_cast<float>(i);
        row.crownClass = 2;
    }
    list.lastRow = rows - 1;
    list.loaded = true;
    return list;
}

std::vector<uint8_t> textBytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string failure(const std::string& path, const std::string& reason) {
    return std::string(kOutputFailureMessage) + "\nUnable to save " + path + ": " + reason + ".";
}

class TreeListSaveFaultsTest : public testing::Test {
protected:
    void SetUp() override {
        path_ = (scratch_.path() / "plot.dat").string();
        oldBytes_ = textBytes(treeListText(plot(2)));
        fakes::writeBytes(path_, oldBytes_);
        ui_.queueFileName(path_);
        ASSERT_TRUE(commands_.load());
        view_.setTreeList(plot(40));
        doc_.setModified(true);
        commands_.setFileSystem(disk_);
        ui_.clear();
    }

    void expectUnsaved() {
        EXPECT_TRUE(doc_.isModified());
        EXPECT_EQ(doc_.path(), path_);
        EXPECT_EQ(fakes::bytesOf(path_), oldBytes_);
    }

    fakes::ScratchFolder scratch_;
    std::string path_;
    std::vector<uint8_t> oldBytes_;
    treeListDoc doc_;
    fakes::FixedPitchMetrics metrics_;
    fakes::RecordingUi ui_;
    fakes::FakeClipboard clipboard_;
    treeListView view_{doc_, metrics_, ui_, clipboard_};
    TreeListCommands commands_{doc_, view_, ui_, scratch_.path().string() + "/"};
    FailingFileSystem disk_;
};

TEST_F(TreeListSaveFaultsTest, AWriteCutOffAfterAnyNumberOfBytesKeepsTheFileAndTheListModified) {
    const size_t size = treeListText(view_.treeList()).size();
    for (size_t budget : fakes::everyCutPoint(size)) {
        SCOPED_TRACE(budget);
        ui_.clear();
        disk_.byteBudget = budget;
        commands_.save();
        ASSERT_EQ(ui_.texts(), Texts{failure(path_, "No space left on device")});
        ASSERT_TRUE(doc_.isModified());
        ASSERT_EQ(fakes::bytesOf(path_), oldBytes_);
        ASSERT_EQ(scratch_.entries(scratch_.path()), Texts{"plot.dat"});
    }
    for (auto step : {FailingFileSystem::Step::Open, FailingFileSystem::Step::Fsync, FailingFileSystem::Step::Close,
                      FailingFileSystem::Step::Rename}) {
        ui_.clear();
        disk_ = FailingFileSystem();
        disk_.failingStep = step;
        disk_.stepError = EACCES;
        commands_.save();
        EXPECT_EQ(ui_.texts(), Texts{failure(path_, "Permission denied")});
        expectUnsaved();
    }

    ui_.clear();
    disk_ = FailingFileSystem();
    disk_.byteBudget = size;
    commands_.save();
    EXPECT_TRUE(ui_.messages().empty());
    EXPECT_FALSE(doc_.isModified());
    EXPECT_EQ(fakes::bytesOf(path_), textBytes(treeListText(plot(40))));
}

TEST_F(TreeListSaveFaultsTest, SaveAsIntoAnObstacleKeepsTheOldNameAndFile) {
    for (Obstacle obstacle : fakes::kObstacles) {
        SCOPED_TRACE(fakes::obstacleName(obstacle));
        ui_.clear();
        const ObstacleSetup setup = ObstacleSetup::make(obstacle, scratch_.path() / "elsewhere", "x.dat", oldBytes_);
        ui_.queueFileName(setup.target.string());
        commands_.saveAs();
        EXPECT_EQ(ui_.texts(), Texts{failure(setup.target.string(), setup.reason)});
        if (setup.hasPrevious) {
            EXPECT_EQ(fakes::bytesOf(setup.target), oldBytes_);
        }
        expectUnsaved();
    }
}

TEST_F(TreeListSaveFaultsTest, AFolderThatCannotBeWrittenInKeepsTheListModified) {
    const std::optional<std::string> refused = fakes::lockFolder(scratch_.path());
    if (!refused) {
        GTEST_SKIP() << "this file system lets root write in any folder; a failing open covers this above";
    }
    commands_.save();
    fakes::unlockFolder(scratch_.path());
    EXPECT_EQ(ui_.texts(), Texts{failure(path_, *refused)});
    expectUnsaved();
}

// Closing with Yes and a file that cannot be written keeps the window, so the list is not lost with it.
TEST_F(TreeListSaveFaultsTest, AFailedSaveBeforeClosingKeepsTheWindowOpen) {
    disk_.byteBudget = 0;
    ui_.queueAnswer(Answer::Yes);
    ui_.queueFileName(path_);
    EXPECT_FALSE(commands_.queryClose());
    EXPECT_EQ(ui_.texts(), (Texts{"Save the Tree List before closing?", failure(path_, "No space left on device")}));
    expectUnsaved();

    ui_.clear();
    disk_ = FailingFileSystem();
    ui_.queueAnswer(Answer::Yes);
    ui_.queueFileName(path_);
    EXPECT_TRUE(commands_.queryClose());
    EXPECT_FALSE(doc_.isModified());
}

} // namespace
} // namespace grovex
