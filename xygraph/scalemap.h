#pragma once

#include "fpoint.h"
#include "pixelclip.h"
#include "sidescale.h"

#include <functional>
#include <optional>
#include <vector>

// A pixel position in the control's client area.
struct TPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TPoint &, const TPoint &) = default;
};

// World to pixels and back: the control's size, the world window shown in the
// plot area, and the four borders around it that hold the scales.
class ScaleMap {
public:
    // Zones of the control, the result of winpos.
    enum Zone { zoneNone = 0, zoneHScale = 1, zoneVScale = 2, zonePlot = 3 };

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

    // --- borders ------------------------------------------------------------
    // The left border: the stored one, or where a rule is set and the map has
    // a vertical scale, what the rule asks for the map as it is now.
    int leftborder() const;
    int bottomborder() const { return bottomborder_; }
    int topborder() const { return topborder_; }
    int rightborder() const { return rightborder_; }
    void setBorders(int left, int bottom, int top, int right);
    int plotWidth() const { return width_ - leftborder() - rightborder_; }
    int plotHeight() const { return height_ - bottomborder_ - topborder_; }

    TSideScale FSideScales() const;
    void SetSideScales(TSideScale value);
    // Borders from the label metrics: the text height of the horizontal label
    // and the widest single character of the vertical one (0 when empty), with
    // room for tick marks on the sides that have them.
    void calcborders(int hLabelHeight, int vLabelWidestChar, TSideScale ticks);
    // A left border that follows what the vertical scale must hold (its title
    // and its widest number, which change with the window and the size). The
    // rule reads the map but never its left border or plot width; its answer
    // is kept until the size, the other borders or the vertical range change.
    using BorderRule = std::function<int(const ScaleMap &)>;
    void setLeftBorderRule(BorderRule rule);

    // --- transforms ---------------------------------------------------------
    TPoint w2cc(FPOINT p) const;
    FPOINT cc2w(TPoint q) const;
    // World to pixels before truncation; w2cc is this truncated toward zero.
    PixelF w2pixel(FPOINT p) const;
    int winpos(int x, int y) const;

    // --- what painting draws ------------------------------------------------
    // Pixels around the control beyond which painting draws nothing.
    static constexpr int kPaintMargin = 64;
    // The control grown by the margin: segments are cut to it before they are
    // drawn, far ends and all; the painter then clips them to the plot area.
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
    // The part of a filled polygon inside paintBox, cut in unrounded pixels
    // and then truncated; empty when none of it is inside.
    std::vector<TPoint> polygonPixels(const std::vector<FPOINT> &corners) const;
    struct PixelRect {
        TPoint topLeft, bottomRight;
    };
    // The world rectangle x0..x1 by y0..y1 cut to paintBox, or nothing when
    // none of it is inside.
    std::optional<PixelRect> rectPixels(float x0, float x1, float y0, float y1) const;

private:
    int width_ = 0;
    int height_ = 0;
    float xzero_ = 0.0f, yzero_ = 0.0f, xmax_ = 100.0f, ymax_ = 100.0f;
    int bottomborder_ = 0, leftborder_ = 0, topborder_ = 0, rightborder_ = 0;
    BorderRule leftRule_;
    // The rule's last answer and what it was given.
    struct RuleAnswer {
        int width = -1, height = -1, bottom = -1, top = -1, right = -1;
        float yzero = 0.0f, ymax = 0.0f;
        int left = 0;
    };
    mutable std::optional<RuleAnswer> ruleAnswer_;
};
