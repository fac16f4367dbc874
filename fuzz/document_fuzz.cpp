// Simulation document files: any bytes are either refused or give a document that saves back to bytes
// that load again to the same document, and that the results view can lay out and draw.

#include "results/document_file.h"
#include "results/font_record.h"
#include "results/view.h"
#include "scratch_directory.h"
#include "support/fake_canvas.h"
#include "support/fake_clipboard.h"
#include "support/fake_settings.h"
#include "support/recording_ui.h"

#include <cstdlib>
#include <filesystem>

using namespace grovex;

namespace {

// The view reads its font record from the application directory; an empty one keeps the default font.
const std::string& emptyAppDirectory() {
    static const std::string directory = [] {
        const std::string path = fuzz::scratchDirectory("grovex_document_fuzz");
        std::filesystem::remove(path + kFontRecordName);
        return path;
    }();
    return directory;
}

void showInView(CGROVEXDoc& doc) {
    fakes::FixedPitchMetrics metrics;
    fakes::FakeSettings settings;
    fakes::RecordingUi ui;
    fakes::FakeClipboard clipboard;
    CGROVEXView view(doc, metrics, settings, ui, clipboard, emptyAppDirectory());
    view.setClientSize({800, 600});
    view.OnInitialUpdate();
    fakes::FakeCanvas canvas;
    view.OnDraw(canvas);
    view.execute(cmd::kEditSelectAll);
    view.execute(cmd::kEditCopy);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CGROVEXDoc doc;
    if (loadDocument(doc, {data, size}) != DocumentLoad::Ok) {
        return 0;
    }
    const std::vector<uint8_t> saved = storeDocument(doc);
    CGROVEXDoc reloaded;
    if (loadDocument(reloaded, saved) != DocumentLoad::Ok || storeDocument(reloaded) != saved) {
        std::abort(); // a document the program wrote itself must read back unchanged
    }
    rebuildTableKinds(doc.model);
    showInView(doc);
    return 0;
}
