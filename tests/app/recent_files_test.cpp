#include "app/recent_files.h"
#include "support/fake_settings.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

using Files = std::vector<std::string>;

TEST(RecentFilesTest, LatestFirstWithoutDuplicatesAndAtMostEight) {
    RecentFileList list;
    for (int i = 1; i <= 9; ++i) {
        list.add("/d/s" + std::to_string(i) + ".gvx");
    }
    EXPECT_EQ(list.files(), (Files{"/d/s9.gvx", "/d/s8.gvx", "/d/s7.gvx", "/d/s6.gvx", "/d/s5.gvx", "/d/s4.gvx",
                                   "/d/s3.gvx", "/d/s2.gvx"}));
    list.add("/d/s5.gvx");
    EXPECT_EQ(list.files().front(), "/d/s5.gvx");
    EXPECT_EQ(list.files().size(), 8u);
    list.remove("/d/s9.gvx");
    EXPECT_EQ(list.files().size(), 7u);
}

TEST(RecentFilesTest, SurvivesTheSettings) {
    fakes::FakeSettings settings;
    RecentFileList list;
    list.add("/d/a.gvx");
    list.add("/d/b.gvx");
    list.save(settings);
    EXPECT_EQ((settings.strings[{"Recent File List", "File1"}]), "/d/b.gvx");

    RecentFileList later;
    later.load(settings);
    EXPECT_EQ(later.files(), (Files{"/d/b.gvx", "/d/a.gvx"}));

    // Removing an entry clears the key it used to occupy.
    later.remove("/d/a.gvx");
    later.save(settings);
    RecentFileList third;
    third.load(settings);
    EXPECT_EQ(third.files(), (Files{"/d/b.gvx"}));
}

TEST(RecentFilesTest, MenuTextsAreNumberedAndShort) {
    RecentFileList list;
    list.add("/very/long/folder/name/that/goes/on/and/on/stand&co.gvx");
    list.add("/work/stands/tract7.gvx");
    EXPECT_EQ(list.menuText(0, "/work/stands"), "&1 tract7.gvx");
    EXPECT_EQ(list.menuText(0, "/home"), "&1 /work/stands/tract7.gvx");
    const std::string longText = list.menuText(1, "/home");
    EXPECT_EQ(longText.substr(0, 3), "&2 ");
    EXPECT_NE(longText.find("..."), std::string::npos);
    EXPECT_EQ(longText.substr(longText.size() - 14), "/stand&&co.gvx");
    EXPECT_LE(longText.size(), 3u + 41u);
}

} // namespace
} // namespace grovex
