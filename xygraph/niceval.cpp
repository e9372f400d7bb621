#include "niceval.h"

#include <cmath>

namespace graphmath {

namespace {

const long double kLn10 = std::log(10.0L);

// Deep enough for every finite float pair; only degenerate inputs (denormal
// halving that rounds back to zero) would recurse further.
constexpr int kMaxDepth = 80;

long double nicevalAt(float x, float y, bool high, int depth) {
    if (!(x > 0.0f) && !high)
        return 0.0L;
    if (!(static_cast<long double>(y) - x > 0.0L) && high)
        return y;
    if (depth > kMaxDepth || !std::isfinite(x) || !std::isfinite(y))
        return high ? y : x;
    if (!(x > 0.0f))
        return nicevalAt(y / 2.0f, y, high, depth + 1);
    if (x >= y)
        return x;
    const int qx = decade(x);
    const int qy = decade(y);
    if (qx != qy)
        return high ? powerOfTen(qy) : powerOfTen(qx + 1);
    // Take one unit of the leading decade away and shift the digits left.
    const float b = static_cast<float>(powerOfTen(qx));
    const float nx = static_cast<float>((static_cast<long double>(x) - b) * 10.0L);
    const float ny = static_cast<float>((static_cast<long double>(y) - b) * 10.0L);
    if (!std::isfinite(nx) || !std::isfinite(ny)) // shifted past the float range
        return high ? y : x;
    return b + 0.1L * nicevalAt(nx, ny, high, depth + 1);
}

// True when r carries no digit below a tenth of the decade of `span`: a
// number a scale may show.
bool fewDigits(long double r, long double span) {
    const long double unit = std::pow(10.0L, std::floor(std::log10(span)) - 1.0L);
    const long double q = r / unit;
    return std::fabs(q - std::round(q)) <= 1e-3L;
}

// niceval for a tick. Its decades truncate toward zero, so below 1 it can
// answer with a value outside the interval or with all the digits of an end
// (the step of 0..0.3 would be 0.0428571, the first tick of 0.12..0.3 would be
// 1). Such an answer is replaced by the same choice made on the interval
// scaled up by a power of ten until it is at least 10 long, where the decades
// are sound. A non-positive lower end keeps niceval's answer.
float tickNiceval(float x, float y, bool high) {
    const long double r = niceval(x, y, high);
    const long double span = static_cast<long double>(y) - x;
    if (!(x > 0.0f) || !(span > 0.0L) || !std::isfinite(span) ||
        (r >= x && r <= y && fewDigits(r, span)))
        return static_cast<float>(r);
    const long double k = powerOfTen(static_cast<int>(1.0L - std::floor(std::log10(span))));
    const float sx = static_cast<float>(x * k), sy = static_cast<float>(y * k);
    if (!std::isfinite(sx) || !std::isfinite(sy))
        return static_cast<float>(r);
    return static_cast<float>(niceval(sx, sy, high) / k);
}

} // namespace

int decade(float v) {
    if (!(v > 0.0f) || !std::isfinite(v))
        return 0;
    const double ln = static_cast<double>(std::log(static_cast<long double>(v)));
    return static_cast<int>(std::trunc(static_cast<long double>(ln) / kLn10));
}

long double powerOfTen(int k) {
    return std::exp(static_cast<long double>(k) * kLn10);
}

long double niceval(float x, float y, bool high) {
    return nicevalAt(x, y, high, 0);
}

namespace {

// The roundest value in lo..hi for 0 < lo < hi. niceval's decades truncate
// toward zero, so below 1 its answer can leave the interval (0.42..0.44 gives
// 0.72): there the interval is scaled up by a power of ten until lo is at
// least 1, where they are sound.
float positiveRoundest(float lo, float hi) {
    long double k = 1.0L;
    if (lo < 1.0f)
        k = powerOfTen(static_cast<int>(-std::floor(std::log10(static_cast<long double>(lo)))));
    const float sx = static_cast<float>(lo * k), sy = static_cast<float>(hi * k);
    if (std::isfinite(sx) && std::isfinite(sy) && sx < sy) {
        const float r = static_cast<float>(niceval(sx, sy, true) / k);
        if (r >= lo && r <= hi)
            return r;
    }
    return static_cast<float>((static_cast<double>(lo) + hi) / 2.0);
}

} // namespace

float roundest(float a, float b) {
    const float lo = std::fmin(a, b), hi = std::fmax(a, b);
    if (!std::isfinite(lo) || !std::isfinite(hi))
        return std::isfinite(a) ? a : b;
    if (lo <= 0.0f && hi >= 0.0f)
        return 0.0f;
    if (lo == hi)
        return lo;
    if (hi < 0.0f)
        return -positiveRoundest(-hi, -lo);
    return positiveRoundest(lo, hi);
}

namespace {

// How many of the ticks first + k * step, k = 0 .. most - 1, lie within the
// axis lo..hi. Their exact values are compared with the ends, not sums that
// drift in single precision; a tick is still within when it passes an end by
// no more than the rounding of the floats it is made of (the float nearest 0.4
// is a little above it, so five steps of it end a little past 2).
int ticksWithin(float first, float step, float lo, float hi, int most) {
    constexpr long double kRounding = 1.0L / (1 << 23); // two units of a float's last place
    const long double f = first, s = step;
    int count = 0;
    for (int k = 0; k < most; ++k) {
        const long double value = f + k * s;
        const long double slack = (std::fabs(f) + k * std::fabs(s) + std::fabs(hi)) * kRounding;
        if (!(value <= hi + slack) || !(value >= lo - slack))
            break;
        ++count;
    }
    return count;
}

} // namespace

int calcticks(int length, float lo, float hi, float *first, float *step) {
    if (length < 40 || !(hi > lo))
        return 0;
    const int n = length / 40;
    const float mid = static_cast<float>((static_cast<double>(lo) + hi) * 0.5);
    if (n < 2) {
        const float f = tickNiceval(lo, mid, false);
        const float second = tickNiceval(mid, hi, true);
        *first = f;
        *step = second - f;
        return ticksWithin(f, second - f, lo, hi, 2);
    }
    const float s = static_cast<float>((static_cast<long double>(hi) - lo) / n);
    const float f = tickNiceval(lo, static_cast<float>(lo + s), false);
    // niceval(0, s, true) is niceval(s / 2, s, true).
    const float st = tickNiceval(s / 2.0f, s, true);
    *first = f;
    *step = st;
    // The step is at least half the axis over n, so no more than 2 n + 1 ticks
    // fit; the bound also ends a step too small to tell ticks apart.
    return ticksWithin(f, st, lo, hi, 2 * n + 1);
}

} // namespace graphmath
