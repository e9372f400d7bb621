// The axis fitter: fitting the upper ends to the points as AutoAxis asks, the
// refit falling due and being reported, and a refit kept up to date point by
// point agreeing with one made from scratch.
#include "axisfitter.h"
#include "exactnumbers.h"
#include "graphfixtures.h"

#include <QTest>

#include <random>

using namespace fixtures;

namespace {

struct Parts {
    PointStore store;
    ScaleMap map;
    AxisFitter fitter;
    void fit() { fitter.calcaxis(store, map); }
};

} // namespace

class TestAxisFitter : public QObject {
    Q_OBJECT

private slots:
    void pointsChangedReadClears();
    void settleRefitsOnceAndReportsChange();
    void calcaxisExamples_data();
    void calcaxisExamples();
    void calcaxisKeepsWindowNonEmpty();
    void refitKeptUpToDateMatchesFreshFit();
    void growToFit_data();
    void growToFit();
    void fitToDataShrinksAndKeepsZero();
};

void TestAxisFitter::pointsChangedReadClears() {
    AxisFitter f;
    QVERIFY(!f.Fpointschanged());
    f.Setpointschanged(true);
    QVERIFY(f.Fpointschanged());
    QVERIFY(!f.Fpointschanged());
}

void TestAxisFitter::settleRefitsOnceAndReportsChange() {
    Parts g;
    g.fitter.SetAutoAxis(sscHorizontal);
    drawLine(g.store, {{0, 0}, {35, 1}});
    g.fitter.settle(g.store, g.map); // not due: nothing happens
    QCOMPARE(exactly(g.map.getxmax()), exactly(100.0f));
    QVERIFY(!g.fitter.Fpointschanged());
    g.fitter.setDue(true);
    g.fitter.settle(g.store, g.map);
    QVERIFY(!g.fitter.due());
    QVERIFY(g.fitter.Fpointschanged());
    QCOMPARE(exactly(g.map.getxmax()), exactly(40.0f));
    g.map.setxmax(77); // no change since: settling leaves the window alone
    g.fitter.settle(g.store, g.map);
    QCOMPARE(exactly(g.map.getxmax()), exactly(77.0f));
    QVERIFY(!g.fitter.Fpointschanged());
}

void TestAxisFitter::calcaxisExamples_data() {
    QTest::addColumn<QList<float>>("values");
    QTest::addColumn<float>("expected");
    QTest::newRow("0 10 20 35") << QList<float>{0, 10, 20, 35} << 40.0f;
    QTest::newRow("0 10 35 20") << QList<float>{0, 10, 35, 20} << 40.0f;
    QTest::newRow("5 120") << QList<float>{5, 120} << 200.0f;
    QTest::newRow("0 50 100") << QList<float>{0, 50, 100} << 100.0f;
    QTest::newRow("no points") << QList<float>{} << 1.0f;
}

void TestAxisFitter::calcaxisExamples() {
    QFETCH(QList<float>, values);
    QFETCH(float, expected);
    Parts gx, gy;
    gx.fitter.SetAutoAxis(sscHorizontal);
    gy.fitter.SetAutoAxis(sscVertical);
    for (float v : values) {
        addSingle(gx.store, v, 0);
        addSingle(gy.store, 0, v);
    }
    gx.fit();
    gy.fit();
    QCOMPARE(gx.map.getxmax(), expected);
    QCOMPARE(exactly(gx.map.getymax()), exactly(100.0f)); // not asked for
    QCOMPARE(gy.map.getymax(), expected);
    QCOMPARE(exactly(gy.map.getxmax()), exactly(100.0f));
}

void TestAxisFitter::calcaxisKeepsWindowNonEmpty() {
    Parts g;
    g.fitter.SetAutoAxis(sscVertical);
    addSingle(g.store, 0, 0.3f);
    addSingle(g.store, 0, 0.5f);
    g.fit();
    QCOMPARE(exactly(g.map.getymax()), exactly(1.0f));
    Parts fixed; // AutoAxis none still mends an empty window
    fixed.map.setxzero(5);
    fixed.map.setxmax(5);
    fixed.fit();
    QCOMPARE(exactly(fixed.map.getxmax()), exactly(6.0f));
}

// Random edits of every kind, fitting after each: the fitter that has seen
// every step (and extends what it walked where it can) must give the window
// that a fitter meeting the final points for the first time gives.
void TestAxisFitter::refitKeptUpToDateMatchesFreshFit() {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> action(0, 9);
    std::uniform_real_distribution<float> value(-20.0f, 200.0f);
    Parts kept;
    kept.fitter.SetAutoAxis(sscBoth);
    for (int step = 0; step < 3000; ++step) {
        PointStore &s = kept.store;
        switch (action(random)) {
        case 0:
            addSingle(s, value(random), value(random));
            break;
        case 1:
            s.PenUp();
            s.MoveTo(value(random), value(random));
            s.PenDown();
            break;
        case 2:
            if (s.pointCount() > 0) {
                const std::size_t k = random() % s.pointCount();
                std::size_t i = 0;
                const FPOINT *victim = nullptr;
                s.forEachPoint([&](const FPOINT *p) { victim = i++ == k ? p : victim; });
                s.deletepoint(const_cast<FPOINT *>(victim));
            }
            break;
        case 3:
            if (!s.lines().empty())
                s.movePoint(s.lines().back()->front().get(), {value(random), value(random)});
            break;
        case 4:
            kept.map.setxzero(value(random) / 4);
            break;
        case 5:
            if (random() % 20 == 0)
                s.Clear();
            break;
        default: // most often: extend the open stroke
            s.MoveTo(value(random), value(random));
            break;
        }
        kept.fit();
        Parts fresh;
        fresh.fitter.SetAutoAxis(sscBoth);
        fresh.map.setxzero(kept.map.getxzero());
        float x = 0, y = 0;
        for (int c = s.EnumPoints(0, &x, &y); c != 0; c = s.EnumPoints(c, &x, &y))
            addSingle(fresh.store, x, y); // the same points in the same order
        fresh.fit();
        QCOMPARE(exactly(kept.map.getxmax()), exactly(fresh.map.getxmax()));
        QCOMPARE(exactly(kept.map.getymax()), exactly(fresh.map.getymax()));
    }
}

void TestAxisFitter::growToFit_data() {
    // A curve as lines of (x, y); the window expected after growing, from 0..100.
    QTest::addColumn<QList<float>>("xy");
    QTest::addColumn<QList<float>>("window"); // x0, x1, y0, y1
    QTest::newRow("500 Myr from 120 C")
        << QList<float>{0, 120, 250, 60, 500, 20} << QList<float>{0, 500, 0, 200};
    QTest::newRow("inside 0..100")
        << QList<float>{0, 100, 40, 60, 100, 0} << QList<float>{0, 100, 0, 100};
    QTest::newRow("just beyond") << QList<float>{0, 10, 101, 10} << QList<float>{0, 110, 0, 100};
    QTest::newRow("negative") << QList<float>{-3, 50, 40, -250} << QList<float>{-3, 100, -300, 100};
    QTest::newRow("small") << QList<float>{0, 0.5f, 0.25f, -0.04f}
                           << QList<float>{0, 100, -0.1f, 100};
}

void TestAxisFitter::growToFit() {
    QFETCH(QList<float>, xy);
    QFETCH(QList<float>, window);
    Parts g;
    std::vector<FPOINT> line;
    for (qsizetype i = 0; i + 1 < xy.size(); i += 2)
        line.push_back({xy[i], xy[i + 1]});
    drawPolyline(g.store, line);
    const bool grew = AxisFitter::growToFit(g.store, g.map);
    const QList<float> got{g.map.getxzero(), g.map.getxmax(), g.map.getyzero(), g.map.getymax()};
    QCOMPARE(got, window);
    QCOMPARE(grew, window != (QList<float>{0, 100, 0, 100}));
    // Growing again changes nothing: every point is held.
    QVERIFY(!AxisFitter::growToFit(g.store, g.map));
}

void TestAxisFitter::fitToDataShrinksAndKeepsZero() {
    Parts g;
    g.map.setxmax(5000);
    g.map.setyzero(-1000);
    QVERIFY(!AxisFitter::fitToData(g.store, g.map)); // no points: left as it is
    QCOMPARE(exactly(g.map.getxmax()), exactly(5000.0f));
    drawLine(g.store, {{20, 35}, {380, 70}});
    QVERIFY(AxisFitter::fitToData(g.store, g.map));
    QCOMPARE(exactly(g.map.getxzero()), exactly(0.0f)); // positive: from 0
    QCOMPARE(exactly(g.map.getxmax()), exactly(400.0f));
    QCOMPARE(exactly(g.map.getyzero()), exactly(0.0f));
    QCOMPARE(exactly(g.map.getymax()), exactly(100.0f));
    addSingle(g.store, -12, 70);
    QVERIFY(AxisFitter::fitToData(g.store, g.map));
    QVERIFY(g.map.getxzero() <= -12 && g.map.getxzero() > -24);
    QCOMPARE(exactly(g.map.getxmax()), exactly(400.0f));
    // One value only: the axis stays one unit long.
    Parts flat;
    drawLine(flat.store, {{0, 0}, {0, 0}});
    AxisFitter::fitToData(flat.store, flat.map);
    QCOMPARE(exactly(flat.map.getxmax()), exactly(1.0f));
}

QTEST_GUILESS_MAIN(TestAxisFitter)
#include "test_axisfitter.moc"
