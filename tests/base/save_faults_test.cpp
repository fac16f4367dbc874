// What a save meets on a real disk: every obstacle leaves the old file as it was and nothing beside it, and
// is named with its reason.

#include "base/file_io.h"
#include "support/failing_file_system.h"
#include "support/save_obstacles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace grovex {
namespace {

namespace fs = std::filesystem;
using fakes::FailingFileSystem;
using fakes::Obstacle;
using fakes::ObstacleSetup;

const std::vector<uint8_t> kOld = {'o', 'l', 'd', 0, 1, 2};
// Windows' C library has no errno value for a full quota; a full disk stands in.
#ifdef EDQUOT
constexpr int kQuotaExceeded = EDQUOT;
#else
constexpr int kQuotaExceeded = ENOSPC;
#endif

const std::vector<uint8_t> kNew = {'n', 'e', 'w', ' ', 'v', 'e', 'r', 's', 'i', 'o', 'n'};

TEST(SaveObstacles, EachIsReportedWithItsReasonAndKeepsTheOldFile) {
    fakes::ScratchFolder scratch;
    for (Obstacle obstacle : fakes::kObstacles) {
        SCOPED_TRACE(fakes::obstacleName(obstacle));
        const ObstacleSetup setup = ObstacleSetup::make(obstacle, scratch.path(), "stand.gvx", kOld);
        const fs::path folder = scratch.path() / fakes::obstacleName(obstacle);
        const std::vector<std::string> before = scratch.entries(folder);
        const IoStatus status = writeFileAtomically(setup.target.string(), kNew);
        EXPECT_EQ(status.message(), setup.message());
        if (setup.hasPrevious) {
            EXPECT_EQ(fakes::bytesOf(setup.target), kOld);
        }
        EXPECT_EQ(scratch.entries(folder), before);
    }
}

#ifndef _WIN32 // symbolic links need a privilege on Windows
TEST(SaveObstacles, AReadOnlyFileIsRefusedEvenThroughALinkAndAWritableOneIsReplaced) {
    fakes::ScratchFolder scratch;
    const fs::path file = scratch.path() / "stand.gvx";
    const fs::path link = scratch.path() / "link.gvx";
    fakes::writeBytes(file, kOld);
    ::chmod(file.c_str(), 0444);
    fs::create_symlink(file, link);
    EXPECT_EQ(writeFileAtomically(link.string(), kNew).message(),
              "Unable to save " + link.string() + ": Permission denied.");
    EXPECT_EQ(fakes::bytesOf(file), kOld);

    // Made writable again, it is replaced and the link stays.
    ::chmod(file.c_str(), 0644);
    EXPECT_TRUE(writeFileAtomically(link.string(), kNew));
    EXPECT_EQ(fakes::bytesOf(file), kNew);
    EXPECT_EQ(scratch.entries(scratch.path()), (std::vector<std::string>{"link.gvx", "stand.gvx"}));
}
#endif

TEST(SaveObstacles, AFolderThatCannotBeWrittenInKeepsTheOldFile) {
    fakes::ScratchFolder scratch;
    const ObstacleSetup setup = ObstacleSetup::make(Obstacle::UnwritableFolder, scratch.path(), "stand.gvx", kOld);
    if (setup.reason.empty()) {
        GTEST_SKIP() << "this file system lets root write in any folder; the failing open below stands in";
    }
    EXPECT_EQ(writeFileAtomically(setup.target.string(), kNew).message(), setup.message());
    EXPECT_EQ(fakes::bytesOf(setup.target), kOld);
    EXPECT_EQ(scratch.entries(setup.target.parent_path()), std::vector<std::string>{"stand.gvx"});
}

TEST(SaveObstacles, AnOpenRefusedByTheSystemIsReported) {
    fakes::ScratchFolder scratch;
    const fs::path file = scratch.path() / "stand.gvx";
    fakes::writeBytes(file, kOld);
    for (int error : {EACCES, EROFS, kQuotaExceeded}) {
        FailingFileSystem failing;
        failing.failingStep = FailingFileSystem::Step::Open;
        failing.stepError = error;
        EXPECT_EQ(writeFileAtomically(file.string(), kNew, failing).message(),
                  saveFailureMessage(file.string(), error));
        EXPECT_EQ(fakes::bytesOf(file), kOld);
    }
    EXPECT_EQ(scratch.entries(scratch.path()), std::vector<std::string>{"stand.gvx"});
}

} // namespace
} // namespace grovex
