#include "geometrycheck.h"

#include <QtTest>

using geometrycheck::Square;

class TestGeometryCheck : public QObject {
    Q_OBJECT
private slots:
    void radii_data() {
        QTest::addColumn<QString>("sphere");
        QTest::addColumn<QString>("outer");
        QTest::addColumn<QString>("inner");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("outerSize");
        QTest::addColumn<int>("innerSize");
        QTest::newRow("defaults") << "60"
                                  << "40"
                                  << "20" << true << 80 << 40;
        QTest::newRow("zone fills the grain") << "60"
                                              << "60"
                                              << "0" << true << 120 << 0;
        QTest::newRow("outer equals inner") << "60"
                                            << "40"
                                            << "40" << false << -1 << -1;
        QTest::newRow("outer beyond sphere") << "1000"
                                             << "1001"
                                             << "0" << false << -1 << -1;
        QTest::newRow("fraction") << "60.5"
                                  << "40"
                                  << "20" << false << -1 << -1;
        QTest::newRow("letters") << "abc"
                                 << "40"
                                 << "20" << false << -1 << -1;
        QTest::newRow("empty") << ""
                               << "40"
                               << "20" << false << -1 << -1;
        QTest::newRow("no sphere") << "0"
                                   << "0"
                                   << "0" << false << -1 << -1;
        QTest::newRow("negative inner") << "60"
                                        << "40"
                                        << "-1" << false << -1 << -1;
        QTest::newRow("blanks and sign") << " +60 "
                                         << "40"
                                         << "20" << true << 80 << 40;
        // 120 * 2000000000 overflows 32 bits; the sizes must still be right.
        QTest::newRow("large radii") << "2000000000"
                                     << "1999999999"
                                     << "1000000000" << true << 119 << 60;
        QTest::newRow("beyond 32 bits") << "4294967356"
                                        << "40"
                                        << "20" << false << -1 << -1;
    }
    void radii() {
        QFETCH(QString, sphere);
        QFETCH(QString, outer);
        QFETCH(QString, inner);
        QFETCH(bool, valid);
        QFETCH(int, outerSize);
        QFETCH(int, innerSize);
        const Square shape1{250, 30, 120};
        const auto r = geometrycheck::check(sphere.toStdString(), outer.toStdString(),
                                            inner.toStdString(), shape1);
        QCOMPARE(r.valid, valid);
        if (!valid)
            return;
        QCOMPARE(r.outer->size, outerSize);
        QCOMPARE(r.inner->size, innerSize);
        // Both circles are centred on the grain's, to the pixel.
        for (const Square &s : {*r.outer, *r.inner}) {
            QVERIFY(qAbs(2 * s.left + s.size - (2 * shape1.left + shape1.size)) <= 1);
            QVERIFY(qAbs(2 * s.top + s.size - (2 * shape1.top + shape1.size)) <= 1);
        }
    }
};

QTEST_APPLESS_MAIN(TestGeometryCheck)
#include "test_geometrycheck.moc"
