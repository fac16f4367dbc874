#pragma once
// The three small dialogs of the tree lists as forms without widgets: "Insert how many rows?" (a row count),
// "Change Tree Values" (the four values of one register row) and "Change Tree List State" (the simulation's
// register as a list of text rows that the user removes, edits, copies and pastes before it goes back into
// the model). A Qt dialog binds its controls to a form; tests drive the forms directly.

#include "base/data_exchange.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace grovex {

class Clipboard;
class Ui;
class GrowthModel;

// Control ids of the three dialogs.
namespace treelistdlg {
inline constexpr int kRows = 1091;           // "Insert how many rows?"
inline constexpr int kEntries = 1095;        // "Change Tree List State": the list box
inline constexpr int kRemoveSelected = 1096; // "Remove Selected Entries"
inline constexpr int kCopySelected = 1101;   // "Copy Selected Entries"
inline constexpr int kPaste = 1102;          // "Paste"
inline constexpr int kThinFrequency = 1097;  // "Change Tree Values"
inline constexpr int kDbh = 1098;
inline constexpr int kLiveFrequency = 1099;
inline constexpr int kHeight = 1100;
} // namespace treelistdlg

// The first box a dialog refuses on OK: the message (an OK box) and the control that gets the focus with its
// text selected.
struct BoxRefusal {
    std::string message;
    int control = 0;
    bool operator==(const BoxRefusal&) const = default;
};

// "Insert how many rows?": a count of 1 to 299, 1 when the dialog opens.
class insertRowsDlg {
public:
    static constexpr int32_t kMinRows = 1;
    static constexpr int32_t kMaxRows = 299;

    int32_t rows = 1;

    // The text the box shows when the dialog opens.
    std::string rowsText() const { return ddx::integerText(rows); }
    // OK with the box's text: stores the count, or refuses the text (and keeps the count).
    std::optional<BoxRefusal> accept(std::string_view rowsText);
};

// "Change Tree Values": DBH, live frequency, height and thin frequency of one register row.
class treeValuesDlg {
public:
    float dbh = 0;
    float liveFrequency = 0;
    float height = 0;
    float thinFrequency = 0;

    struct Texts {
        std::string dbh;
        std::string liveFrequency;
        std::string height;
        std::string thinFrequency;
    };
    // The boxes' texts when the dialog opens.
    Texts texts() const;
    // OK with the boxes' texts, checked DBH, live frequency, height, thin frequency: stores all four, or
    // refuses the first box that is not a number (and stores nothing).
    std::optional<BoxRefusal> accept(const Texts& texts);
};

// "Change Tree List State": the register rows as list items "DBH\theight\tlive\tthin" (each "%.2f"), with a
// multiple selection.
class treeListStateDlg {
public:
    // Runs "Change Tree Values" modally on the form; true when the user pressed OK.
    using ValuesEditor = std::function<bool(treeValuesDlg&)>;

    // The items are the model's register slots 1, 2, ... up to the first slot whose DBH is not above 0.
    treeListStateDlg(const GrowthModel& model, Ui& ui, Clipboard& clipboard, ValuesEditor editValues);

    static std::string itemText(float dbh, float height, float liveFrequency, float thinFrequency);

    const std::vector<std::string>& items() const { return items_; }
    bool isSelected(int index) const;
    // Selected indexes, lowest first.
    std::vector<int> selection() const;
    void setSelected(int index, bool selected);
    void select(const std::vector<int>& indexes); // exactly these
    void clearSelection();

    // "Remove Selected Entries": asks "Remove the selected entries?"; Yes removes every selected item.
    void removeSelected();
    // A double click: edits the first selected item through "Change Tree Values" and replaces it on OK.
    void editFirstSelected();
    // "Copy Selected Entries": the selected items, joined by "\r\n", onto the clipboard.
    void copySelected();
    // "Paste": the clipboard's lines replace the selection at its first index, or follow the last item.
    void paste();
    // The lines a pasted text gives: each piece before a carriage return (which, with a line feed right after
    // it, ends the line), and a final piece without line ends when anything of it remains.
    static std::vector<std::string> pastedLines(std::string_view text);

    // OK: the result is every item followed by "|", and the number of items.
    void accept();
    const std::string& resultText() const { return resultText_; }
    int32_t resultCount() const { return resultCount_; }

private:
    void eraseSelected();

    Ui& ui_;
    Clipboard& clipboard_;
    ValuesEditor editValues_;
    std::vector<std::string> items_;
    std::vector<bool> selected_;
    std::string resultText_;
    int32_t resultCount_ = 0;
};

} // namespace grovex
