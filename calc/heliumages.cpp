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

namespace {

// What every row of a history's helium ages shares: the checked input's
// parents, their FT and the history's span; under damage kinetics the
// history's damage and the grain's diffusivity at every point.
struct AgeFrame {
    std::vector<ParentSource> sources;
    std::vector<double> ft;
    std::size_t n = 0;
    double first = 0.0, present = 0.0;
    std::shared_ptr<const AnnealedDose> damage;
    std::vector<double> dose, lnD; // slots 1..n
};

// Under damage kinetics: the history's damage for the method and the grain's
// dose and ln D (µm² per million years) at every point.
void addDamage(const AgeInput &in, AgeMethod method, AgeFrame &frame,
               const std::atomic<bool> *stop) {
    frame.damage = historyDamage(in, method, stop);
    if (!frame.damage)
        return;
    const std::array<double, kParentCount> atoms = parentAtoms(frame.sources);
    frame.dose.assign(frame.n + 1, 0.0);
    frame.lnD.assign(frame.n + 1, 0.0);
    for (std::size_t k = 1; k <= frame.n; ++k) {
        frame.dose[k] = frame.damage->dose(frame.damage->pointNodes[k], atoms);
        frame.lnD[k] = damageLnDiffusivity(in.kinetics, in.temps[k], frame.dose[k]);
    }
}

AgeFrame ageFrame(const AgeInput &in) {
    if (!in.parents)
        throw tarvel::Error("The helium ages need the grain's uranium, thorium and samarium.");
    checkAgeInput(in);
    AgeFrame frame;
    frame.sources = parentSources(*in.parents);
    frame.ft = parentRetention(frame.sources, in.sphereRadius, in.outerRadius, in.innerRadius);
    if (std::all_of(frame.ft.begin(), frame.ft.end(), [](double f) { return f == 0.0; }))
        throw tarvel::Error("No helium can stay in the grain: the stopping distance of every "
                            "parent is so long that all alpha particles leave a grain of "
                            "radius " +
                            numberText(in.sphereRadius) + " µm.");
    frame.n = in.times.empty() ? 0 : in.times.size() - 1;
    if (frame.n == 0)
        return frame;
    frame.first = in.times[1];
    frame.present = in.times[frame.n];
    for (const ParentSource &s : frame.sources)
        if (s.decay * (frame.present - frame.first) > kLargestDecayExponent)
            throw tarvel::Error("The thermal history spans " +
                                numberText(frame.present - frame.first) +
                                " million years, over which " + kParentConstants[s.parent].name +
                                " would have decayed beyond what the calculation can hold.");
    return frame;
}

std::vector<double> heldHelium(const AgeInput &in, AgeMethod method, const AgeFrame &frame,
                               std::atomic<std::int32_t> *progress, const std::atomic<bool> *stop,
                               bool presentOnly) {
    return method == AgeMethod::Precise
               ? preciseHeldHelium(in, frame.sources, progress, {}, stop, frame.damage.get())
               : steppedHeldHelium(in, method, frame.sources, progress, stop, presentOnly,
                                   frame.lnD);
}

HeliumAge ageRow(const AgeInput &in, const AgeFrame &frame, std::size_t k, double helium) {
    const std::vector<ParentSource> &sources = frame.sources;
    HeliumAge row;
    row.time = in.times[k];
    row.heNmolG = helium;
    const double before = frame.present - in.times[k]; // the parents at t_k
    row.rawAge = ageFromHelium(helium, sources, before);
    // FT weighted by the helium each parent has made since the first
    // point, so that in a closed grain He / FT is exactly that helium; at
    // the first point, by the rate at which each makes it.
    const double elapsed = in.times[k] - frame.first;
    double made = 0.0, kept = 0.0;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const ParentSource &s = sources[i];
        const double weight = elapsed > 0
                                  ? s.yield * s.atomsAt(before) * std::expm1(s.decay * elapsed)
                                  : s.yield * s.atomsAt(before) * s.decay;
        made += weight;
        kept += weight * frame.ft[i];
    }
    row.ft = kept / made;
    row.correctedAge = ageFromHelium(helium / row.ft, sources, before);
    if (frame.damage) {
        row.damage = damageMeasure(in.kinetics, frame.dose[k]);
        // D / a² in 1/s: D in µm² per million years, a in µm.
        row.log10DiffusivityA2 =
            (frame.lnD[k] - 2 * std::log(in.sphereRadius) - std::log(kSecondsPerMyr)) /
            std::log(10.0);
    }
    if (!std::isfinite(row.rawAge) || !std::isfinite(row.correctedAge))
        throw tarvel::Error("The age calculation cannot be completed: the age at point " +
                            std::to_string(k) +
                            " is not a finite number. No results were computed.");
    return row;
}

} // namespace

DamageGridSteps damageGridSteps(AgeMethod method) {
    return method == AgeMethod::Precise ? PreciseSettings{}.damageSteps : DamageGridSteps{};
}

std::shared_ptr<const AnnealedDose> historyDamage(const AgeInput &in, AgeMethod method,
                                                  const std::atomic<bool> *stop) {
    if (in.kinetics == ModelKinetics::Arrhenius)
        return nullptr;
    const DamageGridSteps steps = damageGridSteps(method);
    if (in.damage && annealedDoseFits(*in.damage, in.kinetics, in.times, in.temps, steps))
        return in.damage;
    return std::make_shared<const AnnealedDose>(
        annealedDose(in.kinetics, in.times, in.temps, steps, stop));
}

std::vector<HeliumAge> heliumAges(const AgeInput &in, AgeMethod method,
                                  std::atomic<std::int32_t> *progress,
                                  const std::atomic<bool> *stop) {
    AgeFrame frame = ageFrame(in);
    std::vector<HeliumAge> rows(frame.n + 1);
    if (frame.n == 0)
        return rows;
    addDamage(in, method, frame, stop);
    const std::vector<double> helium = heldHelium(in, method, frame, progress, stop, false);
    for (std::size_t k = 1; k <= frame.n; ++k)
        rows[k] = ageRow(in, frame, k, helium[k]);
    return rows;
}

HeliumAge presentHeliumAge(const AgeInput &in, AgeMethod method, const std::atomic<bool> *stop) {
    AgeFrame frame = ageFrame(in);
    if (frame.n == 0)
        throw tarvel::Error("The thermal history holds no points.");
    addDamage(in, method, frame, stop);
    const std::vector<double> helium = heldHelium(in, method, frame, nullptr, stop, true);
    return ageRow(in, frame, frame.n, helium[frame.n]);
}
