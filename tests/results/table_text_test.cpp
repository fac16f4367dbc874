#include "results/table_text.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

// A cubic-feet table of two class rows and its total row.
ResultTable sampleTable() {
    ResultTable table;
    table.summary = "  Live Trees\r\n  Site Index =   60.00";
    table.headings = {"\nDBH\nClass",        "\nNumber\nTrees ",      "\nAverage\nHeight",    "\nBasal\nArea",
                      "Total\nVolume\no.b.", "Volume\no.b.\nTo 4.in", "Volume\ni.b.\nTo  6in"};
    table.rows = {
        {5.0f, 12.34f, 30.06f, 1.6f, 20.04f, 10.0f, 0.0f},
        {6.99f, 100.0f, 35.26f, 19.6f, 250.0f, 2.5f, 1234.56f},
        {0.0f, 112.34f, 0.0f, 21.2f, 270.04f, 12.5f, 1234.56f},
    };
    return table;
}

// The same text written out by hand: 15-character right-aligned columns, "Total" plus five blanks in the
// class column of the total row and ten blanks for its height.
const char* const kSampleText = "\r\n"
                                "  Live Trees\r\n  Site Index =   60.00\r\n"
                                "\r\n"
                                "            DBH         Number        Average          Basal"
                                "          Total         Volume         Volume\r\n"
                                "          Class         Trees          Height           Area"
                                "         Volume           o.b.           i.b.\r\n"
                                "                                                            "
                                "           o.b.        To 4.in        To  6in\r\n"
                                "              5           12.3           30.1            1.6"
                                "           20.0           10.0            0.0\r\n"
                                "              6          100.0           35.3           19.6"
                                "          250.0            2.5         1234.6\r\n"
                                "Total               112.3                     21.2"
                                "          270.0           12.5         1234.6\r\n"
                                "\r\n";

TEST(AllTablesText, LaysOutSummaryHeadingsRowsAndTotalRow) {
    std::vector<ResultTable> tables{sampleTable()};
    EXPECT_EQ(allTablesText(tables, 0, 0), kSampleText);
}

TEST(AllTablesText, HeadingOfThreeLinesFillsEveryLine) {
    ResultTable table = sampleTable();
    table.headings[6] = "Volume\nInternational\nbd.ft.";
    const std::string text = allTablesText({table}, 0, 0);
    EXPECT_NE(text.find("         Volume\r\n"), std::string::npos);
    EXPECT_NE(text.find("  International\r\n"), std::string::npos);
    EXPECT_NE(text.find("         bd.ft.\r\n"), std::string::npos);
}

TEST(AllTablesText, CopiesOnlyTheChosenRangeOfTables) {
    ResultTable second = sampleTable();
    second.summary = "second";
    std::vector<ResultTable> tables{sampleTable(), second};
    const std::string secondOnly = allTablesText(tables, 1, 1);
    EXPECT_EQ(secondOnly.rfind("\r\nsecond\r\n\r\n", 0), 0u);
    EXPECT_EQ(allTablesText(tables, 0, 1), kSampleText + secondOnly);
    EXPECT_EQ(allTablesText(tables, 0, 5), kSampleText + secondOnly);
    EXPECT_EQ(allTablesText(tables, 1, 0), "");
}

TEST(CellText, ClassColumnIsTruncatedAndOthersHaveOneDecimal) {
    const ResultTable table = sampleTable();
    EXPECT_EQ(cellText(table, 0, 0, CellTextUse::Screen), "5");
    EXPECT_EQ(cellText(table, 1, 0, CellTextUse::Screen), "6");
    EXPECT_EQ(cellText(table, 0, 2, CellTextUse::Copy), "30.1");
    EXPECT_EQ(cellText(table, 1, 6, CellTextUse::Screen), "1234.6");
}

TEST(CellText, TotalRowHasFixedTextsThatDifferOnlyInTheHeightColumn) {
    const ResultTable table = sampleTable();
    EXPECT_EQ(cellText(table, 2, 0, CellTextUse::Screen), "Total");
    EXPECT_EQ(cellText(table, 2, 0, CellTextUse::Copy), "Total");
    EXPECT_EQ(cellText(table, 2, 2, CellTextUse::Screen), "");
    EXPECT_EQ(cellText(table, 2, 2, CellTextUse::Copy), "     ");
    EXPECT_EQ(cellText(table, 2, 1, CellTextUse::Copy), "112.3");
}

TEST(CellText, OutsideTheTableIsEmpty) {
    const ResultTable table = sampleTable();
    EXPECT_EQ(cellText(table, 3, 0, CellTextUse::Screen), "");
    EXPECT_EQ(cellText(table, -1, 0, CellTextUse::Screen), "");
    EXPECT_EQ(cellText(table, 0, 7, CellTextUse::Screen), "");
}

} // namespace
} // namespace grovex
