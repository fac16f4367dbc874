// A user whose locale writes numbers with a decimal comma gets the same files, texts and clipboard contents
// as under the "C" locale, and the program reads "12.5" the same way.

#include "locale_switch.h"
#include "support/test_paths.h"

#include "base/c_format.h"
#include "control/macro_recorder.h"
#include "control/macro_store.h"
#include "control/macro_text.h"
#include "control/projection.h"
#include "dialogs/box_text.h"
#include "dialogs/general_info_dlg.h"
#include "dialogs/stand_projection_dlg.h"
#include "results/document_file.h"
#include "results/font_record.h"
#include "results/table_text.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"
#include "treelist/tree_list_clipboard.h"
#include "treelist/tree_list_dialogs.h"
#include "treelist/tree_list_file.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

namespace grovex {
namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string asText(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::string shortest(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// No dialogs: every input comes from the macro.
class MacroOnly : public InputSource {
public:
    std::optional<Input1> input1(CGROVEXDoc&) override { return std::nullopt; }
    std::optional<Input2Values> input2(CGROVEXDoc&) override { return std::nullopt; }
    const TreeList* simulationTreeList() override { return nullptr; }
};

// Everything the program writes or takes from text in one run, by name: the played macro's document and
// tables, the macro file and its text form, a tree list file after a paste, its copies, the "Change Tree List
// State" copy, the input pages' texts, values and messages, and the font record.
std::map<std::string, std::string> everyOutput(const fs::path& dir) {
    std::map<std::string, std::string> out;
    fakes::RecordingUi ui;

    std::vector<MacroEntry> entries;
    std::string error;
    const std::string source = fileText(fs::path(testData("macro_thin_fertilize_next.txt")));
    EXPECT_TRUE(parseMacroText(source, entries, error)) << error;
    out["macro file"] = asText(macroFileBytes(entries));
    out["macro text"] = macroText(entries);

    MacroStore store;
    EXPECT_TRUE(store.loadBytes(macroFileBytes(entries)));
    CGROVEXDoc doc;
    doc.setTitle("GROVEX1");
    doc.model.setUi(&ui);
    StateFile stateFile((dir / kTemporaryStateFileName).string());
    StateFile playFile((dir / kPlayStateFileName).string());
    MacroOnly given;
    MacroRecorder recorder(store, doc, ui, playFile, dir.string());
    MacroInputSource inputs(recorder, given);
    ProjectionCommands commands(doc, ui, inputs, stateFile, &recorder);
    recorder.setProjection([&commands] { commands.project(); });
    recorder.play();
    EXPECT_FALSE(recorder.failed());
    out["tables"] = allTablesText(doc.model.tables, 0, doc.model.lastTable());
    EXPECT_TRUE(saveDocument(doc, (dir / "played.gvx").string()));
    out["document"] = fileText(dir / "played.gvx");

    standProjectionDlg midrotation(doc);
    midrotation.OnInitDialog();
    for (int k = 0; k < plantation::kTargetCount; ++k) {
        midrotation.setText(plantation::kFirstTarget + k, k == 1 ? "500.5" : "");
    }
    out["midrotation refusal"] = midrotation.OnOK().message;

    fakes::FakeClipboard clipboard;
    treeListStateDlg state(doc.model, ui, clipboard, [](treeValuesDlg&) { return false; });
    std::vector<int> all(state.items().size());
    for (size_t i = 0; i < all.size(); ++i) {
        all[i] = static_cast<int>(i);
    }
    state.select(all);
    state.copySelected();
    out["tree list state copy"] = clipboard.text().value_or("");
    state.accept();
    out["tree list state result"] = state.resultText();

    TreeList list;
    readTreeListFile((fs::path(testData("treelist_dominant_height.dat"))).string(), list, ui);
    EXPECT_TRUE(list.loaded);
    // Grid row 0 is the header: the pasted trees follow the last one.
    EXPECT_FALSE(pasteAtCell(list, "2\t77\t12.5\t45.25\t1\r\n2\t78\t8.75\t1.5e1\t2\r\n", list.lastRow + 2, 0));
    out["tree list copy"] = wholeListText(list);
    EXPECT_TRUE(writeTreeListFile((dir / "pasted.dat").string(), list, ui));
    out["tree list file"] = fileText(dir / "pasted.dat");

    generalInfoDlg page;
    page.OnInitDialog();
    for (const auto& [id, text] : std::vector<std::pair<int, std::string>>{{plantation::kTitle, "Tract 7"},
                                                                           {plantation::kRotation, "60"},
                                                                           {plantation::kPercentSurvival, "87.5"},
                                                                           {plantation::kHardwood, "12.25"},
                                                                           {plantation::kFirstTarget, "30"}}) {
        page.setText(id, text);
        page.OnControlChanged(id);
    }
    FormResult accepted = page.UpdateData();
    if (accepted) {
        accepted = page.OnApply();
    }
    EXPECT_TRUE(accepted) << accepted.message;
    out["page values"] = shortest(page.ps) + " " + shortest(page.hdwdpercnt) + " " + shortest(page.target);
    generalInfoDlg reopened;
    reopened.restore(page.members());
    reopened.OnInitDialog();
    for (const int id : reopened.controlIds()) {
        out["page texts"] += reopened.text(id) + "|";
    }
    reopened.setText(plantation::kFirstTarget, "");
    reopened.setText(plantation::kFirstTarget + 5, "99.5");
    FormResult refused = reopened.UpdateData();
    if (refused) {
        refused = reopened.OnApply();
    }
    out["page refusal"] = refused.message;

    LogFont font;
    font.height = -13;
    const FontRecord record = encodeFontRecord(font);
    out["font record"] = std::string(record.begin(), record.end());
    return out;
}

// Where two outputs part, with a little of each, instead of two whole documents.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) {
        ++at;
    }
    const size_t from = at < 40 ? 0 : at - 40;
    return "they differ at byte " + std::to_string(at) + ":\n  C:     ..." + expected.substr(from, 80) +
           "\n  comma: ..." + actual.substr(from, 80);
}

class DecimalCommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("grovex_locale_" + std::to_string(std::random_device()()));
        fs::create_directories(dir / "c");
        fs::create_directories(dir / "comma");
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(DecimalCommaLocale, WritesTheSameFilesTextsAndClipboardAsTheCLocale) {
    std::map<std::string, std::string> classic;
    {
        const ProcessLocale c("C");
        classic = everyOutput(dir / "c");
    }
    std::map<std::string, std::string> comma;
    {
        const ProcessLocale german(localetest::kCommaLocale);
        if (!german.active()) {
            GTEST_SKIP() << localetest::kMissingReason;
        }
        comma = everyOutput(dir / "comma");
    }
    ASSERT_EQ(classic.size(), comma.size());
    for (const auto& [name, text] : classic) {
        EXPECT_FALSE(text.empty()) << name;
        EXPECT_TRUE(comma[name] == text) << name << ": " << firstDifference(text, comma[name]);
    }

    // A few values known by hand, so that two equally wrong runs cannot pass.
    EXPECT_NE(classic["tables"].find("Site Index =   60.00"), std::string::npos);
    EXPECT_NE(classic["tree list copy"].find("2\t77\t12.5\t45.2\t1\r\n2\t78\t8.8\t15.0\t2\r\n"), std::string::npos)
        << classic["tree list copy"];
    EXPECT_EQ(classic["page values"], "87.5 12.25 30");
    EXPECT_EQ(classic["page refusal"], "Please enter a real number from 20 to 99.000000");
    EXPECT_EQ(classic["midrotation refusal"].rfind("Please enter a real number from ", 0), 0u);
    EXPECT_NE(classic["midrotation refusal"].find('.'), std::string::npos) << classic["midrotation refusal"];
    EXPECT_NE(classic["macro text"].find("bab real 98.5\n"), std::string::npos);
    EXPECT_NE(classic["macro text"].find("ps real 0.899999976\n"), std::string::npos);
    EXPECT_EQ(classic["tree list state copy"].find_first_of(','), std::string::npos);
}

TEST(DecimalCommaNumbers, FormatAndParseWithAPoint) {
    const ProcessLocale german(localetest::kCommaLocale);
    if (!german.active()) {
        GTEST_SKIP() << localetest::kMissingReason;
    }
    EXPECT_EQ(cformat("%.2f|%8.2f|%5.1f|%f|%g", 12.5, 3.14159, -0.25, 99.0, 1.5e-3),
              "12.50|    3.14| -0.2|99.000000|0.0015");
    EXPECT_EQ(cAtof("12.5"), 12.5);
    EXPECT_EQ(cAtof("  -0.25e1xyz"), -2.5);
    EXPECT_EQ(cAtof("12,5"), 12.0); // a comma ends the number, as it does for atof in "C"
    EXPECT_EQ(cAtoi(" 42.7"), 42);
    EXPECT_EQ(boxtext::real("98.5"), 98.5f);
    EXPECT_EQ(treeListStateDlg::itemText(12.5f, 45.25f, 100.0f, 0.3f), "12.50\t45.25\t100.00\t0.30");
}

} // namespace
} // namespace grovex
