#pragma once

#include "fpoint.h"

#include <QImage>

#include <array>
#include <vector>

// The four sample thermal histories a first-time user starts from, and the
// small pictures of their shapes on the buttons that choose them.
namespace samplecurves {

// Falling step, rising step, low with one peak, high with one trough.
const std::array<std::vector<FPOINT>, 4> &all();

// A 50 × 30 picture of the curve: a black polyline on white with black axes
// along the left and bottom edges, time 0..100 across, temperature 0..80 up.
QImage glyph(const std::vector<FPOINT> &points);

} // namespace samplecurves
