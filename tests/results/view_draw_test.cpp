// Layout geometry and drawing of the results view, against the fixed-pitch fake font (9 by 21 at height 18).

#include "view_fixture.h"

#include <set>

namespace grovex {
namespace {

using fakes::Draw;
using fakes::DrawCall;
using fakes::FakeCanvas;

const DrawCall* findText(const FakeCanvas& canvas, std::string_view text) {
    for (const DrawCall& call : canvas.calls()) {
        if (call.kind == Draw::Text && call.text == text) {
            return &call;
        }
    }
    return nullptr;
}

TEST_F(ViewTest, LayoutFollowsTheFontMetricsAndStacksTheTables) {
    CGROVEXView& v = open(2);
    EXPECT_EQ(v.lineHeight(), 21); // extent of "22288822.2288"
    EXPECT_EQ(v.charWidth(), 9);   // extent of "W"
    const ResultTable& first = doc.model.tables[0];
    EXPECT_EQ(first.colWidth, (std::array<int32_t, 7>{70, 79, 88, 70, 97, 88, 88}));
    EXPECT_EQ(first.tableTop, 5);       // -40 + 45
    EXPECT_EQ(first.summaryWidth, 211); // 22 x 9 + 13
    EXPECT_EQ(first.summaryBottom, 89); // 5 + (1 + 3) x 21
    EXPECT_EQ(first.headingTop, 89);
    EXPECT_EQ(first.rowsTop, 155);     // 89 + 3 x 21 + 3
    EXPECT_EQ(first.tableBottom, 218); // 155 + 3 x 21
    EXPECT_EQ(doc.model.tables[1].tableTop, 263);
    EXPECT_EQ(doc.model.tables[1].tableBottom, 476);
    EXPECT_EQ(v.scrollSize().width, 593);  // 580 + 13, wider than the summary
    EXPECT_EQ(v.scrollSize().height, 509); // 476 + 33
}

TEST_F(ViewTest, LayoutStartsAtTheFirstShownTable) {
    addTables(1);
    doc.model.tables[0].tableTop = -7;
    doc.display.firstShown = 1;
    open(1);
    EXPECT_EQ(doc.model.tables[0].tableTop, -7);
    EXPECT_EQ(doc.model.tables[1].tableTop, 5);
    EXPECT_EQ(view->scrollSize().height, 251); // 218 + 33
}

TEST_F(ViewTest, EmptyViewDrawsOnlyTheFramedTitleCentred) {
    CGROVEXView& v = open(0);
    EXPECT_EQ(v.scrollSize().width, 800);
    EXPECT_EQ(v.scrollSize().height, 800);
    FakeCanvas canvas;
    v.OnDraw(canvas);
    // The frame is as wide as 33 characters (297), centred in 800, and 5 x 21 + 30 high.
    const auto edges = canvas.callsOf(Draw::RaisedEdge);
    ASSERT_EQ(edges.size(), 1u);
    EXPECT_EQ(edges[0].rect.left, 251);
    EXPECT_EQ(edges[0].rect.right, 548);
    EXPECT_EQ(edges[0].rect.top, 20);
    EXPECT_EQ(edges[0].rect.bottom, 155);
    EXPECT_EQ(canvas.texts(),
              std::vector<std::string>{
                  "\nGROVEX for\nLoblolly Pine Plantations\nEstablished on\nCutover, Site Prepared Lands"});
    EXPECT_EQ(canvas.callsOf(Draw::Text)[0].align, TextAlign::Center);

    v.setClientSize({200, 600});
    FakeCanvas narrow;
    v.OnDraw(narrow);
    EXPECT_EQ(narrow.callsOf(Draw::RaisedEdge)[0].rect.left, 2);
}

TEST_F(ViewTest, TableDrawsTitleBoldSummaryCentredHeadingsAndRightAlignedCells) {
    doc.display.standTitle = "My stand";
    CGROVEXView& v = open(1);
    FakeCanvas canvas;
    v.OnDraw(canvas);

    const auto title = canvas.callsOf(Draw::TextOut);
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(title[0].text, "My stand");
    EXPECT_EQ(title[0].point.x, 23);
    EXPECT_EQ(title[0].point.y, 2);
    // Drawn after the tables, whose first summary line would cover it.
    const auto& calls = canvas.calls();
    const auto titleCall =
        std::find_if(calls.begin(), calls.end(), [](const DrawCall& c) { return c.kind == Draw::TextOut; });
    const auto firstText =
        std::find_if(calls.begin(), calls.end(), [](const DrawCall& c) { return c.kind == Draw::Text; });
    EXPECT_GT(titleCall - calls.begin(), firstText - calls.begin());

    // Two line breaks or more: the first two lines are drawn twice, the second time one unit right and
    // transparent; the rest once below them.
    std::vector<DrawCall> bold;
    for (const DrawCall& call : canvas.callsOf(Draw::Text)) {
        if (call.text == "  Table 00\r\n  Inputs") {
            bold.push_back(call);
        }
    }
    ASSERT_EQ(bold.size(), 2u);
    EXPECT_EQ(bold[0].rect.left, 0);
    EXPECT_EQ(bold[0].backgroundMode, BackgroundMode::Opaque);
    EXPECT_EQ(bold[1].rect.left, 1);
    EXPECT_EQ(bold[1].rect.top, 5);
    EXPECT_EQ(bold[1].backgroundMode, BackgroundMode::Transparent);
    const DrawCall* rest = findText(canvas, "\r\n  Site Index =   60.00");
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(rest->rect.top, 47); // 5 + 2 x 21
    EXPECT_EQ(rest->rect.bottom, 89);

    const DrawCall* heading = findText(canvas, "\nAverage\nHeight"); // column 2 spans 149 to 237
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->align, TextAlign::Center);
    EXPECT_EQ(heading->rect.left, 170);
    EXPECT_EQ(heading->rect.right, 258);
    EXPECT_EQ(heading->rect.bottom, 152); // 89 + 3 x 21

    const DrawCall* total = findText(canvas, "Total");
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->align, TextAlign::Right);
    EXPECT_EQ(total->rect.top, 197); // 155 + 2 x 21
    EXPECT_EQ(total->rect.right, 70);
    EXPECT_NE(findText(canvas, "3"), nullptr);
    const DrawCall* totalHeight = findText(canvas, "");
    ASSERT_NE(totalHeight, nullptr);
    EXPECT_EQ(totalHeight->rect.left, 149);
    EXPECT_EQ(totalHeight->rect.top, 197);
}

TEST_F(ViewTest, SelectionIsHighlightedCellByCellOrInInverseVideo) {
    CGROVEXView& v = open(1);
    v.OnLButtonDown(cellPoint(1, 1));
    FakeCanvas canvas;
    v.OnDraw(canvas);
    const DrawCall* cell = findText(canvas, "100.0");
    EXPECT_EQ(cell->textColor, kWhite);
    EXPECT_EQ(cell->backgroundColor, kBlack);
    EXPECT_EQ(findText(canvas, "35.3")->textColor, kBlack);
    const auto fills = canvas.callsOf(Draw::Fill); // the background, then the selected cell
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[1].fill, kBlack);
    EXPECT_EQ(fills[1].rect.left, 70);
    EXPECT_EQ(fills[1].rect.top, 176);

    v.execute(cmd::kEditSelectAll);
    FakeCanvas inverse;
    v.OnDraw(inverse);
    EXPECT_EQ(inverse.callsOf(Draw::Fill).size(), 1u);
    for (const DrawCall& call : inverse.callsOf(Draw::Text)) {
        EXPECT_EQ(call.textColor, kWhite) << call.text;
        EXPECT_EQ(call.backgroundColor, kBlack) << call.text;
    }
}

TEST_F(ViewTest, OnlyTablesMeetingTheClipBoxAreDrawn) {
    CGROVEXView& v = open(kMaxTables);
    const int bottom = v.scrollSize().height;
    FakeCanvas canvas({0, 0, 1200, 900});
    canvas.setWindowOrigin({0, bottom - 900});
    v.OnDraw(canvas);
    const Rect clip = canvas.clipBox();

    std::set<std::string> expected;
    int expectedCells = 0;
    for (const ResultTable& table : doc.model.tables) {
        if (table.tableTop < clip.bottom && table.summaryBottom > clip.top) {
            expected.insert(table.summary.substr(0, 10));
        }
        for (int r = 0; r <= table.lastRow(); ++r) {
            const int top = table.rowsTop + r * 21;
            expectedCells += top < clip.bottom && top + 21 > clip.top ? 7 : 0;
        }
    }
    std::set<std::string> drawn;
    int cells = 0;
    for (const DrawCall& call : canvas.callsOf(Draw::Text)) {
        EXPECT_TRUE(call.rect.intersects(clip)) << call.text << " at " << call.rect.top;
        if (call.text.starts_with("  Table")) {
            drawn.insert(call.text.substr(0, 10));
        }
        cells += call.align == TextAlign::Right ? 1 : 0;
    }
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(cells, expectedCells);
    EXPECT_EQ(expected.count("  Table 99"), 1u);
    EXPECT_LT(canvas.calls().size(), 400u);
}

} // namespace
} // namespace grovex
