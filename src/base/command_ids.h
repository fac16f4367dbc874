#pragma once
// The command ids of the whole application, in one table: menus, tool bars, accelerator keys and status
// bar panes name their commands by these numbers, and the numbers are also stored in settings and read
// by every window. Each number is declared here once; never change one.
//
// Some ids serve more than one window with the window's own meaning: the movement keys (kLineDown to
// kExtendRight) move in the results view and in the tree list grid, and the file and edit commands act on
// whichever window is active.

namespace grovex::cmd {

// File
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFileSaveAll = 32809;
inline constexpr int kFilePrintSetup = 57606;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kRecentFile1 = 57616; // the recent-file list uses kRecentFile1 .. kRecentFile1 + 7
inline constexpr int kRecentFileCount = 8;
inline constexpr int kAppExit = 57665;

// Edit
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditSelectAll = 57642;
inline constexpr int kEditUndo = 57643;

// Help
inline constexpr int kAppAbout = 57664;
inline constexpr int kHelpTopics = 57667;
inline constexpr int kContextHelp = 57669;
inline constexpr int kHelp = 57670;
inline constexpr int kDefaultHelp = 57671;

// Window and bars
inline constexpr int kWindowNew = 57648;
inline constexpr int kWindowArrange = 57649;
inline constexpr int kWindowCascade = 57650;
inline constexpr int kWindowTile = 57651;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;

// Status bar panes
inline constexpr int kIndicatorCaps = 59137;
inline constexpr int kIndicatorNum = 59138;
inline constexpr int kIndicatorModified = 59142;

// Results view display
inline constexpr int kIncreaseFontSize = 32776;
inline constexpr int kDecreaseFontSize = 32777;
inline constexpr int kViewAllTables = 32815;
inline constexpr int kShowHideTreeList = 32807;
inline constexpr int kToolbarTreeList = 32772;
inline constexpr int kStandValue = 32840; // the Stand Value window of the active simulation
inline constexpr int kViewCharts = 32841; // the stand development charts pane

// Export of the active simulation
inline constexpr int kFileExportTables = 32842;
inline constexpr int kFileExportChart = 32843;

// Projection, reset, tree list and macro commands of a simulation
inline constexpr int kInitializeAndProject = 32771;
inline constexpr int kMidrotationAndProject = 32810;
inline constexpr int kProjectToNextTarget = 32805;
inline constexpr int kInitializeKey = 32816;  // Ctrl+I, forwards to kInitializeAndProject
inline constexpr int kMidrotationKey = 32781; // Ctrl+G, forwards to kMidrotationAndProject
inline constexpr int kNextTargetKey = 32806;  // Ctrl+Shift+G, forwards to kProjectToNextTarget
inline constexpr int kReset = 32808;
inline constexpr int kResetKey = 32811; // Ctrl+R
inline constexpr int kChangeSimulationTreeList = 32814;
inline constexpr int kRecordMacro = 32778;
inline constexpr int kPlayMacro = 32779;
inline constexpr int kStopMacro = 32780;
inline constexpr int kStepMacro = 32802;
inline constexpr int kSaveMacro = 32803;
inline constexpr int kOpenMacro = 32804;

// Tree list grid: rows, and its editing keys
inline constexpr int kInsertRow = 32796;
inline constexpr int kDeleteSelectedRows = 32797;
inline constexpr int kGridEnter = 32774;
inline constexpr int kGridTab = 32798;
inline constexpr int kGridBackTab = 32799; // Shift+Tab

// Movement keys of the results view and the tree list grid
inline constexpr int kLineDown = 32782;    // Down: scroll 5 pixels down
inline constexpr int kLineUp = 32791;      // Up: scroll 5 pixels up
inline constexpr int kPageDown = 32795;    // Page Down
inline constexpr int kPageUp = 32794;      // Page Up
inline constexpr int kScrollLeft = 32800;  // Left: scroll 5 pixels left
inline constexpr int kScrollRight = 32801; // Right: scroll 5 pixels right
inline constexpr int kCtrlLeft = 32785;    // Ctrl+Left: scroll 5 pixels right
inline constexpr int kCtrlRight = 32788;   // Ctrl+Right: scroll 5 pixels left
inline constexpr int kCellDown = 32784;    // Ctrl+Shift+Down: the current cell one row down
inline constexpr int kCellUp = 32793;      // Ctrl+Shift+Up
inline constexpr int kCellLeft = 32787;    // Ctrl+Shift+Left: the previous cell
inline constexpr int kCellRight = 32790;   // Ctrl+Shift+Right: the next cell
inline constexpr int kExtendDown = 32783;  // Shift+Down: the block's end one row down
inline constexpr int kExtendUp = 32792;    // Shift+Up
inline constexpr int kExtendLeft = 32786;  // Shift+Left
inline constexpr int kExtendRight = 32789; // Shift+Right

} // namespace grovex::cmd
