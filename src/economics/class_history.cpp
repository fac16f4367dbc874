#include "economics/class_history.h"

#include "model/volumes.h"

namespace grovex::economics {

void ClassHistory::standAtAge(const GrowthModel& model) {
    Stand stand{model.age, UsesThinnedCoefficients(model.qthin, model.ithin), {}};
    liveClassRows(model, stand.rows);
    if (keepAtAge(stands_, std::move(stand))) {
        fertilizations_.clear();
    }
    noteFertilization(model, fertilizations_);
}

std::vector<RunRecorder::AgeValue> ClassHistory::values(const Prices& prices) const {
    std::vector<RunRecorder::AgeValue> values;
    values.reserve(stands_.size());
    for (const Stand& stand : stands_) {
        values.push_back({stand.age, standValue(prices, stand.rows, stand.thinnedCoefficients)});
    }
    return values;
}

void ClassHistory::clear() {
    stands_.clear();
    fertilizations_.clear();
}

} // namespace grovex::economics
