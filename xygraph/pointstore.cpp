#include "pointstore.h"

#include "barsteps.h"

#include <algorithm>
#include <limits>

PointStore::PointStore() = default;
PointStore::~PointStore() = default;

void PointStore::changed() {
    ++version_;
    enumLine_ = 0;
    enumLineStart_ = 0;
}

// --- the pen plotter -------------------------------------------------------------

void PointStore::PenUp() {
    added_ = !penup_ && !linestarted_;
    if (added_) {
        // Single points come before the lines when enumerating.
        if (!lines_.empty())
            changed();
        points_.push_back(std::make_unique<FPOINT>(penpos_));
        ++count_;
    }
    penup_ = true;
}

void PointStore::PenDown() {
    linestarted_ = false;
    penup_ = false;
}

void PointStore::MoveTo(float x, float y) {
    added_ = !penup_;
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
        looks_.push_back(look_);
        linestarted_ = true;
        ++count_;
    }
    // The open line is always the last one, so this appends to the enumeration.
    openLine_->push_back(std::make_unique<FPOINT>(FPOINT{x, y}));
    ++count_;
}

void PointStore::Clear() {
    points_.clear();
    lines_.clear();
    looks_.clear();
    look_ = {};
    openLine_ = nullptr;
    count_ = 0;
    changed();
}

// --- states by value ----------------------------------------------------------------

bool PointStore::Shape::operator==(const Shape &other) const {
    const auto same = [](const std::vector<FPOINT> &a, const std::vector<FPOINT> &b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](FPOINT p, FPOINT q) { return p.x == q.x && p.y == q.y; });
    };
    return same(singles, other.singles) &&
           std::equal(lines.begin(), lines.end(), other.lines.begin(), other.lines.end(), same);
}

PointStore::Shape PointStore::shape() const {
    Shape result;
    result.singles.reserve(points_.size());
    for (const auto &p : points_)
        result.singles.push_back(*p);
    result.lines.reserve(lines_.size());
    for (const auto &line : lines_) {
        auto &copy = result.lines.emplace_back();
        copy.reserve(line->size());
        for (const auto &p : *line)
            copy.push_back(*p);
    }
    return result;
}

void PointStore::setShape(const Shape &shape) {
    Clear();
    penup_ = true;
    for (FPOINT p : shape.singles)
        points_.push_back(std::make_unique<FPOINT>(p));
    count_ = points_.size();
    for (const auto &points : shape.lines) {
        if (points.empty())
            continue;
        auto line = std::make_unique<Line>();
        for (FPOINT p : points)
            line->push_back(std::make_unique<FPOINT>(p));
        count_ += line->size();
        lines_.push_back(std::move(line));
        looks_.push_back(look_);
    }
}

// --- reading ----------------------------------------------------------------------

int PointStore::EnumPoints(int cursor, float *x, float *y) const {
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

int PointStore::EnumLines(int j, int * /*first*/) const {
    if (j < 0 || static_cast<std::size_t>(j) >= lines_.size())
        return 0;
    const std::size_t s = points_.size();
    return s + lines_[j]->size() > static_cast<std::size_t>(j) ? static_cast<int>(s) : 0;
}

bool PointStore::holds(const FPOINT *p) const {
    bool found = false;
    forEachPoint([&](const FPOINT *q) { found = found || q == p; });
    return p != nullptr && found;
}

FPOINT *PointStore::neighbour(const FPOINT *p, bool before) const {
    for (const auto &line : lines_) {
        for (std::size_t i = 0; i < line->size(); ++i) {
            if ((*line)[i].get() != p)
                continue;
            if (before)
                return i > 0 ? (*line)[i - 1].get() : nullptr;
            return i + 1 < line->size() ? (*line)[i + 1].get() : nullptr;
        }
    }
    return nullptr;
}

// --- editing ---------------------------------------------------------------------------

bool PointStore::deletepoint(FPOINT *p) {
    if (p == nullptr)
        return false;
    auto holdsP = [p](const std::unique_ptr<FPOINT> &q) { return q.get() == p; };
    if (auto it = std::find_if(points_.begin(), points_.end(), holdsP); it != points_.end()) {
        points_.erase(it);
        --count_;
        changed();
        return true;
    }
    for (auto li = lines_.begin(); li != lines_.end(); ++li) {
        Line &line = **li;
        auto it = std::find_if(line.begin(), line.end(), holdsP);
        if (it == line.end())
            continue;
        line.erase(it);
        if (line.empty()) { // an emptied line has nothing left to draw or hit
            if (openLine_ == &line)
                openLine_ = nullptr;
            looks_.erase(looks_.begin() + (li - lines_.begin()));
            lines_.erase(li);
        }
        --count_;
        changed();
        return true;
    }
    return false;
}

void PointStore::movePoint(FPOINT *p, FPOINT to) {
    *p = to;
    changed();
}

void PointStore::appendLine(FPOINT a, FPOINT b) {
    auto line = std::make_unique<Line>();
    line->push_back(std::make_unique<FPOINT>(a));
    line->push_back(std::make_unique<FPOINT>(b));
    lines_.push_back(std::move(line));
    looks_.push_back(look_);
    count_ += 2;
    changed();
}

void PointStore::insertPoint(std::size_t line, std::size_t at, FPOINT p) {
    Line &l = *lines_.at(line);
    l.insert(l.begin() + static_cast<std::ptrdiff_t>(at), std::make_unique<FPOINT>(p));
    ++count_;
    changed();
}

void PointStore::subdivide(float step) {
    // Work out every insertion first, into one list so the point limit holds
    // for the whole graph, and so that a refused graph changes nothing.
    std::vector<FPOINT> inserted;
    std::vector<std::size_t> gapEnds; // inserted.size() after each gap, line by line
    for (const auto &line : lines_)
        for (std::size_t i = 1; i < line->size(); ++i) {
            barsteps::appendSteps(*(*line)[i - 1], *(*line)[i], step, inserted);
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
    count_ += inserted.size();
    changed();
}
