// The age calculation on constant histories with points 5 time units apart,
// as the stepped curves of the program have them, for today's single emission
// distance and for a grain whose helium comes from U, Th and Sm (four parents,
// each with its own stopping distance and decay: "/parents"). "cold" is -50 °C, where the
// direct walk reaches back over the whole history for every point and term;
// "hot" is 120 °C, where its cut-off ends each walk after a step or two.
#include "agecalculation.h"
#include "geometrycoefficients.h"
#include "precisecases.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

struct Case {
    std::vector<double> times{0.0};
    std::vector<double> temps{0.0};
    AgeInput input;

    Case(int points, int terms, double temp) {
        for (int i = 0; i < points; ++i) {
            times.push_back(5.0 * i);
            temps.push_back(temp);
        }
        input.sphereRadius = 60;
        input.outerRadius = 40;
        input.innerRadius = 20;
        input.terms = terms;
        input.activationEnergy = 36200.0f;
        input.d0 = 1807.8f;
        input.coefficients = geometryCoefficients(60, 40, 20, 20, terms);
        input.times = times;
        input.temps = temps;
    }
};

// U, Th and Sm in apatite: all four parents make helium.
ParentsInput someParents() {
    ParentsInput p;
    p.uPpm = 30;
    p.thPpm = 80;
    p.smPpm = 200;
    return p;
}

void ages(benchmark::State &state, AgeMethod method, int points, int terms, double temp,
          bool parents) {
    Case c(points, terms, temp);
    if (parents)
        c.input.parents = someParents();
    for (auto _ : state) {
        std::vector<double> results = calculateAges(c.input, method);
        benchmark::DoNotOptimize(results.data());
    }
    // Terms times points: the work of the fast method.
    state.SetItemsProcessed(state.iterations() * int64_t(points) * terms);
}

void registerAges(AgeMethod method, int points, int terms, bool cold, bool parents = false) {
    const std::string name = std::string("ages/") +
                             (method == AgeMethod::Fast ? "fast" : "direct") + "/" +
                             (cold ? "cold" : "hot") + "/points:" + std::to_string(points) +
                             "/N:" + std::to_string(terms) + (parents ? "/parents" : "");
    auto *b = benchmark::RegisterBenchmark(name.c_str(), ages, method, points, terms,
                                           cold ? -50.0 : 120.0, parents);
    b->Unit(benchmark::kMillisecond);
    // The direct walk over long cold histories takes seconds to minutes.
    const double walkSteps = double(points) * points / 2 * terms;
    if (method == AgeMethod::Direct && cold && walkSteps > 1e8)
        b->Iterations(1);
}

// The precise method on the histories it is held to (tests/calc/precisecases.h):
// the default grain with 50 terms; one calculation per iteration.
void precise(benchmark::State &state, const PreciseCase &c, bool parents) {
    AgeInput input = ageInput(c.grain, c.history);
    if (parents)
        input.parents = someParents();
    for (auto _ : state) {
        std::vector<double> results = calculateAges(input, AgeMethod::Precise);
        benchmark::DoNotOptimize(results.data());
    }
}

} // namespace

int main(int argc, char **argv) {
    for (AgeMethod method : {AgeMethod::Fast, AgeMethod::Direct})
        for (bool cold : {true, false})
            for (int terms : {20, 100})
                for (int points : {100, 1000, 2000, 10000})
                    registerAges(method, points, terms, cold);
    for (bool cold : {true, false})
        registerAges(AgeMethod::Fast, 100000, 100, cold);
    for (AgeMethod method : {AgeMethod::Fast, AgeMethod::Direct})
        for (bool cold : {true, false})
            registerAges(method, 1000, 20, cold, true);

    static const std::vector<PreciseCase> preciseCases = precisecases::all();
    for (const PreciseCase &c : preciseCases)
        for (bool parents : {false, true})
            benchmark::RegisterBenchmark(
                ("ages/precise/" + c.name + "/N:50" + (parents ? "/parents" : "")).c_str(), precise,
                c, parents)
                ->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
