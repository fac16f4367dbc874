#include "cli/project_document.h"

namespace grovex::cli {

PlantationPageMembers plantationPageOf(const Input1& input) {
    PlantationPageMembers page;
    page.pcrit = input.pcrit;
    page.target = input.target;
    page.hdwdpercnt = input.hdwdPercent;
    page.tba = input.tba;
    page.nyears = input.nyears;
    page.site = input.site;
    page.ts = input.ts;
    page.exage = input.exage;
    page.tp = input.tp;
    page.ps = input.psPercent;
    page.title = input.title;
    page.qdrain = input.qdrain;
    page.qlist = input.qlist;
    page.qexist = input.qexist;
    return page;
}

VolumeUnitsPageMembers volumeUnitsPageOf(const ProjectOptions& options, const Input1& input) {
    VolumeUnitsPageMembers page;
    page.vtype = input.vtype;
    if (input.vtype == kCubicFeet) {
        page.barkType = input.voltyp;
        page.minDbhClass = input.minDbhClass;
        page.voltop = input.voltop;
    } else if (input.vtype == kCordsAndBoardFeet) {
        page.boardFootRule = input.voltyp;
        page.minDbhClass = input.minDbhClass;
    } else {
        for (size_t k = 0; k < input.equations.size(); ++k) {
            page.a[k] = input.equations[k].a;
            page.b[k] = input.equations[k].b;
            page.equationMinDbh[k] = input.equations[k].minDbhClass;
            if (k < options.equations.size()) {
                const std::string& text = options.equations[k];
                page.names[k] = text.substr(0, text.find(','));
            }
        }
    }
    return page;
}

std::unique_ptr<CGROVEXDoc> projectedDocument(GrowthModel model, bool targetReached, const ProjectOptions& options,
                                              const Input1& input) {
    auto doc = std::make_unique<CGROVEXDoc>();
    doc->model = std::move(model);
    doc->model.setUi(nullptr);
    doc->run.needsInit = false;
    doc->run.targetReached = targetReached;
    doc->run.maxAge = doc->model.nyears;
    doc->display.firstShown = 0;
    doc->display.stepFirst = 0;
    doc->plantationPage = plantationPageOf(input);
    doc->volumeUnitsPage = volumeUnitsPageOf(options, input);
    return doc;
}

} // namespace grovex::cli
