// Speed of the regime search and of valuing a run.
// Goals: at least 2,000 regimes (schedule and final-harvest age) valued per second per core on a space of 60
// schedules and 40 harvest ages; valuing a run, its yearly best age included, adds at most 10 percent to the
// projection.
//
// `grovex-optimize-bench --instructions projection|valued N` runs one workload N times without the benchmark
// library, for instruction counts under `valgrind --tool=callgrind` (bench/optimize_bench.sh).

#include "batch/stand_search.h"
#include "economics/optimizer.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

using namespace grovex;
using namespace grovex::economics;

// Illustrative prices: three products by DBH class and every kind of cost.
const char* const kPrices = R"({"discount_rate": 0.05, "currency": "USD", "tons_per_cubic_foot": 0.031,
  "products": [{"name": "pulpwood", "min_dbh": 5, "max_dbh": 8, "unit": "ton", "top": 3, "price": 9},
               {"name": "chip-n-saw", "min_dbh": 9, "max_dbh": 11, "unit": "ton", "top": 4, "price": 18},
               {"name": "sawtimber", "min_dbh": 12, "unit": "mbf_doyle", "price": 250}],
  "costs": {"establishment": 350, "annual": 8, "thinning": 25, "harvest": 0,
            "fertilization": {"per_application": 15, "per_pound_nitrogen": 0.6, "phosphorus": 20}}})";

// Thinnings: a row thinning (1 in 4), two low thinnings and two row-and-low thinnings at 12, or none (6);
// fertilizations at 15 or 18 with 100 to 300 pounds and phosphorus (10): 60 schedules. Harvests at 21 to 60.
const char* const kSpace = R"({"harvest_ages": [21, 60],
  "thinning": {"none": true, "kinds": ["row", "low", "row_and_low"], "ages": [12], "row_intervals": [4],
               "residual_basal_areas": [60, 70]},
  "fertilization": {"none": false, "ages": [15, 18], "nitrogen": [100, 150, 200, 250, 300],
                    "phosphorus": [true]}})";

Prices prices() {
    Prices p;
    if (auto refused = parsePrices(kPrices, p)) {
        std::cerr << *refused << '\n';
        std::exit(1);
    }
    return p;
}

SearchStand stand() {
    batch::StandOptions options{};
    options.site = "65";
    SearchStand s;
    if (auto refused = batch::searchStand(options, batch::optionName, nullptr, s)) {
        std::cerr << refused->message << '\n';
        std::exit(1);
    }
    return s;
}

void BM_SearchSixtySchedulesFortyAges(benchmark::State& state) {
    const Prices p = prices();
    const SearchStand s = stand();
    SearchSpace space;
    if (auto refused = parseSearchSpace(kSpace, space)) {
        state.SkipWithError(refused->c_str());
        return;
    }
    int64_t valued = 0;
    for (auto _ : state) {
        const SearchResult result = searchRegimes(p, space, s, 10);
        valued += result.valued;
        benchmark::DoNotOptimize(result.best.data());
    }
    state.SetItemsProcessed(valued);
    state.counters["regimes"] =
        benchmark::Counter(static_cast<double>(valued) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_SearchSixtySchedulesFortyAges)->Unit(benchmark::kMillisecond);

// The projection a value command makes: bare land, site 65, to age 40.
void project(GrowthModel& model, StandObserver* observer) {
    Input1 input;
    input.site = 65;
    input.target = 40;
    model.tables.clear();
    model.ResetModel();
    model.setObserver(observer);
    WriteInput1(model, input);
    StartRun(model);
    model.ProjectToTarget();
}

void projectOnly(GrowthModel& model, const Prices&) {
    project(model, nullptr);
}

// The same projection with a recorder attached, valued with its yearly best age.
void projectValued(GrowthModel& model, const Prices& p) {
    RunRecorder recorder(p);
    project(model, &recorder);
    model.setObserver(nullptr);
    benchmark::DoNotOptimize(valueRun(p, runFacts(model, &recorder)).bestAge);
}

template <void (*Run)(GrowthModel&, const Prices&)> void BM_Projection(benchmark::State& state) {
    const Prices p = prices();
    GrowthModel model;
    for (auto _ : state) {
        Run(model, p);
        benchmark::DoNotOptimize(model.tables.data());
    }
}
BENCHMARK(BM_Projection<projectOnly>)->Name("BM_ProjectionToAge40")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Projection<projectValued>)->Name("BM_ProjectionToAge40Valued")->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--instructions") {
        const Prices p = prices();
        GrowthModel model;
        const bool valued = std::string(argv[2]) == "valued";
        for (int k = std::atoi(argv[3]); k > 0; --k) {
            (valued ? projectValued : projectOnly)(model, p);
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
