#pragma once
// The economics of a run: its cash flows by year and the measures a forester ranks regimes by. Amounts are
// per acre, costs negative, each flow at the end of its year, year 0 the start of the run (age 0 of a
// plantation, the stand's age for an existing stand).

#include "economics/prices.h"
#include "economics/stand_value.h"
#include "model/growth_model.h"

#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace grovex::economics {

enum class FlowKind { Establishment, Annual, Thinning, Fertilization, FinalHarvest };

struct CashFlow {
    int year = 0;
    std::string item; // "establishment", "thinning: pulpwood", "final harvest: sawtimber", ...
    double amount = 0;
    FlowKind kind = FlowKind::Annual;
};

struct Fertilization {
    int age = 0;
    int poundsNitrogen = 0;
    bool phosphorus = false;
};

// Keeps `entry` as the record of its age among `records`, which are in age order: the same age replaces the
// earlier record (a treatment reports its age again), and an age lower than the last starts a new run, which
// is answered true after the earlier records were dropped.
template <class Entry> bool keepAtAge(std::vector<Entry>& records, std::type_identity_t<Entry>&& entry) {
    const bool newRun = !records.empty() && entry.age < records.back().age;
    if (newRun) {
        records.clear();
    }
    if (!records.empty() && records.back().age == entry.age) {
        records.back() = std::move(entry);
    } else {
        records.push_back(std::move(entry));
    }
    return newRun;
}

// Forgets the records of ages after `age`.
template <class Entry> void dropAfter(std::vector<Entry>& records, int age) {
    std::erase_if(records, [age](const Entry& e) { return e.age > age; });
}

// Notes the fertilization the model holds, unless it was noted already: a fertilization is seen when the
// projection after it starts.
void noteFertilization(const GrowthModel& model, std::vector<Fertilization>& fertilizations);

// Keeps, while a run projects, the value of the live stand at every age and the run's fertilizations (a
// fertilization is seen when the projection after it starts): attach it to the model with setObserver. An
// age lower than the last one seen starts a new run.
class RunRecorder : public StandObserver {
public:
    explicit RunRecorder(const Prices& prices) : prices_(prices), smallestClass_(smallestProductClass(prices)) {}
    void standAtAge(const GrowthModel& model) override;

    struct AgeValue {
        int age = 0;
        double value = 0; // the live stand's worth, per acre
    };
    const std::vector<AgeValue>& values() const { return values_; }
    const std::vector<Fertilization>& fertilizations() const { return fertilizations_; }
    // Forgets what was recorded after `age` (a command rolled back to that age).
    void keepUpTo(int age);

private:
    const Prices& prices_;
    int smallestClass_; // the trees of smaller classes are worth nothing and are not gathered
    std::vector<AgeValue> values_;
    std::vector<Fertilization> fertilizations_;
    std::vector<ClassRow> rows_; // reused from year to year
};

// What a run is valued from.
struct RunFacts {
    bool bareLand = true;
    int startAge = 0;
    const std::vector<ResultTable>* tables = nullptr;
    std::vector<Fertilization> fertilizations;
    // The live stand's worth at every age, when the run was recorded; empty otherwise.
    std::vector<RunRecorder::AgeValue> yearlyValues;
    std::vector<std::string> notes; // what the facts leave out
};

// The facts of a model's run, from its tables and, when given, what a recorder kept during it.
RunFacts runFacts(const GrowthModel& model, const RunRecorder* recorder);
// The facts of a run whose tables are `tables` (those of the model's latest run), with the yearly values and
// fertilizations recorded during it; without a record (nothing given), those the tables alone allow.
RunFacts runFacts(const GrowthModel& model, const std::vector<ResultTable>& tables,
                  const std::vector<RunRecorder::AgeValue>* yearlyValues,
                  const std::vector<Fertilization>& fertilizations = {});

struct Valuation {
    std::vector<CashFlow> flows; // in year order
    int startAge = 0;
    int harvestAge = 0;
    int harvestYear = 0;
    std::optional<double> npv;
    std::optional<double> lev;
    std::optional<double> irr;
    std::optional<double> eaa;
    std::optional<int> bestAge;
    std::optional<double> valueAtBestAge; // LEV (bare land) or NPV (existing stand) at the best age
    std::vector<std::string> notes;       // why a measure is not given, and what the valuation left out
    bool levRanked = true;                // bare land: regimes rank by LEV; otherwise by NPV
};

Valuation valueRun(const Prices& prices, const RunFacts& facts);

// The worth of ending a recorded run with its final harvest at any age the recorder kept, without another
// projection: the run's flows up to that year (establishment, annual costs, thinnings, fertilizations) and the
// live stand of that age less the harvest cost. Keeps references to both arguments.
class HarvestAges {
public:
    HarvestAges(const Prices& prices, const RunFacts& facts);
    // The same, with the run's cash flows already made (in year order); their final harvest is left out.
    HarvestAges(const Prices& prices, const RunFacts& facts, const std::vector<CashFlow>& flows);
    // The NPV of a final harvest at `age`; nothing when the run kept no stand of that age or the age is not
    // after the run's start.
    std::optional<double> npv(int age) const;
    // What regimes rank by at that age: LEV for bare land, NPV for an existing stand.
    std::optional<double> rankValue(int age) const;

private:
    struct Discounted {
        int year = 0;
        double presentValueSoFar = 0; // of this flow and every one before it
    };
    const Prices& prices_;
    const RunFacts& facts_;
    std::vector<Discounted> flows_; // every flow but the final harvest's, in year order, to the last age kept
};

// The measures themselves, for the cash flows at the rate r.
double presentValue(const std::vector<CashFlow>& flows, double r);
// Faustmann's land expectation value of a rotation of T years with present value npv.
double landExpectationValue(double npv, double r, int T);
// The level amount per year over T years with the same present value.
double equivalentAnnualAnnuity(double npv, double r, int T);
// The rate that makes the present value 0; nothing (and `why`) when there is none.
std::optional<double> internalRateOfReturn(const std::vector<CashFlow>& flows, std::string& why);

} // namespace grovex::economics
