// grovex-cli started under a decimal-comma locale prints and writes exactly what it does under "C".

#include "locale_switch.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace grovex {
namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
    std::string written; // the file the command wrote, if any
};

bool operator==(const CliResult& a, const CliResult& b) {
    return a.exitCode == b.exitCode && a.out == b.out && a.err == b.err && a.written == b.written;
}

void PrintTo(const CliResult& run, std::ostream* os) {
    *os << "exit " << run.exitCode << "\nstdout:\n" << run.out << "\nstderr:\n" << run.err;
}

class CliUnderLocales : public ::testing::Test {
protected:
    void SetUp() override {
        {
            const ProcessLocale german(localetest::kCommaLocale);
            if (!german.active()) {
                GTEST_SKIP() << localetest::kMissingReason;
            }
        }
        dir = fs::temp_directory_path() / ("grovex_cli_locale_" + std::to_string(std::random_device()()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        if (!dir.empty()) {
            fs::remove_all(dir);
        }
    }

    // `args` may name "{out}": a fresh file the command writes, whose bytes become part of the result.
    CliResult run(const std::string& locale, std::string args) {
        const fs::path outFile = dir / ("out-" + locale + "-" + std::to_string(counter++));
        for (size_t at; (at = args.find("{out}")) != std::string::npos;) {
            args.replace(at, 5, "'" + outFile.string() + "'");
        }
        const fs::path errFile = outFile.string() + ".err";
        // LANG and LC_ALL both, so that no LC_* variable of the caller's environment takes over.
        const std::string command =
            "LANG=" + locale + " LC_ALL=" + locale + " '" + cliPath() + "' " + args + " 2>'" + errFile.string() + "'";
        CliResult result;
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return result;
        }
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            result.out.append(buffer, n);
        }
        const int status = pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.err = fileText(errFile);
        if (fs::exists(outFile)) {
            result.written = fileText(outFile);
        }
        return result;
    }

    // Runs under "C" and under the decimal-comma locale; the "C" result when both agree.
    CliResult same(const std::string& args) {
        CliResult classic = run("C", args);
        const CliResult comma = run(localetest::kCommaLocale, args);
        EXPECT_EQ(comma, classic) << args;
        return classic;
    }

    static std::string data(const char* name) { return "'" + testData(name) + "'"; }

    fs::path dir;
    int counter = 0;
};

TEST_F(CliUnderLocales, ProjectPrintsAndSavesTheSameBytes) {
    const std::string stand = "project --title 'Tract 7' --site 62.5 --planted 700 --survival 87.5 --hardwood 12.5 "
                              "--target-age 30 --units custom --equation 'Pulp,0.25,0.00215,5' ";
    EXPECT_NE(same(stand + "--format text").out.find("Site Index =   62.50"), std::string::npos);
    EXPECT_NE(same(stand + "--format csv").out.find(",Total,"), std::string::npos);
    EXPECT_NE(same(stand + "--format json").out.find("\"tables\""), std::string::npos);
    const CliResult saved = same(stand + "--save {out}");
    EXPECT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_FALSE(saved.written.empty());

    const CliResult existing = same("project --existing-age 12 --trees 600 --site 65 --basal-area 90.5 "
                                    "--target-relative-spacing 0.35 --format csv");
    EXPECT_EQ(existing.exitCode, 0) << existing.err;

    // Refusals with numbers in their messages, and a value with a decimal comma, which is not a number here.
    EXPECT_EQ(same("project --target-crown-ratio 100").err,
              "--target-crown-ratio 100: Please enter a real number from 20 to 99.000000\n");
    EXPECT_EQ(same("project --site 62,5").exitCode, same("project --site 62").exitCode);
}

TEST_F(CliUnderLocales, TreeListPrintsAndSavesTheSameBytes) {
    for (const char* file : {"treelist_crown_class.dat", "treelist_dominant_height.dat"}) {
        EXPECT_EQ(same("treelist " + data(file)).exitCode, 0) << file;
        same("treelist " + data(file) + " --format json");
        const CliResult tidy = same("treelist " + data(file) + " --save {out}");
        EXPECT_EQ(tidy.exitCode, 0) << tidy.err;
        EXPECT_FALSE(tidy.written.empty()) << file;
    }
}

TEST_F(CliUnderLocales, MacrosBuildDumpAndPlayTheSame) {
    const CliResult built = same("macro build " + data("macro_thin_fertilize_next.txt") + " -o {out}");
    ASSERT_EQ(built.exitCode, 0) << built.err;
    const fs::path macro = dir / "tract7.gmc";
    std::ofstream(macro, std::ios::binary) << built.written;

    const CliResult dumped = same("macro dump '" + macro.string() + "'");
    EXPECT_NE(dumped.out.find("ps real 0.899999976\n"), std::string::npos) << dumped.out;
    EXPECT_NE(dumped.out.find("rcut real 0.25\n"), std::string::npos);

    const CliResult played = same("play '" + macro.string() + "' --save {out}");
    EXPECT_EQ(played.exitCode, 0) << played.err;
    EXPECT_FALSE(played.written.empty());
    same("play " + data("macro_thin_fertilize_next.txt") + " --format json");
    same("play " + data("macro_thin_fertilize_next.txt") + " --format csv");
}

} // namespace
} // namespace grovex
