#include "emissionfraction.h"

#include <algorithm>
#include <cmath>

namespace {

// The integral of r² P(r) over [p, q], where P(r) = (R² - (r - S)²) / (4 r S):
// the integrand r (R + S - r)(R - S + r) / (4 S) is a cubic, so the two-point
// Gauss-Legendre rule is exact. The factored form keeps small S accurate,
// where the polynomial's expanded terms would cancel.
double partialIntegral(double p, double q, double R, double S) {
    if (!(q > p))
        return 0.0;
    const double mid = (p + q) / 2, half = (q - p) / 2;
    const double offset = half / std::sqrt(3.0);
    auto f = [&](double r) { return r * (R + S - r) * (R - S + r); };
    return half * (f(mid - offset) + f(mid + offset)) / (4 * S);
}

} // namespace

double keptFraction(double R, double b, double a, double S) {
    if (S <= 0)
        return 1.0;
    // Full retention below R - S; partial between |R - S| and R + S (which lies
    // beyond b); nothing below S - R, where the whole emission sphere is outside.
    const double fullEnd = std::clamp(R - S, a, b);
    const double partialBegin = std::clamp(std::abs(R - S), a, b);
    const double full = (fullEnd * fullEnd * fullEnd - a * a * a) / 3;
    const double zone = (b * b * b - a * a * a) / 3;
    return std::clamp((full + partialIntegral(partialBegin, b, R, S)) / zone, 0.0, 1.0);
}
