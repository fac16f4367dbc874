#include "dialogs/dialog_form.h"

#include "base/data_exchange.h"

#include <stdexcept>

namespace grovex {

DialogForm::Control& DialogForm::control(int id) {
    const auto found = controls_.find(id);
    if (found == controls_.end()) {
        throw std::out_of_range("no control " + std::to_string(id) + " in \"" + caption() + "\"");
    }
    return found->second;
}

const DialogForm::Control& DialogForm::control(int id) const {
    return const_cast<DialogForm*>(this)->control(id);
}

void DialogForm::add(int id, Control control) {
    if (controls_.emplace(id, std::move(control)).second) {
        order_.push_back(id);
    }
}

void DialogForm::addEdit(int id, int textLimit) {
    Control c;
    c.textLimit = textLimit;
    add(id, std::move(c));
}

void DialogForm::addCheckBox(int id) {
    Control c;
    c.kind = ControlKind::CheckBox;
    add(id, std::move(c));
}

void DialogForm::addRadioGroup(const std::vector<int>& ids) {
    const int group = static_cast<int>(groups_.size());
    groups_.push_back(ids);
    for (const int id : ids) {
        Control c;
        c.kind = ControlKind::RadioButton;
        c.group = group;
        add(id, std::move(c));
    }
}

void DialogForm::addButton(int id) {
    Control c;
    c.kind = ControlKind::Button;
    add(id, std::move(c));
}

ControlKind DialogForm::kind(int id) const {
    return control(id).kind;
}

std::string DialogForm::text(int id) const {
    return control(id).text;
}

void DialogForm::setText(int id, std::string text) {
    control(id).text = std::move(text);
}

bool DialogForm::checked(int id) const {
    return control(id).checked;
}

void DialogForm::setChecked(int id, bool checked) {
    Control& c = control(id);
    if (checked && c.group >= 0) {
        for (const int other : groups_[static_cast<size_t>(c.group)]) {
            control(other).checked = false;
        }
    }
    c.checked = checked;
}

bool DialogForm::enabled(int id) const {
    return control(id).enabled;
}

void DialogForm::setEnabled(int id, bool enabled) {
    control(id).enabled = enabled;
}

int DialogForm::textLimit(int id) const {
    return control(id).textLimit;
}

void DialogForm::setEnabled(std::initializer_list<int> ids, bool enabled) {
    for (const int id : ids) {
        setEnabled(id, enabled);
    }
}

FormResult DialogForm::exchangeText(int id, std::string& member) const {
    const Control& c = control(id);
    if (c.textLimit > 0 && c.text.size() > static_cast<size_t>(c.textLimit)) {
        return FormResult::refused(ddx::maxCharsMessage(c.textLimit), id);
    }
    member = c.text;
    return FormResult::accepted();
}

std::vector<int> DialogForm::radioGroup(int id) const {
    const Control& c = control(id);
    if (c.group < 0) {
        return {id};
    }
    return groups_[static_cast<size_t>(c.group)];
}

} // namespace grovex
