#pragma once
// The complete state of one simulation and the operations of the growth model.
//
// Numbers: state is held in float and int32; every equation is evaluated in double and rounded to
// float when its result is stored. Named working values of an equation chain are floats as well.

#include "model/result_table.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace grovex {

class Ui;
class GrowthModel;

// Told of the stand at every age a projection passes by a model it is attached to. A copy of the model
// reports to the same observer.
class StandObserver {
public:
    virtual ~StandObserver() = default;
    // The stand values of this age are up to date (the cord volume only where the projection reads it). At an
    // age where a treatment took place the stand is reported again after it.
    virtual void standAtAge(const GrowthModel& model) = 0;
};

inline constexpr int kMaxRecords = 300;
inline constexpr int kTitleCapacity = 80;      // bytes, terminator included: at most 79 characters
inline constexpr int kVolumeNameCapacity = 15; // bytes, terminator included: at most 14 characters
inline constexpr int kMaxTitleLength = kTitleCapacity - 1;
inline constexpr int kMaxVolumeNameLength = kVolumeNameCapacity - 1;

// Projection criteria (pcrit).
enum Criterion : int32_t {
    kCriterionAge = 1,
    kCriterionBasalArea = 2,
    kCriterionQuadraticMeanDbh = 3,
    kCriterionDominantHeight = 4,
    kCriterionCords = 5,
    kCriterionCrownRatio = 6,
    kCriterionRelativeSpacing = 7,
};

// Volume units (vtype).
enum VolumeUnits : int32_t { kCubicFeet = 1, kCordsAndBoardFeet = 2, kCustomEquations = 3 };

// Work values of the diameter-distribution solver; saved with the state, meaningless elsewhere.
struct WeibullFit {
    float a = 0;    // location, inches
    float b = 0;    // scale
    float c = 0;    // shape
    float mean = 0; // mean DBH in use by the solver
    float Q = 0;    // squared quadratic mean DBH
    int32_t statusCode = 0;
};

// Register slots are numbered 1 to kMaxRecords; index 0 exists only so that the numbering reads naturally.
using SlotArray = std::array<float, kMaxRecords + 1>;

class GrowthModel {
public:
    GrowthModel();

    // ---- tree record array ----
    SlotArray dbh{};
    SlotArray freq{};
    SlotArray thinFreq{};
    SlotArray ht{};
    SlotArray crownRatio{};
    SlotArray crownLength{};
    int32_t nrec = 0;

    // ---- stand values ----
    int32_t age = 0;
    float ts = 0;
    float tba = 0;
    float hd = 0;
    float dq = 0;
    float dmax = 0;
    float hMean = 0;
    float crMean = 0; // percent (a fraction between register generation and the first StandStats)
    float rs = 0;
    float cords = 0;

    // ---- Input1 ----
    std::string title; // at most kMaxTitleLength characters
    int32_t nyears = 0;
    int32_t qexist = 0;
    float site = 0;
    int32_t qlist = 0;
    float exage = 0;
    int32_t qtba = 0;
    float tp = 0;
    float ps = 0; // fraction
    int32_t qdrain = 0;
    int32_t qhdwd = 0;
    float hdwdpercnt = 0; // fraction
    int32_t pcrit = 0;
    float target = 0;
    int32_t vtype = 0;
    int32_t voltyp = 0;
    std::array<int32_t, 3> voldbh{};
    float voltop = 0;
    std::array<std::string, 3> volnam; // each at most kMaxVolumeNameLength characters
    std::array<float, 3> vola{};
    std::array<float, 3> volb{};
    std::string spareName; // a name field the reset sets to " "; only stored with the state
    int32_t reservedA = 0; // two flags the reset clears and nothing else uses
    int32_t reservedB = 0;

    // ---- Input2 and treatment state ----
    int32_t qthin = 0;
    int32_t ithin = 0;
    int32_t kt = 0;
    float rcut = 0;
    int32_t ilow = 0;
    float dlow = 0;
    float dhigh = 0;
    float tlim = 0;
    int32_t qfert = 0;
    int32_t kfert = 0;
    int32_t lbn = 0;
    int32_t qphos = 0;
    float thinRatio = 0;
    float plotArea = 0;

    WeibullFit weibull;

    // ---- table store ----
    std::vector<ResultTable> tables; // at most kMaxTables, filled in order
    int32_t lastTableKind = kLiveTreeTable;
    int32_t lastTable() const { return static_cast<int32_t>(tables.size()) - 1; }

    // Where the model's two messages go (table limit, text too long). May be null: then nothing is shown.
    void setUi(Ui* ui) { ui_ = ui; }
    Ui* ui() const { return ui_; }
    // Who is told of every age a projection passes; may be null.
    void setObserver(StandObserver* observer) { observer_ = observer; }
    StandObserver* observer() const { return observer_; }

    // ---- operations ----
    void ResetModel();
    // Builds the register from the stand-level inputs. Answers false when no diameter distribution fits
    // the stand values (the register is then left untouched and the run must not go on).
    bool InitStand();
    void StandStats();
    void GrowOneYear();
    bool TargetTest();
    void Thin();
    void MakeTable(int kind);

    // The model's side of a projection: StandStats, TargetTest, and growth until the target is met or
    // the age reaches nyears (one live-tree table is appended either way). Answers whether the target
    // was met. Requires age <= nyears.
    bool ProjectToTarget();

    // Texts are stored only up to their field size; a longer text is shortened and reported.
    void setTitle(std::string_view text);
    void setVolumeName(int equation, std::string_view text); // equation 0 to 2

    // The diameter-distribution solver and its helpers, exposed for testing.
    struct WeibullSolution {
        float b = 0;
        float c = 0;
        int32_t statusCode = 0;
    };
    WeibullSolution SolveWeibull(float mean, float Q, float a, float cLow, float cHigh);
    void GenerateTrees(float a, float b, float c);

private:
    float weibullResidual(float c);
    // StandStats, optionally without the cord volume, which costs most and is read only where a
    // projection stops or tests for cords.
    void updateStandValues(bool withCords);
    float standCords() const;
    bool criterionMet() const;
    // The text cut to at most capacity characters; a cut is reported through the Ui.
    std::string fitToField(std::string_view text, int capacity);

    Ui* ui_ = nullptr;
    StandObserver* observer_ = nullptr;
};

// Multipliers of height growth (FH) and diameter growth (FD) in the season that starts yearsSince years
// after a fertilization with lbn pounds of nitrogen per acre.
struct FertilizerResponse {
    float FH = 1.0f;
    float FD = 1.0f;
};
FertilizerResponse FertilizationMultipliers(int yearsSince, int lbn, bool phosphorus);

// The gamma function of a single-precision argument, with a single-precision result.
float GammaFn(float x);

// Merchantable cords of one tree (class 5 and up; 0 below), as used for the stand's cord volume.
float TreeCords(const GrowthModel& model, float dbh, float ht);

// The cord volume and the three volume totals of the live trees, as the stand's cord volume and the total
// row of a live-tree table made now would give them.
struct LiveStandTotals {
    float cords = 0;
    float vol1 = 0;
    float vol2 = 0;
    float vol3 = 0;
};
LiveStandTotals LiveTotals(const GrowthModel& model);

} // namespace grovex
