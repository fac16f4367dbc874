// The two temporary state files when their write fails at any byte, or when what is read back is short: the
// user is asked before the command runs without a way back, and a later roll back that finds no complete
// state says so and never loads part of one.

#include "control/macro_recorder.h"
#include "control/projection.h"
#include "results/document_file.h"
#include "support/failing_file_system.h"
#include "support/recording_ui.h"
#include "support/save_obstacles.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

namespace grovex {
namespace {

namespace fs = std::filesystem;
using fakes::FailingFileSystem;
using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::string>;

// The initialization a queued Input1 gives; the treatment dialog is always cancelled.
class OneInitialization : public InputSource {
public:
    std::optional<Input1> input1(CGROVEXDoc&) override {
        std::optional<Input1> input = next;
        next.reset();
        return input;
    }
    std::optional<Input2Values> input2(CGROVEXDoc&) override { return std::nullopt; }
    std::optional<Input1> next;
};

// Hands back only the first `kept` bytes of what was written, as a file cut short on the disk would.
class ShortStateFile : public StateFile {
public:
    using StateFile::StateFile;
    size_t kept = 0;
    std::optional<Bytes> read() override {
        std::optional<Bytes> bytes = StateFile::read();
        if (bytes && bytes->size() > kept) {
            bytes->resize(kept);
        }
        return bytes;
    }
};

// A state file that is never there when read.
class VanishingStateFile : public StateFile {
public:
    using StateFile::StateFile;
    std::optional<Bytes> read() override { return std::nullopt; }
};

Bytes bytesOf(CGROVEXDoc& doc) {
    const bool modified = doc.isModified();
    Bytes bytes = storeDocument(doc);
    doc.setModified(modified);
    return bytes;
}

class StateFileFaultsTest : public testing::Test {
protected:
    void SetUp() override {
        statePath_ = (scratch_.path() / kTemporaryStateFileName).string();
        StateFile plain(statePath_);
        OneInitialization inputs;
        ProjectionCommands commands(initialized_, ui_, inputs, plain);
        Input1 input;
        input.title = "State";
        input.target = 20;
        inputs.next = input;
        commands.initializeAndProject();
        ASSERT_FALSE(initialized_.run.needsInit);
        initialized_.setModified(false);
        stateBytes_ = bytesOf(initialized_);
        ui_.clear();
    }

    // A fresh copy of the initialized document.
    std::unique_ptr<CGROVEXDoc> initializedCopy() {
        auto doc = std::make_unique<CGROVEXDoc>();
        EXPECT_EQ(loadDocument(*doc, stateBytes_), DocumentLoad::Ok);
        doc->display.standTitle = initialized_.display.standTitle;
        doc->setModified(false);
        return doc;
    }

    fakes::ScratchFolder scratch_;
    std::string statePath_;
    CGROVEXDoc initialized_;
    Bytes stateBytes_;
    fakes::RecordingUi ui_;
};

TEST_F(StateFileFaultsTest, AWriteCutOffAtAnyByteFailsAndLeavesNothingToReadBack) {
    const Bytes previous = {1, 2, 3};
    fakes::writeBytes(statePath_, previous);
    for (size_t budget : fakes::everyCutPoint(stateBytes_.size())) {
        FailingFileSystem disk;
        disk.byteBudget = budget;
        StateFile file(statePath_, &disk);
        ASSERT_FALSE(file.write(stateBytes_)) << budget;
        ASSERT_EQ(file.read(), previous) << budget;
        ASSERT_EQ(scratch_.entries(scratch_.path()), Texts{kTemporaryStateFileName}) << budget;
    }
    FailingFileSystem roomy;
    roomy.byteBudget = stateBytes_.size();
    StateFile file(statePath_, &roomy);
    EXPECT_TRUE(file.write(stateBytes_));
    EXPECT_EQ(file.read(), stateBytes_);

    // A folder in place of the file, or a file in place of the folder.
    fs::remove(statePath_);
    fs::create_directory(statePath_);
    EXPECT_FALSE(StateFile(statePath_).write(stateBytes_));
    EXPECT_FALSE(StateFile((scratch_.path() / "missing" / kTemporaryStateFileName).string()).write(stateBytes_));
}

// Where the commands of the tests below see their state file cut off: every length near either end and a spread in
// between. The file itself is cut at every length in the first test; a command sees only that the write
// failed or what was read back, and a document that is cut at any length is refused (see the document
// file's tests), so these suffice to show that the commands act on it.
//
// Projection commands: Cancel at the prompt changes nothing; OK runs the command, and when it has to be
// rolled back the user is told that the view could not be returned.
TEST_F(StateFileFaultsTest, AFailedSaveOfTheConditionsAsksAndOkGoesOnWithoutAWayBack) {
    for (size_t budget : fakes::sampledCutPoints(stateBytes_.size())) {
        SCOPED_TRACE(budget);
        FailingFileSystem disk;
        disk.byteBudget = budget;
        StateFile file(statePath_, &disk);
        OneInitialization inputs;
        auto doc = initializedCopy();
        ProjectionCommands commands(*doc, ui_, inputs, file);

        ui_.clear();
        ui_.queueAnswer(Answer::Cancel);
        commands.treatAndProject();
        ASSERT_EQ(ui_.texts(), Texts{kSaveConditionsFailedMessage});
        ASSERT_EQ(ui_.messages()[0].buttons, Buttons::OkCancel);
        ASSERT_EQ(bytesOf(*doc), stateBytes_);
        ASSERT_FALSE(doc->isModified());

        ui_.clear();
        ui_.queueAnswer(Answer::Ok);
        commands.treatAndProject(); // grows a season, then the treatment dialog is cancelled
        ASSERT_EQ(ui_.texts(), (Texts{kSaveConditionsFailedMessage, kRestoreFailedMessage}));
        ASSERT_FALSE(fs::exists(statePath_));
        ASSERT_EQ(scratch_.entries(scratch_.path()), Texts{});
    }
}

TEST_F(StateFileFaultsTest, AStateCutShortIsNeverLoadedBack) {
    // What a roll back without any state leaves: the document as the command left it.
    VanishingStateFile none(statePath_);
    OneInitialization inputs;
    auto reference = initializedCopy();
    ProjectionCommands(*reference, ui_, inputs, none).treatAndProject();
    ASSERT_EQ(ui_.texts(), Texts{kRestoreFailedMessage});
    const Bytes unrestored = bytesOf(*reference);
    ASSERT_NE(unrestored, stateBytes_);

    for (size_t kept : fakes::sampledCutPoints(stateBytes_.size())) {
        SCOPED_TRACE(kept);
        ShortStateFile file(statePath_);
        file.kept = kept;
        auto doc = initializedCopy();
        ui_.clear();
        ProjectionCommands(*doc, ui_, inputs, file).treatAndProject();
        ASSERT_EQ(ui_.texts(), Texts{kRestoreFailedMessage});
        ASSERT_EQ(bytesOf(*doc), unrestored);
        ASSERT_FALSE(doc->isModified());
    }

    // The whole state restores the document.
    ShortStateFile whole(statePath_);
    whole.kept = stateBytes_.size();
    auto doc = initializedCopy();
    ui_.clear();
    ProjectionCommands(*doc, ui_, inputs, whole).treatAndProject();
    EXPECT_TRUE(ui_.messages().empty());
    EXPECT_EQ(bytesOf(*doc), stateBytes_);
}

// Play Macro keeps the view in its own state file. The macro below fails at once on a new view, which must
// then be rolled back.
TEST_F(StateFileFaultsTest, PlayAsksWhenItsStateCannotBeSavedAndAShortStateIsNotLoaded) {
    MacroStore store;
    store.recordMarker("Project");
    store.recordMarker("ProjectEnd");
    const std::string playPath = (scratch_.path() / kPlayStateFileName).string();
    CGROVEXDoc blank;
    const size_t size = storeDocument(blank).size();

    for (size_t budget : fakes::sampledCutPoints(size)) {
        SCOPED_TRACE(budget);
        FailingFileSystem disk;
        disk.byteBudget = budget;
        StateFile file(playPath, &disk);
        CGROVEXDoc doc;
        doc.display.standTitle = "Mine";
        const Bytes before = bytesOf(doc);
        MacroRecorder recorder(store, doc, ui_, file, scratch_.path().string());

        ui_.clear();
        ui_.queueAnswer(Answer::Cancel);
        recorder.execute(cmd::kPlayMacro);
        ASSERT_EQ(ui_.texts(), Texts{kPlaySaveConditionsFailedMessage});
        ASSERT_EQ(ui_.messages()[0].buttons, Buttons::OkCancel);
        ASSERT_EQ(bytesOf(doc), before);
        ASSERT_FALSE(recorder.isEnabled(cmd::kStopMacro)); // not playing

        ui_.clear();
        ui_.queueAnswer(Answer::Ok);
        recorder.execute(cmd::kPlayMacro);
        ASSERT_EQ(ui_.texts(),
                  (Texts{kPlaySaveConditionsFailedMessage, kMacroNeedsInitializedViewMessage, kRestoreFailedMessage}));
        ASSERT_EQ(doc.display.standTitle, "Mine");
        ASSERT_EQ(scratch_.entries(scratch_.path()), Texts{});
    }

    for (size_t kept : fakes::sampledCutPoints(size)) {
        SCOPED_TRACE(kept);
        ShortStateFile file(playPath);
        file.kept = kept;
        CGROVEXDoc doc;
        MacroRecorder recorder(store, doc, ui_, file, scratch_.path().string());
        ui_.clear();
        recorder.execute(cmd::kPlayMacro);
        ASSERT_EQ(ui_.texts(), (Texts{kMacroNeedsInitializedViewMessage, kRestoreFailedMessage}));
        ASSERT_EQ(scratch_.entries(scratch_.path()), Texts{});
    }
}

} // namespace
} // namespace grovex
