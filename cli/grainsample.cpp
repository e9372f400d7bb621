#include "grainsample.h"

#include "agerun.h"
#include "datamodule.h"
#include "errors.h"
#include "grainprediction.h"
#include "jobinputs.h"
#include "parallel.h"
#include "samplefit.h"

#include <ostream>
#include <string>

namespace {

void appendField(std::string &line, const std::optional<double> &value) {
    line += ',';
    if (value)
        appendNumber(line, *value);
}

} // namespace

void writeGrainSample(const TDataModule1 &dataSet, const std::vector<tarvel::GrainRecord> &grains,
                      const GrainSampleOutput &options, std::ostream &out) {
    AgeJobInput sample =
        sampleJobInput(dataSet, curvePoints(dataSet.GetCurrentCurve()), options.steps);
    if (options.method)
        sample.method = *options.method;
    prepareSample(sample);

    std::vector<GrainPrediction> predictions(grains.size());
    forEachInParallel(grains.size(), [&](std::size_t i) {
        try {
            predictions[i] = predictGrain(sample, grains[i]);
        } catch (const tarvel::Error &e) {
            throw tarvel::Error("grain " + std::to_string(i + 1) + " (\"" +
                                tarvel::quotable(grains[i].name) + "\"): " + e.what());
        }
    });

    std::vector<std::optional<double>> misfits;
    misfits.reserve(grains.size());
    for (std::size_t i = 0; i < grains.size(); ++i) {
        std::optional<samplefit::Measurement> measured;
        if (grains[i].rawAge && grains[i].rawAgeSd)
            measured = samplefit::Measurement{*grains[i].rawAge, *grains[i].rawAgeSd};
        misfits.push_back(samplefit::misfit(measured, predictions[i].rawAge));
    }

    if (options.summary) {
        // Without a measured grain there is no test: chi-square 0 and the
        // probability and verdict left empty.
        const samplefit::Summary summary = samplefit::summarize(misfits);
        std::string line = std::to_string(summary.measured);
        appendField(line, summary.chi2);
        appendField(line, summary.probability);
        line += ',';
        if (summary.probability)
            line += samplefit::verdict(*summary.probability);
        out << "grains,chi2,p_value,verdict\n" << line << '\n';
        return;
    }

    out << "grain,radius,eU,ft,predicted_raw_age,predicted_corrected_age,measured_raw_age,"
           "measured_sd,z\n";
    for (std::size_t i = 0; i < grains.size(); ++i) {
        const tarvel::GrainRecord &g = grains[i];
        const GrainPrediction &p = predictions[i];
        std::string line = g.name;
        for (const double value : {g.radius, g.eU(), p.ft, p.rawAge, p.correctedAge})
            appendField(line, value);
        appendField(line, g.rawAge);
        appendField(line, g.rawAgeSd);
        appendField(line, misfits[i]);
        out << line << '\n';
    }
}
