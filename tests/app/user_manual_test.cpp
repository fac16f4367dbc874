#include "app/user_manual.h"
#include "base/platform/shell.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace grovex
