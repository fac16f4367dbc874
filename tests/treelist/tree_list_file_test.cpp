// The ".dat" tree list file: reading by character count, the two layouts, the damaged-file rules, and
// saves that refuse values which would not read back.

#include "support/test_paths.h"
#include "treelist/tree_list_file.h"

#include "support/case_names.h"
#include "support/failing_file_system.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace grovex {
namespace {

using fakes::RecordingUi;

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string fixture(const char* name) {
    return fileText(testData(name));
}

struct Read {
    TreeListReadStatus status = TreeListReadStatus::Complete;
    std::unique_ptr<TreeList> list = std::make_unique<TreeList>();
    std::vector<std::string> messages;
};

// Reads `text` into a copy of `before` (a fresh list when none is given).
Read readText(const std::string& text, const TreeList& before = TreeList{}) {
    Read read;
    *read.list = before;
    RecordingUi ui;
    read.status = readTreeList(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), *read.list, ui);
    read.messages = ui.texts();
    return read;
}

std::string withCrLf(const std::string& text) {
    std::string result;
    for (char ch : text) {
        result += ch == '\n' ? "\r\n" : std::string(1, ch);
    }
    return result;
}

void expectSameList(const TreeList& a, const TreeList& b) {
    EXPECT_EQ(a.header.code, b.header.code);
    EXPECT_EQ(a.header.plotId, b.header.plotId);
    EXPECT_EQ(a.header.plotArea, b.header.plotArea);
    EXPECT_EQ(a.header.age, b.header.age);
    EXPECT_EQ(a.header.fertilizationAge, b.header.fertilizationAge);
    EXPECT_EQ(a.header.lbn, b.header.lbn);
    EXPECT_EQ(a.header.qphos, b.header.qphos);
    EXPECT_EQ(a.header.thinningAge, b.header.thinningAge);
    EXPECT_EQ(a.header.baa, b.header.baa);
    EXPECT_EQ(a.header.bab, b.header.bab);
    EXPECT_EQ(a.header.qhdwd, b.header.qhdwd);
    EXPECT_EQ(a.header.hardwoodPercent, b.header.hardwoodPercent);
    EXPECT_EQ(a.header.dominantHeight, b.header.dominantHeight);
    ASSERT_EQ(a.rowCount(), b.rowCount());
    for (int r = 0; r < a.rowCount(); ++r) {
        const TreeRow& x = a.rows[static_cast<size_t>(r)];
        const TreeRow& y = b.rows[static_cast<size_t>(r)];
        EXPECT_EQ(x.code, y.code) << "row " << r + 1;
        EXPECT_EQ(x.id, y.id) << "row " << r + 1;
        EXPECT_EQ(x.dbh, y.dbh) << "row " << r + 1;
        EXPECT_EQ(x.height, y.height) << "row " << r + 1;
        EXPECT_EQ(x.crownClass, y.crownClass) << "row " << r + 1;
    }
}

// A valid list whose values sit on the edges of their fields: every one still fits.
std::unique_ptr<TreeList> edgeList(float dominantHeight, int rows) {
    auto list = std::make_unique<TreeList>();
    list->header = {1, "PLOT9", 99.99f, 99, -9, 999, 9, -1, 999.9f, -99.9f, 0, -9.9f, dominantHeight};
    for (int r = 0; r < rows; ++r) {
        list->rows[static_cast<size_t>(r)] = {2, std::to_string(r + 1), r % 2 ? 99.9f : -9.9f,
                                              0.5f + static_cast<float>(r % 90),
                                              dominantHeight == kBlankReal ? r % 10 : kBlankInt};
    }
    list->lastRow = rows - 1;
    list->loaded = true;
    return list;
}

class TempDir {
public:
    TempDir() { path_ = makeScratchFolder("grovex-treelist").value(); }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    size_t entries() const {
        return static_cast<size_t>(
            std::distance(std::filesystem::directory_iterator(path_), std::filesystem::directory_iterator()));
    }

private:
    std::filesystem::path path_;
};

TEST(TreeListRead, DominantHeightFileFillsEveryFieldAndWritesBackByteForByte) {
    const std::string text = fixture("treelist_dominant_height.dat");
    const Read read = readText(text);
    EXPECT_EQ(read.status, TreeListReadStatus::Complete);
    EXPECT_TRUE(read.messages.empty());
    const TreeList& list = *read.list;
    EXPECT_TRUE(list.loaded);
    const TreeListHeader& h = list.header;
    EXPECT_EQ(h.code, 1);
    EXPECT_EQ(h.plotId, "  A12");
    EXPECT_EQ(h.plotArea, 0.10f);
    EXPECT_EQ(h.age, 15);
    EXPECT_EQ(h.fertilizationAge, 8);
    EXPECT_EQ(h.lbn, 200);
    EXPECT_EQ(h.qphos, 1);
    EXPECT_EQ(h.thinningAge, 10);
    EXPECT_EQ(h.baa, 85.0f);
    EXPECT_EQ(h.bab, 120.5f);
    EXPECT_EQ(h.qhdwd, 1);
    EXPECT_EQ(h.hardwoodPercent, 12.5f);
    EXPECT_EQ(h.dominantHeight, 55.1234f);
    ASSERT_EQ(list.rowCount(), 4);
    const TreeRow expected[] = {
        {2, "1", 12.3f, 65.4f, kBlankInt},
        {2, "17", 8.6f, 52.0f, kBlankInt},
        {2, "A-33", kBlankReal, kBlankReal, kBlankInt},
        {2, "", 10.0f, 99.9f, kBlankInt},
    };
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(list.rows[r].code, expected[r].code);
        EXPECT_EQ(list.rows[r].id, expected[r].id);
        EXPECT_EQ(list.rows[r].dbh, expected[r].dbh);
        EXPECT_EQ(list.rows[r].height, expected[r].height);
        EXPECT_EQ(list.rows[r].crownClass, expected[r].crownClass);
    }
    EXPECT_EQ(treeListText(list), text);
}

TEST(TreeListRead, CrownClassFileFillsEveryFieldAndWritesBackByteForByte) {
    const std::string text = fixture("treelist_crown_class.dat");
    const Read read = readText(text);
    EXPECT_EQ(read.status, TreeListReadStatus::Complete);
    const TreeList& list = *read.list;
    const TreeListHeader& h = list.header;
    EXPECT_EQ(h.plotId, "Tr 7 "); // kept as read, trailing blank included
    EXPECT_EQ(h.plotArea, 1.0f);
    EXPECT_EQ(h.age, 22);
    EXPECT_EQ(h.fertilizationAge, kBlankInt);
    EXPECT_EQ(h.lbn, kBlankInt);
    EXPECT_EQ(h.qphos, 0);
    EXPECT_EQ(h.thinningAge, 0);
    EXPECT_EQ(h.baa, kBlankReal);
    EXPECT_EQ(h.bab, kBlankReal);
    EXPECT_EQ(h.qhdwd, 0);
    EXPECT_EQ(h.hardwoodPercent, 0.0f);
    EXPECT_FALSE(list.hasDominantHeight());
    ASSERT_EQ(list.rowCount(), 4);
    EXPECT_EQ(list.rows[0].id, "101");
    EXPECT_EQ(list.rows[0].dbh, 9.4f);
    EXPECT_EQ(list.rows[0].height, 58.2f);
    EXPECT_EQ(list.rows[0].crownClass, 1);
    EXPECT_EQ(list.rows[3].crownClass, 4);
    EXPECT_EQ(treeListText(list), text);
}

TEST(TreeListRead, CrLfLineEndsAndAnySeparatorCharacterReadTheSame) {
    for (const char* name : {"treelist_dominant_height.dat", "treelist_crown_class.dat"}) {
        const std::string text = fixture(name);
        const Read plain = readText(text);
        const Read crlf = readText(withCrLf(text));
        EXPECT_EQ(crlf.status, TreeListReadStatus::Complete) << name;
        expectSameList(*crlf.list, *plain.list);

        // Separators are taken by position: header columns 12, 15, 18, 22, 24 and 37, tree columns 7 and 12.
        std::string marked = text;
        for (int column : {12, 15, 18, 22, 24, 37}) {
            marked[static_cast<size_t>(column - 1)] = 'x';
        }
        size_t line = marked.find('\n') + 1;
        for (; line < marked.size(); line = marked.find('\n', line) + 1) {
            marked[line + 6] = '|';
            marked[line + 11] = '|';
        }
        const Read separated = readText(marked);
        EXPECT_EQ(separated.status, TreeListReadStatus::Complete) << name;
        expectSameList(*separated.list, *plain.list);
    }
}

TEST(TreeListRead, BlankFieldsReadAsZero) {
    const Read read = readText("1" + std::string(41, ' ') + "\n2" + std::string(16, ' ') + "\n");
    EXPECT_EQ(read.status, TreeListReadStatus::Complete);
    const TreeList& list = *read.list;
    EXPECT_EQ(list.header.plotId, "     ");
    for (float real : {list.header.plotArea, list.header.baa, list.header.bab, list.header.hardwoodPercent}) {
        EXPECT_EQ(real, 0.0f);
    }
    for (int32_t integer : {list.header.age, list.header.fertilizationAge, list.header.lbn, list.header.qphos,
                            list.header.thinningAge, list.header.qhdwd}) {
        EXPECT_EQ(integer, 0);
    }
    ASSERT_EQ(list.rowCount(), 1);
    EXPECT_EQ(list.rows[0].id, "");
    EXPECT_EQ(list.rows[0].dbh, 0.0f);
    EXPECT_EQ(list.rows[0].height, 0.0f);
    EXPECT_EQ(list.rows[0].crownClass, 0);
}

TEST(TreeListRead, HeaderOnlyFileLoadsWithAndWithoutFinalLineEnd) {
    const std::string header = "1  A12 0.10 15  8 200 1 10 85.0120.5 112.555.1234";
    for (const std::string& text : {header, header + "\n", header + "\r\n", header + "   \n\n \t\n"}) {
        const Read read = readText(text);
        EXPECT_EQ(read.status, TreeListReadStatus::Complete);
        EXPECT_TRUE(read.messages.empty());
        EXPECT_TRUE(read.list->loaded);
        EXPECT_EQ(read.list->rowCount(), 0);
        EXPECT_EQ(read.list->header.dominantHeight, 55.1234f);
    }
}

TEST(TreeListRead, BlanksAndTabsBeforeTheDominantHeightAreSkipped) {
    const std::string start = "1  A12 0.10 15  8 200 1 10 85.0120.5 112.5";
    for (const char* gap : {"", " ", "  \t"}) {
        const Read read = readText(start + gap + "55.1234\n2    1 12.3 65.4\n");
        EXPECT_EQ(read.status, TreeListReadStatus::Complete) << '"' << gap << '"';
        EXPECT_EQ(read.list->header.dominantHeight, 55.1234f);
        EXPECT_EQ(read.list->rows[0].height, 65.4f);
    }
}

TEST(TreeListRead, DominantHeightFileWithCrownDigitsReadsTheDigitAsTheNextRecordCode) {
    const std::string header = "1  A12 0.10 15  8 200 1 10 85.0120.5 112.555.1234\n";
    const Read refused = readText(header + "2    1 12.3 65.41\n2    2 11.0 60.02\n");
    EXPECT_EQ(refused.status, TreeListReadStatus::WrongRowCode);
    EXPECT_EQ(refused.messages, std::vector<std::string>{kRowCodeMessage});
    EXPECT_FALSE(refused.list->loaded);
    EXPECT_EQ(refused.list->rowCount(), 0);

    // A digit 2 passes as a record code, and what follows it is read as the rest of a tree line.
    const Read shifted = readText(header + "2    1 12.3 65.42\n");
    EXPECT_EQ(shifted.status, TreeListReadStatus::EndedEarly);
    ASSERT_EQ(shifted.list->rowCount(), 1);
    EXPECT_EQ(shifted.list->rows[0].id, "1");
}

TEST(TreeListRead, CrownClassLineWithoutItsDigitReadsTheLineEndAsClassZero) {
    const std::string header = "1Tr 7  1.00 22 -1  -1 0  0 -1.0 -1.0 0 0.0\n";
    const Read read = readText(header + "2    1 12.3 65.4\n2    2 11.0 60.03\n");
    EXPECT_EQ(read.status, TreeListReadStatus::Complete);
    ASSERT_EQ(read.list->rowCount(), 2);
    EXPECT_EQ(read.list->rows[0].crownClass, 0);
    EXPECT_EQ(read.list->rows[1].id, "2");
    EXPECT_EQ(read.list->rows[1].crownClass, 3);
}

TEST(TreeListRead, TreeIdentifiersAreTrimmedAndWrittenRightAligned) {
    const std::string header = std::string("1") + " A   " + " 1.00 22 -1  -1 0  0 -1.0 -1.0 0 0.0\n";
    const Read read = readText(header + "2" + " 7   " + "  9.4 58.21\n" + "2" + "\t 8\t " + "  9.4 58.21\n");
    ASSERT_EQ(read.list->rowCount(), 2);
    EXPECT_EQ(read.list->header.plotId, " A   ");
    EXPECT_EQ(read.list->rows[0].id, "7");
    EXPECT_EQ(read.list->rows[1].id, "8");
    EXPECT_EQ(treeListText(*read.list), header + "2    7  9.4 58.21\n2    8  9.4 58.21\n");
}

TEST(TreeListRead, EmptyLinesAndIndentationBetweenTreeLinesAreAllowed) {
    const Read read = readText(fixture("treelist_crown_class.dat") + "\n\n   \t2  105  7.7 44.41\r\n\n");
    EXPECT_EQ(read.status, TreeListReadStatus::Complete);
    ASSERT_EQ(read.list->rowCount(), 5);
    EXPECT_EQ(read.list->rows[4].id, "105");
}

TEST(TreeListRead, WrongRecordCodesRefuseTheFile) {
    const std::string crown = fixture("treelist_crown_class.dat");
    struct Case {
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {" " + crown, kHeaderCodeMessage},  // header starting with a blank
        {"\n" + crown, kHeaderCodeMessage}, // header on the second line
        {"2" + crown.substr(1), kHeaderCodeMessage},
        {crown + "3  105  7.7 44.41\n", kRowCodeMessage},
        {crown + "x\n", kRowCodeMessage},
    };
    for (const Case& c : cases) {
        auto before = edgeList(63.25f, 3);
        const Read read = readText(c.text, *before);
        EXPECT_NE(read.status, TreeListReadStatus::Complete);
        EXPECT_EQ(read.messages, std::vector<std::string>{c.message});
        EXPECT_FALSE(read.list->loaded);
        EXPECT_EQ(read.list->rowCount(), 0);
        EXPECT_FALSE(read.list->hasDominantHeight());
    }
}

TEST(TreeListRead, FieldsNotReadKeepWhatTheListHeldBefore) {
    auto before = edgeList(63.25f, 3);
    // The file ends inside the thinning age: the fields before it are the file's, the rest the list's own.
    const Read read = readText("1Tr 7  1.00 22 -1  -1 0  ", *before);
    EXPECT_EQ(read.status, TreeListReadStatus::EndedEarly);
    EXPECT_EQ(read.messages, std::vector<std::string>{kHeaderCutMessage});
    const TreeList& list = *read.list;
    EXPECT_TRUE(list.loaded);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.header.plotId, "Tr 7 ");
    EXPECT_EQ(list.header.qphos, 0);
    EXPECT_EQ(list.header.thinningAge, before->header.thinningAge); // cut short: not stored
    EXPECT_EQ(list.header.baa, before->header.baa);
    EXPECT_EQ(list.header.hardwoodPercent, before->header.hardwoodPercent);
    EXPECT_FALSE(list.hasDominantHeight()); // always cleared before reading
}

TEST(TreeListRead, AByte255EndsTheFile) {
    const std::string crown = fixture("treelist_crown_class.dat");
    const size_t secondTree = crown.find("2  102");
    const Read between = readText(crown.substr(0, secondTree) + "\xff" + crown.substr(secondTree));
    EXPECT_EQ(between.status, TreeListReadStatus::Complete);
    EXPECT_EQ(between.list->rowCount(), 1);

    const Read inside = readText(crown.substr(0, secondTree + 8) + "\xff" + crown.substr(secondTree + 8));
    EXPECT_EQ(inside.status, TreeListReadStatus::EndedEarly);
    EXPECT_EQ(inside.list->rowCount(), 1);
}

// Every prefix of a file reads without harm: complete when it ends between lines, otherwise loaded with the
// complete rows before the cut and the message that says where the file ended.
TEST(TreeListRead, AFileCutAtAnyLengthKeepsTheCompleteRowsBeforeTheCut) {
    for (const char* name : {"treelist_crown_class.dat", "treelist_dominant_height.dat"}) {
        const std::string text = fixture(name);
        std::vector<std::pair<size_t, size_t>> lines; // [start, end) of each line without its line end
        for (size_t start = 0; start < text.size(); start = text.find('\n', start) + 1) {
            lines.emplace_back(start, text.find('\n', start));
        }
        const size_t headerWithoutDominantHeight = 42;
        for (size_t length = 0; length <= text.size(); ++length) {
            const Read read = readText(text.substr(0, length));
            int completeRows = 0;
            bool cut = length == 0;
            for (size_t i = 0; i < lines.size(); ++i) {
                if (length > lines[i].first && length < lines[i].second &&
                    !(i == 0 && length == headerWithoutDominantHeight)) {
                    cut = true;
                }
                if (i > 0 && length >= lines[i].second) {
                    ++completeRows;
                }
            }
            EXPECT_EQ(read.status, cut ? TreeListReadStatus::EndedEarly : TreeListReadStatus::Complete)
                << name << " cut at " << length;
            EXPECT_TRUE(read.list->loaded);
            EXPECT_EQ(read.list->rowCount(), completeRows) << name << " cut at " << length;
            EXPECT_EQ(read.messages.size(), cut ? 1u : 0u);
        }
    }
    EXPECT_EQ(readText("").messages, std::vector<std::string>{kEmptyFileMessage});
    const std::string crown = fixture("treelist_crown_class.dat");
    EXPECT_EQ(readText(crown.substr(0, crown.find("2  103") + 3)).messages,
              std::vector<std::string>{
                  "The tree list file ends in the middle of tree line 3; the 2 complete rows before it were read."});
}

TEST(TreeListFile, ThreeHundredRowsAreWrittenWholeAndFurtherLinesAreNotRead) {
    auto full = edgeList(kBlankReal, kMaxTreeRows);
    const std::string text = treeListText(*full);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 301);
    const Read read = readText(text);
    EXPECT_EQ(read.status, TreeListReadStatus::Complete);
    expectSameList(*read.list, *full);

    const Read longer = readText(text + "2  301  9.9 99.91\n2  302  9.9 99.91\n");
    EXPECT_EQ(longer.status, TreeListReadStatus::TooManyTrees);
    EXPECT_EQ(longer.messages, std::vector<std::string>{kTooManyTreesMessage});
    EXPECT_TRUE(longer.list->loaded);
    expectSameList(*longer.list, *full);
}

TEST(TreeListFile, BothLayoutsRoundTripAndTheDominantHeightChoosesTheLayout) {
    struct Layout {
        float dominantHeight;
        size_t headerLength;
        size_t treeLength;
    };
    for (const Layout& layout :
         {Layout{kBlankReal, 42, 17}, Layout{63.25f, 49, 16}, Layout{-9.9999f, 49, 16}, Layout{99.9999f, 49, 16}}) {
        auto list = edgeList(layout.dominantHeight, 12);
        list->rows[3].id = "";
        list->rows[4].id = "ABCDE";
        const std::string text = treeListText(*list);
        ASSERT_FALSE(unfitValueMessage(*list).has_value()) << *unfitValueMessage(*list);
        EXPECT_EQ(text.find('\n'), layout.headerLength);
        EXPECT_EQ(text.find('\n', layout.headerLength + 1), layout.headerLength + 1 + layout.treeLength);
        const Read read = readText(text);
        EXPECT_EQ(read.status, TreeListReadStatus::Complete);
        expectSameList(*read.list, *list);
    }
}

TEST(TreeListFile, FilesAreReadFromAndWrittenToDisk) {
    TempDir dir;
    const std::string path = dir.file("plot.dat");
    auto list = edgeList(kBlankReal, 5);
    RecordingUi ui;
    ASSERT_TRUE(writeTreeListFile(path, *list, ui));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(fileText(path), treeListText(*list));

    TreeList back;
    EXPECT_EQ(readTreeListFile(path, back, ui), TreeListReadStatus::Complete);
    expectSameList(back, *list);

    const std::string missing = dir.file("missing.dat");
    EXPECT_EQ(readTreeListFile(missing, back, ui), TreeListReadStatus::Unopened);
    EXPECT_FALSE(back.loaded);
    EXPECT_EQ(back.rowCount(), 0);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Unable to open " + missing + ": No such file or directory."});
}

// 300 trees in the crown-class layout with CR LF line ends are the largest tree list; a file one byte larger
// is not read at all, even when the byte is a blank the reader would skip.
TEST(TreeListFile, TheLargestTreeListIsExactlyTheCapAndALargerFileIsNotRead) {
    TempDir dir;
    auto full = edgeList(kBlankReal, kMaxTreeRows);
    const std::string largest = withCrLf(treeListText(*full));
    EXPECT_EQ(largest.size(), size_t{5744});
    EXPECT_EQ(kTreeListFileCap.largestSize, largest.size());
    EXPECT_LT(withCrLf(treeListText(*edgeList(63.25f, kMaxTreeRows))).size() + 1, largest.size());

    const std::string path = dir.file("largest.dat");
    std::ofstream(path, std::ios::binary) << largest;
    RecordingUi ui;
    TreeList back;
    EXPECT_EQ(readTreeListFile(path, back, ui), TreeListReadStatus::Complete);
    expectSameList(back, *full);

    std::ofstream(path, std::ios::binary | std::ios::app) << ' ';
    EXPECT_EQ(readTreeListFile(path, back, ui), TreeListReadStatus::Unopened);
    EXPECT_FALSE(back.loaded);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Unable to open " + path +
                                                   ": it is larger than the largest tree list file (5744 bytes)."});
}

TEST(TreeListFile, AFailedWriteKeepsTheOldFileAndGivesTheReason) {
    TempDir dir;
    const std::string path = dir.file("plot.dat");
    std::ofstream(path, std::ios::binary) << "old contents\n";
    fakes::FailingFileSystem disk;
    disk.byteBudget = 30;
    RecordingUi ui;
    EXPECT_FALSE(writeTreeListFile(path, *edgeList(kBlankReal, 5), ui, disk));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Unable to open file for output\nUnable to save " + path +
                                                   ": No space left on device."});
    EXPECT_EQ(fileText(path), "old contents\n");
    EXPECT_EQ(dir.entries(), 1u);
}

struct UnfitCase {
    const char* name;
    std::function<void(TreeList&)> change;
    std::string message;
};

class TreeListUnfitValue : public testing::TestWithParam<UnfitCase> {};

TEST_P(TreeListUnfitValue, RefusesTheSaveAndKeepsTheOldFile) {
    const UnfitCase& c = GetParam();
    auto list = edgeList(kBlankReal, 12);
    c.change(*list);
    TempDir dir;
    const std::string path = dir.file("plot.dat");
    std::ofstream(path, std::ios::binary) << "old contents\n";
    RecordingUi ui;
    EXPECT_FALSE(writeTreeListFile(path, *list, ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{c.message + " The tree list was not saved."});
    EXPECT_EQ(fileText(path), "old contents\n");
    EXPECT_EQ(dir.entries(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryField, TreeListUnfitValue,
    testing::Values(UnfitCase{"BlankHeaderCode", [](TreeList& l) { l.header.code = -1; },
                              "Header, Record code: -1 does not fit its 1-character field."},
                    UnfitCase{"LongPlotId", [](TreeList& l) { l.header.plotId = "PLOT10"; },
                              "Header, Plot ID: \"PLOT10\" does not fit its 5-character field."},
                    UnfitCase{"PlotAreaRoundedUp", [](TreeList& l) { l.header.plotArea = 99.996f; },
                              "Header, Plot area: 100.00 does not fit its 5-character field."},
                    UnfitCase{"NegativePlotArea", [](TreeList& l) { l.header.plotArea = -10.0f; },
                              "Header, Plot area: -10.00 does not fit its 5-character field."},
                    UnfitCase{"AgeOf100", [](TreeList& l) { l.header.age = 100; },
                              "Header, Age: 100 does not fit its 2-character field."},
                    UnfitCase{"NegativeFertilizationAge", [](TreeList& l) { l.header.fertilizationAge = -10; },
                              "Header, Fertilization age: -10 does not fit its 2-character field."},
                    UnfitCase{"NitrogenOf1000", [](TreeList& l) { l.header.lbn = 1000; },
                              "Header, Nitrogen: 1000 does not fit its 3-character field."},
                    UnfitCase{"BlankPhosphorus", [](TreeList& l) { l.header.qphos = -1; },
                              "Header, Phosphorus: -1 does not fit its 1-character field."},
                    UnfitCase{"ThinningAgeOf100", [](TreeList& l) { l.header.thinningAge = 100; },
                              "Header, Thinning age: 100 does not fit its 2-character field."},
                    UnfitCase{"BasalAreaOf1000", [](TreeList& l) { l.header.baa = 1000.0f; },
                              "Header, Basal area after thinning: 1000.0 does not fit its 5-character field."},
                    UnfitCase{"NegativeBasalArea", [](TreeList& l) { l.header.bab = -100.0f; },
                              "Header, Basal area before thinning: -100.0 does not fit its 5-character field."},
                    UnfitCase{"HardwoodFlagOf10", [](TreeList& l) { l.header.qhdwd = 10; },
                              "Header, Hardwood: 10 does not fit its 1-character field."},
                    UnfitCase{"HardwoodPercentOf100", [](TreeList& l) { l.header.hardwoodPercent = 100.0f; },
                              "Header, Hardwood percent: 100.0 does not fit its 4-character field."},
                    UnfitCase{"DominantHeightOf100", [](TreeList& l) { l.header.dominantHeight = 100.0f; },
                              "Header, Dominant height: 100.0000 does not fit its 7-character field."},
                    UnfitCase{"NegativeDominantHeight", [](TreeList& l) { l.header.dominantHeight = -10.0f; },
                              "Header, Dominant height: -10.0000 does not fit its 7-character field."},
                    UnfitCase{"BlankRowCode", [](TreeList& l) { l.rows[0].code = -1; },
                              "Row 1, Record code: -1 does not fit its 1-character field."},
                    UnfitCase{"LongTreeId", [](TreeList& l) { l.rows[1].id = "T-1000"; },
                              "Row 2, Tree ID: \"T-1000\" does not fit its 5-character field."},
                    UnfitCase{"DbhOf100", [](TreeList& l) { l.rows[2].dbh = 100.0f; },
                              "Row 3, DBH: 100.0 does not fit its 4-character field."},
                    UnfitCase{"HeightOf104", [](TreeList& l) { l.rows[11].height = 104.3f; },
                              "Row 12, Height: 104.3 does not fit its 4-character field."},
                    UnfitCase{"HeightRoundedUp", [](TreeList& l) { l.rows[5].height = 99.96f; },
                              "Row 6, Height: 100.0 does not fit its 4-character field."},
                    UnfitCase{"NegativeHeight", [](TreeList& l) { l.rows[6].height = -10.0f; },
                              "Row 7, Height: -10.0 does not fit its 4-character field."},
                    UnfitCase{"BlankCrownClass", [](TreeList& l) { l.rows[3].crownClass = -1; },
                              "Row 4, Crown class: -1 does not fit its 1-character field."},
                    // Values the file could not give back: "    inf" reads as blanks and a number running into
                    // the next line, and a byte 255 ends the file.
                    UnfitCase{"InfiniteDominantHeight",
                              [](TreeList& l) { l.header.dominantHeight = std::numeric_limits<float>::infinity(); },
                              "Header, Dominant height: inf cannot be saved in a tree list file."},
                    UnfitCase{"UndefinedDbh", [](TreeList& l) { l.rows[1].dbh = std::nanf(""); },
                              "Row 2, DBH: nan cannot be saved in a tree list file."},
                    UnfitCase{"ByteThatEndsTheFile", [](TreeList& l) { l.rows[2].id = "T\xff"; },
                              "Row 3, Tree ID: \"   T\xff\" cannot be saved in a tree list file."},
                    UnfitCase{"FirstFaultIsNamed",
                              [](TreeList& l) {
                                  l.rows[8].dbh = 250.0f;
                                  l.rows[4].crownClass = 12;
                              },
                              "Row 5, Crown class: 12 does not fit its 1-character field."}),
    RowName());

TEST(TreeListFile, ValuesThatAreNotWrittenAreNotChecked) {
    auto dominant = edgeList(55.5f, 3);
    dominant->rows[1].crownClass = -1; // the dominant-height layout writes no crown class
    EXPECT_FALSE(unfitValueMessage(*dominant).has_value());

    auto crown = edgeList(kBlankReal, 3);
    crown->rows[5].height = 150.0f; // past the last row
    EXPECT_FALSE(unfitValueMessage(*crown).has_value());
}

} // namespace
} // namespace grovex
