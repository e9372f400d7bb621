#pragma once

#include "fpoint.h"

#include <algorithm>
#include <optional>

// The smallest world rectangle holding some values: what "Fit to Data" and a
// growing window must show.
struct WorldExtent {
    float xmin = 0.0f, xmax = 0.0f, ymin = 0.0f, ymax = 0.0f;

    static WorldExtent of(FPOINT p) { return {p.x, p.x, p.y, p.y}; }
    WorldExtent united(const WorldExtent &o) const {
        return {std::min(xmin, o.xmin), std::max(xmax, o.xmax), std::min(ymin, o.ymin),
                std::max(ymax, o.ymax)};
    }
};

// Either extent, or both united; nothing when neither is given.
inline std::optional<WorldExtent> unite(const std::optional<WorldExtent> &a,
                                        const std::optional<WorldExtent> &b) {
    if (!a)
        return b;
    if (!b)
        return a;
    return a->united(*b);
}
