#include "samplegraphs.h"

#include "penstrokes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace samplegraphs {

namespace {

// Error bars in black, predictions as red diamonds, the step between them in
// grey; none with the graph's point markers.
const LineLook kBar{false, 0x000000};
const LineLook kPrediction{false, 0xd00000};
const LineLook kToPrediction{false, 0x909090};
const LineLook kModelCurve{false, 0x1f5fbf};

// The diamond's half width and height as a share of the data's extent.
constexpr double kMarkShare = 0.02;

struct Extent {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    void add(double v) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    // A share of the extent; of the value itself when all values are equal.
    double share() const {
        const double span = hi > lo ? hi - lo : std::max(std::fabs(hi), 1.0);
        return kMarkShare * span;
    }
};

void line(CurveGraph &graph, std::initializer_list<FPOINT> points) {
    drawPolyline(graph, std::span<const FPOINT>(points.begin(), points.size()));
}

} // namespace

SampleCurve sampleCurve(const std::vector<tarvel::GrainRecord> &grains, Across across,
                        const AgeJobInput &sample, int points) {
    double longestStopping = 0;
    if (sample.model.parents)
        for (double s : sample.model.parents->stopping)
            longestStopping = std::max(longestStopping, s);
    double radius = 0, eU = 0, thPerU = 0, smPerU = 0, smallest = 0, largest = 0;
    int withUranium = 0, count = 0;
    for (const tarvel::GrainRecord &g : grains) {
        if (!(g.eU() > 0 && g.radius > 0))
            continue;
        radius += g.radius;
        eU += g.eU();
        smallest = count == 0 ? g.radius : std::min(smallest, g.radius);
        largest = across == Across::EU ? std::max(largest, g.eU()) : std::max(largest, g.radius);
        ++count;
        if (g.U > 0) {
            thPerU += g.Th / g.U;
            smPerU += g.Sm / g.U;
            ++withUranium;
        }
    }
    SampleCurve curve;
    if (count == 0 || points < 2)
        return curve;
    radius /= count;
    eU /= count;
    if (withUranium > 0) {
        thPerU /= withUranium;
        smPerU /= withUranium;
    }
    const double lo = across == Across::EU ? 0.0 : std::max(smallest / 2, longestStopping);
    const double hi = 1.2 * largest;
    for (int i = 0; i < points; ++i) {
        const double x = lo + (hi - lo) * i / (points - 1);
        const double grainEU = across == Across::EU ? x : eU;
        if (!(grainEU > 0) || !(hi > lo))
            continue; // no parents, no helium
        tarvel::GrainRecord g;
        g.name = "curve";
        g.radius = across == Across::Radius ? x : radius;
        // eU = U + 0.238 Th + 0.0012 Sm at the sample's ratios of Th and Sm to U.
        g.U = grainEU / (1 + 0.238 * thPerU + 0.0012 * smPerU);
        g.Th = g.U * thPerU;
        g.Sm = g.U * smPerU;
        curve.x.push_back(x);
        curve.grains.push_back(std::move(g));
    }
    return curve;
}

std::vector<FPOINT> curvePoints(const SampleCurve &curve,
                                std::span<const std::optional<GrainPrediction>> predictions) {
    std::vector<FPOINT> points;
    for (std::size_t i = 0; i < curve.x.size() && i < predictions.size(); ++i)
        if (predictions[i])
            points.push_back({float(curve.x[i]), float(predictions[i]->rawAge)});
    return points;
}

void drawSample(CurveGraph &graph, const std::vector<tarvel::GrainRecord> &grains,
                const std::vector<std::optional<GrainPrediction>> &predictions, Across across,
                const std::vector<FPOINT> &curve) {
    graph.Clear();
    if (curve.size() > 1) {
        graph.SetLineLook(kModelCurve);
        drawPolyline(graph, curve);
    }
    const auto xOf = [across](const tarvel::GrainRecord &g) {
        return across == Across::Radius ? g.radius : g.eU();
    };
    const auto predictionOf = [&](std::size_t i) -> const std::optional<GrainPrediction> & {
        static const std::optional<GrainPrediction> none;
        return i < predictions.size() ? predictions[i] : none;
    };
    Extent xs, ys;
    for (std::size_t i = 0; i < grains.size(); ++i) {
        const tarvel::GrainRecord &g = grains[i];
        xs.add(xOf(g));
        if (g.rawAge && g.rawAgeSd) {
            ys.add(*g.rawAge - *g.rawAgeSd);
            ys.add(*g.rawAge + *g.rawAgeSd);
        }
        if (const auto &p = predictionOf(i))
            ys.add(p->rawAge);
    }
    const float dx = float(xs.share()), dy = float(ys.share());
    for (std::size_t i = 0; i < grains.size(); ++i) {
        const tarvel::GrainRecord &g = grains[i];
        const float x = float(xOf(g));
        const auto &p = predictionOf(i);
        if (g.rawAge && g.rawAgeSd) {
            const float age = float(*g.rawAge), sd = float(*g.rawAgeSd);
            drawSinglePoint(graph, x, age); // the measurement: a square
            graph.SetLineLook(kBar);
            line(graph, {{x, age - sd}, {x, age + sd}});
            if (p) {
                graph.SetLineLook(kToPrediction);
                line(graph, {{x, age}, {x, float(p->rawAge)}});
            }
        }
        if (p) {
            const float y = float(p->rawAge);
            graph.SetLineLook(kPrediction);
            line(graph, {{x - dx, y}, {x, y + dy}, {x + dx, y}, {x, y - dy}, {x - dx, y}});
        }
    }
}

} // namespace samplegraphs
