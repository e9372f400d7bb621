#include "parents.h"

#include "numbertext.h"

#include <cmath>

namespace {

// Molar masses, g/mol: total uranium, thorium, samarium.
constexpr double kUraniumMass = 238.03;
constexpr double kThoriumMass = 232.04;
constexpr double kSamariumMass = 150.36;
// Atoms of 238U per atom of 235U in natural uranium.
constexpr double kUraniumRatio = 137.818;
// The share of 147Sm among samarium atoms.
constexpr double kSm147Share = 0.1499;
// µg/g to nmol/g for a molar mass of 1 g/mol.
constexpr double kPpmToNmol = 1e3;

std::string numberText(double value) {
    return tarvel::formatGeneral(value, tarvel::kEditDigits, tarvel::localeDecimalSeparator());
}

} // namespace

const std::array<ParentConstants, kParentCount> kParentConstants = {{
    {"238U", 1.55125e-10, 8},
    {"235U", 9.8485e-10, 7},
    {"232Th", 4.9475e-11, 6},
    {"147Sm", 6.54e-12, 1},
}};

double ParentSource::atomsAt(double before) const {
    return atoms * std::exp(decay * before);
}

std::vector<ParentSource> parentSources(const ParentsInput &p) {
    const double uranium = p.uPpm * kPpmToNmol / kUraniumMass;
    const std::array<double, kParentCount> atoms = {
        uranium * kUraniumRatio / (kUraniumRatio + 1),
        uranium / (kUraniumRatio + 1),
        p.thPpm * kPpmToNmol / kThoriumMass,
        p.smPpm * kPpmToNmol / kSamariumMass * kSm147Share,
    };
    std::vector<ParentSource> sources;
    for (std::size_t i = 0; i < kParentCount; ++i)
        if (atoms[i] > 0)
            sources.push_back({i, kParentConstants[i].decayPerYear * 1e6,
                               kParentConstants[i].heliumPerDecay, atoms[i], p.stopping[i]});
    return sources;
}

std::string parentsProblem(const ParentsInput &p) {
    const std::array<std::pair<const char *, double>, 3> concentrations = {
        {{"uranium", p.uPpm}, {"thorium", p.thPpm}, {"samarium", p.smPpm}}};
    for (const auto &[name, ppm] : concentrations)
        if (!(std::isfinite(ppm) && ppm >= 0))
            return std::string("The ") + name +
                   " concentration must be a number of 0 or more µg/g (got " + numberText(ppm) +
                   ").";
    for (std::size_t i = 0; i < kParentCount; ++i)
        if (!(std::isfinite(p.stopping[i]) && p.stopping[i] > 0))
            return std::string("The stopping distance of ") + kParentConstants[i].name +
                   " must be a number above 0 µm (got " + numberText(p.stopping[i]) + ").";
    if (!(p.uPpm > 0 || p.thPpm > 0 || p.smPpm > 0))
        return "A grain whose helium comes from its parents needs a uranium, thorium or samarium "
               "concentration above 0.";
    return {};
}
