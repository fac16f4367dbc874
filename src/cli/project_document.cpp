#include "cli/project_document.h"

namespace grovex::cli {

std::unique_ptr<CGROVEXDoc> projectedDocument(GrowthModel model, bool targetReached, const batch::ProjectInput& input) {
    auto doc = std::make_unique<CGROVEXDoc>();
    doc->model = std::move(model);
    doc->model.setUi(nullptr);
    doc->run.needsInit = false;
    doc->run.targetReached = targetReached;
    doc->run.maxAge = doc->model.nyears;
    doc->display.firstShown = 0;
    doc->display.stepFirst = 0;
    doc->plantationPage = input.plantationPage;
    doc->volumeUnitsPage = input.volumeUnitsPage;
    return doc;
}

} // namespace grovex::cli
