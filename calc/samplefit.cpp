#include "samplefit.h"

#include <cmath>
#include <limits>

namespace samplefit {

namespace {

constexpr double kEpsilon = 1e-16;
constexpr int kMaxIterations = 10'000;

// P(a, x) by its series, for x < a + 1 where it converges fast.
double lowerBySeries(double a, double x) {
    double term = 1.0 / a;
    double sum = term;
    for (int n = 1; n < kMaxIterations; ++n) {
        term *= x / (a + n);
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * kEpsilon)
            break;
    }
    return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// Q(a, x) by its continued fraction (modified Lentz), for x >= a + 1.
double upperByFraction(double a, double x) {
    constexpr double tiny = std::numeric_limits<double>::min() / kEpsilon;
    double b = x + 1.0 - a;
    double c = 1.0 / tiny;
    double d = 1.0 / b;
    double h = d;
    for (int i = 1; i < kMaxIterations; ++i) {
        const double an = -i * (i - a);
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < tiny)
            d = tiny;
        c = b + an / c;
        if (std::fabs(c) < tiny)
            c = tiny;
        d = 1.0 / d;
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1.0) < kEpsilon)
            break;
    }
    return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

} // namespace

std::optional<double> misfit(const std::optional<Measurement> &measured, double predicted) {
    if (!measured)
        return std::nullopt;
    return (measured->age - predicted) / measured->sd;
}

double chiSquareProbability(double chi2, int degrees) {
    if (!(chi2 > 0.0))
        return 1.0;
    const double a = 0.5 * degrees;
    const double x = 0.5 * chi2;
    if (std::isinf(x))
        return 0.0;
    return x < a + 1.0 ? 1.0 - lowerBySeries(a, x) : upperByFraction(a, x);
}

std::string verdict(double probability) {
    if (probability >= 0.5)
        return "good";
    if (probability >= 0.05)
        return "acceptable";
    return "poor";
}

Summary summarize(const std::vector<std::optional<double>> &misfits) {
    Summary s;
    for (const auto &z : misfits)
        if (z) {
            ++s.measured;
            s.chi2 += *z * *z;
        }
    if (s.measured > 0)
        s.probability = chiSquareProbability(s.chi2, s.measured);
    return s;
}

} // namespace samplefit
