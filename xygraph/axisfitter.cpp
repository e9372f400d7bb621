#include "axisfitter.h"

#include "niceval.h"
#include "pointstore.h"
#include "scalemap.h"

#include <cmath>
#include <optional>

namespace {

// The extent of the finite points; nothing when there are none.
std::optional<WorldExtent> pointBounds(const PointStore &store) {
    std::optional<WorldExtent> b;
    float x = 0, y = 0;
    for (int c = store.EnumPoints(0, &x, &y); c != 0; c = store.EnumPoints(c, &x, &y)) {
        if (!std::isfinite(x) || !std::isfinite(y))
            continue;
        b = unite(b, WorldExtent::of({x, y}));
    }
    return b;
}

// Sets one axis to lo..hi; true when that changed it. Keeps the axis at least
// one unit long, as calcaxis does, when every point has the same value.
bool setAxis(float lo, float hi, float zero, float max, void (ScaleMap::*setZero)(float),
             void (ScaleMap::*setMax)(float), ScaleMap &map) {
    if (!(hi > lo))
        hi = lo + 1.0f;
    if (lo == zero && hi == max)
        return false;
    (map.*setZero)(lo);
    (map.*setMax)(hi);
    return true;
}

} // namespace

void AxisFitter::extendWalk(const PointStore &store, float x0, float y0) {
    // Compared as bits: a changed lower end (or NaN) starts the walk again.
    const bool sameStart = walk_.x0 == x0 && walk_.y0 == y0;
    if (!walk_.valid || !sameStart || walk_.version != store.version() ||
        walk_.count > store.pointCount())
        walk_ = {x0, y0, x0, x0, y0, y0, 0, store.version(), true};
    float x = 0, y = 0;
    for (int c = store.EnumPoints(int(walk_.count), &x, &y); c != 0;
         c = store.EnumPoints(c, &x, &y)) {
        // px and py are the maxima just before their last rise.
        if (x > walk_.mx) {
            walk_.px = walk_.mx;
            walk_.mx = x;
        }
        if (y > walk_.my) {
            walk_.py = walk_.my;
            walk_.my = y;
        }
        walk_.count = std::size_t(c);
    }
}

void AxisFitter::calcaxis(const PointStore &store, ScaleMap &map) {
    extendWalk(store, map.getxzero(), map.getyzero());
    const Walk &w = walk_;
    if (includesHorizontal(autoaxis_))
        map.setxmax(static_cast<float>(graphmath::niceval(w.mx, 2.0f * w.mx - w.px, false)));
    if (includesVertical(autoaxis_))
        map.setymax(static_cast<float>(graphmath::niceval(w.my, 2.0f * w.my - w.py, false)));
    if (map.getxmax() == map.getxzero())
        map.setxmax(map.getxzero() + 1.0f);
    if (map.getymax() == map.getyzero())
        map.setymax(map.getyzero() + 1.0f);
}

void AxisFitter::settle(const PointStore &store, ScaleMap &map) {
    if (due_) {
        calcaxis(store, map);
        due_ = false;
        pointschanged_ = true;
    }
}

float AxisFitter::roundUp(float v) {
    if (!(v > 0.0f))
        return 0.0f; // the roundest value at or above a value <= 0
    // Within a factor of two there is always a value with one leading digit.
    const float r = static_cast<float>(graphmath::niceval(v, 2.0f * v, false));
    return std::isfinite(r) && r >= v ? r : v;
}

float AxisFitter::roundDown(float v) {
    if (v >= 0.0f)
        return 0.0f;
    return -roundUp(-v);
}

bool AxisFitter::growToFit(const PointStore &store, ScaleMap &map,
                           const std::optional<WorldExtent> &also) {
    const std::optional<WorldExtent> b = unite(pointBounds(store), also);
    if (!b)
        return false;
    bool changed = false;
    if (b->xmin < map.getxzero() || b->xmax > map.getxmax()) {
        const float x0 = b->xmin < map.getxzero() ? roundDown(b->xmin) : map.getxzero();
        const float x1 = b->xmax > map.getxmax() ? roundUp(b->xmax) : map.getxmax();
        changed |= setAxis(x0, x1, map.getxzero(), map.getxmax(), &ScaleMap::setxzero,
                           &ScaleMap::setxmax, map);
    }
    if (b->ymin < map.getyzero() || b->ymax > map.getymax()) {
        const float y0 = b->ymin < map.getyzero() ? roundDown(b->ymin) : map.getyzero();
        const float y1 = b->ymax > map.getymax() ? roundUp(b->ymax) : map.getymax();
        changed |= setAxis(y0, y1, map.getyzero(), map.getymax(), &ScaleMap::setyzero,
                           &ScaleMap::setymax, map);
    }
    return changed;
}

bool AxisFitter::fitToData(const PointStore &store, ScaleMap &map,
                           const std::optional<WorldExtent> &also) {
    const std::optional<WorldExtent> b = unite(pointBounds(store), also);
    if (!b)
        return false;
    bool changed = setAxis(roundDown(b->xmin), roundUp(b->xmax), map.getxzero(), map.getxmax(),
                           &ScaleMap::setxzero, &ScaleMap::setxmax, map);
    changed |= setAxis(roundDown(b->ymin), roundUp(b->ymax), map.getyzero(), map.getymax(),
                       &ScaleMap::setyzero, &ScaleMap::setymax, map);
    return changed;
}
