#pragma once

#include "agecalculation.h"
#include "damage.h"
#include "parents.h"

#include <atomic>
#include <cstdint>
#include <vector>

// The precise age method: the physics of the history as drawn, with the
// temperature changing linearly between neighbouring points, and the series
// summed to infinitely many terms without extrapolation.
//
// Time: every interval between points is cut into pieces across which ln D
// changes by at most `lnDStep`, at even steps of 1/T. Each piece's integrated
// diffusivity is exact to rounding (Gauss-Legendre), and the production inside
// it is weighted with dt/dC fitted by a quadratic that matches both ends and the
// piece's length, so the error falls as the cube of the piece size.
//
// Series: terms 1..N carry the geometry coefficients as given. The rest of the
// series, whose total is known from the geometry (the kept fraction), goes to a
// few carrying terms (nodes) at eigen indexes N, N r, N r², ... up to
// `lastNodeTerm`: each coefficient between two nodes is shared between them so
// that its sum and its hot limit c_j / lambda_j both come out exactly, which
// interpolates every term linearly in 1 / lambda and holds for coefficients of
// either sign. The remainder beyond the last node, up to the total, goes with
// one more term. Frozen and hot grains are thus exact; in between, the error
// falls as the square of ln r.
struct PreciseSettings {
    double lnDStep = 0.04;
    // 0 picks a ratio by N: smaller for small N, whose first nodes weigh more.
    double nodeRatio = 0.0;
    // Coefficients up to this index (at least 4 (N + 1)) are shared among nodes.
    std::int32_t lastNodeTerm = 8192;
    // Upper bound on the pieces of a run: a history that would need more (say
    // thousands of swings between frozen and molten) gets wider pieces instead
    // of an endless run.
    std::size_t maxPieces = 100'000;
    // Under damage kinetics: the nodes at which the history's damage is
    // computed, each step a cohort annealed at its middle temperature. Between
    // nodes the temperature and the damage are linear in time, and each step
    // is cut into pieces across which the grain's ln D changes by at most
    // `lnDStep`. Halving these and `lnDStep` changes no age by 1e-4.
    DamageGridSteps damageSteps{0.0005, 0.02, 32.0};
};

// Results as calculateAges gives them. Needs `input.emissionDistance` and an
// emission zone inside the grain (0 <= a < b <= R); throws tarvel::Error
// otherwise. Expects the checks of calculateAges to have passed. `stop`, when
// given, is checked at every output point; once set, CalculationStopped is thrown.
std::vector<double> preciseAges(const AgeInput &input, std::atomic<std::int32_t> *progress,
                                const PreciseSettings &settings = {},
                                const std::atomic<bool> *stop = nullptr);

// The helium held (nmol/g) at every point, slots 1..n, of a grain whose
// parents are `sources` (see heliumages.h): the time stepping and the series
// of preciseAges, each parent's source spread by its stopping distance and
// falling as it decays. Expects the input to have been checked. Under damage
// kinetics `damage` is the history's annealed dose on the nodes of
// `settings.damageSteps`.
std::vector<double>
preciseHeldHelium(const AgeInput &input, const std::vector<ParentSource> &sources,
                  std::atomic<std::int32_t> *progress, const PreciseSettings &settings = {},
                  const std::atomic<bool> *stop = nullptr, const AnnealedDose *damage = nullptr);
