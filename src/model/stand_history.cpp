#include "model/stand_history.h"

#include "model/numerics.h"

namespace grovex {

StandPoint MeasureStand(const GrowthModel& model) {
    const LiveStandTotals totals = LiveTotals(model);
    StandPoint point;
    point.age = model.age;
    point.values = {
        model.ts,     model.tba,
        model.dq,     model.hd,
        model.hMean,  model.rs,
        model.crMean, totals.cords,
        totals.vol1,  totals.vol2,
        totals.vol3,  model.qhdwd != 0 ? numerics::f32(static_cast<double>(model.hdwdpercnt) * 100.0) : -1.0f};
    return point;
}

void StandHistory::record(const GrowthModel& model) {
    if (points_.size() < kMaxPoints) {
        add(MeasureStand(model));
    }
}

void StandHistory::add(const StandPoint& point) {
    if (points_.size() < kMaxPoints && (points_.empty() || !(points_.back() == point))) {
        points_.push_back(point);
    }
}

void StandHistory::assign(std::vector<StandPoint> points) {
    if (points.size() > kMaxPoints) {
        points.resize(kMaxPoints);
    }
    points_ = std::move(points);
}

void StandHistoryRecorder::standAtAge(const GrowthModel& model) {
    history_.record(model);
    if (next_ != nullptr) {
        next_->standAtAge(model);
    }
}

RecordingScope::RecordingScope(GrowthModel& model, StandHistory& history)
    : model_(model), previous_(model.observer()), recorder_(history, previous_) {
    model_.setObserver(&recorder_);
}

} // namespace grovex
