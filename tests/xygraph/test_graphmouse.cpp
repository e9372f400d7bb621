// Mouse editing and the menu's point edits, on the graph without a widget:
// zones, hit tests, dragging with its clamps, axis stretching, the readout.
#include "exactnumbers.h"
#include "graphcore.h"
#include "graphfixtures.h"

#include <QTest>

using namespace fixtures;

namespace {

// Records what the graph asks of its screen.
struct RecordingView : GraphView {
    int repaints = 0;
    int posBoxes = 0;
    int erased = 0;
    int drawn = 0;
    int lastZone = -1;
    void requestRepaint() override { ++repaints; }
    void paintPos() override { ++posBoxes; }
    void drawDragFigure(bool erase) override { ++(erase ? erased : drawn); }
    void showZoneCursor(int zone) override { lastZone = zone; }
};

// Pixel of a world point in the standard geometry, exact for these values.
TPoint px(const GraphCore &g, float x, float y) {
    return g.map().w2cc({x, y});
}

void press(GraphCore &g, TPoint p) {
    g.edit().recordPress(p.x, p.y);
    g.pressDrag(p.x, p.y);
}

void rightPress(GraphCore &g, TPoint p) {
    g.edit().recordPress(p.x, p.y);
}

} // namespace

class TestGraphMouse : public QObject {
    Q_OBJECT

private slots:
    void nearpointToleranceIsAWorldBox();
    void nearpointPrefersNearestThenFirst();
    void nearlinePicksNearestSegmentWithinLimit();
    void dragClampsToNeighboursAndWindow();
    void releaseOutsidePlotRestoresPoint();
    void dragBeyondTopOrRightGrowsTheAxis();
    void stretchHorizontalAxis();
    void stretchVerticalAxis();
    void stretchNeverReachesLowerEnd();
    void stretchKeepsGrabbedValueUnderCursor();
    void readoutSnapsToRoundValue();
    void pressedInPlotMarksAxisChangedAndHighlights();
    void removedPointsLeaveNoDanglingMouseState();
    void addPointOnEmptyGraphDrawsHorizontalLine();
    void addPointInsertsOnLine();
    void addPointWhereNoSegmentIsDoesNothing();
    void deletePointIsNotReportedAsChange();
    void menuEntriesFollowPressPosition();
};

void TestGraphMouse::nearpointToleranceIsAWorldBox() {
    GraphCore g;
    standardGeometry(g.map());
    // Pixel (189, 82) is world (50, 50).
    addSingle(g, 52, 52);
    QVERIFY(hittest::nearpoint(g.store(), g.map(), 189, 82) == g.store().points()[0].get());
    GraphCore far;
    standardGeometry(far.map());
    addSingle(far, 53, 50);
    QVERIFY(hittest::nearpoint(far.store(), far.map(), 189, 82) == nullptr);
    // The box scales with the window: in 0..1000 the same offsets are near.
    far.map().setxmax(1000);
    far.map().setymax(1000);
    addSingle(far, 520, 520);
    QVERIFY(hittest::nearpoint(far.store(), far.map(), 189, 82) == far.store().points()[1].get());
}

void TestGraphMouse::nearpointPrefersNearestThenFirst() {
    GraphCore g;
    standardGeometry(g.map());
    addSingle(g, 51.5f, 50);
    drawLine(g, {{50.5f, 50}, {50, 49.5f}});
    // Two line points 0.5 away beat the single point 1.5 away; the first wins.
    QVERIFY(hittest::nearpoint(g.store(), g.map(), 189, 82) == (*g.store().lines()[0])[0].get());
    GraphCore tie;
    standardGeometry(tie.map());
    addSingle(tie, 51, 50);
    addSingle(tie, 49, 50);
    QVERIFY(hittest::nearpoint(tie.store(), tie.map(), 189, 82) == tie.store().points()[0].get());
}

void TestGraphMouse::nearlinePicksNearestSegmentWithinLimit() {
    GraphCore g;
    standardGeometry(g.map());
    drawLine(g, {{0, 10}, {100, 10}});
    drawLine(g, {{0, 60}, {100, 60}});
    addSingle(g, 50, 50);
    QCOMPARE(hittest::nearline(g.store(), g.map(), 189, 82),
             1); // world (50, 50): 10 from the second line
    QCOMPARE(hittest::nearline(g.store(), g.map(), 189, 131), 0);

    GraphCore wide; // the limit is 100 world units of detour
    wide.map().setSize(353, 193);
    wide.map().setBorders(37, 41, 12, 12);
    wide.map().setxmax(1000);
    wide.map().setymax(1000);
    drawLine(wide, {{0, 0}, {10, 0}});
    QCOMPARE(hittest::nearline(wide.store(), wide.map(), 189, 26), -1); // world (500, 900)
    QCOMPARE(hittest::nearline(wide.store(), wide.map(), 38, 151), 0);

    GraphCore lone; // a one-point line is never a result
    standardGeometry(lone.map());
    drawLine(lone, {{50, 50}, {60, 60}});
    lone.deletepoint(lone.store().lines()[0]->back().get());
    QCOMPARE(hittest::nearline(lone.store(), lone.map(), 189, 82), -1);
}

void TestGraphMouse::dragClampsToNeighboursAndWindow() {
    GraphCore g;
    standardGeometry(g.map());
    RecordingView view;
    g.setView(&view);
    drawLine(g, {{0, 0}, {50, 50}, {60, 0}});
    FPOINT *middle = (*g.store().lines()[0])[1].get();
    press(g, px(g, 50, 50));
    QVERIFY(g.edit().dragging());
    QVERIFY(g.edit().dragpoint() == middle);
    g.MouseMove(34, 82); // left of the plot, still in its widened zone
    QCOMPARE(exactly(middle->x), exactly(0.0f));
    QCOMPARE(exactly(middle->y), exactly(50.0f));
    QCOMPARE(view.erased, 1);
    QCOMPARE(view.drawn, 1);
    g.MouseMove(300, 82);
    QCOMPARE(exactly(middle->x), exactly(60.0f)); // stopped at the next point
    g.release(300, 82);
    QVERIFY(!g.edit().dragging());
    QCOMPARE(exactly(middle->x), exactly(60.0f));

    // An end point stops at the window.
    GraphCore e;
    standardGeometry(e.map());
    drawLine(e, {{10, 30}, {50, 50}});
    FPOINT *first = e.store().lines()[0]->front().get();
    press(e, px(e, 10, 30));
    QVERIFY(e.edit().dragpoint() == first);
    QVERIFY(e.edit().dragprev() == nullptr);
    e.MouseMove(34, 100);
    QCOMPARE(exactly(first->x), exactly(0.0f));
    QVERIFY(first->y > 37.0f && first->y < 37.2f);
    e.release(34, 100);
}

void TestGraphMouse::dragBeyondTopOrRightGrowsTheAxis() {
    GraphCore g;
    standardGeometry(g.map());
    drawLine(g, {{0, 0}, {50, 50}, {60, 0}});
    FPOINT *middle = (*g.store().lines()[0])[1].get();
    press(g, px(g, 50, 50));
    g.MouseMove(400, -30); // above and right of the plot
    QVERIFY(middle->y > 100.0f);
    QCOMPARE(exactly(middle->x), exactly(60.0f)); // still before its neighbour
    QVERIFY(g.map().getymax() >= middle->y);
    QCOMPARE(exactly(g.map().getxmax()), exactly(100.0f)); // nothing beyond it
    // The same pixel again: the axis does not run away while the mouse waits.
    const float ymax = g.map().getymax();
    g.MouseMove(400, -30);
    QCOMPARE(exactly(g.map().getymax()), exactly(ymax));
    g.release(400, -30);
    QVERIFY(middle->y > 100.0f); // kept, not undone

    // An end point taken beyond the right edge takes the time axis along.
    GraphCore e;
    standardGeometry(e.map());
    drawLine(e, {{10, 30}, {50, 50}});
    FPOINT *last = e.store().lines()[0]->back().get();
    press(e, px(e, 50, 50));
    e.MouseMove(420, 82);
    QVERIFY(last->x > 100.0f);
    QVERIFY(e.map().getxmax() >= last->x);
    e.release(420, 82);
    QVERIFY(last->x > 100.0f);
    QCOMPARE(exactly(e.map().getxzero()), exactly(0.0f));
}

void TestGraphMouse::releaseOutsidePlotRestoresPoint() {
    GraphCore g;
    standardGeometry(g.map());
    drawLine(g, {{0, 0}, {50, 50}, {100, 0}});
    FPOINT *middle = (*g.store().lines()[0])[1].get();
    press(g, px(g, 50, 50));
    g.MouseMove(250, 40);
    QVERIFY(middle->x != 50.0f);
    g.fitter().Fpointschanged(); // read, so cleared
    g.release(250, 160);         // below the plot: zone 1
    QCOMPARE(exactly(middle->x), exactly(50.0f));
    QCOMPARE(exactly(middle->y), exactly(50.0f));
    QVERIFY(g.fitter().Fpointschanged()); // refitted at once
    QCOMPARE(g.edit().dragmode(), 0);
    QVERIFY(!g.edit().highlight());
}

void TestGraphMouse::stretchHorizontalAxis() {
    GraphCore g;
    standardGeometry(g.map());
    RecordingView view;
    g.setView(&view);
    press(g, {137, 160});
    QCOMPARE(g.edit().dragmode(), 1);
    g.MouseMove(145, 160); // under 10 pixels: nothing
    QCOMPARE(exactly(g.map().getxmax()), exactly(100.0f));
    QCOMPARE(view.repaints, 0);
    g.MouseMove(237, 160);
    QCOMPARE(exactly(g.map().getxmax()), exactly(50.0f));
    QCOMPARE(exactly(g.edit().downpos().x), exactly(237.0f));
    QCOMPARE(view.repaints, 1);
    QCOMPARE(view.lastZone, 1);
    g.release(237, 160);
    QCOMPARE(g.edit().dragmode(), 0);
}

void TestGraphMouse::stretchVerticalAxis() {
    GraphCore g;
    standardGeometry(g.map());
    press(g, {20, 100});
    QCOMPARE(g.edit().dragmode(), 2);
    g.MouseMove(20, 52); // 52 pixels above the axis move to 100 pixels
    QCOMPARE(exactly(g.map().getymax()), exactly(52.0f));
    QCOMPARE(exactly(g.edit().downpos().y), exactly(52.0f));
}

void TestGraphMouse::stretchNeverReachesLowerEnd() {
    GraphCore g;
    standardGeometry(g.map());
    press(g, {137, 160});
    g.MouseMove(37, 160); // onto the axis origin: would divide by zero
    QCOMPARE(exactly(g.map().getxmax()), exactly(100.0f));
    g.MouseMove(20, 160); // behind it: would turn the axis round
    QCOMPARE(exactly(g.map().getxmax()), exactly(100.0f));
    QCOMPARE(exactly(g.edit().downpos().x), exactly(137.0f));
    g.MouseMove(337, 160); // still stretches from the grabbed position
    QCOMPARE(g.map().getxmax(), 100.0f / 3.0f);
    g.release(337, 160);

    press(g, {20, 100});
    g.MouseMove(20, 152);
    g.MouseMove(20, 170);
    QCOMPARE(exactly(g.map().getymax()), exactly(100.0f));
    g.release(20, 170);

    const float before = g.map().getxmax();
    press(g, {35, 160}); // grabbed left of the origin: nothing to stretch
    QCOMPARE(g.edit().dragmode(), 1);
    g.MouseMove(200, 160);
    QCOMPARE(g.map().getxmax(), before);
}

void TestGraphMouse::stretchKeepsGrabbedValueUnderCursor() {
    GraphCore g;
    standardGeometry(g.map());
    g.map().setxzero(20);
    const float grabbed = g.map().cc2w({137, 0}).x;
    press(g, {137, 160});
    g.MouseMove(237, 160);
    QCOMPARE(exactly(g.map().getxmax()), exactly(60.0f));
    QCOMPARE(g.map().cc2w({237, 0}).x, grabbed);
}

void TestGraphMouse::readoutSnapsToRoundValue() {
    GraphCore g;
    standardGeometry(g.map());
    RecordingView view;
    g.setView(&view);
    g.MouseMove(169, 82); // world x 43.42
    QVERIFY(g.edit().readout() != nullptr);
    QCOMPARE(exactly(g.edit().readout()->x), exactly(43.0f));
    QCOMPARE(exactly(g.edit().readout()->y), exactly(50.0f));
    QCOMPARE(view.lastZone, 3);
    QCOMPARE(view.posBoxes, 1);
    QVERIFY(!g.edit().highlight());
    QVERIFY(!g.fitter().due()); // moving without a press changes nothing
    g.MouseMove(345, 100);
    QVERIFY(g.edit().readout() == nullptr);
    QCOMPARE(view.lastZone, 0);
    g.MouseMove(20, 100);
    QCOMPARE(view.lastZone, 2);
}

void TestGraphMouse::pressedInPlotMarksAxisChangedAndHighlights() {
    GraphCore g;
    standardGeometry(g.map());
    RecordingView view;
    g.setView(&view);
    addSingle(g, 50, 50);
    g.fitter().setDue(false);
    press(g, {250, 40}); // away from the point: nothing grabbed
    QVERIFY(!g.edit().dragging());
    g.MouseMove(189, 82);
    QVERIFY(g.fitter().due());
    QVERIFY(g.edit().highlight());
    QCOMPARE(view.erased, 0);
    g.release(189, 82);
    QVERIFY(!g.edit().highlight());
    QCOMPARE(exactly(g.store().points()[0]->x), exactly(50.0f));
}

void TestGraphMouse::removedPointsLeaveNoDanglingMouseState() {
    GraphCore g;
    standardGeometry(g.map());
    RecordingView view;
    g.setView(&view);
    drawLine(g, {{0, 20}, {20, 10}, {50, 50}, {60, 20}});
    // Deleting the dragged point ends the drag.
    press(g, px(g, 50, 50));
    QVERIFY(g.edit().dragging());
    g.DeletePoint(); // at the press position: the dragged point
    QVERIFY(!g.edit().dragging());
    QVERIFY(g.edit().dragpoint() == nullptr);
    g.MouseMove(100, 100);
    g.release(100, 100);
    QCOMPARE(g.store().lines()[0]->size(), std::size_t(3));

    // Deleting a neighbour: the drag goes on between the new neighbours.
    FPOINT *last = g.store().lines()[0]->back().get();
    press(g, px(g, 60, 20));
    QVERIFY(g.edit().dragpoint() == last);
    FPOINT *middle = (*g.store().lines()[0])[1].get();
    QVERIFY(g.edit().dragprev() == middle);
    g.deletepoint(middle);
    QVERIFY(g.edit().dragprev() == g.store().lines()[0]->front().get());
    g.MouseMove(34, 140);
    QCOMPARE(exactly(last->x), exactly(0.0f));
    g.release(34, 140);

    // A readout pointing at a point, and Clear during a drag.
    FPOINT *p = g.store().lines()[0]->front().get();
    g.edit().setReadout(p);
    g.deletepoint(p);
    QVERIFY(g.edit().readout() == nullptr);
    press(g, g.map().w2cc(*g.store().lines()[0]->front()));
    QVERIFY(g.edit().dragging());
    g.Clear();
    QVERIFY(!g.edit().dragging());
    QVERIFY(g.edit().dragpoint() == nullptr && g.edit().dragprev() == nullptr &&
            g.edit().dragnext() == nullptr);
    g.MouseMove(100, 100);
    g.release(300, 160);
    QCOMPARE(g.store().pointCount(), std::size_t(0));
}

void TestGraphMouse::addPointOnEmptyGraphDrawsHorizontalLine() {
    GraphCore g;
    standardGeometry(g.map());
    g.map().setymax(175); // pixel row 122 is world height 37.5
    addSingle(g, 10, 10); // single points do not count as lines
    rightPress(g, {150, 122});
    g.fitter().Fpointschanged(); // read, so cleared
    g.AddPoint();
    QCOMPARE(g.store().lines().size(), std::size_t(1));
    QVERIFY(samePoints(lineValues(g.store(), 0), {{0, 37.5f}, {100, 37.5f}}));
    QVERIFY(g.fitter().Fpointschanged()); // refitted at once
}

void TestGraphMouse::addPointInsertsOnLine() {
    GraphCore g;
    standardGeometry(g.map());
    g.map().setxmax(76);  // 4 pixels per unit
    g.map().setymax(140); // 1 pixel per unit
    drawLine(g, {{0, 10}, {10, 20}});
    const FPOINT *first = g.store().lines()[0]->front().get();
    rightPress(g, {57, 130});    // world (5, 22): pressed above the line
    g.fitter().Fpointschanged(); // read, so cleared
    g.AddPoint();
    QVERIFY(samePoints(lineValues(g.store(), 0), {{0, 10}, {5, 15}, {10, 20}}));
    QVERIFY(g.store().lines()[0]->front().get() == first);
    QVERIFY(g.fitter().Fpointschanged()); // refitted at once
}

void TestGraphMouse::addPointWhereNoSegmentIsDoesNothing() {
    GraphCore g;
    standardGeometry(g.map());
    g.map().setxmax(76);
    g.map().setymax(140);
    RecordingView view;
    g.setView(&view);
    drawLine(g, {{10, 10}, {20, 20}});
    rightPress(g, {57, 142});    // world (5, 10): left of the first point
    g.fitter().Fpointschanged(); // read, so cleared
    view.repaints = 0;
    g.AddPoint();
    QCOMPARE(g.store().lines()[0]->size(), std::size_t(2));
    QVERIFY(!g.fitter().Fpointschanged());
    QCOMPARE(view.repaints, 1);
    rightPress(g, {137, 100}); // world (25, 52): right of the last point
    g.AddPoint();
    QCOMPARE(g.store().lines()[0]->size(), std::size_t(2));

    GraphCore wide; // too far from every line
    wide.map().setSize(353, 193);
    wide.map().setBorders(37, 41, 12, 12);
    wide.map().setxmax(1000);
    wide.map().setymax(1000);
    drawLine(wide, {{0, 0}, {1000, 0}});
    rightPress(wide, {189, 26});
    wide.AddPoint();
    QCOMPARE(wide.store().lines()[0]->size(), std::size_t(2));
}

void TestGraphMouse::deletePointIsNotReportedAsChange() {
    GraphCore g;
    standardGeometry(g.map());
    drawLine(g, {{0, 0}, {50, 50}, {100, 0}});
    g.fitter().Fpointschanged();
    rightPress(g, px(g, 50, 50));
    g.DeletePoint();
    QVERIFY(samePoints(lineValues(g.store(), 0), {{0, 0}, {100, 0}}));
    QVERIFY(!g.fitter().due());
    QVERIFY(!g.fitter().Fpointschanged());
    rightPress(g, px(g, 50, 50)); // nothing there any more
    g.DeletePoint();
    QCOMPARE(g.store().pointCount(), std::size_t(2));
}

void TestGraphMouse::menuEntriesFollowPressPosition() {
    GraphCore g;
    standardGeometry(g.map());
    addSingle(g, 50, 50);
    rightPress(g, {189, 82});
    QVERIFY(g.edit().addPointEnabled(g.map()));
    QVERIFY((g.edit().pressedPoint(g.store(), g.map()) != nullptr));
    rightPress(g, {250, 40});
    QVERIFY(g.edit().addPointEnabled(g.map()));
    QVERIFY(!(g.edit().pressedPoint(g.store(), g.map()) != nullptr));
    rightPress(g, {189, 160});
    QVERIFY(!g.edit().addPointEnabled(g.map()));
}

QTEST_GUILESS_MAIN(TestGraphMouse)
#include "test_graphmouse.moc"
