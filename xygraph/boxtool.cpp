// Boxes edited with the mouse: the zone under a pixel, moving, resizing and
// drawing, each value snapped to a round number and kept sensible.
#include "boxtool.h"

#include "niceval.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

struct PixelRect {
    long double left, right, top, bottom;
};

PixelRect pixelsOf(const OverlayBox &b, const ScaleMap &map) {
    const PixelF topLeft = map.w2pixel({b.x0, b.y1});
    const PixelF bottomRight = map.w2pixel({b.x1, b.y0});
    return {topLeft.x, bottomRight.x, topLeft.y, bottomRight.y};
}

// The edges of the box within reach of the pixel (0 inside it), or nothing
// when the pixel misses the box and its reach.
std::optional<unsigned> hitBox(const PixelRect &r, int x, int y) {
    // A small box keeps its middle third for moving; a box without width or
    // height is still taken a pixel away.
    const long double reach = BoxTool::kReach;
    const long double rx = std::clamp((r.right - r.left) / 3.0L, 1.0L, reach);
    const long double ry = std::clamp((r.bottom - r.top) / 3.0L, 1.0L, reach);
    if (x < r.left - rx || x > r.right + rx || y < r.top - ry || y > r.bottom + ry)
        return std::nullopt;
    unsigned edges = 0;
    const long double dl = std::fabs(x - r.left), dr = std::fabs(x - r.right);
    if (dl <= rx || dr <= rx)
        edges |= dl < dr ? BoxTool::left : BoxTool::right;
    const long double dt = std::fabs(y - r.top), db = std::fabs(y - r.bottom);
    if (dt <= ry || db <= ry)
        edges |= db < dt ? BoxTool::bottom : BoxTool::top;
    return edges;
}

// World units per pixel along each axis.
float unitX(const ScaleMap &map) {
    return (map.getxmax() - map.getxzero()) / float(std::max(1, map.plotWidth()));
}
float unitY(const ScaleMap &map) {
    return (map.getymax() - map.getyzero()) / float(std::max(1, map.plotHeight()));
}

// The roundest value within the snapping distance of v.
float snapped(float v, float unit) {
    const float d = BoxTool::kSnapPixels * unit;
    return graphmath::roundest(v - d, v + d);
}

// The roundest value from `limit` up to the snapping distance beyond it
// (below it for a negative `unit`): a limit that stays a round number.
float snappedBeyond(float limit, float unit) {
    return graphmath::roundest(limit, limit + BoxTool::kSnapPixels * unit);
}

// A lower edge for the cursor at c, inside the window and at least the
// smallest size below the upper edge `hi`.
float lowerEdge(float c, float hi, float zero, float max, float unit) {
    float v = std::clamp(snapped(c, unit), zero, max);
    const float limit = hi - BoxTool::kMinPixels * unit;
    if (v > limit)
        v = snappedBeyond(limit, -unit);
    return v;
}

// An upper edge for the cursor at c, as lowerEdge above the lower edge `lo`.
float upperEdge(float c, float lo, float zero, float max, float unit) {
    float v = std::clamp(snapped(c, unit), zero, max);
    const float limit = lo + BoxTool::kMinPixels * unit;
    if (v < limit)
        v = snappedBeyond(limit, unit);
    return v;
}

// One axis of a moved box: its lower end snapped, its size kept, and enough
// of it left inside the window zero..max.
void moveAxis(float lo, float size, float delta, float zero, float max, float unit, float *newLo,
              float *newHi) {
    float a = snapped(lo + delta, unit);
    const float keep = std::min(size, BoxTool::kKeepPixels * unit);
    if (a + size < zero + keep)
        a = zero + keep - size;
    if (a > max - keep)
        a = max - keep;
    *newLo = a;
    *newHi = a + size;
}

// One axis of a drawn box from the fixed corner's value to the cursor's, at
// least the smallest size, growing toward the cursor.
void drawAxis(float anchor, float corner, float unit, float *lo, float *hi) {
    const float least = BoxTool::kMinPixels * unit;
    if (corner >= anchor) {
        *lo = anchor;
        *hi = corner >= anchor + least ? corner : snappedBeyond(anchor + least, unit);
    } else {
        *hi = anchor;
        *lo = corner <= anchor - least ? corner : snappedBeyond(anchor - least, -unit);
    }
}

// The snapped world value under a pixel, inside the window.
FPOINT snappedInside(FPOINT c, const ScaleMap &map) {
    return {std::clamp(snapped(c.x, unitX(map)), map.getxzero(), map.getxmax()),
            std::clamp(snapped(c.y, unitY(map)), map.getyzero(), map.getymax())};
}

} // namespace

BoxZone BoxHit::zone() const {
    if (box < 0)
        return BoxZone::outside;
    if (edges == 0)
        return BoxZone::inside;
    return std::popcount(edges) == 2 ? BoxZone::corner : BoxZone::edge;
}

BoxHit BoxTool::hitTest(const GraphOverlay &overlay, const ScaleMap &map, int x, int y) {
    const auto &boxes = overlay.boxes();
    if (const int s = overlay.selected(); s >= 0) {
        const auto edges = hitBox(pixelsOf(boxes[std::size_t(s)], map), x, y);
        if (edges && *edges != 0)
            return {s, *edges};
    }
    for (std::size_t i = boxes.size(); i-- > 0;)
        if (const auto edges = hitBox(pixelsOf(boxes[i], map), x, y))
            return {int(i), *edges};
    return {};
}

BoxCursor BoxTool::cursorFor(const BoxHit &hit) {
    if (hit.box < 0)
        return BoxCursor::draw;
    switch (hit.edges) {
    case 0:
        return BoxCursor::move;
    case left:
    case right:
        return BoxCursor::sizeHorizontal;
    case bottom:
    case top:
        return BoxCursor::sizeVertical;
    case left | top:
    case right | bottom:
        return BoxCursor::sizeFall;
    default:
        return BoxCursor::sizeRise;
    }
}

BoxCursor BoxTool::cursor(const GraphOverlay &overlay, const ScaleMap &map, int x, int y) const {
    switch (mode_) {
    case Mode::move:
        return BoxCursor::move;
    case Mode::resize:
        return cursorFor({box_, edges_});
    case Mode::draw:
        return BoxCursor::draw;
    case Mode::idle:
        break;
    }
    return cursorFor(hitTest(overlay, map, x, y));
}

void BoxTool::press(GraphOverlay &overlay, const ScaleMap &map, int x, int y) {
    before_ = overlay.boxes();
    selectedBefore_ = overlay.selected();
    pressPixel_ = {x, y};
    pressWorld_ = map.cc2w({x, y});
    started_ = false;
    const BoxHit hit = hitTest(overlay, map, x, y);
    box_ = hit.box;
    if (hit.box < 0) {
        mode_ = Mode::draw;
        anchor_ = snappedInside(pressWorld_, map);
        return;
    }
    original_ = overlay.boxes()[std::size_t(hit.box)];
    edges_ = hit.edges;
    mode_ = edges_ == 0 ? Mode::move : Mode::resize;
    overlay.select(hit.box);
}

bool BoxTool::beyondClick(int x, int y) const {
    return std::abs(x - pressPixel_.x) >= kClickPixels ||
           std::abs(y - pressPixel_.y) >= kClickPixels;
}

bool BoxTool::drag(GraphOverlay &overlay, const ScaleMap &map, int x, int y) {
    if (mode_ == Mode::idle)
        return false;
    if (!started_) {
        if (!beyondClick(x, y))
            return false;
        started_ = true;
    }
    const FPOINT c = map.cc2w({x, y});
    const float ux = unitX(map), uy = unitY(map);
    OverlayBox next = original_;
    switch (mode_) {
    case Mode::move:
        moveAxis(original_.x0, original_.width(), c.x - pressWorld_.x, map.getxzero(),
                 map.getxmax(), ux, &next.x0, &next.x1);
        moveAxis(original_.y0, original_.height(), c.y - pressWorld_.y, map.getyzero(),
                 map.getymax(), uy, &next.y0, &next.y1);
        break;
    case Mode::resize:
        if (edges_ & left)
            next.x0 = lowerEdge(c.x, original_.x1, map.getxzero(), map.getxmax(), ux);
        if (edges_ & right)
            next.x1 = upperEdge(c.x, original_.x0, map.getxzero(), map.getxmax(), ux);
        if (edges_ & bottom)
            next.y0 = lowerEdge(c.y, original_.y1, map.getyzero(), map.getymax(), uy);
        if (edges_ & top)
            next.y1 = upperEdge(c.y, original_.y0, map.getyzero(), map.getymax(), uy);
        break;
    case Mode::draw: {
        const FPOINT corner = snappedInside(c, map);
        drawAxis(anchor_.x, corner.x, ux, &next.x0, &next.x1);
        drawAxis(anchor_.y, corner.y, uy, &next.y0, &next.y1);
        if (box_ < 0) {
            box_ = overlay.addBox(next);
            overlay.select(box_);
            return true;
        }
        break;
    }
    case Mode::idle:
        return false;
    }
    if (box_ < 0 || std::size_t(box_) >= overlay.boxes().size() ||
        overlay.boxes()[std::size_t(box_)] == next)
        return false;
    overlay.replaceBox(std::size_t(box_), next);
    return true;
}

bool BoxTool::release(GraphOverlay &overlay, const ScaleMap &map, int x, int y) {
    if (mode_ == Mode::idle)
        return false;
    if (beyondClick(x, y)) {
        drag(overlay, map, x, y);
    } else {
        // A click, or a drag that came back to the press: nothing changes but
        // the selection, which names the box pressed, or none on empty plot.
        const int pressed = mode_ == Mode::draw ? -1 : box_;
        overlay.setBoxes(before_);
        overlay.select(pressed);
    }
    mode_ = Mode::idle;
    return overlay.boxes() != before_;
}

void BoxTool::cancel(GraphOverlay &overlay) {
    if (mode_ == Mode::idle)
        return;
    overlay.setBoxes(before_);
    overlay.select(selectedBefore_);
    mode_ = Mode::idle;
}
