#pragma once
// The Qt dialogs of the tree list forms: "Insert how many rows?", "Change Tree Values" and "Change Tree List
// State". Each binds its controls (object names "control<id>") to a form without widgets, which holds the
// values, the rules and the messages; refusals are shown through Ui.

#include "treelist/tree_list_dialogs.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QListWidget;

namespace grovex {

class Ui;

// The object name of the control with a dialog id.
QString controlName(int id);

class InsertRowsDialog : public QDialog {
    Q_OBJECT

public:
    InsertRowsDialog(insertRowsDlg& form, Ui& ui, QWidget* parent = nullptr);
    QLineEdit* rowsBox() const { return rows_; }
    // OK: the form checks the box; a refusal shows its message and selects the box's text.
    void accept() override;

private:
    insertRowsDlg& form_;
    Ui& ui_;
    QLineEdit* rows_ = nullptr;
};

// Runs "Insert how many rows?" and answers the count, or nothing when cancelled.
std::optional<int> askInsertRowCount(Ui& ui, QWidget* parent);

class TreeValuesDialog : public QDialog {
    Q_OBJECT

public:
    TreeValuesDialog(treeValuesDlg& form, Ui& ui, QWidget* parent = nullptr);
    // The edit box with id 1097 to 1100.
    QLineEdit* box(int id) const;
    void accept() override;

private:
    treeValuesDlg& form_;
    Ui& ui_;
    QLineEdit* dbh_ = nullptr;
    QLineEdit* height_ = nullptr;
    QLineEdit* liveFrequency_ = nullptr;
    QLineEdit* thinFrequency_ = nullptr;
};

// What "Change Tree List State" runs on a double click: "Change Tree Values", modal to the active dialog.
treeListStateDlg::ValuesEditor treeValuesEditor(Ui& ui);

class TreeListStateDialog : public QDialog {
    Q_OBJECT

public:
    // Tab stops of the list's columns, in pixels from the item's left edge.
    static constexpr int kTabStop = 80;

    explicit TreeListStateDialog(treeListStateDlg& form, QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }
    // OK: the form gathers the result text and count.
    void accept() override;

private:
    void showForm();      // the list's items and selection from the form
    void takeSelection(); // the form's selection from the list

    treeListStateDlg& form_;
    QListWidget* list_ = nullptr;
    bool showing_ = false;
};

} // namespace grovex
