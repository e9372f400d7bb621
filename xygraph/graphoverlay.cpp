#include "graphoverlay.h"

#include "errors.h"
#include "numbertext.h"

#include <cmath>
#include <string>

namespace {

std::string number(float v) {
    return tarvel::formatGeneral(v, 6, tarvel::localeDecimalSeparator());
}

// "band 2" for the item at index 1: messages count from 1 as a reader does.
std::string nth(const char *what, std::size_t index) {
    return std::string(what) + " " + std::to_string(index + 1);
}

void requireFinite(float v, const std::string &where) {
    if (!std::isfinite(v))
        throw tarvel::Error("The graph cannot show " + where + ": it holds a value that is not " +
                            "a finite number (" + number(v) + ").");
}

void checkBand(const OverlayBand &b, std::size_t index) {
    const std::string where = nth("band", index);
    if (b.lower.size() != b.x.size() || b.upper.size() != b.x.size())
        throw tarvel::Error(
            "The graph cannot show " + where + ": it has " + std::to_string(b.x.size()) +
            " x values, " + std::to_string(b.lower.size()) + " lower and " +
            std::to_string(b.upper.size()) + " upper values; each x needs one of both.");
    for (std::size_t i = 0; i < b.x.size(); ++i) {
        requireFinite(b.x[i], where);
        requireFinite(b.lower[i], where);
        requireFinite(b.upper[i], where);
    }
}

void checkLine(const OverlayLine &l, std::size_t index) {
    const std::string where = nth("line", index);
    if (l.width < 1)
        throw tarvel::Error("The graph cannot show " + where + ": its width (" +
                            std::to_string(l.width) + ") must be at least 1 pixel.");
    for (const FPOINT &p : l.points) {
        requireFinite(p.x, where);
        requireFinite(p.y, where);
    }
}

void checkBox(const OverlayBox &b, std::size_t index) {
    const std::string where = nth("box", index);
    for (float v : {b.x0, b.x1, b.y0, b.y1})
        requireFinite(v, where);
    if (b.x0 > b.x1)
        throw tarvel::Error("The graph cannot show " + where + ": its x runs from " + number(b.x0) +
                            " back to " + number(b.x1) +
                            "; the lower end must not lie above the upper end.");
    if (b.y0 > b.y1)
        throw tarvel::Error("The graph cannot show " + where + ": its y runs from " + number(b.y0) +
                            " back to " + number(b.y1) +
                            "; the lower end must not lie above the upper end.");
}

} // namespace

void GraphOverlay::setBands(std::vector<OverlayBand> bands) {
    for (std::size_t i = 0; i < bands.size(); ++i)
        checkBand(bands[i], i);
    bands_ = std::move(bands);
}

void GraphOverlay::setLines(std::vector<OverlayLine> lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        checkLine(lines[i], i);
    lines_ = std::move(lines);
}

void GraphOverlay::setBoxes(std::vector<OverlayBox> boxes) {
    for (std::size_t i = 0; i < boxes.size(); ++i)
        checkBox(boxes[i], i);
    boxes_ = std::move(boxes);
    select(selected_);
}

void GraphOverlay::select(int index) {
    selected_ = index >= 0 && std::size_t(index) < boxes_.size() ? index : -1;
}

int GraphOverlay::addBox(OverlayBox box) {
    boxes_.push_back(box);
    return int(boxes_.size()) - 1;
}

void GraphOverlay::removeBox(std::size_t index) {
    if (index >= boxes_.size())
        return;
    boxes_.erase(boxes_.begin() + std::ptrdiff_t(index));
    if (selected_ == int(index))
        selected_ = -1;
    else if (selected_ > int(index))
        --selected_;
}

std::optional<WorldExtent> GraphOverlay::extent() const {
    std::optional<WorldExtent> e;
    const auto add = [&e](float x, float y) { e = unite(e, WorldExtent::of({x, y})); };
    for (const OverlayBand &b : bands_)
        for (std::size_t i = 0; i < b.x.size(); ++i) {
            add(b.x[i], b.lower[i]);
            add(b.x[i], b.upper[i]);
        }
    for (const OverlayLine &l : lines_)
        for (const FPOINT &p : l.points)
            add(p.x, p.y);
    for (const OverlayBox &b : boxes_) {
        add(b.x0, b.y0);
        add(b.x1, b.y1);
    }
    return e;
}
