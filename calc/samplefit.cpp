#include "samplefit.h"

#include <boost/math/distributions/chi_squared.hpp>

#include <cmath>

namespace samplefit {

std::optional<double> misfit(const std::optional<Measurement> &measured, double predicted) {
    if (!measured)
        return std::nullopt;
    return (measured->age - predicted) / measured->sd;
}

double chiSquareProbability(double chi2, int degrees) {
    if (!(chi2 > 0.0))
        return 1.0;
    if (std::isinf(chi2))
        return 0.0; // the distribution takes finite values only
    const boost::math::chi_squared_distribution<double> distribution(degrees);
    return boost::math::cdf(boost::math::complement(distribution, chi2));
}

Verdict judge(double probability) {
    if (probability >= 0.5)
        return Verdict::Good;
    if (probability >= 0.05)
        return Verdict::Acceptable;
    return Verdict::Poor;
}

const char *verdictName(Verdict verdict) {
    switch (verdict) {
    case Verdict::Good:
        return "good";
    case Verdict::Acceptable:
        return "acceptable";
    case Verdict::Poor:
        break;
    }
    return "poor";
}

std::string verdict(double probability) {
    return verdictName(judge(probability));
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
