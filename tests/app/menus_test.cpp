#include "app/command_rules.h"
#include "app/commands.h"
#include "app/menus.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace grovex {
namespace {

using namespace appcmd;
using namespace cmd;

// The menu as a user reads it: popup titles and item texts in order, "-" for a separator and "MRU" for the
// recent-file list.
std::vector<std::string> itemTexts(const MenuPopup& popup) {
    std::vector<std::string> texts;
    for (const MenuItem& item : popup.items) {
        switch (item.kind) {
        case MenuItem::Kind::Command:
            texts.emplace_back(item.text);
            break;
        case MenuItem::Kind::Separator:
            texts.emplace_back("-");
            break;
        case MenuItem::Kind::RecentFiles:
            texts.emplace_back("MRU");
            break;
        }
    }
    return texts;
}

std::vector<std::string> popupTitles(const MenuBar& bar) {
    std::vector<std::string> titles;
    for (const MenuPopup& popup : bar) {
        titles.emplace_back(popup.text);
    }
    return titles;
}

using Texts = std::vector<std::string>;

TEST(MenusTest, MenuWithoutDocumentHoldsFileViewAndHelp) {
    const MenuBar& bar = noDocumentMenu();
    EXPECT_EQ(popupTitles(bar), (Texts{"&File", "&View", "&Help"}));
    EXPECT_EQ(itemTexts(bar[0]),
              (Texts{"&New\tCtrl+N", "&Open...\tCtrl+O", "-", "P&rint Setup...", "-", "MRU", "-", "E&xit"}));
    EXPECT_EQ(itemTexts(bar[1]), (Texts{"&Toolbar", "&Status Bar"}));
    EXPECT_EQ(itemTexts(bar[2]), (Texts{"&Help Topics", "-", "&About GROVEX..."}));
}

TEST(MenusTest, SimulationMenuHoldsEveryItemInOrder) {
    const MenuBar& bar = simulationMenu();
    EXPECT_EQ(popupTitles(bar), (Texts{"&File", "&Edit", "&Macro", "&View", "&Window", "&Help"}));
    EXPECT_EQ(itemTexts(bar[0]),
              (Texts{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Close", "&Save\tCtrl+S", "Save &As...", "Save A&ll", "-",
                     "Export &Tables...", "Export C&hart...", "-", "&Print...\tCtrl+P", "Print Pre&view",
                     "P&rint Setup...", "-", "MRU", "-", "E&xit"}));
    EXPECT_EQ(itemTexts(bar[1]), (Texts{"&Copy\tCtrl+C", "&Select All"}));
    EXPECT_EQ(itemTexts(bar[2]),
              (Texts{"&Record Macro", "&Play Macro", "&Stop Macro", "St&ep Macro", "-", "S&ave Macro", "&Open Macro"}));
    EXPECT_EQ(itemTexts(bar[3]),
              (Texts{"&Toolbar", "&Status Bar", "-", "&Increase Font Size", "&Decrease Font Size", "-",
                     "Show or Hide Tree &List", "View &All Tables", "C&harts", "-", "Stand &Value"}));
    EXPECT_EQ(itemTexts(bar[4]), (Texts{"&New Window", "&Cascade", "&Tile", "&Arrange Icons"}));
    EXPECT_EQ(itemTexts(bar[5]), (Texts{"&Help Topics", "-", "&About GROVEX..."}));
}

TEST(MenusTest, TreeListMenuHoldsItsFileEditAndViewItems) {
    const MenuBar& bar = treeListMenu();
    EXPECT_EQ(popupTitles(bar), (Texts{"&File", "&Edit", "&View", "&Window", "&Help"}));
    EXPECT_EQ(itemTexts(bar[0]), (Texts{"&Open...\tCtrl+O", "&Close", "&Save\tCtrl+S", "Save &As...", "Save A&ll", "-",
                                        "&Print...\tCtrl+P", "Print Pre&view", "P&rint Setup...", "-", "E&xit"}));
    EXPECT_EQ(itemTexts(bar[1]), (Texts{"Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V", "&Select All", "-",
                                        "&Insert Row", "&Delete Selected Rows"}));
    EXPECT_EQ(itemTexts(bar[2]), (Texts{"&Toolbar", "&Status Bar", "-", "Show or Hide Tree &List"}));
}

TEST(CommandRouteTest, TheActiveTreeListWindowTakesItsFileEditPrintAndKeyCommands) {
    for (const int id : {kFileOpen, kFileClose, kFileSave, kFileSaveAs, kFilePrint, kFilePrintPreview, kEditCut,
                         kEditCopy, kEditPaste, kEditSelectAll, kInsertRow, kDeleteSelectedRows, kReset, kResetKey,
                         kGridEnter, kGridTab, kGridBackTab, 32782, 32790}) {
        EXPECT_EQ(treeListCommandRoute(id), CommandRoute::TreeList) << id;
    }
    EXPECT_EQ(treeListCommandRoute(kFileSaveAll), CommandRoute::MainFrame);
    EXPECT_EQ(treeListCommandRoute(kFileNew), CommandRoute::Application);
    EXPECT_EQ(treeListCommandRoute(kFilePrintSetup), CommandRoute::Application);
    EXPECT_EQ(treeListCommandRoute(kShowHideTreeList), CommandRoute::Application);
    EXPECT_EQ(treeListCommandRoute(kIncreaseFontSize), CommandRoute::View); // no simulation: disabled
}

TEST(MenusTest, ToolbarButtonsInOrderWithSeparators) {
    const std::vector<int> buttons(toolbarButtons().begin(), toolbarButtons().end());
    EXPECT_EQ(buttons, (std::vector<int>{57600, 32808, 0,     57601, 57603, 32809, 0,     57667, 57634, 0,
                                         57607, 0,     32771, 32810, 0,     32805, 32840, 0,     32772, 0,
                                         32814, 0,     32778, 32779, 32780, 0,     32802, 0,     32841}));
}

TEST(MenusTest, EveryKeyHasOneCommand) {
    std::map<std::string, int> keys;
    for (const Accelerator& accelerator : accelerators()) {
        EXPECT_TRUE(keys.emplace(std::string(accelerator.key), accelerator.id).second)
            << accelerator.key << " is bound twice";
    }
    // The pairs that are easy to get backwards.
    EXPECT_EQ(keys["Ctrl+Left"], 32785);
    EXPECT_EQ(keys["Ctrl+Right"], 32788);
    EXPECT_EQ(keys["Ctrl+Shift+G"], 32806);
    EXPECT_EQ(keys["Shift+Ins"], 57637);
    EXPECT_EQ(keys["Shift+Del"], 57635);
    EXPECT_EQ(keys["Alt+Backspace"], 57643);
    EXPECT_EQ(keys["Shift+F1"], 57669);
    EXPECT_EQ(keys.size(), 39u);
}

TEST(MenusTest, MenuShortcutTextsMatchTheAccelerators) {
    for (const MenuBar* bar : {&noDocumentMenu(), &simulationMenu(), &treeListMenu()}) {
        for (const MenuPopup& popup : *bar) {
            for (const MenuItem& item : popup.items) {
                const size_t tab = item.text.find('\t');
                if (tab == std::string_view::npos) {
                    continue;
                }
                const std::string_view key = item.text.substr(tab + 1);
                const auto bound = std::find_if(accelerators().begin(), accelerators().end(),
                                                [&](const Accelerator& a) { return a.key == key; });
                ASSERT_NE(bound, accelerators().end()) << item.text;
                EXPECT_EQ(bound->id, item.id) << item.text;
            }
        }
    }
}

TEST(MenusTest, EveryCommandHasAPromptAndEveryButtonATip) {
    for (const int id : allCommandIds()) {
        EXPECT_FALSE(statusPrompt(id).empty()) << id;
    }
    for (const int id : toolbarButtons()) {
        if (id != kToolbarSeparator) {
            EXPECT_FALSE(toolTip(id).empty()) << id;
        }
    }
    EXPECT_EQ(commandString(32808), "Reset the current view\nReset (ctrl R)");
    EXPECT_EQ(commandString(32809), "Save all open windows\nSave all");
    EXPECT_EQ(statusPrompt(57600), "Create a new document");
    EXPECT_EQ(toolTip(57600), "New");
    EXPECT_EQ(commandString(1), "");
}

// ---- enabling rules ----

struct RuleCase {
    const char* name;
    int id;
    ShellState state;
    bool enabled;
};

ShellState noWindow() {
    return {};
}
ShellState simulation() {
    ShellState state;
    state.simulationActive = true;
    state.childWindowOpen = true;
    return state;
}
ShellState treeListOnly() {
    ShellState state;
    state.childWindowOpen = true;
    return state;
}
ShellState withRecent(int count) {
    ShellState state;
    state.recentFileCount = count;
    return state;
}

class ShellRuleTest : public testing::TestWithParam<RuleCase> {};

TEST_P(ShellRuleTest, Enabled) {
    const RuleCase& c = GetParam();
    EXPECT_EQ(shellCommandEnabled(c.id, c.state), c.enabled);
}

INSTANTIATE_TEST_SUITE_P(Rules, ShellRuleTest,
                         testing::Values(RuleCase{"OpenWithoutWindow", kFileOpen, noWindow(), true},
                                         RuleCase{"SaveAllWithoutWindow", kFileSaveAll, noWindow(), true},
                                         RuleCase{"TreeListToggleWithoutWindow", kShowHideTreeList, noWindow(), true},
                                         RuleCase{"SaveInSimulation", kFileSave, simulation(), true},
                                         RuleCase{"SaveInTreeList", kFileSave, treeListOnly(), false},
                                         RuleCase{"NewWindowInTreeList", kWindowNew, treeListOnly(), false},
                                         RuleCase{"StandValueInSimulation", kStandValue, simulation(), true},
                                         RuleCase{"StandValueInTreeList", kStandValue, treeListOnly(), false},
                                         RuleCase{"CascadeWithChild", kWindowCascade, treeListOnly(), true},
                                         RuleCase{"TileWithoutChild", kWindowTile, noWindow(), false},
                                         RuleCase{"RecentFirstOfOne", kRecentFile1, withRecent(1), true},
                                         RuleCase{"RecentSecondOfOne", kRecentFile1 + 1, withRecent(1), false},
                                         RuleCase{"CopyAsksTheView", kEditCopy, simulation(), false}),
                         RowName());

// The window answers for its projection and macro commands; the shell never enables them itself.
TEST(ShellRulesTest, ProjectionAndMacroCommandsGoToTheSimulation) {
    for (const int id : {kInitializeAndProject, kMidrotationAndProject, kProjectToNextTarget, kInitializeKey,
                         kMidrotationKey, kNextTargetKey, kReset, kResetKey, kChangeSimulationTreeList, kRecordMacro,
                         kPlayMacro, kStopMacro, kStepMacro, kSaveMacro, kOpenMacro}) {
        EXPECT_EQ(commandRoute(id), CommandRoute::Simulation) << id;
        EXPECT_FALSE(shellCommandEnabled(id, simulation())) << id;
    }
    // Reset of the tree list window stays its own; the macro commands do not belong to that window.
    EXPECT_EQ(treeListCommandRoute(kReset), CommandRoute::TreeList);
    EXPECT_EQ(treeListCommandRoute(kInitializeAndProject), CommandRoute::Simulation);
    EXPECT_EQ(treeListCommandRoute(kRecordMacro), CommandRoute::Simulation);
}

TEST(CommandRouteTest, BarsAreCheckedWhileShown) {
    ShellState state;
    state.toolbarVisible = false;
    EXPECT_EQ(shellCommandChecked(kViewToolbar, state), false);
    EXPECT_EQ(shellCommandChecked(kViewStatusBar, state), true);
    EXPECT_EQ(shellCommandChecked(kFileNew, state), std::nullopt);
}

} // namespace
} // namespace grovex
