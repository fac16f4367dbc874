#include "cli/play_command.h"

#include "base/file_io.h"
#include "cli/output_formats.h"
#include "cli/project_run.h"
#include "cli/stream_ui.h"
#include "control/macro_recorder.h"
#include "control/macro_store.h"
#include "control/macro_text.h"
#include "control/projection.h"
#include "results/document_file.h"
#include "treelist/tree_list_file.h"

#include <filesystem>
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

// No dialogs on the command line: every input comes from the macro.
class MacroOnlyInputs : public InputSource {
public:
    explicit MacroOnlyInputs(const TreeList* list) : list_(list) {}
    std::optional<Input1> input1(CGROVEXDoc&) override { return std::nullopt; }
    std::optional<Input2Values> input2(CGROVEXDoc&) override { return std::nullopt; }
    const TreeList* simulationTreeList() override { return list_; }

private:
    const TreeList* list_;
};

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

static_assert(kLargestMacroTextFile > kLargestMacroFile);

// A ".gmc" file, or the text form: by the ".gmc" extension, otherwise by whether the bytes read as a macro
// file. A file of another name may be as large as the larger of the two, the text form. `error` tells why
// nothing was read.
bool readMacro(const std::string& path, MacroStore& store, std::string& error) {
    const bool binaryName = std::filesystem::path(path).extension() == kMacroExtension;
    const FileContent content = readFile(path, binaryName ? kMacroFileCap : kMacroTextFileCap);
    if (!content.ok()) {
        error = macroOpenFailure(path, content.reason);
        return false;
    }
    std::vector<MacroEntry> entries;
    if (parseMacroFile(content.bytes, entries)) {
        return store.loadBytes(content.bytes);
    }
    if (binaryName) {
        error = macroOpenFailure(path);
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size());
    std::string textError;
    if (!parseMacroText(text, entries, textError)) {
        error = path + ": " + textError;
        return false;
    }
    return store.loadBytes(macroFileBytes(entries));
}

} // namespace

int runPlay(const PlayOptions& options, std::ostream& out, std::ostream& err) {
    StreamUi stream(err);
    OnceEachUi ui(stream);
    MacroStore store;
    std::string error;
    if (!readMacro(options.macro, store, error)) {
        err << error << '\n';
        return kExitBadInput;
    }
    if (store.empty()) {
        err << "The macro is empty; there is nothing to play.\n";
        return kExitBadInput;
    }
    TreeList list;
    if (options.treeList) {
        readTreeListFile(*options.treeList, list, ui);
        if (!list.loaded) {
            return kExitBadInput;
        }
    }

    CGROVEXDoc doc;
    doc.setTitle("GROVEX1");
    doc.model.setUi(&ui);
    ScratchFolder scratch;
    const std::string folder = temporaryStateDirectory(scratch.path());
    StateFile stateFile(folder + kTemporaryStateFileName);
    StateFile playFile(folder + kPlayStateFileName);
    MacroOnlyInputs given(options.treeList ? &list : nullptr);
    MacroRecorder recorder(store, doc, ui, playFile);
    MacroInputSource inputs(recorder, given);
    ProjectionCommands commands(doc, ui, inputs, stateFile, &recorder);
    recorder.setProjection([&commands] { commands.project(); });

    for (int play = 0; play < options.repeat && !recorder.failed(); ++play) {
        recorder.play();
    }
    if (recorder.failed() || doc.model.lastTable() < 0) {
        if (!recorder.failed()) {
            err << "The macro made no tables.\n";
        }
        return kExitRunFailed;
    }
    writeTables(out, options.format, doc.model, doc.run.targetReached);
    out.flush();
    if (!out) {
        return kExitRunFailed;
    }
    if (options.save) {
        if (const IoStatus saved = saveDocument(doc, *options.save); !saved) {
            err << saved.message() << '\n';
            return kExitRunFailed;
        }
    }
    return kExitSuccess;
}

} // namespace grovex::cli
