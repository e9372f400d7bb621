#pragma once

#include "curvegraph.h"
#include "fpoint.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The points a graph owns: single points and lines, filled like a pen plotter
// and read back in enumeration order (the single points, then every line's
// points). Points are held by pointer, so edits keep a point's identity.
class PointStore : public CurveGraph {
public:
    using Line = std::vector<std::unique_ptr<FPOINT>>;

    PointStore();
    ~PointStore() override;
    PointStore(const PointStore &) = delete;
    PointStore &operator=(const PointStore &) = delete;

    // --- the pen plotter -----------------------------------------------------
    void PenUp() override;
    void PenDown() override;
    void MoveTo(float x, float y) override;
    void Clear() override; // the look goes back to the default too
    void SetLineLook(const LineLook &look) override { look_ = look; }
    // The look line `index` was drawn with.
    const LineLook &lineLook(std::size_t index) const { return looks_[index]; }
    // True when the last PenUp or MoveTo added a point.
    bool added() const { return added_; }

    // --- reading ---------------------------------------------------------------
    int EnumPoints(int cursor, float *x, float *y) const override;
    int EnumLines(int j, int *first) const;
    const Line &points() const { return points_; }
    const std::vector<std::unique_ptr<Line>> &lines() const { return lines_; }
    std::size_t pointCount() const { return count_; }
    bool holds(const FPOINT *p) const;
    // The neighbour of p in its line (before or after it); none for a single
    // point, a line end or a point the store does not hold.
    FPOINT *neighbour(const FPOINT *p, bool before) const;
    // The single points in order, then every line's points in order.
    template <class Visit> void forEachPoint(Visit visit) const;

    // --- states by value -------------------------------------------------------------
    // Everything the store holds, copied: the single points and every line.
    struct Shape {
        std::vector<FPOINT> singles;
        std::vector<std::vector<FPOINT>> lines;
        bool operator==(const Shape &other) const;
    };
    Shape shape() const;
    // Replaces every point with those of `shape` (new points: pointers into
    // the store are gone) and lifts the pen.
    void setShape(const Shape &shape);

    // --- editing -------------------------------------------------------------------
    // Removes p from the single points, or else from the first line holding it;
    // a line left empty goes with it. False when p is in no list.
    bool deletepoint(FPOINT *p);
    void movePoint(FPOINT *p, FPOINT to);
    void appendLine(FPOINT a, FPOINT b);
    void insertPoint(std::size_t line, std::size_t at, FPOINT p);
    // Splits every step of every line wider than `step` (bar mode). Throws
    // tarvel::Error, changing nothing, when the graph would grow too large.
    void subdivide(float step);

    // Counts every change except points appended at the end of the
    // enumeration order, so a reader can extend what it derived from them.
    std::uint64_t version() const { return version_; }

private:
    void changed();

    Line points_;
    std::vector<std::unique_ptr<Line>> lines_;
    std::vector<LineLook> looks_; // one for each of lines_
    LineLook look_;               // for lines started from now on
    std::size_t count_ = 0;
    bool penup_ = true;
    bool linestarted_ = false;
    bool added_ = false;
    Line *openLine_ = nullptr; // the line MoveTo extends while the pen is down
    FPOINT penpos_;
    std::uint64_t version_ = 0;

    // Where the last enumeration stopped, so that walking all points is linear
    // however many lines there are. Reset by every change but an append.
    mutable std::size_t enumLine_ = 0;
    mutable std::size_t enumLineStart_ = 0;
};

template <class Visit> void PointStore::forEachPoint(Visit visit) const {
    for (const auto &p : points_)
        visit(p.get());
    for (const auto &line : lines_)
        for (const auto &p : *line)
            visit(p.get());
}
