#include "batch/stand_table.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace grovex::batch {
namespace {

class StandTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("stand-table-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string write(const std::string& bytes) {
        std::string path = (folder_ / "stands.csv").string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::vector<StandRecord> rows(const std::string& path, const StandTableCheck& check) {
        StandTableReader reader(path, check.columns);
        std::vector<StandRecord> out;
        StandRecord record;
        std::string error;
        while (reader.next(record, error)) {
            out.push_back(record);
        }
        EXPECT_EQ(error, "");
        return out;
    }

    std::filesystem::path folder_;
};

TEST_F(StandTableTest, ReadsQuotedFieldsLineEndsAndUserColumnsAsWritten) {
    // A byte order mark, CR LF and LF line ends, a blank line, a quoted comma, a doubled quote and a quoted
    // line break, and user columns on both sides of the known ones.
    const std::string path = write("\xEF\xBB\xBFowner,stand_id,site,note,planted\r\n"
                                   "\"Ortega, M.\",A-1,65,\"the \"\"old\"\" mill\",700\r\n"
                                   "\n"
                                   "Åsa,A-2,,\"two\nlines\",\n");
    StandTableCheck check;
    ASSERT_EQ(checkStandTable(path, check), std::nullopt);
    EXPECT_EQ(check.rows, 2);
    EXPECT_EQ(check.columns.userNames(), (std::vector<std::string>{"owner", "note"}));
    EXPECT_EQ(check.sha256.size(), 64u);

    const std::vector<StandRecord> stands = rows(path, check);
    ASSERT_EQ(stands.size(), 2u);
    EXPECT_EQ(stands[0].standId, "A-1");
    EXPECT_EQ(stands[0].line, 2);
    EXPECT_EQ(stands[0].known[2], "65");  // site
    EXPECT_EQ(stands[0].known[3], "700"); // planted
    EXPECT_EQ(stands[0].userValues, (std::vector<std::string>{"Ortega, M.", "the \"old\" mill"}));
    EXPECT_EQ(stands[1].rowIndex, 1);
    EXPECT_EQ(stands[1].line, 4);
    EXPECT_EQ(stands[1].known[2], std::nullopt); // an empty cell is not given
    EXPECT_EQ(stands[1].known[3], std::nullopt);
    EXPECT_EQ(stands[1].userValues, (std::vector<std::string>{"Åsa", "two\nlines"}));
}

TEST_F(StandTableTest, DropsOnlyAByteOrderMarkFromTheFirstName) {
    // "Ｓite" starts with U+FF33, EF BC B3: the same first byte as the mark EF BB BF, yet part of the name.
    for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
        const std::string path = write(mark + "\xEF\xBC\xB3ite,stand_id\n65,A-1\n");
        StandTableCheck check;
        ASSERT_EQ(checkStandTable(path, check), std::nullopt) << "mark: " << mark.size() << " bytes";
        EXPECT_EQ(check.columns.userNames(), std::vector<std::string>{"\xEF\xBC\xB3ite"});
        EXPECT_EQ(rows(path, check).at(0).userValues, std::vector<std::string>{"65"});
    }
    StandTableCheck check;
    const std::string cut = write("\xEF\xBBstand_id\nA-1\n");
    const std::optional<std::string> cutShort = checkStandTable(cut, check);
    ASSERT_TRUE(cutShort.has_value());
    EXPECT_EQ(*cutShort, cut + ": line 1: field 1 is not UTF-8 text.");
}

struct Refusal {
    const char* name;
    std::string bytes;
    std::string message; // what the refusal must say
};

class StandTableRefusalTest : public StandTableTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(StandTableRefusalTest, NamesTheLine) {
    const std::string path = write(GetParam().bytes);
    StandTableCheck check;
    const std::optional<std::string> refused = checkStandTable(path, check);
    ASSERT_TRUE(refused.has_value());
    EXPECT_NE(refused->find(GetParam().message), std::string::npos) << *refused;
}

INSTANTIATE_TEST_SUITE_P(
    NotAStandTable, StandTableRefusalTest,
    ::testing::Values(
        Refusal{"Empty", "", "is empty"}, Refusal{"HeaderOnly", "stand_id,site\n", "has a header but no stands"},
        Refusal{"NoStandId", "id,site\nA,60\n", "line 1: the header has no stand_id column"},
        Refusal{"KnownColumnTwice", "stand_id,site,Site\nA,60,61\n",
                "line 1: the column \"Site\" is named twice (columns 2 and 3)"},
        Refusal{"FewerFields", "stand_id,site\nA,60\nB\n", "line 3: 1 field where the header has 2"},
        Refusal{"MoreFields", "stand_id,site\nA,60,x\n", "line 2: 3 fields where the header has 2"},
        Refusal{"QuoteLeftOpen", "stand_id,note\nA,\"open\nB,x\n", "line 2: a quoted field is not closed"},
        Refusal{"QuoteInsideField", "stand_id,note\nA,ab\"c\n", "line 2: a quote inside a field"},
        Refusal{"NotUtf8", "stand_id,note\nA,caf\xE9\n", "line 2: field 2 is not UTF-8 text"},
        Refusal{"EmptyStandId", "stand_id,site\n,60\n", "line 2: the stand_id is empty"},
        Refusal{"StandIdTwice", "stand_id,site\nA,60\nB,61\nA,62\n", "line 4: the stand_id \"A\" is also on line 2"}),
    RowName());

TEST_F(StandTableTest, OnlyARegularFileIsRead) {
    // A missing file, a folder and a named pipe (which would wait for a writer for ever) are refused at once.
    const std::string fifo = (folder_ / "pipe.csv").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::pair<std::string, std::string>> cases{
        {(folder_ / "none.csv").string(), "No such file or directory."},
        {folder_.string(), "it is a directory."},
        {fifo, "it is not a regular file."},
    };
    for (const auto& [path, reason] : cases) {
        StandTableCheck check;
        EXPECT_EQ(checkStandTable(path, check), "Unable to open " + path + ": " + reason);
    }
}

} // namespace
} // namespace grovex::batch
