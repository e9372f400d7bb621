#pragma once

#include "axisfitter.h"
#include "barsteps.h"
#include "boxtool.h"
#include "curvegraph.h"
#include "edittool.h"
#include "graphoverlay.h"
#include "pointstore.h"
#include "scalelayout.h"
#include "scalemap.h"
#include "sidescale.h"

#include <optional>
#include <string>
#include <vector>

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
    // In box mode over the plot: what a press would do there.
    virtual void showBoxCursor(BoxCursor) {}
};

// A graph without any widget: its points, its scale map, its axis fitter and
// its mouse editing tool, and the scale settings painting reads. It carries out
// what involves several of them: a pen stroke or an edit makes the axes due for
// a refit, and every repaint the graph asks for settles them first, so that
// painting only reads.
class GraphCore : public CurveGraph {
public:
    static constexpr float kBarStep = barsteps::kBarStep;

    void setView(GraphView *view) { view_ = view; }

    PointStore &store() { return store_; }
    const PointStore &store() const { return store_; }
    ScaleMap &map() { return map_; }
    const ScaleMap &map() const { return map_; }
    AxisFitter &fitter() { return fitter_; }
    const AxisFitter &fitter() const { return fitter_; }
    EditTool &edit() { return edit_; }
    const EditTool &edit() const { return edit_; }
    const GraphOverlay &overlay() const { return overlay_; }
    const BoxTool &boxTool() const { return boxTool_; }

    // --- scale settings -----------------------------------------------------
    TSideScale FTicks() const { return ticks_; }
    void SetTicks(TSideScale value) {
        ticks_ = value;
        updateBorderRule();
    }
    // Labels are UTF-8; the control measures them and calls calcborders.
    const std::string &FHLabel() const { return hlabel_; }
    const std::string &FVLabel() const { return vlabel_; }
    void storeHLabel(std::string text) { hlabel_ = std::move(text); }
    void storeVLabel(std::string text) {
        vlabel_ = std::move(text);
        updateBorderRule();
    }
    // The metrics of the font the scales are written in. Once given, the left
    // border follows the vertical scale: its title's columns and its widest
    // number at the current range and size (scalelayout::leftBorder).
    void setScaleMetrics(scalelayout::Metrics metrics, char decimalSeparator);
    void calcborders(int hLabelHeight, int vLabelWidestChar) {
        map_.calcborders(hLabelHeight, vLabelWidestChar, ticks_);
    }
    // When set, the horizontal numbers and the position box read the time
    // before this present (present minus x); the points keep their x.
    const std::optional<double> &timeBeforePresent() const { return present_; }
    void setTimeBeforePresent(std::optional<double> present) { present_ = present; }
    bool Fbarmode() const { return barmode_; }
    // Subdivides every line the first time bar mode is entered (whatever `v`);
    // throws tarvel::Error, changing nothing, when a line would grow too long.
    void Setbarmode(bool v);

    // --- points in and out ---------------------------------------------------
    void PenUp() override;
    void PenDown() override { store_.PenDown(); }
    void SetLineLook(const LineLook &look) override { store_.SetLineLook(look); }
    void MoveTo(float x, float y) override;
    void Clear() override;
    // Every point replaced by those of `shape` (an undo or redo).
    void restoreShape(const PointStore::Shape &shape);
    int EnumPoints(int cursor, float *x, float *y) const override {
        return store_.EnumPoints(cursor, x, y);
    }
    bool deletepoint(FPOINT *p);

    // --- what the graph shows besides its points ------------------------------
    // Each setter throws tarvel::Error for bad values, changing nothing (see
    // GraphOverlay), and asks for a repaint. None is a user edit.
    void setBands(std::vector<OverlayBand> bands);
    void setOverlayLines(std::vector<OverlayLine> lines);
    // Ends a box drag still running; the selection stays while its index
    // names a box.
    void setBoxes(std::vector<OverlayBox> boxes);
    // -1, or any index that names no box, selects none.
    void selectBox(int index);
    // In box mode a left press in the plot works on the boxes (BoxTool), not
    // the points; the scales stretch as ever. Leaving it cancels a box drag.
    bool boxMode() const { return boxMode_; }
    void setBoxMode(bool on);
    // Removes the selected box; false when none is selected or a box is being
    // dragged.
    bool deleteSelectedBox();

    // --- axes -----------------------------------------------------------------
    // Refits the axes if points changed since the last refit.
    void settleAxes() { fitter_.settle(store_, map_); }
    // Settles the axes, then asks for a whole repaint.
    void invalidate();
    // After a curve arrived: grows the axes that do not hold every point and
    // all of the overlay (AxisFitter::growToFit) and repaints when they changed.
    bool growToFit();
    // "Fit to Data": both axes to the points and the overlay (boxes may lie
    // outside the window), as AxisFitter::fitToData.
    bool fitToData();
    // The mouse wheel: both axes scaled by `factor` about the world value
    // under the pixel (below 1 zooms in), which stays under it.
    void zoomAt(int x, int y, double factor);
    // The middle button: the window shifted so the picture follows the mouse
    // by (dx, dy) pixels.
    void panBy(int dx, int dy);

    // --- mouse editing (host events are the control's job) -----------------
    // A left press: on the boxes in box mode within the plot, else on the
    // points and scales.
    void pressDrag(int x, int y);
    void MouseMove(int x, int y);
    struct Released {
        bool pointsMoved = false; // a dragged point was left elsewhere
        bool boxesEdited = false; // the boxes differ from those at the press
    };
    // Ends a press.
    Released release(int x, int y);
    // A right press in box mode selects the box under it, so the menu's
    // "Delete Box" names the box pressed; true when the selection changed.
    bool menuPress(int x, int y);
    void Click();

    // --- the menu's point edits, at the last press position ------------------
    // Each is true when it changed the points.
    bool AddPoint();    // "Add Point"
    bool DeletePoint(); // "Delete Point"

private:
    void paintPos() {
        if (view_)
            view_->paintPos();
    }
    void drawDragFigure(bool erase) {
        if (view_)
            view_->drawDragFigure(erase);
    }
    // After points were added or moved.
    void pointsAdded();
    void updateBorderRule();

    GraphView *view_ = nullptr;
    PointStore store_;
    ScaleMap map_;
    AxisFitter fitter_;
    EditTool edit_;
    GraphOverlay overlay_;
    BoxTool boxTool_;
    bool boxMode_ = false;
    TSideScale ticks_ = sscNone;
    std::string hlabel_, vlabel_;
    std::optional<scalelayout::Metrics> metrics_;
    char decimalSeparator_ = '.';
    std::optional<double> present_;
    bool barmode_ = false;
};
