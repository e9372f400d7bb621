#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

// The parents of the helium, always in this order: 238U, 235U, 232Th, 147Sm.
inline constexpr std::size_t kParentCount = 4;

// A grain's parents as the age calculation takes them: whole-grain
// concentrations at the history's last point (the present), µg/g, and each
// parent's stopping distance, µm.
struct ParentsInput {
    double uPpm = 0.0; // total uranium
    double thPpm = 0.0;
    double smPpm = 0.0; // total samarium
    std::array<double, kParentCount> stopping{18.81, 21.80, 22.25, 5.93};
};

// The physical constants of one parent.
struct ParentConstants {
    const char *name;
    double decayPerYear;   // lambda
    double heliumPerDecay; // alpha particles of the whole decay chain
};
extern const std::array<ParentConstants, kParentCount> kParentConstants;

// One parent that makes helium in the grain.
struct ParentSource {
    std::size_t parent = 0; // index into kParentConstants
    double decay = 0.0;     // lambda, per million years
    double yield = 0.0;     // helium per decay
    double atoms = 0.0;     // at the present, nmol/g (whole grain)
    double stopping = 0.0;  // µm

    // Its atoms `before` million years before the present, nmol/g.
    double atomsAt(double before) const;
};

// The parents with atoms in the grain, in the fixed order. Expects
// parentsProblem to be empty.
std::vector<ParentSource> parentSources(const ParentsInput &parents);

// The sentence for what is wrong with the parents (a concentration that is
// negative or not a finite number, a stopping distance not above 0, no
// concentration above 0); empty when they can be computed.
std::string parentsProblem(const ParentsInput &parents);
