#include "app/commands.h"

#include <array>
#include <utility>

namespace grovex::appcmd {
namespace {

using namespace cmd;

using Entry = std::pair<int, std::string_view>;

constexpr auto kStrings = std::to_array<Entry>({
    {kFileNew, "Create a new document\nNew"},
    {kFileOpen, "Open an existing document\nOpen"},
    {kFileClose, "Close the active document\nClose"},
    {kFileSave, "Save the active document\nSave"},
    {kFileSaveAs, "Save the active document with a new name\nSave As"},
    {kFileSaveAll, "Save all open windows\nSave all"},
    {kFilePrintSetup, "Change the printer and printing options\nPrint Setup"},
    {kFilePrint, "Print the active document\nPrint"},
    {kFilePrintPreview, "Display full pages\nPrint Preview"},
    {kRecentFile1 + 0, "Open this document"},
    {kRecentFile1 + 1, "Open this document"},
    {kRecentFile1 + 2, "Open this document"},
    {kRecentFile1 + 3, "Open this document"},
    {kRecentFile1 + 4, "Open this document"},
    {kRecentFile1 + 5, "Open this document"},
    {kRecentFile1 + 6, "Open this document"},
    {kRecentFile1 + 7, "Open this document"},
    {kViewCharts, "Show or hide the stand development charts of the active simulation\nCharts"},
    {kFileExportTables, "Write the tables of the active simulation as CSV or JSON\nExport Tables"},
    {kFileExportChart, "Write the chart as a PNG, SVG or PDF file\nExport Chart"},
    {kAppExit, "Quit the application; prompts to save documents\nExit"},
    {kEditCopy, "Copy the selection and put it on the Clipboard\nCopy"},
    {kEditCut, "Cut the selection and put it on the Clipboard\nCut"},
    {kEditPaste, "Insert Clipboard contents\nPaste"},
    {kEditSelectAll, "Select the entire document\nSelect All"},
    {kEditUndo, "Undo the last action\nUndo"},
    {kAppAbout, "Display program information, version number and copyright\nAbout"},
    {kHelpTopics, "Open the GROVEX user manual\nHelp Topics"},
    {kContextHelp, "Open the GROVEX user manual\nHelp"},
    {kHelp, "Open the GROVEX user manual\nHelp"},
    {kDefaultHelp, "Open the GROVEX user manual\nHelp"},
    {kWindowNew, "Open another window for the active document\nNew Window"},
    {kWindowArrange, "Arrange icons at the bottom of the window\nArrange Icons"},
    {kWindowCascade, "Arrange windows so they overlap\nCascade Windows"},
    {kWindowTile, "Arrange windows as non-overlapping tiles\nTile Windows"},
    {kNextPane, "Switch to the next window pane\nNext Pane"},
    {kPrevPane, "Switch back to the previous window pane\nPrevious Pane"},
    {kViewToolbar, "Show or hide the toolbar\nToggle ToolBar"},
    {kViewStatusBar, "Show or hide the status bar\nToggle StatusBar"},
    {kIncreaseFontSize, "Make the text of the tables larger\nIncrease Font Size"},
    {kDecreaseFontSize, "Make the text of the tables smaller\nDecrease Font Size"},
    {kViewAllTables, "Show all tables of the simulation or only those of the latest command\nView All Tables"},
    {kShowHideTreeList, "Show or hide the tree list window\nShow or Hide Tree List"},
    {kToolbarTreeList, "Show or hide the tree list window\nTree List"},
    {kStandValue, "Show the cash flows, NPV, LEV and IRR of the active simulation's run\nStand Value"},
    {kInitializeAndProject, "Describe a stand and project it to its output target\nInitialize and Project (ctrl I)"},
    {kMidrotationAndProject,
     "Apply a midrotation treatment and project to a new target\nMidrotation Treatment and Project (ctrl G)"},
    {kProjectToNextTarget, "Project the stand one step further to its target\nProject to next target (shift ctrl G)"},
    {kInitializeKey, "Describe a stand and project it to its output target\nInitialize and Project"},
    {kMidrotationKey, "Apply a midrotation treatment and project to a new target\nMidrotation Treatment and Project"},
    {kNextTargetKey, "Project the stand one step further to its target\nProject to next target"},
    {kReset, "Reset the current view\nReset (ctrl R)"},
    {kResetKey, "Reset the current view\nReset"},
    {kChangeSimulationTreeList,
     "Change the tree list that the simulation takes its trees from\nChange Current Simulation Tree List"},
    {kRecordMacro, "Record the following projection commands as a macro\nRecord Macro"},
    {kPlayMacro, "Play the current macro on this simulation\nPlay Macro"},
    {kStopMacro, "Stop recording, playing or stepping the macro\nStop Macro"},
    {kStepMacro, "Play the next command of the current macro\nStep Macro"},
    {kSaveMacro, "Save the current macro to a file\nSave Macro"},
    {kOpenMacro, "Open a macro file\nOpen Macro"},
    {kInsertRow, "Insert blank rows below the selection\nInsert Row"},
    {kDeleteSelectedRows, "Delete the selected rows of the tree list\nDelete Selected Rows"},
    {kGridEnter, "Edit the current cell\nEdit"},
    {kGridTab, "Move to the next cell and edit it\nNext Cell"},
    {kGridBackTab, "Move to the previous cell and edit it\nPrevious Cell"},
    {kLineDown, "Scroll down one line\nLine Down"},
    {kLineUp, "Scroll up one line\nLine Up"},
    {kPageDown, "Scroll down one page\nPage Down"},
    {kPageUp, "Scroll up one page\nPage Up"},
    {kScrollLeft, "Scroll left\nScroll Left"},
    {kScrollRight, "Scroll right\nScroll Right"},
    {kCtrlLeft, "Scroll right\nScroll Right"},
    {kCtrlRight, "Scroll left\nScroll Left"},
    {kCellDown, "Move the current cell one row down\nCell Down"},
    {kCellUp, "Move the current cell one row up\nCell Up"},
    {kCellLeft, "Move the current cell one column left\nCell Left"},
    {kCellRight, "Move the current cell one column right\nCell Right"},
    {kExtendDown, "Extend the selection one row down\nExtend Down"},
    {kExtendUp, "Extend the selection one row up\nExtend Up"},
    {kExtendLeft, "Extend the selection one column left\nExtend Left"},
    {kExtendRight, "Extend the selection one column right\nExtend Right"},
});

} // namespace

std::string_view commandString(int id) {
    for (const Entry& entry : kStrings) {
        if (entry.first == id) {
            return entry.second;
        }
    }
    return {};
}

std::string_view statusPrompt(int id) {
    const std::string_view text = commandString(id);
    return text.substr(0, text.find('\n'));
}

std::string_view toolTip(int id) {
    const std::string_view text = commandString(id);
    const size_t newline = text.find('\n');
    return newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
}

} // namespace grovex::appcmd
