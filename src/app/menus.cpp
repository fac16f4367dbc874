#include "app/menus.h"

#include "app/commands.h"
#include "results/view.h"

#include <algorithm>
#include <array>

namespace grovex {
namespace {

using namespace appcmd;
using namespace cmd;

MenuItem command(std::string_view text, int id) {
    return {MenuItem::Kind::Command, text, id};
}
MenuItem separator() {
    return {MenuItem::Kind::Separator, {}, 0};
}
MenuItem recentFiles() {
    return {MenuItem::Kind::RecentFiles, {}, kRecentFile1};
}

MenuPopup helpPopup() {
    return {"&Help", {command("&Help Topics", kHelpTopics), separator(), command("&About GROVEX...", kAppAbout)}};
}

MenuBar makeNoDocumentMenu() {
    return {
        {"&File",
         {command("&New\tCtrl+N", kFileNew), command("&Open...\tCtrl+O", kFileOpen), separator(),
          command("P&rint Setup...", kFilePrintSetup), separator(), recentFiles(), separator(),
          command("E&xit", kAppExit)}},
        {"&View", {command("&Toolbar", kViewToolbar), command("&Status Bar", kViewStatusBar)}},
        helpPopup(),
    };
}

MenuBar makeSimulationMenu() {
    return {
        {"&File",
         {command("&New\tCtrl+N", kFileNew), command("&Open...\tCtrl+O", kFileOpen), command("&Close", kFileClose),
          command("&Save\tCtrl+S", kFileSave), command("Save &As...", kFileSaveAs), command("Save A&ll", kFileSaveAll),
          separator(), command("Export &Tables...", kFileExportTables), command("Export C&hart...", kFileExportChart),
          separator(), command("&Print...\tCtrl+P", kFilePrint), command("Print Pre&view", kFilePrintPreview),
          command("P&rint Setup...", kFilePrintSetup), separator(), recentFiles(), separator(),
          command("E&xit", kAppExit)}},
        {"&Edit", {command("&Copy\tCtrl+C", kEditCopy), command("&Select All", kEditSelectAll)}},
        {"&Macro",
         {command("&Record Macro", kRecordMacro), command("&Play Macro", kPlayMacro),
          command("&Stop Macro", kStopMacro), command("St&ep Macro", kStepMacro), separator(),
          command("S&ave Macro", kSaveMacro), command("&Open Macro", kOpenMacro)}},
        {"&View",
         {command("&Toolbar", kViewToolbar), command("&Status Bar", kViewStatusBar), separator(),
          command("&Increase Font Size", kIncreaseFontSize), command("&Decrease Font Size", kDecreaseFontSize),
          separator(), command("Show or Hide Tree &List", kShowHideTreeList),
          command("View &All Tables", kViewAllTables), command("C&harts", kViewCharts), separator(),
          command("Stand &Value", kStandValue)}},
        {"&Window",
         {command("&New Window", kWindowNew), command("&Cascade", kWindowCascade), command("&Tile", kWindowTile),
          command("&Arrange Icons", kWindowArrange)}},
        helpPopup(),
    };
}

MenuBar makeTreeListMenu() {
    return {
        {"&File",
         {command("&Open...\tCtrl+O", kFileOpen), command("&Close", kFileClose), command("&Save\tCtrl+S", kFileSave),
          command("Save &As...", kFileSaveAs), command("Save A&ll", kFileSaveAll), separator(),
          command("&Print...\tCtrl+P", kFilePrint), command("Print Pre&view", kFilePrintPreview),
          command("P&rint Setup...", kFilePrintSetup), separator(), command("E&xit", kAppExit)}},
        {"&Edit",
         {command("Cu&t\tCtrl+X", kEditCut), command("&Copy\tCtrl+C", kEditCopy), command("&Paste\tCtrl+V", kEditPaste),
          command("&Select All", kEditSelectAll), separator(), command("&Insert Row", kInsertRow),
          command("&Delete Selected Rows", kDeleteSelectedRows)}},
        {"&View",
         {command("&Toolbar", kViewToolbar), command("&Status Bar", kViewStatusBar), separator(),
          command("Show or Hide Tree &List", kShowHideTreeList)}},
        {"&Window",
         {command("&Cascade", kWindowCascade), command("&Tile", kWindowTile),
          command("&Arrange Icons", kWindowArrange)}},
        helpPopup(),
    };
}

constexpr auto kToolbar = std::to_array<int>({
    kFileNew,
    kReset,
    kToolbarSeparator,
    kFileOpen,
    kFileSave,
    kFileSaveAll,
    kToolbarSeparator,
    kHelpTopics,
    kEditCopy,
    kToolbarSeparator,
    kFilePrint,
    kToolbarSeparator,
    kInitializeAndProject,
    kMidrotationAndProject,
    kToolbarSeparator,
    kProjectToNextTarget,
    kStandValue,
    kToolbarSeparator,
    kToolbarTreeList,
    kToolbarSeparator,
    kChangeSimulationTreeList,
    kToolbarSeparator,
    kRecordMacro,
    kPlayMacro,
    kStopMacro,
    kToolbarSeparator,
    kStepMacro,
    kToolbarSeparator,
    kViewCharts,
});

constexpr auto kAccelerators = std::to_array<Accelerator>({
    {"Ctrl+C", kEditCopy},
    {"Ctrl+X", kEditCut},
    {"Ctrl+V", kEditPaste},
    {"Ctrl+Z", kEditUndo},
    {"Alt+Backspace", kEditUndo},
    {"Ctrl+Ins", kEditCopy},
    {"Shift+Ins", kEditPaste},
    {"Shift+Del", kEditCut},
    {"Ctrl+N", kFileNew},
    {"Ctrl+O", kFileOpen},
    {"Ctrl+P", kFilePrint},
    {"Ctrl+S", kFileSave},
    {"Ctrl+G", kMidrotationKey},
    {"Ctrl+Shift+G", kNextTargetKey},
    {"Ctrl+I", kInitializeKey},
    {"Ctrl+R", kResetKey},
    {"F1", kHelp},
    {"Shift+F1", kContextHelp},
    {"F6", kNextPane},
    {"Shift+F6", kPrevPane},
    {"Return", kGridEnter},
    {"Tab", kGridTab},
    {"Shift+Tab", kGridBackTab},
    {"Down", cmd::kLineDown},
    {"Up", cmd::kLineUp},
    {"PgDown", cmd::kPageDown},
    {"PgUp", cmd::kPageUp},
    {"Left", cmd::kScrollLeft},
    {"Right", cmd::kScrollRight},
    {"Ctrl+Left", cmd::kCtrlLeft},
    {"Ctrl+Right", cmd::kCtrlRight},
    {"Ctrl+Shift+Down", cmd::kCellDown},
    {"Ctrl+Shift+Up", cmd::kCellUp},
    {"Ctrl+Shift+Left", cmd::kCellLeft},
    {"Ctrl+Shift+Right", cmd::kCellRight},
    {"Shift+Down", cmd::kExtendDown},
    {"Shift+Up", cmd::kExtendUp},
    {"Shift+Left", cmd::kExtendLeft},
    {"Shift+Right", cmd::kExtendRight},
});

} // namespace

const MenuBar& noDocumentMenu() {
    static const MenuBar menu = makeNoDocumentMenu();
    return menu;
}

const MenuBar& simulationMenu() {
    static const MenuBar menu = makeSimulationMenu();
    return menu;
}

const MenuBar& treeListMenu() {
    static const MenuBar menu = makeTreeListMenu();
    return menu;
}

std::span<const int> toolbarButtons() {
    return kToolbar;
}

std::span<const Accelerator> accelerators() {
    return kAccelerators;
}

std::vector<int> allCommandIds() {
    std::vector<int> ids;
    const auto add = [&ids](int id) {
        if (id != 0 && std::find(ids.begin(), ids.end(), id) == ids.end()) {
            ids.push_back(id);
        }
    };
    for (const MenuBar* bar : {&noDocumentMenu(), &simulationMenu(), &treeListMenu()}) {
        for (const MenuPopup& popup : *bar) {
            for (const MenuItem& item : popup.items) {
                if (item.kind == MenuItem::Kind::Command) {
                    add(item.id);
                }
            }
        }
    }
    for (const int id : toolbarButtons()) {
        add(id);
    }
    for (const Accelerator& accelerator : accelerators()) {
        add(accelerator.id);
    }
    return ids;
}

} // namespace grovex
