#include "graphpainter.h"

#include "graphtext.h"
#include "scalelayout.h"

#include <QFontMetrics>
#include <QPainter>

#include <cstdlib>

namespace graphpaint {

namespace {

// Restores the painter's brush when a routine ends, however it ends.
class BrushKeeper {
public:
    explicit BrushKeeper(QPainter &p) : painter_(p), brush_(p.brush()) {}
    ~BrushKeeper() { painter_.setBrush(brush_); }
    BrushKeeper(const BrushKeeper &) = delete;
    BrushKeeper &operator=(const BrushKeeper &) = delete;

private:
    QPainter &painter_;
    QBrush brush_;
};

QPoint qpoint(TPoint p) {
    return {p.x, p.y};
}

// A 4 x 4 pixel square around the point's pixel, framed with the pen and
// filled with the brush.
void marker(QPainter &p, TPoint at) {
    p.drawRect(QRect(at.x - 2, at.y - 2, 3, 3));
}

// The marker of a point, skipped when the point lies far outside the control.
void marker(QPainter &p, const ScaleMap &map, FPOINT at) {
    if (const auto pixel = map.markerPixel(at))
        marker(p, *pixel);
}

// The visible part of the line between two points, cut before it is rounded to
// whole pixels so that it keeps its direction.
void segment(QPainter &p, const ScaleMap &map, FPOINT from, FPOINT to) {
    if (const auto s = map.segmentPixels(from, to))
        p.drawLine(qpoint(s->from), qpoint(s->to));
}

// Points and lines stay inside the plot area, its edge lines included: they
// never cover the scales or the titles around it.
class PlotClip {
public:
    PlotClip(QPainter &painter, const ScaleMap &map) : painter_(painter) {
        painter_.save();
        const QRect plot(map.leftborder(), map.topborder(), map.plotWidth() + 1,
                         map.plotHeight() + 1);
        painter_.setClipRect(plot, painter_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    ~PlotClip() { painter_.restore(); }
    PlotClip(const PlotClip &) = delete;
    PlotClip &operator=(const PlotClip &) = delete;

private:
    QPainter &painter_;
};

// Bands let what lies under them show through: about a third of their colour.
constexpr int kBandAlpha = 90;
// Boxes: a dark outline and a light tint, so a reader sees them on any band;
// the selected one stronger, with a handle at each corner.
const QColor kBoxLine(50, 70, 120);
const QColor kBoxFill(90, 120, 190, 40);
const QColor kSelectedLine(0, 90, 220);
const QColor kSelectedFill(0, 90, 220, 60);
constexpr int kHandleSize = 5;

QColor rgbColor(std::uint32_t rgb, int alpha = 255) {
    QColor c = QColor::fromRgb(QRgb(rgb));
    c.setAlpha(alpha);
    return c;
}

// Each band's area: along its lower line, then back along its upper one.
void paintBands(QPainter &painter, const GraphCore &graph) {
    const ScaleMap &map = graph.map();
    painter.setPen(Qt::NoPen);
    for (const OverlayBand &band : graph.overlay().bands()) {
        const std::size_t n = band.x.size();
        if (n < 2)
            continue;
        std::vector<FPOINT> corners;
        corners.reserve(2 * n);
        for (std::size_t i = 0; i < n; ++i)
            corners.push_back({band.x[i], band.lower[i]});
        for (std::size_t i = n; i-- > 0;)
            corners.push_back({band.x[i], band.upper[i]});
        const std::vector<TPoint> pixels = map.polygonPixels(corners);
        if (pixels.size() < 3)
            continue;
        QPolygon polygon;
        polygon.reserve(int(pixels.size()));
        for (const TPoint &p : pixels)
            polygon << qpoint(p);
        painter.setBrush(rgbColor(band.rgb, kBandAlpha));
        painter.drawPolygon(polygon, Qt::WindingFill);
    }
}

void paintBoxes(QPainter &painter, const GraphCore &graph) {
    const ScaleMap &map = graph.map();
    const auto &boxes = graph.overlay().boxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const OverlayBox &b = boxes[i];
        const auto r = map.rectPixels(b.x0, b.x1, b.y0, b.y1);
        if (!r)
            continue;
        const bool selected = int(i) == graph.overlay().selected();
        const QRect outline(qpoint(r->topLeft), QSize(r->bottomRight.x - r->topLeft.x,
                                                      r->bottomRight.y - r->topLeft.y));
        painter.fillRect(outline.adjusted(0, 0, 1, 1), selected ? kSelectedFill : kBoxFill);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(selected ? kSelectedLine : kBoxLine, selected ? 2 : 1));
        painter.drawRect(outline);
        if (!selected)
            continue;
        // The corners of the world box, where a press resizes it, even when
        // they lie outside the plot.
        for (const FPOINT corner :
             {FPOINT{b.x0, b.y0}, FPOINT{b.x0, b.y1}, FPOINT{b.x1, b.y0}, FPOINT{b.x1, b.y1}})
            if (const auto at = map.markerPixel(corner))
                painter.fillRect(QRect(at->x - kHandleSize / 2, at->y - kHandleSize / 2,
                                       kHandleSize, kHandleSize),
                                 kSelectedLine);
    }
}

void paintOverlayLines(QPainter &painter, const GraphCore &graph) {
    const ScaleMap &map = graph.map();
    for (const OverlayLine &line : graph.overlay().lines()) {
        // Round caps join the segments, which are drawn one by one.
        painter.setPen(
            QPen(rgbColor(line.rgb), line.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (std::size_t k = 1; k < line.points.size(); ++k)
            segment(painter, map, line.points[k - 1], line.points[k]);
    }
}

// Bands first, then boxes, then lines: the boxes stay readable over the
// bands, and the best line over both.
void paintOverlay(QPainter &painter, const GraphCore &graph) {
    painter.save();
    paintBands(painter, graph);
    paintBoxes(painter, graph);
    paintOverlayLines(painter, graph);
    painter.restore();
}

QRect rectOf(const scalelayout::Box &b) {
    return {b.x, b.y, b.width, b.height};
}

void textAt(QPainter &painter, const scalelayout::Text &t) {
    textOut(painter, t.box.x, t.box.y, QString::fromStdString(t.text));
}

} // namespace

QColor lineColor(std::size_t index) {
    static const QColor table[10] = {
        QColor(0, 0, 0),     QColor(0, 0, 255),   QColor(0, 128, 0),   QColor(255, 0, 0),
        QColor(255, 255, 0), QColor(128, 0, 128), QColor(128, 128, 0), QColor(0, 128, 128),
        QColor(0, 255, 0),   QColor(128, 0, 0),
    };
    return table[index % 10];
}

int fontHeightValue(const QPainter &painter) {
    return -painter.fontInfo().pixelSize();
}

int widestCharacter(const QFontMetrics &metrics, const QString &text) {
    int widest = 0;
    for (char32_t c : text.toUcs4())
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromUcs4(&c, 1)));
    return widest;
}

scalelayout::Metrics scaleMetrics(const QFontMetrics &fm, int h) {
    scalelayout::Metrics metrics;
    metrics.width = [fm](const std::string &text) {
        return fm.horizontalAdvance(QString::fromStdString(text));
    };
    metrics.height = fm.height();
    metrics.lineheight = h < 0 ? -h : 2 * h / 3;
    return metrics;
}

QRect posBoxRect(int width, int fontHeightValue) {
    return {width - kPosBoxWidth, 0, kPosBoxWidth, std::abs(fontHeightValue) + 4};
}

void textOut(QPainter &painter, int x, int y, const QString &text) {
    const QFontMetrics fm = painter.fontMetrics();
    if (painter.brush().style() != Qt::NoBrush)
        painter.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), painter.brush());
    painter.drawText(x, y + fm.ascent(), text);
}

void Paint(const GraphCore &graph, QPainter &painter, const QColor &sheetColor, const QRect &clip,
           char decimalSeparator) {
    BrushKeeper keep(painter);
    painter.fillRect(clip, sheetColor);
    // Texts and markers always stand on white, whatever the sheet colour.
    painter.setBrush(Qt::white);
    PaintAxis(graph, sscBoth, painter, decimalSeparator);
    PaintPoints(graph, painter);
    PaintPos(graph, painter, decimalSeparator);
}

void PaintAxis(const GraphCore &graph, TSideScale side, QPainter &painter, char decimalSeparator) {
    const ScaleMap &map = graph.map();
    const int h = fontHeightValue(painter);
    const QFontMetrics fm = painter.fontMetrics();
    const scalelayout::Metrics metrics = scaleMetrics(fm, h);
    const QRect pos = posBoxRect(map.Width(), h);
    const scalelayout::Box posBox{pos.x(), pos.y(), pos.width(), pos.height()};
    BrushKeeper keep(painter);
    painter.setBrush(Qt::white);

    const float x0 = map.getxzero(), y0 = map.getyzero();
    const TPoint origin = map.w2cc({x0, y0});
    std::vector<scalelayout::Box> bottomNumbers;

    if (includesHorizontal(side) && map.bottomborder() != 0) {
        const auto scale = scalelayout::horizontalScale(
            map, graph.FHLabel(), includesHorizontal(graph.FTicks()), metrics, decimalSeparator,
            posBox, graph.timeBeforePresent());
        for (const auto &t : scale.title)
            textAt(painter, t);
        painter.drawLine(qpoint(origin), qpoint(map.w2cc({map.getxmax(), y0})));
        for (int x : scale.tickAt)
            painter.drawLine(QPoint(x, origin.y), QPoint(x, origin.y + scalelayout::kTickLength));
        for (const auto &t : scale.numbers) {
            textAt(painter, t);
            bottomNumbers.push_back(t.box);
        }
    }

    if (includesVertical(side) && map.leftborder() != 0) {
        const auto scale =
            scalelayout::verticalScale(map, graph.FVLabel(), includesVertical(graph.FTicks()),
                                       metrics, decimalSeparator, posBox, bottomNumbers);
        // All boxes first, so that a character's white box does not cut into
        // the one above.
        for (const auto &t : scale.title)
            painter.fillRect(rectOf(t.box), painter.brush());
        for (const auto &t : scale.title)
            painter.drawText(t.box.x, t.box.y + fm.ascent(), QString::fromStdString(t.text));
        painter.drawLine(qpoint(map.w2cc({x0, map.getymax()})), qpoint(origin));
        for (int y : scale.tickAt)
            painter.drawLine(QPoint(origin.x, y), QPoint(origin.x - scalelayout::kTickLength, y));
        for (const auto &t : scale.numbers)
            textAt(painter, t);
    }
}

void PaintPoints(const GraphCore &graph, QPainter &painter) {
    const ScaleMap &map = graph.map();
    BrushKeeper keep(painter);
    PlotClip clip(painter, map);
    paintOverlay(painter, graph);
    painter.setBrush(Qt::white);

    for (const auto &p : graph.store().points())
        marker(painter, map, *p);

    const float y0 = map.getyzero();
    const auto &lines = graph.store().lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const PointStore::Line &line = *lines[i];
        if (line.empty())
            continue;
        const LineLook &look = graph.store().lineLook(i);
        const QPen oldPen = painter.pen();
        QPen pen = oldPen;
        pen.setColor(look.rgb ? QColor::fromRgb(QRgb(*look.rgb)) : lineColor(i));
        painter.setPen(pen);
        const FPOINT &first = *line.front();
        if (!graph.Fbarmode()) {
            if (look.markers)
                marker(painter, map, first);
            for (std::size_t k = 1; k < line.size(); ++k) {
                segment(painter, map, *line[k - 1], *line[k]);
                if (look.markers)
                    marker(painter, map, *line[k]);
            }
        } else {
            marker(painter, map, first);
            // Each bar spans two neighbours at their mean height; the first
            // rises from the axis, later ones from the previous data point.
            FPOINT base{first.x, y0};
            float h = first.y;
            for (std::size_t k = 1; k < line.size(); ++k) {
                const FPOINT &q = *line[k - 1];
                const FPOINT &p = *line[k];
                h = (h + p.y) / 2.0f;
                const FPOINT topLeft{q.x, h}, topRight{p.x, h}, foot{p.x, y0};
                segment(painter, map, base, topLeft);
                segment(painter, map, topLeft, topRight);
                segment(painter, map, topRight, foot);
                marker(painter, map, p);
                h = p.y;
                base = p;
            }
        }
        painter.setPen(oldPen);
    }
}

void PaintPos(const GraphCore &graph, QPainter &painter, char decimalSeparator) {
    const ScaleMap &map = graph.map();
    BrushKeeper keep(painter);
    painter.setBrush(Qt::white);
    const QRect box = posBoxRect(map.Width(), fontHeightValue(painter));
    painter.fillRect(box, Qt::white);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (const FPOINT *r = graph.edit().readout()) {
        const std::optional<double> &present = graph.timeBeforePresent();
        const float x = present ? static_cast<float>(*present - r->x) : r->x;
        const std::string text = graphtext::readoutText(x, decimalSeparator) + " , " +
                                 graphtext::readoutText(r->y, decimalSeparator);
        textOut(painter, map.Width() - kPosBoxWidth + 2, 1, QString::fromStdString(text));
        if (graph.edit().highlight())
            if (const auto at = map.markerPixel(*r))
                painter.fillRect(QRect(at->x - 2, at->y - 2, 4, 4), Qt::white);
    }
}

void PaintDragFigure(const GraphCore &graph, QPainter &painter, bool erase) {
    const ScaleMap &map = graph.map();
    const FPOINT *p = graph.edit().dragpoint();
    if (p == nullptr)
        return;
    PlotClip clip(painter, map);
    const QPen oldPen = painter.pen();
    QPen pen = oldPen;
    pen.setColor(erase ? Qt::white : Qt::black);
    painter.setPen(pen);
    if (const FPOINT *prev = graph.edit().dragprev())
        segment(painter, map, *prev, *p);
    marker(painter, map, *p);
    if (const FPOINT *next = graph.edit().dragnext())
        segment(painter, map, *p, *next);
    painter.setPen(oldPen);
}

} // namespace graphpaint
