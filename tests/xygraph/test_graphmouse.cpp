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
    return g.w2cc({x, y});
}

void press(GraphCore &g, TPoint p) {
    g.recordPress(p.x, p.y);
    g.pressDrag(p.x, p.y);
}

void rightPress(GraphCore &g, TPoint p) {
    g.recordPress(p.x, p.y);
}

} // namespace

class TestGraphMouse : public QObject {
    Q_OBJECT

private slots:
    void zonesOfExample();
    void nearpointToleranceIsAWorldBox();
    void nearpointPrefersNearestThenFirst();
    void neighboursInLine();
    void nearlinePicksNearestSegmentWithinLimit();
    void dragClampsToNeighboursAndWindow();
    void releaseOutsidePlotRestoresPoint();
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

void TestGraphMouse::zonesOfExample() {
    GraphCore g;
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

void TestGraphMouse::nearpointToleranceIsAWorldBox() {
    GraphCore g;
    standardGeometry(g);
    // Pixel (189, 82) is world (50, 50).
    addSingle(g, 52, 52);
    QVERIFY(g.nearpoint(189, 82) == g.points()[0].get());
    GraphCore far;
    standardGeometry(far);
    addSingle(far, 53, 50);
    QVERIFY(far.nearpoint(189, 82) == nullptr);
    // The box scales with the window: in 0..1000 the same offsets are near.
    far.setxmax(1000);
    far.setymax(1000);
    addSingle(far, 520, 520);
    QVERIFY(far.nearpoint(189, 82) == far.points()[1].get());
}

void TestGraphMouse::nearpointPrefersNearestThenFirst() {
    GraphCore g;
    standardGeometry(g);
    addSingle(g, 51.5f, 50);
    drawLine(g, {{50.5f, 50}, {50, 49.5f}});
    // Two line points 0.5 away beat the single point 1.5 away; the first wins.
    QVERIFY(g.nearpoint(189, 82) == (*g.lines()[0])[0].get());
    GraphCore tie;
    standardGeometry(tie);
    addSingle(tie, 51, 50);
    addSingle(tie, 49, 50);
    QVERIFY(tie.nearpoint(189, 82) == tie.points()[0].get());
}

void TestGraphMouse::neighboursInLine() {
    GraphCore g;
    addSingle(g, 1, 1);
    drawLine(g, {{0, 0}, {1, 1}, {2, 2}});
    const auto &line = *g.lines()[0];
    QVERIFY(g.nearpoint(g.points()[0].get(), true) == nullptr);
    QVERIFY(g.nearpoint(g.points()[0].get(), false) == nullptr);
    QVERIFY(g.nearpoint(line[0].get(), true) == nullptr);
    QVERIFY(g.nearpoint(line[1].get(), true) == line[0].get());
    QVERIFY(g.nearpoint(line[1].get(), false) == line[2].get());
    QVERIFY(g.nearpoint(line[2].get(), false) == nullptr);
}

void TestGraphMouse::nearlinePicksNearestSegmentWithinLimit() {
    GraphCore g;
    standardGeometry(g);
    drawLine(g, {{0, 10}, {100, 10}});
    drawLine(g, {{0, 60}, {100, 60}});
    addSingle(g, 50, 50);
    QCOMPARE(g.nearline(189, 82), 1); // world (50, 50): 10 from the second line
    QCOMPARE(g.nearline(189, 131), 0);

    GraphCore wide; // the limit is 100 world units of detour
    wide.setSize(353, 193);
    wide.setBorders(37, 41, 12, 12);
    wide.setxmax(1000);
    wide.setymax(1000);
    drawLine(wide, {{0, 0}, {10, 0}});
    QCOMPARE(wide.nearline(189, 26), -1); // world (500, 900)
    QCOMPARE(wide.nearline(38, 151), 0);

    GraphCore lone; // a one-point line is never a result
    standardGeometry(lone);
    drawLine(lone, {{50, 50}, {60, 60}});
    lone.deletepoint(lone.lines()[0]->back().get());
    QCOMPARE(lone.nearline(189, 82), -1);
}

void TestGraphMouse::dragClampsToNeighboursAndWindow() {
    GraphCore g;
    standardGeometry(g);
    RecordingView view;
    g.setView(&view);
    drawLine(g, {{0, 0}, {50, 50}, {60, 0}});
    FPOINT *middle = (*g.lines()[0])[1].get();
    press(g, px(g, 50, 50));
    QVERIFY(g.dragging());
    QVERIFY(g.dragpoint() == middle);
    g.MouseMove(34, 82); // left of the plot, still in its widened zone
    QCOMPARE(exactly(middle->x), exactly(0.0f));
    QCOMPARE(exactly(middle->y), exactly(50.0f));
    QCOMPARE(view.erased, 1);
    QCOMPARE(view.drawn, 1);
    g.MouseMove(300, 82);
    QCOMPARE(exactly(middle->x), exactly(60.0f)); // stopped at the next point
    g.release(300, 82);
    QVERIFY(!g.dragging());
    QCOMPARE(exactly(middle->x), exactly(60.0f));

    // An end point stops at the window.
    GraphCore e;
    standardGeometry(e);
    drawLine(e, {{10, 30}, {50, 50}});
    FPOINT *first = e.lines()[0]->front().get();
    press(e, px(e, 10, 30));
    QVERIFY(e.dragpoint() == first);
    QVERIFY(e.dragprev() == nullptr);
    e.MouseMove(34, 100);
    QCOMPARE(exactly(first->x), exactly(0.0f));
    QVERIFY(first->y > 37.0f && first->y < 37.2f);
    e.release(34, 100);
}

void TestGraphMouse::releaseOutsidePlotRestoresPoint() {
    GraphCore g;
    standardGeometry(g);
    drawLine(g, {{0, 0}, {50, 50}, {100, 0}});
    FPOINT *middle = (*g.lines()[0])[1].get();
    press(g, px(g, 50, 50));
    g.MouseMove(250, 40);
    QVERIFY(middle->x != 50.0f);
    g.setAxisChanged(false);
    g.release(250, 160); // below the plot: zone 1
    QCOMPARE(exactly(middle->x), exactly(50.0f));
    QCOMPARE(exactly(middle->y), exactly(50.0f));
    QVERIFY(g.axisChanged());
    QCOMPARE(g.dragmode(), 0);
    QVERIFY(!g.highlight());
}

void TestGraphMouse::stretchHorizontalAxis() {
    GraphCore g;
    standardGeometry(g);
    RecordingView view;
    g.setView(&view);
    press(g, {137, 160});
    QCOMPARE(g.dragmode(), 1);
    g.MouseMove(145, 160); // under 10 pixels: nothing
    QCOMPARE(exactly(g.getxmax()), exactly(100.0f));
    QCOMPARE(view.repaints, 0);
    g.MouseMove(237, 160);
    QCOMPARE(exactly(g.getxmax()), exactly(50.0f));
    QCOMPARE(exactly(g.downpos().x), exactly(237.0f));
    QCOMPARE(view.repaints, 1);
    QCOMPARE(view.lastZone, 1);
    g.release(237, 160);
    QCOMPARE(g.dragmode(), 0);
}

void TestGraphMouse::stretchVerticalAxis() {
    GraphCore g;
    standardGeometry(g);
    press(g, {20, 100});
    QCOMPARE(g.dragmode(), 2);
    g.MouseMove(20, 52); // 52 pixels above the axis move to 100 pixels
    QCOMPARE(exactly(g.getymax()), exactly(52.0f));
    QCOMPARE(exactly(g.downpos().y), exactly(52.0f));
}

void TestGraphMouse::stretchNeverReachesLowerEnd() {
    GraphCore g;
    standardGeometry(g);
    press(g, {137, 160});
    g.MouseMove(37, 160); // onto the axis origin: would divide by zero
    QCOMPARE(exactly(g.getxmax()), exactly(100.0f));
    g.MouseMove(20, 160); // behind it: would turn the axis round
    QCOMPARE(exactly(g.getxmax()), exactly(100.0f));
    QCOMPARE(exactly(g.downpos().x), exactly(137.0f));
    g.MouseMove(337, 160); // still stretches from the grabbed position
    QCOMPARE(g.getxmax(), 100.0f / 3.0f);
    g.release(337, 160);

    press(g, {20, 100});
    g.MouseMove(20, 152);
    g.MouseMove(20, 170);
    QCOMPARE(exactly(g.getymax()), exactly(100.0f));
    g.release(20, 170);

    const float before = g.getxmax();
    press(g, {35, 160}); // grabbed left of the origin: nothing to stretch
    QCOMPARE(g.dragmode(), 1);
    g.MouseMove(200, 160);
    QCOMPARE(g.getxmax(), before);
}

void TestGraphMouse::stretchKeepsGrabbedValueUnderCursor() {
    GraphCore g;
    standardGeometry(g);
    g.setxzero(20);
    const float grabbed = g.cc2w({137, 0}).x;
    press(g, {137, 160});
    g.MouseMove(237, 160);
    QCOMPARE(exactly(g.getxmax()), exactly(60.0f));
    QCOMPARE(g.cc2w({237, 0}).x, grabbed);
}

void TestGraphMouse::readoutSnapsToRoundValue() {
    GraphCore g;
    standardGeometry(g);
    RecordingView view;
    g.setView(&view);
    g.MouseMove(169, 82); // world x 43.42
    QVERIFY(g.readout() != nullptr);
    QCOMPARE(exactly(g.readout()->x), exactly(43.0f));
    QCOMPARE(exactly(g.readout()->y), exactly(50.0f));
    QCOMPARE(view.lastZone, 3);
    QCOMPARE(view.posBoxes, 1);
    QVERIFY(!g.highlight());
    QVERIFY(!g.axisChanged()); // moving without a press changes nothing
    g.MouseMove(345, 100);
    QVERIFY(g.readout() == nullptr);
    QCOMPARE(view.lastZone, 0);
    g.MouseMove(20, 100);
    QCOMPARE(view.lastZone, 2);
}

void TestGraphMouse::pressedInPlotMarksAxisChangedAndHighlights() {
    GraphCore g;
    standardGeometry(g);
    RecordingView view;
    g.setView(&view);
    addSingle(g, 50, 50);
    g.setAxisChanged(false);
    press(g, {250, 40}); // away from the point: nothing grabbed
    QVERIFY(!g.dragging());
    g.MouseMove(189, 82);
    QVERIFY(g.axisChanged());
    QVERIFY(g.highlight());
    QCOMPARE(view.erased, 0);
    g.release(189, 82);
    QVERIFY(!g.highlight());
    QCOMPARE(exactly(g.points()[0]->x), exactly(50.0f));
}

void TestGraphMouse::removedPointsLeaveNoDanglingMouseState() {
    GraphCore g;
    standardGeometry(g);
    RecordingView view;
    g.setView(&view);
    drawLine(g, {{0, 20}, {20, 10}, {50, 50}, {60, 20}});
    // Deleting the dragged point ends the drag.
    press(g, px(g, 50, 50));
    QVERIFY(g.dragging());
    g.DeletePoint(); // at the press position: the dragged point
    QVERIFY(!g.dragging());
    QVERIFY(g.dragpoint() == nullptr);
    g.MouseMove(100, 100);
    g.release(100, 100);
    QCOMPARE(g.lines()[0]->size(), std::size_t(3));

    // Deleting a neighbour: the drag goes on between the new neighbours.
    FPOINT *last = g.lines()[0]->back().get();
    press(g, px(g, 60, 20));
    QVERIFY(g.dragpoint() == last);
    FPOINT *middle = (*g.lines()[0])[1].get();
    QVERIFY(g.dragprev() == middle);
    g.deletepoint(middle);
    QVERIFY(g.dragprev() == g.lines()[0]->front().get());
    g.MouseMove(34, 140);
    QCOMPARE(exactly(last->x), exactly(0.0f));
    g.release(34, 140);

    // A readout pointing at a point, and Clear during a drag.
    FPOINT *p = g.lines()[0]->front().get();
    g.setReadout(p);
    g.deletepoint(p);
    QVERIFY(g.readout() == nullptr);
    press(g, g.w2cc(*g.lines()[0]->front()));
    QVERIFY(g.dragging());
    g.Clear();
    QVERIFY(!g.dragging());
    QVERIFY(g.dragpoint() == nullptr && g.dragprev() == nullptr && g.dragnext() == nullptr);
    g.MouseMove(100, 100);
    g.release(300, 160);
    QCOMPARE(g.pointCount(), std::size_t(0));
}

void TestGraphMouse::addPointOnEmptyGraphDrawsHorizontalLine() {
    GraphCore g;
    standardGeometry(g);
    g.setymax(175);       // pixel row 122 is world height 37.5
    addSingle(g, 10, 10); // single points do not count as lines
    rightPress(g, {150, 122});
    g.setAxisChanged(false);
    g.AddPoint();
    QCOMPARE(g.lines().size(), std::size_t(1));
    QVERIFY(samePoints(lineValues(g, 0), {{0, 37.5f}, {100, 37.5f}}));
    QVERIFY(g.axisChanged());
}

void TestGraphMouse::addPointInsertsOnLine() {
    GraphCore g;
    standardGeometry(g);
    g.setxmax(76);  // 4 pixels per unit
    g.setymax(140); // 1 pixel per unit
    drawLine(g, {{0, 10}, {10, 20}});
    const FPOINT *first = g.lines()[0]->front().get();
    rightPress(g, {57, 130}); // world (5, 22): pressed above the line
    g.setAxisChanged(false);
    g.AddPoint();
    QVERIFY(samePoints(lineValues(g, 0), {{0, 10}, {5, 15}, {10, 20}}));
    QVERIFY(g.lines()[0]->front().get() == first);
    QVERIFY(g.axisChanged());
}

void TestGraphMouse::addPointWhereNoSegmentIsDoesNothing() {
    GraphCore g;
    standardGeometry(g);
    g.setxmax(76);
    g.setymax(140);
    RecordingView view;
    g.setView(&view);
    drawLine(g, {{10, 10}, {20, 20}});
    rightPress(g, {57, 142}); // world (5, 10): left of the first point
    g.setAxisChanged(false);
    view.repaints = 0;
    g.AddPoint();
    QCOMPARE(g.lines()[0]->size(), std::size_t(2));
    QVERIFY(!g.axisChanged());
    QCOMPARE(view.repaints, 1);
    rightPress(g, {137, 100}); // world (25, 52): right of the last point
    g.AddPoint();
    QCOMPARE(g.lines()[0]->size(), std::size_t(2));

    GraphCore wide; // too far from every line
    wide.setSize(353, 193);
    wide.setBorders(37, 41, 12, 12);
    wide.setxmax(1000);
    wide.setymax(1000);
    drawLine(wide, {{0, 0}, {1000, 0}});
    rightPress(wide, {189, 26});
    wide.AddPoint();
    QCOMPARE(wide.lines()[0]->size(), std::size_t(2));
}

void TestGraphMouse::deletePointIsNotReportedAsChange() {
    GraphCore g;
    standardGeometry(g);
    drawLine(g, {{0, 0}, {50, 50}, {100, 0}});
    g.axisGuard();
    g.Fpointschanged();
    rightPress(g, px(g, 50, 50));
    g.DeletePoint();
    QVERIFY(samePoints(lineValues(g, 0), {{0, 0}, {100, 0}}));
    QVERIFY(!g.axisChanged());
    QVERIFY(!g.Fpointschanged());
    rightPress(g, px(g, 50, 50)); // nothing there any more
    g.DeletePoint();
    QCOMPARE(g.pointCount(), std::size_t(2));
}

void TestGraphMouse::menuEntriesFollowPressPosition() {
    GraphCore g;
    standardGeometry(g);
    addSingle(g, 50, 50);
    rightPress(g, {189, 82});
    QVERIFY(g.addPointEnabled());
    QVERIFY(g.deletePointEnabled());
    rightPress(g, {250, 40});
    QVERIFY(g.addPointEnabled());
    QVERIFY(!g.deletePointEnabled());
    rightPress(g, {189, 160});
    QVERIFY(!g.addPointEnabled());
}

QTEST_GUILESS_MAIN(TestGraphMouse)
#include "test_graphmouse.moc"
