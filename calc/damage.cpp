#include "damage.h"

#include "calcerrors.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kKelvinOffset = 273.15;
// The gas constant of the damage models, kJ/(mol K).
constexpr double kGasConstant = 8.314472e-3;
// Alphas per nmol of alpha particles.
constexpr double kAlphasPerNmol = 6.02214076e14;

// The fanning curvilinear annealing law g = C0 + C1 (ln t - C2) / (ln(1/T) - C3),
// r = 1 / (g^(1/alpha) + 1), t in seconds and T in kelvin.
struct AnnealingLaw {
    double c0, c1, c2, c3, alpha;
};
// Ketcham et al. 2007 (Am. Mineral. 92, 799), c-axis projected lengths.
constexpr AnnealingLaw kApatiteLaw{0.39528, 0.01073, -65.12969, -7.91715, 0.04672};
// Guenthner et al. 2013, their fit to the zircon annealing data of Yamada et al. 2007.
constexpr AnnealingLaw kZirconLaw{6.24534, -0.11977, -314.937, -14.2868, -0.05721};

// Apatite: Flowers et al. 2009 take the lengths of the most resistant apatite
// (reduced length rmr0) as the measure of damage, r_lr = ((r - rmr0) /
// (1 - rmr0))^kappa, and Ketcham et al. 2000's length-to-density relation.
constexpr double kRmr0 = 0.83;
constexpr double kKappa = 1.04 - kRmr0;
constexpr double kApatiteLinearFrom = 0.765;
// Where the quadratic of the relation reaches 0: below it a cohort holds no
// damage, which keeps every density between 0 and 1.
constexpr double kApatiteEnd = 0.5274435;
// Zircon (Guenthner et al. 2013): density 1.25 (r - 0.2), cut to 0 where it
// falls below 0.36 / 1.25 + 0.2 = 0.488, as the model is applied (a length
// threshold compared with a density, kept so that ages match the model's).
constexpr double kZirconSlope = 1.25;
constexpr double kZirconShortest = 0.2;
constexpr double kZirconEnd = 0.36 / 1.25 + 0.2;

// RDAAM (Flowers et al. 2009): trapping by damage, constants in cm, s, kJ/mol.
constexpr double kRdaamD0 = 0.6071;       // cm²/s
constexpr double kRdaamEnergy = 122.3;    // E_L
constexpr double kRdaamTrapEnergy = 34.0; // E_trap
constexpr double kPsi = 1e-13;            // cm²
constexpr double kOmega = 1e-22;          // cm⁶
// Effective track density (tracks/cm²) per alpha/g: the dose counted in 238U
// decays (alphas / 8) per cm³ (apatite 3.19 g/cm³), times eta_q L lambda_f /
// lambda_D: Durango's etching efficiency 0.91, half the etchable length
// 16.3 µm, the fission and total decay constants of 238U.
constexpr double kTracksPerAlpha = 0.91 * 8.15e-4 * (8.46e-17 / 1.55125e-10) * 3.19 / 8.0;

// ZRDAAM (Guenthner et al. 2013): amorphous zones slow the helium by
// tortuosity until they connect into fast paths.
constexpr double kBalpha = 5.48e-19; // g per alpha: the mass amorphised per alpha
constexpr double kPhi = 3.0;
constexpr double kSurfacePerVolume = 1.669;     // 1/nm
constexpr double kInterceptUndamaged = 45920.0; // nm
constexpr double kZirconD0 = 193188.0;          // cm²/s, crystalline zircon
constexpr double kZirconEnergy = 165.0;
constexpr double kN17D0 = 6.367e-3; // cm²/s, the fast paths
constexpr double kN17Energy = 71.0;

// A step moves a cohort's equivalent time by less than a unit in the last
// place when the step is e^-37 of it or shorter: the cohort is left as it was.
constexpr double kNegligibleStep = -37.0;
// Near the first point the grid's time rule (steps a share of the time
// elapsed) would ask for ever shorter steps; below this share of the whole
// history the step stays as it is there.
constexpr double kSmallestElapsed = 1e-4;

// ln(e^a + e^b) without overflow; -inf when both are.
double logAddExp(double a, double b) {
    if (a < b)
        std::swap(a, b);
    if (a == -std::numeric_limits<double>::infinity())
        return a;
    return a + std::log1p(std::exp(b - a));
}

const AnnealingLaw &lawOf(ModelKinetics kinetics) {
    return kinetics == ModelKinetics::Zrdaam ? kZirconLaw : kApatiteLaw;
}

// The annealing law at one temperature: g is linear in ln t with this slope.
// At temperatures where ln(1/T) reaches C3 the law has no finite time: every
// cohort anneals at once (`melts`).
struct LawAt {
    double slope = 0.0;
    bool melts = false;
};

LawAt lawAt(const AnnealingLaw &law, double kelvin) {
    const double denominator = -std::log(kelvin) - law.c3;
    if (!(denominator > 0))
        return {0.0, true};
    return {law.c1 / denominator, false};
}

double reducedLength(const AnnealingLaw &law, double g) {
    // g runs from -inf (apatite) or +inf (zircon) for a fresh cohort towards
    // total annealing; beyond 0 the law's power is not defined, and the
    // cohort is fresh (apatite) or gone (zircon).
    if (!(g > 0))
        return law.alpha > 0 ? 1.0 : 0.0;
    return 1.0 / (std::exp(std::log(g) / law.alpha) + 1.0);
}

double damageDensity(ModelKinetics kinetics, double r) {
    if (kinetics == ModelKinetics::Zrdaam) {
        const double rho = kZirconSlope * (r - kZirconShortest);
        return rho < kZirconEnd ? 0.0 : rho;
    }
    if (r < kRmr0)
        return 0.0;
    const double rlr = std::exp(kKappa * std::log((r - kRmr0) / (1 - kRmr0)));
    if (rlr >= kApatiteLinearFrom)
        return 1.6 * rlr - 0.6;
    if (rlr >= kApatiteEnd)
        return std::max(0.0, (9.205 * rlr - 9.157) * rlr + 2.269);
    return 0.0;
}

// The g at which a cohort leaves density rho (above 0), on the side of
// apatite's jump that `longer` names (a reduced length at or above it).
double densityG(ModelKinetics kinetics, const AnnealingLaw &law, double rho, bool longer) {
    double r;
    if (kinetics == ModelKinetics::Zrdaam) {
        r = rho / kZirconSlope + kZirconShortest;
    } else {
        // The linear part of the relation, or the larger root of its quadratic.
        const double rlr =
            longer ? (rho + 0.6) / 1.6
                   : (9.157 + std::sqrt(std::max(0.0, 9.157 * 9.157 - 4 * 9.205 * (2.269 - rho)))) /
                         (2 * 9.205);
        r = kRmr0 + (1 - kRmr0) * std::pow(rlr, 1 / kKappa);
    }
    return std::pow(1 / r - 1, law.alpha);
}

// A jump of the density as the reduced length falls past `r`: from `above`
// to `below`.
struct DensityJump {
    double r, above, below;
};

// Where a kinetics' density jumps: apatite's relation at r_lr = 0.765 and
// zircon's cut to 0.
std::vector<DensityJump> densityJumps(ModelKinetics kinetics) {
    if (kinetics == ModelKinetics::Zrdaam) {
        const double r = kZirconEnd / kZirconSlope + kZirconShortest;
        return {{r, kZirconEnd, 0.0}};
    }
    const double x = kApatiteLinearFrom;
    return {{kRmr0 + (1 - kRmr0) * std::pow(x, 1 / kKappa), 1.6 * x - 0.6,
             (9.205 * x - 9.157) * x + 2.269}};
}

// A young cohort is carried as this many sub-cohorts (see DamageGridSteps).
constexpr std::size_t kYoungParts = 9;

// Cohorts in the order they were made, as parallel arrays: each one's g, the
// density its g leaves (0 once it has annealed away, which is for good: a
// cohort's reduced length only ever falls), the time over which it was made
// (Myr) and its dose per parent.
class CohortList {
public:
    std::vector<double> g, rho, width;
    std::array<std::vector<double>, kParentCount> dose;

    std::size_t size() const { return g.size(); }
    void push(double gValue, double rhoValue, double widthValue,
              const std::array<double, kParentCount> &d) {
        g.push_back(gValue);
        rho.push_back(rhoValue);
        width.push_back(widthValue);
        for (std::size_t i = 0; i < kParentCount; ++i)
            dose[i].push_back(d[i]);
    }
    void clear() {
        keep([](std::size_t) { return false; });
    }
    // Keeps the cohorts `kept(c)` chooses, in order.
    template <class Kept> void keep(Kept kept) {
        std::size_t to = 0;
        for (std::size_t c = 0; c < size(); ++c) {
            if (!kept(c))
                continue;
            g[to] = g[c];
            rho[to] = rho[c];
            width[to] = width[c];
            for (std::vector<double> &d : dose)
                d[to] = d[c];
            ++to;
        }
        g.resize(to);
        rho.resize(to);
        width.resize(to);
        for (std::vector<double> &d : dose)
            d.resize(to);
    }
};

// The cohorts of a history: the old ones, oldest first, then the young ones
// in groups of sub-cohorts, one group per step.
class Cohorts {
public:
    // `youngAges`: see DamageGridSteps.
    Cohorts(ModelKinetics kinetics, double youngAges)
        : kinetics_(kinetics), law_(lawOf(kinetics)), youngAges_(youngAges),
          jumps_(densityJumps(kinetics)) {
        for (const DensityJump &jump : jumps_)
            jumpG_.push_back(std::pow(1 / jump.r - 1, law_.alpha));
    }

    // Anneals every cohort for `seconds` at `kelvin`.
    void anneal(double seconds, double kelvin) {
        const LawAt at = lawAt(law_, kelvin);
        if (at.melts) {
            old_.clear();
            young_.clear();
            groups_.clear();
            return;
        }
        anneal(old_, seconds, at);
        anneal(young_, seconds, at);
        // Annealed away: a cohort whose g and whose younger neighbour's both
        // leave nothing (the neighbour bounds what it spreads over).
        std::size_t gone = 0;
        for (std::size_t c = 0; c < old_.size(); ++c)
            gone += old_.rho[c] == 0.0;
        if (gone * 2 > old_.size()) {
            const double next = young_.size() > 0 ? young_.rho[0] : 0.0;
            old_.keep([&](std::size_t c) {
                return old_.rho[c] > 0 || (c + 1 < old_.size() ? old_.rho[c + 1] : next) > 0;
            });
        }
    }

    // The cohort made over a step of `seconds` ending now (`now`, Myr), with
    // `dose` per parent, the temperature going from `startKelvin` to
    // `endKelvin`: each sub-cohort annealed since its making at the
    // temperature halfway there.
    void add(const std::array<double, kParentCount> &dose, double seconds, double startKelvin,
             double endKelvin, double now) {
        const double step = seconds / kSecondsPerMyr;
        std::array<double, kParentCount> part{};
        for (std::size_t i = 0; i < kParentCount; ++i)
            part[i] = dose[i] / double(kYoungParts);
        for (std::size_t q = kYoungParts; q-- > 0;) {                   // oldest first
            const double age = (double(q) + 0.5) / double(kYoungParts); // share of the step
            const LawAt at = lawAt(law_, endKelvin + (startKelvin - endKelvin) * age / 2);
            double g = law_.c0, rho = 0.0;
            if (!at.melts) {
                g += at.slope * (std::log(seconds * age) - law_.c2);
                rho = damageDensity(kinetics_, reducedLength(law_, g));
            }
            young_.push(g, rho, step / double(kYoungParts), part);
        }
        groups_.push_back({now - step / 2, step, dose});
    }

    // Young groups old enough by `now` (Myr) become one old cohort each.
    void age(double now) {
        std::size_t done = 0;
        for (; done < groups_.size(); ++done) {
            const Group &group = groups_[done];
            if (now - group.middle < youngAges_ * group.step)
                break;
            const auto [g, rho] = merged(done * kYoungParts);
            old_.push(g, rho, group.step, group.dose);
        }
        if (done > 0) {
            const std::size_t first = done * kYoungParts;
            young_.keep([&](std::size_t c) { return c >= first; });
            groups_.erase(groups_.begin(), groups_.begin() + std::ptrdiff_t(done));
        }
    }

    // Sum over the cohorts of dose times density, per parent. A cohort spreads
    // over the g between its neighbours' (linear in the time of making); where
    // the density jumps inside that spread, the share beyond the jump takes
    // the density there, so that the damage passes a jump smoothly as the
    // continuous cohorts do.
    std::array<double, kParentCount> annealed() const {
        const std::size_t oldCount = old_.size(), count = oldCount + young_.size();
        auto list = [&](std::size_t i) -> const CohortList & {
            return i < oldCount ? old_ : young_;
        };
        auto index = [&](std::size_t i) { return i < oldCount ? i : i - oldCount; };
        std::array<double, kParentCount> sums{};
        for (std::size_t i = 0; i < count; ++i) {
            const CohortList &l = list(i);
            const std::size_t c = index(i);
            double rho = l.rho[c];
            // Only a jump between its neighbours' g can lie in its spread.
            double lowest = l.g[c], highest = l.g[c];
            for (const std::size_t j : {i - 1, i + 1})
                if (j < count) {
                    lowest = std::min(lowest, list(j).g[index(j)]);
                    highest = std::max(highest, list(j).g[index(j)]);
                }
            bool near = false;
            for (const double jumpG : jumpG_)
                near = near || (lowest < jumpG && jumpG < highest);
            if (near) {
                const double g = l.g[c], w = l.width[c];
                // Its g at the ends of its time of making, from its neighbours'.
                auto edge = [&](std::size_t j) {
                    const CohortList &n = list(j);
                    const double wn = n.width[index(j)];
                    return g + (n.g[index(j)] - g) * w / (w + wn);
                };
                double older = i > 0 ? edge(i - 1) : 0.0;
                double younger = i + 1 < count ? edge(i + 1) : 0.0;
                if (i == 0)
                    older = 2 * g - younger;
                if (i + 1 == count)
                    younger = 2 * g - older;
                const double lo = std::min(older, younger), hi = std::max(older, younger);
                for (std::size_t k = 0; k < jumps_.size(); ++k) {
                    const double jumpG = jumpG_[k];
                    if (!(lo < jumpG && jumpG < hi))
                        continue;
                    // The share of its spread on the other side of the jump
                    // from its own g takes the density of that side.
                    const bool annealedPast = reducedLength(law_, g) < jumps_[k].r;
                    const double toOther = annealedPast ? jumps_[k].above - jumps_[k].below
                                                        : jumps_[k].below - jumps_[k].above;
                    const double otherShare = (g < jumpG ? hi - jumpG : jumpG - lo) / (hi - lo);
                    rho += toOther * otherShare;
                }
            }
            for (std::size_t p = 0; p < kParentCount; ++p)
                sums[p] += l.dose[p][c] * rho;
        }
        return sums;
    }

private:
    struct Group {
        double middle, step; // Myr
        std::array<double, kParentCount> dose;
    };

    // The g and density of the young group starting at `first` as one cohort:
    // the g that leaves their mean density, or, where that is not one
    // smooth piece of the relation (some annealed away, or on both sides of
    // a jump), the middle one's.
    std::pair<double, double> merged(std::size_t first) const {
        const std::size_t middle = first + kYoungParts / 2;
        const double g = young_.g[middle];
        double mean = 0.0;
        bool smooth = true;
        for (std::size_t q = first; q < first + kYoungParts; ++q) {
            mean += young_.rho[q] / double(kYoungParts);
            smooth = smooth && young_.rho[q] > 0;
            for (const double jumpG : jumpG_)
                smooth = smooth && (young_.g[q] < jumpG) == (g < jumpG);
        }
        if (!smooth)
            return {g, young_.rho[middle]};
        const bool longer = reducedLength(law_, g) >= jumps_.front().r;
        const double meanG = densityG(kinetics_, law_, mean, longer);
        return {meanG, damageDensity(kinetics_, reducedLength(law_, meanG))};
    }

    void anneal(CohortList &list, double seconds, const LawAt &at) const {
        const double lnStep = std::log(seconds);
        const double c0 = law_.c0, c2 = law_.c2, slope = at.slope, inverse = 1 / at.slope;
        for (std::size_t c = 0; c < list.size(); ++c) {
            // The equivalent time at this temperature, then the step added to it.
            const double lnEquivalent = c2 + (list.g[c] - c0) * inverse;
            const double x = lnStep - lnEquivalent;
            if (x < kNegligibleStep)
                continue;
            const double lnAfter =
                x > 0 ? lnStep + std::log1p(std::exp(-x)) : lnEquivalent + std::log1p(std::exp(x));
            list.g[c] = c0 + slope * (lnAfter - c2);
            list.rho[c] = damageDensity(kinetics_, reducedLength(law_, list.g[c]));
        }
    }

    ModelKinetics kinetics_;
    const AnnealingLaw &law_;
    double youngAges_;
    std::vector<DensityJump> jumps_;
    std::vector<double> jumpG_; // the g of each jump
    CohortList old_, young_;
    std::vector<Group> groups_; // oldest first; young_ holds kYoungParts per group
};

// The nodes of a history: its own points, and with grid steps as many more
// between them as the steps ask for. False, with the nodes incomplete, once
// there would be more than `most`.
bool placeNodes(AnnealedDose &out, std::span<const double> times, std::span<const double> temps,
                double lnTempStep, double timeStep, std::size_t most) {
    const std::size_t n = times.size() - 1;
    out.times.clear();
    out.temps.clear();
    out.pointNodes.assign(n + 1, 0);
    const double first = times[1];
    const double shortest = timeStep * kSmallestElapsed * (times[n] - first);
    for (std::size_t k = 1; k <= n; ++k) {
        if (k > 1 && timeStep > 0) {
            const double ta = times[k - 1], tb = times[k], h = tb - ta;
            const double Ta = temps[k - 1], Tb = temps[k];
            const double lnChange =
                std::fabs(std::log(Tb + kKelvinOffset) - std::log(Ta + kKelvinOffset));
            const double byTemp =
                lnTempStep > 0 ? h / std::max(1.0, std::ceil(lnChange / lnTempStep)) : h;
            for (double t = ta; h > 0;) {
                const double step = std::min(byTemp, std::max(timeStep * (t - first), shortest));
                // The last step may be up to half a step longer, never a sliver.
                if (!(step > 0) || t + 1.5 * step >= tb || t + step == t)
                    break;
                t += step;
                out.times.push_back(t);
                out.temps.push_back(Ta + (Tb - Ta) * (t - ta) / h);
                if (out.times.size() > most)
                    return false;
            }
        }
        out.times.push_back(times[k]);
        out.temps.push_back(temps[k]);
        out.pointNodes[k] = out.times.size() - 1;
    }
    return true;
}

} // namespace

double AnnealedDose::dose(std::size_t m, const std::array<double, kParentCount> &atoms) const {
    double sum = 0.0;
    for (std::size_t i = 0; i < kParentCount; ++i)
        sum += atoms[i] * perAtom[i][m];
    return sum;
}

AnnealedDose annealedDose(ModelKinetics kinetics, std::span<const double> times,
                          std::span<const double> temps, const DamageGridSteps &steps,
                          const std::atomic<bool> *stop) {
    AnnealedDose out;
    out.kinetics = kinetics;
    out.historyTimes.assign(times.begin(), times.end());
    out.historyTemps.assign(temps.begin(), temps.end());
    out.lnTempStep = steps.lnTempStep;
    out.timeStep = steps.timeStep;
    out.youngAges = steps.youngAges;
    const std::size_t n = times.empty() ? 0 : times.size() - 1;
    if (n == 0)
        return out;

    // A history that would need more nodes than allowed (its own points
    // aside) gets wider steps.
    const std::size_t most = std::max(steps.maxNodes, 2 * n);
    for (double widen = 1;
         !placeNodes(out, times, temps, steps.lnTempStep * widen, steps.timeStep * widen, most);)
        widen *= 2;

    const std::size_t nodes = out.times.size();
    for (std::vector<double> &a : out.perAtom)
        a.assign(nodes, 0.0);
    const double present = times[n];
    Cohorts cohorts(kinetics, steps.youngAges);
    std::array<double, kParentCount> dose{};
    for (std::size_t m = 1; m < nodes; ++m) {
        if (stop && stop->load(std::memory_order_relaxed))
            throw CalculationStopped{};
        const double h = out.times[m] - out.times[m - 1];
        if (h > 0) {
            const double Ta = out.temps[m - 1] + kKelvinOffset, Tb = out.temps[m] + kKelvinOffset;
            const double seconds = h * kSecondsPerMyr;
            cohorts.anneal(seconds, (Ta + Tb) / 2);
            for (std::size_t i = 0; i < kParentCount; ++i) {
                const double decay = kParentConstants[i].decayPerYear * 1e6;
                dose[i] = std::exp(decay * (present - out.times[m])) * std::expm1(decay * h);
            }
            cohorts.add(dose, seconds, Ta, Tb, out.times[m]);
            cohorts.age(out.times[m]);
        }
        const std::array<double, kParentCount> annealed = cohorts.annealed();
        for (std::size_t i = 0; i < kParentCount; ++i)
            out.perAtom[i][m] = annealed[i] * kParentConstants[i].heliumPerDecay * kAlphasPerNmol;
    }
    return out;
}

bool annealedDoseFits(const AnnealedDose &dose, ModelKinetics kinetics,
                      std::span<const double> times, std::span<const double> temps,
                      const DamageGridSteps &steps) {
    return dose.kinetics == kinetics && dose.lnTempStep == steps.lnTempStep &&
           dose.timeStep == steps.timeStep && dose.youngAges == steps.youngAges &&
           std::equal(times.begin(), times.end(), dose.historyTimes.begin(),
                      dose.historyTimes.end()) &&
           std::equal(temps.begin(), temps.end(), dose.historyTemps.begin(),
                      dose.historyTemps.end());
}

double damageLnDiffusivity(ModelKinetics kinetics, double celsius, double dose) {
    const double RT = kGasConstant * (celsius + kKelvinOffset);
    const double lnUnit = std::log(kDamageDiffusivityUnit);
    if (kinetics == ModelKinetics::Zrdaam) {
        const double amorphous = kBalpha * dose;
        const double fraction = -std::expm1(-amorphous);         // f_a
        const double connected = -std::expm1(-kPhi * amorphous); // D_I
        const double lnCrystal = std::log(kZirconD0) - kZirconEnergy / RT;
        const double lnFast = std::log(kN17D0) - kN17Energy / RT;
        // (1 - D_I)^3 tau / D_z, with 1 - D_I = e^(-phi B alpha) and
        // tau = (l_int,0 / l_int)^2.
        double lnSlow = -std::numeric_limits<double>::infinity();
        if (fraction > 0) {
            const double intercept = 4.2 / (fraction * kSurfacePerVolume) - 2.5;
            lnSlow =
                -3 * kPhi * amorphous + 2 * std::log(kInterceptUndamaged / intercept) - lnCrystal;
        }
        const double lnConnected = connected > 0 ? 3 * std::log(connected) - lnFast
                                                 : -std::numeric_limits<double>::infinity();
        return lnUnit - logAddExp(lnSlow, lnConnected);
    }
    const double tracks = damageMeasure(kinetics, dose);
    const double trapping = kPsi * tracks + kOmega * tracks * tracks * tracks;
    const double lnFree = std::log(kRdaamD0) - kRdaamEnergy / RT;
    // ln(1 + trapping e^(E_trap / RT)), without overflow when cold.
    const double lnSlowing =
        trapping > 0 ? logAddExp(0.0, std::log(trapping) + kRdaamTrapEnergy / RT) : 0.0;
    return lnUnit + lnFree - lnSlowing;
}

double damageMeasure(ModelKinetics kinetics, double dose) {
    return kinetics == ModelKinetics::Rdaam ? kTracksPerAlpha * dose : dose;
}

std::array<double, kParentCount> parentAtoms(const std::vector<ParentSource> &sources) {
    std::array<double, kParentCount> atoms{};
    for (const ParentSource &s : sources)
        atoms[s.parent] = s.atoms;
    return atoms;
}
