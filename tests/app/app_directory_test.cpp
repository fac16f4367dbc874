#include "app/app_directory.h"
#include "support/fake_settings.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

const std::string sep(1, kPathSeparator);

TEST(AppDirectoryTest, StartWithoutArgumentsTakesAndStoresTheCurrentDirectory) {
    fakes::FakeSettings settings;
    const std::string directory = applicationDirectory(true, settings, sep + "home" + sep + "ann", "unused");
    EXPECT_EQ(directory, sep + "home" + sep + "ann" + sep);
    EXPECT_EQ((settings.strings[{"Directories", "Application"}]), directory);

    // A current directory that already ends with the separator (a drive's root) gets no second one.
    EXPECT_EQ(applicationDirectory(true, settings, sep, "unused"), sep);
}

TEST(AppDirectoryTest, StartWithArgumentsUsesTheStoredDirectoryWhateverIsCurrent) {
    fakes::FakeSettings settings;
    applicationDirectory(true, settings, sep + "opt" + sep + "grovex", "unused");
    EXPECT_EQ(applicationDirectory(false, settings, sep + "somewhere" + sep + "else", "fallback"),
              sep + "opt" + sep + "grovex" + sep);
    EXPECT_EQ((settings.strings[{"Directories", "Application"}]), sep + "opt" + sep + "grovex" + sep);
}

TEST(AppDirectoryTest, StartWithArgumentsBeforeAnyPlainStartUsesTheDefault) {
    fakes::FakeSettings settings;
    const std::string fallback = defaultApplicationDirectory(sep + "home" + sep + "ann");
#ifdef _WIN32
    EXPECT_EQ(fallback, "c:\\");
#else
    EXPECT_EQ(fallback, "/home/ann/");
#endif
    EXPECT_EQ(applicationDirectory(false, settings, "/elsewhere", fallback), fallback);
    EXPECT_TRUE(settings.strings.empty());
}

TEST(AppDirectoryTest, LastCurrentDirectoryIsIgnoredWhenEmpty) {
    fakes::FakeSettings settings;
    EXPECT_EQ(lastCurrentDirectory(settings), std::nullopt);
    rememberCurrentDirectory(settings, "");
    EXPECT_EQ(lastCurrentDirectory(settings), std::nullopt);
    rememberCurrentDirectory(settings, "/data/stands");
    EXPECT_EQ((settings.strings[{"Directories", "LastCurDir"}]), "/data/stands");
    EXPECT_EQ(lastCurrentDirectory(settings), "/data/stands");
}

} // namespace
} // namespace grovex
