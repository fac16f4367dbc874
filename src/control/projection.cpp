#include "control/projection.h"

#include "base/c_format.h"
#include "base/path_text.h"
#include "control/command_abandoned.h"
#include "control/extract.h"
#include "control/input2_apply.h"
#include "results/document_file.h"
#include "results/view.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace grovex {

void ViewHooksFor::clearSelection() {
    view_.ClearSelection(false);
}

void ViewHooksFor::refresh() {
    view_.LayoutTables();
    view_.ScrollToNewest();
}

void ViewHooksFor::resetViewState() {
    view_.ResetViewState();
}

namespace {

// The calls of another file system, without the flush to the disk.
class UnflushedFileSystem : public FileSystem {
public:
    explicit UnflushedFileSystem(FileSystem& inner) : inner_(inner) {}
    int open(const char* path, int flags, mode_t mode) override { return inner_.open(path, flags, mode); }
    ssize_t write(int fd, const void* data, size_t size) override { return inner_.write(fd, data, size); }
    int fsync(int) override { return 0; }
    int close(int fd) override { return inner_.close(fd); }
    int rename(const char* from, const char* to) override { return inner_.rename(from, to); }
    int unlink(const char* path) override { return inner_.unlink(path); }

private:
    FileSystem& inner_;
};

} // namespace

bool StateFile::save(CGROVEXDoc& doc) {
    return write(storeDocument(doc));
}

bool StateFile::write(const std::vector<uint8_t>& bytes) {
    UnflushedFileSystem fileSystem(fileSystem_ != nullptr ? *fileSystem_ : systemFileSystem());
    return static_cast<bool>(writeFileAtomically(path_, bytes, fileSystem));
}

std::optional<std::vector<uint8_t>> StateFile::read() {
    FileContent content = readFile(path_, kDocumentFileCap);
    if (!content.ok()) {
        return std::nullopt;
    }
    return std::move(content.bytes);
}

void StateFile::remove() {
    std::error_code ignored;
    std::filesystem::remove(pathOf(path_), ignored);
}

std::string temporaryStateDirectory(const std::string& appDirectory) {
    if (!appDirectory.empty() && isWritableFolder(appDirectory)) {
        return appDirectory;
    }
    std::error_code error;
    std::string temp = textOf(std::filesystem::temp_directory_path(error));
    if (error || temp.empty()) {
        return appDirectory;
    }
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    if (temp.back() != separator) {
        temp += separator;
    }
    return temp;
}

ProjectionCommands::ProjectionCommands(CGROVEXDoc& doc, Ui& ui, InputSource& inputs, StateFile& stateFile,
                                       MacroHooks* macro, ResultsViewHooks* view)
    : doc_(doc), ui_(ui), inputs_(inputs), stateFile_(stateFile), macro_(macro), view_(view) {}

bool ProjectionCommands::isEnabled(int commandId) const {
    switch (commandId) {
    case cmd::kInitializeAndProject:
    case cmd::kInitializeKey:
    case cmd::kResetKey:
    case cmd::kFileSaveAll:
    case cmd::kChangeSimulationTreeList:
        return true;
    case cmd::kMidrotationAndProject:
    case cmd::kMidrotationKey:
        return !doc_.run.needsInit;
    case cmd::kProjectToNextTarget:
    case cmd::kNextTargetKey:
        return doc_.model.lastTable() >= 0 && !(doc_.model.age > 25 && doc_.model.pcrit != kCriterionAge);
    case cmd::kReset:
        return macro_ == nullptr || !macro_->busy();
    default:
        return false;
    }
}

bool ProjectionCommands::execute(int commandId) {
    switch (commandId) {
    case cmd::kInitializeAndProject:
    case cmd::kInitializeKey:
        initializeAndProject();
        return true;
    case cmd::kMidrotationAndProject:
    case cmd::kMidrotationKey:
        if (isEnabled(cmd::kMidrotationAndProject)) {
            treatAndProject();
        }
        return true;
    case cmd::kProjectToNextTarget:
    case cmd::kNextTargetKey:
        if (isEnabled(cmd::kProjectToNextTarget)) {
            projectToNextTarget();
        }
        return true;
    case cmd::kReset:
    case cmd::kResetKey:
        reset();
        return true;
    default:
        return false;
    }
}

void ProjectionCommands::initializeAndProject() {
    RunState& run = doc_.run;
    if (!run.needsInit) {
        if (ui_.message(kTerminateRunQuestion, Buttons::YesNo, Icon::Question) != Answer::Yes) {
            return;
        }
        run = RunState{};
    }
    project();
}

void ProjectionCommands::treatAndProject() {
    project();
}

void ProjectionCommands::projectToNextTarget() {
    doc_.run.nextTargetMode = true;
    project();
    doc_.run.nextTargetMode = false;
}

void ProjectionCommands::project() {
    const bool modifiedBefore = doc_.isModified();
    const int oldLastTable = doc_.model.lastTable();
    const bool saved = stateFile_.save(doc_);
    if (!saved && ui_.message(kSaveConditionsFailedMessage, Buttons::OkCancel) == Answer::Cancel) {
        doc_.setModified(modifiedBefore);
        return;
    }
    runGuarded(oldLastTable, modifiedBefore, saved);
    stateFile_.remove();
    if (recording()) {
        try {
            macro_->appendMarker("ProjectEnd");
        } catch (const CommandAbandoned&) {
            return; // the macro's limit handling has run; the projection stays, nothing is redrawn
        }
    }
    if (view_ != nullptr) {
        view_->refresh();
    }
}

void ProjectionCommands::restore(bool modifiedBefore, bool saved) {
    std::optional<std::vector<uint8_t>> bytes;
    if (saved) {
        bytes = stateFile_.read();
    }
    if (!bytes || loadDocument(doc_, *bytes, YearlyValues::Required) != DocumentLoad::Ok) {
        ui_.message(kRestoreFailedMessage);
    }
    doc_.setModified(modifiedBefore);
}

void ProjectionCommands::runGuarded(int oldLastTable, bool modifiedBefore, bool saved) {
    GrowthModel& model = doc_.model;
    RunState& run = doc_.run;
    // The title is not part of the saved state; a rolled-back command must not change it either.
    const std::string standTitle = doc_.display.standTitle;
    const auto rollBack = [&] {
        restore(modifiedBefore, saved);
        doc_.display.standTitle = standTitle;
    };
    try {
        if (run.needsInit) {
            if (recording()) {
                macro_->appendMarker("ProjectInit");
            }
            model.ResetModel();
            clearYearly();
            run.bab = run.baa = 0;
            const std::optional<Input1> input = inputs_.input1(doc_);
            if (!input) {
                rollBack();
                if (recording()) {
                    macro_->rewindToPreviousCommand();
                }
                return;
            }
            run.needsInit = false;
            if (!inputs_.inputsApplied()) {
                WriteInput1(model, *input);
                doc_.display.standTitle = model.title;
                if (input->qexist && input->qlist) {
                    Extract(model, run, inputs_.simulationTreeList(), ui_);
                }
            }
            if (!StartRun(model)) {
                throw std::runtime_error("no diameter distribution fits the stand");
            }
            run.maxAge = model.nyears;
            run.targetReached = false;
        } else {
            model.GrowOneYear();
            ++model.age;
            // The treatment inputs and their bounds describe this year's stand.
            model.StandStats();
            // The stand before a treatment; the projection records it again after the treatment.
            if (recordsYearly_) {
                doc_.yearly.record(model);
            }
        }
        if (recording()) {
            macro_->appendMarker("Project");
        }
        if (model.age > run.maxAge) {
            rollBack();
            if (recording()) {
                ui_.message(kMaximumAgeRecordingMessage);
                macro_->rewindToPreviousCommand();
            } else {
                ui_.message(kMaximumAgeMessage);
            }
            return;
        }
        if (run.targetReached) {
            PrepareInput2(model);
            if (run.nextTargetMode) {
                // No dialog: the step is recorded as a treatment section holding only "next".
                if (recording()) {
                    macro_->appendMarker("start Input2");
                    macro_->appendMarker("next");
                }
                ApplyNextTarget(model);
                if (recording()) {
                    macro_->appendMarker("end Input2");
                }
            } else {
                const std::optional<Input2Values> values = inputs_.input2(doc_);
                if (!values) {
                    rollBack();
                    if (recording()) {
                        macro_->rewindToPreviousCommand();
                    }
                    return;
                }
                if (!inputs_.inputsApplied()) {
                    ApplyInput2(model, run, *values);
                }
            }
        }
        if (recordsYearly_) {
            RecordingScope yearly(model, doc_.yearly);
            run.targetReached = model.ProjectToTarget();
        } else {
            run.targetReached = model.ProjectToTarget();
        }
        if (view_ != nullptr) {
            view_->clearSelection();
        }
        doc_.setModified(true);
        run.needsInit = false;
        UpdateShownRange(doc_.display, oldLastTable, model.lastTable());
    } catch (...) {
        ui_.message(kOperationFailedMessage);
        if (macro_ != nullptr) {
            macro_->commandFailed();
        }
        rollBack();
    }
}

void ProjectionCommands::reset() {
    if (macro_ != nullptr && macro_->busy()) {
        return;
    }
    if (doc_.isModified()) {
        const Answer answer =
            ui_.message(cformat(kSaveBeforeResetQuestion, doc_.title().c_str()), Buttons::YesNoCancel, Icon::Question);
        if (answer == Answer::Cancel) {
            return;
        }
        if (answer == Answer::Yes) {
            if (save_) {
                save_(doc_);
            }
            if (doc_.isModified()) {
                return;
            }
        }
    }
    doc_.run.needsInit = true;
    doc_.setModified(true);
    doc_.model.tables.clear();
    clearYearly();
    doc_.run.bab = doc_.run.baa = 0;
    doc_.run.targetReached = false;
    doc_.run.maxAge = 0;
    doc_.run.nextTargetMode = false;
    if (view_ != nullptr) {
        view_->resetViewState();
    }
}

void ProjectionCommands::clearYearly() {
    doc_.yearly.clear();
    doc_.yearlyUnread = false;
}

void SaveAll(const std::vector<CGROVEXDoc*>& documents, const ProjectionCommands::SaveAction& save) {
    for (CGROVEXDoc* doc : documents) {
        if (doc != nullptr && save) {
            save(*doc);
        }
    }
}

} // namespace grovex
