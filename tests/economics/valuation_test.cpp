// The measures against their closed forms, and the best harvest age of a run against separate runs.

#include "economics/valuation.h"
#include "model/input1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using namespace grovex;
using namespace grovex::economics;

std::vector<CashFlow> oneHarvest(double C, double R, int T) {
    return {CashFlow{0, "establishment", -C, FlowKind::Establishment},
            CashFlow{T, "final harvest", R, FlowKind::FinalHarvest}};
}

TEST(Measures, OneHarvestAfterEstablishment) {
    const double C = 300, R = 2500, r = 0.06;
    const int T = 25;
    const auto flows = oneHarvest(C, R, T);
    const double npv = R / std::pow(1 + r, T) - C;
    EXPECT_NEAR(presentValue(flows, r), npv, 1e-9);
    EXPECT_NEAR(landExpectationValue(npv, r, T), npv * std::pow(1 + r, T) / (std::pow(1 + r, T) - 1), 1e-9);
    std::string why;
    EXPECT_NEAR(*internalRateOfReturn(flows, why), std::pow(R / C, 1.0 / T) - 1, 1e-10);
    // The level payment over T years with the same present value: npv = A (1 - (1+r)^-T) / r.
    const double A = equivalentAnnualAnnuity(npv, r, T);
    EXPECT_NEAR(A * (1 - std::pow(1 + r, -T)) / r, npv, 1e-9);
}

TEST(Measures, AnnualCostsAreAnAnnuityAndFlowsOfOneSignHaveNoRate) {
    std::vector<CashFlow> flows;
    for (int year = 1; year <= 30; ++year) {
        flows.push_back(CashFlow{year, "annual cost", -8, FlowKind::Annual});
    }
    EXPECT_NEAR(presentValue(flows, 0.05), -8 * (1 - std::pow(1.05, -30)) / 0.05, 1e-9);
    std::string why;
    EXPECT_FALSE(internalRateOfReturn(flows, why).has_value());
    EXPECT_EQ(why, "There is no internal rate of return: the cash flows do not change sign.");
}

std::unique_ptr<GrowthModel> projected(int targetAge, StandObserver* observer) {
    auto model = std::make_unique<GrowthModel>();
    model->setObserver(observer);
    model->ResetModel();
    Input1 input;
    input.target = static_cast<float>(targetAge);
    WriteInput1(*model, input);
    EXPECT_TRUE(StartRun(*model));
    model->ProjectToTarget();
    model->setObserver(nullptr);
    return model;
}

Prices southernPine() {
    Prices p;
    EXPECT_EQ(parsePrices(R"({"discount_rate": 0.05, "currency": "USD", "tons_per_cubic_foot": 0.031,
        "products": [{"name": "pulp", "min_dbh": 5, "max_dbh": 8, "unit": "ton", "top": 3, "price": 9},
                     {"name": "cns", "min_dbh": 9, "max_dbh": 11, "unit": "ton", "top": 4, "price": 18},
                     {"name": "saw", "min_dbh": 12, "unit": "mbf_doyle", "price": 250}],
        "costs": {"establishment": 350, "annual": 8, "harvest": 20}})",
                          p),
              std::nullopt);
    return p;
}

// A bare-land run projected to age 40 with the recorder attached, and the same stand projected to each age
// alone: the best age of the one is the best of the others, and its value theirs.
TEST(BestAge, EqualsTheBestOfProjectingToEachAgeSeparately) {
    const Prices prices = southernPine();
    RunRecorder recorder(prices);
    const auto whole = projected(40, &recorder);
    const Valuation v = valueRun(prices, runFacts(*whole, &recorder));
    ASSERT_TRUE(v.bestAge.has_value());

    int bestAge = 0;
    double bestLev = -1e300;
    for (int age = 10; age <= 40; ++age) {
        const auto alone = projected(age, nullptr);
        RunFacts facts = runFacts(*alone, nullptr);
        const Valuation single = valueRun(prices, facts);
        if (*single.lev > bestLev) {
            bestLev = *single.lev;
            bestAge = age;
        }
        if (age == 40) {
            EXPECT_DOUBLE_EQ(*single.npv, *v.npv); // the run's own final harvest
        }
    }
    EXPECT_EQ(*v.bestAge, bestAge);
    EXPECT_NEAR(*v.valueAtBestAge, bestLev, 1e-9 * std::abs(bestLev));
}

TEST(RunValuation, ExistingStandHasNoLevAndSaysWhy) {
    const Prices prices = southernPine();
    GrowthModel model;
    model.ResetModel();
    Input1 input;
    input.qexist = true;
    input.exage = 12;
    input.ts = 600;
    input.target = 30;
    WriteInput1(model, input);
    ASSERT_TRUE(StartRun(model));
    model.ProjectToTarget();
    const Valuation v = valueRun(prices, runFacts(model, nullptr));
    EXPECT_FALSE(v.lev.has_value());
    EXPECT_EQ(v.harvestYear, 18);
    EXPECT_EQ(v.flows.front().item, "annual cost"); // no establishment for an existing stand
    EXPECT_EQ(v.flows.front().year, 1);
    bool explained = false;
    for (const std::string& note : v.notes) {
        explained = explained || note.find("LEV is given for bare land only") != std::string::npos;
    }
    EXPECT_TRUE(explained);
}

} // namespace
