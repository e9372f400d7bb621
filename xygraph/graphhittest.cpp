// Which zone, point or line lies under a pixel. Distances are in world units.
#include "graphcore.h"

#include <cmath>

namespace {

// Length of (dx, dy): the square root of a single-precision sum of squares.
double length(float dx, float dy) {
    return std::sqrt(double(dx * dx + dy * dy));
}

} // namespace

int GraphCore::winpos(int x, int y) const {
    if (leftborder_ - 4 < x && x < width_ - rightborder_) {
        if (topborder_ < y && y < height_ - bottomborder_ - 4)
            return zonePlot;
        if (y > height_ - bottomborder_)
            return zoneHScale;
    }
    if (x < leftborder_ && topborder_ < y && y < height_ - bottomborder_)
        return zoneVScale;
    return zoneNone;
}

FPOINT *GraphCore::nearpoint(int x, int y) const {
    const FPOINT c = cc2w({x, y});
    const float dx = xmax_ - xzero_;
    const float dy = ymax_ - yzero_;
    // The tolerance is a box of 2.5 % of the window in each direction.
    float best = static_cast<float>(length(dx, dy));
    const float tolx = static_cast<float>(dx * 0.025);
    const float toly = static_cast<float>(dy * 0.025);
    FPOINT *result = nullptr;
    forEachPoint([&](const FPOINT *p) {
        if (std::fabs(c.x - p->x) < tolx && std::fabs(c.y - p->y) < toly) {
            const float d = static_cast<float>(length(c.x - p->x, c.y - p->y));
            if (d < best) {
                result = const_cast<FPOINT *>(p);
                best = d;
            }
        }
    });
    return result;
}

FPOINT *GraphCore::nearpoint(const FPOINT *p, bool before) const {
    for (const auto &line : lines_) {
        for (std::size_t i = 0; i < line->size(); ++i) {
            if ((*line)[i].get() != p)
                continue;
            if (before)
                return i > 0 ? (*line)[i - 1].get() : nullptr;
            return i + 1 < line->size() ? (*line)[i + 1].get() : nullptr;
        }
    }
    return nullptr;
}

int GraphCore::nearline(int x, int y) const {
    const FPOINT c = cc2w({x, y});
    float best = static_cast<float>(length(xmax_ - xzero_, ymax_ - yzero_));
    int result = -1;
    for (std::size_t li = 0; li < lines_.size(); ++li) {
        const Line &line = *lines_[li];
        for (std::size_t i = 1; i < line.size(); ++i) {
            const FPOINT &a = *line[i - 1];
            const FPOINT &b = *line[i];
            // The detour through the pixel: 0 on the segment, growing away from it.
            const float e =
                static_cast<float>(length(c.x - a.x, c.y - a.y) + length(c.x - b.x, c.y - b.y) -
                                   length(a.x - b.x, a.y - b.y));
            if (best > e) {
                result = static_cast<int>(li);
                best = e;
            }
        }
    }
    return best > 100.0f ? -1 : result;
}
