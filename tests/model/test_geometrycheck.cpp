#include "geometrycheck.h"

#include <QtTest>

using geometrycheck::Square;

namespace {

const Square kShape1{250, 30, 120};

geometrycheck::Result check(const QString &sphere, const QString &outer, const QString &inner,
                            const QString &emission = "20", char separator = '.') {
    return geometrycheck::check(sphere.toStdString(), outer.toStdString(), inner.toStdString(),
                                emission.toStdString(), kShape1, separator);
}

} // namespace

class TestGeometryCheck : public QObject {
    Q_OBJECT
private slots:
    void entries_data();
    void entries();
    void wholeRadiiSizeAsIntegerArithmetic();
};

void TestGeometryCheck::entries_data() {
    QTest::addColumn<QString>("sphere");
    QTest::addColumn<QString>("outer");
    QTest::addColumn<QString>("inner");
    QTest::addColumn<QString>("emission");
    QTest::addColumn<QChar>("separator"); // the user's locale
    QTest::addColumn<bool>("radiiValid");
    QTest::addColumn<bool>("emissionValid");
    QTest::addColumn<int>("outerSize"); // -1: not sized
    QTest::addColumn<int>("innerSize");
    auto row = [](const char *name, const char *sphere, const char *outer, const char *inner,
                  const char *emission, char separator, bool radii, bool emissionOk, int d2,
                  int d3) {
        QTest::newRow(name) << sphere << outer << inner << emission << QChar(separator) << radii
                            << emissionOk << d2 << d3;
    };
    row("defaults", "60", "40", "20", "20", '.', true, true, 80, 40);
    row("zone fills the grain", "60", "60", "0", "20", '.', true, true, 120, 0);
    row("outer equals inner", "60", "40", "40", "20", '.', false, true, -1, -1);
    row("outer beyond sphere", "1000", "1001", "0", "20", '.', false, true, -1, -1);
    row("letters", "abc", "40", "20", "20", '.', false, true, -1, -1);
    row("empty", "", "40", "20", "20", '.', false, true, -1, -1);
    row("no sphere", "0", "0", "0", "20", '.', false, true, -1, -1);
    row("negative inner", "60", "40", "-1", "20", '.', false, true, -1, -1);
    row("blanks and sign", " +60 ", "40", "20", "20", '.', true, true, 80, 40);
    // 120 * 2000000000 overflows 32 bits; the sizes must still be right.
    row("large radii", "2000000000", "1999999999", "1000000000", "20", '.', true, true, 119, 60);

    // Decimals: "." always, the locale's separator as well.
    row("decimal point", "60.5", "40", "20", "20", '.', true, true, 79, 39);
    row("locale comma", "60,5", "40,25", "20", "2,5", ',', true, true, 79, 39);
    row("point under a comma locale", "60.5", "40", "20", "20", ',', true, true, 79, 39);
    row("comma under a point locale", "60,5", "40", "20", "20", '.', false, true, -1, -1);
    row("not finite", "inf", "40", "20", "20", '.', false, true, -1, -1);
    // Distinct as typed, equal once stored in single precision: the
    // calculation would find the zone empty.
    row("equal when stored", "60", "40.000000001", "40", "20", '.', false, true, -1, -1);

    // The emission distance: a number of at least 0; the circles follow the radii regardless.
    row("emission zero", "60", "40", "20", "0", '.', true, true, 80, 40);
    row("emission negative", "60", "40", "20", "-0.5", '.', true, false, 80, 40);
    row("emission letters", "60", "40", "20", "far", '.', true, false, 80, 40);
    row("emission beyond single precision", "60", "40", "20", "1e39", '.', true, false, 80, 40);
    row("both wrong", "60", "40", "40", "-1", '.', false, false, -1, -1);
}

void TestGeometryCheck::entries() {
    QFETCH(QString, sphere);
    QFETCH(QString, outer);
    QFETCH(QString, inner);
    QFETCH(QString, emission);
    QFETCH(QChar, separator);
    QFETCH(bool, radiiValid);
    QFETCH(bool, emissionValid);
    QFETCH(int, outerSize);
    QFETCH(int, innerSize);
    const auto r = check(sphere, outer, inner, emission, separator.toLatin1());
    QCOMPARE(r.radiiValid, radiiValid);
    QCOMPARE(r.emissionValid, emissionValid);
    QCOMPARE(r.valid, radiiValid && emissionValid);
    QCOMPARE(r.outer.has_value(), outerSize >= 0);
    QCOMPARE(r.inner.has_value(), innerSize >= 0);
    if (r.outer)
        QCOMPARE(r.outer->size, outerSize);
    if (r.inner)
        QCOMPARE(r.inner->size, innerSize);
    // Both circles are centred on the grain's, to the pixel.
    for (const auto &s : {r.outer, r.inner}) {
        if (!s)
            continue;
        QVERIFY(qAbs(2 * s->left + s->size - (2 * kShape1.left + kShape1.size)) <= 1);
        QVERIFY(qAbs(2 * s->top + s->size - (2 * kShape1.top + kShape1.size)) <= 1);
    }

    // The sentence of the broken rule, the radii first; none when all pass.
    QCOMPARE(geometrycheck::problemText(r),
             std::string(!radiiValid      ? geometrycheck::kRadiiRuleText
                         : !emissionValid ? geometrycheck::kEmissionRuleText
                                          : ""));
}

// Whole radii size the circles exactly as the integer formula
// d = w * radius / sphere (truncating) and integer halving for the position.
void TestGeometryCheck::wholeRadiiSizeAsIntegerArithmetic() {
    for (const Square grain : {kShape1, Square{16, 24, 150}, Square{0, 0, 7}}) {
        for (long long sphere = 1; sphere <= 70; ++sphere) {
            for (long long outer = 1; outer <= sphere; ++outer) {
                for (long long inner = 0; inner < outer; ++inner) {
                    const auto r =
                        geometrycheck::check(std::to_string(sphere), std::to_string(outer),
                                             std::to_string(inner), "0", grain, ',');
                    const long long d2 = grain.size * outer / sphere;
                    const long long d3 = grain.size * inner / sphere;
                    const Square expectOuter{int(grain.left + (grain.size - d2) / 2),
                                             int(grain.top + (grain.size - d2) / 2), int(d2)};
                    const Square expectInner{int(grain.left + (grain.size - d3) / 2),
                                             int(grain.top + (grain.size - d3) / 2), int(d3)};
                    if (!r.valid || r.outer != expectOuter || r.inner != expectInner)
                        QFAIL(qPrintable(QString("sphere %1, outer %2, inner %3, width %4")
                                             .arg(sphere)
                                             .arg(outer)
                                             .arg(inner)
                                             .arg(grain.size)));
                }
            }
        }
    }
}

QTEST_APPLESS_MAIN(TestGeometryCheck)
#include "test_geometrycheck.moc"
