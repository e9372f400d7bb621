#include "precisemethod.h"

#include "geometrycheck.h"

#include "calcerrors.h"

#include "emissionfraction.h"
#include "errors.h"
#include "geometrycoefficients.h"
#include "numbertext.h"
#include "vectorstate.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kKelvinOffset = 273.15;
constexpr double kGasConstant = 1.9859; // cal/(mol K)
// cm²/s to µm² per million 365-day years: 1e8 µm² per cm² times 3.1536e13 s.
constexpr double kDiffusivityUnit = 3.1536e21;
// Below the diffusivity at which even the fastest carried term would lose
// this fraction over the whole history, time needs no resolving: such stretches
// are single pieces.
constexpr double kNegligibleDecay = 1e-12;
// Below this exponent the piece weights come from their Taylor series, where
// the closed forms would cancel.
constexpr double kSeriesLimit = 0.01;

// One carried term of the series: its eigenvalue and its weight (for a node,
// its share of the coefficients around it).
struct Mode {
    double lambda = 0.0;
    double weight = 0.0;
};

double eigenvalue(double j, double R) {
    return j * kPi / R * j * kPi / R; // (j pi / R)^2, as the fast method forms it
}

double defaultNodeRatio(std::int32_t N) {
    // The error between two nodes grows with the square of the log of their
    // ratio and with the weight they share, which falls as 1/N; this keeps the
    // product level.
    return 1.0 + 0.1 * std::sqrt(std::max(N, 1) / 50.0);
}

// The carried terms for emission distance S, with terms 1..N weighted by
// `coefficients` (slot j; slots it does not hold read 0). The eigenvalues
// depend on the grain and the settings only, never on S. `recurrentTail`
// takes the coefficients shared among the nodes from their recurrence, which
// saves the runs with a set per parent most of their fixed cost.
std::vector<Mode> seriesModes(const AgeInput &in, const std::vector<double> &coefficients, double S,
                              const PreciseSettings &settings, bool recurrentTail = false) {
    const double R = in.sphereRadius, b = in.outerRadius, a = in.innerRadius;
    const std::int32_t N = std::max<std::int32_t>(in.terms, 0);
    std::vector<Mode> modes;
    double explicitSum = 0.0;
    for (std::int32_t j = 1; j <= N; ++j) {
        const auto slot = static_cast<std::size_t>(j);
        const double c = slot < coefficients.size() ? coefficients[slot] : 0.0;
        modes.push_back({eigenvalue(j, R), c});
        explicitSum += c;
    }

    // Nodes at terms N, N r, N r², ..., last (the first is term N itself, or a
    // new term 1 when N is 0). Every coefficient between two nodes is shared
    // between them so that both its sum and its hot limit c_j / lambda_j come
    // out exactly: the nodes interpolate each term linearly in 1 / lambda. This
    // holds for coefficients of either sign.
    const std::int32_t first = N + 1;
    const std::int32_t last = std::max(settings.lastNodeTerm, 4 * first);
    const std::vector<double> c = recurrentTail ? recurrentGeometryCoefficients(R, b, a, S, last)
                                                : geometryCoefficients(R, b, a, S, last);
    const double ratio = settings.nodeRatio > 1.0 ? settings.nodeRatio : defaultNodeRatio(N);
    if (N == 0)
        modes.push_back({eigenvalue(1, R), 0.0});
    double lower = std::max(N, 1);
    std::size_t lowerNode = modes.size() - 1;
    double tailSum = 0.0;
    for (std::int32_t j = first; j <= last;) {
        const double upper = std::min<double>(last, std::max(lower * ratio, lower + 1));
        modes.push_back({eigenvalue(upper, R), 0.0});
        Mode &low = modes[lowerNode];
        Mode &high = modes.back();
        const double muLow = 1 / low.lambda, muHigh = 1 / high.lambda;
        for (; j <= upper; ++j) {
            const double cj = c[static_cast<std::size_t>(j)];
            const double share = (1 / eigenvalue(j, R) - muHigh) / (muLow - muHigh);
            low.weight += cj * share;
            high.weight += cj * (1 - share);
            tailSum += cj;
        }
        lower = upper;
        lowerNode = modes.size() - 1;
    }
    // The remainder up to the sum of all coefficients; for 1/j² coefficients
    // the terms beyond `last` have their hot limit at sqrt(3) (last + 1/2).
    const double all = keptFraction(R, b, a, S) * ((b * b * b - a * a * a) / (R * R * R));
    modes.push_back({eigenvalue(std::sqrt(3.0) * (last + 0.5), R), all - explicitSum - tailSum});
    return modes;
}

// m_i(x) = integral over v from 0 to 1 of v^i e^(-x v), i = 0, 1, 2, and e^-x.
struct PieceWeights {
    double decay, m0, m1, m2;
};

PieceWeights pieceWeights(double x) {
    PieceWeights w;
    w.decay = std::exp(-x);
    if (x < kSeriesLimit) {
        w.m0 = 1 - x * (1.0 / 2 - x * (1.0 / 6 - x * (1.0 / 24 - x / 120)));
        w.m1 = 1.0 / 2 - x * (1.0 / 3 - x * (1.0 / 8 - x * (1.0 / 30 - x / 144)));
        w.m2 = 1.0 / 3 - x * (1.0 / 4 - x * (1.0 / 10 - x * (1.0 / 36 - x / 168)));
    } else {
        const double ix = 1.0 / x;
        w.m0 = (1 - w.decay) * ix;
        w.m1 = (w.m0 - w.decay) * ix;
        w.m2 = (2 * w.m1 - w.decay) * ix;
    }
    return w;
}

// ln D at a temperature in degrees Celsius, D in µm² per million years, and
// the temperature at which ln D takes a value.
class Arrhenius {
public:
    Arrhenius(double activationEnergy, double d0)
        : ea_(activationEnergy), lnScale_(std::log(d0) + std::log(kDiffusivityUnit)) {}
    double lnD(double celsius) const {
        return lnScale_ - ea_ / ((celsius + kKelvinOffset) * kGasConstant);
    }
    double celsiusAt(double lnD) const {
        return ea_ / ((lnScale_ - lnD) * kGasConstant) - kKelvinOffset;
    }

private:
    double ea_, lnScale_;
};

// A piece's integrated diffusivity dC, exact to rounding by three-point
// Gauss-Legendre, and dt/dC over it relative to its mean h/dC as the quadratic
// p0 + p1 v + p2 v² in the distance v from the newer end (v = 0 .. 1): it
// matches 1/D at both ends and integrates to the piece's length. Pieces whose
// ln D changes by more than 3 steps (those at the floor) keep dt/dC even.
struct PieceShape {
    double dC, p0, p1, p2;
};

// The three-point Gauss-Legendre rule on v = 0 .. 1: nodes 1/2 -+ kGaussNode / 2.
const double kGaussNode = std::sqrt(0.6);
constexpr double kGaussMid = 8.0 / 9, kGaussSide = 5.0 / 9;

// The shape of a piece of length hp whose integrated diffusivity is dC.
PieceShape shapeOf(double hp, double dC, double lnD0, double lnD1, double step) {
    double p0 = 1.0, p1 = 0.0, p2 = 0.0;
    const double lnDRange = std::fabs(lnD1 - lnD0);
    if (dC > 0 && std::isfinite(lnDRange) && lnDRange <= 3 * step) {
        const double mean = dC / hp;
        p0 = mean / std::exp(lnD1);
        const double A = mean / std::exp(lnD0) - p0, B = 1 - p0;
        p2 = 3 * A - 6 * B;
        p1 = 6 * B - 2 * A;
    }
    return {dC, p0, p1, p2};
}

PieceShape pieceShape(const Arrhenius &arrhenius, double hp, double T0, double T1, double lnD0,
                      double lnD1, double step) {
    const double node = kGaussNode;
    constexpr double wMid = kGaussMid, wSide = kGaussSide;
    const double Tm = (T0 + T1) / 2, Th = (T1 - T0) / 2;
    const double dC =
        hp / 2 *
        (wMid * std::exp(arrhenius.lnD(Tm)) + wSide * (std::exp(arrhenius.lnD(Tm - node * Th)) +
                                                       std::exp(arrhenius.lnD(Tm + node * Th))));
    return shapeOf(hp, dC, lnD0, lnD1, step);
}

void checkPreciseInput(const AgeInput &in) {
    if (!in.emissionDistance)
        throw tarvel::Error("The precise method needs the emission distance.");
    if (const std::string problem = geometrycheck::grainProblem(
            in.sphereRadius, in.outerRadius, in.innerRadius, in.emissionDistance);
        !problem.empty())
        throw tarvel::Error(problem);
}

// Cuts every interval between neighbouring points into pieces and hands each
// piece to `visit(k, t0, t1, T0, T1, lnD0, lnD1)`; k is the interval's newer
// point. Counts the pieces only, when `visit` is null.
class Pieces {
public:
    Pieces(const AgeInput &in, const Arrhenius &arrhenius, double lnDFloor, double lnDStep)
        : in_(in), arrhenius_(arrhenius), floor_(lnDFloor), step_(lnDStep) {}

    std::size_t count(std::size_t k) const {
        const double La = std::max(arrhenius_.lnD(in_.temps[k - 1]), floor_);
        const double Lb = std::max(arrhenius_.lnD(in_.temps[k]), floor_);
        const double steps = std::ceil(std::fabs(Lb - La) / step_);
        // Room for the two boundaries at the floor; huge counts stay finite.
        return static_cast<std::size_t>(std::min(std::max(steps, 1.0), 1e15)) + 2;
    }

    // The boundary temperatures of interval k, oldest first.
    void boundaries(std::size_t k, std::vector<double> &temps) const {
        const double Ta = in_.temps[k - 1], Tb = in_.temps[k];
        const double rawA = arrhenius_.lnD(Ta), rawB = arrhenius_.lnD(Tb);
        const double La = std::max(rawA, floor_), Lb = std::max(rawB, floor_);
        temps.clear();
        temps.push_back(Ta);
        if (La != Lb) {
            const double floorTemp = arrhenius_.celsiusAt(floor_);
            const auto n = static_cast<std::size_t>(std::ceil(std::fabs(Lb - La) / step_));
            if (rawA < La)
                temps.push_back(floorTemp);
            for (std::size_t i = 1; i < n; ++i)
                temps.push_back(arrhenius_.celsiusAt(La + (Lb - La) * double(i) / double(n)));
            if (rawB < Lb)
                temps.push_back(floorTemp);
        }
        temps.push_back(Tb);
    }

private:
    const AgeInput &in_;
    const Arrhenius &arrhenius_;
    double floor_, step_;
};

// The history in time order, as the pieces cut it: `piece(t0, t1, T0, T1,
// lnD0, lnD1)` for every piece of positive length between points k - 1 and
// k, the temperature linear in time across it, then `point(k)`, for k from 2.
template <class Piece, class Point>
void walkPieces(const AgeInput &in, const Pieces &pieces, const Arrhenius &arrhenius, Piece piece,
                Point point) {
    const std::size_t n = in.times.size() - 1;
    std::size_t mostPieces = 0;
    for (std::size_t k = 2; k <= n; ++k)
        mostPieces = std::max(mostPieces, pieces.count(k));
    // A history whose diffusivity cannot be followed (absurd kinetics or
    // temperatures) would ask for more boundaries than any memory holds: it
    // is refused as such before anything is allocated.
    constexpr std::size_t kMostBoundaries = 100'000'000;
    if (mostPieces >= kMostBoundaries)
        throw std::bad_alloc();
    std::vector<double> boundaryTemps;
    boundaryTemps.reserve(mostPieces + 1);
    for (std::size_t k = 2; k <= n; ++k) {
        const double ta = in.times[k - 1], tb = in.times[k];
        const double Ta = in.temps[k - 1], Tb = in.temps[k];
        const double h = tb - ta;
        if (h > 0) {
            pieces.boundaries(k, boundaryTemps);
            double t0 = ta, T0 = boundaryTemps.front();
            double lnD0 = arrhenius.lnD(T0);
            for (std::size_t i = 1; i < boundaryTemps.size(); ++i) {
                const double T1 = boundaryTemps[i];
                const double t1 = i + 1 == boundaryTemps.size()
                                      ? tb
                                      : std::clamp(ta + h * (T1 - Ta) / (Tb - Ta), t0, tb);
                const double lnD1 = arrhenius.lnD(T1);
                if (t1 - t0 > 0)
                    piece(t0, t1, T0, T1, lnD0, lnD1);
                t0 = t1;
                T0 = T1;
                lnD0 = lnD1;
            }
        }
        point(k);
    }
}

// After point k of n: a value that is not a finite number ends the run, the
// progress moves on and a stop asked for is obeyed.
void pointDone(double value, const char *what, std::size_t k, std::size_t n, std::int32_t N,
               std::atomic<std::int32_t> *progress, const std::atomic<bool> *stop) {
    if (!std::isfinite(value))
        throw tarvel::Error(std::string("The age calculation cannot be completed: the ") + what +
                            " at point " + std::to_string(k) +
                            " is not a finite number. No results were computed.");
    if (progress)
        progress->store(static_cast<std::int32_t>(double(N) * double(k - 1) / double(n - 1)));
    if (stop && stop->load(std::memory_order_relaxed))
        throw CalculationStopped{};
}

// The ln D step of a run: the settings' own, widened when the history would
// need more pieces than they allow.
double runStep(const AgeInput &in, const Arrhenius &arrhenius, double lnDFloor,
               const PreciseSettings &settings) {
    const std::size_t n = in.times.size() - 1;
    double step = settings.lnDStep;
    const Pieces counting(in, arrhenius, lnDFloor, step);
    double extra = 0.0;
    for (std::size_t k = 2; k <= n; ++k)
        extra += double(counting.count(k) - 3);
    if (extra > double(settings.maxPieces))
        step *= extra / double(settings.maxPieces);
    return step;
}

// m_i(x) = integral over v from 0 to 1 of v^i e^(-x v), i = 0..3, and e^-x.
struct CubicWeights {
    double decay, m0, m1, m2, m3;
};

CubicWeights cubicWeights(double x) {
    const PieceWeights w = pieceWeights(x);
    double m3;
    if (x < kSeriesLimit)
        m3 = 1.0 / 4 - x * (1.0 / 5 - x * (1.0 / 12 - x * (1.0 / 42 - x / 192)));
    else
        m3 = (3 * w.m2 - w.decay) / x;
    return {w.decay, w.m0, w.m1, w.m2, m3};
}

} // namespace

std::vector<double> preciseAges(const AgeInput &in, std::atomic<std::int32_t> *progress,
                                const PreciseSettings &settings, const std::atomic<bool> *stop) {
    checkPreciseInput(in);
    const std::size_t n = in.times.empty() ? 0 : in.times.size() - 1;
    const std::int32_t N = std::max<std::int32_t>(in.terms, 0);
    const double R = in.sphereRadius, b = in.outerRadius, a = in.innerRadius;
    const double V = R * R * R / (b * b * b - a * a * a);

    const std::vector<Mode> modes =
        seriesModes(in, in.coefficients, *in.emissionDistance, settings);
    double lambdaTop = 0.0;
    for (const Mode &m : modes)
        lambdaTop = std::max(lambdaTop, m.lambda);

    std::vector<double> results(n + 1, 0.0);
    if (n < 2) {
        if (progress)
            progress->store(N);
        return results;
    }
    const Arrhenius arrhenius(static_cast<double>(in.activationEnergy), static_cast<double>(in.d0));
    const double span = in.times[n] - in.times[1];
    const double lnDFloor =
        span > 0 ? std::log(kNegligibleDecay) - std::log(lambdaTop) - std::log(span) : 0.0;

    const double step = runStep(in, arrhenius, lnDFloor, settings);
    const Pieces pieces(in, arrhenius, lnDFloor, step);
    std::vector<double> held(modes.size(), 0.0); // per term: integral of its weight over time
    clearUpperVectorState();
    walkPieces(
        in, pieces, arrhenius,
        [&](double t0, double t1, double T0, double T1, double lnD0, double lnD1) {
            const double hp = t1 - t0;
            const PieceShape shape = pieceShape(arrhenius, hp, T0, T1, lnD0, lnD1, step);
            const double dC = shape.dC, p0 = shape.p0, p1 = shape.p1, p2 = shape.p2;
            for (std::size_t j = 0; j < modes.size(); ++j) {
                const PieceWeights w = pieceWeights(modes[j].lambda * dC);
                held[j] = held[j] * w.decay + hp * (p0 * w.m0 + p1 * w.m1 + p2 * w.m2);
            }
        },
        [&](std::size_t k) {
            double sum = 0.0;
            for (std::size_t j = 0; j < modes.size(); ++j)
                sum += modes[j].weight * held[j];
            results[k] = V * sum;
            pointDone(results[k], "result", k, n, N, progress, stop);
        });
    return results;
}

namespace {

// Parents decay by at most this exponent over one piece, so that their
// production inside it is a cubic to 1e-8.
constexpr double kMostDecayPerPiece = 0.1;

// The history under damage kinetics, in time order. Between the damage's
// nodes the temperature and the grain's damage are linear in time; each step
// between nodes is cut evenly into as many pieces as `decayCuts` asks for and
// as keep the change of the grain's ln D across a piece within the ln D step
// (widened when the history would need more than `maxPieces`). Then
// `addPiece(t1, hp, shape)` for every piece and `point(k)` at every history
// point from 2.
template <class DecayCuts, class AddPiece, class Point>
void walkDamagePieces(const AgeInput &in, const AnnealedDose &damage,
                      const std::array<double, kParentCount> &atoms, double lnDFloor,
                      const PreciseSettings &settings, DecayCuts decayCuts, AddPiece addPiece,
                      Point point) {
    const ModelKinetics kinetics = damage.kinetics;
    const std::size_t nodes = damage.times.size();
    std::vector<double> dose(nodes), lnD(nodes);
    for (std::size_t m = 0; m < nodes; ++m) {
        dose[m] = damage.dose(m, atoms);
        lnD[m] = damageLnDiffusivity(kinetics, damage.temps[m], dose[m]);
    }
    // Below the floor time needs no resolving; across an end without bound
    // (ZRDAAM at no damage) it cannot be resolved, and the piece forgets all.
    auto lnDCuts = [&](std::size_t m, double step) {
        const double change =
            std::fabs(std::max(lnD[m], lnDFloor) - std::max(lnD[m - 1], lnDFloor));
        return std::isfinite(change)
                   ? static_cast<std::size_t>(std::clamp(std::ceil(change / step), 1.0, 1e6))
                   : std::size_t(1);
    };
    double step = settings.lnDStep;
    double extra = 0.0;
    for (std::size_t m = 1; m < nodes; ++m)
        if (damage.times[m] > damage.times[m - 1])
            extra += double(lnDCuts(m, step) - 1);
    if (extra > double(settings.maxPieces))
        step *= extra / double(settings.maxPieces);

    const std::size_t n = in.times.size() - 1;
    std::size_t m = 1;
    for (std::size_t k = 2; k <= n; ++k) {
        for (; m <= damage.pointNodes[k]; ++m) {
            const double ta = damage.times[m - 1], h = damage.times[m] - ta;
            if (!(h > 0))
                continue;
            const double Ta = damage.temps[m - 1], dT = damage.temps[m] - Ta;
            const double da = dose[m - 1], dd = dose[m] - da;
            auto lnDAt = [&](double f) {
                return damageLnDiffusivity(kinetics, Ta + dT * f, da + dd * f);
            };
            const std::size_t count = std::max(lnDCuts(m, step), decayCuts(h));
            double f0 = 0.0, s0 = ta, L0 = lnD[m - 1];
            for (std::size_t c = 1; c <= count; ++c) {
                const double f1 = c == count ? 1.0 : double(c) / double(count);
                const double s1 = c == count ? damage.times[m] : ta + h * f1;
                const double L1 = c == count ? lnD[m] : lnDAt(f1);
                const double hp = s1 - s0;
                if (hp > 0) {
                    const double fm = (f0 + f1) / 2, fh = (f1 - f0) / 2;
                    const double dC = hp / 2 *
                                      (kGaussMid * std::exp(lnDAt(fm)) +
                                       kGaussSide * (std::exp(lnDAt(fm - kGaussNode * fh)) +
                                                     std::exp(lnDAt(fm + kGaussNode * fh))));
                    addPiece(s1, hp, shapeOf(hp, dC, L0, L1, step));
                }
                f0 = f1;
                s0 = s1;
                L0 = L1;
            }
        }
        point(k);
    }
}

} // namespace

std::vector<double> preciseHeldHelium(const AgeInput &in, const std::vector<ParentSource> &sources,
                                      std::atomic<std::int32_t> *progress,
                                      const PreciseSettings &settings,
                                      const std::atomic<bool> *stop, const AnnealedDose *damage) {
    const std::size_t n = in.times.empty() ? 0 : in.times.size() - 1;
    const std::int32_t N = std::max<std::int32_t>(in.terms, 0);
    const double R = in.sphereRadius, b = in.outerRadius, a = in.innerRadius;
    const double V = R * R * R / (b * b * b - a * a * a);
    const std::size_t parents = sources.size();

    // The carried terms have the same eigenvalues for every stopping
    // distance; only their weights differ, so the time stepping and its
    // exponentials are shared and only the sources are per parent.
    std::vector<std::vector<double>> weights(parents);
    std::vector<double> lambdas;
    for (std::size_t i = 0; i < parents; ++i) {
        const double S = sources[i].stopping;
        const std::vector<Mode> modes =
            seriesModes(in, geometryCoefficients(R, b, a, S, N), S, settings, true);
        if (i == 0)
            for (const Mode &m : modes)
                lambdas.push_back(m.lambda);
        for (const Mode &m : modes)
            weights[i].push_back(m.weight);
    }
    const std::size_t modeCount = lambdas.size();
    const double lambdaTop = *std::max_element(lambdas.begin(), lambdas.end());
    double decayTop = 0.0;
    for (const ParentSource &s : sources)
        decayTop = std::max(decayTop, s.decay);

    std::vector<double> helium(n + 1, 0.0);
    if (n < 2) {
        if (progress)
            progress->store(N);
        return helium;
    }
    const Arrhenius arrhenius(static_cast<double>(in.activationEnergy), static_cast<double>(in.d0));
    const double present = in.times[n];
    const double span = present - in.times[1];
    const double lnDFloor =
        span > 0 ? std::log(kNegligibleDecay) - std::log(lambdaTop) - std::log(span) : 0.0;
    std::vector<std::vector<double>> held(parents, std::vector<double>(modeCount, 0.0));
    std::vector<double> decay(modeCount), m0(modeCount), m1(modeCount), m2(modeCount),
        m3(modeCount);
    clearUpperVectorState();

    // One piece ending at t1: its shared weights per term, then each parent's
    // production, g(t) = g1 e^(eps Q(v)) with dt = hp q(v) dv, so that the
    // integrand against e^(-x v) is hp g1 F(v), F = q e^(eps Q): taken as the
    // cubic that matches F and F' at both ends.
    auto addPiece = [&](double t1, double hp, const PieceShape &shape) {
        for (std::size_t j = 0; j < modeCount; ++j) {
            const CubicWeights w = cubicWeights(lambdas[j] * shape.dC);
            decay[j] = w.decay;
            m0[j] = w.m0;
            m1[j] = w.m1;
            m2[j] = w.m2;
            m3[j] = w.m3;
        }
        const double p0 = shape.p0, p1 = shape.p1, p2 = shape.p2, q1 = p0 + p1 + p2;
        for (std::size_t i = 0; i < parents; ++i) {
            const double eps = sources[i].decay * hp, grow = std::exp(eps);
            const double scale = hp * std::exp(sources[i].decay * (present - t1));
            const double f0 = p0, f1 = q1 * grow;
            const double d0 = p1 + eps * p0 * p0, d1 = (p1 + 2 * p2 + eps * q1 * q1) * grow;
            const double c0 = scale * f0, c1 = scale * d0;
            const double c2 = scale * (3 * (f1 - f0) - 2 * d0 - d1);
            const double c3 = scale * (2 * (f0 - f1) + d0 + d1);
            std::vector<double> &h = held[i];
            for (std::size_t j = 0; j < modeCount; ++j)
                h[j] = h[j] * decay[j] + (c0 * m0[j] + c1 * m1[j] + c2 * m2[j] + c3 * m3[j]);
        }
    };
    // Long pieces (cold stretches are one piece) are cut in time, so that the
    // parents' production is a cubic inside each.
    auto decayCuts = [&](double hp) {
        const double cuts = std::ceil(decayTop * hp / kMostDecayPerPiece);
        return static_cast<std::size_t>(std::clamp(cuts, 1.0, 1e6));
    };
    auto point = [&](std::size_t k) {
        for (std::size_t i = 0; i < parents; ++i) {
            double sum = 0.0;
            for (std::size_t j = 0; j < modeCount; ++j)
                sum += weights[i][j] * held[i][j];
            const ParentSource &s = sources[i];
            helium[k] += V * s.yield * s.decay * s.atoms * sum;
        }
        pointDone(helium[k], "helium", k, n, N, progress, stop);
    };

    if (damage) {
        walkDamagePieces(in, *damage, parentAtoms(sources), lnDFloor, settings, decayCuts, addPiece,
                         point);
        return helium;
    }

    const double step = runStep(in, arrhenius, lnDFloor, settings);
    const Pieces pieces(in, arrhenius, lnDFloor, step);
    walkPieces(
        in, pieces, arrhenius,
        [&](double t0, double t1, double T0, double T1, double lnD0, double lnD1) {
            const double hp = t1 - t0;
            const std::size_t count = decayCuts(hp);
            double s0 = t0, S0 = T0, L0 = lnD0;
            for (std::size_t c = 1; c <= count; ++c) {
                const double f = double(c) / double(count);
                const double s1 = c == count ? t1 : t0 + hp * f;
                const double S1 = c == count ? T1 : T0 + (T1 - T0) * f;
                const double L1 = c == count ? lnD1 : arrhenius.lnD(S1);
                if (s1 > s0)
                    addPiece(s1, s1 - s0, pieceShape(arrhenius, s1 - s0, S0, S1, L0, L1, step));
                s0 = s1;
                S0 = S1;
                L0 = L1;
            }
        },
        point);
    return helium;
}
