#pragma once

#include "graphpoints.h"
#include "penstrokes.h"
#include "pointstore.h"
#include "scalemap.h"

#include <initializer_list>
#include <vector>

// Building graphs the way hosts do, and reading them back.
namespace fixtures {

inline void drawLine(CurveGraph &g, std::initializer_list<FPOINT> pts) {
    drawPolyline(g, std::span<const FPOINT>(pts.begin(), pts.size()));
}

inline void addSingle(CurveGraph &g, float x, float y) {
    drawSinglePoint(g, x, y);
}

inline std::vector<FPOINT> lineValues(const PointStore &g, std::size_t index) {
    std::vector<FPOINT> out;
    for (const auto &p : *g.lines().at(index))
        out.push_back(*p);
    return out;
}

inline bool samePoints(const std::vector<FPOINT> &a, std::initializer_list<FPOINT> b) {
    if (a.size() != b.size())
        return false;
    auto it = b.begin();
    for (const FPOINT &p : a) {
        if (p.x != it->x || p.y != it->y)
            return false;
        ++it;
    }
    return true;
}

// The 353 x 193 graph with scales on both sides that the examples use: plot
// area from (37, 12) to (341, 152), 304 x 140 pixels, showing 0..100 x 0..100.
inline void standardGeometry(ScaleMap &g) {
    g.setSize(353, 193);
    g.setBorders(37, 41, 12, 12);
    g.setxzero(0);
    g.setyzero(0);
    g.setxmax(100);
    g.setymax(100);
}

} // namespace fixtures
