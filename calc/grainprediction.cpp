#include "grainprediction.h"

#include "datamodule.h"
#include "historycheck.h"

AgeJobInput sampleJobInput(const TDataModule1 &dataSet, std::vector<FPOINT> drawn, bool steps) {
    AgeJobInput input = ageJobInput(dataSet, std::move(drawn), steps);
    const TParentsData &p = dataSet.ParentsData;
    // The grain's own concentrations come in predictGrain; the stopping
    // distances are the data set's, apatite's unless it names others.
    input.model.parents = ParentsInput{
        0.0, 0.0, 0.0, {p.Stopping_U238, p.Stopping_U235, p.Stopping_Th232, p.Stopping_Sm147}};
    input.model.coefficients.clear(); // each parent's are computed in the run
    return input;
}

AgeJobInput drawnSampleJobInput(const TDataModule1 &dataSet, std::vector<FPOINT> drawn) {
    std::vector<float> times, temps;
    for (const FPOINT &p : drawn) {
        times.push_back(p.x);
        temps.push_back(p.y);
    }
    checkDrawnHistory(times, temps);
    return sampleJobInput(dataSet, std::move(drawn));
}

void prepareSample(AgeJobInput &sample, const std::atomic<bool> *stop) {
    // Under damage kinetics each cohort's annealing is the history's alone;
    // each grain weighs it by its own parents.
    sample.model.damage = historyJobDamage(sample, stop);
}

GrainPrediction predictGrain(const AgeJobInput &sample, const tarvel::GrainRecord &grain,
                             const std::atomic<bool> *stop) {
    AgeJobInput input = sample;
    input.model.sphereRadius = grain.radius;
    input.model.outerRadius = grain.radius;
    input.model.innerRadius = 0.0;
    input.model.parents->uPpm = grain.U;
    input.model.parents->thPpm = grain.Th;
    input.model.parents->smPpm = grain.Sm;
    const HeliumAge last = presentHistoryHeliumAge(input, stop);
    return {last.ft, last.rawAge, last.correctedAge};
}
