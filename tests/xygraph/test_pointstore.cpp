// The point store: pen-plotter filling, enumeration, deleting by identity and
// the bar-mode subdivision.
#include "curveundo.h"
#include "errors.h"
#include "exactnumbers.h"
#include "graphfixtures.h"
#include "pointstore.h"

#include <QTest>

using namespace fixtures;

class TestPointStore : public QObject {
    Q_OBJECT

private slots:
    void penPlotterBuildsLinesAndSinglePoints();
    void newLineStartsAtPenPositionOfFirstPenDown();
    void enumerationOrderSinglesThenLines();
    void enumLinesReportsWhereLinesBegin();
    void clearRemovesEverything();
    void strokeGoesOnInNewLineAfterItsLineIsRemoved();
    void deletepointByIdentity();
    void lineEmptiedByDeletingIsRemoved();
    void neighboursInLine();
    void subdivisionKeepsPointIdentity();
    void subdivisionRefusesHugeLineAndChangesNothing();
    void undoKeepsTwoHundredSteps();
};

void TestPointStore::penPlotterBuildsLinesAndSinglePoints() {
    PointStore g;
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
    PointStore s;
    addSingle(s, 3, 4);
    QCOMPARE(s.points().size(), std::size_t(1));
    QVERIFY(s.lines().empty());
    QVERIFY(s.added());
    // A pen-up MoveTo adds nothing; a repeated PenUp adds nothing.
    s.MoveTo(7, 7);
    QVERIFY(!s.added());
    s.PenUp();
    QVERIFY(!s.added());
    QCOMPARE(s.pointCount(), std::size_t(1));
}

void TestPointStore::newLineStartsAtPenPositionOfFirstPenDown() {
    PointStore g;
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

void TestPointStore::enumerationOrderSinglesThenLines() {
    PointStore g;
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
    PointStore many;
    for (int i = 0; i < 50; ++i)
        drawLine(many, {{float(i), 0}, {float(i), 1}, {float(i), 2}});
    QCOMPARE(many.EnumPoints(149, &x, &y), 150);
    QCOMPARE(exactly(x), exactly(49.0f));
    QCOMPARE(many.EnumPoints(4, &x, &y), 5);
    QCOMPARE(exactly(x), exactly(1.0f));
    QCOMPARE(exactly(y), exactly(1.0f));
    QCOMPARE(pointsOf(many).size(), std::size_t(150));
}

void TestPointStore::enumLinesReportsWhereLinesBegin() {
    PointStore g;
    addSingle(g, 1, 2);
    addSingle(g, 3, 4);
    int first = -7;
    QCOMPARE(g.EnumLines(0, &first), 0); // no line yet
    drawLine(g, {{10, 11}, {12, 13}});
    QCOMPARE(g.EnumLines(0, &first), 2);
    QCOMPARE(g.EnumLines(1, &first), 0);
    QCOMPARE(first, -7);
}

void TestPointStore::clearRemovesEverything() {
    PointStore g;
    addSingle(g, 1, 2);
    drawLine(g, {{10, 11}, {12, 13}});
    g.Clear();
    float x = 0, y = 0;
    QCOMPARE(g.EnumPoints(0, &x, &y), 0);
    QCOMPARE(g.pointCount(), std::size_t(0));
}

void TestPointStore::strokeGoesOnInNewLineAfterItsLineIsRemoved() {
    PointStore g;
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

void TestPointStore::deletepointByIdentity() {
    PointStore g;
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
    QVERIFY(g.deletepoint(g.points()[0].get()));
    QVERIFY(g.points().empty());
}

void TestPointStore::lineEmptiedByDeletingIsRemoved() {
    PointStore g;
    drawLine(g, {{0, 0}, {1, 1}});
    drawLine(g, {{2, 2}, {3, 3}});
    g.deletepoint(g.lines()[0]->back().get());
    g.deletepoint(g.lines()[0]->back().get());
    QCOMPARE(g.lines().size(), std::size_t(1));
    QVERIFY(samePoints(lineValues(g, 0), {{2, 2}, {3, 3}}));
    QCOMPARE(pointsOf(g).size(), std::size_t(2));
}

void TestPointStore::subdivisionKeepsPointIdentity() {
    PointStore g;
    addSingle(g, 0, 0);
    drawLine(g, {{0, 0}, {20, 0}});
    const FPOINT *single = g.points()[0].get();
    const FPOINT *first = g.lines()[0]->front().get();
    const FPOINT *last = g.lines()[0]->back().get();
    g.subdivide(5);
    QCOMPARE(g.points()[0].get(), single);
    QCOMPARE(g.lines()[0]->front().get(), first);
    QCOMPARE(g.lines()[0]->back().get(), last);
    QCOMPARE(g.lines()[0]->size(), std::size_t(5));
}

void TestPointStore::subdivisionRefusesHugeLineAndChangesNothing() {
    PointStore g;
    drawLine(g, {{0, 0}, {12, 0}});
    drawLine(g, {{0, 0}, {6e7f, 0}}); // 12 million bars
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, g.subdivide(5));
    QCOMPARE(g.lines()[0]->size(), std::size_t(2));
    QCOMPARE(g.lines()[1]->size(), std::size_t(2));

    // The limit holds for the whole graph, not for each line alone.
    PointStore many;
    for (int i = 0; i < 3; ++i)
        drawLine(many, {{0, 0}, {2e7f, 0}}); // 4 million bars each
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, many.subdivide(5));
    QCOMPARE(many.pointCount(), std::size_t(6));
}

void TestPointStore::neighboursInLine() {
    PointStore g;
    addSingle(g, 1, 1);
    drawLine(g, {{0, 0}, {1, 1}, {2, 2}});
    const auto &line = *g.lines()[0];
    QVERIFY(g.neighbour(g.points()[0].get(), true) == nullptr);
    QVERIFY(g.neighbour(g.points()[0].get(), false) == nullptr);
    QVERIFY(g.neighbour(line[0].get(), true) == nullptr);
    QVERIFY(g.neighbour(line[1].get(), true) == line[0].get());
    QVERIFY(g.neighbour(line[1].get(), false) == line[2].get());
    QVERIFY(g.neighbour(line[2].get(), false) == nullptr);
}

// The undo history keeps the last 200 steps: after 201 changes the first
// state is gone and the one after it is as far back as undo goes.
void TestPointStore::undoKeepsTwoHundredSteps() {
    const auto state = [](int k) {
        PointStore::Shape s;
        s.singles.push_back({float(k), 0});
        return s;
    };
    CurveUndo undo;
    undo.reset(state(0));
    for (int k = 1; k <= 201; ++k)
        QVERIFY(undo.record(state(k)));
    PointStore::Shape current = state(201);
    int steps = 0;
    while (const auto back = undo.undo(current)) {
        current = *back;
        ++steps;
    }
    QCOMPARE(steps, 200);
    QVERIFY(current == state(1));
}

QTEST_GUILESS_MAIN(TestPointStore)
#include "test_pointstore.moc"
