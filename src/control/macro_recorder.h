#pragma once
// The Macro menu of one results view: Record, Stop, Play, Step, Save and Open over the application's one
// macro store, the macro failure handling that the projection routine and the section replay call, and
// the input source that records the input groups while the view records and replays them while it plays
// or steps.

#include "base/command_ids.h"
#include "base/platform/ui.h"
#include "control/macro_store.h"
#include "control/projection.h"
#include "results/document.h"

#include <functional>
#include <optional>
#include <string>

namespace grovex {

inline constexpr const char* kPlayStateFileName = "prj_mac_temp_grovex.bin";

inline constexpr const char* kRecordingInOtherViewMessage =
    "There is a macro recording in a different view.  Please stop the macro in the other view first.";
inline constexpr const char* kPlayWhileOtherRecordsMessage =
    "A macro is being recorded in a different view, so no macro can be played or stepped.  Please stop the "
    "macro in the other view first.";
inline constexpr const char* kOpenWhileRecordingMessage =
    "A macro is being recorded, so no other macro can be opened.  Please stop the recording first.";
inline constexpr const char* kSaveBeforeOverwriteQuestion = "Save the current macro before overwriting?";
inline constexpr const char* kSaveFailedContinueRecordQuestion = "Unable to save current macro.  Continue record?";
inline constexpr const char* kSaveFailedOpenAbortedMessage = "Unable to save current macro.  Open macro aborted.";
inline constexpr const char* kPlaySaveConditionsFailedMessage =
    "Could not save the current conditions.  If the macro fails, this view's data will be lost.\n\nPress OK to "
    "continue.\nPress Cancel to abort macro run";
inline constexpr const char* kMacroNeedsInitializedViewMessage =
    "This macro requires an initialized view.  Please Project first.";
inline constexpr const char* kMacroCouldNotCompleteMessage = "The macro could not complete";
inline constexpr const char* kMacroSteppingResetMessage =
    "The macro could not complete. Macro stepping has been reset to the beginning";
inline constexpr const char* kMacroFinishedMessage =
    "The macro has finished.  Stepping has been reset to the beginning. ";
inline constexpr const char* kMacroSaveFailedMessage = "Unable to save the macro to ";

// The macro of one results view. The projection routine reaches it as its MacroHooks; the view's
// projection command (the routine itself) is supplied with setProjection once the routine exists.
class MacroRecorder : public MacroHooks {
public:
    // `playStateFile` holds the document while a Play runs; `macroDirectory` is where the macro file dialogs
    // start. `repaint` (optional) redraws the view after a rolled-back play.
    MacroRecorder(MacroStore& store, CGROVEXDoc& doc, Ui& ui, StateFile& playStateFile, std::string macroDirectory = {},
                  std::function<void()> repaint = {});
    // A view closed while it records stops its recording, as Stop does.
    ~MacroRecorder() override;
    MacroRecorder(const MacroRecorder&) = delete;
    MacroRecorder& operator=(const MacroRecorder&) = delete;

    // The file system macro files are saved through (the real one unless a test gives its own, which must
    // outlive the recorder).
    void setFileSystem(FileSystem& fileSystem) { fileSystem_ = &fileSystem; }
    void setProjection(std::function<void()> project) { project_ = std::move(project); }

    bool isEnabled(int commandId) const;
    // Runs a command by id; false for an id it does not know.
    bool execute(int commandId);

    void record();
    void stop();
    void play();
    void step();
    void save();
    void open();

    // The macro failure handling; `storeFull` adds the rewind to the last complete command and its message.
    void failure(bool storeFull = false);

    // MacroHooks
    bool recording() const override { return recording_; }
    void appendMarker(std::string_view marker) override;
    void rewindToPreviousCommand() override;
    void commandFailed() override { failure(); }
    bool busy() const override { return recording_ || playing_ || stepping_; }

    // Appends entries while recording; a full store runs the failure handling and throws MacroAbandon.
    void recordEntries(const std::vector<MacroEntry>& entries);
    // Playing or stepping, and not recording: the input groups replay their sections.
    bool replaying() const { return (playing_ || stepping_) && !recording_; }
    int& position() { return position_; }

    bool playing() const { return playing_; }
    bool stepping() const { return stepping_; }
    bool failed() const { return failed_; }
    int macroPosition() const { return position_; }
    MacroStore& store() { return store_; }
    CGROVEXDoc& document() { return doc_; }
    Ui& ui() { return ui_; }

private:
    bool otherViewRecords() const { return store_.recordingActive() && !recording_; }
    FileDialogRequest dialogRequest() const;
    // Asks whether to save the current macro first; answers false when a save was wanted and failed.
    bool offerSave(bool& saveFailed);
    // Runs the entry at the current position, as Play and Step do; false when the macro needs an
    // initialized view and this one has no tables.
    bool runEntry();

    MacroStore& store_;
    CGROVEXDoc& doc_;
    Ui& ui_;
    StateFile& playStateFile_;
    FileSystem* fileSystem_ = &systemFileSystem();
    std::string macroDirectory_;
    std::function<void()> repaint_;
    std::function<void()> project_;
    bool recording_ = false;
    bool playing_ = false;
    bool stepping_ = false;
    int position_ = 0;
    bool failed_ = false;
};

// The view's input groups with the macro around them: while recording, the sections ("start Input1" ...
// "end Input1", "start Input2" ... "end Input2") are appended around what `inner` answers; while playing or
// stepping, the section at the play position is replayed into the model and the view instead of asking, and
// the routine is told that these inputs are already applied.
class MacroInputSource : public InputSource {
public:
    MacroInputSource(MacroRecorder& recorder, InputSource& inner) : recorder_(recorder), inner_(inner) {}

    std::optional<Input1> input1(CGROVEXDoc& doc) override;
    std::optional<Input2Values> input2(CGROVEXDoc& doc) override;
    const TreeList* simulationTreeList() override { return inner_.simulationTreeList(); }
    bool inputsApplied() const override { return replayed_; }

private:
    void replay(CGROVEXDoc& doc, std::string_view startMarker, std::string_view endMarker);

    MacroRecorder& recorder_;
    InputSource& inner_;
    bool replayed_ = false;
};

// The inputs of a played macro where nobody can be asked (the command line, a batch run): every input group
// comes from the macro, and its EXTRACTLIST takes the given tree list.
class MacroOnlyInputs : public InputSource {
public:
    explicit MacroOnlyInputs(const TreeList* list) : list_(list) {}
    std::optional<Input1> input1(CGROVEXDoc&) override { return std::nullopt; }
    std::optional<Input2Values> input2(CGROVEXDoc&) override { return std::nullopt; }
    const TreeList* simulationTreeList() override { return list_; }

private:
    const TreeList* list_;
};

} // namespace grovex
