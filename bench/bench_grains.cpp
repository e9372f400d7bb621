// A sample of 100 grains under one drawn history of 1,000 points, as the
// Grains window and tarvel-calc --grains predict it: the sample's run built
// and prepared once (under damage kinetics that anneals the history's
// cohorts), then every grain on every core. Radii 30-120 µm, U 5-100, Th
// 5-200 and Sm 0-500 ppm, drawn from a fixed seed; the history cools from
// 120 °C to 10 °C over 500 Myr with a wobble, its points 0.5 Myr apart, so
// the bar steps add none. Under Durango's Arrhenius kinetics, RDAAM and
// ZRDAAM (zircon's stopping distances), by the fast and the precise method;
// and one grain alone under each damage kinetics by the precise method, as a
// single Recalculate computes it.
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

TDataModule1 dataSet(ModelMethod method, ModelKinetics kinetics) {
    TDataModule1 dataSet;
    dataSet.ModelData.Method = method;
    dataSet.ModelData.Kinetics = kinetics;
    dataSet.ModelData.Activation_energy = 32961.145f; // Durango apatite
    dataSet.ModelData.D0 = 50.0f;
    if (kinetics == ModelKinetics::Zrdaam)
        applyMineralPreset(dataSet.ParentsData, kMineralPresets[1]);
    return dataSet;
}

void grains(benchmark::State &state, ModelMethod method, ModelKinetics kinetics) {
    const TDataModule1 data = dataSet(method, kinetics);
    const std::vector<tarvel::GrainRecord> grains = sample();
    const std::vector<FPOINT> history = cooling();
    for (auto _ : state) {
        AgeJobInput input = sampleJobInput(data, history);
        prepareSample(input);
        std::vector<GrainPrediction> predicted(grains.size());
        forEachInParallel(grains.size(),
                          [&](std::size_t i) { predicted[i] = predictGrain(input, grains[i]); });
        benchmark::DoNotOptimize(predicted.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(grains.size()));
}

// The first grain of the sample alone, unprepared: its run anneals the
// history's cohorts itself.
void oneGrain(benchmark::State &state, ModelKinetics kinetics) {
    const TDataModule1 data = dataSet(ModelMethod::Precise, kinetics);
    const tarvel::GrainRecord grain = sample().front();
    const AgeJobInput input = sampleJobInput(data, cooling());
    for (auto _ : state) {
        const GrainPrediction predicted = predictGrain(input, grain);
        benchmark::DoNotOptimize(predicted.rawAge);
    }
}

} // namespace

BENCHMARK_CAPTURE(grains, fast, ModelMethod::Fast, ModelKinetics::Arrhenius)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(grains, precise, ModelMethod::Precise, ModelKinetics::Arrhenius)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(grains, fast / rdaam, ModelMethod::Fast, ModelKinetics::Rdaam)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(grains, precise / rdaam, ModelMethod::Precise, ModelKinetics::Rdaam)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(grains, fast / zrdaam, ModelMethod::Fast, ModelKinetics::Zrdaam)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(grains, precise / zrdaam, ModelMethod::Precise, ModelKinetics::Zrdaam)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(oneGrain, precise / rdaam, ModelKinetics::Rdaam)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(oneGrain, precise / zrdaam, ModelKinetics::Zrdaam)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
