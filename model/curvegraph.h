#pragma once

#include <cstdint>
#include <optional>

// How the lines a graph draws from now on look: markers at their points or
// none, and a colour of their own (0xRRGGBB) or the graph's colour by line.
struct LineLook {
    bool markers = true;
    std::optional<std::uint32_t> rgb;
    friend bool operator==(const LineLook &, const LineLook &) = default;
};

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
    // For the lines drawn after it, until Clear; graphs that draw every line
    // alike ignore it.
    virtual void SetLineLook(const LineLook &) {}
};
