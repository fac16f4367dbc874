#include "cli/play_command.h"

#include "cli/output_formats.h"
#include "cli/project_run.h"
#include "cli/stream_ui.h"
#include "control/macro_recorder.h"
#include "control/macro_store.h"
#include "control/macro_text.h"
#include "control/projection.h"
#include "results/document_file.h"
#include "treelist/tree_list_file.h"

#include <set>
#include <string_view>
#include <vector>

namespace grovex::cli {

namespace {
constexpr int kMaxRepeat = 1000000; // plays of one macro in one run
} // namespace

CLI::App* addPlayCommand(CLI::App& app, PlayOptions& options) {
    CLI::App* cmd = app.add_subcommand("play", "Play a macro on a new simulation and write its tables.");
    cmd->add_option("macro", options.macro, "Macro file (.gmc) or its text form")->required()->type_name("MACRO");
    cmd->add_option("--repeat", options.repeat,
                    "Play the macro N times in a row on the same simulation, as pressing Play again would, for "
                    "runs longer than the 400 entries a macro holds (default 1)")
        ->check(CLI::Range(1, kMaxRepeat))
        ->type_name("N");
    cmd->add_option("--treelist", options.treeList, "Simulation tree list taken by the macro's EXTRACTLIST")
        ->type_name("FILE.dat");
    cmd->add_option("--save", options.save, "Also save the played simulation")->type_name("OUT.gvx");
    addFormatOption(cmd, options.format);
    cmd->footer(
        "Plays stop at the first that fails, and then nothing is written. A message repeated by later "
        "commands is shown once.\nExit status: 0 success, 1 the macro could not complete, 2 a file could not be read.");
    return cmd;
}

namespace {

// Messages on the error stream, each text once: a long play past the table store's limit would otherwise
// repeat the same warning for every command.
class OnceEachUi : public Ui {
public:
    explicit OnceEachUi(Ui& inner) : inner_(inner) {}
    Answer message(std::string_view text, Buttons buttons, Icon icon, std::string_view caption) override {
        if (shown_.insert(std::string(text)).second) {
            return inner_.message(text, buttons, icon, caption);
        }
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }
    std::optional<std::string> openFileName(const FileDialogRequest& request) override {
        return inner_.openFileName(request);
    }
    std::optional<std::string> saveFileName(const FileDialogRequest& request) override {
        return inner_.saveFileName(request);
    }

private:
    Ui& inner_;
    std::set<std::string> shown_;
};

bool readMacro(const std::string& path, MacroStore& store, std::string& error) {
    std::vector<MacroEntry> entries;
    return readMacroEntries(path, entries, error) && store.loadBytes(macroFileBytes(entries));
}

} // namespace

std::unique_ptr<CGROVEXDoc> playStand(const PlayOptions& options, StandObserver* observer, std::ostream& err,
                                      int& status) {
    StreamUi stream(err);
    OnceEachUi ui(stream);
    MacroStore store;
    std::string error;
    status = kExitBadInput;
    if (!readMacro(options.macro, store, error)) {
        err << error << '\n';
        return nullptr;
    }
    if (store.empty()) {
        err << "The macro is empty; there is nothing to play.\n";
        return nullptr;
    }
    TreeList list;
    if (options.treeList) {
        readTreeListFile(*options.treeList, list, ui);
        if (!list.loaded) {
            return nullptr;
        }
    }

    auto doc = std::make_unique<CGROVEXDoc>();
    doc->setTitle("GROVEX1");
    doc->model.setUi(&ui);
    doc->model.setObserver(observer);
    ScratchFolder scratch;
    const std::string folder = temporaryStateDirectory(scratch.path());
    StateFile stateFile(folder + kTemporaryStateFileName);
    StateFile playFile(folder + kPlayStateFileName);
    MacroOnlyInputs given(options.treeList ? &list : nullptr);
    MacroRecorder recorder(store, *doc, ui, playFile);
    MacroInputSource inputs(recorder, given);
    ProjectionCommands commands(*doc, ui, inputs, stateFile, &recorder);
    recorder.setProjection([&commands] { commands.project(); });

    for (int play = 0; play < options.repeat && !recorder.failed(); ++play) {
        recorder.play();
    }
    doc->model.setUi(nullptr);
    status = kExitRunFailed;
    if (recorder.failed() || doc->model.lastTable() < 0) {
        if (!recorder.failed()) {
            err << "The macro made no tables.\n";
        }
        return nullptr;
    }
    status = kExitSuccess;
    return doc;
}

int runPlay(const PlayOptions& options, std::ostream& out, std::ostream& err) {
    int status = kExitSuccess;
    const std::unique_ptr<CGROVEXDoc> doc = playStand(options, nullptr, err, status);
    return doc ? writeSimulation(*doc, options.save, options.format, out, err) : status;
}

} // namespace grovex::cli
