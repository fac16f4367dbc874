#include "dialogs/initialize_sheet.h"

namespace grovex {

Input1 makeInput1(const PlantationValues& p, const VolumeUnitsValues& u) {
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
    in.voltyp = u.voltyp;
    in.minDbhClass = u.minDbhClass;
    in.voltop = u.voltop;
    in.equations = u.equations;
    return in;
}

Checked<Input1> validateInitializeSheet(const PlantationTexts& plantation, const PlantationEnabled& enabled,
                                        const CurrentStand& stand, const VolumeUnitsTexts& units) {
    const Checked<PlantationValues> page0 = validatePlantation(plantation, enabled, stand);
    if (!page0) {
        return page0.error();
    }
    const Checked<VolumeUnitsValues> page1 = validateVolumeUnits(units);
    if (!page1) {
        return page1.error();
    }
    return makeInput1(page0.value(), page1.value());
}

} // namespace grovex
