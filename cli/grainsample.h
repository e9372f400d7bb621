#pragma once

#include "agecalculation.h"
#include "graintable.h"

#include <iosfwd>
#include <optional>
#include <vector>

class TDataModule1;

struct GrainSampleOutput {
    std::optional<AgeMethod> method; // none: the data set's method
    bool steps = true;               // split the history into bar steps
    bool summary = false;            // one line of chi-square instead of a line per grain
};

// Predicts every grain under the data set's history, kinetics, stopping
// distances and method, on every core, and writes either
// grain,radius,eU,ft,predicted_raw_age,predicted_corrected_age,measured_raw_age,measured_sd,z
// per grain in input order (a grain without a measurement leaves its last
// three fields empty) or, with `summary`, grains,chi2,p_value,verdict over the
// grains with a measurement. Throws tarvel::Error naming the grain when a
// calculation fails; nothing is written then.
void writeGrainSample(const TDataModule1 &dataSet, const std::vector<tarvel::GrainRecord> &grains,
                      const GrainSampleOutput &options, std::ostream &out);
