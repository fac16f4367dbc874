#include "app/user_manual.h"
#include "base/platform/shell.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace grovex {
namespace {

class ScriptedShell : public Shell {
public:
    explicit ScriptedShell(int result) : result_(result) {}
    int open(const std::string& file, const std::string& directory) override {
        file_ = file;
        directory_ = directory;
        return result_;
    }
    std::string file_;
    std::string directory_;

private:
    int result_;
};

std::vector<std::string> manualMessages(int shellResult) {
    ScriptedShell shell(shellResult);
    fakes::RecordingUi ui;
    openUserManual(shell, ui, "/opt/grovex/");
    EXPECT_EQ(shell.file_, "Grovex.pdf");
    EXPECT_EQ(shell.directory_, "/opt/grovex/");
    return ui.texts();
}

TEST(UserManualTest, EachShellResultHasItsMessage) {
    EXPECT_EQ(manualMessages(33), std::vector<std::string>{});
    EXPECT_EQ(manualMessages(42), std::vector<std::string>{});
    EXPECT_EQ(manualMessages(31), std::vector<std::string>{"The Adobe Acrobat Reader must be installed on your "
                                                           "computer before you may view the user manual.\n"
                                                           "https://get.adobe.com/reader/"});
    EXPECT_EQ(manualMessages(2), std::vector<std::string>{"Unable to find  /opt/grovex/Grovex.pdf"});
    EXPECT_EQ(manualMessages(3), std::vector<std::string>{"Unable to find  /opt/grovex/Grovex.pdf"});
    EXPECT_EQ(manualMessages(0), std::vector<std::string>{"Unable to launch Grovex.pdf"});
    EXPECT_EQ(manualMessages(32), std::vector<std::string>{"Unable to launch Grovex.pdf"});
}

// Three folders in a temporary one: the application directory, the program's folder and the installed
// documentation folder; the test puts a manual into some of them.
class ManualPlacesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("grovex-manual-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        for (const char* name : {"app", "bin", "doc"}) {
            std::filesystem::create_directories(root_ / name);
        }
        places_ = {folder("app") + "/", {folder("bin"), folder("doc")}};
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    std::string folder(const char* name) const { return (root_ / name).string(); }
    void putManual(const char* name) const { std::ofstream(root_ / name / kUserManualFile) << "%PDF-1.4\n"; }

    // The folder the shell was asked to open the manual from, and the messages shown.
    std::pair<std::string, std::vector<std::string>> open(int shellResult = kShellSuccess) const {
        ScriptedShell shell(shellResult);
        fakes::RecordingUi ui;
        openUserManual(shell, ui, places_);
        EXPECT_EQ(shell.file_, kUserManualFile);
        return {shell.directory_, ui.texts()};
    }

    std::filesystem::path root_;
    UserManualPlaces places_;
};

TEST_F(ManualPlacesTest, TheApplicationDirectoryComesFirstThenTheProgramFolderThenTheInstalledOne) {
    putManual("doc");
    EXPECT_EQ(open().first, folder("doc"));
    putManual("bin");
    EXPECT_EQ(open().first, folder("bin"));
    putManual("app");
    EXPECT_EQ(open(), (std::pair<std::string, std::vector<std::string>>{folder("app") + "/", {}}));
}

TEST_F(ManualPlacesTest, WithoutAManualAnywhereTheMessageNamesTheApplicationDirectory) {
    // A folder of the manual's name is no manual; an empty place is not looked in.
    std::filesystem::create_directories(root_ / "bin" / kUserManualFile);
    places_.otherDirectories.back().clear();
    const auto [directory, messages] = open(kShellFileNotFound);
    EXPECT_EQ(directory, folder("app") + "/");
    EXPECT_EQ(messages, std::vector<std::string>{"Unable to find  " + folder("app") + "/Grovex.pdf"});
}

TEST_F(ManualPlacesTest, AFailureToOpenTheInstalledManualStillNamesTheApplicationDirectory) {
    putManual("doc");
    const auto [directory, messages] = open(0);
    EXPECT_EQ(directory, folder("doc"));
    EXPECT_EQ(messages, std::vector<std::string>{"Unable to launch Grovex.pdf"});
}

TEST(UserManualTest, TheInstalledDocumentationFolderIsKnownAbsoluteAndBesideThePrograms) {
#ifdef _WIN32
    EXPECT_EQ(installedDocDirectory(), ""); // no fixed place: only the folder beside the programs counts
#else
    const std::filesystem::path installed(installedDocDirectory());
    EXPECT_TRUE(installed.is_absolute()) << installed;
    EXPECT_EQ(installed.filename(), "grovex");
#endif
    // A package puts the programs in /usr/bin and the manual in /usr/share/doc/grovex, whatever prefix the
    // build was configured with; a Windows installation has the same folders below its own.
#ifdef _WIN32
    const std::string root = "C:\\Program Files\\grovex\\";
#else
    const std::string root = "/usr/";
#endif
    const std::filesystem::path beside(docDirectoryBeside(root + "bin" + root.back()));
    EXPECT_EQ(beside.filename(), "grovex");
    EXPECT_EQ(beside.string().rfind(root, 0), 0u) << beside;
    EXPECT_EQ(beside.string().find(".."), std::string::npos) << beside;
    EXPECT_EQ(docDirectoryBeside(""), "");
}

} // namespace
} // namespace grovex
