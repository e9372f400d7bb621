#pragma once

#include "graintable.h"
#include "jobinputs.h"

#include <atomic>
#include <vector>

class TDataModule1;

// What the history predicts for one grain of a sample: a whole-grain sphere of
// the grain's radius holding its own U, Th and Sm, under the data set's
// history, kinetics, stopping distances and method.
struct GrainPrediction {
    double ft = 0.0;
    double rawAge = 0.0;       // million years, at the history's last point
    double correctedAge = 0.0; // million years
};

// The age run every grain of a sample shares: the data set's kinetics, terms,
// stopping distances and method and the history as drawn, split into bar steps
// as Recalculate splits it (unless `steps` is false). The grain and its
// parents are set per grain.
AgeJobInput sampleJobInput(const TDataModule1 &dataSet, std::vector<FPOINT> drawn,
                           bool steps = true);
// The same for a history as a window holds it, checked first as Recalculate
// checks it (a refusal names the drawn points); throws tarvel::Error.
AgeJobInput drawnSampleJobInput(const TDataModule1 &dataSet, std::vector<FPOINT> drawn);

// Computes once what every grain of a sample shares under the history and
// keeps it in `sample`, so that predictGrain need not compute it per grain.
// Callers that predict many grains under one history call it first, on one
// thread; afterwards what it keeps is only read, by any number of threads.
// Under damage kinetics that is the annealing of the history's damage cohorts
// (sample.model.damage); under Arrhenius kinetics the grains share nothing
// worth keeping. A sample whose history, kinetics or method changes after it
// computes its own again in every grain until prepared anew. `stop`, once
// set, ends it with CalculationStopped.
void prepareSample(AgeJobInput &sample, const std::atomic<bool> *stop = nullptr);

// The grain's prediction under `sample`. Throws tarvel::Error for what the age
// calculation refuses; `stop`, once set, ends it with CalculationStopped.
GrainPrediction predictGrain(const AgeJobInput &sample, const tarvel::GrainRecord &grain,
                             const std::atomic<bool> *stop = nullptr);
