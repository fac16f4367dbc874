#include "base/text_pages.h"
#include "support/fake_canvas.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

// In a font of height 17 every character is 8 wide and every line 20 high. A printable area of 500 by 250
// keeps two 20-unit footer lines, leaving 210, which holds 10 whole lines: 25 lines are 3 pages down. The page
// is 500 - 8 = 492 wide, so a 70-character line (560) needs 2 pages across.
TEST(TextPagesTest, WholeLinesOnPagesDownAndAcross) {
    std::string text;
    for (int i = 0; i < 25; ++i) {
        text += (i == 3 ? std::string(70, 'x') : "line " + std::to_string(i)) + "\r\n";
    }
    TextPages pages(text, "Stand Value - GROVEX1");
    LogFont font;
    font.height = 17;
    const PrintPlan plan = pages.begin(fakes::FixedPitchMetrics(), font, {500, 250});
    EXPECT_EQ(pages.linesPerPage(), 10);
    EXPECT_EQ(plan.pagesAcross, 2);
    EXPECT_EQ(plan.pagesDown, 3);

    // Page 3 is the first page of the second row: lines 10 to 19, then the footer at the page's bottom.
    fakes::FakeCanvas canvas;
    pages.printPage(canvas, 3);
    const auto lines = canvas.callsOf(fakes::Draw::TextOut);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines.front().text, "line 10");
    EXPECT_EQ(lines.front().point.y, 200);
    EXPECT_EQ(lines.front().origin.y, 200);
    EXPECT_EQ(lines.back().text, "line 19");
    const auto footer = canvas.callsOf(fakes::Draw::Text);
    ASSERT_EQ(footer.size(), 1u);
    EXPECT_EQ(footer[0].text, "       Stand Value - GROVEX1      page  3");
    EXPECT_EQ(footer[0].rect.top, 200 + 250 - 20);

    // The last page holds the 5 lines left.
    canvas.clear();
    pages.printPage(canvas, 6);
    EXPECT_EQ(canvas.callsOf(fakes::Draw::TextOut).size(), 5u);
}

} // namespace
} // namespace grovex
