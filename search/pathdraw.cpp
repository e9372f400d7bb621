#include "pathdraw.h"

#include "errors.h"
#include "searchinput.h"

#include <Random123/philox.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

// A path that still fails after this many draws is a sign that the boxes and
// the rate leave almost no room; the search says so instead of drawing on.
constexpr int kMostAttempts = 10000;
constexpr double kAbsoluteZero = -273.15; // °C; no node at or below it

double single(double value) {
    return static_cast<double>(static_cast<float>(value));
}

} // namespace

PathStream::PathStream(std::uint64_t seed, std::uint64_t path) : seed_(seed), path_(path) {}

double PathStream::uniform() {
    if (used_ == 4) {
        const r123::Philox4x64::ctr_type counter = {{path_, block_++, 0, 0}};
        const r123::Philox4x64::key_type key = {{seed_, 0}};
        const r123::Philox4x64::ctr_type words = r123::Philox4x64()(counter, key);
        std::copy(words.v, words.v + 4, words_);
        used_ = 0;
    }
    constexpr double kTwoToMinus53 = 1.0 / 9007199254740992.0;
    return (static_cast<double>(words_[used_++] >> 11) + 0.5) * kTwoToMinus53;
}

std::vector<PathNode> drawPath(const SearchInput &input, std::int64_t k) {
    const std::vector<tarvel::ConstraintBox> &boxes = input.boxes;
    // The anchors: the first box at time 0, every box between at a time of
    // its own, the last box at the present. A single box is both.
    const std::size_t anchors = std::max<std::size_t>(boxes.size(), 2);
    auto anchorBox = [&](std::size_t a) { return boxes.size() == 1 ? boxes[0] : boxes[a]; };
    const auto nodes = static_cast<std::size_t>(input.nodes);
    const std::size_t count = anchors + (anchors - 1) * nodes;
    const double rate = input.maxRate;

    PathStream stream(input.seed, static_cast<std::uint64_t>(k));
    std::vector<double> anchorTimes(anchors);
    std::vector<PathNode> path(count);
    for (int attempt = 0; attempt < kMostAttempts; ++attempt) {
        // 1. The time of every box between the first and the last, in order.
        anchorTimes.front() = 0.0;
        anchorTimes.back() = input.present;
        for (std::size_t a = 1; a + 1 < anchors; ++a) {
            const tarvel::ConstraintBox &box = boxes[a];
            anchorTimes[a] = single(box.timeFrom + stream.uniform() * (box.timeTo - box.timeFrom));
        }
        // 2. The times of the nodes between each two boxes, in order of the
        // gaps, each gap's sorted.
        for (std::size_t a = 0; a + 1 < anchors; ++a) {
            const std::size_t at = a * (nodes + 1);
            path[at].time = anchorTimes[a];
            const double from = anchorTimes[a], span = anchorTimes[a + 1] - anchorTimes[a];
            for (std::size_t j = 1; j <= nodes; ++j)
                path[at + j].time = single(from + stream.uniform() * span);
            std::sort(path.begin() + static_cast<std::ptrdiff_t>(at + 1),
                      path.begin() + static_cast<std::ptrdiff_t>(at + 1 + nodes),
                      [](const PathNode &x, const PathNode &y) { return x.time < y.time; });
        }
        path.back().time = anchorTimes.back();
        // 3. The temperatures in time order, each uniform within what its own
        // box, the rate from the node before, the monotonic rule and the
        // reach of the next box allow.
        bool met = true;
        for (std::size_t j = 0; j < count && met; ++j) {
            const std::size_t a = j / (nodes + 1); // the anchor at or before node j
            const bool isAnchor = j % (nodes + 1) == 0;
            double low = -std::numeric_limits<double>::infinity();
            double high = std::numeric_limits<double>::infinity();
            if (isAnchor) {
                low = anchorBox(a).temperatureFrom;
                high = anchorBox(a).temperatureTo;
            }
            if (j > 0) {
                const PathNode &before = path[j - 1];
                const double reach = rate * (path[j].time - before.time);
                low = std::max(low, before.temperature - reach);
                high = std::min(high,
                                input.monotonic ? before.temperature : before.temperature + reach);
            }
            if (j + 1 < count) {
                const std::size_t next = a + 1; // the next box's anchor
                const tarvel::ConstraintBox &box = anchorBox(next);
                const double reach = rate * (anchorTimes[next] - path[j].time);
                low = std::max(low,
                               input.monotonic ? box.temperatureFrom : box.temperatureFrom - reach);
                high = std::min(high, box.temperatureTo + reach);
            }
            low = std::max(low, kAbsoluteZero);
            if (!(low <= high)) {
                met = false;
                break;
            }
            path[j].temperature = single(low + stream.uniform() * (high - low));
        }
        if (met)
            return path;
    }
    throw tarvel::Error("Path " + std::to_string(k) + " could not be drawn: in " +
                        std::to_string(kMostAttempts) +
                        " draws none met the boxes, Search_max_rate and Search_monotonic. Widen "
                        "the boxes or allow a faster rate.");
}

double pathTemperature(const std::vector<PathNode> &nodes, double time) {
    // The first node after `time`; the one before it is the later of any
    // nodes at `time`.
    const auto after = std::upper_bound(nodes.begin(), nodes.end(), time,
                                        [](double t, const PathNode &n) { return t < n.time; });
    if (after == nodes.begin())
        return nodes.front().temperature;
    const PathNode &a = *(after - 1);
    if (after == nodes.end() || a.time == time)
        return a.temperature;
    const PathNode &b = *after;
    return a.temperature + (b.temperature - a.temperature) * (time - a.time) / (b.time - a.time);
}
