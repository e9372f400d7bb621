#include "graphcore.h"

#include <cmath>

void GraphCore::setScaleMetrics(scalelayout::Metrics metrics, char decimalSeparator) {
    metrics_ = std::move(metrics);
    decimalSeparator_ = decimalSeparator;
    updateBorderRule();
}

void GraphCore::updateBorderRule() {
    if (!metrics_)
        return;
    map_.setLeftBorderRule([title = vlabel_, ticks = includesVertical(ticks_), m = *metrics_,
                            sep = decimalSeparator_](const ScaleMap &map) {
        return scalelayout::leftBorder(map, title, ticks, m, sep);
    });
}

void GraphCore::invalidate() {
    settleAxes();
    if (view_)
        view_->requestRepaint();
}

bool GraphCore::growToFit() {
    settleAxes(); // a refit still due comes first, so it cannot undo the growth
    const bool changed = AxisFitter::growToFit(store_, map_, overlay_.extent());
    if (changed)
        invalidate();
    return changed;
}

bool GraphCore::fitToData() {
    settleAxes();
    const bool changed = AxisFitter::fitToData(store_, map_, overlay_.extent());
    if (changed)
        invalidate();
    return changed;
}

namespace {

// Sets lo..hi when both are finite and hi is above lo; else keeps the window.
bool setRange(ScaleMap &map, bool horizontal, double lo, double hi) {
    const float l = static_cast<float>(lo), h = static_cast<float>(hi);
    if (!std::isfinite(l) || !std::isfinite(h) || !(h > l))
        return false;
    if (horizontal) {
        map.setxzero(l);
        map.setxmax(h);
    } else {
        map.setyzero(l);
        map.setymax(h);
    }
    return true;
}

} // namespace

void GraphCore::zoomAt(int x, int y, double factor) {
    if (!(factor > 0.0) || !std::isfinite(factor) || map_.plotWidth() <= 0 ||
        map_.plotHeight() <= 0)
        return;
    settleAxes();
    const double x0 = map_.getxzero(), x1 = map_.getxmax();
    const double y0 = map_.getyzero(), y1 = map_.getymax();
    // The world value under the pixel, unrounded.
    const double wx = x0 + (x - map_.leftborder()) * (x1 - x0) / map_.plotWidth();
    const double wy =
        y0 + (map_.Height() - map_.bottomborder() - y) * (y1 - y0) / map_.plotHeight();
    bool changed = setRange(map_, true, wx - (wx - x0) * factor, wx + (x1 - wx) * factor);
    changed |= setRange(map_, false, wy - (wy - y0) * factor, wy + (y1 - wy) * factor);
    if (changed)
        invalidate();
}

void GraphCore::panBy(int dx, int dy) {
    if (map_.plotWidth() <= 0 || map_.plotHeight() <= 0 || (dx == 0 && dy == 0))
        return;
    settleAxes();
    const double x0 = map_.getxzero(), x1 = map_.getxmax();
    const double y0 = map_.getyzero(), y1 = map_.getymax();
    const double sx = -dx * (x1 - x0) / map_.plotWidth();
    const double sy = dy * (y1 - y0) / map_.plotHeight();
    bool changed = setRange(map_, true, x0 + sx, x1 + sx);
    changed |= setRange(map_, false, y0 + sy, y1 + sy);
    if (changed)
        invalidate();
}

void GraphCore::pointsAdded() {
    fitter_.setDue(true);
    invalidate();
}

void GraphCore::Setbarmode(bool v) {
    if (!barmode_) {
        store_.subdivide(kBarStep);
        edit_.refreshNeighbours(store_);
    }
    barmode_ = v;
    invalidate();
}

// --- points in and out -------------------------------------------------------------

void GraphCore::PenUp() {
    store_.PenUp();
    if (store_.added())
        pointsAdded();
}

void GraphCore::MoveTo(float x, float y) {
    store_.MoveTo(x, y);
    if (store_.added())
        pointsAdded();
}

void GraphCore::Clear() {
    // Nothing the mouse holds may outlive its point.
    edit_.forgetAll();
    store_.Clear();
}

void GraphCore::restoreShape(const PointStore::Shape &shape) {
    edit_.forgetAll();
    store_.setShape(shape);
    invalidate();
}

bool GraphCore::deletepoint(FPOINT *p) {
    if (!store_.holds(p))
        return false;
    edit_.forget(p);
    store_.deletepoint(p);
    edit_.refreshNeighbours(store_);
    return true;
}

// --- what the graph shows besides its points -------------------------------------

void GraphCore::setBands(std::vector<OverlayBand> bands) {
    overlay_.setBands(std::move(bands));
    invalidate();
}

void GraphCore::setOverlayLines(std::vector<OverlayLine> lines) {
    overlay_.setLines(std::move(lines));
    invalidate();
}

void GraphCore::setBoxes(std::vector<OverlayBox> boxes) {
    overlay_.setBoxes(std::move(boxes)); // first: a bad list changes nothing
    boxTool_.forget();
    invalidate();
}

void GraphCore::selectBox(int index) {
    overlay_.select(index);
    invalidate();
}

void GraphCore::setBoxMode(bool on) {
    if (!on)
        boxTool_.cancel(overlay_);
    boxMode_ = on;
    invalidate();
}

bool GraphCore::deleteSelectedBox() {
    const int s = overlay_.selected();
    if (s < 0 || boxTool_.active())
        return false;
    overlay_.removeBox(std::size_t(s));
    invalidate();
    return true;
}

// --- mouse editing -----------------------------------------------------------------

void GraphCore::pressDrag(int x, int y) {
    if (boxMode_ && map_.winpos(x, y) == ScaleMap::zonePlot) {
        boxTool_.press(overlay_, map_, x, y);
        invalidate(); // the selection shows at once
        return;
    }
    edit_.press(store_, map_, x, y);
}

bool GraphCore::menuPress(int x, int y) {
    if (!boxMode_ || boxTool_.active() || map_.winpos(x, y) != ScaleMap::zonePlot)
        return false;
    const BoxHit hit = BoxTool::hitTest(overlay_, map_, x, y);
    if (hit.box < 0 || hit.box == overlay_.selected())
        return false;
    selectBox(hit.box);
    return true;
}

void GraphCore::MouseMove(int x, int y) {
    bool repaintDue = edit_.pressedMove(store_, map_, x, y);
    if (edit_.dragmode() == ScaleMap::zonePlot) {
        // Refitted on release: the axes stay put while a point is dragged.
        fitter_.setDue(true);
        paintPos();
    }
    const int zone = edit_.hover(map_, x, y);
    if (zone != ScaleMap::zonePlot && edit_.growsAxis(map_, x, y)) {
        const FPOINT n = edit_.growingTarget(x, y);
        if (n.y > map_.getymax())
            map_.setymax(AxisFitter::roundUp(n.y));
        if (n.x > map_.getxmax())
            map_.setxmax(AxisFitter::roundUp(n.x));
        store_.movePoint(edit_.dragpoint(), n);
        invalidate(); // a new scale: the whole picture, not a sketch
    } else if (zone == ScaleMap::zonePlot && edit_.dragging()) {
        const FPOINT n = edit_.dragTarget(map_, x, y);
        drawDragFigure(true);
        store_.movePoint(edit_.dragpoint(), n);
        drawDragFigure(false);
    }
    const bool onBoxes = boxMode_ && (zone == ScaleMap::zonePlot || boxTool_.active());
    if (onBoxes && boxTool_.drag(overlay_, map_, x, y))
        repaintDue = true;
    if (view_) {
        if (onBoxes)
            view_->showBoxCursor(boxTool_.cursor(overlay_, map_, x, y));
        else
            view_->showZoneCursor(zone);
    }
    paintPos();
    if (repaintDue)
        invalidate();
}

GraphCore::Released GraphCore::release(int x, int y) {
    Released result;
    if (boxTool_.active()) {
        result.boxesEdited = boxTool_.release(overlay_, map_, x, y);
    } else {
        const EditTool::Release r = edit_.release(store_, map_, x, y);
        if (r.undone)
            fitter_.setDue(true);
        result.pointsMoved = r.moved;
    }
    invalidate();
    return result;
}

void GraphCore::Click() {
    // The spacing unit 12 becomes 10 at the top after the first click.
    map_.setBorders(map_.leftborder(), map_.bottomborder(), 10, map_.rightborder());
}

// --- the menu's point edits --------------------------------------------------------

bool GraphCore::AddPoint() {
    const bool added = edit_.addPoint(store_, map_);
    if (added)
        fitter_.setDue(true);
    invalidate();
    return added;
}

bool GraphCore::DeletePoint() {
    const bool deleted = deletepoint(edit_.pressedPoint(store_, map_));
    invalidate();
    return deleted;
}
