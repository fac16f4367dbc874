#include "app/command_rules.h"

#include "app/commands.h"
#include "results/view.h"

namespace grovex {

using namespace appcmd;
using namespace cmd;

namespace {

bool isRecentFile(int id) {
    return id >= kRecentFile1 && id < kRecentFile1 + kRecentFileCount;
}

bool isViewKey(int id) {
    switch (id) {
    case cmd::kLineDown:
    case cmd::kLineUp:
    case cmd::kPageDown:
    case cmd::kPageUp:
    case cmd::kScrollLeft:
    case cmd::kScrollRight:
    case cmd::kCtrlLeft:
    case cmd::kCtrlRight:
    case cmd::kCellDown:
    case cmd::kCellUp:
    case cmd::kCellLeft:
    case cmd::kCellRight:
    case cmd::kExtendDown:
    case cmd::kExtendUp:
    case cmd::kExtendLeft:
    case cmd::kExtendRight:
        return true;
    default:
        return false;
    }
}

} // namespace

CommandRoute commandRoute(int id) {
    if (isRecentFile(id)) {
        return CommandRoute::Application;
    }
    if (isViewKey(id)) {
        return CommandRoute::View;
    }
    switch (id) {
    case kFileNew:
    case kFileOpen:
    case kFilePrintSetup:
    case kAppAbout:
    case kHelpTopics:
    case kHelp:
    case kContextHelp:
    case kDefaultHelp:
    case kShowHideTreeList:
    case kToolbarTreeList:
        return CommandRoute::Application;
    case kAppExit:
    case kViewToolbar:
    case kViewStatusBar:
    case kWindowNew:
    case kWindowCascade:
    case kWindowTile:
    case kWindowArrange:
    case kFileSaveAll:
    case kStandValue:
    case kViewCharts:
    case kFileExportTables:
    case kFileExportChart:
        return CommandRoute::MainFrame;
    case kFileClose:
    case kFileSave:
    case kFileSaveAs:
        return CommandRoute::Document;
    case kEditCopy:
    case kEditSelectAll:
    case kIncreaseFontSize:
    case kDecreaseFontSize:
    case kViewAllTables:
    case kFilePrint:
    case kFilePrintPreview:
        return CommandRoute::View;
    case kInitializeAndProject:
    case kInitializeKey:
    case kMidrotationAndProject:
    case kMidrotationKey:
    case kProjectToNextTarget:
    case kNextTargetKey:
    case kReset:
    case kResetKey:
    case kChangeSimulationTreeList:
    case kRecordMacro:
    case kPlayMacro:
    case kStopMacro:
    case kStepMacro:
    case kSaveMacro:
    case kOpenMacro:
        return CommandRoute::Simulation;
    default:
        // Editing and the grid and pane keys: no simulation window handles them.
        return CommandRoute::AlwaysDisabled;
    }
}

CommandRoute treeListCommandRoute(int id) {
    if (isViewKey(id)) {
        return CommandRoute::TreeList;
    }
    switch (id) {
    case kFileOpen:
    case kFileClose:
    case kFileSave:
    case kFileSaveAs:
    case kFilePrint:
    case kFilePrintPreview:
    case kEditCut:
    case kEditCopy:
    case kEditPaste:
    case kEditSelectAll:
    case kInsertRow:
    case kDeleteSelectedRows:
    case kReset:
    case kResetKey:
    case kGridEnter:
    case kGridTab:
    case kGridBackTab:
        return CommandRoute::TreeList;
    default:
        return commandRoute(id);
    }
}

bool shellCommandEnabled(int id, const ShellState& state) {
    if (isRecentFile(id)) {
        return id - kRecentFile1 < state.recentFileCount;
    }
    switch (commandRoute(id)) {
    case CommandRoute::Application:
        return true;
    case CommandRoute::MainFrame:
        if (id == kWindowNew || id == kStandValue) {
            return state.simulationActive;
        }
        if (id == kFileExportTables || id == kFileExportChart) {
            return state.simulationActive;
        }
        if (id == kWindowCascade || id == kWindowTile || id == kWindowArrange) {
            return state.childWindowOpen;
        }
        return true;
    case CommandRoute::Document:
        return state.simulationActive;
    case CommandRoute::View:
    case CommandRoute::TreeList:
    case CommandRoute::Simulation:
    case CommandRoute::AlwaysDisabled:
        return false;
    }
    return false;
}

std::optional<bool> shellCommandChecked(int id, const ShellState& state) {
    if (id == kViewToolbar) {
        return state.toolbarVisible;
    }
    if (id == kViewStatusBar) {
        return state.statusBarVisible;
    }
    if (id == kViewCharts) {
        return state.chartsVisible;
    }
    return std::nullopt;
}

} // namespace grovex
