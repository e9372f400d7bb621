#pragma once

#include "agecalculation.h"
#include "fpoint.h"
#include "heliumages.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

class TDataModule1;
struct ThermalCurve;

// What the two calculations take, copied from a data set when a run is asked
// for, so a run never reads the data set while it works and the desktop, the
// wizard, tarvel-calc and batches all feed the calculations the same numbers.

// The geometry run: the grain, the emission distance and Neigen, each float
// widened to double.
struct GeometryJobInput {
    double sphereRadius = 0.0;     // R
    double outerRadius = 0.0;      // b, the emission zone's outer radius
    double innerRadius = 0.0;      // a, the emission zone's inner radius
    double emissionDistance = 0.0; // S
    std::int32_t terms = 0;        // N
};

GeometryJobInput geometryJobInput(const TDataModule1 &dataSet);

// Coefficients 1..N of the input (slot 0 unused), as geometryCoefficients.
std::vector<double> geometryCoefficients(const GeometryJobInput &input,
                                         const std::function<void(std::int32_t)> &progress = {},
                                         const std::atomic<bool> *stop = nullptr);

// Stores coefficients 1..N (slot 0 is not stored), each narrowed to a float.
void storeCoefficients(TDataModule1 &dataSet, const std::vector<double> &coefficients);

// The age run: the data set's grain, constants and stored coefficients, and the
// history whose points the calculation walks.
struct AgeJobInput {
    AgeInput model; // its times and temps stay empty: historyAges fills them in
    // The points in order, index 0 first: as drawn, split into bar steps.
    std::vector<FPOINT> history;
    AgeMethod method = AgeMethod::Fast;
};

// The age method the data set asks for.
AgeMethod dataSetMethod(const TDataModule1 &dataSet);

// The age input of the data set's grain, constants and stored coefficients,
// and its parents when it has any (whose runs need no coefficients: each
// parent's are computed in the run from its stopping distance); times and
// temperatures are left empty.
AgeInput modelAgeInput(const TDataModule1 &dataSet);

// The history the age calculation sees: the points as drawn, split into bar
// steps of at most barsteps::kBarStep time units when `steps` is set. Throws
// tarvel::Error when the history is too long to split.
std::vector<FPOINT> historyPoints(std::vector<FPOINT> drawn, bool steps);

// The one way an age run's input is built: the data set (or its model part,
// built once for many histories) and a history as drawn, split into bar steps
// unless `steps` is false. The first takes the data set's method, the second
// the fast method; a caller that chooses another sets `method` afterwards.
// Both methods take the same split: the precise method's temperature is linear
// between the points and the steps lie on those lines, so it only gains
// results between the drawn points.
AgeJobInput ageJobInput(const TDataModule1 &dataSet, std::vector<FPOINT> drawn, bool steps = true);
AgeJobInput ageJobInput(const AgeInput &model, std::vector<FPOINT> drawn, bool steps = true);

// The points of a thermal curve (slot 0 holds none), index 0 first.
std::vector<FPOINT> curvePoints(const ThermalCurve &curve);

// The calculated time at every point of the input's history, index 0 first;
// see calculateAges for `progress`, `stop` and what is refused. For a data
// set with parents, the raw age (the age equation solved for the helium held).
std::vector<double> historyAges(const AgeJobInput &input,
                                std::atomic<std::int32_t> *progress = nullptr,
                                const std::atomic<bool> *stop = nullptr);

// The helium, raw age, FT and corrected age at every point of the input's
// history, index 0 first; the input must have parents (see heliumAges).
std::vector<HeliumAge> historyHeliumAges(const AgeJobInput &input,
                                         std::atomic<std::int32_t> *progress = nullptr,
                                         const std::atomic<bool> *stop = nullptr);

// The last of those rows alone, to the same bits, in a fraction of the time.
HeliumAge presentHistoryHeliumAge(const AgeJobInput &input,
                                  const std::atomic<bool> *stop = nullptr);

// The annealed damage of the input's history under its kinetics, on the grid
// of its method (see historyDamage); null under Arrhenius kinetics.
std::shared_ptr<const AnnealedDose> historyJobDamage(const AgeJobInput &input,
                                                     const std::atomic<bool> *stop = nullptr);
