#include "control/macro_recorder.h"

#include "control/extract.h"
#include "control/input2_apply.h"
#include "control/macro_inputs.h"
#include "results/document_file.h"

namespace grovex {

MacroRecorder::MacroRecorder(MacroStore& store, CGROVEXDoc& doc, Ui& ui, StateFile& playStateFile,
                             std::string macroDirectory, std::function<void()> repaint)
    : store_(store), doc_(doc), ui_(ui), playStateFile_(playStateFile), macroDirectory_(std::move(macroDirectory)),
      repaint_(std::move(repaint)) {}

MacroRecorder::~MacroRecorder() {
    if (recording_) {
        stop();
    }
}

bool MacroRecorder::isEnabled(int commandId) const {
    const bool hasMacro = !store_.empty();
    switch (commandId) {
    case cmd::kRecordMacro:
        return !recording_ && !playing_ && !stepping_;
    case cmd::kPlayMacro:
        return hasMacro && !recording_ && !stepping_;
    case cmd::kStopMacro:
        return recording_ || playing_ || stepping_;
    case cmd::kStepMacro:
        return hasMacro && !recording_ && !playing_;
    case cmd::kSaveMacro:
        return hasMacro && store_.unsaved();
    case cmd::kOpenMacro:
        return true;
    default:
        return false;
    }
}

bool MacroRecorder::execute(int commandId) {
    if (commandId == cmd::kOpenMacro) {
        open();
        return true;
    }
    if (commandId != cmd::kRecordMacro && commandId != cmd::kPlayMacro && commandId != cmd::kStopMacro &&
        commandId != cmd::kStepMacro && commandId != cmd::kSaveMacro) {
        return false;
    }
    if (!isEnabled(commandId)) {
        return true;
    }
    switch (commandId) {
    case cmd::kRecordMacro:
        record();
        break;
    case cmd::kPlayMacro:
        play();
        break;
    case cmd::kStopMacro:
        stop();
        break;
    case cmd::kStepMacro:
        step();
        break;
    default:
        save();
        break;
    }
    return true;
}

FileDialogRequest MacroRecorder::dialogRequest() const {
    FileDialogRequest request;
    request.filter = kMacroFilter;
    request.defaultExtension = kMacroExtension;
    request.startDirectory = macroDirectory_;
    request.overwritePrompt = true;
    return request;
}

bool MacroRecorder::offerSave(bool& saveFailed) {
    saveFailed = false;
    if (!store_.unsaved() || store_.empty()) {
        return true;
    }
    if (ui_.message(kSaveBeforeOverwriteQuestion, Buttons::YesNo, Icon::Question) != Answer::Yes) {
        return true;
    }
    if (const std::optional<std::string> path = ui_.saveFileName(dialogRequest())) {
        saveFailed = !store_.save(*path, *fileSystem_);
    }
    return !saveFailed;
}

void MacroRecorder::record() {
    if (store_.recordingActive()) {
        ui_.message(kRecordingInOtherViewMessage);
        return;
    }
    bool saveFailed = false;
    if (!offerSave(saveFailed) &&
        ui_.message(kSaveFailedContinueRecordQuestion, Buttons::YesNo, Icon::Question) != Answer::Yes) {
        return;
    }
    store_.clear();
    position_ = -1;
    recording_ = true;
    store_.setRecordingActive(true);
}

void MacroRecorder::stop() {
    if (recording_) {
        store_.setUnsaved(true);
        store_.setRecordingActive(false);
    }
    recording_ = playing_ = stepping_ = false;
    position_ = store_.lastIndex() + 1;
}

bool MacroRecorder::runEntry() {
    const std::string& key = store_.entry(position_).key;
    if (key == "ProjectInit") {
        doc_.run.targetReached = false;
        doc_.run.maxAge = 0;
        doc_.run.needsInit = true;
        if (project_) {
            project_();
        }
    } else if (key == "Project") {
        if (doc_.model.lastTable() == -1 && position_ == 0) {
            ui_.message(kMacroNeedsInitializedViewMessage);
            return false;
        }
        if (project_) {
            project_();
        }
    } else if (key != "ProjectEnd") {
        failure();
    }
    return true;
}

void MacroRecorder::play() {
    if (otherViewRecords()) {
        ui_.message(kPlayWhileOtherRecordsMessage);
        return;
    }
    playing_ = true;
    recording_ = stepping_ = failed_ = false;
    const bool modifiedBefore = doc_.isModified();
    const std::string standTitle = doc_.display.standTitle; // not part of the saved state
    const bool saved = playStateFile_.save(doc_);
    if (saved) {
        doc_.setModified(false);
    } else if (ui_.message(kPlaySaveConditionsFailedMessage, Buttons::OkCancel) == Answer::Cancel) {
        playing_ = false;
        return;
    }
    for (position_ = 0; position_ <= store_.lastIndex(); ++position_) {
        if (!runEntry()) {
            failed_ = true;
            break;
        }
    }
    playing_ = false;
    if (failed_) {
        std::optional<std::vector<uint8_t>> bytes;
        if (saved) {
            bytes = playStateFile_.read();
        }
        if (!bytes || loadDocument(doc_, *bytes, YearlyValues::Required) != DocumentLoad::Ok) {
            ui_.message(kRestoreFailedMessage);
        }
        doc_.display.standTitle = standTitle;
        doc_.setModified(modifiedBefore);
        if (repaint_) {
            repaint_();
        }
    } else {
        doc_.setModified(true);
    }
    playStateFile_.remove();
}

void MacroRecorder::step() {
    if (otherViewRecords()) {
        ui_.message(kPlayWhileOtherRecordsMessage);
        return;
    }
    if (!stepping_) {
        position_ = -1;
        stepping_ = true;
    }
    ++position_;
    if (position_ <= store_.lastIndex()) {
        if (!runEntry()) {
            position_ = store_.lastIndex() + 1;
            stepping_ = false;
            return;
        }
    }
    if (!stepping_) {
        return; // the failure handling ran and has reset stepping
    }
    if (position_ < store_.lastIndex()) {
        return;
    }
    stepping_ = false;
    ui_.message(kMacroFinishedMessage);
}

void MacroRecorder::save() {
    if (const std::optional<std::string> path = ui_.saveFileName(dialogRequest())) {
        if (const IoStatus status = store_.save(*path, *fileSystem_); !status) {
            ui_.message(status.message().empty() ? kMacroSaveFailedMessage + *path : status.message(), Buttons::Ok,
                        Icon::Error);
            return;
        }
    }
    store_.setUnsaved(false);
}

void MacroRecorder::open() {
    if (store_.recordingActive()) {
        ui_.message(kOpenWhileRecordingMessage);
        return;
    }
    bool saveFailed = false;
    if (!offerSave(saveFailed)) {
        ui_.message(kSaveFailedOpenAbortedMessage);
        return;
    }
    if (const std::optional<std::string> path = ui_.openFileName(dialogRequest())) {
        if (const IoStatus status = store_.open(*path); !status) {
            store_.clear();
            ui_.message(status.message());
            return;
        }
    }
    store_.setUnsaved(false);
}

void MacroRecorder::failure(bool storeFull) {
    if (storeFull) {
        store_.rewindToLastProjectEnd();
        ui_.message(kMacroStoreFullMessage);
    }
    if (recording_) {
        store_.setUnsaved(true);
    }
    if (playing_ || recording_) {
        ui_.message(kMacroCouldNotCompleteMessage);
        position_ = store_.lastIndex() + 1;
        if (recording_) {
            store_.setRecordingActive(false);
        }
        playing_ = recording_ = false;
        failed_ = true;
    }
    if (stepping_) {
        position_ = store_.lastIndex() + 1;
        stepping_ = false;
        ui_.message(kMacroSteppingResetMessage);
    }
}

void MacroRecorder::appendMarker(std::string_view marker) {
    recordEntries({MacroEntry::marker(marker)});
}

void MacroRecorder::recordEntries(const std::vector<MacroEntry>& entries) {
    try {
        grovex::recordEntries(store_, entries);
    } catch (const MacroAbandon& abandon) {
        if (abandon.cause() == MacroAbandon::Cause::StoreFull) {
            failure(true);
        }
        throw;
    }
}

void MacroRecorder::rewindToPreviousCommand() {
    if (!store_.rewindToPreviousCommand()) {
        playing_ = recording_ = stepping_ = false;
        store_.setRecordingActive(false);
    }
}

void MacroInputSource::replay(CGROVEXDoc& doc, std::string_view startMarker, std::string_view endMarker) {
    ReplayHooks hooks;
    hooks.macroFailure = [this] { recorder_.failure(); };
    hooks.extractTreeList = [this, &doc] {
        try {
            Extract(doc.model, doc.run, inner_.simulationTreeList(), recorder_.ui());
        } catch (const CommandAbandoned&) {
            return false;
        }
        return true;
    };
    hooks.nextTarget = [&doc] { ApplyNextTarget(doc.model); };
    hooks.ui = &recorder_.ui();
    ReplaySection(recorder_.store(), recorder_.position(), startMarker, endMarker,
                  {doc.model, doc.run, doc.display.standTitle}, hooks);
    replayed_ = true;
}

std::optional<Input1> MacroInputSource::input1(CGROVEXDoc& doc) {
    replayed_ = false;
    if (recorder_.replaying()) {
        replay(doc, kStartInput1, kEndInput1);
        doc.model.setTitle(doc.display.standTitle);
        return Input1{};
    }
    const bool recording = recorder_.recording();
    if (recording) {
        recorder_.appendMarker(kStartInput1);
    }
    std::optional<Input1> input = inner_.input1(doc);
    if (recording) {
        std::vector<MacroEntry> entries;
        if (input) {
            GrowthModel written = doc.model;
            WriteInput1(written, *input);
            entries = Input1Entries(*input, written);
        }
        entries.push_back(MacroEntry::marker(kEndInput1));
        recorder_.recordEntries(entries);
    }
    return input;
}

std::optional<Input2Values> MacroInputSource::input2(CGROVEXDoc& doc) {
    replayed_ = false;
    if (recorder_.replaying()) {
        replay(doc, kStartInput2, kEndInput2);
        return Input2Values{};
    }
    const bool recording = recorder_.recording();
    if (recording) {
        recorder_.appendMarker(kStartInput2);
    }
    std::optional<Input2Values> values = inner_.input2(doc);
    if (recording) {
        std::vector<MacroEntry> entries;
        if (values) {
            entries = Input2Entries(*values, doc.model);
        }
        entries.push_back(MacroEntry::marker(kEndInput2));
        recorder_.recordEntries(entries);
    }
    return values;
}

} // namespace grovex
