// The graph's data: pen-plotter filling, enumeration, deleting, the world
// window and pixel transform, borders, axis fitting and bar mode.
#include "errors.h"
#include "exactnumbers.h"
#include "graphcore.h"
#include "graphfixtures.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

using namespace fixtures;

class TestGraphCore : public QObject {
    Q_OBJECT

private slots:
    void penPlotterBuildsLinesAndSinglePoints();
    void newLineStartsAtPenPositionOfFirstPenDown();
    void enumerationOrderSinglesThenLines();
    void enumLinesReportsWhereLinesBegin();
    void clearRemovesEverythingButKeepsPenAndWindow();
    void strokeGoesOnInNewLineAfterItsLineIsRemoved();
    void deletepointByIdentity();
    void lineEmptiedByDeletingIsRemoved();
    void transformsMatchExample();
    void transformsTruncateTowardZeroAndSurviveEmptyWindow();
    void transformsLimitOnlyAtIntRange();
    void clippedLinesKeepDirectionAndDropWhatLiesOutside();
    void sideScalesSetAndDerivedFromBorders();
    void calcbordersFromLabelMetrics();
    void pointsChangedReadClears();
    void axisGuardRefitsOnceAndReportsChange();
    void calcaxisExamples_data();
    void calcaxisExamples();
    void calcaxisKeepsWindowNonEmpty();
    void barModeSubdividesOnce();
    void barModeKeepsPointIdentity();
    void barModeRefusesHugeLineAndChangesNothing();
};

void TestGraphCore::penPlotterBuildsLinesAndSinglePoints() {
    GraphCore g;
    g.PenUp();
    g.MoveTo(0, 60);
    g.PenDown();
    g.MoveTo(10, 60);
    g.MoveTo(20, 80);
    g.PenUp();
    QVERIFY(g.points().empty());
    QCOMPARE(g.lines().size(), std::size_t(1));
    QVERIFY(samePoints(lineValues(g, 0), {{0, 60}, {10, 60}, {20, 80}}));
    float x = -1, y = -1;
    QCOMPARE(g.EnumPoints(0, &x, &y), 1);
    QCOMPARE(g.EnumPoints(1, &x, &y), 2);
    QCOMPARE(g.EnumPoints(2, &x, &y), 3);
    QCOMPARE(exactly(x), exactly(20.0f));
    QCOMPARE(exactly(y), exactly(80.0f));
    QCOMPARE(g.EnumPoints(3, &x, &y), 0);
    QCOMPARE(exactly(x), exactly(20.0f)); // untouched past the end

    // PenUp, MoveTo, PenDown, PenUp leaves one single point.
    GraphCore s;
    addSingle(s, 3, 4);
    QCOMPARE(s.points().size(), std::size_t(1));
    QVERIFY(s.lines().empty());
    QVERIFY(s.axisChanged());
    // A pen-up MoveTo adds nothing; a repeated PenUp adds nothing.
    s.MoveTo(7, 7);
    s.PenUp();
    QCOMPARE(s.pointCount(), std::size_t(1));
}

void TestGraphCore::newLineStartsAtPenPositionOfFirstPenDown() {
    GraphCore g;
    drawLine(g, {{0, 60}, {10, 60}, {20, 80}});
    g.PenDown();
    g.MoveTo(30, 90);
    g.PenUp();
    QCOMPARE(g.lines().size(), std::size_t(2));
    QVERIFY(samePoints(lineValues(g, 1), {{0, 60}, {30, 90}}));
    // PenDown while down opens another line from the same pen position.
    g.PenDown();
    g.MoveTo(1, 1);
    g.PenDown();
    g.MoveTo(2, 2);
    g.PenUp();
    QCOMPARE(g.lines().size(), std::size_t(4));
    QVERIFY(samePoints(lineValues(g, 3), {{0, 60}, {2, 2}}));
}

void TestGraphCore::enumerationOrderSinglesThenLines() {
    GraphCore g;
    addSingle(g, 1, 2);
    addSingle(g, 3, 4);
    drawLine(g, {{10, 11}, {12, 13}, {14, 15}});
    float x = 0, y = 0;
    QCOMPARE(g.EnumPoints(0, &x, &y), 1);
    QCOMPARE(exactly(x), exactly(1.0f));
    QCOMPARE(g.EnumPoints(1, &x, &y), 2);
    QCOMPARE(exactly(y), exactly(4.0f));
    QCOMPARE(g.EnumPoints(2, &x, &y), 3);
    QCOMPARE(exactly(x), exactly(10.0f));
    QCOMPARE(g.EnumPoints(4, &x, &y), 5);
    QCOMPARE(exactly(y), exactly(15.0f));
    QCOMPARE(g.EnumPoints(5, &x, &y), 0);
    QCOMPARE(g.EnumPoints(-1, &x, &y), 0);
    // Enumerating out of order across many lines gives the same points.
    GraphCore many;
    for (int i = 0; i < 50; ++i)
        drawLine(many, {{float(i), 0}, {float(i), 1}, {float(i), 2}});
    QCOMPARE(many.EnumPoints(149, &x, &y), 150);
    QCOMPARE(exactly(x), exactly(49.0f));
    QCOMPARE(many.EnumPoints(4, &x, &y), 5);
    QCOMPARE(exactly(x), exactly(1.0f));
    QCOMPARE(exactly(y), exactly(1.0f));
    QCOMPARE(pointsOf(many).size(), std::size_t(150));
}

void TestGraphCore::enumLinesReportsWhereLinesBegin() {
    GraphCore g;
    addSingle(g, 1, 2);
    addSingle(g, 3, 4);
    int first = -7;
    QCOMPARE(g.EnumLines(0, &first), 0); // no line yet
    drawLine(g, {{10, 11}, {12, 13}});
    QCOMPARE(g.EnumLines(0, &first), 2);
    QCOMPARE(g.EnumLines(1, &first), 0);
    QCOMPARE(first, -7);
}

void TestGraphCore::clearRemovesEverythingButKeepsPenAndWindow() {
    GraphCore g;
    g.setxmax(40);
    addSingle(g, 1, 2);
    drawLine(g, {{10, 11}, {12, 13}});
    g.setAxisChanged(false);
    g.Clear();
    float x = 0, y = 0;
    QCOMPARE(g.EnumPoints(0, &x, &y), 0);
    QVERIFY(!g.axisChanged());
    QCOMPARE(exactly(g.getxmax()), exactly(40.0f));
}

void TestGraphCore::strokeGoesOnInNewLineAfterItsLineIsRemoved() {
    GraphCore g;
    g.PenUp();
    g.MoveTo(0, 0);
    g.PenDown();
    g.MoveTo(1, 1);
    g.Clear(); // pen stays down with its line gone
    g.MoveTo(2, 2);
    g.PenUp();
    QCOMPARE(g.lines().size(), std::size_t(1));
    QVERIFY(samePoints(lineValues(g, 0), {{0, 0}, {2, 2}}));
}

void TestGraphCore::deletepointByIdentity() {
    GraphCore g;
    addSingle(g, 5, 5);
    drawLine(g, {{5, 5}, {6, 6}});
    FPOINT *inLine = g.lines()[0]->front().get();
    QVERIFY(g.deletepoint(inLine)); // equal coordinates, yet the line's point goes
    QCOMPARE(g.points().size(), std::size_t(1));
    QVERIFY(samePoints(lineValues(g, 0), {{6, 6}}));
    FPOINT stranger{6, 6};
    QVERIFY(!g.deletepoint(&stranger));
    QVERIFY(!g.deletepoint(nullptr));
    QCOMPARE(g.pointCount(), std::size_t(2));
    g.setAxisChanged(false);
    QVERIFY(g.deletepoint(g.points()[0].get()));
    QVERIFY(g.points().empty());
    QVERIFY(!g.axisChanged());
}

void TestGraphCore::lineEmptiedByDeletingIsRemoved() {
    GraphCore g;
    drawLine(g, {{0, 0}, {1, 1}});
    drawLine(g, {{2, 2}, {3, 3}});
    g.deletepoint(g.lines()[0]->back().get());
    g.deletepoint(g.lines()[0]->back().get());
    QCOMPARE(g.lines().size(), std::size_t(1));
    QVERIFY(samePoints(lineValues(g, 0), {{2, 2}, {3, 3}}));
    QCOMPARE(pointsOf(g).size(), std::size_t(2));
}

void TestGraphCore::transformsMatchExample() {
    GraphCore g;
    standardGeometry(g);
    QCOMPARE(g.w2cc({0, 0}), (TPoint{37, 152}));
    QCOMPARE(g.w2cc({100, 100}), (TPoint{341, 12}));
    QCOMPARE(g.w2cc({50, 50}), (TPoint{189, 82}));
    const FPOINT back = g.cc2w({189, 82});
    QCOMPARE(exactly(back.x), exactly(50.0f));
    QCOMPARE(exactly(back.y), exactly(50.0f));
    // Outside the window maps outside the plot area, unclipped.
    QCOMPARE(g.w2cc({200, -100}), (TPoint{645, 292}));
}

void TestGraphCore::transformsTruncateTowardZeroAndSurviveEmptyWindow() {
    GraphCore g;
    g.setSize(110, 110);
    g.setBorders(10, 0, 0, 0); // plot 100 x 110
    g.setxmax(1000);
    // 10 + 100 * 7 / 1000 = 10.7 -> 10; 10 + 100 * (-15) / 1000 = 8.5 -> 8.
    QCOMPARE(g.w2cc({7, 100}).x, 10);
    QCOMPARE(g.w2cc({-15, 100}).x, 8);
    // Half a pixel left of the axis truncates to 0, one and a half to -1.
    g.setBorders(0, 0, 0, 0);
    g.setSize(100, 100);
    g.setxmax(10);
    QCOMPARE(g.w2cc({-0.05f, 0}).x, 0);
    QCOMPARE(g.w2cc({-0.15f, 0}).x, -1);

    g.setxmax(0); // empty window: no crash, finite pixels
    g.setymax(0);
    const TPoint p = g.w2cc({5, 5});
    QVERIFY(std::abs(p.x) <= (1 << 24) && std::abs(p.y) <= (1 << 24));
    g.setSize(0, 0);
    const FPOINT w = g.cc2w({3, 3});
    QCOMPARE(exactly(w.x), exactly(0.0f));
}

void TestGraphCore::transformsLimitOnlyAtIntRange() {
    GraphCore g;
    standardGeometry(g);
    g.setxmax(1.0f / 1024); // stretched far in
    g.setymax(1.0f / 1024);
    // Beyond 2^24 pixels still exact: 37 + 304 * 100 * 1024 and
    // 12 + 140 * (1 + 200 * 1024).
    QCOMPARE(g.w2cc({100, -200}), (TPoint{31129637, 28672152}));
    constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    QCOMPARE(g.w2cc({1e30f, -1e30f}), (TPoint{hi, hi}));
    QCOMPARE(g.w2cc({-1e30f, 1e30f}), (TPoint{lo, lo}));
}

// A line from a point in the window to one far outside, with both axes
// stretched in by up to ten million: the part that is drawn starts at the
// inner point's pixel, ends inside the painted box, and lies on the true line
// up to the truncation to whole pixels, so the line keeps its direction.
void TestGraphCore::clippedLinesKeepDirectionAndDropWhatLiesOutside() {
    GraphCore g;
    standardGeometry(g);
    const PixelBox box = g.paintBox();
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    auto spread = [&](float hi) { return std::pow(hi, unit(random)); }; // 1 .. hi, log-uniform
    for (int i = 0; i < 2000; ++i) {
        g.setxmax(100 / spread(1e7f));
        g.setymax(100 / spread(1e7f));
        const float reach = spread(1e9f); // in windows
        const float angle = 2 * std::numbers::pi_v<float> * unit(random);
        const FPOINT a{g.getxmax() * unit(random), g.getymax() * unit(random)};
        const FPOINT b{a.x + reach * g.getxmax() * std::cos(angle),
                       a.y + reach * g.getymax() * std::sin(angle)};
        const auto s = g.segmentPixels(a, b);
        QVERIFY(s.has_value());
        QCOMPARE(s->from, g.w2cc(a));
        const PixelF to{static_cast<long double>(s->to.x), static_cast<long double>(s->to.y)};
        QVERIFY(box.contains(to));
        const PixelF pa = g.w2pixel(a), pb = g.w2pixel(b);
        const long double dx = pb.x - pa.x, dy = pb.y - pa.y;
        const long double off =
            std::fabs((to.x - pa.x) * dy - (to.y - pa.y) * dx) / std::hypot(dx, dy);
        QVERIFY2(off < 1.5L, qPrintable(QString("%1 pixels off the line").arg(double(off))));
    }

    standardGeometry(g); // 0..100; y 50 is pixel row 82
    // Both ends far outside, crossing the window: the crossing of the box.
    const auto across = g.segmentPixels({-1e6f, 50}, {1e6f, 50});
    QVERIFY(across.has_value());
    QCOMPARE(across->from, (TPoint{int(box.left), 82}));
    QCOMPARE(across->to, (TPoint{int(box.right), 82}));
    // Passing above the control, or far away on one side: nothing.
    QVERIFY(!g.segmentPixels({-1e6f, 500}, {1e6f, 500}).has_value());
    QVERIFY(!g.segmentPixels({1e6f, 0}, {2e6f, 100}).has_value());
    // Markers in the borders keep their pixel; far away they are skipped.
    QCOMPARE(g.markerPixel({105, -5}), std::optional<TPoint>(g.w2cc({105, -5})));
    QVERIFY(!g.markerPixel({1e6f, 50}).has_value());
}

void TestGraphCore::sideScalesSetAndDerivedFromBorders() {
    GraphCore g;
    QCOMPARE(g.FSideScales(), sscNone);
    g.SetSideScales(sscVertical);
    QCOMPARE(g.FSideScales(), sscVertical);
    QCOMPARE(g.leftborder(), 12);
    QCOMPARE(g.rightborder(), 12);
    QCOMPARE(g.topborder(), 0);
    g.SetSideScales(sscHorizontal);
    QCOMPARE(g.FSideScales(), sscHorizontal);
    QCOMPARE(g.leftborder(), 0);
    QCOMPARE(g.bottomborder(), 12);
    g.SetSideScales(sscNone);
    QCOMPARE(g.FSideScales(), sscNone);
    QCOMPARE(g.bottomborder() + g.leftborder() + g.topborder() + g.rightborder(), 0);
    // A border computed from a label is kept.
    g.SetSideScales(sscBoth);
    g.SetTicks(sscBoth);
    g.calcborders(13, 9);
    g.SetSideScales(sscBoth);
    QCOMPARE(g.bottomborder(), 41);
    QCOMPARE(g.leftborder(), 37);
    QCOMPARE(g.FSideScales(), sscBoth);
}

void TestGraphCore::calcbordersFromLabelMetrics() {
    GraphCore g;
    g.SetSideScales(sscBoth);
    g.SetTicks(sscBoth);
    g.calcborders(13, 9);
    QCOMPARE(g.bottomborder(), 41);
    QCOMPARE(g.leftborder(), 37);
    g.SetTicks(sscVertical); // no tick room below
    g.calcborders(13, 9);
    QCOMPARE(g.bottomborder(), 37);
    QCOMPARE(g.leftborder(), 37);
    g.SetSideScales(sscNone); // computed whatever the scales are
    g.calcborders(13, 0);
    QCOMPARE(g.bottomborder(), 13);
    QCOMPARE(g.leftborder(), 4);
}

void TestGraphCore::pointsChangedReadClears() {
    GraphCore g;
    QVERIFY(!g.Fpointschanged());
    g.Setpointschanged(true);
    QVERIFY(g.Fpointschanged());
    QVERIFY(!g.Fpointschanged());
}

void TestGraphCore::axisGuardRefitsOnceAndReportsChange() {
    GraphCore g;
    g.SetAutoAxis(sscHorizontal);
    drawLine(g, {{0, 0}, {35, 1}});
    QVERIFY(g.axisChanged());
    g.axisGuard();
    QVERIFY(!g.axisChanged());
    QVERIFY(g.Fpointschanged());
    QCOMPARE(exactly(g.getxmax()), exactly(40.0f));
    g.setxmax(77); // no change since: the guard leaves the window alone
    g.axisGuard();
    QCOMPARE(exactly(g.getxmax()), exactly(77.0f));
    QVERIFY(!g.Fpointschanged());
}

void TestGraphCore::calcaxisExamples_data() {
    QTest::addColumn<QList<float>>("values");
    QTest::addColumn<float>("expected");
    QTest::newRow("0 10 20 35") << QList<float>{0, 10, 20, 35} << 40.0f;
    QTest::newRow("0 10 35 20") << QList<float>{0, 10, 35, 20} << 40.0f;
    QTest::newRow("5 120") << QList<float>{5, 120} << 200.0f;
    QTest::newRow("0 50 100") << QList<float>{0, 50, 100} << 100.0f;
    QTest::newRow("no points") << QList<float>{} << 1.0f;
}

void TestGraphCore::calcaxisExamples() {
    QFETCH(QList<float>, values);
    QFETCH(float, expected);
    GraphCore gx, gy;
    gx.SetAutoAxis(sscHorizontal);
    gy.SetAutoAxis(sscVertical);
    for (float v : values) {
        addSingle(gx, v, 0);
        addSingle(gy, 0, v);
    }
    gx.calcaxis();
    gy.calcaxis();
    QCOMPARE(gx.getxmax(), expected);
    QCOMPARE(exactly(gx.getymax()), exactly(100.0f)); // not asked for
    QCOMPARE(gy.getymax(), expected);
    QCOMPARE(exactly(gy.getxmax()), exactly(100.0f));
}

void TestGraphCore::calcaxisKeepsWindowNonEmpty() {
    GraphCore g;
    g.SetAutoAxis(sscVertical);
    addSingle(g, 0, 0.3f);
    addSingle(g, 0, 0.5f);
    g.calcaxis();
    QCOMPARE(exactly(g.getymax()), exactly(1.0f));
    GraphCore fixed; // AutoAxis none still mends an empty window
    fixed.setxzero(5);
    fixed.setxmax(5);
    fixed.calcaxis();
    QCOMPARE(exactly(fixed.getxmax()), exactly(6.0f));
}

void TestGraphCore::barModeSubdividesOnce() {
    GraphCore g;
    drawLine(g, {{0, 0}, {12, 12}});
    g.setAxisChanged(false);
    g.Setbarmode(true);
    QVERIFY(g.Fbarmode());
    QVERIFY(samePoints(lineValues(g, 0), {{0, 0}, {5, 5}, {10, 10}, {12, 12}}));
    QVERIFY(!g.axisChanged());
    QVERIFY(!g.Fpointschanged());
    g.Setbarmode(true); // already in bar mode: nothing more
    QCOMPARE(g.lines()[0]->size(), std::size_t(4));
    g.Setbarmode(false); // leaving keeps the points
    QCOMPARE(g.lines()[0]->size(), std::size_t(4));

    GraphCore off; // Setbarmode(false) outside bar mode subdivides too
    drawLine(off, {{0, 0}, {10, 20}, {11, 0}});
    off.Setbarmode(false);
    QVERIFY(!off.Fbarmode());
    QVERIFY(samePoints(lineValues(off, 0), {{0, 0}, {5, 10}, {10, 20}, {11, 0}}));
}

void TestGraphCore::barModeKeepsPointIdentity() {
    GraphCore g;
    addSingle(g, 0, 0);
    drawLine(g, {{0, 0}, {20, 0}});
    const FPOINT *single = g.points()[0].get();
    const FPOINT *first = g.lines()[0]->front().get();
    const FPOINT *last = g.lines()[0]->back().get();
    g.Setbarmode(true);
    QCOMPARE(g.points()[0].get(), single);
    QCOMPARE(g.lines()[0]->front().get(), first);
    QCOMPARE(g.lines()[0]->back().get(), last);
    QCOMPARE(g.lines()[0]->size(), std::size_t(5));
}

void TestGraphCore::barModeRefusesHugeLineAndChangesNothing() {
    GraphCore g;
    drawLine(g, {{0, 0}, {12, 0}});
    drawLine(g, {{0, 0}, {6e7f, 0}}); // 12 million bars
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, g.Setbarmode(true));
    QVERIFY(!g.Fbarmode());
    QCOMPARE(g.lines()[0]->size(), std::size_t(2));
    QCOMPARE(g.lines()[1]->size(), std::size_t(2));

    // The limit holds for the whole graph, not for each line alone.
    GraphCore many;
    for (int i = 0; i < 3; ++i)
        drawLine(many, {{0, 0}, {2e7f, 0}}); // 4 million bars each
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, many.Setbarmode(true));
    QCOMPARE(many.pointCount(), std::size_t(6));
}

QTEST_GUILESS_MAIN(TestGraphCore)
#include "test_graphcore.moc"
