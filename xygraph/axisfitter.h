#pragma once

#include "sidescale.h"
#include "worldextent.h"

#include <cstddef>
#include <cstdint>
#include <optional>

class PointStore;
class ScaleMap;

// Fits the upper ends of the world window to the points, as AutoAxis asks,
// and keeps the window non-empty. A refit falls due when points are added or
// moved; settling it reports the change to the host through PointsChanged.
class AxisFitter {
public:
    TSideScale FAutoAxis() const { return autoaxis_; }
    void SetAutoAxis(TSideScale value) { autoaxis_ = value; }

    void calcaxis(const PointStore &store, ScaleMap &map);

    // Grows each axis whose window does not hold every point: the upper end up
    // to a round value at or above the largest value, the lower end down to 0,
    // or to a round value below the smallest one when that is negative. An
    // axis that holds its points is left alone, so nothing ever shrinks.
    // `also` is more to hold besides the points (what the graph overlays).
    // True when the window changed.
    static bool growToFit(const PointStore &store, ScaleMap &map,
                          const std::optional<WorldExtent> &also = std::nullopt);
    // Both axes to the points, shrinking as well as growing: upper ends as in
    // growToFit, lower ends 0 unless points are negative. Nothing to show: no
    // change.
    static bool fitToData(const PointStore &store, ScaleMap &map,
                          const std::optional<WorldExtent> &also = std::nullopt);
    // A round value at or above v, and one at or below it (0 when v >= 0).
    static float roundUp(float v);
    static float roundDown(float v);

    bool due() const { return due_; }
    void setDue(bool v) { due_ = v; }
    // Refits once if due, and then reports it.
    void settle(const PointStore &store, ScaleMap &map);

    bool Fpointschanged() {
        const bool was = pointschanged_;
        pointschanged_ = false;
        return was;
    }
    void Setpointschanged(bool v) { pointschanged_ = v; }

private:
    // The running maxima of the walk over all points, and what they were
    // taken over: points appended since only extend the walk, so a curve drawn
    // point by point refits in constant time per point.
    struct Walk {
        float x0 = 0.0f, y0 = 0.0f;
        float mx = 0.0f, px = 0.0f, my = 0.0f, py = 0.0f;
        std::size_t count = 0;
        std::uint64_t version = 0;
        bool valid = false;
    };
    void extendWalk(const PointStore &store, float x0, float y0);

    TSideScale autoaxis_ = sscNone;
    bool due_ = false;
    bool pointschanged_ = false;
    Walk walk_;
};
