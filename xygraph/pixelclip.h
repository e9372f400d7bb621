#pragma once

#include <vector>

// Pixel positions before they become whole pixels, and the clipping of a
// segment to a rectangle in that space. Painting cuts every line here, so a
// line to a point millions of pixels away keeps its direction: only its
// visible part is turned into whole pixels.

// A position in client pixels, not yet truncated.
struct PixelF {
    long double x = 0.0L;
    long double y = 0.0L;
};

// A rectangle of client pixels, edges included.
struct PixelBox {
    long double left = 0.0L, top = 0.0L, right = 0.0L, bottom = 0.0L;
    bool contains(PixelF p) const {
        return left <= p.x && p.x <= right && top <= p.y && p.y <= bottom;
    }
};

// Shortens the segment a-b to its part inside `box`, moving each end along
// the segment only where it lies outside. False, changing nothing, when no part
// lies inside or an end is not a finite number.
bool clipSegment(PixelF &a, PixelF &b, const PixelBox &box);

// The part of a polygon (its corners in order, closed back to the first)
// inside `box`: the corners inside it, and new ones where its edges cross the
// box's sides, so a filled area keeps its shape however far corners lie.
// Empty when no part lies inside or a corner is not a finite number.
std::vector<PixelF> clipPolygon(const std::vector<PixelF> &polygon, const PixelBox &box);

// A pixel coordinate as an int: truncated toward zero, limited to the int
// range only where it would leave it; NaN gives 0.
int truncatePixel(long double v);
