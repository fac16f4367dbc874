// The results view at the largest font it takes, over a full table store: the size is capped, and layout,
// drawing, hit tests, scrolling and print pages still agree with each other.

#include "results/font_record.h"
#include "results/view_geometry.h"
#include "view_fixture.h"

#include <climits>

namespace grovex {
namespace {

using namespace cmd;

void writeRecordOfHeight(const std::filesystem::path& path, int height) {
    LogFont font;
    font.height = height;
    ASSERT_TRUE(writeFontRecord(path.string(), font));
}

TEST_F(ViewTest, IncreaseFontSizeStopsAtTheLargestHeightAndARecordBeyondItIsCapped) {
    writeRecordOfHeight(dir / kFontRecordName, kLargestFontHeight - 2);
    CGROVEXView& v = open(1);
    for (int i = 0; i < 5; ++i) {
        v.execute(kIncreaseFontSize);
    }
    EXPECT_EQ(v.screenFont().height, kLargestFontHeight);
    v.execute(kDecreaseFontSize);
    EXPECT_EQ(v.screenFont().height, kLargestFontHeight - 1);

    for (const auto& [stored, taken] : {std::pair{INT_MAX, kLargestFontHeight}, std::pair{INT_MIN, -kLargestFontHeight},
                                        std::pair{kLargestFontHeight + 1, kLargestFontHeight}}) {
        writeRecordOfHeight(dir / kFontRecordName, stored);
        CGROVEXView next(doc, metrics, settings, ui, clipboard, appDirectory());
        next.OnInitialUpdate();
        EXPECT_EQ(next.screenFont().height, taken) << stored;
    }
}

TEST_F(ViewTest, AtTheLargestFontAFullStoreLaysOutDrawsHitTestsScrollsAndPrintsConsistently) {
    writeRecordOfHeight(dir / kFontRecordName, kLargestFontHeight);
    doc.display.allTables = true;
    CGROVEXView& v = open(kMaxTables);
    const std::vector<ResultTable>& tables = doc.model.tables;
    const int line = kLargestFontHeight + 3;
    ASSERT_EQ(v.lineHeight(), line);
    for (size_t t = 1; t < tables.size(); ++t) {
        ASSERT_EQ(tables[t].tableTop, tables[t - 1].tableBottom + 45) << t;
        ASSERT_EQ(tables[t].tableBottom - tables[t].rowsTop, 3 * line) << t;
    }
    EXPECT_EQ(v.scrollSize().height, tables.back().tableBottom + 33);
    EXPECT_GT(v.scrollSize().width, 0);

    // Scroll to the middle row of the table before the last: it is drawn and the mouse finds it.
    const ResultTable& last = tables[kMaxTables - 2];
    v.setScrollPosition({0, last.rowsTop + line});
    EXPECT_EQ(v.scrollPosition().y, last.rowsTop + line);
    fakes::FakeCanvas canvas({0, 0, 800, 600});
    canvas.setWindowOrigin(v.scrollPosition());
    v.OnDraw(canvas);
    EXPECT_FALSE(canvas.texts().empty());
    const std::optional<CellRef> cell = v.hitTest({10, 10});
    ASSERT_TRUE(cell.has_value());
    EXPECT_EQ(*cell, (CellRef{kMaxTables - 2, 1, 0}));

    // Scrolling keys stay within the scroll range.
    v.execute(kLineDown);
    EXPECT_EQ(v.scrollPosition().y, last.rowsTop + 2 * line);
    for (int i = 0; i < 100; ++i) {
        v.execute(kPageDown);
    }
    EXPECT_EQ(v.scrollPosition().y, v.scrollSize().height - 600);
    v.setScrollPosition({INT_MAX, INT_MAX});
    EXPECT_EQ(v.scrollPosition().x, v.scrollSize().width - 800);
    EXPECT_EQ(v.scrollPosition().y, v.scrollSize().height - 600);

    // Printed at 600 dpi on Letter paper (8.5 by 11 inches) every page holds at least one table line, the
    // pages cover the whole drawing, and each prints with its footer.
    const PrintPlan plan = v.OnBeginPrinting(metrics, 600, 96, {5100, 6600});
    EXPECT_EQ(v.printerFont().height, kLargestFontHeight * 600 / 96);
    EXPECT_GE(v.pageHeight(), v.printLineHeight());
    EXPECT_GE(static_cast<long long>(plan.pagesDown) * v.pageHeight(), tables.back().tableBottom);
    EXPECT_GE(static_cast<long long>(plan.pagesAcross) * v.pageWidth(), view_geometry::tableRight(tables.back()));
    for (int page : {1, plan.pageCount() / 2, plan.pageCount()}) {
        fakes::FakeCanvas sheet({0, 0, 5100, 6600});
        v.OnPrintPage(sheet, page);
        const std::vector<std::string> texts = sheet.texts();
        EXPECT_EQ(texts.back(), cformat("       GROVEX1      page  %d", page));
    }
    v.OnEndPrinting();
    EXPECT_EQ(v.lineHeight(), line);
    EXPECT_EQ(v.scrollSize().height, tables.back().tableBottom + 33);
}

} // namespace
} // namespace grovex
