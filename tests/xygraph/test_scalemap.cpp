// The scale map: the world window and borders, the transform to pixels and
// back, the zones of the control and the clipping of what is painted.
#include "exactnumbers.h"
#include "graphfixtures.h"
#include "scalemap.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

using namespace fixtures;

class TestScaleMap : public QObject {
    Q_OBJECT

private slots:
    void transformsMatchExample();
    void transformsTruncateTowardZeroAndSurviveEmptyWindow();
    void transformsLimitOnlyAtIntRange();
    void clippedLinesKeepDirectionAndDropWhatLiesOutside();
    void clippedPolygonsCoverWhatTheyCoveredInside();
    void sideScalesSetAndDerivedFromBorders();
    void calcbordersFromLabelMetrics();
    void zonesOfExample();
};

void TestScaleMap::transformsMatchExample() {
    ScaleMap g;
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

void TestScaleMap::transformsTruncateTowardZeroAndSurviveEmptyWindow() {
    ScaleMap g;
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

void TestScaleMap::transformsLimitOnlyAtIntRange() {
    ScaleMap g;
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

void TestScaleMap::clippedLinesKeepDirectionAndDropWhatLiesOutside() {
    ScaleMap g;
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

namespace {

// Whether p lies inside the polygon, by the crossings of a ray to its right.
bool inside(const std::vector<PixelF> &polygon, PixelF p) {
    bool in = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const PixelF a = polygon[i], b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y))
            in = !in;
    }
    return in;
}

} // namespace

// A filled band cut to the painted area covers inside it exactly what it
// covered before, however far its corners lie.
void TestScaleMap::clippedPolygonsCoverWhatTheyCoveredInside() {
    const PixelBox box{0, 0, 400, 300};
    std::mt19937 random(11);
    std::uniform_real_distribution<long double> unit(0.0L, 1.0L);
    auto coordinate = [&](long double size) {
        // Mostly near the box, sometimes millions of pixels away.
        const long double far = unit(random) < 0.3L ? 1e7L : 1.0L;
        return (unit(random) * 3.0L - 1.0L) * size * far;
    };
    for (int i = 0; i < 300; ++i) {
        std::vector<PixelF> polygon;
        const int corners = 3 + i % 5;
        for (int k = 0; k < corners; ++k)
            polygon.push_back({coordinate(400), coordinate(300)});
        const std::vector<PixelF> cut = clipPolygon(polygon, box);
        for (const PixelF &p : cut)
            QVERIFY(box.contains(p));
        for (int gx = 0; gx < 20; ++gx)
            for (int gy = 0; gy < 15; ++gy) {
                const PixelF p{10.0L + 20.0L * gx + 0.37L, 10.0L + 20.0L * gy + 0.61L};
                QCOMPARE(!cut.empty() && inside(cut, p), inside(polygon, p));
            }
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QVERIFY(clipPolygon({{0, 0}, {nan, 5}, {5, 5}}, box).empty());
}

void TestScaleMap::sideScalesSetAndDerivedFromBorders() {
    ScaleMap g;
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
    g.calcborders(13, 9, sscBoth);
    g.SetSideScales(sscBoth);
    QCOMPARE(g.bottomborder(), 41);
    QCOMPARE(g.leftborder(), 37);
    QCOMPARE(g.FSideScales(), sscBoth);
}

void TestScaleMap::calcbordersFromLabelMetrics() {
    ScaleMap g;
    g.SetSideScales(sscBoth);
    g.calcborders(13, 9, sscBoth);
    QCOMPARE(g.bottomborder(), 41);
    QCOMPARE(g.leftborder(), 37);
    g.calcborders(13, 9, sscVertical); // no tick room below
    QCOMPARE(g.bottomborder(), 37);
    QCOMPARE(g.leftborder(), 37);
    g.SetSideScales(sscNone); // computed whatever the scales are
    g.calcborders(13, 0, sscVertical);
    QCOMPARE(g.bottomborder(), 13);
    QCOMPARE(g.leftborder(), 4);
}

void TestScaleMap::zonesOfExample() {
    ScaleMap g;
    standardGeometry(g);
    QCOMPARE(g.winpos(35, 100), 3);
    QCOMPARE(g.winpos(30, 100), 2);
    QCOMPARE(g.winpos(20, 100), 2);
    QCOMPARE(g.winpos(100, 150), 0); // the band above the bottom border
    QCOMPARE(g.winpos(100, 160), 1);
    QCOMPARE(g.winpos(20, 180), 0);
    QCOMPARE(g.winpos(345, 100), 0);
    QCOMPARE(g.winpos(100, 12), 0); // on the top edge
    QCOMPARE(g.winpos(100, 13), 3);
}

QTEST_GUILESS_MAIN(TestScaleMap)
#include "test_scalemap.moc"
