#pragma once

#include "pathdraw.h"
#include "samplefit.h"

#include <atomic>
#include <cstdint>
#include <vector>

struct SearchInput;

// A path and how well the sample meets it.
struct PathResult {
    std::int64_t k = 0;
    std::vector<PathNode> nodes;
    double chi2 = 0.0;        // the sum of every measured grain's z squared
    double probability = 0.0; // of a chi-square at least that large
    samplefit::Verdict verdict = samplefit::Verdict::Poor;
};

// Draws path k and computes every measured grain under it with the data set's
// kinetics, stopping distances and method, judged as the Grains window judges
// a drawn history. The path's history is prepared once (prepareSample) for
// all its grains. Throws tarvel::Error naming the path (and the grain) when a
// calculation fails; `stop`, once set, ends it with CalculationStopped.
PathResult evaluatePath(const SearchInput &input, std::int64_t k,
                        const std::atomic<bool> *stop = nullptr);
