#pragma once

#include "modelrecords.h"
#include "parents.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// How the sums over the history are formed. Fast and Direct give the same
// results on every history whose times never decrease (to about 1e-8 relative;
// the direct walk leaves out intervals weighing less than e^-20).
enum class AgeMethod {
    Fast,   // one recurrence step per term and point: linear in the points
    Direct, // walks back over the older intervals for every term and point
    // The temperature linear between points and the series summed exactly;
    // see precisemethod.h. Needs the emission distance.
    Precise
};

// The fewest eigenvalues (terms) the age calculation takes: it extrapolates
// from the partial sums of the last five terms, so with fewer it would fit
// sums that do not exist. Fewer are refused with tooFewEigenvalues.
inline constexpr std::int32_t kFewestEigenvalues = 5;
std::string tooFewEigenvalues(std::int32_t count);

struct AnnealedDose;

// Everything the age calculation needs. Times and temperatures (degrees
// Celsius) are indexed from 1 with slot 0 unused, so n points take n + 1 slots;
// the two spans must have the same size and are read, never kept.
struct AgeInput {
    double sphereRadius = 0.0;           // R, µm
    double outerRadius = 0.0;            // b, µm
    double innerRadius = 0.0;            // a, µm
    std::int32_t terms = 0;              // N, the number of eigenvalues
    long double activationEnergy = 0.0L; // cal/mol
    long double d0 = 0.0L;               // cm²/s
    // The geometry coefficient of term j at slot j; slots the vector does not
    // hold read as 0, as the coefficient store does.
    std::vector<double> coefficients;
    std::optional<double> emissionDistance; // S, µm; the precise method needs it
    // Set for a grain whose helium comes from uranium, thorium and samarium:
    // each parent then has its own stopping distance, the emission distance and
    // the coefficients are not used, and the results are its raw ages (see
    // heliumages.h).
    std::optional<ParentsInput> parents;
    // Arrhenius takes the activation energy and D0 above; the damage
    // kinetics (damage.h) their published parameters and the parents, which
    // they need, and leave those two unused.
    ModelKinetics kinetics = ModelKinetics::Arrhenius;
    // The history's annealed damage when computed beforehand for many grains
    // (prepareSample); a run uses it only when it was computed for this
    // kinetics, history and method, and computes its own otherwise.
    std::shared_ptr<const AnnealedDose> damage;
    std::span<const double> times;
    std::span<const double> temps;
};

// The calculated time at every point of the history: n + 1 values, slot 0
// unused, slot 1 always 0. For an input with parents, the raw age of
// heliumAges. `progress`, when given, is set to j after term j is
// complete. `stop`, when given, is checked once per term; once it is set the
// calculation throws CalculationStopped and returns nothing.
//
// Throws tarvel::Error, before any work, for a history or model it refuses: a
// time that runs backwards, a temperature at or below absolute zero, a value
// that is not a finite number, fewer than 5 terms, a sphere radius not above 0,
// an empty emission zone, a negative D0, damage kinetics without parents. Throws tarvel::Error as
// well when an intermediate value or a result is not a finite number; no results are returned then.
// Running out of memory throws std::bad_alloc. All working storage is allocated up front, linear in
// the points and the terms.
std::vector<double> calculateAges(const AgeInput &input, AgeMethod method,
                                  std::atomic<std::int32_t> *progress = nullptr,
                                  const std::atomic<bool> *stop = nullptr);
