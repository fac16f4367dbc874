// Save, Save As, Save All and the save before closing, with the document file writer failing on the way:
// the file on disk stays as it was, the user is told once what failed and why, and the document stays
// modified under its old name.

#include "app/document_commands.h"
#include "model/input1.h"
#include "results/document.h"
#include "results/document_file.h"
#include "support/failing_file_system.h"
#include "support/recording_ui.h"
#include "support/save_obstacles.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

using fakes::FailingFileSystem;
using fakes::Obstacle;
using fakes::ObstacleSetup;

CGROVEXDoc projected(float target) {
    CGROVEXDoc doc;
    Input1 input;
    input.target = target;
    input.title = "Faults";
    WriteInput1(doc.model, input);
    EXPECT_TRUE(StartRun(doc.model));
    doc.model.ProjectToTarget();
    doc.run.needsInit = false;
    return doc;
}

class DocumentSaveFaultsTest : public testing::Test {
protected:
    void SetUp() override {
        path_ = (scratch_.path() / "tract.gvx").string();
        CGROVEXDoc old = projected(10);
        ASSERT_TRUE(saveDocument(old, path_));
        oldBytes_ = fakes::bytesOf(path_);
        doc_ = projected(20);
        doc_.setTitle("tract.gvx");
        doc_.setPath(path_);
        doc_.setModified(true);
    }

    // The document as it was before the failed save: same title and path, still modified.
    void expectUnsaved(const std::string& title, const std::string& path) {
        EXPECT_TRUE(doc_.isModified());
        EXPECT_EQ(doc_.title(), title);
        EXPECT_EQ(doc_.path(), path);
        EXPECT_EQ(fakes::bytesOf(path_), oldBytes_);
        EXPECT_EQ(scratch_.entries(scratch_.path()), std::vector<std::string>{"tract.gvx"});
    }

    fakes::ScratchFolder scratch_;
    std::string path_;
    std::vector<uint8_t> oldBytes_;
    CGROVEXDoc doc_;
    fakes::RecordingUi ui_;
    FailingFileSystem disk_;
    std::vector<std::string> recent_;
    DocumentSaver saver_{ui_, [this](CGROVEXDoc& doc, const std::string& path) -> std::optional<std::string> {
                             const IoStatus status = saveDocument(doc, path, disk_);
                             return status ? std::nullopt : std::optional<std::string>(status.message());
                         }};
};

TEST_F(DocumentSaveFaultsTest, AWriteCutOffAfterAnyNumberOfBytesKeepsTheFileAndTheDocumentUnsaved) {
    saver_.setSavedHandler([this](const std::string& path) { recent_.push_back(path); });
    const size_t size = storeDocument(doc_).size();
    doc_.setModified(true);
    const std::string message = "Unable to save " + path_ + ": No space left on device.";
    for (size_t budget : fakes::everyCutPoint(size)) {
        SCOPED_TRACE(budget);
        ui_.clear();
        disk_.byteBudget = budget;
        ASSERT_FALSE(saver_.save(doc_));
        ASSERT_EQ(ui_.texts(), std::vector<std::string>{message});
        ASSERT_EQ(ui_.messages()[0].icon, Icon::Warning);
        ASSERT_TRUE(doc_.isModified());
        ASSERT_EQ(fakes::bytesOf(path_), oldBytes_);
        ASSERT_EQ(scratch_.entries(scratch_.path()), std::vector<std::string>{"tract.gvx"});
    }
    EXPECT_TRUE(recent_.empty());

    // The flush, the close, the rename and the open fail the same way.
    for (auto step : {FailingFileSystem::Step::Open, FailingFileSystem::Step::Fsync, FailingFileSystem::Step::Close,
                      FailingFileSystem::Step::Rename}) {
        ui_.clear();
        disk_ = FailingFileSystem();
        disk_.failingStep = step;
        disk_.stepError = EACCES;
        EXPECT_FALSE(saver_.save(doc_));
        EXPECT_EQ(ui_.texts(), std::vector<std::string>{"Unable to save " + path_ + ": Permission denied."});
        expectUnsaved("tract.gvx", path_);
    }

    // With room for every byte the save goes through.
    ui_.clear();
    disk_ = FailingFileSystem();
    disk_.byteBudget = size;
    EXPECT_TRUE(saver_.save(doc_));
    EXPECT_TRUE(ui_.messages().empty());
    EXPECT_FALSE(doc_.isModified());
    EXPECT_EQ(recent_, std::vector<std::string>{path_});
}

TEST_F(DocumentSaveFaultsTest, SaveAsIntoAnObstacleKeepsTheOldNameAndFile) {
    for (Obstacle obstacle : fakes::kObstacles) {
        SCOPED_TRACE(fakes::obstacleName(obstacle));
        ui_.clear();
        const ObstacleSetup setup = ObstacleSetup::make(obstacle, scratch_.path() / "elsewhere", "x.gvx", oldBytes_);
        ui_.queueFileName(setup.target.string());
        EXPECT_FALSE(saver_.saveAs(doc_));
        EXPECT_EQ(ui_.texts(), std::vector<std::string>{setup.message()});
        if (setup.hasPrevious) {
            EXPECT_EQ(fakes::bytesOf(setup.target), oldBytes_);
        }
        EXPECT_TRUE(doc_.isModified());
        EXPECT_EQ(doc_.title(), "tract.gvx");
        EXPECT_EQ(doc_.path(), path_);
    }
}

TEST_F(DocumentSaveFaultsTest, AFolderThatCannotBeWrittenInKeepsTheDocumentUnsaved) {
    const std::optional<std::string> refused = fakes::lockFolder(scratch_.path());
    if (!refused) {
        GTEST_SKIP() << "this file system lets root write in any folder; a failing open covers this above";
    }
    EXPECT_FALSE(saver_.save(doc_));
    fakes::unlockFolder(scratch_.path());
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"Unable to save " + path_ + ": " + *refused + "."});
    expectUnsaved("tract.gvx", path_);
}

TEST_F(DocumentSaveFaultsTest, ClosingAfterAFailedSaveStaysOpenAndSaveAllGoesOnToTheNext) {
    disk_.byteBudget = 100;
    ui_.queueAnswer(Answer::Yes);
    EXPECT_FALSE(saver_.saveModified(doc_));
    const std::string failure = "Unable to save " + path_ + ": No space left on device.";
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{"Save changes to tract.gvx?", failure}));
    expectUnsaved("tract.gvx", path_);

    // Save All: a file the user made read-only is refused once, and the next document is still written.
    ui_.clear();
    disk_ = FailingFileSystem();
    ::chmod(path_.c_str(), 0444);
    CGROVEXDoc other = projected(15);
    other.setTitle("GROVEX2");
    other.setModified(true);
    const std::string otherPath = (scratch_.path() / "other.gvx").string();
    ui_.queueFileName(otherPath);
    saver_.saveAll({&doc_, &other});
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"Unable to save " + path_ + ": Permission denied."});
    EXPECT_TRUE(doc_.isModified());
    EXPECT_EQ(fakes::bytesOf(path_), oldBytes_);
    EXPECT_FALSE(other.isModified());
    EXPECT_EQ(fakes::bytesOf(otherPath), storeDocument(other));
}

} // namespace
} // namespace grovex
