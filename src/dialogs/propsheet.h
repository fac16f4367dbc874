#pragma once
// The "Initialize Stand" sheet: the pages "Plantation Information" and "Volume Output Units" (no Apply Now
// and no Help button), opening on the first. OK checks the active page, then page 0, then page 1, and stays
// on the page whose check failed.

#include "dialogs/general_info_dlg.h"
#include "dialogs/out_units_dlg.h"
#include "model/input1.h"
#include "model/input_pages.h"

namespace grovex {

class CGROVEXDoc;

class propsheet {
public:
    static constexpr int kPageCount = 2;

    // `activeDocument` as for generalInfoDlg: the simulation whose current stand bounds the output targets.
    explicit propsheet(const CGROVEXDoc* activeDocument = nullptr);

    std::string caption() const { return "Initialize Stand"; }

    generalInfoDlg plantationPage;
    outUnitsDlg volumeUnitsPage;

    PropertyPageForm& page(int index);
    const PropertyPageForm& page(int index) const;
    int activePage() const { return activePage_; }
    // A click on a tab: the page left accepts without a check.
    void setActivePage(int index);

    // Restores the members of both pages (the values a document remembers), before OnInitDialog.
    void restore(const PlantationPageMembers& plantation, const VolumeUnitsPageMembers& volumeUnits);
    // Opens the sheet on the first page and fills both pages.
    void OnInitDialog();
    // OK: on failure the failing page is active and the result carries its message and focus control.
    FormResult OnOK();

    // The accepted values (after OnOK succeeded), as the document remembers them and as Input1.
    PlantationPageMembers plantationMembers() const { return plantationPage.members(); }
    VolumeUnitsPageMembers volumeUnitsMembers() const { return volumeUnitsPage.members(); }
    Input1 input1() const { return makeInput1(plantationMembers(), volumeUnitsMembers()); }

    // The Input1 values of accepted page members. A custom equation whose name is empty or blank keeps the
    // unnamed "-blank-" equation.
    static Input1 makeInput1(const PlantationPageMembers& plantation, const VolumeUnitsPageMembers& volumeUnits);

private:
    int activePage_ = 0;
};

} // namespace grovex
