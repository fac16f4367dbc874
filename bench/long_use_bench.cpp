// Long use: the cost of one more step must not grow with how much was done before. Each benchmark sweeps
// the amount of work (projection commands, tables, macro entries, tree rows, played commands) and fits the
// total time; a fitted O(N) with a flat time per item is the goal. The font sweep must stay flat: a larger
// font draws fewer cells per screen.

#include "control/macro_recorder.h"
#include "control/macro_text.h"
#include "results/document_file.h"
#include "results/font_record.h"
#include "results/table_text.h"
#include "results/view.h"
#include "support/fake_canvas.h"
#include "support/fake_clipboard.h"
#include "support/fake_settings.h"
#include "support/recording_ui.h"
#include "treelist/tree_list_clipboard.h"
#include "treelist/tree_list_file.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {

using namespace grovex;
namespace fs = std::filesystem;

class Planting : public InputSource {
public:
    std::optional<Input1> input1(CGROVEXDoc&) override {
        Input1 input;
        input.nyears = 60;
        input.target = 15;
        return input;
    }
    std::optional<Input2Values> input2(CGROVEXDoc&) override { return std::nullopt; }
};

// A window with its projection routine and macro player; state files in a folder of its own.
struct Window {
    explicit Window(MacroStore& store)
        : dir(fs::temp_directory_path() / ("grovex_long_use_bench_" + std::to_string(getpid()))),
          stateFile(makeDir(dir) + kTemporaryStateFileName), playFile(dir.string() + "/" + kPlayStateFileName),
          recorder(store, doc, ui, playFile, dir.string()), source(recorder, inputs),
          commands(doc, ui, source, stateFile, &recorder) {
        doc.model.setUi(&ui);
        recorder.setProjection([this] { commands.project(); });
    }
    ~Window() { fs::remove_all(dir); }
    static std::string makeDir(const fs::path& path) {
        fs::create_directories(path);
        return path.string() + "/";
    }
    void initializeAndProject() {
        doc.run.needsInit = true;
        commands.initializeAndProject();
    }

    fs::path dir;
    CGROVEXDoc doc;
    fakes::RecordingUi ui;
    Planting inputs;
    StateFile stateFile;
    StateFile playFile;
    MacroRecorder recorder;
    MacroInputSource source;
    ProjectionCommands commands;
};

// N "Initialize and Project" commands on one window; past 100 the table store overwrites its last slot.
void BM_ProjectionCommands(benchmark::State& state) {
    const int commands = static_cast<int>(state.range(0));
    for (auto _ : state) {
        MacroStore store;
        Window window(store);
        for (int i = 0; i < commands; ++i) {
            window.initializeAndProject();
        }
        benchmark::DoNotOptimize(window.doc.model.lastTable());
    }
    state.SetComplexityN(commands);
    state.counters["per_command"] = benchmark::Counter(
        static_cast<double>(commands), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ProjectionCommands)
    ->RangeMultiplier(2)
    ->Range(25, 400)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// A document of N tables: save, reopen, lay out, draw the last screen, copy all tables, plan the pages.
void BM_DocumentOfNTables(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    MacroStore store;
    Window window(store);
    window.initializeAndProject();
    const ResultTable table = window.doc.model.tables.back();
    window.doc.model.tables.assign(static_cast<size_t>(count), table);
    fakes::FixedPitchMetrics metrics;
    fakes::FakeSettings settings;
    fakes::FakeClipboard clipboard;
    for (auto _ : state) {
        CGROVEXDoc reopened;
        loadDocument(reopened, storeDocument(window.doc));
        reopened.display.allTables = true;
        CGROVEXView view(reopened, metrics, settings, window.ui, clipboard, "/nonexistent/");
        view.setClientSize({1200, 900});
        view.OnInitialUpdate();
        view.setScrollPosition({0, view.scrollSize().height});
        fakes::FakeCanvas canvas({0, 0, 1200, 900});
        canvas.setWindowOrigin(view.scrollPosition());
        view.OnDraw(canvas);
        view.execute(cmd::kEditSelectAll);
        view.execute(cmd::kEditCopy);
        const PrintPlan plan = view.OnBeginPrinting(metrics, 600, 96, {4800, 6600});
        view.OnEndPrinting();
        benchmark::DoNotOptimize(plan.pageCount());
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_DocumentOfNTables)
    ->RangeMultiplier(2)
    ->Range(6, 100)
    ->Arg(100)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

// Recording N entries (to the store's 400), then the file and text round trips of the macro.
void BM_MacroOfNEntries(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        MacroStore store;
        for (int i = 0; i < count; ++i) {
            store.recordReal("target", static_cast<float>(i));
        }
        MacroStore reread;
        reread.loadBytes(store.fileBytes());
        std::vector<MacroEntry> entries;
        for (int i = 0; i <= reread.lastIndex(); ++i) {
            entries.push_back(reread.entry(i));
        }
        std::vector<MacroEntry> parsed;
        std::string error;
        parseMacroText(macroText(entries), parsed, error);
        benchmark::DoNotOptimize(parsed.size());
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_MacroOfNEntries)
    ->RangeMultiplier(2)
    ->Range(25, 400)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

// N commands played by pressing Play again: a macro of ten "Initialize and Project" commands played N / 10
// times on the same window, as `grovex-cli play --repeat`.
void BM_PlayedCommands(benchmark::State& state) {
    const int commands = static_cast<int>(state.range(0));
    MacroStore store;
    {
        Window recording(store);
        recording.recorder.execute(cmd::kRecordMacro);
        for (int i = 0; i < 10; ++i) {
            recording.initializeAndProject();
        }
        recording.recorder.execute(cmd::kStopMacro);
    }
    for (auto _ : state) {
        Window window(store);
        for (int play = 0; play < commands / 10; ++play) {
            window.recorder.play();
        }
        benchmark::DoNotOptimize(window.doc.model.lastTable());
    }
    state.SetComplexityN(commands);
}
BENCHMARK(BM_PlayedCommands)
    ->RangeMultiplier(2)
    ->Range(40, 1280)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// A tree list of N rows: written, read back, copied whole and pasted back over itself.
void BM_TreeListOfNRows(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    TreeList list;
    list.loaded = true;
    list.header = {1, "P1", 0.10f, 12, 5, 200, 1, 10, 80.0f, 120.0f, 1, 12.5f, kBlankReal};
    for (int r = 0; r < rows; ++r) {
        list.rows[static_cast<size_t>(r)] = {2, std::to_string(r + 1), 4.0f + static_cast<float>(r % 20) * 0.5f,
                                             30.0f + static_cast<float>(r % 50), 1 + r % 4};
    }
    list.lastRow = rows - 1;
    fakes::RecordingUi ui;
    for (auto _ : state) {
        const std::string text = treeListText(list);
        TreeList read;
        readTreeList({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, read, ui);
        const std::string copied = wholeListText(read);
        const GridBlock all{0, 0, read.lastRow + 1, 11};
        pasteTiled(read, copied, all, measurePasteText(copied));
        benchmark::DoNotOptimize(read.lastRow);
    }
    state.SetComplexityN(rows);
}
BENCHMARK(BM_TreeListOfNRows)
    ->RangeMultiplier(2)
    ->Range(19, 300)
    ->Arg(300)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

// 100 tables at font height N: lay out, draw the last screen, hit-test its middle and plan the pages.
void BM_FontHeight(benchmark::State& state) {
    const int height = static_cast<int>(state.range(0));
    MacroStore store;
    Window window(store);
    window.initializeAndProject();
    const ResultTable table = window.doc.model.tables.back();
    window.doc.model.tables.assign(kMaxTables, table);
    window.doc.display.allTables = true;
    const fs::path appDir = window.dir / "app";
    fs::create_directories(appDir);
    LogFont font;
    font.height = height;
    writeFontRecord((appDir / kFontRecordName).string(), font);
    fakes::FixedPitchMetrics metrics;
    fakes::FakeSettings settings;
    fakes::FakeClipboard clipboard;
    CGROVEXView view(window.doc, metrics, settings, window.ui, clipboard, appDir.string() + "/");
    view.setClientSize({1200, 900});
    for (auto _ : state) {
        view.OnInitialUpdate();
        view.setScrollPosition({0, view.scrollSize().height});
        fakes::FakeCanvas canvas({0, 0, 1200, 900});
        canvas.setWindowOrigin(view.scrollPosition());
        view.OnDraw(canvas);
        benchmark::DoNotOptimize(view.hitTest({600, 450}));
        const PrintPlan plan = view.OnBeginPrinting(metrics, 600, 96, {4800, 6600});
        view.OnEndPrinting();
        benchmark::DoNotOptimize(plan.pageCount());
    }
    state.counters["line_height"] = view.lineHeight();
}
BENCHMARK(BM_FontHeight)->Arg(18)->Arg(60)->Arg(120)->Arg(240)->Unit(benchmark::kMicrosecond);

} // namespace
