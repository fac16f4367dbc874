#pragma once
// The "Initialize Stand" sheet on Qt: the pages "Plantation Information" and "Volume Output Units" in tabs,
// with OK and Cancel only, bound to the sheet's forms. OK runs the sheet's checks; a refusal shows its
// message, brings up the page that refused and puts the focus into the refused box with its text selected.

#include "dialogs/propsheet.h"
#include "model/input1.h"
#include "model/input_pages.h"

#include <QDialog>

#include <optional>

class QTabWidget;

namespace grovex {

class Application;
class CGROVEXDoc;
class FormBinder;
class Ui;

class InitializeStandSheet : public QDialog {
    Q_OBJECT

public:
    // Opens the sheet (its OnInitDialog) on the first page; restore the pages' members before.
    InitializeStandSheet(propsheet& sheet, Ui& ui, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    QWidget* page(int index) const;
    FormBinder& binder(int index) const;
    // The widget of a control of either page ("control<id>"), or null.
    QWidget* control(int id) const;

    // OK: the sheet's checks; the dialog closes only when both pages accept.
    void accept() override;

private:
    propsheet& sheet_;
    Ui& ui_;
    QTabWidget* tabs_ = nullptr;
    FormBinder* binders_[propsheet::kPageCount] = {};
};

// What the sheet accepted: the pages' members, as the document remembers them, and the Input1 values.
struct InitializeStandValues {
    PlantationPageMembers plantation;
    VolumeUnitsPageMembers volumeUnits;
    Input1 input1;
};

// Runs the sheet for a simulation document, modal to `parent`: the pages show what the document remembers
// from the last accepted sheet, the output targets are bounded by the document's current stand, and Browse
// runs `browse`. OK stores the accepted members in the document (without marking it modified; the
// projection that follows does) and answers them; Cancel answers nothing and changes nothing.
std::optional<InitializeStandValues> runInitializeStand(QWidget* parent, CGROVEXDoc& doc, Ui& ui,
                                                        generalInfoDlg::BrowseAction browse = {});

// Browse of the Plantation Information page: loads a ".dat" file into the application's tree list window
// (created hidden when there is none) through its Open command, and answers whether the grid then holds a
// loaded tree list.
generalInfoDlg::BrowseAction treeListBrowser(Application& app);

} // namespace grovex
