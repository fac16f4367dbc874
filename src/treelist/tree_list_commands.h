#pragma once
// The file commands of the tree list window, free of any widget: Open (load a ".dat" file into the grid),
// Save, Save As, the question before the window closes, Reset, the window's part of Save All, which commands
// are enabled, and the text of the "Modified" pane. Dialogs and messages go through Ui, so every flow can be
// driven by a test.

#include "base/command_ids.h"
#include "base/file_io.h"

#include <optional>
#include <string>

namespace grovex {

class Ui;
class treeListDoc;
class treeListView;

inline constexpr const char* kModifiedPaneText = "Modified";
inline constexpr const char* kUnmodifiedPaneText = "        "; // eight blanks

class TreeListCommands {
public:
    // `appDirectory` (ending with the path separator) is where the window's first file dialog starts. Every
    // reference must outlive the commands.
    TreeListCommands(treeListDoc& doc, treeListView& view, Ui& ui, std::string appDirectory);

    // The window's commands: Open, Save, Save As, Reset; any other id goes to the grid. False when neither
    // knows the id. Save All, Print, Print Preview, Close and Show or Hide belong to the window and the
    // application; they are only enabled here.
    bool isEnabled(int commandId) const;
    bool execute(int commandId);

    // Open: the Open dialog, then the chosen file read into the grid. The document takes the file's name and
    // path whatever the outcome of the read, and is not modified. False when the dialog was cancelled.
    bool load();
    // Reads `path` into the grid as Open does after its dialog.
    void loadFile(const std::string& path);
    // Save: Save As for an "Untitled" document, else a write to the document's file.
    void save();
    // Save As: the Save dialog, then a write to the chosen file. False when the dialog was cancelled.
    bool saveAs();
    // Writes the grid to `path`. Nothing happens without a list. On success the document takes the file's
    // name and path and is no longer modified; a refused or failed write (its message shown) leaves the
    // document as it was, still modified. True when the file was written.
    bool write(const std::string& path);

    // Before the window or the application closes: "Save the Tree List before closing?" for a modified
    // document. Yes shows the Save dialog and writes to the chosen file; the window then closes whether the
    // dialog was confirmed or cancelled, unless the write failed. False (Cancel, or a failed write, its
    // message shown) keeps the window open.
    bool queryClose();
    // Reset: "Save <title> before resetting?" for a modified document (Cancel, or a Save that leaves it
    // modified, stops), then the grid is cleared and the document marked modified.
    void reset();
    // The window's part of Save All: Save, when there is a list to save.
    void saveForSaveAll();

    // "Modified" while the document is modified, else eight blanks.
    std::string modifiedPaneText() const;

    // The file system tree list files are saved through (the real one unless a test gives its own, which
    // must outlive the commands).
    void setFileSystem(FileSystem& fileSystem) { fileSystem_ = &fileSystem; }

private:
    // Asks whether to save a modified list first (Yes / No / Cancel); false when the caller must stop.
    bool offerToSave(const char* promptFormat);
    std::optional<std::string> askFileName(bool save);

    treeListDoc& doc_;
    treeListView& view_;
    Ui& ui_;
    std::string appDirectory_;
    // The first dialog starts in the application directory, later ones in the folder chosen last.
    bool initialDirectoryUsed_ = false;
    std::string lastDirectory_;
    FileSystem* fileSystem_ = &systemFileSystem();
};

} // namespace grovex
