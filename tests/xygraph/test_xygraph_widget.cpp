// The control under simulated mouse input on the offscreen platform: dragging,
// stretching, the right press, the order of host events, the readout and the
// pen operations' repaints.
#include "datamodule.h"
#include "errors.h"
#include "exactnumbers.h"
#include "widgetfixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWheelEvent>

#include <QSignalSpy>
#include <cmath>

using namespace fixtures;

class TestXygraphWidget : public QObject {
    Q_OBJECT

private slots:
    void defaultsAfterConstruction();
    void dragClampsAndReportsAfterRepaint();
    void releaseBelowPlotRestoresPoint();
    void dragAboveTopGrowsTheAxis();
    void wheelZoomsAboutCursorAndMiddleButtonPans();
    void onlyUserEditsAreAnnounced();
    void keysUndoAndRedoEveryEdit();
    void boxModeDrawsMovesResizesAndDeletesBoxes();
    void axisStretchFollowsMouse();
    void rightPressOpensMenuAndNeverDrags();
    void hostEventsComeBeforeOwnWork();
    void clickComesBeforeMouseUpAndSeesPreviousRepaint();
    void readoutFollowsCursor();
    void sideScalesAndLabelsSetBorders();
    void paintShowsSheetAndMarkers();
    void curvesTravelThroughModel();
};

void TestXygraphWidget::defaultsAfterConstruction() {
    Txygraph g;
    QCOMPARE(g.getsheetcolor(), QColor(Qt::white));
    QCOMPARE(exactly(g.getxzero()), exactly(0.0f));
    QCOMPARE(exactly(g.getxmax()), exactly(100.0f));
    QCOMPARE(exactly(g.getymax()), exactly(100.0f));
    QCOMPARE(g.FSideScales(), sscNone);
    QCOMPARE(g.FTicks(), sscNone);
    QCOMPARE(g.FAutoAxis(), sscNone);
    QVERIFY(!g.Fbarmode());
    QVERIFY(!g.Feditable());
    QVERIFY(!g.boxMode());
    QVERIFY(!g.Fpointschanged());
    QVERIFY(g.FHLabel().isEmpty());
    QCOMPARE(g.PopupMenu()->actions().size(), 1);
    QCOMPARE(g.PopupMenu()->actions()[0]->text(), QString("Copy"));
    QVERIFY(g.hasMouseTracking());
}

void TestXygraphWidget::dragClampsAndReportsAfterRepaint() {
    Txygraph g;
    showStandard(g);
    drawLine(g, {{0, 20}, {50, 50}, {60, 20}});
    g.repaint();
    QVERIFY(g.Fpointschanged()); // programmatic drawing, reported at the paint
    FPOINT *middle = (*g.core().store().lines()[0])[1].get();

    QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(189, 82));
    QVERIFY(g.core().edit().dragging());
    QTest::mouseMove(&g, QPoint(120, 60));
    QTest::mouseMove(&g, QPoint(34, 60)); // left of the previous point
    QCOMPARE(exactly(middle->x), exactly(0.0f));
    QTest::mouseMove(&g, QPoint(300, 30)); // right of the next point
    QCOMPARE(exactly(middle->x), exactly(60.0f));
    QTest::mouseMove(&g, QPoint(150, 30));
    const FPOINT dropped = g.cc2w({150, 30});
    QCOMPARE(middle->x, dropped.x);
    QCOMPARE(middle->y, dropped.y);
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(150, 30));
    QVERIFY(!g.core().edit().dragging());
    QCOMPARE(middle->x, dropped.x);
    g.repaint();
    QVERIFY(g.Fpointschanged());
    QVERIFY(!g.Fpointschanged());
    // The repainted canvas has the marker at its new place.
    const QImage img = g.canvasImage();
    const TPoint at = g.w2cc(*middle);
    for (const QPoint corner : {QPoint(-2, -2), QPoint(1, -2), QPoint(-2, 1), QPoint(1, 1)})
        QVERIFY(qGray(img.pixel(at.x + corner.x(), at.y + corner.y())) < 128);
}

void TestXygraphWidget::releaseBelowPlotRestoresPoint() {
    Txygraph g;
    showStandard(g);
    drawLine(g, {{0, 20}, {50, 50}, {100, 20}});
    FPOINT *middle = (*g.core().store().lines()[0])[1].get();
    QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(189, 82));
    QTest::mouseMove(&g, QPoint(250, 40));
    QVERIFY(middle->x > 60.0f);
    QTest::mouseMove(&g, QPoint(250, 170));
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(250, 170));
    QCOMPARE(exactly(middle->x), exactly(50.0f));
    QCOMPARE(exactly(middle->y), exactly(50.0f));
}

void TestXygraphWidget::dragAboveTopGrowsTheAxis() {
    Txygraph g;
    showStandard(g);
    QSignalSpy edited(&g, &Txygraph::pointsEdited);
    drawLine(g, {{0, 20}, {50, 50}, {100, 20}});
    FPOINT *middle = (*g.core().store().lines()[0])[1].get();
    QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(189, 82));
    QTest::mouseMove(&g, QPoint(189, 40));
    QTest::mouseMove(&g, QPoint(189, 4));
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(189, 4));
    QVERIFY(middle->y > 100.0f);
    QVERIFY(g.getymax() >= middle->y);
    QCOMPARE(exactly(g.getyzero()), exactly(0.0f));
    g.repaint();
    QCOMPARE(edited.count(), 1);
}

// One wheel notch in and one out come back to the window; the world value under
// the cursor stays there. A middle drag moves the picture with the mouse.
void TestXygraphWidget::wheelZoomsAboutCursorAndMiddleButtonPans() {
    Txygraph g;
    showStandard(g);
    const QPoint at(113, 117); // world (25, 25)
    const FPOINT before = g.cc2w({at.x(), at.y()});
    auto wheel = [&](int delta) {
        QWheelEvent e(at, g.mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase,
                      false);
        QApplication::sendEvent(&g, &e);
    };
    wheel(120);
    QVERIFY(g.getxmax() - g.getxzero() < 99.0f); // zoomed in
    QVERIFY(g.getymax() - g.getyzero() < 99.0f);
    const FPOINT under = g.cc2w({at.x(), at.y()});
    QVERIFY(std::abs(under.x - before.x) < 0.5f && std::abs(under.y - before.y) < 0.5f);
    wheel(-120);
    QVERIFY(std::abs(g.getxzero()) < 1e-3f && std::abs(g.getxmax() - 100.0f) < 1e-3f);
    QVERIFY(std::abs(g.getyzero()) < 1e-3f && std::abs(g.getymax() - 100.0f) < 1e-3f);

    drawLine(g, {{10, 10}, {50, 50}});
    const auto points = lineValues(g.core().store(), 0);
    QTest::mousePress(&g, Qt::MiddleButton, {}, QPoint(189, 82));
    QTest::mouseMove(&g, QPoint(265, 47)); // 76 pixels right, 35 up: 25 and 25
    QTest::mouseRelease(&g, Qt::MiddleButton, {}, QPoint(265, 47));
    QVERIFY(std::abs(g.getxzero() + 25.0f) < 1e-3f && std::abs(g.getxmax() - 75.0f) < 1e-3f);
    QVERIFY(std::abs(g.getyzero() + 25.0f) < 1e-3f && std::abs(g.getymax() - 75.0f) < 1e-3f);
    QVERIFY(samePoints(lineValues(g.core().store(), 0), {points[0], points[1]})); // no drag
}

// Hosts learn of an edit when it is complete, whatever the order of repaints.
void TestXygraphWidget::onlyUserEditsAreAnnounced() {
    Txygraph g;
    showStandard(g);
    QSignalSpy edited(&g, &Txygraph::pointsEdited);
    drawLine(g, {{0, 20}, {50, 50}, {100, 20}});
    g.repaint();
    QCOMPARE(edited.count(), 0); // filled from code

    QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(189, 82));
    QTest::mouseMove(&g, QPoint(200, 60));
    QCOMPARE(edited.count(), 0); // not while the point is still held
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(200, 60));
    QCOMPARE(edited.count(), 1); // no repaint in between

    // A press and release in place, a drop outside the plot (undone) and a
    // hover move change nothing.
    const TPoint at = g.w2cc(*(*g.core().store().lines()[0])[1]);
    QTest::mouseClick(&g, Qt::LeftButton, {}, QPoint(at.x, at.y));
    QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(at.x, at.y));
    QTest::mouseMove(&g, QPoint(250, 40));
    QTest::mouseMove(&g, QPoint(250, 170));
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(250, 170));
    QTest::mouseMove(&g, QPoint(100, 100));
    QCOMPARE(edited.count(), 1);
}

// A drag, a paste and a host's replacement are undone and redone by the keys
// in any order; a new edit forgets what could be redone.
void TestXygraphWidget::keysUndoAndRedoEveryEdit() {
    Txygraph g;
    showStandard(g);
    drawLine(g, {{0, 20}, {50, 50}, {100, 20}});
    g.setUndoable();
    g.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&g));
    QSignalSpy edited(&g, &Txygraph::pointsEdited);
    const auto line = [&g] { return lineValues(g.core().store(), 0); };
    // What a listener reads when told: the points after the step.
    std::vector<std::vector<FPOINT>> told;
    connect(&g, &Txygraph::pointsEdited, &g, [&] { told.push_back(line()); });
    const auto toldTheStep = [&] {
        const auto now = line();
        return !told.empty() && told.back().size() == now.size() &&
               std::equal(now.begin(), now.end(), told.back().begin(),
                          [](FPOINT a, FPOINT b) { return a.x == b.x && a.y == b.y; });
    };
    const auto undoKey = [&g] { QTest::keyClick(&g, Qt::Key_Z, Qt::ControlModifier); };
    const auto redoKey = [&g] {
        QTest::keyClick(&g, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    };

    QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(189, 82));
    QTest::mouseMove(&g, QPoint(200, 60));
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(200, 60));
    const auto dragged = line();
    g.pasteLine("0\t10\n500\t120\n"); // beyond the window: the axes grow
    QVERIFY(g.getxmax() >= 500.0f && g.getymax() >= 120.0f);
    QVERIFY(samePoints(line(), {{0, 10}, {500, 120}}));
    g.Clear(); // a host's table edit
    drawLine(g, {{1, 2}, {3, 4}});
    g.recordEdit();
    QCOMPARE(edited.count(), 2); // the drag and the paste; the host tells its own

    undoKey();
    QVERIFY(samePoints(line(), {{0, 10}, {500, 120}}));
    QVERIFY(toldTheStep());
    undoKey();
    QVERIFY(toldTheStep());
    QCOMPARE(line().size(), dragged.size());
    QCOMPARE(exactly(line()[1].y), exactly(dragged[1].y));
    undoKey();
    QVERIFY(samePoints(line(), {{0, 20}, {50, 50}, {100, 20}}));
    QVERIFY(!g.undoAction()->isEnabled());
    undoKey(); // nothing left: nothing happens
    QCOMPARE(edited.count(), 5);
    redoKey();
    QVERIFY(toldTheStep());
    redoKey();
    QVERIFY(samePoints(line(), {{0, 10}, {500, 120}}));
    QVERIFY(toldTheStep());

    // A new edit after undoing: the host's line can no longer come back.
    g.pasteLine("5;6\n7;8");
    QVERIFY(!g.redoAction()->isEnabled());
    redoKey();
    QVERIFY(samePoints(line(), {{5, 6}, {7, 8}}));
    undoKey();
    QVERIFY(samePoints(line(), {{0, 10}, {500, 120}}));

    // A block that is not two columns changes nothing and is no step.
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, g.pasteLine("1\t2\t3"));
    QVERIFY(samePoints(line(), {{0, 10}, {500, 120}}));
    redoKey();
    QVERIFY(samePoints(line(), {{5, 6}, {7, 8}}));
}

// The mouse and the keys reach the box tool: each completed edit is told
// once, a click only selects, and the points stay as they were.
void TestXygraphWidget::boxModeDrawsMovesResizesAndDeletesBoxes() {
    Txygraph g;
    showStandard(g);
    g.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&g));
    drawLine(g, {{0, 20}, {50, 50}, {100, 20}});
    g.setUndoable();
    g.setBoxMode(true);
    QSignalSpy boxesEdited(&g, &Txygraph::boxesEdited);
    QSignalSpy pointsEdited(&g, &Txygraph::pointsEdited);
    const auto drag = [&g](QPoint from, QPoint to) {
        QTest::mousePress(&g, Qt::LeftButton, {}, from);
        QTest::mouseMove(&g, (from + to) / 2);
        QTest::mouseMove(&g, to);
        QTest::mouseRelease(&g, Qt::LeftButton, {}, to);
    };
    const auto pixelOf = [&g](float x, float y) {
        const TPoint p = g.w2cc({x, y});
        return QPoint(p.x, p.y);
    };

    QTest::mouseMove(&g, QPoint(250, 40));
    QCOMPARE(g.cursor().shape(), Qt::CrossCursor);
    QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(250, 40));
    QTest::mouseMove(&g, QPoint(280, 26));
    QCOMPARE(boxesEdited.count(), 0); // not while the button is held
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(280, 26));
    QCOMPARE(boxesEdited.count(), 1);
    QCOMPARE(g.boxes().size(), std::size_t(1));
    QCOMPARE(g.selectedBox(), 0);
    const OverlayBox drawn = g.boxes()[0];
    QVERIFY(drawn.width() > 5 && drawn.height() > 5);

    const QPoint middle = pixelOf((drawn.x0 + drawn.x1) / 2, (drawn.y0 + drawn.y1) / 2);
    QTest::mouseMove(&g, middle);
    QCOMPARE(g.cursor().shape(), Qt::SizeAllCursor);
    drag(middle, middle + QPoint(-60, 30));
    QCOMPARE(boxesEdited.count(), 2);
    const OverlayBox moved = g.boxes()[0];
    QVERIFY(moved.x1 < drawn.x1 && moved.y1 < drawn.y1);
    QCOMPARE(moved.width(), drawn.width());

    const QPoint rightEdge = pixelOf(moved.x1, (moved.y0 + moved.y1) / 2);
    QTest::mouseMove(&g, rightEdge);
    QCOMPARE(g.cursor().shape(), Qt::SizeHorCursor);
    drag(rightEdge, rightEdge + QPoint(40, 0));
    QCOMPARE(boxesEdited.count(), 3);
    QVERIFY(g.boxes()[0].x1 > moved.x1);
    QCOMPARE(g.boxes()[0].x0, moved.x0);

    // A click on it selects it, no edit; the Delete key removes it.
    g.selectBox(-1);
    QTest::mouseClick(&g, Qt::LeftButton, {}, middle + QPoint(-60, 30));
    QCOMPARE(g.selectedBox(), 0);
    QCOMPARE(boxesEdited.count(), 3);
    QTRY_VERIFY(g.hasFocus()); // the click gave it
    QTest::keyClick(&g, Qt::Key_Delete);
    QVERIFY(g.boxes().empty());
    QCOMPARE(boxesEdited.count(), 4);

    // The menu's "Delete Box" removes the box the right button pressed.
    g.setBoxes({{10, 30, 60, 90}});
    g.selectBox(-1);
    QTest::mousePress(&g, Qt::RightButton, {}, pixelOf(20, 75));
    QAction *entry = g.findmenu("Delete Box");
    QVERIFY(entry && entry->isVisible() && entry->isEnabled());
    g.PopupMenu()->hide();
    entry->trigger();
    QVERIFY(g.boxes().empty());
    QCOMPARE(boxesEdited.count(), 5);

    // Boxes are no points: nothing told, nothing to undo.
    QCOMPARE(pointsEdited.count(), 0);
    QVERIFY(samePoints(lineValues(g.core().store(), 0), {{0, 20}, {50, 50}, {100, 20}}));
    QVERIFY(!g.undoAction()->isEnabled());
    // Out of box mode the left button takes points again.
    g.setBoxMode(false);
    QTest::mousePress(&g, Qt::LeftButton, {}, pixelOf(50, 50));
    QVERIFY(g.core().edit().dragging());
    QTest::mouseRelease(&g, Qt::LeftButton, {}, pixelOf(50, 50));
}

void TestXygraphWidget::axisStretchFollowsMouse() {
    Txygraph g;
    showStandard(g);
    QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(137, 170));
    QTest::mouseMove(&g, QPoint(145, 170));
    QCOMPARE(exactly(g.getxmax()), exactly(100.0f));
    QCOMPARE(g.cursor().shape(), Qt::SplitHCursor);
    QTest::mouseMove(&g, QPoint(237, 170));
    QCOMPARE(exactly(g.getxmax()), exactly(50.0f));
    QTest::mouseMove(&g, QPoint(10, 170)); // past the origin: refused
    QCOMPARE(exactly(g.getxmax()), exactly(50.0f));
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(10, 170));

    QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(20, 100));
    QTest::mouseMove(&g, QPoint(20, 52));
    QCOMPARE(exactly(g.getymax()), exactly(52.0f));
    QCOMPARE(g.cursor().shape(), Qt::SplitVCursor);
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(20, 52));
    QCOMPARE(g.core().edit().dragmode(), 0);
}

void TestXygraphWidget::rightPressOpensMenuAndNeverDrags() {
    Txygraph g;
    showStandard(g);
    g.Seteditable(true);
    drawLine(g, {{0, 20}, {50, 50}, {100, 20}});
    FPOINT *middle = (*g.core().store().lines()[0])[1].get();
    QSignalSpy shown(g.PopupMenu(), &QMenu::aboutToShow);
    QTest::mousePress(&g, Qt::RightButton, {}, QPoint(189, 82));
    QCOMPARE(shown.count(), 1);
    QVERIFY(g.PopupMenu()->isVisible());
    QVERIFY(!g.core().edit().dragging());
    QCOMPARE(g.core().edit().dragmode(), 0);
    QVERIFY(g.findmenu("Add Point")->isEnabled());
    QVERIFY(g.findmenu("Delete Point")->isEnabled());
    g.PopupMenu()->hide();
    g.MouseMove({}, 250, 40);
    QCOMPARE(exactly(middle->x), exactly(50.0f));
    QCOMPARE(exactly(middle->y), exactly(50.0f));

    // Below the plot and away from points both point entries are disabled.
    QTest::mousePress(&g, Qt::RightButton, {}, QPoint(250, 170));
    QVERIFY(!g.findmenu("Add Point")->isEnabled());
    QVERIFY(!g.findmenu("Delete Point")->isEnabled());
    g.PopupMenu()->hide();
}

void TestXygraphWidget::hostEventsComeBeforeOwnWork() {
    Txygraph g;
    showStandard(g);
    addSingle(g, 50, 50);
    QStringList seen;
    connect(&g, &Txygraph::OnMouseDown,
            [&](Txygraph *sender, Qt::MouseButton button, TShiftState shift, int x, int y) {
                QCOMPARE(sender, &g);
                QCOMPARE(button, Qt::LeftButton);
                QVERIFY(shift.keys & Qt::ShiftModifier);
                QCOMPARE(g.core().edit().downpos().x, float(x)); // recorded first
                QCOMPARE(g.core().edit().downpos().y, float(y));
                QCOMPARE(g.core().edit().dragmode(), 0); // the press is not handled yet
                seen << "down";
            });
    connect(&g, &Txygraph::OnMouseMove, [&](Txygraph *, TShiftState, int, int) {
        QVERIFY(g.core().edit().readout() == nullptr); // the readout follows after
        seen << "move";
    });
    connect(&g, &Txygraph::OnMouseUp, [&](Txygraph *, Qt::MouseButton, TShiftState, int, int) {
        QCOMPARE(g.core().edit().dragmode(), 3); // still pressed when the host hears it
        seen << "up";
    });
    QTest::mousePress(&g, Qt::LeftButton, Qt::ShiftModifier, QPoint(189, 82));
    QCOMPARE(g.core().edit().dragmode(), 3);
    g.MouseMove({}, 345, 100); // outside: the readout is cleared
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(189, 82));
    QCOMPARE(seen, (QStringList{"down", "move", "up"}));
}

void TestXygraphWidget::clickComesBeforeMouseUpAndSeesPreviousRepaint() {
    Txygraph g;
    showStandard(g);
    drawLine(g, {{0, 20}, {50, 50}, {100, 20}});
    g.repaint();
    g.Fpointschanged();
    QStringList order;
    bool changedAtClick = true;
    connect(&g, &Txygraph::OnClick, [&](Txygraph *sender) {
        QCOMPARE(sender, &g);
        changedAtClick = g.Fpointschanged();
        order << "click";
    });
    connect(&g, &Txygraph::OnMouseUp,
            [&](Txygraph *, Qt::MouseButton, TShiftState, int, int) { order << "up"; });
    QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(189, 82));
    QTest::mouseMove(&g, QPoint(200, 60));
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(200, 60));
    QCOMPARE(order, (QStringList{"click", "up"}));
    QVERIFY(!changedAtClick); // the drag is reported by the repaint that follows
    QCOMPARE(g.core().map().topborder(), 10);
    g.repaint();
    QVERIFY(g.Fpointschanged());

    // A right press and release is no click.
    order.clear();
    QTest::mouseRelease(&g, Qt::RightButton, {}, QPoint(200, 60));
    QCOMPARE(order, QStringList{"up"});
}

void TestXygraphWidget::readoutFollowsCursor() {
    Txygraph g;
    showStandard(g);
    g.repaint();
    QTest::mouseMove(&g, QPoint(169, 82)); // world x 43.42 shows as 43
    QVERIFY(g.core().edit().readout() != nullptr);
    QCOMPARE(exactly(g.core().edit().readout()->x), exactly(43.0f));
    QCOMPARE(g.cursor().shape(), Qt::UpArrowCursor);
    const QImage withText = g.canvasImage();
    QTest::mouseMove(&g, QPoint(345, 100));
    QVERIFY(g.core().edit().readout() == nullptr);
    const QImage empty = g.canvasImage();
    auto ink = [](const QImage &img) {
        int n = 0;
        for (int y = 2; y < 12; ++y)
            for (int x = 353 - 68; x < 352; ++x)
                n += qGray(img.pixel(x, y)) < 160;
        return n;
    };
    QVERIFY(ink(withText) > 0);
    QCOMPARE(ink(empty), 0);
}

void TestXygraphWidget::sideScalesAndLabelsSetBorders() {
    QWidget parent;
    auto *g = new Txygraph(&parent);
    g->SetSideScales(sscBoth);
    g->SetTicks(sscBoth);
    g->SetHLabel("Time");
    g->SetVLabel("Temperature");
    const QFontMetrics fm(g->font());
    int widest = 0;
    for (QChar c : QString("Temperature"))
        widest = std::max(widest, fm.horizontalAdvance(c));
    QCOMPARE(g->core().map().bottomborder(), fm.height() + 24 + 4);
    // The left border holds the title's column and a band for the widest
    // number of the vertical scale, which grows with the numbers.
    g->resize(353, 193);
    parent.show();
    const int narrow = g->core().map().leftborder();
    QVERIFY(narrow > widest + 24 + 4);
    g->setymax(100000);
    QCOMPARE(g->core().map().leftborder() - narrow,
             fm.horizontalAdvance("100000") - fm.horizontalAdvance("100"));
    QCOMPARE(g->FSideScales(), sscBoth);
    QCOMPARE(g->FHLabel(), QString("Time"));
    g->SetSideScales(sscBoth); // keeps the label borders
    QCOMPARE(g->core().map().leftborder() - narrow,
             fm.horizontalAdvance("100000") - fm.horizontalAdvance("100"));
}

void TestXygraphWidget::paintShowsSheetAndMarkers() {
    Txygraph g;
    showStandard(g);
    g.setsheetcolor(QColor(160, 160, 160));
    addSingle(g, 25, 75);
    g.repaint();
    const QImage img = g.canvasImage();
    QCOMPARE(img.size(), QSize(353, 193) * g.devicePixelRatioF());
    QCOMPARE(img.pixelColor(250, 120), QColor(160, 160, 160));
    const TPoint at = g.w2cc({25, 75});
    QVERIFY(qGray(img.pixel(at.x + 1, at.y + 1)) < 128);
    QCOMPARE(img.pixelColor(at.x, at.y), QColor(Qt::white));
    // The widget shows its canvas.
    const QImage shown = g.grab().toImage();
    QCOMPARE(shown.pixelColor(250, 120), QColor(160, 160, 160));
}

void TestXygraphWidget::curvesTravelThroughModel() {
    Txygraph g;
    TDataModule1 dm;
    dm.DisplayGraph = &g;
    dm.SourceGraph = &g;
    dm.GetCurrentCurve().Append(0, 20);
    dm.GetCurrentCurve().Append(10, 60);
    dm.GetCurrentCurve().Append(30, 40);
    dm.DrawCurve();
    QCOMPARE(g.core().store().lines().size(), std::size_t(1));
    QVERIFY(samePoints(lineValues(g.core().store(), 0), {{0, 20}, {10, 60}, {30, 40}}));
    g.Setbarmode(true);
    dm.CaptureCurve();
    QCOMPARE(dm.GetCurrentCurve().PointCount(), 7); // x = 0, 5, 10, 15, 20, 25, 30
    QCOMPARE(exactly(dm.GetCurrentCurve().Time[2]), exactly(5.0f));
    QCOMPARE(exactly(dm.GetCurrentCurve().Temp[2]), exactly(40.0f));

    dm.GetCurrentCurve().MakeEmpty();
    dm.GetCurrentCurve().Append(7, 8);
    dm.DrawCurve(); // one point: a single point and no line
    QCOMPARE(g.core().store().points().size(), std::size_t(1));
    QVERIFY(g.core().store().lines().empty());
}

QTEST_MAIN(TestXygraphWidget)
#include "test_xygraph_widget.moc"
