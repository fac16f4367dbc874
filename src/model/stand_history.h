#pragma once
// The stand values of every year a projection passed, for the stand development charts: one point per age,
// and a second point at an age where a treatment changed the stand.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/growth_model.h"

namespace grovex {

// The values a point holds, in the order of the point's array and of the document file.
enum class StandValue : int {
    TreesPerAcre,
    BasalArea,
    QuadraticMeanDbh,
    DominantHeight,
    AverageHeight,
    RelativeSpacing,
    CrownRatio,
    CordVolume,
    Volume1,
    Volume2,
    Volume3,
    HardwoodPercent, // -1 for a stand without hardwood competition
};
inline constexpr size_t kStandValueCount = 12;
constexpr size_t index(StandValue value) {
    return static_cast<size_t>(value);
}

struct StandPoint {
    int32_t age = 0;
    std::array<float, kStandValueCount> values{};
    bool operator==(const StandPoint&) const = default;
};

// The stand as it stands now: the model's statistics with the cord volume and the three volume totals of a
// live-tree table worked out from the register. The statistics must be up to date (StandStats or a
// projection's yearly update).
StandPoint MeasureStand(const GrowthModel& model);

// A run's points in the order they were recorded. Ages never go back within a run: a new run clears them.
class StandHistory {
public:
    // A run passes at most a few hundred ages; past this many points nothing more is kept.
    static constexpr size_t kMaxPoints = 1000;

    // Adds the stand's point unless it repeats the last one exactly (a projection that starts where the
    // previous one stopped, without a treatment in between).
    void record(const GrowthModel& model);
    void add(const StandPoint& point);
    void clear() { points_.clear(); }

    const std::vector<StandPoint>& points() const { return points_; }
    bool empty() const { return points_.empty(); }
    // Replaces every point (a document read from a file); at most kMaxPoints are kept.
    void assign(std::vector<StandPoint> points);

private:
    std::vector<StandPoint> points_;
};

// Records into a history every age a projection reports, and tells the observer that was attached before.
class StandHistoryRecorder : public StandObserver {
public:
    StandHistoryRecorder(StandHistory& history, StandObserver* next) : history_(history), next_(next) {}
    void standAtAge(const GrowthModel& model) override;

private:
    StandHistory& history_;
    StandObserver* next_;
};

// Attaches a recorder to a model for one scope and puts the previous observer back afterwards.
class RecordingScope {
public:
    RecordingScope(GrowthModel& model, StandHistory& history);
    ~RecordingScope() { model_.setObserver(previous_); }
    RecordingScope(const RecordingScope&) = delete;
    RecordingScope& operator=(const RecordingScope&) = delete;

private:
    GrowthModel& model_;
    StandObserver* previous_;
    StandHistoryRecorder recorder_;
};

} // namespace grovex
