#pragma once
// The projection commands of a results view ("Initialize and Project", "Midrotation Treatment and Project",
// "Project to next target"), the one routine they share with its save-and-rollback around every command,
// and the view's "Reset". GUI-free: the inputs, the macro and the results view are reached through the small
// interfaces below, which each front end implements.

#include "base/command_ids.h"
#include "base/file_io.h"
#include "base/platform/ui.h"
#include "model/input1.h"
#include "model/input2.h"
#include "results/document.h"
#include "treelist/tree_list.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace grovex {

class CGROVEXView;

inline constexpr const char* kTemporaryStateFileName = "project_temp_grovex.bin";

inline constexpr const char* kTerminateRunQuestion = "Do you want to terminate the current run?";
inline constexpr const char* kSaveConditionsFailedMessage =
    "Could not save the current conditions.  If the projection is unattainable, this view's data might be "
    "lost.\n\nPress OK to continue.\nPress Cancel to abort.";
inline constexpr const char* kRestoreFailedMessage =
    "Could not return to previous conditions. The Data in this view may now be unreliable.";
inline constexpr const char* kMaximumAgeMessage = "The age has reached its maximum value.";
inline constexpr const char* kMaximumAgeRecordingMessage =
    "The age has reached its maximum value.  This macro step will not be recorded";
inline constexpr const char* kOperationFailedMessage =
    "The operation could not be completed.\nReturning to previous conditions.";
inline constexpr const char* kSaveBeforeResetQuestion = "Save %s before resetting?";

// Where a command's inputs come from: the dialogs on the desktop, given values on the command line, the
// macro during replay. Nothing answers a cancelled input. A source may throw CommandAbandoned (after showing
// why) to abandon the command.
class InputSource {
public:
    virtual ~InputSource() = default;
    // The stand-initialization group for `doc` (the source keeps whatever the pages should remember).
    virtual std::optional<Input1> input1(CGROVEXDoc& doc) = 0;
    // The treatment group for `doc`; asked only when the last projection met its target, and never in
    // next-target mode (the routine itself records that step's "start Input2", "next", "end Input2"). A
    // recording source records its own sections ("start Input1" ... "end Input1" and so on).
    virtual std::optional<Input2Values> input2(CGROVEXDoc& doc) = 0;
    // The application's simulation tree list, taken into the model for an existing stand with a tree list;
    // null when there is none.
    virtual const TreeList* simulationTreeList() { return nullptr; }
    // True when the group last answered was already written into the model and the run (a macro replay):
    // the routine then neither writes nor extracts it again.
    virtual bool inputsApplied() const { return false; }
};

// The macro as the projection routine sees it; no hooks = no macro. appendMarker runs the store's limit
// handling itself when the store is full and then throws CommandAbandoned.
class MacroHooks {
public:
    virtual ~MacroHooks() = default;
    virtual bool recording() const = 0;
    virtual void appendMarker(std::string_view marker) = 0;
    // A cancelled or refused command leaves nothing in the macro.
    virtual void rewindToPreviousCommand() = 0;
    // The macro's own failure handling after a failed command (stops recording, playing or stepping).
    virtual void commandFailed() = 0;
    // Reset is refused while the view records, plays or steps.
    virtual bool busy() const { return recording(); }
};

// What the routine asks of the results view.
class ResultsViewHooks {
public:
    virtual ~ResultsViewHooks() = default;
    virtual void clearSelection() = 0;
    // LayoutTables, repaint the whole view, ScrollToNewest.
    virtual void refresh() = 0;
    // The view's part of Reset: no selection, select-all off, selection shown, no drag; repaint.
    virtual void resetViewState() = 0;
};

// The hooks of a CGROVEXView.
class ViewHooksFor : public ResultsViewHooks {
public:
    explicit ViewHooksFor(CGROVEXView& view) : view_(view) {}
    void clearSelection() override;
    void refresh() override;
    void resetViewState() override;

private:
    CGROVEXView& view_;
};

// The temporary state file: the document's bytes while a command runs. A write goes to a file beside it that
// is renamed into place only when complete, so a failed write never leaves a short file to be read back; the
// bytes are not flushed to the disk, since the file is of no use after a crash. `fileSystem` (the real one
// when null) must outlive the object.
class StateFile {
public:
    explicit StateFile(std::string path, FileSystem* fileSystem = nullptr)
        : path_(std::move(path)), fileSystem_(fileSystem) {}
    virtual ~StateFile() = default;
    const std::string& path() const { return path_; }
    // Keeps the document as it is now (its bytes, written as write does); false when that failed.
    virtual bool save(CGROVEXDoc& doc);
    virtual bool write(const std::vector<uint8_t>& bytes);
    virtual std::optional<std::vector<uint8_t>> read();
    virtual void remove();

private:
    std::string path_;
    FileSystem* fileSystem_;
};

// The folder of the temporary state files: the application directory (which ends with the separator) when a
// file can be created there, otherwise the system's temporary folder (with a separator at the end).
std::string temporaryStateDirectory(const std::string& appDirectory);

class ProjectionCommands {
public:
    ProjectionCommands(CGROVEXDoc& doc, Ui& ui, InputSource& inputs, StateFile& stateFile, MacroHooks* macro = nullptr,
                       ResultsViewHooks* view = nullptr);

    bool isEnabled(int commandId) const;
    // Runs a command by id (the accelerators forward to their commands); false for an id it does not know.
    bool execute(int commandId);

    void initializeAndProject();
    void treatAndProject();
    void projectToNextTarget();

    // Reset: asks "Save <title> before resetting?" when modified; Yes calls `save` (which answers whether the
    // document was saved) and stops when it is still modified. Does nothing while a macro is busy.
    using SaveAction = std::function<bool(CGROVEXDoc&)>;
    void setSaveAction(SaveAction save) { save_ = std::move(save); }
    void reset();

    // The projection routine itself.
    void project();

    // Whether projections record the document's yearly stand values (on unless turned off); a batch run or a
    // regime search, which never charts, saves their cost.
    void setRecordsYearly(bool records) { recordsYearly_ = records; }

private:
    void restore(bool modifiedBefore, bool saved);
    void runGuarded(int oldLastTable, bool modifiedBefore, bool saved);
    void clearYearly();
    bool recording() const { return macro_ != nullptr && macro_->recording(); }

    CGROVEXDoc& doc_;
    Ui& ui_;
    InputSource& inputs_;
    StateFile& stateFile_;
    MacroHooks* macro_;
    ResultsViewHooks* view_;
    SaveAction save_;
    bool recordsYearly_ = true;
};

// "Save all": `save` for every open document, one after the other (a refused save does not stop the loop).
void SaveAll(const std::vector<CGROVEXDoc*>& documents, const ProjectionCommands::SaveAction& save);

} // namespace grovex
