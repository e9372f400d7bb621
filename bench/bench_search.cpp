// The search on the example sample (examples/search-sample.txt: nine apatite
// grains, eight dated, five boxes, 0-120 Myr): paths per second by the fast
// and the precise method on one core and on two, beside a Crank-Nicolson
// forward model at the field's usual resolution computing the same grains
// under the same paths.
//
// The forward model: finite differences in radius for u = r C (513 nodes from
// the centre to the surface, u = 0 at both), the Crank-Nicolson step every
// 0.25 Myr with the diffusivity at each step's ends (temperature linear
// between the path's nodes) and one tridiagonal solve per step; the helium of
// each parent produced where its alpha particles stop (its production decaying
// from the present concentrations, spread by the fraction of a sphere of its
// stopping distance that lies inside the grain); the raw age from the helium
// held at the present.
#include "datamodule.h"
#include "grainprediction.h"
#include "heliumages.h"
#include "pathdraw.h"
#include "searchinput.h"
#include "searchrunner.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <omp.h>
#include <vector>

namespace {

// Paths per timed run: enough that starting the cores and waiting for the
// last path cost little.
std::int64_t pathsPerRun(ModelMethod method) {
    return method == ModelMethod::Fast ? 256 : 32;
}

SearchInput exampleSearch(ModelMethod method) {
    TDataModule1 dataSet;
    std::ifstream file(TARVEL_EXAMPLES_DIR "/search-sample.txt", std::ios::binary);
    dataSet.ReadDataFile(file);
    dataSet.ModelData.Method = method;
    SearchOverrides overrides;
    overrides.paths = kMostSearchPaths;
    return searchInput(dataSet, overrides);
}

void search(benchmark::State &state, ModelMethod method) {
    const SearchInput input = exampleSearch(method);
    omp_set_num_threads(static_cast<int>(state.range(0)));
    SearchControl control;
    control.keepAccepted = false;
    control.count = pathsPerRun(method);
    for (auto _ : state) {
        const SearchResult result = runSearch(input, control);
        benchmark::DoNotOptimize(result.best);
        control.first += *control.count; // new paths every run
    }
    state.SetItemsProcessed(state.iterations() * *control.count);
}

// Fraction of a sphere of radius s centred at distance r from the grain's
// centre that lies inside the grain (radius R).
double inside(double r, double s, double R) {
    if (r + s <= R)
        return 1.0;
    if (r - s >= R || s - r >= R)
        return 0.0;
    return (R * R - (r - s) * (r - s)) / (4 * r * s);
}

// One grain's raw age under a path by the Crank-Nicolson forward model.
class CrankNicolson {
public:
    static constexpr int kNodes = 513;
    static constexpr double kStep = 0.25; // Myr

    CrankNicolson(const tarvel::GrainRecord &grain, const ParentsInput &parents,
                  double activationEnergy, double d0)
        : R_(grain.radius), h_(grain.radius / (kNodes - 1)),
          sources_(parentSources(ParentsInput{grain.U, grain.Th, grain.Sm, parents.stopping})),
          shapes_(sources_.size(), std::vector<double>(kNodes, 0.0)), ea_(activationEnergy),
          d0_(d0) {
        for (std::size_t p = 0; p < sources_.size(); ++p)
            for (int i = 1; i < kNodes - 1; ++i) {
                const double r = i * h_;
                shapes_[p][static_cast<std::size_t>(i)] = r * inside(r, sources_[p].stopping, R_);
            }
    }

    double rawAge(const std::vector<PathNode> &path) const {
        const std::size_t n = kNodes;
        std::vector<double> u(n, 0.0), rhs(n), c(n), source(n);
        const double present = path.back().time;
        const int steps = static_cast<int>(std::ceil(present / kStep));
        const double dt = present / steps, h2 = h_ * h_;
        auto production = [&](double t, std::vector<double> &out) {
            std::fill(out.begin(), out.end(), 0.0);
            for (std::size_t p = 0; p < sources_.size(); ++p) {
                const ParentSource &s = sources_[p];
                const double rate = s.yield * s.decay * s.atomsAt(present - t);
                for (std::size_t i = 1; i + 1 < n; ++i)
                    out[i] += rate * shapes_[p][i];
            }
        };
        std::size_t segment = 0;
        auto temperature = [&](double t) {
            while (segment + 2 < path.size() && path[segment + 1].time <= t)
                ++segment;
            const PathNode &a = path[segment], &b = path[segment + 1];
            return b.time > a.time ? a.temperature + (b.temperature - a.temperature) *
                                                         (t - a.time) / (b.time - a.time)
                                   : b.temperature;
        };
        auto diffusivity = [&](double t) { // µm² per million 365-day years, R in cal/(mol K)
            return d0_ * 3.1536e21 * std::exp(-ea_ / (1.9859 * (temperature(t) + 273.15)));
        };
        std::vector<double> before(n), after(n);
        production(0.0, before);
        double dBefore = diffusivity(0.0);
        for (int k = 1; k <= steps; ++k) {
            const double t = k * dt;
            const double dAfter = diffusivity(t);
            production(t, after);
            const double a = 0.5 * dt * dBefore / h2, b = 0.5 * dt * dAfter / h2;
            for (std::size_t i = 1; i + 1 < n; ++i)
                rhs[i] =
                    u[i] + a * (u[i - 1] - 2 * u[i] + u[i + 1]) + 0.5 * dt * (before[i] + after[i]);
            // (1 + 2b) u_i - b (u_{i-1} + u_{i+1}) = rhs_i, u_0 = u_{n-1} = 0 (Thomas).
            c[1] = -b / (1 + 2 * b);
            rhs[1] /= 1 + 2 * b;
            for (std::size_t i = 2; i + 1 < n; ++i) {
                const double m = 1 + 2 * b + b * c[i - 1];
                c[i] = -b / m;
                rhs[i] = (rhs[i] + b * rhs[i - 1]) / m;
            }
            u[n - 2] = rhs[n - 2];
            for (std::size_t i = n - 2; i-- > 1;)
                u[i] = rhs[i] - c[i] * u[i + 1];
            before.swap(after);
            dBefore = dAfter;
        }
        // The helium held per gram: the mean concentration, 3 / R³ times the
        // integral of u r dr (trapezoids).
        double integral = 0.0;
        for (std::size_t i = 1; i + 1 < n; ++i)
            integral += u[i] * static_cast<double>(i) * h_;
        const double helium = 3.0 / (R_ * R_ * R_) * integral * h_;
        return ageFromHelium(helium, sources_, 0.0);
    }

private:
    double R_, h_;
    std::vector<ParentSource> sources_;
    std::vector<std::vector<double>> shapes_; // r times the landing fraction, per parent
    double ea_, d0_;
};

void crankNicolson(benchmark::State &state) {
    const SearchInput input = exampleSearch(ModelMethod::Fast);
    const ParentsInput &parents = *input.sample.model.parents;
    std::vector<CrankNicolson> grains;
    for (const tarvel::GrainRecord &grain : input.grains)
        grains.emplace_back(grain, parents, double(input.sample.model.activationEnergy),
                            double(input.sample.model.d0));
    // How far it lies from the precise method: grain 1 under path 0.
    const std::vector<PathNode> first = drawPath(input, 0);
    AgeJobInput precise = input.sample;
    precise.method = AgeMethod::Precise;
    std::vector<FPOINT> points;
    for (const PathNode &node : first)
        points.push_back({float(node.time), float(node.temperature)});
    precise.history = historyPoints(points, true);
    const double exact = predictGrain(precise, input.grains[0]).rawAge;
    state.counters["off_precise"] = grains[0].rawAge(first) / exact - 1;
    std::int64_t k = 0;
    for (auto _ : state) {
        const std::vector<PathNode> path = drawPath(input, k++);
        double chi2 = 0.0;
        for (std::size_t g = 0; g < grains.size(); ++g) {
            const double z =
                (input.measurements[g].age - grains[g].rawAge(path)) / input.measurements[g].sd;
            chi2 += z * z;
        }
        benchmark::DoNotOptimize(chi2);
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK_CAPTURE(search, fast, ModelMethod::Fast)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(search, precise, ModelMethod::Precise)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(crankNicolson)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
