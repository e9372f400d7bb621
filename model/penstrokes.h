#pragma once

#include "curvegraph.h"
#include "fpoint.h"

#include <span>

// The pen sequences hosts draw with: PenUp, MoveTo the first point, PenDown,
// MoveTo each further point, PenUp. It leaves one connected line, or a single
// point when there is only one point.
inline void drawPolyline(CurveGraph &graph, std::span<const FPOINT> points) {
    graph.PenUp();
    for (std::size_t i = 0; i < points.size(); ++i) {
        graph.MoveTo(points[i].x, points[i].y);
        if (i == 0)
            graph.PenDown();
    }
    graph.PenUp();
}

inline void drawSinglePoint(CurveGraph &graph, float x, float y) {
    const FPOINT point{x, y};
    drawPolyline(graph, std::span<const FPOINT>(&point, 1));
}
