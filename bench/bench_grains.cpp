// A sample of 100 grains under one drawn history of 1,000 points, as the
// Grains window and tarvel-calc --grains predict it: the sample's run built
// once, then every grain on every core. Radii 30-120 µm, U 5-100, Th 5-200 and
// Sm 0-500 ppm, drawn from a fixed seed; the history cools from 120 °C to
// 10 °C over 500 Myr with a wobble, its points 0.5 Myr apart, so the bar
// steps add none.
#include "datamodule.h"
#include "grainprediction.h"
#include "parallel.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<tarvel::GrainRecord> sample() {
    std::mt19937 random(21);
    auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    std::vector<tarvel::GrainRecord> grains(100);
    for (tarvel::GrainRecord &g : grains) {
        g.name.assign(1, 'g');
        g.radius = uniform(30, 120);
        g.U = uniform(5, 100);
        g.Th = uniform(5, 200);
        g.Sm = uniform(0, 500);
    }
    return grains;
}

std::vector<FPOINT> cooling() {
    std::vector<FPOINT> points;
    for (int i = 0; i < 1000; ++i) {
        const double t = 500.0 * i / 999;
        const double temp = 120.0 - 110.0 * t / 500.0 + 8.0 * std::sin(t / 40.0);
        points.push_back({static_cast<float>(t), static_cast<float>(temp)});
    }
    return points;
}

void grains(benchmark::State &state, ModelMethod method) {
    TDataModule1 dataSet;
    dataSet.ModelData.Method = method;
    dataSet.ModelData.Activation_energy = 32961.145f; // Durango apatite
    dataSet.ModelData.D0 = 50.0f;
    const std::vector<tarvel::GrainRecord> grains = sample();
    const std::vector<FPOINT> history = cooling();
    for (auto _ : state) {
        const AgeJobInput input = sampleJobInput(dataSet, history);
        std::vector<GrainPrediction> predicted(grains.size());
        forEachInParallel(grains.size(),
                          [&](std::size_t i) { predicted[i] = predictGrain(input, grains[i]); });
        benchmark::DoNotOptimize(predicted.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(grains.size()));
}

} // namespace

BENCHMARK_CAPTURE(grains, fast, ModelMethod::Fast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(grains, precise, ModelMethod::Precise)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
