#include "pixelclip.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool finite(PixelF p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// One edge of the parametric clip: the segment enters across the edge where
// `p` < 0 and leaves where `p` > 0; `q` is the start's distance inside it.
bool clipEdge(long double p, long double q, long double &enter, long double &leave) {
    if (p == 0.0L)
        return q >= 0.0L; // parallel to the edge: wholly inside or wholly outside
    const long double t = q / p;
    if (p < 0.0L) {
        if (t > leave)
            return false;
        if (t > enter)
            enter = t;
    } else {
        if (t < enter)
            return false;
        if (t < leave)
            leave = t;
    }
    return true;
}

} // namespace

bool clipSegment(PixelF &a, PixelF &b, const PixelBox &box) {
    if (!finite(a) || !finite(b))
        return false;
    const long double dx = b.x - a.x;
    const long double dy = b.y - a.y;
    long double enter = 0.0L, leave = 1.0L;
    if (!clipEdge(-dx, a.x - box.left, enter, leave) ||
        !clipEdge(dx, box.right - a.x, enter, leave) ||
        !clipEdge(-dy, a.y - box.top, enter, leave) ||
        !clipEdge(dy, box.bottom - a.y, enter, leave))
        return false;
    // An end inside the box stays exactly where it is; a moved end is kept on
    // the box against rounding.
    const PixelF start = a;
    auto along = [&](long double t) {
        return PixelF{std::clamp(start.x + t * dx, box.left, box.right),
                      std::clamp(start.y + t * dy, box.top, box.bottom)};
    };
    if (leave < 1.0L)
        b = along(leave);
    if (enter > 0.0L)
        a = along(enter);
    return true;
}

int truncatePixel(long double v) {
    if (std::isnan(v))
        return 0;
    constexpr long double lo = std::numeric_limits<int>::min();
    constexpr long double hi = std::numeric_limits<int>::max();
    if (v <= lo)
        return std::numeric_limits<int>::min();
    if (v >= hi)
        return std::numeric_limits<int>::max();
    return static_cast<int>(v); // truncates toward zero
}
