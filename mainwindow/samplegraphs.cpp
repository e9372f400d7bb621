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

void drawSample(CurveGraph &graph, const std::vector<tarvel::GrainRecord> &grains,
                const std::vector<std::optional<GrainPrediction>> &predictions, Across across) {
    graph.Clear();
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
