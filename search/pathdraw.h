#pragma once

#include <cstdint>
#include <vector>

struct SearchInput;

// One node of a path: a time (Myr, on the history's time axis) and a
// temperature (°C), each a single-precision value as a data set holds a
// history's points.
struct PathNode {
    double time = 0.0;
    double temperature = 0.0;
    friend bool operator==(const PathNode &, const PathNode &) = default;
};

// The random numbers of path k: Philox4x64-10 (Random123) keyed by
// (seed, 0), its counter (k, c, 0, 0) for c = 0, 1, 2, ...; each counter
// gives four 64-bit words w, taken in order, and each word one uniform number
// ((w >> 11) + 0.5) / 2^53, strictly between 0 and 1. Path k's numbers depend
// on the seed and k alone, so any path can be drawn alone, on any core or
// process.
class PathStream {
public:
    PathStream(std::uint64_t seed, std::uint64_t path);
    double uniform();

private:
    std::uint64_t seed_;
    std::uint64_t path_;
    std::uint64_t block_ = 0; // the next counter's second word
    std::uint64_t words_[4] = {};
    int used_ = 4;
};

// Path k (0 <= k < paths) of the search, from time 0 to the present, by the
// rule the README spells out ("The search"): one node per box, the input's
// nodes between consecutive boxes, temperatures within the rate limit, the
// monotonic rule and what the next box still allows; a draw that cannot meet
// them starts again from the same stream. Throws tarvel::Error when no draw
// meets them after many attempts.
std::vector<PathNode> drawPath(const SearchInput &input, std::int64_t k);

// The path's temperature at `time`: linear between its nodes; at a time two
// nodes share, the later node's; the first or last node's outside them.
double pathTemperature(const std::vector<PathNode> &nodes, double time);
