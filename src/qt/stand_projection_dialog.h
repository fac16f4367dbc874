#pragma once
// "Stand Projection" on Qt: the midrotation treatment (thinning, fertilization, hardwoods) and the next
// output target, bound to the dialog's form. OK runs the form's checks; a refusal shows its message and puts
// the focus into the refused box with its text selected.

#include "dialogs/stand_projection_dlg.h"
#include "model/input2.h"

#include <QDialog>

#include <optional>

namespace grovex {

class CGROVEXDoc;
class FormBinder;
class Ui;

class StandProjectionDialog : public QDialog {
    Q_OBJECT

public:
    // Opens the dialog (its OnInitDialog, pre-filled from the form's simulation).
    StandProjectionDialog(standProjectionDlg& form, Ui& ui, QWidget* parent = nullptr);

    FormBinder& binder() const { return *binder_; }
    // The widget of a control ("control<id>"), or null.
    QWidget* control(int id) const;

    // OK: the form's data exchange and checks; the dialog closes only when they accept.
    void accept() override;

private:
    standProjectionDlg& form_;
    Ui& ui_;
    FormBinder* binder_ = nullptr;
};

// Runs "Stand Projection" for a simulation document, modal to `parent`; answers the accepted treatment and
// target, or nothing on Cancel.
std::optional<Input2Values> runStandProjection(QWidget* parent, CGROVEXDoc& doc, Ui& ui);

} // namespace grovex
