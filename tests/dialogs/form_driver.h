#pragma once
// Drives a dialog form as a user drives the dialog: typing into a box, clicking a button, and reading which
// controls are enabled.

#include "dialogs/dialog_form.h"

#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace grovex {

inline void PrintTo(const FormResult& r, std::ostream* os) {
    *os << (r.ok ? "accepted" : "refused \"" + r.message + "\" focus " + std::to_string(r.focusControl));
}

} // namespace grovex

namespace grovex::testing {

inline void type(DialogForm& form, int id, std::string text) {
    form.setText(id, std::move(text));
    form.OnControlChanged(id);
}

inline void click(DialogForm& form, int id, bool checked = true) {
    form.setChecked(id, checked);
    form.OnControlChanged(id);
}

// Those of `ids` that are enabled.
inline std::set<int> enabledAmong(const DialogForm& form, const std::vector<int>& ids) {
    std::set<int> on;
    for (const int id : ids) {
        if (form.enabled(id)) {
            on.insert(id);
        }
    }
    return on;
}

// Every control's text and check mark, to compare two forms.
inline std::vector<std::pair<std::string, bool>> contents(const DialogForm& form) {
    std::vector<std::pair<std::string, bool>> all;
    for (const int id : form.controlIds()) {
        all.emplace_back(form.text(id), form.checked(id));
    }
    return all;
}

} // namespace grovex::testing
