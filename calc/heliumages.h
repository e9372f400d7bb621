#pragma once

#include "agecalculation.h"
#include "damage.h"
#include "parents.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// What a grain whose helium comes from its parents shows at one point of its
// history, that point taken as the present (the parents then hold what
// remains of them at that time).
struct HeliumAge {
    double time = 0.0;    // million years
    double heNmolG = 0.0; // helium held, nmol/g
    double rawAge = 0.0;  // the age equation solved for the helium held, million years
    double ft = 0.0; // the share of the helium made that the alpha ejection leaves in the grain
    double correctedAge = 0.0; // the age equation solved for heNmolG / ft, million years
    // Under damage kinetics (0 under Arrhenius): the grain's radiation damage
    // at the point, RDAAM's effective track density (tracks/cm²) or ZRDAAM's
    // alpha dose (alphas/g), and log10 of the diffusivity over the squared
    // sphere radius, D/a² in 1/s (+infinity for ZRDAAM at no damage).
    double damage = 0.0;
    double log10DiffusivityA2 = 0.0;
};

// The helium and ages at every point of the history of `input`, whose
// `parents` must be set: n + 1 values, slot 0 unused. Production by each
// parent follows its decay from the present concentrations, which are those
// of the history's last point; each parent's helium is spread by its own
// stopping distance; the emission distance is not used. The methods integrate
// diffusion as calculateAges does. `progress` and `stop` as for calculateAges.
//
// Throws tarvel::Error for what calculateAges refuses, for parents
// parentsProblem names, and for parents whose alpha particles all leave the
// grain (no helium could stay, so no corrected age exists).
std::vector<HeliumAge> heliumAges(const AgeInput &input, AgeMethod method,
                                  std::atomic<std::int32_t> *progress = nullptr,
                                  const std::atomic<bool> *stop = nullptr);

// The row of heliumAges at the history's last point, to the last bit, without
// the work the earlier rows need. Throws as heliumAges does, and for a
// history without points.
HeliumAge presentHeliumAge(const AgeInput &input, AgeMethod method,
                           const std::atomic<bool> *stop = nullptr);

// The time over which the parents make `helium` nmol/g, `before` million
// years before the present (the age equation, solved by Newton's method to
// 1e-12 relative): helium = sum of yield * N(before) * (exp(lambda * age) - 1).
double ageFromHelium(double helium, const std::vector<ParentSource> &sources, double before);

// The alpha-ejection factor FT of each parent: the share of its helium that
// lands inside the grain when its parents sit evenly in the emission zone
// (inner radius a, outer radius b) of a sphere of radius R.
std::vector<double> parentRetention(const std::vector<ParentSource> &sources, double R, double b,
                                    double a);

// The grid on which a method computes the history's damage: the history's
// own points for fast and direct, the precise method's finer nodes.
DamageGridSteps damageGridSteps(AgeMethod method);

// The history's annealed damage for a run of `input` (times and temperatures
// set) by `method`: input.damage when it fits, else computed (see
// damage.h). Null under Arrhenius kinetics. `stop` as for calculateAges.
std::shared_ptr<const AnnealedDose> historyDamage(const AgeInput &input, AgeMethod method,
                                                  const std::atomic<bool> *stop = nullptr);

// Internal, in agecalculation.cpp: what calculateAges refuses, and for an
// input with parents what parentsProblem names, throws tarvel::Error.
void checkAgeInput(const AgeInput &input);

// Internal: the helium held (nmol/g) at every point, slots 1..n, by the fast
// or direct method (agecalculation.cpp; the precise method's is in
// precisemethod.h). The input is checked. With `presentOnly` only slot n is
// computed (the others stay 0), to the same bits. `lnDiffusivity`, when
// given (damage kinetics), is ln D at every point (slots 1..n, µm² per
// million years) in place of the Arrhenius law.
std::vector<double> steppedHeldHelium(const AgeInput &input, AgeMethod method,
                                      const std::vector<ParentSource> &sources,
                                      std::atomic<std::int32_t> *progress,
                                      const std::atomic<bool> *stop, bool presentOnly = false,
                                      std::span<const double> lnDiffusivity = {});
