#include "pathevaluation.h"

#include "errors.h"
#include "grainprediction.h"
#include "searchinput.h"

#include <optional>
#include <string>

PathResult evaluatePath(const SearchInput &input, std::int64_t k, const std::atomic<bool> *stop) {
    PathResult result;
    result.k = k;
    result.nodes = drawPath(input, k);

    std::vector<FPOINT> drawn;
    drawn.reserve(result.nodes.size());
    for (const PathNode &node : result.nodes) // single-precision values already
        drawn.push_back({static_cast<float>(node.time), static_cast<float>(node.temperature)});
    AgeJobInput sample = input.sample;
    sample.history = historyPoints(std::move(drawn), input.steps);
    prepareSample(sample, stop);

    std::vector<std::optional<double>> misfits;
    misfits.reserve(input.grains.size());
    for (std::size_t i = 0; i < input.grains.size(); ++i) {
        GrainPrediction predicted;
        try {
            predicted = predictGrain(sample, input.grains[i], stop);
        } catch (const tarvel::Error &e) {
            throw tarvel::Error("path " + std::to_string(k) + ", grain \"" +
                                tarvel::quotable(input.grains[i].name) + "\": " + e.what());
        }
        misfits.push_back(samplefit::misfit(input.measurements[i], predicted.rawAge));
    }
    const samplefit::Summary summary = samplefit::summarize(misfits);
    result.chi2 = summary.chi2;
    result.probability = summary.probability.value_or(0.0); // every grain is measured
    result.verdict = samplefit::judge(result.probability);
    return result;
}
