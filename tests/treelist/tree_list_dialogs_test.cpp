#include "treelist/tree_list_dialogs.h"

#include "model/growth_model.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <tuple>

namespace grovex {
namespace {

using Items = std::vector<std::string>;

// --- Insert how many rows? ---

struct RowsCase {
    std::string text;
    std::optional<int32_t> stored; // nothing: refused with `message`
    std::string message;
};

class InsertRowsTest : public testing::TestWithParam<RowsCase> {};

TEST_P(InsertRowsTest, AcceptsOnlyWholeCountsFromOneTo299) {
    const RowsCase& c = GetParam();
    insertRowsDlg form;
    EXPECT_EQ(form.rowsText(), "1");
    const std::optional<BoxRefusal> refusal = form.accept(c.text);
    if (c.stored) {
        EXPECT_FALSE(refusal.has_value());
        EXPECT_EQ(form.rows, *c.stored);
    } else {
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(*refusal, (BoxRefusal{c.message, treelistdlg::kRows}));
        EXPECT_EQ(form.rows, 1);
    }
}

const std::string kRange = "Please enter an integer between 1 and 299.";
const std::string kInteger = "Please enter an integer.";

INSTANTIATE_TEST_SUITE_P(Counts, InsertRowsTest,
                         testing::Values(RowsCase{"1", 1, ""}, RowsCase{"299", 299, ""}, RowsCase{" 12\t", 12, ""},
                                         RowsCase{"+7", 7, ""}, RowsCase{"0", std::nullopt, kRange},
                                         RowsCase{"300", std::nullopt, kRange}, RowsCase{"-5", std::nullopt, kRange},
                                         RowsCase{"", std::nullopt, kInteger}, RowsCase{"12x", std::nullopt, kInteger},
                                         RowsCase{"2.5", std::nullopt, kInteger},
                                         RowsCase{"99999999999", std::nullopt, kInteger}));

// --- Change Tree Values ---

TEST(TreeValuesTest, RefusesTheFirstBoxThatIsNotANumberInBindingOrderAndStoresNothing) {
    treeValuesDlg form;
    form.dbh = 7.25f;
    form.liveFrequency = 120;
    form.height = 48.5f;
    form.thinFrequency = 0;
    const treeValuesDlg::Texts shown = form.texts();
    EXPECT_EQ(std::tie(shown.dbh, shown.liveFrequency, shown.height, shown.thinFrequency),
              std::make_tuple("7.25", "120", "48.5", "0"));

    // DBH, live frequency, height, thin frequency: the ids 1098, 1099, 1100, 1097.
    const std::string number = "Please enter a number.";
    EXPECT_EQ(form.accept({"x", "x", "x", "x"}), (BoxRefusal{number, treelistdlg::kDbh}));
    EXPECT_EQ(form.accept({"8", "", "x", "x"}), (BoxRefusal{number, treelistdlg::kLiveFrequency}));
    EXPECT_EQ(form.accept({"8", "1", "4 5", "x"}), (BoxRefusal{number, treelistdlg::kHeight}));
    EXPECT_EQ(form.accept({"8", "1", "45", "1e99"}), (BoxRefusal{number, treelistdlg::kThinFrequency}));
    EXPECT_EQ(form.dbh, 7.25f);

    EXPECT_FALSE(form.accept({" 8.5 ", ".5", "-3", "2e1"}).has_value());
    EXPECT_EQ(std::tie(form.dbh, form.liveFrequency, form.height, form.thinFrequency),
              std::make_tuple(8.5f, 0.5f, -3.0f, 20.0f));
}

// --- Change Tree List State ---

// A register of six trees whose DBH is 1, 2, ... 6 inches; height 10 x DBH, live 100 + DBH, thin DBH / 10.
GrowthModel registerOfSix() {
    GrowthModel model;
    for (int slot = 1; slot <= 6; ++slot) {
        const auto s = static_cast<float>(slot);
        model.dbh[slot] = s;
        model.ht[slot] = 10.0f * s;
        model.freq[slot] = 100.0f + s;
        model.thinFreq[slot] = s / 10.0f;
    }
    return model;
}

std::string row(int n) {
    const auto x = static_cast<float>(n);
    return treeListStateDlg::itemText(x, 10.0f * x, 100.0f + x, x / 10.0f);
}

class TreeListStateTest : public testing::Test {
protected:
    treeListStateDlg open(const GrowthModel& model) {
        return treeListStateDlg(model, ui_, clipboard_, [this](treeValuesDlg& form) {
            edited_.push_back(form);
            if (!editAnswer_) {
                return false;
            }
            form = *editAnswer_;
            return true;
        });
    }

    fakes::RecordingUi ui_;
    fakes::FakeClipboard clipboard_;
    std::vector<treeValuesDlg> edited_;
    std::optional<treeValuesDlg> editAnswer_;
};

TEST_F(TreeListStateTest, ListsTheRegisterUpToTheFirstSlotWithoutADbh) {
    GrowthModel model = registerOfSix();
    auto full = open(model);
    ASSERT_EQ(full.items().size(), 6u);
    EXPECT_EQ(full.items()[0], "1.00\t10.00\t101.00\t0.10");

    model.dbh[3] = 0; // slots 4 to 6 still hold trees, but the list ends here
    EXPECT_EQ(open(model).items(), (Items{row(1), row(2)}));
    model.dbh[1] = -1;
    EXPECT_TRUE(open(model).items().empty());
}

TEST_F(TreeListStateTest, RemoveAsksFirstAndTakesOnlySelectedEntries) {
    auto dialog = open(registerOfSix());
    dialog.removeSelected(); // nothing selected: asked, and nothing goes
    EXPECT_EQ(ui_.texts(), Items{"Remove the selected entries?"});
    EXPECT_EQ(ui_.messages()[0].buttons, Buttons::YesNo);
    EXPECT_EQ(dialog.items().size(), 6u);

    dialog.select({0, 2, 5});
    ui_.queueAnswer(Answer::No);
    dialog.removeSelected();
    EXPECT_EQ(dialog.items().size(), 6u);

    ui_.queueAnswer(Answer::Yes);
    dialog.removeSelected();
    EXPECT_EQ(dialog.items(), (Items{row(2), row(4), row(5)}));
    EXPECT_TRUE(dialog.selection().empty());
}

TEST_F(TreeListStateTest, CopiedEntriesPastedOverASelectionReplaceItAtItsFirstIndex) {
    auto dialog = open(registerOfSix());
    dialog.select({1, 4});
    dialog.copySelected();
    EXPECT_EQ(clipboard_.text(), row(2) + "\r\n" + row(5)); // no line end after the last

    dialog.select({2});
    dialog.paste();
    EXPECT_EQ(dialog.items(), (Items{row(1), row(2), row(2), row(5), row(4), row(5), row(6)}));

    // Several selected, not adjacent: all go, the lines come in where the first one was.
    dialog.select({0, 3, 6});
    dialog.paste();
    EXPECT_EQ(dialog.items(), (Items{row(2), row(5), row(2), row(2), row(4), row(5)}));
    EXPECT_TRUE(ui_.messages().empty());
}

TEST_F(TreeListStateTest, PasteWithoutSelectionAppendsEveryLineAsItIs) {
    auto dialog = open(registerOfSix());
    clipboard_.setText("a\r\nb");
    dialog.paste();
    clipboard_.setText("c\r\nnot a tree\r\n");
    dialog.paste();
    const Items& items = dialog.items();
    EXPECT_EQ(Items(items.begin() + 6, items.end()), (Items{"a", "b", "c", "not a tree"}));
}

TEST(PastedLinesTest, CutsAtCarriageReturnsAndKeepsAFinalPieceWithoutLineEnds) {
    EXPECT_EQ(treeListStateDlg::pastedLines("a\r\nb"), (Items{"a", "b"}));
    EXPECT_EQ(treeListStateDlg::pastedLines("a\r\nb\r\n"), (Items{"a", "b"}));
    EXPECT_EQ(treeListStateDlg::pastedLines("a\r\n\r\nb"), (Items{"a", "", "b"})); // an empty line inside stays
    EXPECT_EQ(treeListStateDlg::pastedLines("a\nb\n"), (Items{"ab"}));             // lone line feeds end nothing
    EXPECT_EQ(treeListStateDlg::pastedLines("a\rb"), (Items{"a", "b"}));
    EXPECT_TRUE(treeListStateDlg::pastedLines("").empty());
    EXPECT_TRUE(treeListStateDlg::pastedLines("\n").empty());
}

TEST_F(TreeListStateTest, ClipboardFailuresLeaveTheListAsItWas) {
    auto dialog = open(registerOfSix());
    dialog.select({0});
    dialog.paste(); // the clipboard holds no text
    clipboard_.setText("x");
    for (const ClipboardReadStatus status : {ClipboardReadStatus::CannotOpen, ClipboardReadStatus::CannotGet}) {
        clipboard_.failReadWith(status);
        dialog.paste();
    }
    for (const ClipboardStatus status :
         {ClipboardStatus::CannotOpen, ClipboardStatus::CannotEmpty, ClipboardStatus::CannotSet}) {
        clipboard_.failWith(status);
        dialog.copySelected();
    }
    EXPECT_EQ(ui_.texts(),
              (Items{"There is no text in the clipboard", "Cannot open the Clipboard",
                     "Unable to get Clipboard data, application may be out of memory", "Cannot open the Clipboard",
                     "Cannot empty the Clipboard", "Unable to set Clipboard data"}));
    EXPECT_EQ(dialog.items().size(), 6u);
    EXPECT_EQ(dialog.selection(), std::vector<int>{0});
}

TEST_F(TreeListStateTest, DoubleClickEditsTheFirstSelectedEntryInPlace) {
    auto dialog = open(registerOfSix());
    dialog.editFirstSelected(); // nothing selected: no dialog
    EXPECT_TRUE(edited_.empty());

    dialog.select({4, 1, 3});
    dialog.editFirstSelected(); // cancelled
    ASSERT_EQ(edited_.size(), 1u);
    EXPECT_EQ(std::tie(edited_[0].dbh, edited_[0].height, edited_[0].liveFrequency, edited_[0].thinFrequency),
              std::make_tuple(2.0f, 20.0f, 102.0f, 0.2f));
    EXPECT_EQ(dialog.items()[1], row(2));

    treeValuesDlg answer;
    answer.dbh = 2.5f;
    answer.height = 21;
    answer.liveFrequency = 99.126f;
    answer.thinFrequency = 3;
    editAnswer_ = answer;
    dialog.editFirstSelected();
    EXPECT_EQ(dialog.items()[1], "2.50\t21.00\t99.13\t3.00");
    EXPECT_EQ(dialog.selection(), (std::vector<int>{3, 4}));

    // A pasted item in the wrong form reads its fields as atof does: what is missing is 0.
    clipboard_.setText("7.5\tabc");
    dialog.clearSelection();
    dialog.paste();
    dialog.select({6});
    editAnswer_.reset();
    dialog.editFirstSelected();
    EXPECT_EQ(std::tie(edited_.back().dbh, edited_.back().height, edited_.back().liveFrequency),
              std::make_tuple(7.5f, 0.0f, 0.0f));
}

TEST_F(TreeListStateTest, OkGivesEveryItemFollowedByABarAndTheCount) {
    GrowthModel model = registerOfSix();
    model.dbh[3] = 0;
    auto dialog = open(model);
    EXPECT_EQ(dialog.resultCount(), 0); // nothing until OK: Cancel leaves the result empty
    clipboard_.setText("x");
    dialog.paste();
    dialog.accept();
    EXPECT_EQ(dialog.resultText(), row(1) + "|" + row(2) + "|x|");
    EXPECT_EQ(dialog.resultCount(), 3);
}

} // namespace
} // namespace grovex
