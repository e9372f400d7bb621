#pragma once

// The part of a graph that curves travel through. The model reaches graphs
// only through this, so it needs no widgets; the graph control implements it.
class CurveGraph {
public:
    virtual ~CurveGraph() = default;

    // Delivers the point at enumeration position `cursor` and returns cursor + 1,
    // or returns 0 (writing nothing) past the last point.
    virtual int EnumPoints(int cursor, float *x, float *y) const = 0;
    virtual void Clear() = 0;
    virtual void PenUp() = 0;
    virtual void PenDown() = 0;
    virtual void MoveTo(float x, float y) = 0;
};
