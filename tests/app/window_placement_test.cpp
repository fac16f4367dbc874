#include "app/window_placement.h"
#include "support/fake_settings.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

bool sameRect(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(WindowPlacementTest, RectTextRoundTrips) {
    EXPECT_TRUE(sameRect(parsePlacementRect("0100 0050 0900 0700"), {100, 50, 900, 700}));
    EXPECT_EQ(formatPlacementRect({100, 50, 900, 700}), "0100 0050 0900 0700");
    EXPECT_EQ(formatPlacementRect({10, 10, 500, 400}), "0010 0010 0500 0400");
    // Values wider than four digits push the later fields along; they are read from fixed positions.
    EXPECT_TRUE(sameRect(parsePlacementRect("0001 0002 12345 0004"), {1, 2, 12345, 4}));
    EXPECT_TRUE(sameRect(parsePlacementRect("-008 -008 1288 0968"), {-8, -8, 1288, 968}));
    // Short or garbled text reads 0 where no digits are.
    EXPECT_TRUE(sameRect(parsePlacementRect("0100 0050"), {100, 50, 0, 0}));
    EXPECT_TRUE(sameRect(parsePlacementRect("abcd 0050 x    0700"), {0, 50, 0, 700}));
}

// A 1600 by 1000 screen whose top 40 pixels are a panel: 1280 by 768 in the middle of what is left.
const Rect kAvailable{0, 40, 1600, 1000};

TEST(WindowPlacementTest, FirstStartShowsNormalOnFourFifthsOfTheScreenCentred) {
    fakes::FakeSettings settings;
    const StartPlacement placement = readStartPlacement(settings, kAvailable);
    EXPECT_TRUE(sameRect(placement.normal, {160, 136, 1440, 904}));
    EXPECT_EQ(placement.show, ShowMode::Normal);
    EXPECT_FALSE(placement.restoreToMaximized);

    settings.writeString("Window size", "Rect", "");
    EXPECT_TRUE(sameRect(readStartPlacement(settings, kAvailable).normal, {160, 136, 1440, 904}));
    // A second screen left of the first: the same share of it.
    EXPECT_TRUE(sameRect(firstStartRect({-1280, 0, 0, 1024}), {-1152, 102, -128, 921}));
}

struct ShowCase {
    int icon;
    int max;
    ShowMode show;
    bool restoreToMaximized;
};

class ShowModeTest : public testing::TestWithParam<ShowCase> {};

TEST_P(ShowModeTest, FromIconAndMax) {
    fakes::FakeSettings settings;
    settings.writeString("Window size", "Rect", "0100 0050 0900 0700");
    settings.writeInt("Window size", "Icon", GetParam().icon);
    settings.writeInt("Window size", "Max", GetParam().max);
    const StartPlacement placement = readStartPlacement(settings, kAvailable);
    EXPECT_TRUE(sameRect(placement.normal, {100, 50, 900, 700}));
    EXPECT_EQ(placement.show, GetParam().show);
    EXPECT_EQ(placement.restoreToMaximized, GetParam().restoreToMaximized);
}

INSTANTIATE_TEST_SUITE_P(Modes, ShowModeTest,
                         testing::Values(ShowCase{0, 0, ShowMode::Normal, false},
                                         ShowCase{0, 1, ShowMode::Maximized, true},
                                         ShowCase{1, 0, ShowMode::MinimizedNoActivate, false},
                                         ShowCase{1, 1, ShowMode::MinimizedNoActivate, true}),
                         [](const testing::TestParamInfo<ShowCase>& row) {
                             return "Icon" + std::to_string(row.param.icon) + "Max" + std::to_string(row.param.max);
                         });

TEST(WindowPlacementTest, ClosingWritesRectIconAndMax) {
    struct Case {
        ClosingPlacement closing;
        int icon;
        int max;
    };
    const Rect normal{100, 50, 900, 700};
    const Case cases[] = {
        {{normal, false, false, false}, 0, 0},
        {{normal, false, true, false}, 0, 1},
        {{normal, true, false, false}, 1, 0},
        {{normal, true, false, true}, 1, 1}, // minimized from the maximized state
    };
    for (const Case& c : cases) {
        fakes::FakeSettings settings;
        writeClosingPlacement(settings, c.closing);
        EXPECT_EQ((settings.strings[{"Window size", "Rect"}]), "0100 0050 0900 0700");
        EXPECT_EQ((settings.ints[{"Window size", "Icon"}]), c.icon);
        EXPECT_EQ((settings.ints[{"Window size", "Max"}]), c.max);
    }
}

TEST(WindowPlacementTest, ExitingMaximizedStartsMaximizedWithTheNormalRectKept) {
    fakes::FakeSettings settings;
    writeClosingPlacement(settings, {{120, 80, 820, 680}, false, true, false});
    const StartPlacement placement = readStartPlacement(settings, kAvailable);
    EXPECT_EQ(placement.show, ShowMode::Maximized);
    EXPECT_TRUE(sameRect(placement.normal, {120, 80, 820, 680}));
}

} // namespace
} // namespace grovex
