// The grain panel on its own, under real key events: the entries checked as
// they are typed, the focus passing through them in order, the warning kept
// whole, and a data set's values shown and stored back bit for bit.
#include "datamodule.h"
#include "exactnumbers.h"
#include "grainpanel.h"
#include "tshape.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

GrainPanel::Layout oneLineWarning() {
    return {.captions = {QStringLiteral("Sphere radius"), QStringLiteral("Outer radius"),
                         QStringLiteral("Inner radius"), QStringLiteral("Emission distance")},
            .captionLeft = 10,
            .firstEdit = QRect(120, 40, 81, 21),
            .sphere = QRect(220, 30, 120, 120),
            .warningPos = QPoint(200, 160)};
}

void retype(QLineEdit *edit, const QString &text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

class TestGrainPanel : public QObject {
    Q_OBJECT
private slots:
    void typingChecksAndTabLeaves();
    void warningStaysWhole();
    void valuesComeBackExactly();
};

void TestGrainPanel::typingChecksAndTabLeaves() {
    QWidget window;
    auto *panel = new GrainPanel(oneLineWarning(), &window);
    auto *after = new QPushButton(QStringLiteral("Next"), &window);
    after->move(10, 200);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy changed(panel, &GrainPanel::entryChanged);
    QSignalSpy left(panel, &GrainPanel::entryLeft);

    panel->radiusEdit()->setFocus();
    retype(panel->radiusEdit(), QStringLiteral("30")); // below the outer radius
    QVERIFY(!changed.isEmpty());
    QCOMPARE(changed.last().at(0).toBool(), false);
    QVERIFY(!panel->passes());
    QVERIFY(panel->warning()->isVisible());
    retype(panel->radiusEdit(), QStringLiteral("80"));
    QCOMPARE(changed.last().at(0).toBool(), true);
    QVERIFY(!panel->warning()->isVisible());
    // 120 pixels for 80: the outer circle of 40 is half as wide, centred.
    QCOMPARE(panel->outerCircle()->geometry().center(), panel->sphereCircle()->geometry().center());
    QCOMPARE(panel->outerCircle()->width(), 60);

    const QWidget *order[] = {panel->outerEdit(), panel->innerEdit(), panel->emissionEdit(), after};
    for (const QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QCOMPARE(left.size(), 4);
}

// The warning is one line as wide as its text; a wider one than at the start
// (here from a larger font) widens the panel rather than being cut off.
void TestGrainPanel::warningStaysWhole() {
    QWidget window;
    window.resize(1600, 400);
    auto *panel = new GrainPanel(oneLineWarning(), &window);
    const int before = panel->width();
    QFont large = panel->font();
    large.setPointSize(large.pointSize() * 2);
    panel->setFont(large);
    panel->innerEdit()->setText(QStringLiteral("40")); // as large as the outer radius
    QVERIFY(!panel->warning()->isHidden());
    QVERIFY(panel->width() > before);
    QVERIFY(panel->rect().contains(panel->warning()->geometry()));
    QVERIFY(panel->warning()->width() >= panel->warning()->sizeHint().width());
}

void TestGrainPanel::valuesComeBackExactly() {
    QWidget window;
    auto *panel = new GrainPanel(oneLineWarning(), &window);
    auto shown = std::make_unique<TDataModule1>();
    shown->GrainData.Sphere_radius = 60.5f;
    shown->GrainData.Outer_radius = 0.1f;
    shown->GrainData.Inner_radius = 1e-7f;
    shown->ModelData.Emission_dist = 3.4e38f;
    panel->showValues(*shown);
    auto stored = std::make_unique<TDataModule1>();
    panel->store(*stored);
    QCOMPARE(exactly(stored->GrainData.Sphere_radius), exactly(60.5f));
    QCOMPARE(exactly(stored->GrainData.Outer_radius), exactly(0.1f));
    QCOMPARE(exactly(stored->GrainData.Inner_radius), exactly(1e-7f));
    QCOMPARE(exactly(stored->ModelData.Emission_dist), exactly(3.4e38f));
}

QTEST_MAIN(TestGrainPanel)
#include "test_grainpanel.moc"
