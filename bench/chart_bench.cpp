// The stand development chart at its largest everyday use: 5 simulations of 100 years with all 12 stand
// values, each with a thinning every 20 years and a table every 5, laid out and drawn onto the recording
// canvas of the tests. The goal is one frame, 16 ms.

#include "charts/stand_chart.h"
#include "support/fake_canvas.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace grovex;
using namespace grovex::charts;

SimulationSeries simulation(int number) {
    SimulationSeries series;
    series.name = "GROVEX" + std::to_string(number);
    for (size_t v = 0; v < kStandValueCount; ++v) {
        series.info[v] = {"Value " + std::to_string(v), "per acre"};
        double level = 10.0 * static_cast<double>(v + 1) + number;
        for (int age = 0; age <= 100; ++age) {
            level += std::sqrt(age + 1.0);
            series.lines[v].push_back({static_cast<double>(age), level});
            if (age % 20 == 19) {
                level *= 0.6;
                series.lines[v].push_back({static_cast<double>(age), level});
            }
            if (age % 5 == 0) {
                series.marks[v].push_back({static_cast<double>(age), level});
            }
        }
    }
    return series;
}

void BM_ChartLayoutAndPaint(benchmark::State& state) {
    StandChart chart;
    std::vector<SimulationSeries> simulations;
    for (int s = 1; s <= 5; ++s) {
        simulations.push_back(simulation(s));
    }
    chart.setSimulations(std::move(simulations));
    std::vector<StandValue> values;
    for (size_t v = 0; v < kStandValueCount; ++v) {
        values.push_back(static_cast<StandValue>(v));
    }
    chart.setValues(values);
    const fakes::FixedPitchMetrics metrics;
    for (auto _ : state) {
        fakes::FakeCanvas canvas({0, 0, 1400, 900});
        chart.layout(metrics, {0, 0, 1400, 900});
        chart.paint(canvas);
        benchmark::DoNotOptimize(canvas.calls().size());
    }
}
BENCHMARK(BM_ChartLayoutAndPaint)->Unit(benchmark::kMillisecond);

} // namespace
