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

Input1 propsheet::makeInput1(const PlantationPageMembers& p, const VolumeUnitsPageMembers& u) {
    Input1 in;
    in.title = p.title;
    in.nyears = p.nyears;
    in.qexist = p.qexist;
    in.qlist = p.qlist;
    in.site = p.site;
    in.tp = p.tp;
    in.psPercent = p.ps;
    in.ts = p.ts;
    in.exage = p.exage;
    in.tba = p.tba;
    in.qdrain = p.qdrain;
    in.hdwdPercent = p.hdwdpercnt;
    in.pcrit = p.pcrit;
    in.target = p.target;

    in.vtype = u.vtype;
    if (u.vtype == kCubicFeet) {
        in.voltyp = u.barkType;
        in.minDbhClass = u.minDbhClass;
        in.voltop = u.voltop;
    } else if (u.vtype == kCordsAndBoardFeet) {
        in.voltyp = u.boardFootRule;
        in.minDbhClass = u.minDbhClass;
    } else {
        for (size_t k = 0; k < in.equations.size(); ++k) {
            if (u.names[k].find_first_not_of(' ') == std::string::npos) {
                continue; // an unnamed equation stays "-blank-"
            }
            in.equations[k].name = u.names[k];
            in.equations[k].a = u.a[k];
            in.equations[k].b = u.b[k];
            in.equations[k].minDbhClass = u.equationMinDbh[k];
        }
    }
    return in;
}

} // namespace grovex
