#include "agecalculation.h"

#include "geometrycheck.h"

#include "calcerrors.h"
#include "errors.h"
#include "geometrycoefficients.h"
#include "heliumages.h"
#include "numbertext.h"
#include "parentsdata.h"
#include "precisemethod.h"
#include "vectorstate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr long double kKelvinOffset = 273.15L;
constexpr long double kGasConstant = 1.9859L; // cal/(mol K)
// cm²/s to µm² per million 365-day years: 1e8 µm² per cm² times 3.1536e13 s.
constexpr long double kDiffusivityUnit = 3.1536e21L;
// The direct walk stops after the first interval whose older end weighs e^-20
// or less; what it leaves out is below that weight.
constexpr double kCutOff = 20.0;
// A guard kept from the walk's first form: exponents below this are clamped.
// Only a history running backwards could produce one, and those are refused.
constexpr double kLowestExponent = -200.0;
// exp(-x) is exactly 0 in double precision for every x above this.
constexpr double kExpUnderflow = 746.0;

using PartialSums = std::array<double, 5>;

// What the sums report to and hear from the outside, once per term.
struct TermWatch {
    std::atomic<std::int32_t> *progress;
    const std::atomic<bool> *stop;

    void starting() const {
        if (stop && stop->load(std::memory_order_relaxed))
            throw CalculationStopped{};
    }
    void done(std::int32_t j) const {
        if (progress)
            progress->store(j);
    }
};

std::string numberText(double value) {
    return tarvel::formatGeneral(value, tarvel::kEditDigits, tarvel::localeDecimalSeparator());
}

std::string pointText(std::size_t m) {
    return "point " + std::to_string(m);
}

// (1 - e^-y) / y, the mean weight over an interval across which the exponent
// grows by y; exact near 0, where the plain quotient would cancel.
double intervalFactor(double y) {
    return y == 0.0 ? 1.0 : -std::expm1(-y) / y;
}

std::size_t pointCount(const AgeInput &in) {
    return in.times.empty() ? 0 : in.times.size() - 1;
}

void checkModel(const AgeInput &in) {
    if (in.terms < kFewestEigenvalues)
        throw tarvel::Error(tooFewEigenvalues(in.terms));
    // A grain with parents has a stopping distance per parent instead.
    const std::optional<double> emission = in.parents ? std::nullopt : in.emissionDistance;
    if (const std::string problem =
            geometrycheck::grainProblem(in.sphereRadius, in.outerRadius, in.innerRadius, emission);
        !problem.empty())
        throw tarvel::Error(problem);
    if (in.kinetics != ModelKinetics::Arrhenius) {
        // The damage comes from the grain's own uranium, thorium and samarium;
        // the Arrhenius constants are not used.
        if (!in.parents)
            throw tarvel::Error(std::string(kineticsChoice(in.kinetics).name) +
                                " kinetics needs the grain's uranium, thorium or samarium: its "
                                "radiation damage comes from them. Give U_ppm, Th_ppm or Sm_ppm "
                                "above 0, or choose Arrhenius kinetics.");
        return;
    }
    if (!std::isfinite(in.activationEnergy))
        throw tarvel::Error("The activation energy is not a finite number.");
    if (!std::isfinite(in.d0) || in.d0 < 0)
        throw tarvel::Error(
            "The diffusion pre-factor D0 must be a finite number not below 0 (got " +
            numberText(static_cast<double>(in.d0)) + ").");
}

void checkHistory(const AgeInput &in) {
    if (in.temps.size() != in.times.size())
        throw tarvel::Error("The thermal history has " + std::to_string(in.times.size()) +
                            " time slots but " + std::to_string(in.temps.size()) +
                            " temperature slots.");
    const std::size_t n = pointCount(in);
    for (std::size_t m = 1; m <= n; ++m) {
        const double t = in.times[m];
        const double T = in.temps[m];
        if (!std::isfinite(t))
            throw tarvel::Error("The thermal history has a time that is not a finite number at " +
                                pointText(m) + ".");
        if (!std::isfinite(T))
            throw tarvel::Error(
                "The thermal history has a temperature that is not a finite number at " +
                pointText(m) + ".");
        if (T <= -273.15)
            throw tarvel::Error("The thermal history has a temperature at or below absolute zero "
                                "(-273.15 °C): " +
                                pointText(m) + " (" + numberText(T) + " °C).");
        if (m > 1 && t < in.times[m - 1])
            throw tarvel::Error("The thermal history runs backwards in time: " + pointText(m) +
                                " (time " + numberText(t) + ") follows " + pointText(m - 1) +
                                " (time " + numberText(in.times[m - 1]) + ").");
    }
}

[[noreturn]] void throwNotFinite(const std::string &what) {
    throw tarvel::Error("The age calculation cannot be completed: " + what +
                        " is not a finite number. No results were computed.");
}

// Integrated diffusivity C at every point (slots 1..n), by the trapezoidal
// rule over the Arrhenius diffusivity. Extended precision: the walks take
// differences of C between near points, which would otherwise cancel.
void integrateDiffusivity(const AgeInput &in, std::vector<long double> &C) {
    const std::size_t n = pointCount(in);
    const long double lnUnit = std::log(kDiffusivityUnit);
    auto diffusivity = [&](std::size_t m) {
        const long double kelvin = static_cast<long double>(in.temps[m]) + kKelvinOffset;
        return in.d0 * std::exp(lnUnit - in.activationEnergy / (kelvin * kGasConstant));
    };
    if (n == 0)
        return;
    long double D = diffusivity(1);
    C[1] = 0.0L;
    for (std::size_t m = 1; m < n; ++m) {
        const long double Dnext = diffusivity(m + 1);
        C[m + 1] =
            C[m] + (D + Dnext) * (static_cast<long double>(in.times[m + 1]) - in.times[m]) * 0.5L;
        if (!std::isfinite(C[m + 1]))
            throwNotFinite("the integrated diffusivity at " + pointText(m + 1));
        D = Dnext;
    }
}

// Under damage kinetics an interval across which even the slowest term loses
// e^-this of what it held (or across which the diffusivity has no bound, as
// ZRDAAM's at no damage) forgets the past entirely; the integral is held
// there, so that later differences of C keep their digits. Its own helium
// is then at most about 1e-4 of what the interval made.
constexpr long double kForgetAll = 1e4L;

// Integrated diffusivity C at every point, by the trapezoidal rule over the
// diffusivity the damage gives at each point (ln D, µm² per million years,
// slots 1..n), each interval's increment held at kForgetAll / lambda_1.
void integrateDamageDiffusivity(const AgeInput &in, std::span<const double> lnD,
                                std::vector<long double> &C) {
    const std::size_t n = pointCount(in);
    if (n == 0)
        return;
    const long double mostIncrement = kForgetAll * in.sphereRadius * in.sphereRadius / (kPi * kPi);
    C[1] = 0.0L;
    double D = std::exp(lnD[1]);
    for (std::size_t m = 1; m < n; ++m) {
        const double Dnext = std::exp(lnD[m + 1]);
        const long double h = static_cast<long double>(in.times[m + 1]) - in.times[m];
        long double increment = 0.0L;
        if (h > 0) {
            increment = (static_cast<long double>(D) + Dnext) * h * 0.5L;
            if (!(increment <= mostIncrement))
                increment = mostIncrement;
        }
        C[m + 1] = C[m] + increment;
        D = Dnext;
    }
}

// The partial sums P[k][l] take terms j = 1..N-5+l, so term j goes to every l
// from this one on.
int firstPartialSum(std::int32_t j, std::int32_t N) {
    const long long l = static_cast<long long>(j) - N + 5;
    return static_cast<int>(std::max(1LL, l));
}

// Sum over terms of c_j times the integral over the history before t_k of
// exp(-lambda_j (C_k - C(t))), by the recurrence
//   S(k) = S(k-1) e^-d + (t_k - t_{k-1}) phi(d),  d = lambda_j (C_k - C_{k-1}),
// one exponential per term and point.
void sumTermsFast(const AgeInput &in, std::int32_t N, const std::vector<double> &c,
                  const std::vector<double> &lambda, const std::vector<long double> &C,
                  std::vector<PartialSums> &P, const TermWatch &watch) {
    const std::size_t n = pointCount(in);
    for (std::int32_t j = 1; j <= N; ++j) {
        watch.starting();
        const double lam = lambda[static_cast<std::size_t>(j)];
        const double cj = c[static_cast<std::size_t>(j)];
        const int lFirst = firstPartialSum(j, N);
        double S = 0.0;
        for (std::size_t k = 2; k <= n; ++k) {
            const double d = static_cast<double>(lam * (C[k] - C[k - 1]));
            double weight, factor;
            if (d < 0.5) {
                const double em = std::expm1(-d); // no cancellation for small d
                weight = 1.0 + em;
                factor = d == 0.0 ? 1.0 : -em / d;
            } else {
                // Keeps its relative accuracy when tiny; past kExpUnderflow exp
                // gives exactly 0, and takes its slow error path to say so.
                weight = d > kExpUnderflow ? 0.0 : std::exp(-d);
                factor = (1.0 - weight) / d;
            }
            S = S * weight + (in.times[k] - in.times[k - 1]) * factor;
            const double term = cj * S;
            for (int l = lFirst; l <= 5; ++l)
                P[k][static_cast<std::size_t>(l - 1)] += term;
        }
        watch.done(j);
    }
}

// The same sums by walking back over the older intervals, newest first, each
// interval's integral exact for C linear inside it. The walk ends with the
// first interval whose older end has an exponent of 20 or more.
void sumTermsDirect(const AgeInput &in, std::int32_t N, const std::vector<double> &c,
                    const std::vector<double> &lambda, const std::vector<long double> &C,
                    std::vector<PartialSums> &P, std::vector<double> &factor,
                    const TermWatch &watch) {
    const std::size_t n = pointCount(in);
    for (std::int32_t j = 1; j <= N; ++j) {
        watch.starting();
        const double lam = lambda[static_cast<std::size_t>(j)];
        const double cj = c[static_cast<std::size_t>(j)];
        const int lFirst = firstPartialSum(j, N);
        // The interval factors depend on the term but not on the point.
        for (std::size_t m = 1; m < n; ++m)
            factor[m] = intervalFactor(static_cast<double>(lam * (C[m + 1] - C[m])));
        for (std::size_t k = 2; k <= n; ++k) {
            double newerWeight = 1.0; // weight at the newer end of interval m
            double walk = 0.0;
            for (std::size_t m = k - 1; m >= 1; --m) {
                double F = static_cast<double>((C[k] - C[m]) * lam);
                if (F < kLowestExponent)
                    F = kLowestExponent;
                const double olderWeight = std::exp(-F);
                walk += (in.times[m + 1] - in.times[m]) * newerWeight * factor[m];
                if (F >= kCutOff)
                    break;
                newerWeight = olderWeight;
            }
            const double term = cj * walk;
            for (int l = lFirst; l <= 5; ++l)
                P[k][static_cast<std::size_t>(l - 1)] += term;
        }
        watch.done(j);
    }
}

// Extrapolates the partial sums for N-4..N terms to infinitely many: the
// intercept at x = 0 of the least-squares line through (x_l, P[k][l]),
// x_l = 1 / (terms + 0.5). The 0.5 keeps x_l finite for every N.
class Extrapolation {
public:
    explicit Extrapolation(std::int32_t terms) {
        for (int l = 1; l <= 5; ++l) {
            const double xl = 1.0 / (static_cast<double>(terms) - 5 + l + 0.5);
            x_[static_cast<std::size_t>(l - 1)] = xl;
            Sx_ += xl;
            Sxx_ += xl * xl;
            count_ += 1.0;
        }
    }
    // The intercept times `scale`.
    double operator()(const PartialSums &p, double scale) const {
        double SP = 0.0, SxP = 0.0;
        for (std::size_t l = 0; l < 5; ++l) {
            SP += p[l];
            SxP += x_[l] * p[l];
        }
        return scale * (SP * Sxx_ - SxP * Sx_) / (Sxx_ * count_ - Sx_ * Sx_);
    }

private:
    std::array<double, 5> x_{};
    double Sx_ = 0.0, Sxx_ = 0.0, count_ = 0.0;
};

// A parent's production over the history relative to the present (the last
// point), g = exp(lambda (t_n - t)) at every point, with lambda times the
// length of the interval that ends at each point and its exponential.
struct SourceClock {
    std::vector<double> g;    // slots 1..n
    std::vector<double> eps;  // slot k: the interval from point k - 1 to k
    std::vector<double> grow; // exp(eps)
};

SourceClock sourceClock(const AgeInput &in, double decay) {
    const std::size_t n = pointCount(in);
    SourceClock c{std::vector<double>(n + 1, 0.0), std::vector<double>(n + 1, 0.0),
                  std::vector<double>(n + 1, 1.0)};
    for (std::size_t k = 1; k <= n; ++k) {
        c.g[k] = std::exp(decay * (in.times[n] - in.times[k]));
        if (k > 1) {
            c.eps[k] = decay * (in.times[k] - in.times[k - 1]);
            c.grow[k] = std::exp(c.eps[k]);
        }
    }
    return c;
}

// (1 - e^-y) / y, given e^-y; from expm1 near 0, where the quotient would
// cancel. y is the diffusion exponent of an interval less its decay exponent,
// so it is negative where the parents decay faster than the helium leaks.
double decayFactor(double y, double expMinusY) {
    if (std::fabs(y) < 1.0 / 32) {
        // The series sum (-y)^m / (m + 1)! by Horner's rule: as exact as
        // expm1(-y) / y and several times cheaper, which counts here, once per
        // parent, term and point. What it leaves out is below 1e-20 of it.
        constexpr std::array<double, 10> kInverseFactorials = [] {
            std::array<double, 10> c{};
            double factorial = 1.0;
            for (std::size_t m = 0; m < c.size(); ++m) {
                factorial *= static_cast<double>(m + 1);
                c[m] = 1.0 / factorial;
            }
            return c;
        }();
        const double x = -y;
        double sum = kInverseFactorials.back();
        for (std::size_t m = kInverseFactorials.size() - 1; m-- > 0;)
            sum = sum * x + kInverseFactorials[m];
        return sum;
    }
    if (std::fabs(y) < 0.5)
        return -std::expm1(-y) / y;
    return (1.0 - expMinusY) / y;
}

// The grain's production from its parents: each interval's production falls
// as the parents decay, g(t) = g_k e^(lambda (t_k - t)), and its integral
// against exp(-lambda_j (C_k - C(t))) with C linear is h g_k (1 - e^-y) / y,
// y = lambda_j dC - lambda h: exact for every step.
struct ParentSums {
    std::vector<std::vector<double>> coefficients; // per parent, slots 1..N
    std::vector<SourceClock> clocks;
    // Per parent, per point; only the present's when that is all that is
    // asked, which spares a grain of a sample most of its memory traffic.
    std::vector<std::vector<PartialSums>> P;
    bool presentOnly = false;
    PartialSums &at(std::size_t parent, std::size_t k) { return P[parent][presentOnly ? 0 : k]; }
};

void sumParentsFast(const AgeInput &in, std::int32_t N, const std::vector<double> &lambda,
                    const std::vector<long double> &C, ParentSums &s, const TermWatch &watch) {
    const std::size_t n = pointCount(in), parents = s.clocks.size();
    std::array<double, kParentCount> S{};
    for (std::int32_t j = 1; j <= N; ++j) {
        watch.starting();
        const double lam = lambda[static_cast<std::size_t>(j)];
        const int lFirst = firstPartialSum(j, N);
        S.fill(0.0);
        for (std::size_t k = 2; k <= n; ++k) {
            const double d = static_cast<double>(lam * (C[k] - C[k - 1]));
            const double weight = d > kExpUnderflow ? 0.0 : std::exp(-d);
            const double h = in.times[k] - in.times[k - 1];
            for (std::size_t i = 0; i < parents; ++i) {
                const SourceClock &c = s.clocks[i];
                S[i] = S[i] * weight + h * c.g[k] * decayFactor(d - c.eps[k], weight * c.grow[k]);
            }
            if (s.presentOnly && k < n)
                continue;
            for (std::size_t i = 0; i < parents; ++i) {
                const double term = s.coefficients[i][static_cast<std::size_t>(j)] * S[i];
                for (int l = lFirst; l <= 5; ++l)
                    s.at(i, k)[static_cast<std::size_t>(l - 1)] += term;
            }
        }
        watch.done(j);
    }
}

void sumParentsDirect(const AgeInput &in, std::int32_t N, const std::vector<double> &lambda,
                      const std::vector<long double> &C, ParentSums &s, const TermWatch &watch) {
    const std::size_t n = pointCount(in), parents = s.clocks.size();
    std::vector<std::vector<double>> factor(parents, std::vector<double>(n + 1, 0.0));
    std::array<double, kParentCount> walk{};
    for (std::int32_t j = 1; j <= N; ++j) {
        watch.starting();
        const double lam = lambda[static_cast<std::size_t>(j)];
        const int lFirst = firstPartialSum(j, N);
        for (std::size_t i = 0; i < parents; ++i) {
            const SourceClock &c = s.clocks[i];
            for (std::size_t m = 1; m < n; ++m) {
                const double y = static_cast<double>(lam * (C[m + 1] - C[m])) - c.eps[m + 1];
                factor[i][m] = c.g[m + 1] * decayFactor(y, y > kExpUnderflow ? 0.0 : std::exp(-y));
            }
        }
        for (std::size_t k = s.presentOnly ? std::max<std::size_t>(n, 2) : 2; k <= n; ++k) {
            double newerWeight = 1.0;
            walk.fill(0.0);
            for (std::size_t m = k - 1; m >= 1; --m) {
                double F = static_cast<double>((C[k] - C[m]) * lam);
                if (F < kLowestExponent)
                    F = kLowestExponent;
                const double olderWeight = std::exp(-F);
                const double base = (in.times[m + 1] - in.times[m]) * newerWeight;
                for (std::size_t i = 0; i < parents; ++i)
                    walk[i] += base * factor[i][m];
                if (F >= kCutOff)
                    break;
                newerWeight = olderWeight;
            }
            for (std::size_t i = 0; i < parents; ++i) {
                const double term = s.coefficients[i][static_cast<std::size_t>(j)] * walk[i];
                for (int l = lFirst; l <= 5; ++l)
                    s.at(i, k)[static_cast<std::size_t>(l - 1)] += term;
            }
        }
        watch.done(j);
    }
}

// The sphere's volume over the emission zone's: the factor that turns the
// zone's production into the whole grain's.
double zoneVolumeRatio(const AgeInput &in) {
    const double R = in.sphereRadius, b = in.outerRadius, a = in.innerRadius;
    const double V = R * R * R / (b * b * b - a * a * a);
    if (!std::isfinite(V))
        throwNotFinite("the volume ratio of sphere and emission zone");
    return V;
}

// The eigenvalues (j pi / R)^2 of terms 1..N at their slots; slot 0 unused.
std::vector<double> sphereEigenvalues(double R, std::int32_t N) {
    std::vector<double> lambda(static_cast<std::size_t>(N) + 1, 0.0);
    for (std::int32_t j = 1; j <= N; ++j) {
        lambda[static_cast<std::size_t>(j)] = j * kPi / R * j * kPi / R;
        if (!std::isfinite(lambda[static_cast<std::size_t>(j)]))
            throwNotFinite("eigenvalue " + std::to_string(j));
    }
    return lambda;
}

} // namespace

void checkAgeInput(const AgeInput &in) {
    checkModel(in);
    checkHistory(in);
    if (in.parents)
        if (const std::string problem = parentsProblem(*in.parents); !problem.empty())
            throw tarvel::Error(problem);
}

std::vector<double> steppedHeldHelium(const AgeInput &in, AgeMethod method,
                                      const std::vector<ParentSource> &sources,
                                      std::atomic<std::int32_t> *progress,
                                      const std::atomic<bool> *stop, bool presentOnly,
                                      std::span<const double> lnDiffusivity) {
    const std::size_t n = pointCount(in);
    const std::int32_t N = std::max<std::int32_t>(in.terms, 0);
    const double R = in.sphereRadius, b = in.outerRadius, a = in.innerRadius;
    const double V = zoneVolumeRatio(in);
    const std::vector<double> lambda = sphereEigenvalues(R, N);
    std::vector<long double> C(n + 1, 0.0L);
    if (lnDiffusivity.empty())
        integrateDiffusivity(in, C);
    else
        integrateDamageDiffusivity(in, lnDiffusivity, C);

    // Each parent spreads its helium by its own stopping distance: a set of
    // coefficients each.
    ParentSums sums;
    sums.presentOnly = presentOnly;
    for (const ParentSource &source : sources) {
        sums.coefficients.push_back(rememberedGeometryCoefficients(R, b, a, source.stopping, N));
        sums.clocks.push_back(sourceClock(in, source.decay));
        sums.P.emplace_back(presentOnly ? 1 : n + 1, PartialSums{});
    }

    clearUpperVectorState();
    const TermWatch watch{progress, stop};
    if (method == AgeMethod::Direct)
        sumParentsDirect(in, N, lambda, C, sums, watch);
    else
        sumParentsFast(in, N, lambda, C, sums, watch);

    const Extrapolation extrapolate(in.terms);
    std::vector<double> helium(n + 1, 0.0);
    for (std::size_t k = presentOnly ? n : 1; k <= n; ++k) {
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const ParentSource &p = sources[i];
            helium[k] += extrapolate(sums.at(i, k), V * p.yield * p.decay * p.atoms);
        }
        if (!std::isfinite(helium[k]))
            throwNotFinite("the helium at " + pointText(k));
    }
    return helium;
}

std::vector<double> calculateAges(const AgeInput &in, AgeMethod method,
                                  std::atomic<std::int32_t> *progress,
                                  const std::atomic<bool> *stop) {
    checkModel(in);
    checkHistory(in);
    if (in.parents) {
        const std::vector<HeliumAge> rows = heliumAges(in, method, progress, stop);
        std::vector<double> raw(rows.size(), 0.0);
        for (std::size_t k = 1; k < rows.size(); ++k)
            raw[k] = rows[k].rawAge;
        return raw;
    }
    if (method == AgeMethod::Precise)
        return preciseAges(in, progress, {}, stop);
    const std::size_t n = pointCount(in);
    const std::int32_t N = std::max<std::int32_t>(in.terms, 0);
    const double V = zoneVolumeRatio(in);

    // Every working array up front; the loops allocate nothing.
    std::vector<double> c(static_cast<std::size_t>(N) + 1, 0.0);
    const std::vector<double> lambda = sphereEigenvalues(in.sphereRadius, N);
    std::vector<long double> C(n + 1, 0.0L);
    std::vector<PartialSums> P(n + 1, PartialSums{});
    std::vector<double> factor(method == AgeMethod::Direct ? n + 1 : 0, 0.0);

    for (std::int32_t j = 1; j <= N; ++j) {
        const auto slot = static_cast<std::size_t>(j);
        c[slot] = slot < in.coefficients.size() ? in.coefficients[slot] : 0.0;
    }
    integrateDiffusivity(in, C);

    clearUpperVectorState();
    const TermWatch watch{progress, stop};
    if (method == AgeMethod::Fast)
        sumTermsFast(in, N, c, lambda, C, P, watch);
    else
        sumTermsDirect(in, N, c, lambda, C, P, factor, watch);

    const Extrapolation extrapolate(in.terms);

    // Nothing is handed back unless every result is a number.
    std::vector<double> results(n + 1, 0.0);
    for (std::size_t k = 1; k <= n; ++k) {
        results[k] = extrapolate(P[k], V);
        if (!std::isfinite(results[k]))
            throwNotFinite("the result at " + pointText(k));
    }
    return results;
}

std::string tooFewEigenvalues(std::int32_t count) {
    return "At least " + std::to_string(kFewestEigenvalues) +
           " eigenvalues are needed (Neigen is " + std::to_string(count) + ").";
}
