// Round numbers for axis ends, ticks and the cursor readout.
#include "exactnumbers.h"
#include "niceval.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace graphmath;

class TestNiceval : public QObject {
    Q_OBJECT

private slots:
    void decadeTruncatesTowardZero_data();
    void decadeTruncatesTowardZero();
    void nicevalExamples_data();
    void nicevalExamples();
    void nicevalEndsOnDegenerateInput();
    void roundestLiesWithinAndIsRound_data();
    void roundestLiesWithinAndIsRound();
    void calcticksExamples_data();
    void calcticksExamples();
    void calcticksStayWithinTheAxis_data();
    void calcticksStayWithinTheAxis();
    void calcticksWithoutTicksWritesNothing();
    void calcticksEndsWhenStepCannotAdvance();
};

void TestNiceval::decadeTruncatesTowardZero_data() {
    QTest::addColumn<float>("v");
    QTest::addColumn<int>("expected");
    QTest::newRow("1000 passes through double: 2") << 1000.0f << 2;
    QTest::newRow("1e6: 5") << 1e6f << 5;
    QTest::newRow("10") << 10.0f << 1;
    QTest::newRow("100") << 100.0f << 2;
    QTest::newRow("1e4") << 1e4f << 4;
    QTest::newRow("1e5") << 1e5f << 5;
    QTest::newRow("0.1f lies above 0.1") << 0.1f << 0;
    QTest::newRow("9.99") << 9.99f << 0;
    QTest::newRow("0.05") << 0.05f << -1;
    QTest::newRow("0.011") << 0.011f << -1;
    QTest::newRow("250") << 250.0f << 2;
}

void TestNiceval::decadeTruncatesTowardZero() {
    QFETCH(float, v);
    QFETCH(int, expected);
    QCOMPARE(decade(v), expected);
}

void TestNiceval::nicevalExamples_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<bool>("high");
    QTest::addColumn<float>("expected");
    QTest::newRow("23..47 low") << 23.0f << 47.0f << false << 30.0f;
    QTest::newRow("23..47 high") << 23.0f << 47.0f << true << 30.0f;
    QTest::newRow("0..25 high") << 0.0f << 25.0f << true << 20.0f;
    QTest::newRow("0..7 high") << 0.0f << 7.0f << true << 4.0f;
    QTest::newRow("0..15 high") << 0.0f << 15.0f << true << 10.0f;
    QTest::newRow("0..15 low") << 0.0f << 15.0f << false << 0.0f;
    QTest::newRow("12..13 low") << 12.0f << 13.0f << false << 12.0f;
    QTest::newRow("35..50 low") << 35.0f << 50.0f << false << 40.0f;
    QTest::newRow("72..110 low") << 72.0f << 110.0f << false << 100.0f;
    QTest::newRow("0.5..0.9 low goes above y") << 0.5f << 0.9f << false << 1.0f;
    QTest::newRow("0.5..0.9 high is y") << 0.5f << 0.9f << true << 0.9f;
    QTest::newRow("-3..2 low") << -3.0f << 2.0f << false << 0.0f;
    QTest::newRow("-3..2 high") << -3.0f << 2.0f << true << 2.0f;
    QTest::newRow("5..2 high") << 5.0f << 2.0f << true << 2.0f;
    QTest::newRow("5..2 low") << 5.0f << 2.0f << false << 5.0f;
}

void TestNiceval::nicevalExamples() {
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(bool, high);
    QFETCH(float, expected);
    QCOMPARE(static_cast<float>(niceval(x, y, high)), expected);
}

void TestNiceval::nicevalEndsOnDegenerateInput() {
    const float tiny = std::numeric_limits<float>::denorm_min();
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Halving the smallest float rounds to 0 again and again.
    QCOMPARE(static_cast<float>(niceval(0.0f, tiny, true)), tiny);
    QCOMPARE(static_cast<float>(niceval(1.0f, inf, true)), inf);
    QCOMPARE(exactly(static_cast<float>(niceval(1.0f, inf, false))), exactly(1.0f));
    QCOMPARE(exactly(static_cast<float>(niceval(nan, 5.0f, true))), exactly(5.0f));
    QCOMPARE(static_cast<float>(niceval(3e38f, 3.4e38f, false)), 3e38f);
}

// What the cursor readout and the box edges snap to: a value inside the
// interval with no digit below `unit`, the roundest there is.
void TestNiceval::roundestLiesWithinAndIsRound_data() {
    QTest::addColumn<float>("a");
    QTest::addColumn<float>("b");
    QTest::addColumn<float>("unit");
    QTest::newRow("above 1") << 39.2f << 40.6f << 10.0f;
    QTest::newRow("either order") << 40.6f << 39.2f << 10.0f;
    QTest::newRow("straddling 0 is 0") << -0.55f << 0.75f << 1.0f;
    QTest::newRow("below 0 as above it") << -10.5f << -9.2f << 10.0f;
    QTest::newRow("below 1") << 0.42f << 0.44f << 0.01f;
    QTest::newRow("far below 1") << 0.000123f << 0.000131f << 0.00001f;
    QTest::newRow("across a decade below 1") << 0.095f << 0.12f << 0.1f;
}

void TestNiceval::roundestLiesWithinAndIsRound() {
    QFETCH(float, a);
    QFETCH(float, b);
    QFETCH(float, unit);
    const float r = roundest(a, b);
    QVERIFY2(r >= std::min(a, b) && r <= std::max(a, b), qPrintable(QString::number(r)));
    const double steps = double(r) / unit;
    QVERIFY2(std::fabs(steps - std::round(steps)) < 1e-3, qPrintable(QString::number(r)));
}

void TestNiceval::calcticksExamples_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<float>("lo");
    QTest::addColumn<float>("hi");
    QTest::addColumn<int>("count");
    QTest::addColumn<float>("first");
    QTest::addColumn<float>("step");
    QTest::newRow("300 px 0..100") << 300 << 0.0f << 100.0f << 11 << 0.0f << 10.0f;
    QTest::newRow("140 px 0..100") << 140 << 0.0f << 100.0f << 6 << 0.0f << 20.0f;
    QTest::newRow("60 px 0..100") << 60 << 0.0f << 100.0f << 2 << 0.0f << 100.0f;
    QTest::newRow("200 px 0..2") << 200 << 0.0f << 2.0f << 6 << 0.0f << 0.4f;
    QTest::newRow("300 px 10..55") << 300 << 10.0f << 55.0f << 12 << 10.0f << 4.0f;
    QTest::newRow("304 px 0..100") << 304 << 0.0f << 100.0f << 11 << 0.0f << 10.0f;
    QTest::newRow("negative lower end starts at 0") << 300 << -50.0f << 50.0f << 6 << 0.0f << 10.0f;
    // Below 1 niceval's decades truncate toward zero; the ticks stay round.
    QTest::newRow("304 px 0..0.3") << 304 << 0.0f << 0.3f << 11 << 0.0f << 0.03f;
    QTest::newRow("140 px 0..0.3") << 140 << 0.0f << 0.3f << 4 << 0.0f << 0.1f;
    QTest::newRow("304 px 0.12..0.3") << 304 << 0.12f << 0.3f << 10 << 0.12f << 0.02f;
    QTest::newRow("304 px 0..2") << 304 << 0.0f << 2.0f << 11 << 0.0f << 0.2f;
    QTest::newRow("60 px 0.12..0.3") << 60 << 0.12f << 0.3f << 2 << 0.2f << 0.1f;
}

void TestNiceval::calcticksStayWithinTheAxis_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<float>("lo");
    QTest::addColumn<float>("hi");
    QTest::addColumn<int>("count");
    QTest::newRow("-1..9.9999: no 10 at the end") << 200 << -1.0f << 9.9999f << 5;
    QTest::newRow("wholly below 0: no tick 0") << 400 << -1.0f << -0.00001f << 0;
    QTest::newRow("short, wholly below 0") << 60 << -1.0f << -0.0001f << 0;
    QTest::newRow("up to the largest float")
        << 400 << 0.0f << std::numeric_limits<float>::max() << 18;
    // Five steps of the float nearest 0.4 end a little past 2: still the end.
    QTest::newRow("drift past the end") << 200 << 0.0f << 2.0f << 6;
}

// Every tick counted lies within the axis (up to the rounding of a float),
// and the next one would not.
void TestNiceval::calcticksStayWithinTheAxis() {
    QFETCH(int, length);
    QFETCH(float, lo);
    QFETCH(float, hi);
    QFETCH(int, count);
    float f = 0, s = 0;
    const int n = calcticks(length, lo, hi, &f, &s);
    QCOMPARE(n, count);
    const double ulp = std::fabs(double(hi)) * 1e-7;
    for (int k = 0; k < n; ++k)
        QVERIFY2(double(f) + k * double(s) <= double(hi) + ulp, qPrintable(QString::number(k)));
    QVERIFY(double(f) + n * double(s) > double(hi) + ulp);
}

void TestNiceval::calcticksExamples() {
    QFETCH(int, length);
    QFETCH(float, lo);
    QFETCH(float, hi);
    QFETCH(int, count);
    QFETCH(float, first);
    QFETCH(float, step);
    float f = -1, s = -1;
    QCOMPARE(calcticks(length, lo, hi, &f, &s), count);
    QCOMPARE(f, first);
    QCOMPARE(s, step);
}

void TestNiceval::calcticksWithoutTicksWritesNothing() {
    float f = 7, s = 8;
    QCOMPARE(calcticks(39, 0, 100, &f, &s), 0);
    QCOMPARE(calcticks(300, 100, 100, &f, &s), 0); // empty window
    QCOMPARE(calcticks(300, 100, 0, &f, &s), 0);   // inverted window
    QCOMPARE(calcticks(300, std::numeric_limits<float>::quiet_NaN(), 1, &f, &s), 0);
    QCOMPARE(exactly(f), exactly(7.0f));
    QCOMPARE(exactly(s), exactly(8.0f));
}

void TestNiceval::calcticksEndsWhenStepCannotAdvance() {
    // A range far below the resolution of its values: the sums stop moving.
    float f = 0, s = 0;
    const int n = calcticks(800, 1e9f, 1.0000001e9f, &f, &s);
    QVERIFY(n >= 1);
    QVERIFY(n <= 41); // at most 2 n + 1 ticks, n = 800 / 40
}

QTEST_GUILESS_MAIN(TestNiceval)
#include "test_niceval.moc"
