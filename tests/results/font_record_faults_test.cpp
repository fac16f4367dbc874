// The font record when its save fails: the previous record stays whole, and the user hears of it once in a
// run, however often the font size changes afterwards.

#include "results/font_record.h"
#include "support/failing_file_system.h"
#include "support/recording_ui.h"
#include "support/save_obstacles.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

using fakes::FailingFileSystem;
using fakes::Obstacle;
using fakes::ObstacleSetup;

LogFont fontOfHeight(int32_t height) {
    LogFont font;
    font.height = height;
    return font;
}

TEST(FontRecordFaults, AWriteCutOffAtAnyByteKeepsTheWholePreviousRecord) {
    fakes::ScratchFolder scratch;
    const std::string path = (scratch.path() / kFontRecordName).string();
    ASSERT_TRUE(writeFontRecord(path, fontOfHeight(21)));
    const std::vector<uint8_t> old = fakes::bytesOf(path);
    for (size_t budget : fakes::everyCutPoint(kFontRecordSize)) {
        FailingFileSystem disk;
        disk.byteBudget = budget;
        EXPECT_EQ(writeFontRecord(path, fontOfHeight(30), disk).message(),
                  "Unable to save " + path + ": No space left on device.")
            << budget;
        ASSERT_EQ(fakes::bytesOf(path), old) << budget;
        ASSERT_EQ(readFontRecord(path)->height, 21) << budget;
        ASSERT_EQ(scratch.entries(scratch.path()), std::vector<std::string>{kFontRecordName}) << budget;
    }
}

TEST(FontRecordFaults, OnlyTheFirstFailureOfARunIsReported) {
    fakes::ScratchFolder scratch;
    const FontRecord record = encodeFontRecord(fontOfHeight(21));
    const std::vector<uint8_t> old(record.begin(), record.end());
    fakes::RecordingUi ui;
    FontRecordSaver saver;
    std::vector<ObstacleSetup> setups;
    for (Obstacle obstacle : fakes::kObstacles) {
        setups.push_back(ObstacleSetup::make(obstacle, scratch.path(), kFontRecordName, old));
    }
    EXPECT_FALSE(saver.save(setups[0].target.string(), fontOfHeight(22), ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{setups[0].message()});
    EXPECT_EQ(ui.messages()[0].buttons, Buttons::Ok);

    // A later success does not make the next failure worth a message again.
    const std::string good = (scratch.path() / kFontRecordName).string();
    EXPECT_TRUE(saver.save(good, fontOfHeight(23), ui));
    for (const ObstacleSetup& setup : setups) {
        EXPECT_FALSE(saver.save(setup.target.string(), fontOfHeight(24), ui));
        if (setup.hasPrevious) {
            EXPECT_EQ(fakes::bytesOf(setup.target), old) << setup.target;
        }
    }
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(saver.failureReported());
    EXPECT_EQ(readFontRecord(good)->height, 23);
}

} // namespace
} // namespace grovex
