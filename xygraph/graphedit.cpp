// The point edits of the pop-up menu, at the position of the right press.
#include "graphcore.h"

#include <algorithm>

namespace {

TPoint pixelOf(FPOINT downpos) {
    return {int(downpos.x), int(downpos.y)};
}

} // namespace

bool GraphCore::addPointEnabled() const {
    const TPoint p = pixelOf(downpos_);
    return winpos(p.x, p.y) == zonePlot;
}

bool GraphCore::deletePointEnabled() const {
    const TPoint p = pixelOf(downpos_);
    return nearpoint(p.x, p.y) != nullptr;
}

bool GraphCore::AddPoint() {
    const TPoint press = pixelOf(downpos_);
    const FPOINT c = cc2w(press);
    if (lines_.empty()) {
        // The first line spans the whole window at the pressed height.
        auto line = std::make_unique<Line>();
        line->push_back(std::make_unique<FPOINT>(FPOINT{xzero_, c.y}));
        line->push_back(std::make_unique<FPOINT>(FPOINT{xmax_, c.y}));
        lines_.push_back(std::move(line));
        resetEnumCache();
        axischanged_ = true;
        requestRepaint();
        return true;
    }
    bool added = false;
    const int li = nearline(press.x, press.y);
    if (li >= 0) {
        Line &line = *lines_[li];
        auto at = std::find_if(line.begin(), line.end(),
                               [&](const std::unique_ptr<FPOINT> &p) { return p->x > c.x; });
        // Left of the first point there is no segment to put the point on.
        if (at != line.end() && at != line.begin()) {
            const FPOINT &p = **at;
            const FPOINT &q = **(at - 1);
            const float y = static_cast<float>(q.y + (double(c.x) - q.x) * (double(p.y) - q.y) /
                                                         (double(p.x) - q.x));
            line.insert(at, std::make_unique<FPOINT>(FPOINT{c.x, y}));
            resetEnumCache();
            refreshDragNeighbours();
            axischanged_ = true;
            added = true;
        }
    }
    requestRepaint();
    return added;
}

bool GraphCore::DeletePoint() {
    const TPoint press = pixelOf(downpos_);
    const bool deleted = deletepoint(nearpoint(press.x, press.y));
    requestRepaint();
    return deleted;
}
