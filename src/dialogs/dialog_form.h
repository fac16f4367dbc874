#pragma once
// A dialog without widgets: its controls, addressed by their numeric ids, each with a text, a check mark and an
// enabled state, plus the handlers a dialog runs (opening, a control that changed, OK). A Qt dialog binds its
// widgets to a form by the same ids: it writes what the user typed or clicked into the form, calls the
// handler, and then reads every control back (texts, check marks, enabled states may all have changed).

#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace grovex {

// The outcome of OK (or of one page's check): accepted, or refused with the message to show in a plain OK
// message box and the control that then gets the focus with its whole text selected.
struct FormResult {
    bool ok = true;
    std::string message;
    int focusControl = 0;

    static FormResult accepted() { return {}; }
    static FormResult refused(std::string message, int focusControl) {
        return FormResult{false, std::move(message), focusControl};
    }
    explicit operator bool() const { return ok; }
    bool operator==(const FormResult&) const = default;
};

enum class ControlKind {
    Edit,        // text box
    CheckBox,    // independent check mark
    RadioButton, // check mark shared with the other buttons of its group: checking one unchecks the others
    Button,      // push button: only enabled state; a click is reported through OnControlChanged
};

class DialogForm {
public:
    virtual ~DialogForm() = default;

    // The dialog's caption.
    virtual std::string caption() const = 0;

    // Ids of all controls, in the order they were declared (the tab order of the dialog).
    const std::vector<int>& controlIds() const { return order_; }
    bool hasControl(int id) const { return controls_.count(id) != 0; }
    ControlKind kind(int id) const;

    std::string text(int id) const;
    void setText(int id, std::string text);
    bool checked(int id) const;
    // For a radio button, checking it unchecks the other buttons of its group.
    void setChecked(int id, bool checked);
    bool enabled(int id) const;
    void setEnabled(int id, bool enabled);
    // The most characters a box takes (applied by the widget as its maximum length); 0 for no limit.
    int textLimit(int id) const;
    // The radio buttons of the group `id` belongs to (just `id` for other controls).
    std::vector<int> radioGroup(int id) const;

    // Fills the controls from the form's members and applies the enabling rules.
    virtual void OnInitDialog() {}
    // A click on a check box, radio button or push button, or a change of a box's text by the user, after the
    // new state has been written into the form with setChecked / setText. Reruns the enabling rules where the
    // dialog asks for it. Not for the widget's own updates from the form.
    virtual void OnControlChanged(int id) { (void)id; }

protected:
    void addEdit(int id, int textLimit = 0);
    void addCheckBox(int id);
    void addRadioGroup(const std::vector<int>& ids);
    void addButton(int id);

    void setEnabled(std::initializer_list<int> ids, bool enabled);
    // The saving direction of a text's data exchange: the box's text into `member`, or the standard message
    // when it is longer than the box's limit.
    FormResult exchangeText(int id, std::string& member) const;

private:
    struct Control {
        ControlKind kind = ControlKind::Edit;
        std::string text;
        bool checked = false;
        bool enabled = true;
        int textLimit = 0;
        int group = -1; // index into groups_ for radio buttons
    };
    Control& control(int id);
    const Control& control(int id) const;
    void add(int id, Control control);

    std::map<int, Control> controls_;
    std::vector<int> order_;
    std::vector<std::vector<int>> groups_;
};

// A page of a property sheet: the same form, with the data exchange and the check the sheet runs on OK.
class PropertyPageForm : public DialogForm {
public:
    // The standard data exchange of the page, saving direction: texts with a character limit and check boxes
    // into the members. Refuses a text longer than its limit ("Please enter no more than %d characters.").
    virtual FormResult UpdateData() = 0;
    // The page's own check in its fixed order; stores the accepted values into the members.
    virtual FormResult OnApply() = 0;
};

} // namespace grovex
