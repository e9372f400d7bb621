// Writes the fine-step truth of a precise case: the precise method with far
// smaller pieces, far more explicit terms and far denser tail nodes than it uses by
// default. scripts/make-precise-truths.sh runs it and checks the output against
// an independent finite-difference solution.
//
//   precise_truths CASE [LNDSTEP NODERATIO LASTNODETERM TERMS]
//   precise_truths CASE history      (the points as handed over: time,temperature)
#include "precisecases.h"
#include "precisemethod.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char **argv) {
    const bool history = argc == 3 && std::string(argv[2]) == "history";
    if (argc != 2 && argc != 6 && !history) {
        std::cerr << "usage: precise_truths CASE [LNDSTEP NODERATIO LASTNODETERM TERMS]\n";
        return 2;
    }
    PreciseSettings fine;
    fine.lnDStep = 0.002;
    fine.nodeRatio = 1.02;
    fine.lastNodeTerm = 1 << 18;
    fine.maxPieces = 100'000'000;
    int terms = 400;
    if (argc == 6) {
        fine.lnDStep = std::stod(argv[2]);
        fine.nodeRatio = std::stod(argv[3]);
        fine.lastNodeTerm = std::stoi(argv[4]);
        terms = std::stoi(argv[5]);
    }
    for (PreciseCase c : precisecases::all()) {
        if (c.name != argv[1])
            continue;
        if (history) {
            for (std::size_t k = 1; k <= c.history.size(); ++k)
                std::printf("%.17g,%.17g\n", c.history.times[k], c.history.temps[k]);
            return 0;
        }
        c.grain.N = terms;
        AgeInput in = ageInput(c.grain, c.history);
        // Unrounded coefficients: the truth owes nothing to single precision.
        in.coefficients = geometryCoefficients(c.grain.R, c.grain.b, c.grain.a, c.grain.S, terms);
        const auto start = std::chrono::steady_clock::now();
        const std::vector<double> ages = preciseAges(in, nullptr, fine);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::cerr << c.name << ": " << took.count() << " s\n";
        std::printf("time,calculated_time\n");
        for (std::size_t k = 1; k < ages.size(); ++k)
            std::printf("%.17g,%.17g\n", c.history.times[k], ages[k]);
        return 0;
    }
    std::cerr << "unknown case " << argv[1] << '\n';
    return 2;
}
