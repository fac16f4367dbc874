#include "treelist/tree_list_dialogs.h"

#include "base/c_format.h"
#include "base/platform/clipboard.h"
#include "base/platform/ui.h"
#include "model/growth_model.h"

namespace grovex {
namespace {

// The first `count` fields of an item split at its tabs, through atof; missing fields read as 0.
std::vector<float> itemFields(std::string_view text, size_t count) {
    std::vector<float> fields;
    while (fields.size() < count) {
        const size_t tab = text.find('\t');
        fields.push_back(static_cast<float>(cAtof(text.substr(0, tab))));
        text = tab == std::string_view::npos ? std::string_view() : text.substr(tab + 1);
    }
    return fields;
}

void reportClipboardFailure(Ui& ui, ClipboardStatus status) {
    switch (status) {
    case ClipboardStatus::Ok:
        break;
    case ClipboardStatus::CannotOpen:
        ui.message("Cannot open the Clipboard", Buttons::Ok, Icon::Warning);
        break;
    case ClipboardStatus::CannotEmpty:
        ui.message("Cannot empty the Clipboard", Buttons::Ok, Icon::Warning);
        break;
    case ClipboardStatus::CannotSet:
        ui.message("Unable to set Clipboard data", Buttons::Ok, Icon::Warning);
        break;
    }
}

} // namespace

std::optional<BoxRefusal> insertRowsDlg::accept(std::string_view rowsText) {
    const std::optional<int32_t> count = ddx::parseInteger(rowsText);
    if (!count) {
        return BoxRefusal{ddx::kNotAnInteger, treelistdlg::kRows};
    }
    if (*count < kMinRows || *count > kMaxRows) {
        return BoxRefusal{ddx::integerRangeMessage(kMinRows, kMaxRows), treelistdlg::kRows};
    }
    rows = *count;
    return std::nullopt;
}

treeValuesDlg::Texts treeValuesDlg::texts() const {
    return {ddx::realText(dbh), ddx::realText(liveFrequency), ddx::realText(height), ddx::realText(thinFrequency)};
}

std::optional<BoxRefusal> treeValuesDlg::accept(const Texts& texts) {
    const std::pair<const std::string*, int> boxes[] = {{&texts.dbh, treelistdlg::kDbh},
                                                        {&texts.liveFrequency, treelistdlg::kLiveFrequency},
                                                        {&texts.height, treelistdlg::kHeight},
                                                        {&texts.thinFrequency, treelistdlg::kThinFrequency}};
    float values[4] = {};
    for (size_t i = 0; i < 4; ++i) {
        const std::optional<float> value = ddx::parseReal(*boxes[i].first);
        if (!value) {
            return BoxRefusal{ddx::kNotANumber, boxes[i].second};
        }
        values[i] = *value;
    }
    dbh = values[0];
    liveFrequency = values[1];
    height = values[2];
    thinFrequency = values[3];
    return std::nullopt;
}

treeListStateDlg::treeListStateDlg(const GrowthModel& model, Ui& ui, Clipboard& clipboard, ValuesEditor editValues)
    : ui_(ui), clipboard_(clipboard), editValues_(std::move(editValues)) {
    for (int slot = 1; slot <= kMaxRecords && model.dbh[slot] > 0; ++slot) {
        items_.push_back(itemText(model.dbh[slot], model.ht[slot], model.freq[slot], model.thinFreq[slot]));
    }
    selected_.assign(items_.size(), false);
}

std::string treeListStateDlg::itemText(float dbh, float height, float liveFrequency, float thinFrequency) {
    return cformat("%.2f\t%.2f\t%.2f\t%.2f", static_cast<double>(dbh), static_cast<double>(height),
                   static_cast<double>(liveFrequency), static_cast<double>(thinFrequency));
}

bool treeListStateDlg::isSelected(int index) const {
    return index >= 0 && index < static_cast<int>(selected_.size()) && selected_[static_cast<size_t>(index)];
}

std::vector<int> treeListStateDlg::selection() const {
    std::vector<int> indexes;
    for (size_t i = 0; i < selected_.size(); ++i) {
        if (selected_[i]) {
            indexes.push_back(static_cast<int>(i));
        }
    }
    return indexes;
}

void treeListStateDlg::setSelected(int index, bool selected) {
    if (index >= 0 && index < static_cast<int>(selected_.size())) {
        selected_[static_cast<size_t>(index)] = selected;
    }
}

void treeListStateDlg::select(const std::vector<int>& indexes) {
    clearSelection();
    for (const int index : indexes) {
        setSelected(index, true);
    }
}

void treeListStateDlg::clearSelection() {
    selected_.assign(items_.size(), false);
}

void treeListStateDlg::eraseSelected() {
    for (size_t i = items_.size(); i-- > 0;) {
        if (selected_[i]) {
            items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
            selected_.erase(selected_.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

void treeListStateDlg::removeSelected() {
    if (ui_.message("Remove the selected entries?", Buttons::YesNo, Icon::Question) == Answer::Yes) {
        eraseSelected();
    }
}

void treeListStateDlg::editFirstSelected() {
    const std::vector<int> chosen = selection();
    if (chosen.empty()) {
        return;
    }
    const size_t index = static_cast<size_t>(chosen.front());
    const std::vector<float> fields = itemFields(items_[index], 4);
    treeValuesDlg form;
    form.dbh = fields[0];
    form.height = fields[1];
    form.liveFrequency = fields[2];
    form.thinFrequency = fields[3];
    if (!editValues_ || !editValues_(form)) {
        return;
    }
    // The item is deleted and inserted anew, so it is no longer selected.
    items_[index] = itemText(form.dbh, form.height, form.liveFrequency, form.thinFrequency);
    selected_[index] = false;
}

void treeListStateDlg::copySelected() {
    const std::vector<int> chosen = selection();
    if (chosen.empty()) {
        return; // nothing to copy: what the clipboard holds stays there
    }
    std::string text;
    for (size_t i = 0; i < chosen.size(); ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += items_[static_cast<size_t>(chosen[i])];
    }
    reportClipboardFailure(ui_, clipboard_.setText(text));
}

std::vector<std::string> treeListStateDlg::pastedLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r', start)) {
        lines.emplace_back(text.substr(start, cr - start));
        start = cr + 1;
        if (start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    std::string last;
    for (const char ch : text.substr(start)) {
        if (ch != '\r' && ch != '\n') {
            last += ch;
        }
    }
    if (!last.empty()) {
        lines.push_back(std::move(last));
    }
    return lines;
}

void treeListStateDlg::paste() {
    const ClipboardRead read = clipboard_.readText();
    switch (read.status) {
    case ClipboardReadStatus::Ok:
        break;
    case ClipboardReadStatus::CannotOpen:
        ui_.message("Cannot open the Clipboard", Buttons::Ok, Icon::Warning);
        return;
    case ClipboardReadStatus::NoText:
        ui_.message("There is no text in the clipboard", Buttons::Ok, Icon::Warning);
        return;
    case ClipboardReadStatus::CannotGet:
        ui_.message("Unable to get Clipboard data, application may be out of memory", Buttons::Ok, Icon::Warning);
        return;
    }
    const std::vector<std::string> lines = pastedLines(read.text);
    const std::vector<int> chosen = selection();
    size_t at = items_.size();
    if (!chosen.empty()) {
        at = static_cast<size_t>(chosen.front());
        eraseSelected();
    }
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), lines.begin(), lines.end());
    selected_.insert(selected_.begin() + static_cast<std::ptrdiff_t>(at), lines.size(), false);
}

void treeListStateDlg::accept() {
    resultText_.clear();
    for (const std::string& item : items_) {
        resultText_ += item;
        resultText_ += '|';
    }
    resultCount_ = static_cast<int32_t>(items_.size());
}

} // namespace grovex
