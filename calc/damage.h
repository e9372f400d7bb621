#pragma once

#include "modelrecords.h"
#include "parents.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <span>
#include <vector>

// Helium diffusivity slowed by radiation damage: RDAAM for apatite (Flowers,
// Ketcham, Shuster & Farley 2009, GCA 73, 2347) and ZRDAAM for zircon
// (Guenthner, Reiners, Ketcham, Nasdala & Giester 2013, AJS 313, 145).
//
// The alpha particles made in a stretch of time are one cohort of damage.
// Each cohort anneals along the history by the fanning curvilinear law,
// carried from step to step by its equivalent time, and counts with the
// density its reduced length leaves. The damage is uniform in the grain, so
// the diffusivity is one number at each moment.
//
// How a cohort anneals depends on the history alone, not on the grain's
// concentrations: per parent, the annealed dose of one nmol/g of it at the
// present is computed once per history, and a grain's damage is the sum over
// its parents weighted by its atoms.

// The nodes at which a history's damage is known, and what the cohorts made
// between them leave at each node, per parent.
struct AnnealedDose {
    ModelKinetics kinetics = ModelKinetics::Arrhenius;
    std::vector<double> times; // the nodes, Myr, in time order
    std::vector<double> temps; // °C at the nodes; linear in time between them
    // Alphas per gram left by the annealing at each node, per nmol/g of the
    // parent at the history's last point (kParentConstants order). RDAAM's
    // dose is the alpha dose itself here; the division by 8 is its law's.
    std::array<std::vector<double>, kParentCount> perAtom;
    // The node of every history point, slots 1..n (slot 0 unused).
    std::vector<std::size_t> pointNodes;

    // What it was computed from, so that a run can tell whether it fits.
    std::vector<double> historyTimes, historyTemps; // slots 1..n, slot 0 unused
    double lnTempStep = 0.0, timeStep = 0.0;        // 0: the history's own points
    double youngAges = 0.0;

    // The alpha dose (alphas/g) a grain whose parents hold `atoms` nmol/g at
    // the present keeps at node m.
    double dose(std::size_t m, const std::array<double, kParentCount> &atoms) const;
};

// How finely the precise method's nodes cut the history: by relative change
// of the absolute temperature and by time relative to the time elapsed since
// the first point (so finer near the start, where the damage grows from
// nothing). Zero fields: the history's own points, as the stepped methods use.
struct DamageGridSteps {
    double lnTempStep = 0.0;
    double timeStep = 0.0;
    // A cohort is made evenly over its step. While its age is less than this
    // many times its step, the spread of its alphas' ages matters and it is
    // carried as sub-cohorts made at the middles of equal parts of the step;
    // after, as one cohort that leaves the density they leave. What the
    // spread then still changes falls as the square of this number; the
    // work grows with it.
    double youngAges = 8.0;
    // At most this many nodes; steps widen evenly beyond it.
    std::size_t maxNodes = 20'000;
};

// The annealed dose along a history (times in Myr, temperatures in °C, slots
// 1..n as AgeInput holds them; times never decrease). Each cohort is made
// over one step between nodes, as if at its middle, and every step anneals
// with the temperature at its middle: second order in the steps. `stop`, when
// set, ends it with CalculationStopped. Expects a damage kinetics and a
// checked history.
AnnealedDose annealedDose(ModelKinetics kinetics, std::span<const double> times,
                          std::span<const double> temps, const DamageGridSteps &steps = {},
                          const std::atomic<bool> *stop = nullptr);

// Whether `dose` was computed for this kinetics, history and grid.
bool annealedDoseFits(const AnnealedDose &dose, ModelKinetics kinetics,
                      std::span<const double> times, std::span<const double> temps,
                      const DamageGridSteps &steps);

// ln of the helium diffusivity, D in µm² per million 365.25-day years, at a
// temperature in °C under a damage kinetics and an alpha dose (alphas/g).
// +infinity for ZRDAAM at no dose, where its law has no bound.
double damageLnDiffusivity(ModelKinetics kinetics, double celsius, double dose);

// The damage as its model measures it: RDAAM the effective track density
// (tracks/cm²), ZRDAAM the alpha dose itself (alphas/g).
double damageMeasure(ModelKinetics kinetics, double dose);

// µm² per million 365.25-day years in one cm²/s.
inline constexpr double kDamageDiffusivityUnit = 1e8 * 3.15576e13;
// Seconds in a million 365.25-day years.
inline constexpr double kSecondsPerMyr = 3.15576e13;

// The grain's atoms per parent (nmol/g at the present) in kParentConstants
// order, 0 for parents it lacks.
std::array<double, kParentCount> parentAtoms(const std::vector<ParentSource> &sources);
