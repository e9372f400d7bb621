#pragma once

#include "curvegraph.h"
#include "fpoint.h"

#include <span>
#include <vector>

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

// Every point of `graph` in enumeration order: what drawPolyline put in.
inline std::vector<FPOINT> graphPoints(const CurveGraph &graph) {
    std::vector<FPOINT> points;
    float x = 0.0f, y = 0.0f;
    for (int c = graph.EnumPoints(0, &x, &y); c != 0; c = graph.EnumPoints(c, &x, &y))
        points.push_back({x, y});
    return points;
}
