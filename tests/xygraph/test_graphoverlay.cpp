// What a graph overlays, without a display: the checks its setters make, the
// fit that holds it, and the box tool's decisions (the zone under a pixel,
// moving, resizing, drawing, clicking, snapping, clamping).
#include "errors.h"
#include "exactnumbers.h"
#include "graphcore.h"
#include "graphfixtures.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace fixtures;

Q_DECLARE_METATYPE(BoxZone)
Q_DECLARE_METATYPE(BoxCursor)

namespace {

// In the standard geometry (0..100 on 304 x 140 pixels from (37, 12)) the box
// 20..60 x 20..60 covers pixels 97.8..219.4 across and 68..124 down.
const OverlayBox kBox{20, 60, 20, 60};

void drag(GraphCore &g, QPoint from, QPoint to) {
    g.edit().recordPress(from.x(), from.y());
    g.pressDrag(from.x(), from.y());
    g.MouseMove((from.x() + to.x()) / 2, (from.y() + to.y()) / 2);
    g.MouseMove(to.x(), to.y());
}

// A box's size in pixels.
double pixelWidth(const GraphCore &g, const OverlayBox &b) {
    return b.width() * g.map().plotWidth() / (g.map().getxmax() - g.map().getxzero());
}
double pixelHeight(const GraphCore &g, const OverlayBox &b) {
    return b.height() * g.map().plotHeight() / (g.map().getymax() - g.map().getyzero());
}

} // namespace

class TestGraphOverlay : public QObject {
    Q_OBJECT

private slots:
    void settersRefuseBadValuesAndChangeNothing();
    void fitToDataHoldsTheOverlay();
    void zoneUnderAPixel_data();
    void zoneUnderAPixel();
    void pressDragRelease_data();
    void pressDragRelease();
    void boxesNeverInvertShrinkOrGetLost();
    void unfinishedDragsLeaveNoTrace();
};

void TestGraphOverlay::settersRefuseBadValuesAndChangeNothing() {
    GraphOverlay o;
    o.setBoxes({kBox, {0, 0, 5, 5}}); // a box without width is a bound at one time
    o.select(1);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, o.setBoxes({kBox, {30, 10, 0, 5}}));
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, o.setBoxes({{0, 1, nan, 5}}));
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, o.setBands({{{0, 1, 2}, {0, 1}, {5, 5, 5}, 0}}));
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, o.setLines({{{{0, 0}, {1, 1}}, 0, 0}}));
    QCOMPARE(o.boxes().size(), std::size_t(2));
    QCOMPARE(o.selected(), 1);
    QVERIFY(o.bands().empty() && o.lines().empty());
    o.setBoxes({kBox}); // the selection named a box that went
    QCOMPARE(o.selected(), -1);
}

// "Fit to Data" shows the boxes and bands with the points; growing after a
// curve arrived holds them too.
void TestGraphOverlay::fitToDataHoldsTheOverlay() {
    GraphCore g;
    standardGeometry(g.map());
    drawLine(g, {{0, 20}, {50, 80}});
    g.setBoxes({{40, 130, 10, 30}});
    g.setBands({{{0, 50}, {-15, 0}, {30, 90}, 0x00a000}});
    QVERIFY(g.fitToData());
    QVERIFY(g.map().getxmax() >= 130 && g.map().getxmax() <= 200);
    QVERIFY(g.map().getyzero() <= -15 && g.map().getyzero() > -30);
    GraphCore grown;
    standardGeometry(grown.map());
    grown.setOverlayLines({{{{0, 0}, {250, 50}}, 0, 3}});
    QVERIFY(grown.growToFit());
    QVERIFY(grown.map().getxmax() >= 250);
}

void TestGraphOverlay::zoneUnderAPixel_data() {
    QTest::addColumn<int>("selected");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<int>("box");
    QTest::addColumn<BoxZone>("zone");
    QTest::addColumn<BoxCursor>("cursor");
    // Box 0 is kBox; box 1, 59..61 x 50..54 (6 by 5.6 pixels), lies on top of
    // its right edge.
    QTest::newRow("inside") << -1 << QPoint(130, 100) << 0 << BoxZone::inside << BoxCursor::move;
    QTest::newRow("on the left edge")
        << -1 << QPoint(98, 100) << 0 << BoxZone::edge << BoxCursor::sizeHorizontal;
    QTest::newRow("beyond reach") << -1 << QPoint(91, 100) << -1 << BoxZone::outside
                                  << BoxCursor::draw;
    QTest::newRow("near the top edge")
        << -1 << QPoint(130, 70) << 0 << BoxZone::edge << BoxCursor::sizeVertical;
    QTest::newRow("top left corner")
        << -1 << QPoint(99, 67) << 0 << BoxZone::corner << BoxCursor::sizeFall;
    QTest::newRow("bottom left corner")
        << -1 << QPoint(97, 123) << 0 << BoxZone::corner << BoxCursor::sizeRise;
    QTest::newRow("empty plot") << -1 << QPoint(300, 30) << -1 << BoxZone::outside
                                << BoxCursor::draw;
    QTest::newRow("the small box on top: its middle moves it")
        << -1 << QPoint(219, 79) << 1 << BoxZone::inside << BoxCursor::move;
    QTest::newRow("the small box's edge")
        << -1 << QPoint(217, 79) << 1 << BoxZone::edge << BoxCursor::sizeHorizontal;
    QTest::newRow("the selected box's edge beats the box on top")
        << 0 << QPoint(219, 79) << 0 << BoxZone::edge << BoxCursor::sizeHorizontal;
}

void TestGraphOverlay::zoneUnderAPixel() {
    QFETCH(int, selected);
    QFETCH(QPoint, pixel);
    QFETCH(int, box);
    QFETCH(BoxZone, zone);
    QFETCH(BoxCursor, cursor);
    ScaleMap map;
    standardGeometry(map);
    GraphOverlay o;
    o.setBoxes({kBox, {59, 61, 50, 54}});
    o.select(selected);
    const BoxHit hit = BoxTool::hitTest(o, map, pixel.x(), pixel.y());
    QCOMPARE(hit.box, box);
    QCOMPARE(hit.zone(), zone);
    QCOMPARE(BoxTool::cursorFor(hit), cursor);
}

void TestGraphOverlay::pressDragRelease_data() {
    QTest::addColumn<int>("selectedBefore");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<QRectF>("after"); // the selected box after: x0, y0, x1 - x0, y1 - y0
    // 3.04 pixels per unit across, 1.4 down; values snap to the roundest
    // within 2 pixels. 30 pixels across are 9.87 units, 14 down are 10.
    QTest::newRow("a drag inside moves the box, snapped, its size kept")
        << -1 << QPoint(130, 100) << QPoint(160, 86) << true << 0 << QRectF(30, 30, 40, 40);
    QTest::newRow("the left edge resizes")
        << -1 << QPoint(98, 100) << QPoint(128, 100) << true << 0 << QRectF(30, 20, 30, 40);
    QTest::newRow("the top right corner resizes both ways")
        << -1 << QPoint(219, 68) << QPoint(249, 40) << true << 0 << QRectF(20, 20, 50, 60);
    QTest::newRow("a drag on empty plot draws a box from the press to the release")
        << -1 << QPoint(250, 40) << QPoint(280, 26) << true << 1 << QRectF(70, 80, 10, 10);
    QTest::newRow("drawn the other way round, the same box")
        << -1 << QPoint(280, 26) << QPoint(250, 40) << true << 1 << QRectF(70, 80, 10, 10);
    QTest::newRow("a box drawn past the plot ends at its edges")
        << -1 << QPoint(250, 40) << QPoint(420, -30) << true << 1 << QRectF(70, 80, 30, 20);
    QTest::newRow("a short drag on empty plot makes no box and selects none")
        << 0 << QPoint(250, 40) << QPoint(252, 42) << false << -1 << QRectF();
    QTest::newRow("a click on a box selects it and moves nothing")
        << -1 << QPoint(130, 100) << QPoint(131, 101) << false << 0 << QRectF(20, 20, 40, 40);
    QTest::newRow("a click on an edge snaps nothing")
        << -1 << QPoint(98, 100) << QPoint(98, 100) << false << 0 << QRectF(20, 20, 40, 40);
}

void TestGraphOverlay::pressDragRelease() {
    QFETCH(int, selectedBefore);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(bool, edited);
    QFETCH(int, selectedAfter);
    QFETCH(QRectF, after);
    GraphCore g;
    standardGeometry(g.map());
    g.setBoxMode(true);
    g.setBoxes({kBox});
    g.selectBox(selectedBefore);
    drag(g, press, release);
    QCOMPARE(g.release(release.x(), release.y()).boxesEdited, edited);
    QCOMPARE(g.overlay().selected(), selectedAfter);
    QCOMPARE(g.overlay().boxes().size(), std::size_t(selectedAfter == 1 ? 2 : 1));
    if (selectedAfter < 0)
        return;
    const OverlayBox &b = g.overlay().boxes()[std::size_t(selectedAfter)];
    QCOMPARE(QRectF(b.x0, b.y0, b.width(), b.height()), after);
    if (selectedAfter == 1) // another box was drawn; the first stayed
        QCOMPARE(g.overlay().boxes()[0], kBox);
}

// However far the mouse goes, a resized or drawn box keeps a few pixels each
// way with its ends in order, and a moved box keeps a part inside the plot
// that a press can take again.
void TestGraphOverlay::boxesNeverInvertShrinkOrGetLost() {
    const QPoint far[] = {{900, 100}, {-600, 100}, {130, 900}, {130, -600}, {900, -600}};
    const QPoint grips[] = {{98, 100}, {219, 100}, {130, 68}, {130, 124}, {98, 124}, {219, 68}};
    for (const QPoint grip : grips) {
        for (const QPoint to : far) {
            GraphCore g;
            standardGeometry(g.map());
            g.setBoxMode(true);
            g.setBoxes({kBox});
            drag(g, grip, to);
            g.release(to.x(), to.y());
            const OverlayBox b = g.overlay().boxes()[0];
            QVERIFY(pixelWidth(g, b) >= 3 && pixelHeight(g, b) >= 3);
        }
    }
    for (const QPoint to : far) {
        GraphCore g;
        standardGeometry(g.map());
        g.setBoxMode(true);
        g.setBoxes({kBox});
        drag(g, {130, 100}, to);
        g.release(to.x(), to.y());
        const OverlayBox b = g.overlay().boxes()[0];
        QCOMPARE(b.width(), kBox.width());
        QCOMPARE(b.height(), kBox.height());
        // The middle of what shows of it takes it again.
        const TPoint lo = g.map().w2cc({std::max(b.x0, 0.0f), std::max(b.y0, 0.0f)});
        const TPoint hi = g.map().w2cc({std::min(b.x1, 100.0f), std::min(b.y1, 100.0f)});
        const int x = (lo.x + hi.x) / 2, y = (lo.y + hi.y) / 2;
        QCOMPARE(g.map().winpos(x, y), int(ScaleMap::zonePlot));
        QCOMPARE(BoxTool::hitTest(g.overlay(), g.map(), x, y).box, 0);
    }
    // A drag along one axis draws a box that is a few pixels high.
    GraphCore flat;
    standardGeometry(flat.map());
    flat.setBoxMode(true);
    drag(flat, {150, 60}, {250, 60});
    flat.release(250, 60);
    QCOMPARE(flat.overlay().boxes().size(), std::size_t(1));
    QVERIFY(pixelHeight(flat, flat.overlay().boxes()[0]) >= 3);
}

// A drag cut short (box mode left, the boxes replaced by the host) leaves the
// boxes as they were or as the host set them, and the next release edits
// nothing; points are never touched by the box tool.
void TestGraphOverlay::unfinishedDragsLeaveNoTrace() {
    GraphCore g;
    standardGeometry(g.map());
    drawLine(g, {{0, 40}, {50, 40}, {100, 40}});
    g.setBoxMode(true);
    g.setBoxes({kBox});
    drag(g, {130, 100}, {200, 50});
    QVERIFY(!(g.overlay().boxes()[0] == kBox));
    g.setBoxMode(false);
    QCOMPARE(g.overlay().boxes()[0], kBox);
    QVERIFY(!g.release(200, 50).boxesEdited);

    g.setBoxMode(true);
    drag(g, {250, 40}, {280, 26}); // drawing a second box
    QCOMPARE(g.overlay().boxes().size(), std::size_t(2));
    g.setBoxes({{1, 2, 1, 2}});
    QVERIFY(!g.release(280, 26).boxesEdited);
    QCOMPARE(g.overlay().boxes().size(), std::size_t(1));
    QCOMPARE(g.overlay().boxes()[0], (OverlayBox{1, 2, 1, 2}));
    QVERIFY(samePoints(lineValues(g.store(), 0), {{0, 40}, {50, 40}, {100, 40}}));
}

QTEST_GUILESS_MAIN(TestGraphOverlay)
#include "test_graphoverlay.moc"
