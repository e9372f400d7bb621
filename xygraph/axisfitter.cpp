#include "axisfitter.h"

#include "niceval.h"
#include "pointstore.h"
#include "scalemap.h"

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
