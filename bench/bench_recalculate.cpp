// Recalculate as the main window runs it, without the window: the data set's
// coefficients from its grain, then the ages of a drawn history of 1,000
// points (a cooling from 150 °C over 500 time units, with reheatings) by the
// data set's method. One Recalculate per iteration.
#include "datamodule.h"
#include "jobinputs.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <vector>

namespace {

std::vector<FPOINT> drawnHistory(int points) {
    std::vector<FPOINT> drawn;
    for (int i = 0; i < points; ++i) {
        const double t = 500.0 * i / (points - 1);
        const double temp = 150.0 - 0.26 * t + 15.0 * std::sin(t / 40.0);
        drawn.push_back({float(t), float(temp)});
    }
    return drawn;
}

void recalculate(benchmark::State &state, ModelMethod method) {
    TDataModule1 dataSet;
    std::ifstream file(TARVEL_EXAMPLES_DIR "/default-grain.txt");
    dataSet.ReadDataFile(file);
    dataSet.ModelData.Method = method;
    const std::vector<FPOINT> drawn = drawnHistory(int(state.range(0)));
    for (auto _ : state) {
        storeCoefficients(dataSet, geometryCoefficients(geometryJobInput(dataSet)));
        const std::vector<double> ages = historyAges(ageJobInput(dataSet, drawn));
        benchmark::DoNotOptimize(ages.data());
    }
}

} // namespace

BENCHMARK_CAPTURE(recalculate, fast, ModelMethod::Fast)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(recalculate, precise, ModelMethod::Precise)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
