#pragma once

#include "graintable.h"
#include "jobinputs.h"
#include "samplefit.h"
#include "searchsettings.h"

#include <cstdint>
#include <optional>
#include <vector>

class TDataModule1;

// A search for the thermal histories a sample allows: random time-temperature
// paths through the data set's constraint boxes, each computed for every
// measured grain and judged by the sample's chi-square. This is the snapshot
// a search runs on, copied from the data set when the search is asked for, so
// that nothing reads the data set while it runs.

// What a command line or a window sets over the data set's own settings.
struct SearchOverrides {
    std::optional<std::int64_t> paths;
    std::optional<std::uint64_t> seed;
    std::optional<AgeMethod> method;
    bool steps = true; // split each path into bar steps as Recalculate splits a history
};

// The most paths a search takes: every path number and count stays exact in a
// double, the form in which parts of a search travel between processes.
inline constexpr std::int64_t kMostSearchPaths = std::int64_t{1} << 53;
// The most nodes between two boxes.
inline constexpr std::int64_t kMostSearchNodes = 1000;
// The times of the envelope: evenly spaced from 0 to the present.
inline constexpr int kEnvelopeTimes = 201;

struct SearchInput {
    // The data set's kinetics, terms, stopping distances and method; each path
    // brings its own history, each grain its own radius and parents.
    AgeJobInput sample;
    bool steps = true;
    // The grains with a measured age, in the data set's order.
    std::vector<tarvel::GrainRecord> grains;
    std::vector<samplefit::Measurement> measurements; // one per grain
    std::vector<tarvel::ConstraintBox> boxes;         // in time order
    double present = 0.0; // the time of the history's last point, where paths end
    std::int64_t paths = tarvel::kDefaultSearchPaths;
    std::uint64_t seed = tarvel::kDefaultSearchSeed;
    std::int64_t nodes = tarvel::kDefaultSearchNodes;
    double maxRate = tarvel::kDefaultSearchMaxRate; // °C/Myr
    bool monotonic = tarvel::kDefaultSearchMonotonic;
};

// The one way a search's input is built. Throws tarvel::Error, naming the value
// and what it must be, for: no grain with a measured age, no thermal history
// or one whose last point is not after time 0, no constraint box, boxes that
// overlap in time, a first box that does not cover time 0 or a last one that
// does not cover the present, boxes no path can join (a change of temperature
// faster than the rate allows, or a rise where the temperature may not rise),
// paths not from 1 to kMostSearchPaths, nodes not from 0 to kMostSearchNodes,
// a rate not above 0.
SearchInput searchInput(const TDataModule1 &dataSet, const SearchOverrides &overrides = {});

// The i-th time of the envelope (i from 0 to kEnvelopeTimes - 1).
double envelopeTime(const SearchInput &input, int i);
