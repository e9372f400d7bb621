#pragma once

#include "fpoint.h"

#include <cstddef>
#include <vector>

// Bar mode splits every step of a line that is wider than the bar step by
// inserting points on the straight line between its ends, so that each bar
// (and each time step of the age calculation) is at most `barstep` wide.
namespace barsteps {

// The bar step of every graph.
inline constexpr float kBarStep = 5.0f;

// Upper bound on the points a subdivision may create; a curve that would need
// more is refused rather than exhausting memory.
inline constexpr std::size_t kMaxPoints = 10'000'000;

// Appends to `out` the points to insert between `p` and `q`, in order. Stops
// where single precision can no longer advance x, so huge times cannot hang it.
// Throws tarvel::Error when `out` would grow beyond kMaxPoints.
void appendSteps(FPOINT p, FPOINT q, float barstep, std::vector<FPOINT> &out);

// The whole line with its inserted points (the line's own points included).
std::vector<FPOINT> subdivide(const std::vector<FPOINT> &line, float barstep = kBarStep);

} // namespace barsteps
