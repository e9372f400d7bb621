#include "graphcore.h"

#include "barsteps.h"
#include "niceval.h"

#include <algorithm>
#include <limits>

GraphCore::GraphCore() = default;
GraphCore::~GraphCore() = default;

// --- borders -----------------------------------------------------------------

void GraphCore::setBorders(int left, int bottom, int top, int right) {
    leftborder_ = left;
    bottomborder_ = bottom;
    topborder_ = top;
    rightborder_ = right;
}

TSideScale GraphCore::FSideScales() const {
    if (leftborder_ == 0 && bottomborder_ == 0)
        return sscNone;
    if (leftborder_ != 0 && bottomborder_ != 0)
        return sscBoth;
    return leftborder_ != 0 ? sscVertical : sscHorizontal;
}

void GraphCore::SetSideScales(TSideScale value) {
    // A border already computed from a label is kept; 12 is the spacing unit.
    const bool horizontal = includesHorizontal(value);
    const bool vertical = includesVertical(value);
    if (horizontal) {
        if (bottomborder_ == 0)
            bottomborder_ = 12;
    } else {
        bottomborder_ = 0;
    }
    if (vertical) {
        if (leftborder_ == 0)
            leftborder_ = 12;
    } else {
        leftborder_ = 0;
    }
    topborder_ = horizontal ? 12 : 0;
    rightborder_ = vertical ? 12 : 0;
}

void GraphCore::calcborders(int hLabelHeight, int vLabelWidestChar) {
    bottomborder_ = hLabelHeight + 2 * topborder_ + (includesHorizontal(ticks_) ? 4 : 0);
    leftborder_ = vLabelWidestChar + 2 * rightborder_ + (includesVertical(ticks_) ? 4 : 0);
}

// --- transforms ----------------------------------------------------------------

namespace {

// num / den, or 0 where the window or plot has no extent.
long double ratio(long double num, long double den) {
    return den == 0.0L ? 0.0L : num / den;
}

TPoint truncated(PixelF p) {
    return {truncatePixel(p.x), truncatePixel(p.y)};
}

} // namespace

PixelF GraphCore::w2pixel(FPOINT p) const {
    const long double w = plotWidth();
    const long double h = plotHeight();
    const long double px = leftborder_ + ratio(w * (static_cast<long double>(p.x) - xzero_),
                                               static_cast<long double>(xmax_) - xzero_);
    const long double py =
        topborder_ + h * (1.0L - ratio(static_cast<long double>(p.y) - yzero_,
                                       static_cast<long double>(ymax_) - yzero_));
    return {px, py};
}

TPoint GraphCore::w2cc(FPOINT p) const {
    return truncated(w2pixel(p));
}

FPOINT GraphCore::cc2w(TPoint q) const {
    const long double x = ratio(static_cast<long double>(q.x - leftborder_) *
                                    (static_cast<long double>(xmax_) - xzero_),
                                plotWidth()) +
                          xzero_;
    const long double y = ratio(static_cast<long double>(height_ - q.y - bottomborder_) *
                                    (static_cast<long double>(ymax_) - yzero_),
                                plotHeight()) +
                          yzero_;
    return {static_cast<float>(x), static_cast<float>(y)};
}

// --- what painting draws ------------------------------------------------------------

PixelBox GraphCore::paintBox() const {
    return {-kPaintMargin, -kPaintMargin, static_cast<long double>(width_) + kPaintMargin,
            static_cast<long double>(height_) + kPaintMargin};
}

std::optional<GraphCore::PixelSegment> GraphCore::segmentPixels(FPOINT a, FPOINT b) const {
    PixelF from = w2pixel(a), to = w2pixel(b);
    if (!clipSegment(from, to, paintBox()))
        return std::nullopt;
    return PixelSegment{truncated(from), truncated(to)};
}

std::optional<TPoint> GraphCore::markerPixel(FPOINT p) const {
    const PixelF at = w2pixel(p);
    if (!paintBox().contains(at))
        return std::nullopt;
    return truncated(at);
}

// --- the pen plotter -------------------------------------------------------------

void GraphCore::PenUp() {
    if (!penup_ && !linestarted_) {
        points_.push_back(std::make_unique<FPOINT>(penpos_));
        resetEnumCache();
        axischanged_ = true;
        requestRepaint();
    }
    penup_ = true;
}

void GraphCore::PenDown() {
    linestarted_ = false;
    penup_ = false;
}

void GraphCore::MoveTo(float x, float y) {
    if (penup_) {
        penpos_ = {x, y};
        return;
    }
    // A line removed since it was opened (Clear, deleting its last point) is
    // not extended; the stroke goes on in a new line from the pen position.
    if (!linestarted_ || openLine_ == nullptr) {
        auto line = std::make_unique<Line>();
        line->push_back(std::make_unique<FPOINT>(penpos_));
        openLine_ = line.get();
        lines_.push_back(std::move(line));
        linestarted_ = true;
    }
    openLine_->push_back(std::make_unique<FPOINT>(FPOINT{x, y}));
    resetEnumCache();
    axischanged_ = true;
    requestRepaint();
}

void GraphCore::Clear() {
    points_.clear();
    lines_.clear();
    openLine_ = nullptr;
    resetEnumCache();
    // Nothing the mouse holds may outlive its point.
    dragging_ = false;
    dragpoint_ = dragprev_ = dragnext_ = nullptr;
    if (readout_ != &cursorpoint_)
        readout_ = nullptr;
}

std::size_t GraphCore::pointCount() const {
    std::size_t n = points_.size();
    for (const auto &line : lines_)
        n += line->size();
    return n;
}

int GraphCore::EnumPoints(int cursor, float *x, float *y) const {
    if (cursor < 0)
        return 0;
    const std::size_t k = static_cast<std::size_t>(cursor);
    const FPOINT *found = nullptr;
    if (k < points_.size()) {
        found = points_[k].get();
    } else {
        const std::size_t r = k - points_.size();
        std::size_t li = 0, start = 0;
        if (enumLine_ < lines_.size() && r >= enumLineStart_) {
            li = enumLine_;
            start = enumLineStart_;
        }
        for (; li < lines_.size(); ++li) {
            const std::size_t n = lines_[li]->size();
            if (r < start + n) {
                found = (*lines_[li])[r - start].get();
                enumLine_ = li;
                enumLineStart_ = start;
                break;
            }
            start += n;
        }
    }
    if (found == nullptr || cursor == std::numeric_limits<int>::max())
        return 0;
    *x = found->x;
    *y = found->y;
    return cursor + 1;
}

int GraphCore::EnumLines(int j, int * /*first*/) const {
    if (j < 0 || static_cast<std::size_t>(j) >= lines_.size())
        return 0;
    const std::size_t s = points_.size();
    return s + lines_[j]->size() > static_cast<std::size_t>(j) ? static_cast<int>(s) : 0;
}

bool GraphCore::deletepoint(FPOINT *p) {
    if (p == nullptr)
        return false;
    auto holds = [p](const std::unique_ptr<FPOINT> &q) { return q.get() == p; };
    if (auto it = std::find_if(points_.begin(), points_.end(), holds); it != points_.end()) {
        forget(p);
        points_.erase(it);
        resetEnumCache();
        return true;
    }
    for (auto li = lines_.begin(); li != lines_.end(); ++li) {
        Line &line = **li;
        auto it = std::find_if(line.begin(), line.end(), holds);
        if (it == line.end())
            continue;
        forget(p);
        line.erase(it);
        if (line.empty()) { // an emptied line has nothing left to draw or hit
            if (openLine_ == &line)
                openLine_ = nullptr;
            lines_.erase(li);
        }
        resetEnumCache();
        refreshDragNeighbours();
        return true;
    }
    return false;
}

void GraphCore::forget(const FPOINT *p) {
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

void GraphCore::refreshDragNeighbours() {
    if (dragging_ && dragpoint_ != nullptr) {
        dragprev_ = nearpoint(dragpoint_, true);
        dragnext_ = nearpoint(dragpoint_, false);
    }
}

// --- axes ------------------------------------------------------------------------------

void GraphCore::calcaxis() {
    float mx = xzero_, px = xzero_;
    float my = yzero_, py = yzero_;
    forEachPoint([&](const FPOINT *p) {
        if (p->x > mx) {
            px = mx;
            mx = p->x;
        }
        if (p->y > my) {
            py = my;
            my = p->y;
        }
    });
    if (includesHorizontal(autoaxis_))
        xmax_ = static_cast<float>(graphmath::niceval(mx, 2.0f * mx - px, false));
    if (includesVertical(autoaxis_))
        ymax_ = static_cast<float>(graphmath::niceval(my, 2.0f * my - py, false));
    if (xmax_ == xzero_)
        xmax_ = xzero_ + 1.0f;
    if (ymax_ == yzero_)
        ymax_ = yzero_ + 1.0f;
}

void GraphCore::axisGuard() {
    if (axischanged_) {
        calcaxis();
        axischanged_ = false;
        pointschanged_ = true;
    }
}

// --- bar mode ------------------------------------------------------------------------------

void GraphCore::Setbarmode(bool v) {
    if (!barmode_) {
        // Work out every insertion first, into one list so the point limit
        // holds for the whole graph, and so that a refused graph changes nothing.
        std::vector<FPOINT> inserted;
        std::vector<std::size_t> gapEnds; // inserted.size() after each gap, line by line
        for (const auto &line : lines_)
            for (std::size_t i = 1; i < line->size(); ++i) {
                barsteps::appendSteps(*(*line)[i - 1], *(*line)[i], kBarStep, inserted);
                gapEnds.push_back(inserted.size());
            }
        std::size_t next = 0, gap = 0;
        for (auto &line : lines_) {
            Line stepped;
            stepped.reserve(line->size());
            for (std::size_t i = 0; i < line->size(); ++i) {
                if (i > 0)
                    for (const std::size_t end = gapEnds[gap++]; next < end; ++next)
                        stepped.push_back(std::make_unique<FPOINT>(inserted[next]));
                stepped.push_back(std::move((*line)[i]));
            }
            *line = std::move(stepped);
        }
        resetEnumCache();
        refreshDragNeighbours();
    }
    barmode_ = v;
    requestRepaint();
}
