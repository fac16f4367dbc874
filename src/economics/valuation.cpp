#include "economics/valuation.h"

#include "model/numerics.h"
#include "model/volumes.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace grovex::economics {
namespace {

constexpr double kLowestRate = -0.99;
constexpr double kHighestRate = 10.0;

double discounted(double amount, double r, int year) {
    return amount / std::pow(1.0 + r, year);
}

// The value of each product of the prices file that a table yields; nothing for a product it does not.
using ProductValues = std::vector<std::optional<double>>;

void addYields(ProductValues& byProduct, const Prices& prices, const ResultTable& table) {
    byProduct.resize(prices.products.size());
    for (const ProductYield& y : standYields(prices, classRowsOf(table), table.thinnedVolumes)) {
        byProduct[y.productIndex] = byProduct[y.productIndex].value_or(0.0) + y.value;
    }
}

// Product values in the order of the prices file.
void addProductFlows(std::vector<CashFlow>& flows, const Prices& prices, const ProductValues& values, int year,
                     const std::string& label, FlowKind kind) {
    for (size_t k = 0; k < values.size(); ++k) {
        if (values[k]) {
            flows.push_back(CashFlow{year, label + ": " + prices.products[k].name, *values[k], kind});
        }
    }
}

void addCost(std::vector<CashFlow>& flows, int year, const char* item, double cost, FlowKind kind) {
    if (cost != 0) {
        flows.push_back(CashFlow{year, item, -cost, kind});
    }
}

void addThinnings(std::vector<CashFlow>& flows, const Prices& prices, const RunFacts& facts) {
    // The two tables of a row and low thinning are one entry: thinned tables of one age are one thinning.
    std::map<int, ProductValues> byAge;
    for (const ResultTable& table : *facts.tables) {
        if (table.kind == kThinnedTreeTable) {
            addYields(byAge[table.age], prices, table);
        }
    }
    for (const auto& [age, values] : byAge) {
        const int year = age - facts.startAge;
        addCost(flows, year, "thinning cost", prices.costs.thinning, FlowKind::Thinning);
        addProductFlows(flows, prices, values, year, "thinning", FlowKind::Thinning);
    }
}

double fertilizationCost(const Costs& costs, const Fertilization& f) {
    const FertilizationCosts& c = costs.fertilization;
    return c.perApplication + c.perPoundNitrogen * f.poundsNitrogen + (f.phosphorus ? c.phosphorus : 0.0);
}

// Every flow but the final harvest's, for a harvest in year T.
std::vector<CashFlow> flowsBeforeHarvest(const Prices& prices, const RunFacts& facts, int T) {
    std::vector<CashFlow> flows;
    if (facts.bareLand) {
        addCost(flows, 0, "establishment", prices.costs.establishment, FlowKind::Establishment);
    }
    for (int year = 1; year <= T; ++year) {
        addCost(flows, year, "annual cost", prices.costs.annual, FlowKind::Annual);
    }
    addThinnings(flows, prices, facts);
    for (const Fertilization& f : facts.fertilizations) {
        addCost(flows, f.age - facts.startAge, "fertilization", fertilizationCost(prices.costs, f),
                FlowKind::Fertilization);
    }
    return flows;
}

// The age, among those recorded up to the run's final harvest, whose final harvest ranks best, and its LEV or
// NPV.
void findBestAge(const HarvestAges& ages, const RunFacts& facts, Valuation& v) {
    for (const RunRecorder::AgeValue& at : facts.yearlyValues) {
        if (at.age > v.harvestAge) {
            continue;
        }
        const std::optional<double> measure = ages.rankValue(at.age);
        if (measure && (!v.bestAge || *measure > *v.valueAtBestAge)) {
            v.bestAge = at.age;
            v.valueAtBestAge = measure;
        }
    }
}

// A stable sort by year. The flows come as a run already in year order (the establishment and the annual
// costs) followed by a few more, so only those few are sorted and merged in.
void sortByYear(std::vector<CashFlow>& flows) {
    const auto byYear = [](const CashFlow& a, const CashFlow& b) { return a.year < b.year; };
    const auto unsorted = std::is_sorted_until(flows.begin(), flows.end(), byYear);
    std::stable_sort(unsorted, flows.end(), byYear);
    std::inplace_merge(flows.begin(), unsorted, flows.end(), byYear);
}

} // namespace

void noteFertilization(const GrowthModel& model, std::vector<Fertilization>& fertilizations) {
    const bool noted = !fertilizations.empty() && fertilizations.back().age == model.kfert;
    if (model.qfert != 0 && model.kfert > 0 && !noted) {
        fertilizations.push_back(Fertilization{model.kfert, model.lbn, model.qphos != 0});
    }
}

void RunRecorder::standAtAge(const GrowthModel& model) {
    liveClassRows(model, rows_, smallestClass_);
    const double value = standValue(prices_, rows_, UsesThinnedCoefficients(model.qthin, model.ithin));
    if (keepAtAge(values_, AgeValue{model.age, value})) {
        fertilizations_.clear();
    }
    noteFertilization(model, fertilizations_);
}

void RunRecorder::keepUpTo(int age) {
    dropAfter(values_, age);
    dropAfter(fertilizations_, age);
}

RunFacts runFacts(const GrowthModel& model, const RunRecorder* recorder) {
    if (recorder != nullptr) {
        return runFacts(model, model.tables, &recorder->values(), recorder->fertilizations());
    }
    return runFacts(model, model.tables, nullptr);
}

RunFacts runFacts(const GrowthModel& model, const std::vector<ResultTable>& tables,
                  const std::vector<RunRecorder::AgeValue>* yearlyValues,
                  const std::vector<Fertilization>& fertilizations) {
    RunFacts facts;
    facts.bareLand = model.qexist == 0;
    facts.startAge = facts.bareLand ? 0 : numerics::wholeYears(model.exage);
    facts.tables = &tables;
    if (yearlyValues != nullptr) {
        facts.fertilizations = fertilizations;
        facts.yearlyValues = *yearlyValues;
    } else {
        if (model.kfert > 0 && model.lbn > 0) {
            facts.fertilizations.push_back(Fertilization{model.kfert, model.lbn, model.qphos != 0});
            facts.notes.emplace_back("A saved simulation keeps only its latest fertilization; an earlier one is not "
                                     "counted.");
        }
        facts.notes.emplace_back("The best harvest age needs the stand of every year, which a saved simulation does "
                                 "not keep: play the run's macro to get it.");
    }
    return facts;
}

double presentValue(const std::vector<CashFlow>& flows, double r) {
    double sum = 0;
    for (const CashFlow& f : flows) {
        sum += discounted(f.amount, r, f.year);
    }
    return sum;
}

double landExpectationValue(double npv, double r, int T) {
    const double growth = std::pow(1.0 + r, T);
    return npv * growth / (growth - 1.0);
}

double equivalentAnnualAnnuity(double npv, double r, int T) {
    return npv * r / (1.0 - std::pow(1.0 + r, -T));
}

namespace {

// The flows summed by year (years from 0), so that the present value at a rate r is one pass of Horner's rule
// in 1 / (1 + r): a root search evaluates it at many rates without a power per flow.
class YearlyAmounts {
public:
    explicit YearlyAmounts(const std::vector<CashFlow>& flows) {
        for (const CashFlow& f : flows) {
            if (f.year < 0) {
                byYear_.clear();
                before_ = true;
                return;
            }
            byYear_.resize(std::max(byYear_.size(), static_cast<size_t>(f.year) + 1), 0.0);
            byYear_[static_cast<size_t>(f.year)] += f.amount;
        }
    }
    double presentValue(const std::vector<CashFlow>& flows, double r) const {
        if (before_) {
            return economics::presentValue(flows, r);
        }
        const double v = 1.0 / (1.0 + r);
        double sum = 0;
        for (size_t t = byYear_.size(); t-- > 0;) {
            sum = sum * v + byYear_[t];
        }
        return sum;
    }
    // The rate of change of the present value with r, for a Newton step; nothing for flows before year 0.
    std::optional<double> slope(double r) const {
        if (before_) {
            return std::nullopt;
        }
        const double v = 1.0 / (1.0 + r);
        double sum = 0;
        double derivative = 0; // of the sum with v
        for (size_t t = byYear_.size(); t-- > 0;) {
            derivative = derivative * v + sum;
            sum = sum * v + byYear_[t];
        }
        return derivative * -v * v;
    }

private:
    std::vector<double> byYear_;
    bool before_ = false; // a flow before year 0: summed flow by flow
};

} // namespace

std::optional<double> internalRateOfReturn(const std::vector<CashFlow>& flows, std::string& why) {
    bool positive = false;
    bool negative = false;
    for (const CashFlow& f : flows) {
        positive = positive || f.amount > 0;
        negative = negative || f.amount < 0;
    }
    if (!positive || !negative) {
        why = "There is no internal rate of return: the cash flows do not change sign.";
        return std::nullopt;
    }
    const YearlyAmounts amounts(flows);
    double low = kLowestRate;
    double high = kHighestRate;
    const double atLow = amounts.presentValue(flows, low);
    if ((atLow > 0) == (amounts.presentValue(flows, high) > 0)) {
        why = "There is no internal rate of return from -99 to 1000 percent.";
        return std::nullopt;
    }
    // Newton's steps while they stay inside the interval known to hold the rate, halving it otherwise.
    double rate = std::clamp(0.05, low, high);
    for (int step = 0; step < 200; ++step) {
        const double value = amounts.presentValue(flows, rate);
        if (value == 0) {
            return rate;
        }
        ((value > 0) == (atLow > 0) ? low : high) = rate;
        const std::optional<double> slope = amounts.slope(rate);
        double next = slope && *slope != 0 ? rate - value / *slope : low;
        if (!(next > low && next < high)) {
            next = 0.5 * (low + high);
        }
        const bool settled = std::abs(next - rate) <= 1e-14 * (1.0 + std::abs(rate)) || high - low <= 1e-13;
        rate = next;
        if (settled) {
            break;
        }
    }
    return rate;
}

Valuation valueRun(const Prices& prices, const RunFacts& facts) {
    Valuation v;
    v.notes = facts.notes;
    v.levRanked = facts.bareLand;
    v.startAge = facts.startAge;
    const std::vector<ResultTable>& tables = *facts.tables;
    if (tables.empty()) {
        v.notes.insert(v.notes.begin(), "The simulation has no tables to value.");
        return v;
    }
    const ResultTable& last = tables.back();
    v.harvestAge = last.age;
    v.harvestYear = last.age - facts.startAge;
    const double r = prices.discountRate;
    const int T = v.harvestYear;

    v.flows = flowsBeforeHarvest(prices, facts, T);
    ProductValues harvest;
    addYields(harvest, prices, last);
    addProductFlows(v.flows, prices, harvest, T, "final harvest", FlowKind::FinalHarvest);
    addCost(v.flows, T, "harvest cost", prices.costs.harvest, FlowKind::FinalHarvest);
    sortByYear(v.flows);

    v.npv = presentValue(v.flows, r);
    if (T <= 0) {
        v.notes.emplace_back(
            "The run ends where it starts, so there is no rotation to value beyond the present value.");
        return v;
    }
    if (facts.bareLand) {
        v.lev = landExpectationValue(*v.npv, r, T);
    } else {
        v.notes.push_back("LEV is given for bare land only: this run starts from an existing stand of age " +
                          std::to_string(facts.startAge) + ".");
    }
    v.eaa = equivalentAnnualAnnuity(*v.npv, r, T);
    std::string why;
    v.irr = internalRateOfReturn(v.flows, why);
    if (!v.irr) {
        v.notes.push_back(why);
    }
    findBestAge(HarvestAges(prices, facts, v.flows), facts, v);
    return v;
}

namespace {

std::vector<CashFlow> sortedFlowsBeforeHarvest(const Prices& prices, const RunFacts& facts) {
    if (facts.yearlyValues.empty()) {
        return {};
    }
    std::vector<CashFlow> flows = flowsBeforeHarvest(prices, facts, facts.yearlyValues.back().age - facts.startAge);
    sortByYear(flows);
    return flows;
}

} // namespace

HarvestAges::HarvestAges(const Prices& prices, const RunFacts& facts)
    : HarvestAges(prices, facts, sortedFlowsBeforeHarvest(prices, facts)) {}

HarvestAges::HarvestAges(const Prices& prices, const RunFacts& facts, const std::vector<CashFlow>& flows)
    : prices_(prices), facts_(facts) {
    if (facts.yearlyValues.empty()) {
        return;
    }
    double sum = 0;
    for (const CashFlow& f : flows) {
        if (f.kind != FlowKind::FinalHarvest) {
            sum += discounted(f.amount, prices.discountRate, f.year);
            flows_.push_back(Discounted{f.year, sum});
        }
    }
}

std::optional<double> HarvestAges::npv(int age) const {
    const std::vector<RunRecorder::AgeValue>& values = facts_.yearlyValues;
    const int T = age - facts_.startAge;
    if (T <= 0 || values.empty() || age < values.front().age || age > values.back().age) {
        return std::nullopt;
    }
    const RunRecorder::AgeValue& at = values[static_cast<size_t>(age - values.front().age)];
    if (at.age != age) {
        return std::nullopt;
    }
    const double r = prices_.discountRate;
    // The flows of the years up to T: the running sum of the last of them.
    const auto after =
        std::upper_bound(flows_.begin(), flows_.end(), T, [](int year, const Discounted& f) { return year < f.year; });
    const double before = after == flows_.begin() ? 0.0 : std::prev(after)->presentValueSoFar;
    return before + discounted(at.value - prices_.costs.harvest, r, T);
}

std::optional<double> HarvestAges::rankValue(int age) const {
    const std::optional<double> atAge = npv(age);
    if (!atAge || !facts_.bareLand) {
        return atAge;
    }
    return landExpectationValue(*atAge, prices_.discountRate, age - facts_.startAge);
}

} // namespace grovex::economics
