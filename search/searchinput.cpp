#include "searchinput.h"

#include "datamodule.h"
#include "errors.h"
#include "grainprediction.h"
#include "numbertext.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

std::string text(double value) {
    return tarvel::formatGeneral(value, tarvel::kDataFileDigits, '.');
}

// A box as a message names it: its number in time order and its ranges.
std::string boxName(const std::vector<tarvel::ConstraintBox> &boxes, std::size_t i) {
    const tarvel::ConstraintBox &b = boxes[i];
    return "box " + std::to_string(i + 1) + " (" + text(b.timeFrom) + " to " + text(b.timeTo) +
           " Myr, " + text(b.temperatureFrom) + " to " + text(b.temperatureTo) + " °C)";
}

void checkBoxes(const SearchInput &in) {
    const auto &boxes = in.boxes;
    if (boxes.empty())
        throw tarvel::Error("The data set holds no constraint boxes: a search needs at least "
                            "one box that covers time 0 and one that covers the present.");
    if (const auto overlap = tarvel::overlappingBoxes(boxes))
        throw tarvel::Error(
            "The constraint boxes overlap in time: " + boxName(boxes, overlap->first) + " and " +
            boxName(boxes, overlap->second) + ".");
    if (!(boxes.front().timeFrom <= 0.0 && 0.0 <= boxes.front().timeTo))
        throw tarvel::Error("No constraint box covers time 0, where every path starts: the "
                            "earliest is " +
                            boxName(boxes, 0) + ".");
    if (!(boxes.back().timeFrom <= in.present && in.present <= boxes.back().timeTo))
        throw tarvel::Error("No constraint box covers the present (" + text(in.present) +
                            " Myr, the time of the history's last point), where every path "
                            "ends: the latest is " +
                            boxName(boxes, boxes.size() - 1) + ".");
    // Boxes no path can join, told at once rather than after endless draws:
    // the next box must be reachable at the rate in the longest time the two
    // boxes leave between them.
    for (std::size_t i = 0; i + 1 < boxes.size(); ++i) {
        const tarvel::ConstraintBox &a = boxes[i], &b = boxes[i + 1];
        const double earliest = i == 0 ? 0.0 : a.timeFrom;
        const double latest = i + 2 == boxes.size() ? in.present : b.timeTo;
        const double rise = b.temperatureFrom - a.temperatureTo;
        const double fall = a.temperatureFrom - b.temperatureTo;
        if (in.monotonic && rise > 0)
            throw tarvel::Error("No path can pass from " + boxName(boxes, i) + " to " +
                                boxName(boxes, i + 1) +
                                ": it must warm, and Search_monotonic=1 lets the temperature "
                                "never rise.");
        const double change = std::max(rise, fall);
        if (change > 0 && !(change <= in.maxRate * (latest - earliest)))
            throw tarvel::Error("No path can pass from " + boxName(boxes, i) + " to " +
                                boxName(boxes, i + 1) + ": the temperature must change by " +
                                text(change) + " °C in at most " + text(latest - earliest) +
                                " Myr, faster than Search_max_rate (" + text(in.maxRate) +
                                " °C/Myr) allows.");
    }
}

} // namespace

SearchInput searchInput(const TDataModule1 &dataSet, const SearchOverrides &overrides) {
    SearchInput in;
    const tarvel::SearchSettings &settings = dataSet.Search;
    in.paths = overrides.paths.value_or(settings.paths.value_or(tarvel::kDefaultSearchPaths));
    in.seed = overrides.seed.value_or(settings.seed.value_or(tarvel::kDefaultSearchSeed));
    in.nodes = settings.nodes.value_or(tarvel::kDefaultSearchNodes);
    in.maxRate = settings.maxRate.value_or(tarvel::kDefaultSearchMaxRate);
    in.monotonic = settings.monotonic.value_or(tarvel::kDefaultSearchMonotonic);
    in.steps = overrides.steps;
    if (in.paths < 1 || in.paths > kMostSearchPaths)
        throw tarvel::Error("The number of paths (" + std::to_string(in.paths) +
                            ") must be at least 1 and at most 2^53.");
    if (in.nodes < 0 || in.nodes > kMostSearchNodes)
        throw tarvel::Error("Search_nodes=" + std::to_string(in.nodes) +
                            ": the nodes between two boxes must number from 0 to " +
                            std::to_string(kMostSearchNodes) + ".");
    if (!(in.maxRate > 0) || !std::isfinite(in.maxRate))
        throw tarvel::Error("Search_max_rate=" + text(in.maxRate) +
                            ": the largest rate of heating or cooling must be above 0 °C/Myr.");

    for (const tarvel::GrainRecord &grain : dataSet.Grains)
        if (grain.rawAge && grain.rawAgeSd) {
            in.grains.push_back(grain);
            in.measurements.push_back({*grain.rawAge, *grain.rawAgeSd});
        }
    if (in.grains.empty())
        throw tarvel::Error("The data set holds no grain with a measured age: a search judges "
                            "each path by the measured ages.");

    const ThermalCurve &curve = dataSet.GetCurrentCurve();
    if (curve.PointCount() == 0)
        throw tarvel::Error("The data set holds no thermal history: a search runs from time 0 "
                            "to the present, the time of the history's last point.");
    in.present = curve.Time.back();
    if (!(in.present > 0) || !std::isfinite(in.present))
        throw tarvel::Error("The history's last point (time " + text(in.present) +
                            " Myr) is the present, where every path ends: it must lie after "
                            "time 0.");

    in.boxes = settings.boxes;
    std::stable_sort(in.boxes.begin(), in.boxes.end(), [](const auto &a, const auto &b) {
        return std::pair{a.timeFrom, a.timeTo} < std::pair{b.timeFrom, b.timeTo};
    });
    checkBoxes(in);

    // The history comes with each path; until then the run has one point.
    in.sample = sampleJobInput(dataSet, {}, in.steps);
    if (overrides.method)
        in.sample.method = *overrides.method;
    return in;
}

double envelopeTime(const SearchInput &input, int i) {
    return input.present * i / (kEnvelopeTimes - 1);
}
