#pragma once

#include "agecalculation.h"
#include "geometrycoefficients.h"

#include <vector>

// A thermal history indexed from 1, as the calculations take it.
struct History {
    std::vector<double> times{0.0};
    std::vector<double> temps{0.0};

    void add(double time, double temp) {
        times.push_back(time);
        temps.push_back(temp);
    }
    std::size_t size() const { return times.size() - 1; }
};

inline History constantHistory(double temp, std::vector<double> times) {
    History h;
    for (double t : times)
        h.add(t, temp);
    return h;
}

struct Grain {
    double R = 60, b = 40, a = 20, S = 20;
    int N = 20;
};

// The age input for a grain and history, with the coefficients as the model
// store holds them (single precision) and the default model constants.
inline AgeInput ageInput(const Grain &g, const History &h) {
    AgeInput in;
    in.sphereRadius = g.R;
    in.outerRadius = g.b;
    in.innerRadius = g.a;
    in.emissionDistance = g.S;
    in.terms = g.N;
    in.activationEnergy = 36200.0f;
    in.d0 = 1807.8f;
    in.coefficients = geometryCoefficients(g.R, g.b, g.a, g.S, g.N);
    for (double &c : in.coefficients)
        c = static_cast<float>(c);
    in.times = h.times;
    in.temps = h.temps;
    return in;
}
// The input refers to the history's arrays, so a temporary one would dangle.
AgeInput ageInput(const Grain &g, History &&h) = delete;
