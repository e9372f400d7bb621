#pragma once

#include "curvegraph.h"
#include "fpoint.h"

#include <vector>

// Every point a graph enumerates, in its order.
inline std::vector<FPOINT> pointsOf(const CurveGraph &graph) {
    std::vector<FPOINT> points;
    float x = 0, y = 0;
    for (int c = graph.EnumPoints(0, &x, &y); c != 0; c = graph.EnumPoints(c, &x, &y))
        points.push_back({x, y});
    return points;
}
