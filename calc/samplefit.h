#pragma once

#include <optional>
#include <string>
#include <vector>

// How well predicted ages meet a sample's measured ones: each grain's misfit
// z = (measured - predicted) / sigma, the sample's chi-square and the
// probability of one at least that large by chance.
namespace samplefit {

// A grain's measured raw age and its 1-sigma uncertainty, when it has one.
struct Measurement {
    double age = 0.0;
    double sd = 0.0; // above 0
};

// The misfit of a prediction; none for a grain without a measurement.
std::optional<double> misfit(const std::optional<Measurement> &measured, double predicted);

// The probability that a chi-square variable with `degrees` degrees of freedom
// is at least `chi2`: the complement of the chi-square distribution's
// cumulative distribution function (Boost.Math), the regularized upper
// incomplete gamma Q(degrees / 2, chi2 / 2). 1 for chi2 <= 0 or not a number,
// 0 for an infinite chi2; degrees must be at least 1.
double chiSquareProbability(double chi2, int degrees);

// How well a sample is met: good from a probability of 0.5, acceptable from
// 0.05, otherwise poor.
enum class Verdict { Poor, Acceptable, Good };
Verdict judge(double probability);
// "good", "acceptable" or "poor".
const char *verdictName(Verdict verdict);
std::string verdict(double probability);

struct Summary {
    int measured = 0;  // grains with a measurement: the degrees of freedom
    double chi2 = 0.0; // the sum of their z squared
    // Of chi2 with `measured` degrees of freedom; none without measurements.
    std::optional<double> probability;
};

Summary summarize(const std::vector<std::optional<double>> &misfits);

} // namespace samplefit
