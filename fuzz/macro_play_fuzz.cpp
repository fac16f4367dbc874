// Playing a damaged or hand-edited macro: any macro that reads (as text or as file bytes) plays on a new
// simulation to its end or stops with a message, and the simulation it leaves saves and reloads unchanged.

#include "control/macro_inputs.h"
#include "control/macro_recorder.h"
#include "control/macro_store.h"
#include "control/macro_text.h"
#include "control/projection.h"
#include "results/document_file.h"
#include "scratch_directory.h"
#include "support/recording_ui.h"

#include <cstdlib>
#include <string_view>

using namespace grovex;

namespace {

bool readMacro(std::span<const uint8_t> bytes, MacroStore& store) {
    std::vector<MacroEntry> entries;
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (parseMacroText(text, entries, error)) {
        return store.loadBytes(macroFileBytes(entries));
    }
    return store.loadBytes(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MacroStore store;
    if (!readMacro({data, size}, store) || store.empty()) {
        return 0;
    }
    static const std::string folder = fuzz::scratchDirectory("grovex_macro_play_fuzz");
    CGROVEXDoc doc;
    fakes::RecordingUi ui;
    doc.model.setUi(&ui);
    StateFile stateFile(folder + kTemporaryStateFileName);
    StateFile playFile(folder + kPlayStateFileName);
    MacroOnlyInputs given(nullptr); // no dialogs and no tree list: every input comes from the macro
    MacroRecorder recorder(store, doc, ui, playFile);
    MacroInputSource inputs(recorder, given);
    ProjectionCommands commands(doc, ui, inputs, stateFile, &recorder);
    recorder.setProjection([&commands] { commands.project(); });
    recorder.play();

    const std::vector<uint8_t> saved = storeDocument(doc);
    CGROVEXDoc reloaded;
    if (loadDocument(reloaded, saved) != DocumentLoad::Ok || storeDocument(reloaded) != saved) {
        std::abort();
    }
    return 0;
}
