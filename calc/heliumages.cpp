#include "heliumages.h"

#include "emissionfraction.h"
#include "errors.h"
#include "numbertext.h"
#include "precisemethod.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The age equation is solved to this relative step.
constexpr double kAgeTolerance = 1e-12;
// Newton's method from above the root of a convex function converges
// quadratically; far fewer steps than this suffice for any helium.
constexpr int kMostNewtonSteps = 200;
// Decay factors up to e^this stay finite with room for the sums.
constexpr double kLargestDecayExponent = 600.0;

std::string numberText(double value) {
    return tarvel::formatGeneral(value, tarvel::kEditDigits, tarvel::localeDecimalSeparator());
}

} // namespace

double ageFromHelium(double helium, const std::vector<ParentSource> &sources, double before) {
    if (!(helium > 0))
        return 0.0;
    // f(A) = sum y N (e^(lambda A) - 1) - helium is convex and rises from
    // -helium at 0, so Newton's method from the tangent at 0, which lies above
    // the root, comes down to it without overshooting.
    double rate = 0.0;
    for (const ParentSource &s : sources)
        rate += s.yield * s.atomsAt(before) * s.decay;
    double age = helium / rate;
    for (int step = 0; step < kMostNewtonSteps; ++step) {
        double f = -helium, slope = 0.0;
        for (const ParentSource &s : sources) {
            const double made = s.yield * s.atomsAt(before);
            f += made * std::expm1(s.decay * age);
            slope += made * s.decay * std::exp(s.decay * age);
        }
        const double next = age - f / slope;
        const bool done = std::fabs(next - age) <= kAgeTolerance * std::fabs(next);
        age = next;
        if (done || !std::isfinite(age))
            break;
    }
    return age;
}

std::vector<double> parentRetention(const std::vector<ParentSource> &sources, double R, double b,
                                    double a) {
    std::vector<double> ft;
    for (const ParentSource &s : sources)
        ft.push_back(keptFraction(R, b, a, s.stopping));
    return ft;
}

std::vector<HeliumAge> heliumAges(const AgeInput &in, AgeMethod method,
                                  std::atomic<std::int32_t> *progress,
                                  const std::atomic<bool> *stop) {
    if (!in.parents)
        throw tarvel::Error("The helium ages need the grain's uranium, thorium and samarium.");
    checkAgeInput(in);
    const std::vector<ParentSource> sources = parentSources(*in.parents);
    const std::vector<double> ft =
        parentRetention(sources, in.sphereRadius, in.outerRadius, in.innerRadius);
    if (std::all_of(ft.begin(), ft.end(), [](double f) { return f == 0.0; }))
        throw tarvel::Error("No helium can stay in the grain: the stopping distance of every "
                            "parent is so long that all alpha particles leave a grain of "
                            "radius " +
                            numberText(in.sphereRadius) + " µm.");

    const std::size_t n = in.times.empty() ? 0 : in.times.size() - 1;
    std::vector<HeliumAge> rows(n + 1);
    if (n == 0)
        return rows;
    const double first = in.times[1], present = in.times[n];
    for (const ParentSource &s : sources)
        if (s.decay * (present - first) > kLargestDecayExponent)
            throw tarvel::Error("The thermal history spans " + numberText(present - first) +
                                " million years, over which " + kParentConstants[s.parent].name +
                                " would have decayed beyond what the calculation can hold.");

    const std::vector<double> helium = method == AgeMethod::Precise
                                           ? preciseHeldHelium(in, sources, progress, {}, stop)
                                           : steppedHeldHelium(in, method, sources, progress, stop);

    for (std::size_t k = 1; k <= n; ++k) {
        HeliumAge &row = rows[k];
        row.time = in.times[k];
        row.heNmolG = helium[k];
        const double before = present - in.times[k]; // the parents at t_k
        row.rawAge = ageFromHelium(helium[k], sources, before);
        // FT weighted by the helium each parent has made since the first
        // point, so that in a closed grain He / FT is exactly that helium; at
        // the first point, by the rate at which each makes it.
        const double elapsed = in.times[k] - first;
        double made = 0.0, kept = 0.0;
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const ParentSource &s = sources[i];
            const double weight = elapsed > 0
                                      ? s.yield * s.atomsAt(before) * std::expm1(s.decay * elapsed)
                                      : s.yield * s.atomsAt(before) * s.decay;
            made += weight;
            kept += weight * ft[i];
        }
        row.ft = kept / made;
        row.correctedAge = ageFromHelium(helium[k] / row.ft, sources, before);
        if (!std::isfinite(row.rawAge) || !std::isfinite(row.correctedAge))
            throw tarvel::Error("The age calculation cannot be completed: the age at point " +
                                std::to_string(k) +
                                " is not a finite number. No results were computed.");
    }
    return rows;
}
