#pragma once

#include "curvegraph.h"
#include "grainprediction.h"
#include "graintable.h"

#include <optional>
#include <span>
#include <vector>

// The Grains window's two graphs without widgets: a sample's raw ages against
// the grains' radius or eU, drawn through a graph's pen.
namespace samplegraphs {

enum class Across { Radius, EU };

// The grains along which the model's raw age is drawn as a curve: over eU
// from 0 to 1.2 times the sample's largest, at the sample's mean radius and
// mean Th/U and Sm/U; or over the radius, from half the smallest (but not
// below the longest stopping distance of `sample`, which no helium would
// survive) to 1.2 times the largest, at the mean eU and those ratios. `x` is
// each grain's eU or radius. Empty for a sample without a grain of any U, Th
// or Sm.
struct SampleCurve {
    std::vector<double> x;
    std::vector<tarvel::GrainRecord> grains;
};
SampleCurve sampleCurve(const std::vector<tarvel::GrainRecord> &grains, Across across,
                        const AgeJobInput &sample, int points = 41);

// The curve's points (x, raw age) from the predictions of its grains, in
// order; a grain without one (too small to hold helium) leaves its point out.
std::vector<FPOINT> curvePoints(const SampleCurve &curve,
                                std::span<const std::optional<GrainPrediction>> predictions);

// Clears `graph` and draws every grain at its radius or eU: the measured age
// as a single point with its ±1σ as a vertical line, the prediction (when
// there is one for the grain) as a small diamond, and a line from the
// measured age to the prediction. The diamond's size is a small share of the
// data's extent, so it stays visible when the axes fit the data.
// `curve`, when it holds points, is the model's raw age along a SampleCurve
// (x, age), drawn first as a blue line under the grains.
void drawSample(CurveGraph &graph, const std::vector<tarvel::GrainRecord> &grains,
                const std::vector<std::optional<GrainPrediction>> &predictions, Across across,
                const std::vector<FPOINT> &curve = {});

} // namespace samplegraphs
