#pragma once

#include "barsteps.h"
#include "curvegraph.h"
#include "fpoint.h"
#include "pixelclip.h"
#include "sidescale.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// A pixel position in the control's client area.
struct TPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TPoint &, const TPoint &) = default;
};

// What the graph asks of whoever shows it: a later full repaint, the position
// box redrawn now, the sketch of a dragged point, and a cursor shape for the
// zone under the mouse. A core without a view simply skips these.
class GraphView {
public:
    virtual ~GraphView() = default;
    virtual void requestRepaint() = 0;
    virtual void paintPos() = 0;
    // The dragged point with the segments to its neighbours, in white when
    // `erase` is set, else in black.
    virtual void drawDragFigure(bool erase) = 0;
    virtual void showZoneCursor(int zone) = 0;
};

// The whole state of a graph without any widget: the point lists it owns, the
// world window and pixel borders, the pen-plotter operations through which
// hosts fill it, the transforms, axis fitting, hit tests, the mouse editing
// state and the menu's point edits. The graph control paints and routes
// events; everything that can be computed is computed here.
class GraphCore : public CurveGraph {
public:
    using Line = std::vector<std::unique_ptr<FPOINT>>;

    // Zones of the control, the result of winpos.
    enum Zone { zoneNone = 0, zoneHScale = 1, zoneVScale = 2, zonePlot = 3 };

    static constexpr float kBarStep = barsteps::kBarStep;
    // Pixels a drag must cover before an axis end follows it.
    static constexpr int kStretchMinMove = 10;

    GraphCore();
    ~GraphCore() override;
    GraphCore(const GraphCore &) = delete;
    GraphCore &operator=(const GraphCore &) = delete;

    void setView(GraphView *view) { view_ = view; }

    // --- size and world window -------------------------------------------
    void setSize(int width, int height) {
        width_ = width;
        height_ = height;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

    float getxzero() const { return xzero_; }
    float getyzero() const { return yzero_; }
    float getxmax() const { return xmax_; }
    float getymax() const { return ymax_; }
    void setxzero(float v) { xzero_ = v; }
    void setyzero(float v) { yzero_ = v; }
    void setxmax(float v) { xmax_ = v; }
    void setymax(float v) { ymax_ = v; }

    // --- borders, scales and labels ----------------------------------------
    int leftborder() const { return leftborder_; }
    int bottomborder() const { return bottomborder_; }
    int topborder() const { return topborder_; }
    int rightborder() const { return rightborder_; }
    void setBorders(int left, int bottom, int top, int right);
    int plotWidth() const { return width_ - leftborder_ - rightborder_; }
    int plotHeight() const { return height_ - bottomborder_ - topborder_; }

    TSideScale FSideScales() const;
    void SetSideScales(TSideScale value); // borders only; the control repaints
    TSideScale FTicks() const { return ticks_; }
    void SetTicks(TSideScale value) { ticks_ = value; }
    TSideScale FAutoAxis() const { return autoaxis_; }
    void SetAutoAxis(TSideScale value) { autoaxis_ = value; }

    // Labels are UTF-8; the control measures them and calls calcborders.
    const std::string &FHLabel() const { return hlabel_; }
    const std::string &FVLabel() const { return vlabel_; }
    void storeHLabel(std::string text) { hlabel_ = std::move(text); }
    void storeVLabel(std::string text) { vlabel_ = std::move(text); }
    // Borders from the label metrics: the text height of the horizontal label
    // and the widest single character of the vertical one (0 when empty).
    void calcborders(int hLabelHeight, int vLabelWidestChar);

    // --- transforms ---------------------------------------------------------
    TPoint w2cc(FPOINT p) const;
    FPOINT cc2w(TPoint q) const;
    // World to pixels before truncation; w2cc is this truncated toward zero.
    PixelF w2pixel(FPOINT p) const;

    // --- what painting draws ------------------------------------------------
    // Pixels around the control beyond which painting draws nothing.
    static constexpr int kPaintMargin = 64;
    // The control, and so the plot rectangle with its borders, grown by the
    // margin: lines and markers reaching into the borders are drawn whole.
    PixelBox paintBox() const;
    struct PixelSegment {
        TPoint from, to;
    };
    // The part of the segment from a to b inside paintBox, cut in unrounded
    // pixels and only then truncated, so it keeps its direction however far an
    // end lies; nothing when no part of it is inside.
    std::optional<PixelSegment> segmentPixels(FPOINT a, FPOINT b) const;
    // The marker pixel of a point, or nothing when it lies beyond paintBox.
    std::optional<TPoint> markerPixel(FPOINT p) const;

    // --- points in and out ---------------------------------------------------
    void PenUp() override;
    void PenDown() override;
    void MoveTo(float x, float y) override;
    void Clear() override;
    int EnumPoints(int cursor, float *x, float *y) const override;
    int EnumLines(int j, int *first) const;
    bool deletepoint(FPOINT *p);
    bool Fpointschanged() {
        const bool was = pointschanged_;
        pointschanged_ = false;
        return was;
    }
    void Setpointschanged(bool v) { pointschanged_ = v; }
    bool axisChanged() const { return axischanged_; }
    void setAxisChanged(bool v) { axischanged_ = v; }

    const Line &points() const { return points_; }
    const std::vector<std::unique_ptr<Line>> &lines() const { return lines_; }
    std::size_t pointCount() const;

    // --- axes -----------------------------------------------------------------
    void calcaxis();
    // The guard every painting starts with: refit the axes once after points
    // changed, and report that to the host through PointsChanged.
    void axisGuard();

    // --- bar mode ---------------------------------------------------------------
    bool Fbarmode() const { return barmode_; }
    // Subdivides every line the first time bar mode is entered (whatever `v`);
    // throws tarvel::Error, changing nothing, when a line would grow too long.
    void Setbarmode(bool v);

    // --- hit tests ----------------------------------------------------------------
    int winpos(int x, int y) const;
    FPOINT *nearpoint(int x, int y) const;
    FPOINT *nearpoint(const FPOINT *p, bool before) const;
    int nearline(int x, int y) const; // index into lines(), or -1

    // --- mouse editing (host events are the control's job) -----------------
    void recordPress(int x, int y) { downpos_ = {float(x), float(y)}; }
    void pressDrag(int x, int y); // left or middle button
    void MouseMove(int x, int y);
    // Ends a press; true when it ended a drag that left a point elsewhere.
    bool release(int x, int y);
    void Click() { topborder_ = 10; }

    int dragmode() const { return dragmode_; }
    FPOINT downpos() const { return downpos_; }
    bool dragging() const { return dragging_; }
    FPOINT *dragpoint() const { return dragpoint_; }
    FPOINT *dragprev() const { return dragprev_; }
    FPOINT *dragnext() const { return dragnext_; }
    const FPOINT *readout() const { return readout_; }
    bool highlight() const { return highlight_; }
    void setReadout(const FPOINT *p) { readout_ = p; }

    // --- the menu's point edits, at the last press position ------------------
    // Each is true when it changed the points.
    bool AddPoint();    // "Add Point"
    bool DeletePoint(); // "Delete Point"
    bool addPointEnabled() const;
    bool deletePointEnabled() const;

private:
    void requestRepaint() {
        if (view_)
            view_->requestRepaint();
    }
    void paintPos() {
        if (view_)
            view_->paintPos();
    }
    void forget(const FPOINT *p);
    void refreshDragNeighbours();
    FPOINT dragTarget(int x, int y) const;
    template <class Visit> void forEachPoint(Visit visit) const;

    GraphView *view_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    float xzero_ = 0.0f, yzero_ = 0.0f, xmax_ = 100.0f, ymax_ = 100.0f;
    int bottomborder_ = 0, leftborder_ = 0, topborder_ = 0, rightborder_ = 0;
    TSideScale ticks_ = sscNone;
    TSideScale autoaxis_ = sscNone;
    std::string hlabel_, vlabel_;
    bool barmode_ = false;

    Line points_;
    std::vector<std::unique_ptr<Line>> lines_;
    bool penup_ = true;
    bool linestarted_ = false;
    Line *openLine_ = nullptr; // the line MoveTo extends while the pen is down
    FPOINT penpos_;
    bool axischanged_ = false;
    bool pointschanged_ = false;

    int dragmode_ = 0;
    FPOINT downpos_;
    bool dragging_ = false;
    FPOINT *dragpoint_ = nullptr;
    FPOINT *dragprev_ = nullptr;
    FPOINT *dragnext_ = nullptr;
    FPOINT dragsaved_;
    const FPOINT *readout_ = nullptr;
    FPOINT cursorpoint_;
    bool highlight_ = false;

    // Where the last enumeration stopped, so that walking all points is linear
    // however many lines there are. Reset by every structural change.
    mutable std::size_t enumLine_ = 0;
    mutable std::size_t enumLineStart_ = 0;
    void resetEnumCache() const {
        enumLine_ = 0;
        enumLineStart_ = 0;
    }
};

// Template body shared by the hit tests and axis fitting: the single points in
// order, then every line's points in order.
template <class Visit> void GraphCore::forEachPoint(Visit visit) const {
    for (const auto &p : points_)
        visit(p.get());
    for (const auto &line : lines_)
        for (const auto &p : *line)
            visit(p.get());
}
