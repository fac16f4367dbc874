// Runs the built grovex-cli as a user or a script would and checks exit status, stdout and stderr.

#include "results/document_file.h"
#include "support/cli_run.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) {
        parts.push_back(part);
    }
    return parts;
}

TEST(CliProject, DefaultRunPrintsTheTableAtAge25) {
    const CliRun run = runCli("project");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind("\r\n", 0), 0u);
    EXPECT_NE(run.out.find("Live Trees"), std::string::npos);
    EXPECT_NE(run.out.find("Site Index =   60.00"), std::string::npos);
    EXPECT_NE(run.out.find("Growing Seasons Completed =   25.00"), std::string::npos);
    EXPECT_NE(run.out.find("\r\nTotal     "), std::string::npos);
    EXPECT_NE(run.out.find("        To  6in\r\n"), std::string::npos); // cubic feet outside bark, top 6
    size_t lineFeeds = 0;
    for (size_t i = 0; i < run.out.size(); ++i) {
        if (run.out[i] == '\n') {
            ++lineFeeds;
            EXPECT_TRUE(i > 0 && run.out[i - 1] == '\r') << "bare line feed at " << i;
        }
    }
    EXPECT_GT(lineFeeds, 10u);
}

struct RefusedCase {
    std::string args;
    std::string message;
};

TEST(CliProject, RefusedInputNamesTheProblemOnStderr) {
    // The option comes first, with the value it was given, or had by default when it was left out.
    const RefusedCase cases[] = {
        {"--rotation 6x", "--rotation 6x: Please specify an Integer\n"},
        {"--site 101", "--site 101: Please enter a real number from 20 to 100\n"},
        {"--units cords", "Please select a board foot rule\n"},
        {"--units cords --rule doyle --min-dbh 7", "--min-dbh 7: Please enter an integer from 8 to 20\n"},
        {"--target-age 30 --target-qmd 8", "Please enter one and only one Output Target parameter.\n"},
        {"--target-crown-ratio 100", "--target-crown-ratio 100: Please enter a real number from 20 to 99.000000\n"},
        {"--target-relative-spacing 5.5",
         "--target-relative-spacing 5.5: Please enter a real number from 0.100 to 5.000000\n"},
        {"--existing-age 12", "--trees (not given): Please enter a real number from 50 to 2000\n"},
        {"--existing-age 26 --trees 800", "--target-age 25 (default): Please enter an integer from 26 to 60\n"},
        {"--title " + std::string(80, 'x'), "--title: The title can be at most 79 characters long.\n"},
        {"--units custom --equation abcdefghijklmno,1,1,1",
         "--equation: The volume units name can be at most 14 characters long.\n"},
        {"--units custom", "--units custom needs at least one --equation NAME,A,B,MINDBH.\n"},
        {"--planted 500 --existing-age 10 --trees 500",
         "--planted and --survival describe bare land; they cannot be used with --existing-age.\n"},
    };
    for (const RefusedCase& c : cases) {
        const CliRun run = runCli("project " + c.args);
        EXPECT_EQ(run.exitCode, 2) << c.args;
        EXPECT_EQ(run.err, c.message) << c.args;
        EXPECT_EQ(run.out, "") << c.args;
    }
}

TEST(CliProject, UnknownChoiceIsRefusedByTheParser) {
    const CliRun run = runCli("project --units acres");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--units"), std::string::npos);
}

TEST(CliProject, StandThatCannotBeFittedFailsWithoutOutput) {
    const CliRun run = runCli("project --existing-age 26 --trees 1154.33 --site 95.34 --basal-area 133.61 "
                              "--target-age 30");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "The diameter distribution could not be fitted to these stand values.\n");
    EXPECT_EQ(run.out, "");
}

TEST(CliProject, JsonHoldsTablesAndTheReachedStand) {
    const CliRun run = runCli("project --existing-age 12 --trees 600 --basal-area 90 --target-basal-area 120 "
                              "--format json");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json doc = nlohmann::json::parse(run.out);
    const auto& tables = doc.at("tables");
    ASSERT_EQ(tables.size(), 1u);
    const auto& table = tables[0];
    EXPECT_EQ(table.at("index"), 0);
    EXPECT_EQ(table.at("kind"), "live");
    EXPECT_EQ(table.at("headings").size(), 7u);
    EXPECT_EQ(table.at("headings")[0], "\nDBH\nClass");
    ASSERT_GE(table.at("rows").size(), 2u);
    for (const auto& row : table.at("rows")) {
        ASSERT_EQ(row.size(), 7u);
    }
    const auto& total = table.at("rows").back();
    EXPECT_EQ(total[0], 0);
    EXPECT_EQ(total[2], 0);

    const auto& stand = doc.at("stand");
    EXPECT_EQ(stand.at("targetReached"), true);
    EXPECT_GE(stand.at("basalArea").get<double>(), 120.0);
    EXPECT_EQ(stand.at("age"), table.at("age"));
    EXPECT_GT(stand.at("age").get<int>(), 12);
    EXPECT_NEAR(stand.at("trees").get<double>(), total[1].get<double>(), 0.01);
    for (const char* key : {"qmd", "dominantHeight", "averageHeight", "crownRatio", "relativeSpacing", "cords"}) {
        EXPECT_GT(stand.at(key).get<double>(), 0.0) << key;
    }
}

TEST(CliProject, CsvHasOneLinePerTableRow) {
    const CliRun run = runCli("project --units cords --rule scribner --format csv");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = split(run.out, '\n');
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "table,kind,age,dbhClass,trees,avgHeight,basalArea,vol1,vol2,vol3");
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = split(lines[i] + ",", ',');
        ASSERT_EQ(fields.size(), 10u) << lines[i];
        EXPECT_EQ(fields[0], "0");
        EXPECT_EQ(fields[1], "live");
        EXPECT_EQ(fields[2], "25");
    }
    const std::vector<std::string> total = split(lines.back() + ",", ',');
    EXPECT_EQ(total[3], "Total");
    EXPECT_EQ(total[5], "");

    // Numbers are the shortest texts that read back to the same float.
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = split(lines[i] + ",", ',');
        for (size_t f = 4; f < fields.size(); ++f) {
            if (fields[f].empty()) {
                continue;
            }
            char shortest[32];
            const auto end =
                std::to_chars(shortest, shortest + sizeof shortest, std::strtof(fields[f].c_str(), nullptr));
            EXPECT_EQ(std::string(shortest, end.ptr), fields[f]);
        }
    }
}

TEST(CliProject, VolumeUnitsReachTheHeadings) {
    const CliRun cords = runCli("project --units cords --rule doyle");
    ASSERT_EQ(cords.exitCode, 0) << cords.err;
    EXPECT_NE(cords.out.find("          Cords          Doyle\r\n"), std::string::npos);

    const CliRun custom = runCli("project --units custom --equation pulp,0,0.002,5 --equation saw,-5,0.0025,9");
    ASSERT_EQ(custom.exitCode, 0) << custom.err;
    EXPECT_NE(custom.out.find("              1              2              3\r\n"), std::string::npos);

    const CliRun inside = runCli("project --bark inside --min-dbh 8 --top 4");
    ASSERT_EQ(inside.exitCode, 0) << inside.err;
    EXPECT_NE(inside.out.find("           i.b.\r\n"), std::string::npos);
    EXPECT_NE(inside.out.find("        To  4in\r\n"), std::string::npos);
}

TEST(CliProject, HelpDocumentsEveryOption) {
    const CliRun run = runCli("project --help");
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option : {"--title",
                               "--rotation",
                               "--site",
                               "--planted",
                               "--survival",
                               "--existing-age",
                               "--trees",
                               "--basal-area",
                               "--poorly-drained",
                               "--hardwood",
                               "--target-age",
                               "--target-basal-area",
                               "--target-qmd",
                               "--target-height",
                               "--target-cords",
                               "--target-crown-ratio",
                               "--target-relative-spacing",
                               "--units",
                               "--bark",
                               "--rule",
                               "--min-dbh",
                               "--top",
                               "--equation",
                               "--format",
                               "--save"}) {
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
    }
    const CliRun show = runCli("show --help");
    EXPECT_EQ(show.exitCode, 0);
    EXPECT_NE(show.out.find("--format"), std::string::npos);
}

class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "grovex-cli-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~ScratchDirectory() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

TEST(CliShow, PrintsASavedSimulationAsTheProjectionPrintedIt) {
    ScratchDirectory dir;
    const std::string path = dir.file("tract 7.gvx");
    const std::string stand = "project --title 'Tract 7' --existing-age 12 --trees 600 --basal-area 90 "
                              "--target-basal-area 120 --units cords --rule doyle --save '" +
                              path + "'";
    for (const char* format : {"text", "json", "csv"}) {
        const CliRun project = runCli(stand + " --format " + format);
        ASSERT_EQ(project.exitCode, 0) << project.err;
        EXPECT_EQ(project.err, "");
        const CliRun show = runCli("show '" + path + "' --format " + format);
        EXPECT_EQ(show.exitCode, 0) << show.err;
        EXPECT_EQ(show.err, "");
        EXPECT_EQ(show.out, project.out) << format;
    }
}

TEST(CliProject, SavedSimulationHoldsTheRunAndWhatThePagesWouldRemember) {
    ScratchDirectory dir;
    const std::string custom = dir.file("custom.gvx");
    ASSERT_EQ(runCli("project --title Pulp --existing-age 12 --trees 600 --hardwood 15 --target-age 20 --units custom "
                     "--equation pulp,0.5,0.002,5 --equation saw,-5,0.0025,9 --save " +
                     custom)
                  .exitCode,
              0);
    const grovex::OpenedDocument opened = grovex::openDocument(custom);
    ASSERT_TRUE(opened.ok()) << opened.error;
    const grovex::CGROVEXDoc& doc = *opened.document;
    EXPECT_FALSE(doc.run.needsInit);
    EXPECT_TRUE(doc.run.targetReached);
    EXPECT_EQ(doc.run.maxAge, 60);
    EXPECT_EQ(doc.display.firstShown, 0);
    EXPECT_EQ(doc.display.stepFirst, 0);
    EXPECT_EQ(doc.model.tables.size(), 1u);
    EXPECT_EQ(doc.model.volnam[0], "pulp");

    const grovex::PlantationPageMembers& p = doc.plantationPage;
    EXPECT_EQ(p.pcrit, 1);
    EXPECT_EQ(p.target, 20.0f);
    EXPECT_EQ(p.hdwdpercnt, 15.0f); // percent, as typed
    EXPECT_EQ(p.tba, 0.0f);
    EXPECT_EQ(p.nyears, 60);
    EXPECT_EQ(p.site, 60.0f);
    EXPECT_EQ(p.ts, 600.0f);
    EXPECT_EQ(p.exage, 12);
    EXPECT_EQ(p.tp, 800.0f); // the page's presets for the disabled bare-land boxes
    EXPECT_EQ(p.ps, 90.0f);
    EXPECT_EQ(p.title, "Pulp");
    EXPECT_TRUE(p.qexist);
    EXPECT_FALSE(p.qlist);
    EXPECT_FALSE(p.qdrain);

    const grovex::VolumeUnitsPageMembers& v = doc.volumeUnitsPage;
    EXPECT_EQ(v.vtype, 3);
    EXPECT_EQ(v.boardFootRule, 0);
    EXPECT_EQ(v.barkType, 0);
    EXPECT_EQ(v.minDbhClass, 0); // its box is disabled for custom units
    EXPECT_EQ(v.a, (std::array<float, 3>{0.5f, -5.0f, 0.0f}));
    EXPECT_EQ(v.b, (std::array<float, 3>{0.002f, 0.0025f, 0.0f}));
    EXPECT_EQ(v.equationMinDbh, (std::array<int32_t, 3>{5, 9, 1}));
    EXPECT_EQ(v.names, (std::array<std::string, 3>{"pulp", "saw", ""}));

    const std::string cords = dir.file("cords.gvx");
    ASSERT_EQ(runCli("project --rotation 10 --target-basal-area 170 --units cords --rule scribner --min-dbh 10 "
                     "--save " +
                     cords)
                  .exitCode,
              0);
    const grovex::OpenedDocument second = grovex::openDocument(cords);
    ASSERT_TRUE(second.ok()) << second.error;
    EXPECT_FALSE(second.document->run.targetReached); // stopped at the rotation
    EXPECT_EQ(second.document->run.maxAge, 10);
    const grovex::PlantationPageMembers& q = second.document->plantationPage;
    EXPECT_EQ(q.pcrit, 2);
    EXPECT_EQ(q.hdwdpercnt, -1.0f);
    EXPECT_EQ(q.ts, 50.0f); // presets of the disabled existing-stand boxes
    EXPECT_EQ(q.exage, 2);
    EXPECT_FALSE(q.qexist);
    const grovex::VolumeUnitsPageMembers& w = second.document->volumeUnitsPage;
    EXPECT_EQ(w.vtype, 2);
    EXPECT_EQ(w.boardFootRule, 3);
    EXPECT_EQ(w.barkType, 0);
    EXPECT_EQ(w.minDbhClass, 10);
    EXPECT_EQ(w.names, (std::array<std::string, 3>{"", "", ""}));
}

TEST(CliShow, AFileThatCannotBeOpenedPrintsTheReadersMessage) {
    ScratchDirectory dir;
    const std::string saved = dir.file("saved.gvx");
    ASSERT_EQ(runCli("project --save " + saved).exitCode, 0);
    std::ifstream in(saved, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    const std::string older = dir.file("older.gvx");
    std::string olderBytes = bytes;
    olderBytes[0] = static_cast<char>(0xFB); // 999999995
    std::ofstream(older, std::ios::binary) << olderBytes;
    const std::string cut = dir.file("cut.gvx");
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    const std::string missing = dir.file("missing.gvx");

    const RefusedCase cases[] = {
        {older, "Unable to open the file.  The file has a different version number.\n"},
        {cut, "Unexpected file format.\n"},
        {missing, "Unable to open " + missing + ": No such file or directory.\n"},
    };
    for (const RefusedCase& c : cases) {
        const CliRun run = runCli("show " + c.args);
        EXPECT_EQ(run.exitCode, 2) << c.args;
        EXPECT_EQ(run.err, c.message) << c.args;
        EXPECT_EQ(run.out, "") << c.args;
    }

    const std::string nowhere = dir.file("gone") + "/stand.gvx";
    const CliRun unsaved = runCli("project --save " + nowhere);
    EXPECT_EQ(unsaved.exitCode, 1);
    EXPECT_EQ(unsaved.err, "Unable to save " + nowhere + ": No such file or directory.\n");
}

std::string treeListFixture(const char* name) {
    return grovex::testData(name);
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(CliTreeList, PrintsTheHeaderAndATableOfRowsWithBlankCellsEmpty) {
    const CliRun run = runCli("treelist '" + treeListFixture("treelist_crown_class.dat") + "'");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind("Layout: crown class\n", 0), 0u);
    EXPECT_NE(run.out.find("\"Tr 7 \"\n"), std::string::npos); // the plot identifier exactly as read
    EXPECT_NE(run.out.find("\n  Fertilization age\n"), std::string::npos);
    EXPECT_NE(run.out.find("\n  Dominant height (feet)\n"), std::string::npos);
    const std::string table = "\nTrees: 4\n"
                              "  Row  Code  Tree ID    DBH  Height  Crown\n"
                              "    1     2      101    9.4    58.2      1\n"
                              "    2     2      102   11.0    61.5      2\n"
                              "    3     2      103    4.5    33.0      3\n"
                              "    4     2      104   10.2    60.0      4\n";
    EXPECT_EQ(run.out.substr(run.out.size() - std::min(run.out.size(), table.size())), table);
}

TEST(CliTreeList, JsonHasTheLayoutHeaderAndRowsWithBlanksAsNull) {
    const CliRun run = runCli("treelist '" + treeListFixture("treelist_dominant_height.dat") + "' --format json");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["layout"], "dominantHeight");
    EXPECT_EQ(json["header"]["plotId"], "  A12");
    EXPECT_EQ(json["header"]["nitrogen"], 200);
    EXPECT_FLOAT_EQ(json["header"]["dominantHeight"].get<float>(), 55.1234f);
    ASSERT_EQ(json["rows"].size(), 4u);
    EXPECT_EQ(json["rows"][0]["id"], "1");
    EXPECT_FLOAT_EQ(json["rows"][0]["height"].get<float>(), 65.4f);
    EXPECT_TRUE(json["rows"][0]["crownClass"].is_null()); // no crown classes in this layout
    EXPECT_TRUE(json["rows"][2]["dbh"].is_null());
    EXPECT_TRUE(json["rows"][3]["id"].is_null());
    EXPECT_EQ(json["warnings"], nlohmann::json::array());
}

TEST(CliTreeList, ARefusedFilePrintsTheWindowsMessageAndExitsWith2) {
    ScratchDirectory dir;
    const std::string crown = fileBytes(treeListFixture("treelist_crown_class.dat"));
    const std::string indented = dir.file("indented.dat");
    std::ofstream(indented, std::ios::binary) << " " << crown;
    const std::string badRow = dir.file("bad row.dat");
    std::ofstream(badRow, std::ios::binary) << crown << "3  105  7.7 44.41\n";
    const std::string missing = dir.file("missing.dat");
    const RefusedCase cases[] = {
        {indented, "Tree List header must start with 1.  Please use a text editor to correct the file.\n"},
        {badRow, "Tree item rows must start with 2.  Please use a text editor to correct the file.\n"},
        {missing, "Unable to open " + missing + ": No such file or directory.\n"},
    };
    for (const RefusedCase& c : cases) {
        const CliRun run = runCli("treelist '" + c.args + "' --format json");
        EXPECT_EQ(run.exitCode, 2) << c.args;
        EXPECT_EQ(run.err, c.message) << c.args;
        EXPECT_EQ(run.out, "") << c.args;
    }
}

TEST(CliTreeList, APartlyReadFileWarnsOnStderrAndGoesOnWithTheRowsRead) {
    ScratchDirectory dir;
    const std::string crown = fileBytes(treeListFixture("treelist_crown_class.dat"));
    const std::string cut = dir.file("cut.dat");
    std::ofstream(cut, std::ios::binary) << crown.substr(0, crown.find("2  102") + 10);
    const std::string warning =
        "The tree list file ends in the middle of tree line 2; the 1 complete row before it was read.";

    const CliRun text = runCli("treelist '" + cut + "'");
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.err, warning + "\n");
    EXPECT_NE(text.out.find("\nTrees: 1\n"), std::string::npos);

    const CliRun json = runCli("treelist '" + cut + "' --format json");
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(nlohmann::json::parse(json.out)["warnings"], nlohmann::json::array({warning}));
}

TEST(CliTreeList, SaveWritesTheListBackInTheWindowsOwnLayout) {
    ScratchDirectory dir;
    const std::string untidy = dir.file("untidy.dat");
    std::ofstream(untidy, std::ios::binary) << "1 NW3  0.20 12  0   0 0  0 -1.0 -1.0 0 0.0 \t62.5\r\n"
                                               "\r\n"
                                               "  2 7     9.4 58.2\r\n"
                                               "\t2 A1   11.0 61.5\r\n";
    const std::string out = dir.file("tidy.dat");
    const CliRun run = runCli("treelist '" + untidy + "' --save '" + out + "'");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(fileBytes(out), "1 NW3  0.20 12  0   0 0  0 -1.0 -1.0 0 0.062.5000\n"
                              "2    7  9.4 58.2\n"
                              "2   A1 11.0 61.5\n");

    // A value that the window would not read back as written refuses the save.
    const std::string wide = dir.file("wide.dat");
    std::ofstream(wide, std::ios::binary)
        << fileBytes(treeListFixture("treelist_crown_class.dat")) << "2  105 1e3  44.41\n";
    const CliRun refused = runCli("treelist '" + wide + "' --save '" + out + "'");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "Row 5, DBH: 1000.0 does not fit its 4-character field. The tree list was not saved.\n");
    EXPECT_EQ(fileBytes(out), "1 NW3  0.20 12  0   0 0  0 -1.0 -1.0 0 0.062.5000\n"
                              "2    7  9.4 58.2\n"
                              "2   A1 11.0 61.5\n");
}

TEST(CliProject, TreeListStandIsExtractedAndProjected) {
    const std::string list = grovex::testData("treelist_crown_class.dat");
    const CliRun run = runCli("project --treelist '" + list + "' --target-age 25 --format json");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json doc = nlohmann::json::parse(run.out);
    ASSERT_EQ(doc["tables"].size(), 1u);
    EXPECT_EQ(doc["tables"][0]["age"], 25);

    // A list whose tree has no height cannot describe a stand: the extraction says why, nothing is written.
    const CliRun refused = runCli("project --treelist '" + grovex::testData("treelist_dominant_height.dat") + "'");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.out.empty());
    EXPECT_NE(refused.err.find("has a height of 0 or less"), std::string::npos) << refused.err;

    const CliRun mixed = runCli("project --treelist '" + list + "' --site 70");
    EXPECT_EQ(mixed.exitCode, 2);
    EXPECT_NE(mixed.err.find("--treelist"), std::string::npos);
}

} // namespace

namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(CliMacro, BuildAndDumpReproduceTheMacroByteForByte) {
    ScratchDirectory dir;
    const std::string example = grovex::testData("macro_thin_fertilize_next.txt");
    const CliRun built = runCli("macro build '" + example + "' -o '" + dir.file("a.gmc") + "'");
    ASSERT_EQ(built.exitCode, 0) << built.err;
    const std::string bytes = fileText(dir.file("a.gmc"));
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 44u); // 45 entries

    const CliRun dumped = runCli("macro dump '" + dir.file("a.gmc") + "'");
    ASSERT_EQ(dumped.exitCode, 0) << dumped.err;
    EXPECT_EQ(split(dumped.out, '\n').size(), 45u);
    EXPECT_NE(dumped.out.find("\ntitle text \"Tract 7\"\n"), std::string::npos);
    EXPECT_NE(dumped.out.find("\nps real 0.899999976\n"), std::string::npos);
    EXPECT_NE(dumped.out.find("\nstart Input2\nnext\nend Input2\n"), std::string::npos);

    std::ofstream(dir.file("dump.txt"), std::ios::binary) << dumped.out;
    ASSERT_EQ(runCli("macro build '" + dir.file("dump.txt") + "' -o '" + dir.file("b.gmc") + "'").exitCode, 0);
    EXPECT_EQ(fileText(dir.file("b.gmc")), bytes);
}

TEST(CliMacro, RefusedInputsExitWith2AndNameTheProblem) {
    ScratchDirectory dir;
    std::ofstream(dir.file("cut.gmc"), std::ios::binary) << std::string("\x00\x00\x00\x00\x05", 5);
    const CliRun dump = runCli("macro dump '" + dir.file("cut.gmc") + "'");
    EXPECT_EQ(dump.exitCode, 2);
    EXPECT_EQ(dump.out, "");
    EXPECT_EQ(dump.err, "Unable to open the macro: " + dir.file("cut.gmc") + "\n");

    std::ofstream(dir.file("bad.txt")) << "ProjectInit\ntarget real twenty\n";
    const CliRun build = runCli("macro build '" + dir.file("bad.txt") + "' -o '" + dir.file("bad.gmc") + "'");
    EXPECT_EQ(build.exitCode, 2);
    EXPECT_EQ(build.err, dir.file("bad.txt") + ": line 2: \"twenty\" is not a real number\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.gmc")));

    EXPECT_EQ(runCli("macro build '" + dir.file("bad.txt") + "'").exitCode, 2); // -o is required
}

TEST(CliPlay, PlaysTheTextFormAndTheMacroFileToTheSameTables) {
    ScratchDirectory dir;
    const std::string example = grovex::testData("macro_thin_fertilize_next.txt");
    const CliRun text = runCli("play '" + example + "' --save '" + dir.file("played.gvx") + "'");
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(text.err, "");
    EXPECT_NE(text.out.find("Thinned Trees"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir.file("played.gvx")));

    ASSERT_EQ(runCli("macro build '" + example + "' -o '" + dir.file("m.gmc") + "'").exitCode, 0);
    const CliRun binary = runCli("play '" + dir.file("m.gmc") + "'");
    ASSERT_EQ(binary.exitCode, 0) << binary.err;
    EXPECT_EQ(binary.out, text.out);

    const CliRun csv = runCli("play '" + dir.file("m.gmc") + "' --format csv");
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_GT(split(csv.out, '\n').size(), 10u);
}

TEST(CliPlay, AFailedPlayExitsNonZeroAndWritesNothing) {
    ScratchDirectory dir;
    // The run ends at 15; the recorded thinning then meets the age limit.
    std::string macro = fileText(grovex::testData("macro_thin_fertilize_next.txt"));
    const size_t at = macro.find("nyears int 60");
    ASSERT_NE(at, std::string::npos);
    macro.replace(at, 13, "nyears int 15");
    std::ofstream(dir.file("short.txt")) << macro;
    const CliRun run = runCli("play '" + dir.file("short.txt") + "' --save '" + dir.file("out.gvx") + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "The age has reached its maximum value.\nThe macro could not complete\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.gvx")));

    const CliRun missing = runCli("play '" + dir.file("none.gmc") + "'");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err, "Unable to open the macro: " + dir.file("none.gmc") + ": No such file or directory.\n");
}

} // namespace

namespace {

// Paths that name no file the program can read, each with the reason it is given: a named pipe without a
// writer, a directory, a link that leads back to itself, a sparse file of 200 GB that takes no disk space, and
// the endless /dev/zero. The names end in `extension`; `largest` names the cap ("document file (716684
// bytes)").
std::vector<RefusedCase> unreadableFiles(const ScratchDirectory& dir, const std::string& extension,
                                         const std::string& largest) {
    const std::string pipe = dir.file("pipe" + extension);
    const std::string folder = dir.file("folder" + extension);
    const std::string loop = dir.file("loop" + extension);
    const std::string huge = dir.file("huge" + extension);
    if (!std::filesystem::exists(pipe)) {
        EXPECT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        std::filesystem::create_directory(folder);
        std::filesystem::create_symlink(loop + ".back", loop);
        std::filesystem::create_symlink(loop, loop + ".back");
        { std::ofstream create(huge); }
        std::filesystem::resize_file(huge, std::uintmax_t{200} * 1000 * 1000 * 1000);
    }
    return {
        {pipe, "it is not a regular file"},
        {"/dev/zero", "it is not a regular file"},
        {folder, "it is a directory"},
        {loop, "Too many levels of symbolic links"},
        {huge, "it is larger than the largest " + largest},
    };
}

// Every command that reads a file refuses these at once (within ten seconds, not waiting on a pipe or
// reading without end) with status 2 and the reader's own message.
TEST(CliFiles, WhatIsNoFileOfItsKindIsRefusedAtOnce) {
    ScratchDirectory dir;
    const std::string example = grovex::testData("macro_thin_fertilize_next.txt");
    const auto openMessage = [](const std::string& path, const std::string& reason) {
        return "Unable to open " + path + ": " + reason + ".\n";
    };
    const auto macroMessage = [](const std::string& path, const std::string& reason) {
        return "Unable to open the macro: " + path + ": " + reason + ".\n";
    };
    struct Command {
        std::string before;
        std::string after;
        std::string extension;
        std::string largest;
        std::function<std::string(const std::string&, const std::string&)> message;
    };
    const Command commands[] = {
        {"show", "", ".gvx", "document file (768692 bytes)", openMessage},
        {"treelist", "--format json", ".dat", "tree list file (5744 bytes)", openMessage},
        {"play '" + example + "' --treelist", "", ".dat", "tree list file (5744 bytes)", openMessage},
        {"macro dump", "", ".gmc", "macro file (829604 bytes)", macroMessage},
        {"play", "", ".gmc", "macro file (829604 bytes)", macroMessage},
        {"play", "", ".txt", "macro text file (3303600 bytes)", macroMessage},
        {"macro build", "-o '" + dir.file("out.gmc") + "'", ".txt", "macro text file (3303600 bytes)", openMessage},
    };
    for (const Command& command : commands) {
        for (const RefusedCase& file : unreadableFiles(dir, command.extension, command.largest)) {
            const std::string args = command.before + " '" + file.args + "' " + command.after;
            const CliRun run = runCli(args, "timeout 10");
            EXPECT_EQ(run.exitCode, 2) << args;
            EXPECT_EQ(run.err, command.message(file.args, file.message)) << args;
            EXPECT_EQ(run.out, "") << args;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.gmc")));
}

int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(CliPlay, RepeatPlaysTheMacroAgainOnTheSameSimulationPastTheTableLimit) {
    ScratchDirectory dir;
    const std::string example = grovex::testData("macro_thin_fertilize_next.txt");
    const std::string macro = fileText(example);
    std::ofstream(dir.file("three.txt")) << macro << macro << macro;
    const CliRun repeated = runCli("play '" + example + "' --repeat 3");
    ASSERT_EQ(repeated.exitCode, 0) << repeated.err;
    EXPECT_EQ(repeated.err, "");
    EXPECT_EQ(repeated.out, runCli("play '" + dir.file("three.txt") + "'").out);

    // Four tables a play: past the 100-table store the last table is overwritten, said once on stderr.
    const CliRun pastLimit = runCli("play '" + example + "' --repeat 30 --format csv");
    ASSERT_EQ(pastLimit.exitCode, 0) << pastLimit.err;
    EXPECT_EQ(pastLimit.err, "Maximum number of tables has been reached, overwriting last table\n");
    EXPECT_EQ(occurrences(pastLimit.out, ",Total,"), 100);

    EXPECT_EQ(runCli("play '" + example + "' --repeat 0").exitCode, 2);
    EXPECT_NE(runCli("play --help").out.find("--repeat N"), std::string::npos);
}

} // namespace
