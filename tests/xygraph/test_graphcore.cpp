// The graph's parts working together: pen strokes and edits refit the axes
// before any repaint is asked for, so painting finds them settled; bar mode.
#include "exactnumbers.h"
#include "graphcore.h"
#include "graphfixtures.h"

#include <QTest>

using namespace fixtures;

namespace {

// Notes whether the axes were still due whenever a repaint was asked for.
struct SettledCheck : GraphView {
    const GraphCore *graph = nullptr;
    int repaints = 0;
    int dueAtRepaint = 0;
    void requestRepaint() override {
        ++repaints;
        dueAtRepaint += graph->fitter().due();
    }
    void paintPos() override {}
    void drawDragFigure(bool) override {}
    void showZoneCursor(int) override {}
};

} // namespace

class TestGraphCore : public QObject {
    Q_OBJECT

private slots:
    void drawingRefitsBeforeRepaintAndReportsIt();
    void clearAndDeleteNeitherRefitNorReport();
    void barModeSubdividesOnce();
};

void TestGraphCore::drawingRefitsBeforeRepaintAndReportsIt() {
    GraphCore g;
    SettledCheck view;
    view.graph = &g;
    g.setView(&view);
    standardGeometry(g.map());
    g.fitter().SetAutoAxis(sscHorizontal);
    drawLine(g, {{0, 0}, {35, 50}});
    QCOMPARE(exactly(g.map().getxmax()), exactly(40.0f));
    QVERIFY(g.fitter().Fpointschanged());
    QVERIFY(view.repaints > 0);
    // A drag keeps the axes while the point moves and refits on release.
    const TPoint end = g.map().w2cc({35, 50});
    g.edit().recordPress(end.x, end.y);
    g.pressDrag(end.x, end.y);
    g.MouseMove(330, 100);
    QVERIFY(g.fitter().due());
    QCOMPARE(exactly(g.map().getxmax()), exactly(40.0f));
    QVERIFY(g.release(330, 100).pointsMoved);
    QVERIFY(!g.fitter().due());
    QVERIFY(g.fitter().Fpointschanged());
    QCOMPARE(view.dueAtRepaint, 0);
}

void TestGraphCore::clearAndDeleteNeitherRefitNorReport() {
    GraphCore g;
    g.fitter().SetAutoAxis(sscHorizontal);
    addSingle(g, 1, 2);
    drawLine(g, {{10, 11}, {35, 13}});
    g.fitter().Fpointschanged();
    g.map().setxmax(77);
    QVERIFY(g.deletepoint(g.store().points()[0].get()));
    FPOINT stranger{10, 11};
    QVERIFY(!g.deletepoint(&stranger));
    g.Clear();
    g.invalidate();
    QVERIFY(!g.fitter().Fpointschanged());
    QCOMPARE(exactly(g.map().getxmax()), exactly(77.0f));
    drawLine(g, {{0, 0}, {5, 5}}); // drawing again refits
    QCOMPARE(exactly(g.map().getxmax()), exactly(10.0f));
    QVERIFY(g.fitter().Fpointschanged());
}

void TestGraphCore::barModeSubdividesOnce() {
    GraphCore g;
    drawLine(g, {{0, 0}, {12, 12}});
    g.fitter().Fpointschanged();
    g.Setbarmode(true);
    QVERIFY(g.Fbarmode());
    QVERIFY(samePoints(lineValues(g.store(), 0), {{0, 0}, {5, 5}, {10, 10}, {12, 12}}));
    QVERIFY(!g.fitter().due());
    QVERIFY(!g.fitter().Fpointschanged());
    g.Setbarmode(true); // already in bar mode: nothing more
    QCOMPARE(g.store().lines()[0]->size(), std::size_t(4));
    g.Setbarmode(false); // leaving keeps the points
    QCOMPARE(g.store().lines()[0]->size(), std::size_t(4));

    GraphCore off; // Setbarmode(false) outside bar mode subdivides too
    drawLine(off, {{0, 0}, {10, 20}, {11, 0}});
    off.Setbarmode(false);
    QVERIFY(!off.Fbarmode());
    QVERIFY(samePoints(lineValues(off.store(), 0), {{0, 0}, {5, 10}, {10, 20}, {11, 0}}));
}

QTEST_GUILESS_MAIN(TestGraphCore)
#include "test_graphcore.moc"
