#include "geometrycoefficients.h"

#include "geometrycheck.h"

#include "calcerrors.h"
#include "errors.h"
#include "numbertext.h"

#include <array>
#include <cmath>
#include <limits>
#include <string>

namespace {

// The unit constant of the full-retention term: pi rounded to eight decimals.
// The partial-retention term uses pi at full precision. Both are kept so that
// the coefficients stay those the program has always produced.
constexpr double kUnitPi = 3.14159265;
constexpr double kPi = 3.141592653589793;

std::string numberText(double value) {
    return tarvel::formatGeneral(value, tarvel::kEditDigits, tarvel::localeDecimalSeparator());
}

void requireFinite(double value, const char *name) {
    if (!std::isfinite(value))
        throw tarvel::Error(std::string("The geometry calculation needs a finite ") + name +
                            " (got " + numberText(value) + ").");
}

// The two parts of the emission zone [a, b]: where every emitted daughter stays
// in the grain (full retention) and where only some do (partial retention).
struct ZoneParts {
    bool fullPresent = false;
    double a1 = 0.0, a2 = 0.0;
    bool partialPresent = false;
    double b1 = 0.0, b2 = 0.0;
};

ZoneParts splitEmissionZone(double R, double b, double a, double S) {
    // The tests are made in this order and a later one that holds wins, so
    // S == R and S == 2R both count as the middle case.
    int geometryCase = 0;
    if (!(S >= R))
        geometryCase = 1; // emission shorter than the radius
    if (S >= R && 2 * R >= S)
        geometryCase = 2; // no point keeps all its daughters
    if (!(2 * R >= S))
        geometryCase = 3; // every daughter leaves the grain

    ZoneParts parts;
    if (geometryCase == 3)
        return parts;
    // Within c of the centre, case 1: every point is at least S from the surface;
    // case 2: every point is less than S from every surface point.
    const double c = std::fabs(R - S);
    if (b > c) {
        parts.partialPresent = true;
        parts.b1 = a < c ? c : a;
        parts.b2 = b;
    }
    if (geometryCase == 1 && a < c) {
        parts.fullPresent = true;
        parts.a1 = a;
        parts.a2 = b <= c ? b : c;
    }
    return parts;
}

} // namespace

std::vector<double> geometryCoefficients(double R, double b, double a, double S, std::int32_t N,
                                         const std::function<void(std::int32_t)> &progress,
                                         const std::atomic<bool> *stop) {
    requireFinite(R, "sphere radius");
    requireFinite(b, "outer radius");
    requireFinite(a, "inner radius");
    requireFinite(S, "emission distance");
    if (const std::string problem = geometrycheck::grainProblem(R, b, a, S); !problem.empty())
        throw tarvel::Error(problem);

    const ZoneParts parts = splitEmissionZone(R, b, a, S);
    const std::int32_t count = N > 0 ? N : 0;
    std::vector<double> coefficients(static_cast<std::size_t>(count) + 1, 0.0);

    for (std::int32_t k = 1; k <= count; ++k) {
        if (stop && stop->load(std::memory_order_relaxed))
            throw CalculationStopped{};
        if (progress)
            progress(k);
        double ck = 0.0;
        const double beta = k * kUnitPi / R;
        const int s = k % 2 != 0 ? -1 : 1;

        if (parts.fullPresent) {
            const double u = beta * parts.a1;
            const double v = beta * parts.a2;
            const double Q = u * std::cos(u) - v * std::cos(v) + std::sin(v) - std::sin(u);
            const double kP = k * kUnitPi;
            const double kP4 = (kP * kP) * (kP * kP);
            double T;
            if (S != 0)
                T = std::sin(beta * S) * Q * (6 / kP4) * R / S;
            else
                T = R * beta * Q * 6 / kP4; // the limit of sin(beta*S)/S -> beta as S -> 0
            ck = ck - s * T;
        }
        if (parts.partialPresent) {
            const double u = beta * parts.b1;
            const double v = beta * parts.b2;
            const double p = beta * (parts.b1 - S);
            const double q = beta * (parts.b2 - S);
            const double Q = v * std::sin(q) - u * std::sin(p) + std::cos(q) - std::cos(p);
            const double W =
                (parts.b2 * parts.b2 - parts.b1 * parts.b1) * (beta * beta) * 0.5 - s * Q;
            const double kp = k * kPi;
            const double kp4 = (kp * kp) * (kp * kp);
            ck = ck + (R / S) * 3 * W / kp4;
        }

        if (!(std::fabs(ck) <= std::numeric_limits<float>::max()))
            throw tarvel::Error("Geometry coefficient " + std::to_string(k) +
                                " is not a finite single-precision number (" + numberText(ck) +
                                "); check the grain radii and the emission distance.");
        coefficients[static_cast<std::size_t>(k)] = ck;
    }
    return coefficients;
}

namespace {

// sin(k theta) and cos(k theta) for k = 1, 2, ..., each from the one before.
class AngleSteps {
public:
    explicit AngleSteps(double theta)
        : theta_(theta), stepSin_(std::sin(theta)), stepCos_(std::cos(theta)) {}
    // Moves to term k (one more than before, from k = 1).
    void next(std::int32_t k) {
        if (k % kReseed == 1) {
            sin_ = std::sin(k * theta_);
            cos_ = std::cos(k * theta_);
        } else {
            const double s = sin_ * stepCos_ + cos_ * stepSin_;
            cos_ = cos_ * stepCos_ - sin_ * stepSin_;
            sin_ = s;
        }
    }
    double sin() const { return sin_; }
    double cos() const { return cos_; }

private:
    static constexpr std::int32_t kReseed = 256;
    double theta_, stepSin_, stepCos_;
    double sin_ = 0.0, cos_ = 1.0;
};

} // namespace

std::vector<double> recurrentGeometryCoefficients(double R, double b, double a, double S,
                                                  std::int32_t N) {
    if (const std::string problem = geometrycheck::grainProblem(R, b, a, S); !problem.empty())
        throw tarvel::Error(problem);
    const ZoneParts parts = splitEmissionZone(R, b, a, S);
    const std::int32_t count = N > 0 ? N : 0;
    std::vector<double> coefficients(static_cast<std::size_t>(count) + 1, 0.0);
    const double unit = kUnitPi / R; // beta = k unit
    AngleSteps fullU(unit * parts.a1), fullV(unit * parts.a2), fullS(unit * S);
    AngleSteps partU(unit * parts.b1), partV(unit * parts.b2);
    AngleSteps partP(unit * (parts.b1 - S)), partQ(unit * (parts.b2 - S));
    for (std::int32_t k = 1; k <= count; ++k) {
        double ck = 0.0;
        const double beta = k * unit;
        const int s = k % 2 != 0 ? -1 : 1;
        if (parts.fullPresent) {
            fullU.next(k);
            fullV.next(k);
            fullS.next(k);
            const double u = beta * parts.a1, v = beta * parts.a2;
            const double Q = u * fullU.cos() - v * fullV.cos() + fullV.sin() - fullU.sin();
            const double kP = k * kUnitPi;
            const double kP4 = (kP * kP) * (kP * kP);
            const double T = S != 0 ? fullS.sin() * Q * (6 / kP4) * R / S : R * beta * Q * 6 / kP4;
            ck -= s * T;
        }
        if (parts.partialPresent) {
            partU.next(k);
            partV.next(k);
            partP.next(k);
            partQ.next(k);
            const double u = beta * parts.b1, v = beta * parts.b2;
            const double Q = v * partQ.sin() - u * partP.sin() + partQ.cos() - partP.cos();
            const double W =
                (parts.b2 * parts.b2 - parts.b1 * parts.b1) * (beta * beta) * 0.5 - s * Q;
            const double kp = k * kPi;
            const double kp4 = (kp * kp) * (kp * kp);
            ck += (R / S) * 3 * W / kp4;
        }
        coefficients[static_cast<std::size_t>(k)] = ck;
    }
    return coefficients;
}

std::vector<double> rememberedGeometryCoefficients(double R, double b, double a, double S,
                                                   std::int32_t N) {
    struct Remembered {
        std::array<double, 4> lengths;
        std::int32_t terms;
        std::vector<double> coefficients;
    };
    // Room for a sample's grains with four parents each; the oldest makes way.
    constexpr std::size_t kRoom = 64;
    thread_local std::vector<Remembered> remembered;
    thread_local std::size_t next = 0;
    const std::array<double, 4> lengths{R, b, a, S};
    for (const Remembered &r : remembered)
        if (r.terms == N && r.lengths == lengths)
            return r.coefficients;
    Remembered fresh{lengths, N, geometryCoefficients(R, b, a, S, N)};
    if (remembered.size() < kRoom) {
        remembered.push_back(std::move(fresh));
        return remembered.back().coefficients;
    }
    remembered[next] = std::move(fresh);
    const std::vector<double> &kept = remembered[next].coefficients;
    next = (next + 1) % kRoom;
    return kept;
}
