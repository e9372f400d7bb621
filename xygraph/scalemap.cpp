#include "scalemap.h"

#include <algorithm>

// --- borders -----------------------------------------------------------------

void ScaleMap::setBorders(int left, int bottom, int top, int right) {
    leftborder_ = left;
    bottomborder_ = bottom;
    topborder_ = top;
    rightborder_ = right;
}

int ScaleMap::leftborder() const {
    if (!leftRule_ || leftborder_ == 0)
        return leftborder_;
    const RuleAnswer &a = ruleAnswer_ ? *ruleAnswer_ : RuleAnswer{};
    if (!ruleAnswer_ || a.width != width_ || a.height != height_ || a.bottom != bottomborder_ ||
        a.top != topborder_ || a.right != rightborder_ || a.yzero != yzero_ || a.ymax != ymax_)
        ruleAnswer_ = RuleAnswer{width_,       height_, bottomborder_, topborder_,
                                 rightborder_, yzero_,  ymax_,         leftRule_(*this)};
    return ruleAnswer_->left;
}

void ScaleMap::setLeftBorderRule(BorderRule rule) {
    leftRule_ = std::move(rule);
    ruleAnswer_.reset();
}

TSideScale ScaleMap::FSideScales() const {
    if (leftborder_ == 0 && bottomborder_ == 0)
        return sscNone;
    if (leftborder_ != 0 && bottomborder_ != 0)
        return sscBoth;
    return leftborder_ != 0 ? sscVertical : sscHorizontal;
}

void ScaleMap::SetSideScales(TSideScale value) {
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

void ScaleMap::calcborders(int hLabelHeight, int vLabelWidestChar, TSideScale ticks) {
    bottomborder_ = hLabelHeight + 2 * topborder_ + (includesHorizontal(ticks) ? 4 : 0);
    leftborder_ = vLabelWidestChar + 2 * rightborder_ + (includesVertical(ticks) ? 4 : 0);
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

PixelF ScaleMap::w2pixel(FPOINT p) const {
    const long double w = plotWidth();
    const long double h = plotHeight();
    const long double px = leftborder() + ratio(w * (static_cast<long double>(p.x) - xzero_),
                                                static_cast<long double>(xmax_) - xzero_);
    const long double py =
        topborder_ + h * (1.0L - ratio(static_cast<long double>(p.y) - yzero_,
                                       static_cast<long double>(ymax_) - yzero_));
    return {px, py};
}

TPoint ScaleMap::w2cc(FPOINT p) const {
    return truncated(w2pixel(p));
}

FPOINT ScaleMap::cc2w(TPoint q) const {
    const long double x = ratio(static_cast<long double>(q.x - leftborder()) *
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

PixelBox ScaleMap::paintBox() const {
    return {-kPaintMargin, -kPaintMargin, static_cast<long double>(width_) + kPaintMargin,
            static_cast<long double>(height_) + kPaintMargin};
}

std::optional<ScaleMap::PixelSegment> ScaleMap::segmentPixels(FPOINT a, FPOINT b) const {
    PixelF from = w2pixel(a), to = w2pixel(b);
    if (!clipSegment(from, to, paintBox()))
        return std::nullopt;
    return PixelSegment{truncated(from), truncated(to)};
}

std::optional<TPoint> ScaleMap::markerPixel(FPOINT p) const {
    const PixelF at = w2pixel(p);
    if (!paintBox().contains(at))
        return std::nullopt;
    return truncated(at);
}

std::vector<TPoint> ScaleMap::polygonPixels(const std::vector<FPOINT> &corners) const {
    std::vector<PixelF> pixels;
    pixels.reserve(corners.size());
    for (const FPOINT &c : corners)
        pixels.push_back(w2pixel(c));
    std::vector<TPoint> out;
    for (const PixelF &p : clipPolygon(pixels, paintBox()))
        out.push_back(truncated(p));
    return out;
}

std::optional<ScaleMap::PixelRect> ScaleMap::rectPixels(float x0, float x1, float y0,
                                                        float y1) const {
    const PixelF a = w2pixel({x0, y1}), b = w2pixel({x1, y0});
    const PixelBox box = paintBox();
    const PixelF topLeft{std::max(a.x, box.left), std::max(a.y, box.top)};
    const PixelF bottomRight{std::min(b.x, box.right), std::min(b.y, box.bottom)};
    if (!(topLeft.x <= bottomRight.x) || !(topLeft.y <= bottomRight.y))
        return std::nullopt;
    return PixelRect{truncated(topLeft), truncated(bottomRight)};
}

int ScaleMap::winpos(int x, int y) const {
    if (leftborder() - 4 < x && x < width_ - rightborder_) {
        if (topborder_ < y && y < height_ - bottomborder_ - 4)
            return zonePlot;
        if (y > height_ - bottomborder_)
            return zoneHScale;
    }
    if (x < leftborder() && topborder_ < y && y < height_ - bottomborder_)
        return zoneVScale;
    return zoneNone;
}
