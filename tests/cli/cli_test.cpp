// Runs the built grovex-cli as a user or a script would and checks exit status, stdout and stderr.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CliRun runCli(const std::string& args) {
    static int counter = 0;
    const std::filesystem::path errPath =
        std::filesystem::temp_directory_path() /
        ("grovex-cli-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".err");
    const std::string command = std::string("'") + GROVEX_CLI_PATH + "' " + args + " 2>'" + errPath.string() + "'";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream errFile(errPath, std::ios::binary);
    run.err.assign(std::istreambuf_iterator<char>(errFile), std::istreambuf_iterator<char>());
    std::filesystem::remove(errPath);
    return run;
}

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
    const RefusedCase cases[] = {
        {"--rotation 6x", "Please specify an Integer\n"},
        {"--site 101", "Please enter a real number from 20 to 100\n"},
        {"--units cords", "Please select a board foot rule\n"},
        {"--units cords --rule doyle --min-dbh 7", "Please enter an integer from 8 to 20\n"},
        {"--target-age 30 --target-qmd 8", "Please enter one and only one Output Target parameter.\n"},
        {"--target-crown-ratio 100", "Please enter a real number from 20 to 99.000000\n"},
        {"--target-relative-spacing 5.5", "Please enter a real number from 0.100 to 5.000000\n"},
        {"--existing-age 12", "Please enter a real number from 50 to 2000\n"},
        {"--title " + std::string(80, 'x'), "The title can be at most 79 characters long.\n"},
        {"--units custom --equation abcdefghijklmno,1,1,1",
         "The volume units name can be at most 14 characters long.\n"},
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
                               "--format"}) {
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
    }
}

} // namespace
