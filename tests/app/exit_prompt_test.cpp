#include "app/exit_prompt.h"
#include "control/macro_store.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace grovex {
namespace {

namespace fs = std::filesystem;

constexpr const char* kAsk = "Save the current macro before exiting?";
constexpr const char* kFailed = "Unable to save current macro.  Please try again.";

class ExitPromptTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("grovex_exit_" + std::to_string(::getpid()) + "_" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        macro_.appendInteger("ProjectInit", -1);
        macro_.setUnsaved(true);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string appDirectory() const { return dir_.string() + "/"; }

    fs::path dir_;
    MacroStore macro_;
    fakes::RecordingUi ui_;
};

TEST_F(ExitPromptTest, NothingIsAskedForASavedOrEmptyMacro) {
    macro_.setUnsaved(false);
    offerToSaveMacro(macro_, ui_, appDirectory());

    MacroStore emptyButUnsaved;
    emptyButUnsaved.setUnsaved(true);
    offerToSaveMacro(emptyButUnsaved, ui_, appDirectory());
    EXPECT_TRUE(ui_.messages().empty());
    EXPECT_TRUE(ui_.fileDialogs().empty());
}

TEST_F(ExitPromptTest, NoLeavesTheMacroUnsaved) {
    ui_.queueAnswer(Answer::No);
    offerToSaveMacro(macro_, ui_, appDirectory());
    ASSERT_EQ(ui_.messages().size(), 1u);
    EXPECT_EQ(ui_.messages()[0].text, kAsk);
    EXPECT_EQ(ui_.messages()[0].buttons, Buttons::YesNo);
    EXPECT_EQ(ui_.messages()[0].icon, Icon::Question);
    EXPECT_TRUE(ui_.fileDialogs().empty());
    EXPECT_TRUE(macro_.unsaved());
}

TEST_F(ExitPromptTest, YesWritesTheMacroWhereTheUserChose) {
    const std::string path = (dir_ / "thin.gmc").string();
    ui_.queueAnswer(Answer::Yes);
    ui_.queueFileName(path);
    offerToSaveMacro(macro_, ui_, appDirectory());

    ASSERT_EQ(ui_.fileDialogs().size(), 1u);
    const FileDialogRequest& request = ui_.fileDialogs()[0];
    EXPECT_EQ(request.filter, "Grovex Macro Files (*.gmc)|*.gmc|All Files (*.*)|*.*||");
    EXPECT_EQ(request.defaultExtension, ".gmc");
    EXPECT_EQ(request.startDirectory, appDirectory());
    EXPECT_TRUE(request.overwritePrompt);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kAsk});
    EXPECT_EQ(fs::file_size(path), macro_.fileBytes().size());
    EXPECT_FALSE(macro_.unsaved());
}

TEST_F(ExitPromptTest, CancellingTheFileDialogLeavesWithoutAskingAgain) {
    ui_.queueAnswer(Answer::Yes);
    ui_.queueFileName(std::nullopt);
    offerToSaveMacro(macro_, ui_, appDirectory());
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kAsk});
    EXPECT_TRUE(macro_.unsaved());
}

TEST_F(ExitPromptTest, AFailedWriteSaysSoAndAsksAgain) {
    const std::string unwritable = (dir_ / "missing" / "folder" / "m.gmc").string();
    const std::string good = (dir_ / "m.gmc").string();
    ui_.queueAnswer(Answer::Yes);
    ui_.queueFileName(unwritable);
    ui_.queueAnswer(Answer::Ok);
    ui_.queueAnswer(Answer::Yes);
    ui_.queueFileName(good);
    offerToSaveMacro(macro_, ui_, appDirectory());
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{kAsk, kFailed, kAsk}));
    EXPECT_TRUE(fs::exists(good));
    EXPECT_FALSE(macro_.unsaved());

    // Answering No after a failure leaves for good.
    macro_.setUnsaved(true);
    ui_.clear();
    ui_.queueAnswer(Answer::Yes);
    ui_.queueFileName(unwritable);
    ui_.queueAnswer(Answer::Ok);
    ui_.queueAnswer(Answer::No);
    offerToSaveMacro(macro_, ui_, appDirectory());
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{kAsk, kFailed, kAsk}));
    EXPECT_TRUE(macro_.unsaved());
}

} // namespace
} // namespace grovex
