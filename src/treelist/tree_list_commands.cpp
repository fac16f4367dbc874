#include "treelist/tree_list_commands.h"

#include "base/c_format.h"
#include "base/platform/ui.h"
#include "treelist/tree_list_document.h"
#include "treelist/tree_list_file.h"
#include "treelist/tree_list_view.h"

namespace grovex {

using namespace cmd;

TreeListCommands::TreeListCommands(treeListDoc& doc, treeListView& view, Ui& ui, std::string appDirectory)
    : doc_(doc), view_(view), ui_(ui), appDirectory_(std::move(appDirectory)) {}

bool TreeListCommands::isEnabled(int commandId) const {
    switch (commandId) {
    case kFileOpen:
    case kFileClose:
    case kFileSaveAll:
    case kReset:
    case kResetKey:
    case kShowHideTreeList:
    case kIndicatorModified:
        return true;
    case kFileSave:
    case kFileSaveAs:
    case kFilePrint:
    case kFilePrintPreview:
        return view_.loaded();
    default:
        return view_.isEnabled(commandId);
    }
}

bool TreeListCommands::execute(int commandId) {
    switch (commandId) {
    case kFileOpen:
        load();
        return true;
    case kFileSave:
        save();
        return true;
    case kFileSaveAs:
        saveAs();
        return true;
    case kReset:
    case kResetKey:
        reset();
        return true;
    default:
        return view_.execute(commandId);
    }
}

std::optional<std::string> TreeListCommands::askFileName(bool save) {
    FileDialogRequest request;
    request.filter = kTreeListFileFilter;
    request.defaultExtension = kTreeListDefaultExtension;
    request.overwritePrompt = save;
    if (save && !doc_.isUntitled()) {
        request.fileName = doc_.path();
    }
    if (!initialDirectoryUsed_) {
        initialDirectoryUsed_ = true;
        request.startDirectory = appDirectory_;
    } else {
        request.startDirectory = lastDirectory_;
    }
    std::optional<std::string> path = save ? ui_.saveFileName(request) : ui_.openFileName(request);
    if (path) {
        const size_t separator = path->find_last_of("\\/");
        lastDirectory_ = separator == std::string::npos ? std::string() : path->substr(0, separator + 1);
    }
    return path;
}

bool TreeListCommands::load() {
    // Reading a file replaces the grid: edits not yet saved are offered for saving first.
    if (view_.loaded() && !offerToSave("Save %s before opening another tree list?")) {
        return false;
    }
    const std::optional<std::string> path = askFileName(false);
    if (!path) {
        return false;
    }
    loadFile(*path);
    return true;
}

void TreeListCommands::loadFile(const std::string& path) {
    // The reader keeps the header fields it does not reach, so it starts from what the grid holds.
    TreeList list = view_.treeList();
    readTreeListFile(path, list, ui_);
    view_.setTreeList(list);
    doc_.setFile(path);
    doc_.setModified(false);
}

void TreeListCommands::save() {
    if (doc_.isUntitled()) {
        saveAs();
    } else {
        write(doc_.path());
    }
}

bool TreeListCommands::saveAs() {
    const std::optional<std::string> path = askFileName(true);
    if (!path) {
        return false;
    }
    write(*path);
    return true;
}

bool TreeListCommands::write(const std::string& path) {
    if (!view_.loaded()) {
        return false;
    }
    if (!writeTreeListFile(path, view_.treeList(), ui_, *fileSystem_)) {
        return false;
    }
    doc_.setFile(path);
    doc_.setModified(false);
    return true;
}

bool TreeListCommands::queryClose() {
    if (!doc_.isModified()) {
        return true;
    }
    switch (ui_.message("Save the Tree List before closing?", Buttons::YesNoCancel, Icon::Question)) {
    case Answer::Yes:
        if (const std::optional<std::string> path = askFileName(true)) {
            // A list that could not be written stays open rather than be lost with its window.
            return !view_.loaded() || write(*path);
        }
        return true;
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void TreeListCommands::reset() {
    if (!offerToSave("Save %s before resetting?")) {
        return;
    }
    view_.resetGrid();
    doc_.setModified(true);
}

bool TreeListCommands::offerToSave(const char* promptFormat) {
    if (!doc_.isModified()) {
        return true;
    }
    switch (ui_.message(cformat(promptFormat, doc_.title().c_str()), Buttons::YesNoCancel, Icon::Question)) {
    case Answer::Yes:
        save();
        return !doc_.isModified(); // a cancelled or failed save keeps the list
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void TreeListCommands::saveForSaveAll() {
    if (view_.loaded()) {
        save();
    }
}

std::string TreeListCommands::modifiedPaneText() const {
    return doc_.isModified() ? kModifiedPaneText : kUnmodifiedPaneText;
}

} // namespace grovex
