// Long use of a simulation window: a document driven past the 100-table store, and a macro driven to its
// 400-entry store, each carried through save, reopen, the view, copy, print and play.

#include "control/extract.h"
#include "control/macro_recorder.h"
#include "control/macro_text.h"
#include "results/document_file.h"
#include "results/table_text.h"
#include "results/view.h"
#include "support/fake_canvas.h"
#include "support/fake_clipboard.h"
#include "support/fake_settings.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <random>

namespace grovex {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTableLimitMessage = "Maximum number of tables has been reached, overwriting last table";

// Every "Initialize and Project" is answered with the same plantation; nothing else is ever asked.
class RepeatedPlanting : public InputSource {
public:
    std::optional<Input1> input1(CGROVEXDoc&) override {
        Input1 input;
        input.title = "Tract 7";
        input.nyears = 60;
        input.target = target;
        return input;
    }
    std::optional<Input2Values> input2(CGROVEXDoc&) override { return std::nullopt; }
    float target = 12;
};

struct Window {
    Window(MacroStore& store, const fs::path& dir, fakes::RecordingUi& ui)
        : stateFile((dir / kTemporaryStateFileName).string()), playFile((dir / kPlayStateFileName).string()),
          recorder(store, doc, ui, playFile, dir.string()), source(recorder, inputs),
          commands(doc, ui, source, stateFile, &recorder) {
        doc.setTitle("GROVEX1");
        doc.model.setUi(&ui);
        recorder.setProjection([this] { commands.project(); });
    }
    void initializeAndProject() {
        doc.run.needsInit = true; // a new run each time, as after answering Yes to "terminate the current run?"
        commands.initializeAndProject();
    }
    std::string tablesText() const { return allTablesText(doc.model.tables, 0, doc.model.lastTable()); }

    CGROVEXDoc doc;
    RepeatedPlanting inputs;
    StateFile stateFile;
    StateFile playFile;
    MacroRecorder recorder;
    MacroInputSource source;
    ProjectionCommands commands;
};

bool drew(const fakes::FakeCanvas& canvas, std::string_view part) {
    const std::vector<std::string> texts = canvas.texts();
    return std::any_of(texts.begin(), texts.end(),
                       [part](const std::string& text) { return text.find(part) != std::string::npos; });
}

class LongUseTest : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("grovex_long_use_" + std::to_string(std::random_device()()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::ptrdiff_t messageCount(std::string_view text) const {
        const std::vector<std::string> texts = ui.texts();
        return std::count(texts.begin(), texts.end(), text);
    }

    fs::path dir;
    fakes::RecordingUi ui;
    MacroStore store;
};

TEST_F(LongUseTest, ADocumentPastTheTableLimitSavesReopensDrawsCopiesAndPrints) {
    Window window(store, dir, ui);
    for (int run = 0; run < kMaxTables + 5; ++run) {
        window.inputs.target = static_cast<float>(10 + run % 20);
        window.initializeAndProject();
    }
    const std::vector<ResultTable>& tables = window.doc.model.tables;
    ASSERT_EQ(window.doc.model.lastTable(), kMaxTables - 1);
    // Each run past the limit replaced the last table; the 99 before it are the first runs'.
    EXPECT_EQ(messageCount(kTableLimitMessage), 5);
    EXPECT_EQ(tables[98].age, 10 + 98 % 20);
    EXPECT_EQ(tables[99].age, 10 + 104 % 20);

    // Save and reopen: the same document, byte for byte.
    const std::string path = (dir / "full.gvx").string();
    ASSERT_TRUE(saveDocument(window.doc, path));
    OpenedDocument opened = openDocument(path);
    ASSERT_TRUE(opened.ok()) << opened.error;
    CGROVEXDoc& reopened = *opened.document;
    ASSERT_EQ(reopened.model.lastTable(), kMaxTables - 1);
    EXPECT_EQ(storeDocument(reopened), storeDocument(window.doc));

    // The view lays the 100 tables out one under the other and draws the visible part of each.
    fakes::FixedPitchMetrics metrics;
    fakes::FakeSettings settings;
    fakes::FakeClipboard clipboard;
    reopened.display.allTables = true;
    reopened.display.firstShown = 0;
    CGROVEXView view(reopened, metrics, settings, ui, clipboard, dir.string() + "/");
    view.setClientSize({800, 600});
    view.OnInitialUpdate();
    for (size_t t = 1; t < reopened.model.tables.size(); ++t) {
        ASSERT_GT(reopened.model.tables[t].tableTop, reopened.model.tables[t - 1].tableBottom);
    }
    EXPECT_EQ(view.scrollSize().height, reopened.model.tables.back().tableBottom + 33);
    view.execute(cmd::kIncreaseFontSize); // a relayout of every table
    EXPECT_EQ(view.scrollSize().height, reopened.model.tables.back().tableBottom + 33);
    const int bottom = view.scrollSize().height;
    view.setScrollPosition({0, bottom});
    fakes::FakeCanvas canvas({0, 0, 800, 600});
    canvas.setWindowOrigin(view.scrollPosition());
    view.OnDraw(canvas);
    EXPECT_TRUE(drew(canvas, reopened.model.tables.back().summary.substr(0, 40)));

    // Select All and Copy put every table on the clipboard, as the command line prints them.
    view.execute(cmd::kEditSelectAll);
    view.execute(cmd::kEditCopy);
    EXPECT_EQ(clipboard.text(), allTablesText(reopened.model.tables, 0, kMaxTables - 1));

    // The print plan covers the whole drawing and every page prints with its footer.
    fakes::FixedPitchMetrics printer;
    const PrintPlan plan = view.OnBeginPrinting(printer, 600, 96, {4800, 6600});
    EXPECT_EQ(plan.pagesAcross, 1);
    EXPECT_GE(plan.pagesDown * view.pageHeight(), reopened.model.tables.back().tableBottom);
    EXPECT_LT((plan.pagesDown - 1) * view.pageHeight(), reopened.model.tables.back().tableBottom + 33);
    for (int page = 1; page <= plan.pageCount(); ++page) {
        fakes::FakeCanvas sheet({0, 0, 4800, 6600});
        view.OnPrintPage(sheet, page);
        ASSERT_TRUE(drew(sheet, "page  " + std::to_string(page))) << page;
    }
    view.OnEndPrinting();
    EXPECT_EQ(view.scrollSize().height, bottom);
}

// The store-full handling keeps the commands completed before the one that did not fit, and that macro goes
// through the file, the text form and a play unchanged.
TEST_F(LongUseTest, RecordingUntilTheStoreIsFullKeepsCompleteCommandsThatRoundTripAndPlay) {
    Window recorded(store, dir, ui);
    recorded.recorder.execute(cmd::kRecordMacro);
    int commands = 0;
    while (recorded.recorder.recording() && commands < MacroStore::kCapacity) {
        recorded.inputs.target = static_cast<float>(10 + commands % 30);
        recorded.initializeAndProject();
        ++commands;
    }
    ASSERT_FALSE(recorded.recorder.recording());
    EXPECT_FALSE(store.recordingActive());
    EXPECT_EQ(messageCount(kMacroStoreFullMessage), 1);
    EXPECT_EQ(messageCount(kMacroCouldNotCompleteMessage), 1);
    // Whole commands only: the store ends with a "ProjectEnd" and holds one "ProjectInit" per kept table.
    ASSERT_GT(store.lastIndex(), MacroStore::kCapacity - 30);
    EXPECT_EQ(store.entry(store.lastIndex()).key, "ProjectEnd");
    int inits = 0;
    for (int i = 0; i <= store.lastIndex(); ++i) {
        inits += store.entry(i).key == "ProjectInit" ? 1 : 0;
    }
    // The command that did not fit was rolled back.
    EXPECT_EQ(inits, recorded.doc.model.lastTable() + 1);
    EXPECT_EQ(commands, inits + 1);

    // File and text form round trips.
    const std::string path = (dir / "full.gmc").string();
    ASSERT_TRUE(store.save(path));
    MacroStore opened;
    ASSERT_TRUE(opened.open(path));
    EXPECT_EQ(opened.fileBytes(), store.fileBytes());
    std::vector<MacroEntry> entries;
    for (int i = 0; i <= opened.lastIndex(); ++i) {
        entries.push_back(opened.entry(i));
    }
    std::vector<MacroEntry> parsed;
    std::string error;
    ASSERT_TRUE(parseMacroText(macroText(entries), parsed, error)) << error;
    EXPECT_EQ(macroFileBytes(parsed), store.fileBytes());

    // Played on a new window, the macro gives the recorded tables.
    Window played(opened, dir, ui);
    played.recorder.execute(cmd::kPlayMacro);
    ASSERT_FALSE(played.recorder.failed());
    EXPECT_EQ(played.tablesText(), recorded.tablesText());
}

// A macro of exactly 400 entries: the next append is refused, the file holds all 400, and the text form
// holding a 401st entry is refused.
TEST_F(LongUseTest, AMacroOfExactly400EntriesIsKeptWholeAndNothingMoreIsTaken) {
    for (int i = 0; i < MacroStore::kCapacity; ++i) {
        ASSERT_TRUE(store.appendReal("target", static_cast<float>(i)));
    }
    EXPECT_FALSE(store.appendInteger("one more", 1));
    EXPECT_THROW(store.recordMarker("one more"), MacroAbandon);
    EXPECT_EQ(store.lastIndex(), MacroStore::kCapacity - 1);

    MacroStore reread;
    ASSERT_TRUE(reread.loadBytes(store.fileBytes()));
    EXPECT_EQ(reread.lastIndex(), MacroStore::kCapacity - 1);
    EXPECT_EQ(reread.entry(MacroStore::kCapacity - 1).real, 399.0f);

    std::vector<MacroEntry> entries;
    for (int i = 0; i <= store.lastIndex(); ++i) {
        entries.push_back(store.entry(i));
    }
    std::string text = macroText(entries);
    std::vector<MacroEntry> parsed;
    std::string error;
    ASSERT_TRUE(parseMacroText(text, parsed, error)) << error;
    text += "ProjectEnd\n";
    EXPECT_FALSE(parseMacroText(text, parsed, error));
}

TEST(TreeListExtraction, AFullTreeListFillsEveryRegisterSlot) {
    TreeList list;
    list.loaded = true;
    list.header.code = 1;
    list.header.plotId = "P1";
    list.header.plotArea = 0.5f;
    list.header.age = 15;
    for (int r = 0; r < kMaxRecords; ++r) {
        list.rows[static_cast<size_t>(r)] = {2, std::to_string(r + 1), 4.0f + static_cast<float>(r % 20) * 0.5f,
                                             40.0f + static_cast<float>(r % 25), 1 + r % 4};
    }
    list.lastRow = kMaxRecords - 1;
    GrowthModel model;
    RunState run;
    fakes::RecordingUi ui;
    Extract(model, run, &list, ui);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(model.nrec, kMaxRecords);
    EXPECT_FLOAT_EQ(model.dbh[kMaxRecords], list.rows[kMaxRecords - 1].dbh);
    EXPECT_FLOAT_EQ(model.ht[kMaxRecords], list.rows[kMaxRecords - 1].height);
}

} // namespace
} // namespace grovex
