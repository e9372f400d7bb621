// Which point or line lies under a pixel. Distances are in world units.
#include "edittool.h"
#include "pointstore.h"

#include <cmath>

namespace {

// Length of (dx, dy): the square root of a single-precision sum of squares.
double length(float dx, float dy) {
    return std::sqrt(double(dx * dx + dy * dy));
}

} // namespace

namespace hittest {

FPOINT *nearpoint(const PointStore &store, const ScaleMap &map, int x, int y) {
    const FPOINT c = map.cc2w({x, y});
    const float dx = map.getxmax() - map.getxzero();
    const float dy = map.getymax() - map.getyzero();
    // The tolerance is a box of 2.5 % of the window in each direction.
    float best = static_cast<float>(length(dx, dy));
    const float tolx = static_cast<float>(dx * 0.025);
    const float toly = static_cast<float>(dy * 0.025);
    FPOINT *result = nullptr;
    store.forEachPoint([&](const FPOINT *p) {
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

int nearline(const PointStore &store, const ScaleMap &map, int x, int y) {
    const FPOINT c = map.cc2w({x, y});
    float best =
        static_cast<float>(length(map.getxmax() - map.getxzero(), map.getymax() - map.getyzero()));
    int result = -1;
    const auto &lines = store.lines();
    for (std::size_t li = 0; li < lines.size(); ++li) {
        const PointStore::Line &line = *lines[li];
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

} // namespace hittest
