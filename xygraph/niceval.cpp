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

int calcticks(int length, float lo, float hi, float *first, float *step) {
    if (length < 40 || !(hi > lo))
        return 0;
    const int n = length / 40;
    const float mid = static_cast<float>((static_cast<double>(lo) + hi) * 0.5);
    if (n < 2) {
        const float f = static_cast<float>(niceval(lo, mid, false));
        const float second = static_cast<float>(niceval(mid, hi, true));
        *first = f;
        *step = second - f;
        return 2;
    }
    const float s = static_cast<float>((static_cast<long double>(hi) - lo) / n);
    const float f = static_cast<float>(niceval(lo, static_cast<float>(lo + s), false));
    const float st = static_cast<float>(niceval(0.0f, s, true));
    *first = f;
    *step = st;
    int count = 0;
    for (float t = f; t <= hi; ++count) {
        const float next = t + st;
        if (!(next > t)) { // a step too small to advance in single precision
            ++count;
            break;
        }
        t = next;
    }
    return count;
}

} // namespace graphmath
