// Speed of the results view at the 100-table limit: laying out every table, and drawing one screen
// (a 1200 by 900 clip box scrolled to the bottom) onto a canvas that only counts the calls.
// Goal: one screen drawn within 16 ms.

#include "model/input1.h"
#include "results/view.h"
#include "support/fake_canvas.h"
#include "support/fake_clipboard.h"
#include "support/fake_settings.h"
#include "support/recording_ui.h"

#include <benchmark/benchmark.h>

namespace {

using namespace grovex;

class CountingCanvas : public Canvas {
public:
    explicit CountingCanvas(Rect clip) : clip_(clip) {}
    Size textExtent(std::string_view text) const override { return fakes::FixedPitchMetrics().textExtent(font_, text); }
    void setFont(const LogFont& font) override { font_ = font; }
    void setWindowOrigin(Point) override {}
    Rect clipBox() const override { return clip_; }
    void clipTo(const Rect&) override {}
    void removeClip() override {}
    void setTextColor(Color) override {}
    void setBackgroundColor(Color) override {}
    void setBackgroundMode(BackgroundMode) override {}
    void drawText(std::string_view text, const Rect&, TextAlign) override { count(text.size()); }
    void textOut(Point, std::string_view text) override { count(text.size()); }
    void fillSolidRect(const Rect&, Color) override { count(0); }
    void drawRaisedEdge(const Rect&) override { count(0); }
    void moveTo(Point) override { count(0); }
    void lineTo(Point) override { count(0); }
    long calls = 0;
    long characters = 0;

private:
    void count(size_t characterCount) {
        ++calls;
        characters += static_cast<long>(characterCount);
    }
    Rect clip_;
    LogFont font_;
};

// The default plantation's table at age 25 (11 rows), or that table with class rows repeated up to the most a
// table can hold (41 rows), copied into all 100 slots.
struct FullDocument {
    explicit FullDocument(int rowsPerTable) {
        Input1 input;
        input.target = 25;
        WriteInput1(doc.model, input);
        StartRun(doc.model);
        doc.model.ProjectToTarget();
        ResultTable table = doc.model.tables.back();
        while (static_cast<int>(table.rows.size()) < rowsPerTable) {
            table.rows.insert(table.rows.begin(), table.rows.front());
        }
        doc.model.tables.assign(kMaxTables, table);
        view.OnInitialUpdate();
        view.setClientSize({1200, 900});
    }
    CGROVEXDoc doc;
    fakes::FixedPitchMetrics metrics;
    fakes::FakeSettings settings;
    fakes::RecordingUi ui;
    fakes::FakeClipboard clipboard;
    CGROVEXView view{doc, metrics, settings, ui, clipboard, "/nonexistent/"};
};

void BM_LayoutTables100(benchmark::State& state) {
    FullDocument full(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        full.view.LayoutTables();
        benchmark::DoNotOptimize(full.doc.model.tables.back().tableBottom);
    }
    state.counters["rows_per_table"] = static_cast<double>(full.doc.model.tables.back().rows.size());
}
BENCHMARK(BM_LayoutTables100)->Arg(0)->Arg(41)->Unit(benchmark::kMicrosecond);

void BM_DrawScreenAtBottom(benchmark::State& state) {
    FullDocument full(static_cast<int>(state.range(0)));
    const int bottom = full.view.scrollSize().height;
    CountingCanvas canvas({0, bottom - 900, 1200, bottom});
    for (auto _ : state) {
        full.view.OnDraw(canvas);
    }
    state.counters["calls_per_screen"] = static_cast<double>(canvas.calls) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DrawScreenAtBottom)->Arg(0)->Arg(41)->Unit(benchmark::kMicrosecond);

} // namespace
