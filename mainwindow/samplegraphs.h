#pragma once

#include "curvegraph.h"
#include "grainprediction.h"
#include "graintable.h"

#include <optional>
#include <vector>

// The Grains window's two graphs without widgets: a sample's raw ages against
// the grains' radius or eU, drawn through a graph's pen.
namespace samplegraphs {

enum class Across { Radius, EU };

// Clears `graph` and draws every grain at its radius or eU: the measured age
// as a single point with its ±1σ as a vertical line, the prediction (when
// there is one for the grain) as a small diamond, and a line from the
// measured age to the prediction. The diamond's size is a small share of the
// data's extent, so it stays visible when the axes fit the data.
void drawSample(CurveGraph &graph, const std::vector<tarvel::GrainRecord> &grains,
                const std::vector<std::optional<GrainPrediction>> &predictions, Across across);

} // namespace samplegraphs
