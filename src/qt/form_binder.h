#pragma once
// Binds the widgets of a Qt dialog to a form without widgets. Every control of the form has a widget named
// "control<id>" under the dialog: a QLineEdit for a box, a QCheckBox, a QRadioButton or a QPushButton. The
// binder hands what the user types, checks or clicks to the form (setText / setChecked, then
// OnControlChanged) and then shows the form again: every widget's text, check mark and enabled state. Boxes take the
// form's read-only flag and character limit; the tab order follows the form's control order.
//
// Also the parts the input dialogs share: small boxes, labels, the "Output Target" group, and showing a
// refusal (the message, then the focus in the refused control with its text selected).

#include "dialogs/dialog_form.h"

#include <QObject>
#include <QString>

#include <map>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace grovex {

class Ui;

class FormBinder : public QObject {
    Q_OBJECT

public:
    // Finds the widgets of the form's controls under `root` and connects them; `root` and the form must
    // outlive the binder (it is a child of `root`). Call show() once the form has been filled. A control
    // without a widget is a programming error: logged, and in a debug build thrown as std::logic_error.
    FormBinder(DialogForm& form, QWidget& root);

    DialogForm& form() const { return form_; }
    // The widget of a control, or null when the dialog has none.
    QWidget* widget(int id) const;
    // The first and last widgets in the tab order of the form's controls (null without any).
    QWidget* firstWidget() const;
    QWidget* lastWidget() const;

    // Form to widgets: texts, check marks and enabled states.
    void show();
    // Puts the keyboard focus into a control; a box gets its whole text selected.
    void focusControl(int id) const;

signals:
    // A user change reached the form and the widgets show its outcome.
    void changed(int id);

private:
    void bindEdit(int id, QLineEdit* box);
    void bindButton(int id, QAbstractButton* button);
    void userChanged(int id);

    DialogForm& form_;
    std::map<int, QWidget*> widgets_;
    std::vector<int> order_;                   // the ids that have a widget, in the form's order
    std::map<int, QButtonGroup*> radioGroups_; // by the first id of the form's group
    bool showing_ = false;
};

// Shows a refused OK in a plain message box and puts the focus into the refused control (its page or tab
// must already be showing). Does nothing for an accepted result.
void showRefusal(Ui& ui, const FormResult& result, const FormBinder& binder);

namespace dialogparts {

// A box for a number, named for its control id, about `characters` wide.
QLineEdit* numberBox(int id, QWidget* parent, int characters = 8);
QLineEdit* textBox(int id, QWidget* parent);
QCheckBox* checkBox(int id, const QString& text, QWidget* parent);
QRadioButton* radioButton(int id, const QString& text, QWidget* parent);
// A label naming the box `buddy`.
QLabel* label(const QString& text, QWidget* buddy, QWidget* parent);
// The small "Optional:" mark shown before the label of a box that may stay empty.
QLabel* optionalMark(QWidget* parent);
// A row of a grid of boxes: the label (after an "Optional:" mark when asked) in column 0, the box in column 1.
void addBoxRow(QGridLayout* grid, int row, const QString& text, QLineEdit* box, bool optional = false);
// The "Output Target" group: the boxes 1026 to 1032 with their labels, in two columns.
QGroupBox* outputTargetGroup(QWidget* parent);

} // namespace dialogparts

} // namespace grovex
