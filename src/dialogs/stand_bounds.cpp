#include "dialogs/stand_bounds.h"

#include "results/document.h"

namespace grovex {

StandBounds standBoundsOf(const CGROVEXDoc* document) {
    StandBounds stand;
    if (document == nullptr) {
        return stand;
    }
    const GrowthModel& model = document->model;
    stand.held = model.hd > 0;
    stand.dq = model.dq;
    stand.hd = model.hd;
    stand.cords = model.cords;
    stand.crMean = model.crMean;
    stand.rs = model.rs;
    return stand;
}

} // namespace grovex
