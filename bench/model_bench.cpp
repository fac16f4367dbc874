// Speed of the growth model: stand initialization, a whole default projection and one stock table.
// Goal: the default plantation projected from initialization to age 60 in at most 0.5 ms.

#include "model/input1.h"

#include <benchmark/benchmark.h>

namespace {

using grovex::GrowthModel;
using grovex::Input1;

Input1 defaultPlantation(float targetAge) {
    Input1 input;
    input.target = targetAge;
    return input;
}

void BM_InitStand(benchmark::State& state) {
    GrowthModel model;
    grovex::WriteInput1(model, defaultPlantation(25));
    for (auto _ : state) {
        model.ResetModel();
        grovex::WriteInput1(model, defaultPlantation(25));
        benchmark::DoNotOptimize(model.InitStand());
    }
}
BENCHMARK(BM_InitStand);

void BM_DefaultProjectionToAge60(benchmark::State& state) {
    GrowthModel model;
    for (auto _ : state) {
        model.tables.clear();
        model.ResetModel();
        grovex::WriteInput1(model, defaultPlantation(60));
        grovex::StartRun(model);
        benchmark::DoNotOptimize(model.ProjectToTarget());
    }
}
BENCHMARK(BM_DefaultProjectionToAge60)->Unit(benchmark::kMicrosecond);

void BM_MakeTable(benchmark::State& state) {
    GrowthModel model;
    grovex::WriteInput1(model, defaultPlantation(25));
    grovex::StartRun(model);
    model.ProjectToTarget();
    for (auto _ : state) {
        model.tables.clear();
        model.MakeTable(grovex::kLiveTreeTable);
        benchmark::DoNotOptimize(model.tables.back().rows.data());
    }
}
BENCHMARK(BM_MakeTable)->Unit(benchmark::kMicrosecond);

} // namespace
