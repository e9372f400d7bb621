// Painting checked on images: markers where the transform puts them, line
// colours, bars, ticks, numbers, white text boxes on a coloured sheet and the
// position box. Geometry is checked, not fonts or exact glyphs.
#include "exactnumbers.h"
#include "graphcore.h"
#include "graphfixtures.h"
#include "graphpainter.h"
#include "xygraph.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

using namespace fixtures;

namespace {

const QColor kGrey(160, 160, 160);

// A canvas as the control has it: black pen, white brush, the default font.
struct Canvas {
    QImage image;
    explicit Canvas(QSize size, QColor fill = Qt::white) : image(size, QImage::Format_RGB32) {
        image.fill(fill);
    }
    void paint(const std::function<void(QPainter &)> &draw) {
        QPainter p(&image);
        p.setFont(QGuiApplication::font());
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        draw(p);
    }
    QColor at(int x, int y) const { return image.pixelColor(x, y); }
    bool dark(int x, int y) const { return qGray(image.pixel(x, y)) < 128; }
    // Dark pixels inside a rectangle.
    int ink(const QRect &r) const {
        int n = 0;
        for (int y = std::max(0, r.top()); y <= std::min(image.height() - 1, r.bottom()); ++y)
            for (int x = std::max(0, r.left()); x <= std::min(image.width() - 1, r.right()); ++x)
                n += dark(x, y);
        return n;
    }
};

int lineHeight() {
    return QFontInfo(QGuiApplication::font()).pixelSize();
}

} // namespace

class TestGraphPaint : public QObject {
    Q_OBJECT

private slots:
    void markersAreFourPixelSquaresAtTransform();
    void linesUseColourTableCyclically();
    void barModeDrawsBarsAtMeanHeight();
    void ticksAndNumbersOfHorizontalScale();
    void verticalScaleTicksAndShortAxisNumber();
    void noHorizontalScaleWithoutBottomBorder();
    void textsAndMarkersStandOnWhiteOverColouredSheet();
    void positionBoxAndHighlight();
    void onePointLineDrawsItsMarker();
    void lineToFarPointKeepsItsDirection();
    void pointsAndLinesStayInsideThePlot();
    void overlayUnderThePointsInsideThePlot();
    void overlayInTheSvgCopy();
};

void TestGraphPaint::markersAreFourPixelSquaresAtTransform() {
    GraphCore g;
    standardGeometry(g.map());
    addSingle(g, 50, 50);
    addSingle(g, 25, 75);
    Canvas c(QSize(353, 193));
    c.paint([&](QPainter &p) { graphpaint::PaintPoints(g, p); });
    for (const FPOINT pt : {FPOINT{50, 50}, FPOINT{25, 75}}) {
        const TPoint at = g.map().w2cc(pt);
        // Frame from px - 2 to px + 1, white inside, nothing around.
        for (int d = -2; d <= 1; ++d) {
            QVERIFY(c.dark(at.x + d, at.y - 2));
            QVERIFY(c.dark(at.x + d, at.y + 1));
            QVERIFY(c.dark(at.x - 2, at.y + d));
            QVERIFY(c.dark(at.x + 1, at.y + d));
        }
        QCOMPARE(c.at(at.x, at.y), QColor(Qt::white));
        QCOMPARE(c.at(at.x - 1, at.y - 1), QColor(Qt::white));
        QVERIFY(!c.dark(at.x - 3, at.y));
        QVERIFY(!c.dark(at.x + 2, at.y));
        QVERIFY(!c.dark(at.x, at.y + 2));
    }
    QCOMPARE(c.ink(QRect(0, 0, 353, 193)), 24);
}

void TestGraphPaint::linesUseColourTableCyclically() {
    GraphCore g;
    g.map().setSize(300, 260);
    g.map().setymax(12);
    for (int i = 0; i < 11; ++i) // one horizontal line per row of the table, and one more
        drawLine(g, {{0, float(i + 1)}, {100, float(i + 1)}});
    Canvas c(QSize(300, 260));
    c.paint([&](QPainter &p) { graphpaint::PaintPoints(g, p); });
    for (int i = 0; i < 11; ++i) {
        const TPoint mid = g.map().w2cc({50, float(i + 1)});
        QCOMPARE(c.at(mid.x, mid.y), graphpaint::lineColor(std::size_t(i)));
    }
    QCOMPARE(graphpaint::lineColor(10), QColor(0, 0, 0));
    QCOMPARE(graphpaint::lineColor(2), QColor(0, 128, 0));
    QCOMPARE(graphpaint::lineColor(9), QColor(128, 0, 0));
}

void TestGraphPaint::barModeDrawsBarsAtMeanHeight() {
    GraphCore g;
    standardGeometry(g.map());
    g.map().setxmax(20); // 15.2 pixels per unit
    g.map().setymax(40); // 3.5 pixels per unit
    g.Setbarmode(true);  // entered before the line exists: the step stays whole
    drawLine(g, {{0, 0}, {10, 20}});
    const int axis = g.map().w2cc({0, 0}).y;
    const int top = g.map().w2cc({0, 10}).y;  // the mean height
    const int high = g.map().w2cc({0, 20}).y; // the second point's height
    const int left = g.map().w2cc({0, 0}).x, right = g.map().w2cc({10, 0}).x;

    Canvas bar(QSize(353, 193));
    bar.paint([&](QPainter &p) { graphpaint::PaintPoints(g, p); });
    // One bar from x = 0 to x = 10 at height 10, dropping to the axis at x = 10.
    QCOMPARE(bar.ink(QRect(left + 3, top, right - left - 6, 1)), right - left - 6);
    QCOMPARE(bar.ink(QRect(right, top + 3, 1, axis - top - 6)), axis - top - 6);
    QCOMPARE(bar.ink(QRect(left, top + 3, 1, axis - top - 6)), axis - top - 6);
    QCOMPARE(bar.ink(QRect(left + 3, high, right - left - 6, 1)), 0);

    // Without bar mode the same line is one slope.
    GraphCore plain;
    standardGeometry(plain.map());
    plain.map().setxmax(20);
    plain.map().setymax(40);
    drawLine(plain, {{0, 0}, {10, 20}});
    Canvas slope(QSize(353, 193));
    slope.paint([&](QPainter &p) { graphpaint::PaintPoints(plain, p); });
    QVERIFY(slope.ink(QRect(left + 3, top, right - left - 6, 1)) < 10);

    // Later bars rise from the previous data point: (0,0), (5,10), (10,20).
    plain.Setbarmode(true);
    Canvas bars(QSize(353, 193));
    bars.paint([&](QPainter &p) { graphpaint::PaintPoints(plain, p); });
    const int mid = plain.map().w2cc({5, 0}).x;
    const int firstTop = plain.map().w2cc({0, 5}).y;   // mean of 0 and 10
    const int secondTop = plain.map().w2cc({0, 15}).y; // mean of 10 and 20
    const int point = plain.map().w2cc({0, 10}).y;
    QCOMPARE(bars.ink(QRect(left + 3, firstTop, mid - left - 6, 1)), mid - left - 6);
    QCOMPARE(bars.ink(QRect(mid + 3, secondTop, right - mid - 6, 1)), right - mid - 6);
    QCOMPARE(bars.ink(QRect(mid, secondTop + 1, 1, point - secondTop - 3)), point - secondTop - 3);
    QCOMPARE(bars.ink(QRect(left + 3, high, right - left - 6, 1)), 0);
}

void TestGraphPaint::ticksAndNumbersOfHorizontalScale() {
    GraphCore g;
    standardGeometry(g.map()); // plot 304 pixels wide, 0..100
    g.SetTicks(sscBoth);
    Canvas c(QSize(353, 193));
    c.paint([&](QPainter &p) { graphpaint::PaintAxis(g, sscHorizontal, p, '.'); });
    const int row = 152 + 2; // inside the 4-pixel ticks below the axis
    int ticks = 0;
    for (int x = 0; x < 353; ++x)
        ticks += c.dark(x, row);
    QCOMPARE(ticks, 11);
    for (int t = 0; t <= 100; t += 10)
        QVERIFY(c.dark(g.map().w2cc({float(t), 0}).x, row));
    // The axis itself spans the plot width.
    QCOMPARE(c.ink(QRect(37, 152, 304, 1)), 304);
    // Numbers in one row just below the tick marks: "0" under the origin,
    // "100" under the end's tick, and numbers between them.
    const QRect band(0, 152 + 5, 353, QFontMetrics(QGuiApplication::font()).height());
    QVERIFY(c.ink(QRect(37 - 8, band.top(), 16, band.height())) > 0);
    QVERIFY(c.ink(QRect(341 - 15, band.top(), 30, band.height())) > 0);
    QVERIFY(c.ink(QRect(60, band.top(), 250, band.height())) > 0);
    QCOMPARE(c.ink(QRect(0, band.bottom() + 1, 353, 193 - band.bottom() - 1)), 0);
}

void TestGraphPaint::verticalScaleTicksAndShortAxisNumber() {
    GraphCore g;
    standardGeometry(g.map()); // plot 140 pixels high: 3 per 40, so ticks 0, 20 .. 100
    g.SetTicks(sscBoth);
    Canvas c(QSize(353, 193));
    c.paint([&](QPainter &p) { graphpaint::PaintAxis(g, sscVertical, p, '.'); });
    int ticks = 0;
    for (int y = 0; y < 193; ++y)
        ticks += c.dark(37 - 2, y);
    QCOMPARE(ticks, 6);
    QCOMPARE(c.ink(QRect(37, 12, 1, 141)), 141); // the axis, origin included

    // Too short for ticks: only the lower end's number, at the bottom.
    GraphCore s;
    s.map().setSize(353, 83);
    s.map().setBorders(37, 41, 12, 12); // plot 30 pixels high
    s.SetTicks(sscBoth);
    Canvas sc(QSize(353, 83));
    sc.paint([&](QPainter &p) { graphpaint::PaintAxis(s, sscVertical, p, '.'); });
    const int numberTop = 83 - 41 - lineHeight() / 2;
    QVERIFY(sc.ink(QRect(0, numberTop, 30, QFontMetrics(QGuiApplication::font()).height())) > 0);
    QCOMPARE(sc.ink(QRect(0, 0, 30, numberTop)), 0);
}

void TestGraphPaint::noHorizontalScaleWithoutBottomBorder() {
    GraphCore g;
    standardGeometry(g.map());
    g.map().setBorders(37, 0, 12, 12);
    g.SetTicks(sscBoth);
    g.storeHLabel("Time");
    Canvas c(QSize(353, 193));
    c.paint([&](QPainter &p) { graphpaint::PaintAxis(g, sscHorizontal, p, '.'); });
    QCOMPARE(c.ink(QRect(0, 0, 353, 193)), 0);
}

void TestGraphPaint::textsAndMarkersStandOnWhiteOverColouredSheet() {
    GraphCore g;
    standardGeometry(g.map());
    g.SetTicks(sscBoth);
    g.storeHLabel("Time");
    g.storeVLabel("T");
    addSingle(g, 50, 50);
    Canvas c(QSize(353, 193));
    c.paint([&](QPainter &p) { graphpaint::Paint(g, p, kGrey, QRect(0, 0, 353, 193), '.'); });
    QCOMPARE(c.at(250, 120), kGrey); // the sheet
    const TPoint m = g.map().w2cc({50, 50});
    QCOMPARE(c.at(m.x, m.y), QColor(Qt::white)); // marker inside
    // The horizontal label's box: white cells, some ink, no grey inside.
    const QFontMetrics fm(QGuiApplication::font());
    const int w = fm.horizontalAdvance("Time");
    const QRect label(37 + 152 - w / 2, 193 - 12 - lineHeight() / 2, w, fm.height());
    QCOMPARE(c.at(label.left(), label.top()), QColor(Qt::white));
    QCOMPARE(c.at(label.right(), label.bottom()), QColor(Qt::white));
    QCOMPARE(c.at(label.left() - 1, label.top()), kGrey);
    QVERIFY(c.ink(label) > 0);
    // The position box is white.
    QCOMPARE(c.at(353 - 35, 3), QColor(Qt::white));
}

void TestGraphPaint::positionBoxAndHighlight() {
    GraphCore g;
    standardGeometry(g.map());
    addSingle(g, 50, 50);
    const int boxH = lineHeight() + 4;
    Canvas empty(QSize(353, 193), kGrey);
    empty.paint([&](QPainter &p) { graphpaint::PaintPos(g, p, '.'); });
    QVERIFY(empty.dark(353 - 70, 0));
    QVERIFY(empty.dark(352, boxH - 1));
    QCOMPARE(empty.at(353 - 71, 0), kGrey);
    QCOMPARE(empty.at(353 - 35, boxH), kGrey);
    QCOMPARE(empty.ink(QRect(353 - 68, 1, 66, boxH - 2)), 0); // no readout, no text

    FPOINT zero{0, 0}, value{12.34f, 0.5f};
    g.edit().setReadout(&zero);
    Canvas commaOnly(QSize(353, 193));
    commaOnly.paint([&](QPainter &p) { graphpaint::PaintPos(g, p, '.'); });
    g.edit().setReadout(&value);
    Canvas numbers(QSize(353, 193));
    numbers.paint([&](QPainter &p) { graphpaint::PaintPos(g, p, '.'); });
    const QRect inside(353 - 68, 1, 66, boxH - 2);
    QVERIFY(commaOnly.ink(inside) > 0);
    QVERIFY(numbers.ink(inside) > 2 * commaOnly.ink(inside));

    // Pressed in the plot and moved onto a point: its marker is blanked.
    Canvas marked(QSize(353, 193));
    marked.paint([&](QPainter &p) { graphpaint::PaintPoints(g, p); });
    const TPoint at = g.map().w2cc({50, 50});
    QVERIFY(marked.dark(at.x - 2, at.y - 2));
    g.edit().recordPress(250, 40);
    g.pressDrag(250, 40);
    g.MouseMove(at.x, at.y);
    QVERIFY(g.edit().highlight());
    marked.paint([&](QPainter &p) { graphpaint::PaintPos(g, p, '.'); });
    QCOMPARE(marked.ink(QRect(at.x - 2, at.y - 2, 4, 4)), 0);
}

void TestGraphPaint::onePointLineDrawsItsMarker() {
    GraphCore g;
    standardGeometry(g.map());
    drawLine(g, {{50, 50}, {60, 60}});
    g.deletepoint(g.store().lines()[0]->back().get());
    for (bool bar : {false, true}) {
        g.Setbarmode(bar);
        Canvas c(QSize(353, 193));
        c.paint([&](QPainter &p) { graphpaint::PaintPoints(g, p); });
        QCOMPARE(c.ink(QRect(0, 0, 353, 193)), 12);
    }
}

void TestGraphPaint::lineToFarPointKeepsItsDirection() {
    GraphCore g;
    standardGeometry(g.map());
    drawLine(g, {{0, 0}, {1e9f, 1e9f}}); // the far end billions of pixels away
    Canvas c(QSize(353, 193));
    c.paint([&](QPainter &p) { graphpaint::PaintPoints(g, p); });
    const TPoint mid = g.map().w2cc({50, 50}); // on the plot's diagonal
    QVERIFY(c.ink(QRect(mid.x - 1, mid.y - 1, 3, 3)) > 0);
}

// Lines leaving the window and markers on or beyond its edges draw nothing
// over the scales around the plot, in the picture or in the drag sketch.
void TestGraphPaint::pointsAndLinesStayInsideThePlot() {
    GraphCore g;
    standardGeometry(g.map());
    drawLine(g, {{50, 50}, {200, 150}});
    addSingle(g, 0, 50);
    addSingle(g, 50, -1);
    addSingle(g, 100, 100);
    Canvas c(QSize(353, 193));
    c.paint([&](QPainter &p) { graphpaint::PaintPoints(g, p); });
    const QRect plot(37, 12, 305, 141); // edges included
    QVERIFY(c.ink(plot) > 0);
    QCOMPARE(c.ink(QRect(0, 0, 353, 193)), c.ink(plot));

    const TPoint grab = g.map().w2cc({50, 50});
    g.pressDrag(grab.x, grab.y);
    g.MouseMove(150, 80); // its next neighbour lies beyond the window
    QVERIFY(g.edit().dragging());
    Canvas sketch(QSize(353, 193));
    sketch.paint([&](QPainter &p) { graphpaint::PaintDragFigure(g, p, false); });
    QCOMPARE(sketch.ink(QRect(0, 0, 353, 193)), sketch.ink(plot));
}

namespace {

// A green band (10..50 and on far beyond the window, 20..40 high), a magenta
// one over part of it, a bold dark blue line at 50, a box at 60..80 x 60..80
// and another reaching above the plot; the history at 30.
template <class Graph> void searchPicture(Graph &g) {
    g.setBands({{{10, 50, 1e6f}, {20, 20, 20}, {40, 40, 40}, 0x00a000},
                {{30, 70}, {25, 25}, {35, 35}, 0xff00ff}});
    g.setOverlayLines({{{{0, 50}, {100, 50}}, 0x000080, 3}});
    g.setBoxes({{60, 80, 60, 80}, {20, 30, 90, 140}});
    drawLine(g, {{0, 30}, {100, 30}});
}

bool greenish(QColor c) {
    return c.green() > c.red() + 40 && c.green() > c.blue() + 40;
}

} // namespace

void TestGraphPaint::overlayUnderThePointsInsideThePlot() {
    GraphCore g;
    standardGeometry(g.map());
    searchPicture(g);
    g.selectBox(0);
    Canvas c(QSize(353, 193));
    c.paint([&](QPainter &p) { graphpaint::PaintPoints(g, p); });
    const auto at = [&](float x, float y) {
        const TPoint p = g.map().w2cc({x, y});
        return c.at(p.x, p.y);
    };
    QVERIFY(greenish(at(20, 37)));
    QVERIFY(greenish(at(95, 37))); // the far part of the band, cut to the plot
    QCOMPARE(at(5, 37), QColor(Qt::white));
    QCOMPARE(at(20, 45), QColor(Qt::white));
    // The magenta band over the green one: redder than green alone, and less
    // red than magenta alone on white, so the green shows through.
    const QColor both = at(50, 33), green = at(20, 37);
    QVERIFY(both.red() > green.red() + 20 && both.red() > both.green() && both.red() < 235);
    // The history over the bands, the bold line three pixels across.
    QCOMPARE(at(20, 30), QColor(Qt::black));
    int bold = 0;
    const int column = g.map().w2cc({25, 0}).x;
    for (int y = 0; y < 193; ++y)
        bold += c.at(column, y) == QColor(0, 0, 128);
    QCOMPARE(bold, 3);
    // The boxes: an outline, a light tint inside, handles at the selected
    // one's corners only.
    const TPoint corner = g.map().w2cc({60, 80}), other = g.map().w2cc({20, 90});
    QVERIFY(qGray(c.image.pixel(corner.x, (corner.y + g.map().w2cc({60, 60}).y) / 2)) < 160);
    const QColor tint = at(70, 70);
    QVERIFY(tint != QColor(Qt::white) && tint.blue() > tint.red() && tint.lightness() > 150);
    QVERIFY(c.at(corner.x - 2, corner.y - 2) != QColor(Qt::white));
    QCOMPARE(c.at(other.x - 2, other.y + 2), QColor(Qt::white));
    // Nothing beyond the plot area.
    const QRect plot(37, 12, 305, 141);
    for (int y = 0; y < 193; ++y)
        for (int x = 0; x < 353; ++x)
            if (!plot.contains(x, y))
                QCOMPARE(c.at(x, y), QColor(Qt::white));
}

// The SVG copy (as Save Image and the report draw) holds the bands, seen
// through, and the boxes.
void TestGraphPaint::overlayInTheSvgCopy() {
    Txygraph g;
    g.resize(353, 193);
    g.core().map().setBorders(37, 41, 12, 12);
    searchPicture(g);
    QSvgRenderer renderer(g.svgCopy());
    QVERIFY(renderer.isValid());
    QImage img(353, 193, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        renderer.render(&p, QRectF(0, 0, 353, 193));
    }
    const TPoint band = g.w2cc({20, 37});
    const QColor seen = img.pixelColor(band.x, band.y);
    QVERIFY(seen.alpha() > 30 && seen.alpha() < 200);
    QVERIFY(seen.green() > seen.red() + 40);
    const TPoint box = g.w2cc({70, 70});
    QVERIFY(img.pixelColor(box.x, box.y).alpha() > 0);
    QVERIFY(img.pixelColor(box.x, box.y).blue() > img.pixelColor(box.x, box.y).red());
    const TPoint empty = g.w2cc({5, 90});
    QCOMPARE(img.pixelColor(empty.x, empty.y).alpha(), 0);
}

QTEST_MAIN(TestGraphPaint)
#include "test_graphpaint.moc"
