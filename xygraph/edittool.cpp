// Point editing with the mouse: stretching the axes, dragging points, the
// cursor readout, and the menu's point edits at the press position.
#include "edittool.h"

#include "niceval.h"
#include "pointstore.h"

#include <algorithm>
#include <cmath>

void EditTool::press(const PointStore &store, const ScaleMap &map, int x, int y) {
    dragmode_ = map.winpos(x, y);
    if (dragmode_ == ScaleMap::zoneHScale || dragmode_ == ScaleMap::zoneVScale) {
        downpos_ = {float(x), float(y)};
    } else if (dragmode_ == ScaleMap::zonePlot) {
        dragpoint_ = hittest::nearpoint(store, map, x, y);
        dragging_ = dragpoint_ != nullptr;
        if (dragging_) {
            dragprev_ = store.neighbour(dragpoint_, true);
            dragnext_ = store.neighbour(dragpoint_, false);
            dragsaved_ = *dragpoint_;
            pressMap_ = map;
        }
    }
}

bool EditTool::growsAxis(const ScaleMap &map, int x, int y) const {
    if (!dragging_ || x <= map.leftborder() || y >= map.Height() - map.bottomborder())
        return false;
    return y <= map.topborder() || x >= map.Width() - map.rightborder();
}

FPOINT EditTool::growingTarget(int x, int y) const {
    // Read on the window of the press: the same pixel always means the same
    // value, however far the axes have grown since.
    FPOINT n = pressMap_.cc2w({x, y});
    if (dragprev_ != nullptr ? n.x < dragprev_->x : n.x < pressMap_.getxzero())
        n.x = dragprev_ != nullptr ? dragprev_->x : pressMap_.getxzero();
    if (dragnext_ != nullptr && n.x > dragnext_->x)
        n.x = dragnext_->x;
    if (n.y < pressMap_.getyzero())
        n.y = pressMap_.getyzero();
    return n;
}

FPOINT EditTool::dragTarget(const ScaleMap &map, int x, int y) const {
    FPOINT n = map.cc2w({x, y});
    // Neighbours keep a line's x order; an end point stays inside the window.
    if (dragprev_ != nullptr) {
        if (n.x < dragprev_->x)
            n.x = dragprev_->x;
    } else if (n.x < map.getxzero()) {
        n.x = map.getxzero();
    }
    if (dragnext_ != nullptr) {
        if (n.x > dragnext_->x)
            n.x = dragnext_->x;
    } else if (n.x > map.getxmax()) {
        n.x = map.getxmax();
    }
    if (n.y > map.getymax())
        n.y = map.getymax();
    if (n.y < map.getyzero())
        n.y = map.getyzero();
    return n;
}

namespace {

// The new upper end that keeps the world value grabbed at pixel offset
// `from` (from the axis origin) under the cursor at offset `to`. Refused when
// the cursor is at or behind the origin or the end would not stay above `zero`.
bool stretchedEnd(float zero, float max, double from, double to, float *result) {
    if (!(to > 0.0))
        return false;
    const float end = static_cast<float>(zero + from * (double(max) - zero) / to);
    if (!std::isfinite(end) || !(end > zero))
        return false;
    *result = end;
    return true;
}

} // namespace

bool EditTool::pressedMove(const PointStore &store, ScaleMap &map, int x, int y) {
    float end = 0.0f;
    switch (dragmode_) {
    case ScaleMap::zoneHScale:
        if (std::trunc(std::fabs(x - downpos_.x)) >= kStretchMinMove &&
            stretchedEnd(map.getxzero(), map.getxmax(), downpos_.x - map.leftborder(),
                         x - map.leftborder(), &end)) {
            map.setxmax(end);
            downpos_.x = float(x);
            return true;
        }
        break;
    case ScaleMap::zoneVScale: {
        const int base = map.Height() - map.bottomborder();
        if (std::trunc(std::fabs(y - downpos_.y)) >= kStretchMinMove &&
            stretchedEnd(map.getyzero(), map.getymax(), base - downpos_.y, base - y, &end)) {
            map.setymax(end);
            downpos_.y = float(y);
            return true;
        }
        break;
    }
    case ScaleMap::zonePlot:
        readout_ = hittest::nearpoint(store, map, x, y);
        if (readout_ != nullptr)
            highlight_ = true;
        break;
    default:
        break;
    }
    return false;
}

int EditTool::hover(const ScaleMap &map, int x, int y) {
    const int zone = map.winpos(x, y);
    if (zone == ScaleMap::zonePlot) {
        // Show the roundest coordinates within 2 pixels of the cursor.
        const FPOINT lo = map.cc2w({x - 2, y + 2});
        const FPOINT hi = map.cc2w({x + 2, y - 2});
        cursorpoint_ = {graphmath::roundest(lo.x, hi.x), graphmath::roundest(lo.y, hi.y)};
        readout_ = &cursorpoint_;
    } else {
        readout_ = nullptr;
    }
    return zone;
}

EditTool::Release EditTool::release(PointStore &store, const ScaleMap &map, int x, int y) {
    dragmode_ = 0;
    highlight_ = false;
    Release result;
    if (dragging_) {
        // Dropped below or left of the plot: undone. Above or right of it the
        // axis grew to hold the point, which stays.
        if (map.winpos(x, y) != ScaleMap::zonePlot && !growsAxis(map, x, y)) {
            store.movePoint(dragpoint_, dragsaved_);
            result.undone = true;
        }
        result.moved = dragpoint_->x != dragsaved_.x || dragpoint_->y != dragsaved_.y;
        dragging_ = false;
    }
    return result;
}

// --- the menu's point edits ------------------------------------------------------

bool EditTool::addPointEnabled(const ScaleMap &map) const {
    const TPoint p = pressPixel();
    return map.winpos(p.x, p.y) == ScaleMap::zonePlot;
}

FPOINT *EditTool::pressedPoint(const PointStore &store, const ScaleMap &map) const {
    const TPoint p = pressPixel();
    return hittest::nearpoint(store, map, p.x, p.y);
}

bool EditTool::addPoint(PointStore &store, const ScaleMap &map) {
    const TPoint press = pressPixel();
    const FPOINT c = map.cc2w(press);
    if (store.lines().empty()) {
        // The first line spans the whole window at the pressed height.
        store.appendLine({map.getxzero(), c.y}, {map.getxmax(), c.y});
        return true;
    }
    const int li = hittest::nearline(store, map, press.x, press.y);
    if (li < 0)
        return false;
    const PointStore::Line &line = *store.lines()[std::size_t(li)];
    auto at = std::find_if(line.begin(), line.end(),
                           [&](const std::unique_ptr<FPOINT> &p) { return p->x > c.x; });
    // Left of the first point there is no segment to put the point on.
    if (at == line.end() || at == line.begin())
        return false;
    const FPOINT &p = **at;
    const FPOINT &q = **(at - 1);
    const float y =
        static_cast<float>(q.y + (double(c.x) - q.x) * (double(p.y) - q.y) / (double(p.x) - q.x));
    store.insertPoint(std::size_t(li), std::size_t(at - line.begin()), {c.x, y});
    refreshNeighbours(store);
    return true;
}

// --- points going away -------------------------------------------------------------

void EditTool::forget(const FPOINT *p) {
    if (dragpoint_ == p) {
        dragpoint_ = dragprev_ = dragnext_ = nullptr;
        dragging_ = false;
    }
    if (dragprev_ == p)
        dragprev_ = nullptr;
    if (dragnext_ == p)
        dragnext_ = nullptr;
    if (readout_ == p)
        readout_ = nullptr;
}

void EditTool::forgetAll() {
    dragging_ = false;
    dragpoint_ = dragprev_ = dragnext_ = nullptr;
    if (readout_ != &cursorpoint_)
        readout_ = nullptr;
}

void EditTool::refreshNeighbours(const PointStore &store) {
    if (dragging_ && dragpoint_ != nullptr) {
        dragprev_ = store.neighbour(dragpoint_, true);
        dragnext_ = store.neighbour(dragpoint_, false);
    }
}
