#include "dialogs/propsheet.h"

#include <stdexcept>

namespace grovex {

propsheet::propsheet(const CGROVEXDoc* activeDocument) : plantationPage(activeDocument) {}

PropertyPageForm& propsheet::page(int index) {
    switch (index) {
    case 0:
        return plantationPage;
    case 1:
        return volumeUnitsPage;
    default:
        throw std::out_of_range("the sheet has two pages");
    }
}

const PropertyPageForm& propsheet::page(int index) const {
    return const_cast<propsheet*>(this)->page(index);
}

void propsheet::setActivePage(int index) {
    (void)page(index); // refuses an index that is not a page
    activePage_ = index;
}

void propsheet::restore(const PlantationPageMembers& plantation, const VolumeUnitsPageMembers& volumeUnits) {
    plantationPage.restore(plantation);
    volumeUnitsPage.restore(volumeUnits);
}

void propsheet::OnInitDialog() {
    activePage_ = 0;
    plantationPage.OnInitDialog();
    volumeUnitsPage.OnInitDialog();
}

FormResult propsheet::OnOK() {
    const auto check = [this](int index) {
        PropertyPageForm& p = page(index);
        if (FormResult r = p.UpdateData(); !r) {
            return r;
        }
        return p.OnApply();
    };
    // The active page first, then both in order; the user ends on the page that refused.
    if (FormResult r = check(activePage_); !r) {
        return r;
    }
    for (int index = 0; index < kPageCount; ++index) {
        activePage_ = index;
        if (FormResult r = check(index); !r) {
            return r;
        }
    }
    return FormResult::accepted();
}

Input1 propsheet::makeInput1(const PlantationPageMembers& plantation, const VolumeUnitsPageMembers& volumeUnits) {
    Input1 in;
    in.title = plantation.title;
    in.nyears = plantation.nyears;
    in.qexist = plantation.qexist;
    in.qlist = plantation.qlist;
    in.site = plantation.site;
    in.tp = plantation.tp;
    in.psPercent = plantation.ps;
    in.ts = plantation.ts;
    in.exage = plantation.exage;
    in.tba = plantation.tba;
    in.qdrain = plantation.qdrain;
    in.hdwdPercent = plantation.hdwdpercnt;
    in.pcrit = plantation.pcrit;
    in.target = plantation.target;

    in.vtype = volumeUnits.vtype;
    if (volumeUnits.vtype == kCubicFeet) {
        in.voltyp = volumeUnits.barkType;
        in.minDbhClass = volumeUnits.minDbhClass;
        in.voltop = volumeUnits.voltop;
    } else if (volumeUnits.vtype == kCordsAndBoardFeet) {
        in.voltyp = volumeUnits.boardFootRule;
        in.minDbhClass = volumeUnits.minDbhClass;
    } else {
        for (size_t k = 0; k < in.equations.size(); ++k) {
            if (volumeUnits.names[k].find_first_not_of(' ') == std::string::npos) {
                continue; // an unnamed equation stays "-blank-"
            }
            in.equations[k].name = volumeUnits.names[k];
            in.equations[k].a = volumeUnits.a[k];
            in.equations[k].b = volumeUnits.b[k];
            in.equations[k].minDbhClass = volumeUnits.equationMinDbh[k];
        }
    }
    return in;
}

} // namespace grovex
