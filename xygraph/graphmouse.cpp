// Point editing with the mouse: stretching the axes, dragging points, and the
// cursor readout. The control routes its events here after calling the host.
#include "graphcore.h"

#include "niceval.h"

#include <cmath>

void GraphCore::pressDrag(int x, int y) {
    dragmode_ = winpos(x, y);
    if (dragmode_ == zoneHScale || dragmode_ == zoneVScale) {
        downpos_ = {float(x), float(y)};
    } else if (dragmode_ == zonePlot) {
        dragpoint_ = nearpoint(x, y);
        dragging_ = dragpoint_ != nullptr;
        if (dragging_) {
            dragprev_ = nearpoint(dragpoint_, true);
            dragnext_ = nearpoint(dragpoint_, false);
            dragsaved_ = *dragpoint_;
        }
    }
}

FPOINT GraphCore::dragTarget(int x, int y) const {
    FPOINT n = cc2w({x, y});
    // Neighbours keep a line's x order; an end point stays inside the window.
    if (dragprev_ != nullptr) {
        if (n.x < dragprev_->x)
            n.x = dragprev_->x;
    } else if (n.x < xzero_) {
        n.x = xzero_;
    }
    if (dragnext_ != nullptr) {
        if (n.x > dragnext_->x)
            n.x = dragnext_->x;
    } else if (n.x > xmax_) {
        n.x = xmax_;
    }
    if (n.y > ymax_)
        n.y = ymax_;
    if (n.y < yzero_)
        n.y = yzero_;
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

void GraphCore::MouseMove(int x, int y) {
    bool repaintDue = false;
    switch (dragmode_) {
    case zoneHScale:
        if (std::trunc(std::fabs(x - downpos_.x)) >= kStretchMinMove &&
            stretchedEnd(xzero_, xmax_, downpos_.x - leftborder_, x - leftborder_, &xmax_)) {
            downpos_.x = float(x);
            repaintDue = true;
        }
        break;
    case zoneVScale: {
        const int base = height_ - bottomborder_;
        if (std::trunc(std::fabs(y - downpos_.y)) >= kStretchMinMove &&
            stretchedEnd(yzero_, ymax_, base - downpos_.y, base - y, &ymax_)) {
            downpos_.y = float(y);
            repaintDue = true;
        }
        break;
    }
    case zonePlot:
        readout_ = nearpoint(x, y);
        if (readout_ != nullptr)
            highlight_ = true;
        axischanged_ = true;
        paintPos();
        break;
    default:
        break;
    }

    const int zone = winpos(x, y);
    if (zone == zonePlot) {
        // Show the roundest coordinates within 2 pixels of the cursor.
        const FPOINT lo = cc2w({x - 2, y + 2});
        const FPOINT hi = cc2w({x + 2, y - 2});
        cursorpoint_ = {static_cast<float>(graphmath::niceval(lo.x, hi.x, true)),
                        static_cast<float>(graphmath::niceval(lo.y, hi.y, true))};
        readout_ = &cursorpoint_;
        if (dragging_ && dragpoint_ != nullptr) {
            const FPOINT n = dragTarget(x, y);
            if (view_)
                view_->drawDragFigure(true);
            *dragpoint_ = n;
            if (view_)
                view_->drawDragFigure(false);
        }
    } else {
        readout_ = nullptr;
    }
    if (view_)
        view_->showZoneCursor(zone);
    paintPos();
    if (repaintDue)
        requestRepaint();
}

bool GraphCore::release(int x, int y) {
    dragmode_ = 0;
    highlight_ = false;
    bool moved = false;
    if (dragging_) {
        if (dragpoint_ != nullptr) {
            if (winpos(x, y) != zonePlot) { // dropped outside: undo
                *dragpoint_ = dragsaved_;
                axischanged_ = true;
            }
            moved = dragpoint_->x != dragsaved_.x || dragpoint_->y != dragsaved_.y;
        }
        dragging_ = false;
    }
    requestRepaint();
    return moved;
}
