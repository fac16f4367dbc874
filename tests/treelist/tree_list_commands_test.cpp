#include "treelist/tree_list_commands.h"

#include "support/fake_canvas.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"
#include "treelist/tree_list_document.h"
#include "treelist/tree_list_file.h"
#include "treelist/tree_list_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace grovex {
namespace {

namespace fs = std::filesystem;
using namespace cmd;
using Texts = std::vector<std::string>;

TreeList plotOfThree() {
    TreeList list;
    list.header.code = 1;
    list.header.plotId = "P7";
    list.header.plotArea = 0.25f;
    list.header.age = 18;
    list.header.fertilizationAge = 0;
    list.header.lbn = 0;
    list.header.qphos = 0;
    list.header.thinningAge = 12;
    list.header.baa = 80.5f;
    list.header.bab = 120.0f;
    list.header.qhdwd = 1;
    list.header.hardwoodPercent = 10.0f;
    for (int i = 0; i < 3; ++i) {
        TreeRow& row = list.rows[static_cast<size_t>(i)];
        row.code = 2;
        row.id = std::to_string(i + 1);
        row.dbh = 6.5f + static_cast<float>(i);
        row.height = 48.0f + static_cast<float>(i);
        row.crownClass = 2;
    }
    list.lastRow = 2;
    list.loaded = true;
    return list;
}

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class TreeListCommandsTest : public testing::Test {
protected:
    TreeListCommandsTest() {
        dir_ = fs::temp_directory_path() / ("grovex_tree_list_commands_" + std::to_string(::getpid()) + "_" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        appDirectory_ = (dir_ / "").string(); // with the separator that ends a folder
        commands_ = std::make_unique<TreeListCommands>(doc_, view_, ui_, appDirectory_);
    }
    ~TreeListCommandsTest() override { fs::remove_all(dir_); }

    // A tree list file written beside the test, and its path.
    std::string plotFile(const std::string& name, const TreeList& list = plotOfThree()) {
        std::string path = (dir_ / name).string();
        fakes::RecordingUi quiet;
        EXPECT_TRUE(writeTreeListFile(path, list, quiet));
        return path;
    }
    void open(const std::string& path) {
        ui_.queueFileName(path);
        ASSERT_TRUE(commands_->load());
    }
    // A list typed into the empty window: loaded, untitled, modified.
    void typeInList() {
        view_.setTreeList(plotOfThree());
        doc_.setModified(true);
    }

    fs::path dir_;
    std::string appDirectory_;
    treeListDoc doc_;
    fakes::FixedPitchMetrics metrics_;
    fakes::RecordingUi ui_;
    fakes::FakeClipboard clipboard_;
    treeListView view_{doc_, metrics_, ui_, clipboard_};
    std::unique_ptr<TreeListCommands> commands_;
};

TEST_F(TreeListCommandsTest, OpenReadsTheChosenFileAndTheDocumentTakesItsName) {
    const std::string path = plotFile("plot 7.dat");
    EXPECT_FALSE(commands_->isEnabled(kFileSave));
    EXPECT_FALSE(commands_->isEnabled(kFilePrint));
    EXPECT_TRUE(commands_->isEnabled(kFileOpen));
    EXPECT_TRUE(commands_->isEnabled(kReset));

    ui_.queueFileName(path);
    ASSERT_TRUE(commands_->execute(kFileOpen));
    const FileDialogRequest& request = ui_.fileDialogs().at(0);
    EXPECT_EQ(request.filter, "Tree List Files (*.dat)|*.dat|All Files (*.*)|*.*||");
    EXPECT_EQ(request.defaultExtension, ".dat");
    EXPECT_EQ(request.startDirectory, appDirectory_);

    EXPECT_TRUE(view_.loaded());
    EXPECT_EQ(view_.treeList().rowCount(), 3);
    EXPECT_EQ(view_.treeList().rows[2].id, "3");
    EXPECT_EQ(doc_.title(), "plot 7.dat");
    EXPECT_EQ(doc_.path(), path);
    EXPECT_FALSE(doc_.isModified());
    EXPECT_EQ(commands_->modifiedPaneText(), "        ");
    for (const int id : {kFileSave, kFileSaveAs, kFilePrint, kFilePrintPreview}) {
        EXPECT_TRUE(commands_->isEnabled(id)) << id;
    }

    // Only the first dialog starts in the application directory; later ones where the last file was.
    fs::create_directories(dir_ / "other");
    commands_->load();
    EXPECT_EQ(ui_.fileDialogs().at(1).startDirectory, appDirectory_);
    EXPECT_EQ(doc_.title(), "plot 7.dat"); // a cancelled dialog changes nothing
    EXPECT_TRUE(view_.loaded());
}

TEST_F(TreeListCommandsTest, ARefusedFileStillNamesTheDocumentButLeavesNoListToSave) {
    const std::string bad = (dir_ / "bad.dat").string();
    std::ofstream(bad, std::ios::binary) << "3   P7  0.25  18\n";
    open(plotFile("good.dat"));
    doc_.setModified(true);

    open(bad);
    EXPECT_FALSE(ui_.messages().empty());
    EXPECT_FALSE(view_.loaded());
    EXPECT_EQ(doc_.title(), "bad.dat");
    EXPECT_FALSE(doc_.isModified());
    EXPECT_FALSE(commands_->isEnabled(kFileSave));

    // Save All has nothing to write and asks nothing.
    ui_.clear();
    commands_->saveForSaveAll();
    EXPECT_TRUE(ui_.fileDialogs().empty());
    EXPECT_EQ(contents(bad), "3   P7  0.25  18\n");
}

TEST_F(TreeListCommandsTest, SaveOfAnUntitledListAsksForANameAndWritesTheGrid) {
    typeInList();
    EXPECT_EQ(commands_->modifiedPaneText(), "Modified");
    const std::string path = (dir_ / "typed.dat").string();
    ui_.queueFileName(path);
    commands_->execute(kFileSave);

    ASSERT_EQ(ui_.fileDialogs().size(), 1u);
    EXPECT_TRUE(ui_.fileDialogs()[0].overwritePrompt);
    EXPECT_EQ(doc_.title(), "typed.dat");
    EXPECT_EQ(doc_.path(), path);
    EXPECT_FALSE(doc_.isModified());
    EXPECT_EQ(contents(path), treeListText(plotOfThree()));

    // Now titled: Save writes to the same file without a dialog; Save All does the same.
    view_.setTreeList(TreeList(plotOfThree()));
    doc_.setModified(true);
    commands_->saveForSaveAll();
    EXPECT_EQ(ui_.fileDialogs().size(), 1u);
    EXPECT_FALSE(doc_.isModified());
}

TEST_F(TreeListCommandsTest, SaveWithoutAListWritesNothingAndKeepsTheOldFile) {
    const std::string path = plotFile("kept.dat");
    const std::string before = contents(path);
    open(path);
    commands_->execute(kResetKey); // not modified: no question; the grid empties and counts as modified
    EXPECT_TRUE(ui_.messages().empty());
    EXPECT_FALSE(view_.loaded());
    EXPECT_TRUE(doc_.isModified());

    commands_->save();
    EXPECT_EQ(contents(path), before);
    EXPECT_TRUE(doc_.isModified());
    EXPECT_EQ(ui_.fileDialogs().size(), 1u); // only the Open

    // Closing asks, since Reset left the document modified; the save then finds nothing to write.
    ui_.queueAnswer(Answer::Yes);
    ui_.queueFileName(path);
    EXPECT_TRUE(commands_->queryClose());
    EXPECT_EQ(ui_.texts(), Texts{"Save the Tree List before closing?"});
    EXPECT_EQ(contents(path), before);
}

TEST_F(TreeListCommandsTest, AFailedWriteLeavesTheDocumentAsItWas) {
    typeInList();
    ui_.queueFileName((dir_ / "missing folder" / "x.dat").string());
    commands_->saveAs();
    ASSERT_EQ(ui_.messages().size(), 1u);
    EXPECT_EQ(ui_.texts()[0].rfind("Unable to open file for output", 0), 0u) << ui_.texts()[0];
    EXPECT_EQ(doc_.title(), "Untitled");
    EXPECT_TRUE(doc_.path().empty());
    EXPECT_TRUE(doc_.isModified());
}

TEST_F(TreeListCommandsTest, ClosingAModifiedListAsksAndOnlyCancelKeepsTheWindow) {
    EXPECT_TRUE(commands_->queryClose()); // not modified: no question
    EXPECT_TRUE(ui_.messages().empty());

    typeInList();
    ui_.queueAnswer(Answer::Cancel);
    EXPECT_FALSE(commands_->queryClose());
    ui_.queueAnswer(Answer::No);
    EXPECT_TRUE(commands_->queryClose());
    EXPECT_TRUE(ui_.fileDialogs().empty());

    // Yes and a cancelled dialog: the window closes without saving.
    ui_.queueAnswer(Answer::Yes);
    EXPECT_TRUE(commands_->queryClose());
    EXPECT_EQ(ui_.fileDialogs().size(), 1u);
    EXPECT_TRUE(fs::is_empty(dir_));

    // Yes and a name: written there.
    const std::string path = (dir_ / "closing.dat").string();
    ui_.queueAnswer(Answer::Yes);
    ui_.queueFileName(path);
    EXPECT_TRUE(commands_->queryClose());
    EXPECT_EQ(contents(path), treeListText(plotOfThree()));
    const Texts asked(4, "Save the Tree List before closing?");
    EXPECT_EQ(ui_.texts(), asked);
    EXPECT_EQ(ui_.messages()[0].buttons, Buttons::YesNoCancel);
}

TEST_F(TreeListCommandsTest, ResetOfAModifiedListOffersToSaveFirst) {
    typeInList();
    ui_.queueAnswer(Answer::Cancel);
    commands_->execute(kReset);
    EXPECT_EQ(ui_.texts(), Texts{"Save Untitled before resetting?"});
    EXPECT_TRUE(view_.loaded());

    // Yes, then the Save As dialog cancelled: still modified, so the list stays.
    ui_.queueAnswer(Answer::Yes);
    commands_->execute(kReset);
    EXPECT_EQ(ui_.fileDialogs().size(), 1u);
    EXPECT_TRUE(view_.loaded());

    // Yes and a name: saved, then cleared.
    const std::string path = (dir_ / "before reset.dat").string();
    ui_.queueAnswer(Answer::Yes);
    ui_.queueFileName(path);
    commands_->execute(kReset);
    EXPECT_EQ(contents(path), treeListText(plotOfThree()));
    EXPECT_FALSE(view_.loaded());
    EXPECT_TRUE(doc_.isModified());
    EXPECT_EQ(doc_.title(), "before reset.dat");

    // No: cleared without saving.
    typeInList();
    ui_.clear();
    ui_.queueAnswer(Answer::No);
    commands_->execute(kReset);
    EXPECT_EQ(ui_.texts(), Texts{"Save before reset.dat before resetting?"});
    EXPECT_FALSE(view_.loaded());
    EXPECT_EQ(contents(path), treeListText(plotOfThree()));
}

TEST_F(TreeListCommandsTest, OpeningOverUnsavedEditsOffersToSaveThemFirst) {
    typeInList();
    ui_.queueAnswer(Answer::Cancel);
    commands_->execute(kFileOpen);
    EXPECT_EQ(ui_.texts(), Texts{"Save Untitled before opening another tree list?"});
    EXPECT_TRUE(ui_.fileDialogs().empty()); // cancelled before the open dialog
    EXPECT_TRUE(view_.loaded());
    EXPECT_TRUE(doc_.isModified());

    // No: the open dialog follows and the edits may go.
    ui_.clear();
    ui_.queueAnswer(Answer::No);
    commands_->execute(kFileOpen);
    EXPECT_EQ(ui_.fileDialogs().size(), 1u);
}

TEST_F(TreeListCommandsTest, GridCommandsGoToTheGrid) {
    open(plotFile("grid.dat"));
    EXPECT_FALSE(commands_->isEnabled(cmd::kEditCopy)); // no current cell yet
    EXPECT_TRUE(commands_->execute(cmd::kEditSelectAll));
    EXPECT_TRUE(commands_->isEnabled(cmd::kEditCopy));
    EXPECT_TRUE(commands_->execute(cmd::kDeleteSelectedRows)); // under Select All: the whole list goes
    EXPECT_FALSE(view_.loaded());
    EXPECT_TRUE(doc_.isModified());
    EXPECT_FALSE(commands_->execute(12345));
}

} // namespace
} // namespace grovex
