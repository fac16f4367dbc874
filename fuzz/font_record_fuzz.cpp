// The font record: any bytes in the record file either leave the default font or give a font that the
// results view can lay out, draw, print with and step in size, and that writes back to a record reading
// the same.

#include "results/font_record.h"
#include "results/view.h"
#include "scratch_directory.h"
#include "support/fake_canvas.h"
#include "support/fake_clipboard.h"
#include "support/fake_settings.h"
#include "support/recording_ui.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

using namespace grovex;

namespace {

bool sameFont(const LogFont& a, const LogFont& b) {
    return std::memcmp(encodeFontRecord(a).data(), encodeFontRecord(b).data(), kFontRecordSize) == 0;
}

const std::string& appDirectory() {
    static const std::string directory = fuzz::scratchDirectory("grovex_font_record_fuzz");
    return directory;
}

ResultTable oneTable() {
    ResultTable table;
    table.summary = "  Table 01\r\n  Inputs";
    table.headings = {"\nDBH\nClass",        "\nNumber\nTrees ",      "\nAverage\nHeight",    "\nBasal\nArea",
                      "Total\nVolume\no.b.", "Volume\no.b.\nTo 4.in", "Volume\ni.b.\nTo  6in"};
    table.rows = {{6.0f, 100.0f, 35.3f, 19.6f, 250.0f, 2.5f, 12.5f}, {0.0f, 100.0f, 0.0f, 19.6f, 250.0f, 2.5f, 12.5f}};
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<LogFont> font = decodeFontRecord({data, size});
    if (font) {
        const FontRecord record = encodeFontRecord(*font);
        const std::optional<LogFont> again = decodeFontRecord(record);
        if (!again || !sameFont(*again, *font)) {
            std::abort();
        }
    }
    {
        std::ofstream out(appDirectory() + kFontRecordName, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    CGROVEXDoc doc;
    doc.model.tables.push_back(oneTable());
    fakes::FixedPitchMetrics metrics;
    fakes::FakeSettings settings;
    fakes::RecordingUi ui;
    fakes::FakeClipboard clipboard;
    CGROVEXView view(doc, metrics, settings, ui, clipboard, appDirectory());
    view.setClientSize({800, 600});
    view.OnInitialUpdate();
    fakes::FakeCanvas canvas;
    view.OnDraw(canvas);
    view.OnBeginPrinting(metrics, 600, 96, {4800, 6000});
    view.execute(cmd::kIncreaseFontSize);
    view.execute(cmd::kDecreaseFontSize);
    view.OnDraw(canvas);
    return 0;
}
