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

namespace {

// One side of the box as a half-plane: `inside` tells a point on the box's
// side of it, `cross` where a segment crosses it.
struct Side {
    int axis;          // 0: a vertical side (x fixed), 1: a horizontal side
    long double value; // where it lies
    bool keepBelow;    // the inside is below `value`
    bool inside(PixelF p) const {
        const long double v = axis == 0 ? p.x : p.y;
        return keepBelow ? v <= value : v >= value;
    }
    PixelF cross(PixelF a, PixelF b) const {
        if (axis == 0) {
            const long double t = (value - a.x) / (b.x - a.x);
            return {value, a.y + t * (b.y - a.y)};
        }
        const long double t = (value - a.y) / (b.y - a.y);
        return {a.x + t * (b.x - a.x), value};
    }
};

} // namespace

std::vector<PixelF> clipPolygon(const std::vector<PixelF> &polygon, const PixelBox &box) {
    if (!std::all_of(polygon.begin(), polygon.end(), [](PixelF p) { return finite(p); }))
        return {};
    // Sutherland and Hodgman: the polygon cut by one side of the box after
    // the other; each cut of a convex box keeps the order of the corners.
    std::vector<PixelF> out = polygon;
    for (const Side side : {Side{0, box.left, false}, Side{0, box.right, true},
                            Side{1, box.top, false}, Side{1, box.bottom, true}}) {
        if (out.empty())
            break;
        std::vector<PixelF> in;
        in.swap(out);
        PixelF prev = in.back();
        for (const PixelF &cur : in) {
            if (side.inside(cur)) {
                if (!side.inside(prev))
                    out.push_back(side.cross(prev, cur));
                out.push_back(cur);
            } else if (side.inside(prev)) {
                out.push_back(side.cross(prev, cur));
            }
            prev = cur;
        }
    }
    return out;
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
