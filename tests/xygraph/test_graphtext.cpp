// The clipboard's text and SYLK forms and the position box's number picture.
#include "graphfixtures.h"
#include "graphtext.h"
#include "pointstore.h"

#include <QTest>

using namespace fixtures;
using graphtext::points2sylk;
using graphtext::points2text;
using graphtext::readoutText;

class TestGraphText : public QObject {
    Q_OBJECT

private slots:
    void oneLineExample();
    void singlePointsAndLine();
    void twoLinesWithoutSeparator();
    void graphWithoutPoints();
    void singlePointsOnly();
    void floatsWidenedToDouble();
    void textFollowsLocaleSylkAlwaysUsesPoint();
    void readoutPicture_data();
    void readoutPicture();
};

void TestGraphText::oneLineExample() {
    PointStore g;
    drawLine(g, {{0, 60}, {10, 60.5f}});
    QCOMPARE(points2text(g, '.'), std::string("0, 60\r\n10, 60.5\r\n"));
    QCOMPARE(points2sylk(g), std::string("ID;Pzentrograph\r\n"
                                         "B;Y2;X2\r\n"
                                         "C;X1;Y1;K0\r\n"
                                         "C;X2;K60\r\n"
                                         "C;X1;Y2;K10\r\n"
                                         "C;X2;K60.5\r\n"
                                         "E\r\n"));
}

void TestGraphText::singlePointsAndLine() {
    PointStore g;
    addSingle(g, 1, 2);
    addSingle(g, 3, 4);
    drawLine(g, {{5, 6}, {7, 8}, {9, 10}});
    QCOMPARE(points2text(g, '.'), std::string("1, 2\r\n3, 4\r\n \r\n5, 6\r\n7, 8\r\n9, 10\r\n"));
    QCOMPARE(points2sylk(g), std::string("ID;Pzentrograph\r\n"
                                         "B;Y6;X2\r\n"
                                         "C;X1;Y1;K1\r\nC;X2;K2\r\n"
                                         "C;X1;Y2;K3\r\nC;X2;K4\r\n"
                                         "C;X1;Y4;K5\r\nC;X2;K6\r\n"
                                         "C;X1;Y5;K7\r\nC;X2;K8\r\n"
                                         "C;X1;Y6;K9\r\nC;X2;K10\r\n"
                                         "E\r\n"));
}

void TestGraphText::twoLinesWithoutSeparator() {
    PointStore g;
    drawLine(g, {{1, 1}, {2, 2}});
    drawLine(g, {{3, 3}, {4, 4}});
    QCOMPARE(points2text(g, '.'), std::string("1, 1\r\n2, 2\r\n3, 3\r\n4, 4\r\n"));
    const std::string sylk = points2sylk(g);
    QVERIFY(sylk.find("B;Y5;X2\r\n") != std::string::npos);
    QVERIFY(sylk.find("C;X1;Y4;K3\r\n") != std::string::npos);
    QVERIFY(sylk.find("C;X1;Y5;K4\r\n") != std::string::npos);
    QVERIFY(sylk.find(";Y3;") == std::string::npos);
}

void TestGraphText::graphWithoutPoints() {
    PointStore g;
    QCOMPARE(points2text(g, '.'), std::string());
    QCOMPARE(points2sylk(g), std::string("ID;Pzentrograph\r\nB;Y0;X2\r\nE\r\n"));
}

void TestGraphText::singlePointsOnly() {
    PointStore g;
    addSingle(g, 1, 2);
    addSingle(g, 3, 4);
    QCOMPARE(points2text(g, '.'), std::string("1, 2\r\n3, 4\r\n \r\n"));
    QVERIFY(points2sylk(g).find("B;Y3;X2\r\n") != std::string::npos);
}

void TestGraphText::floatsWidenedToDouble() {
    PointStore g;
    addSingle(g, 0.1f, 2.5f);
    QCOMPARE(points2text(g, '.'), std::string("0.100000001490116, 2.5\r\n \r\n"));
    QVERIFY(points2sylk(g).find("C;X1;Y1;K0.100000001490116\r\nC;X2;K2.5\r\n") !=
            std::string::npos);
    QCOMPARE(graphtext::numberText(0.4f, '.'), std::string("0.400000005960464"));
    QCOMPARE(graphtext::numberText(100.0f, '.'), std::string("100"));
}

void TestGraphText::textFollowsLocaleSylkAlwaysUsesPoint() {
    PointStore g;
    drawLine(g, {{0.5f, 60.25f}, {10, 1e-5f}});
    QCOMPARE(points2text(g, ','), std::string("0,5, 60,25\r\n10, 9,99999974737875E-6\r\n"));
    const std::string sylk = points2sylk(g);
    QVERIFY(sylk.find("K0.5\r\n") != std::string::npos);
    QVERIFY(sylk.find("K60.25\r\n") != std::string::npos);
    QVERIFY(sylk.find(',') == std::string::npos);
}

void TestGraphText::readoutPicture_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("12.34") << 12.34f << "12.3";
    QTest::newRow("0.5 without leading zero") << 0.5f << ".5";
    QTest::newRow("whole number") << 3.0f << "3";
    QTest::newRow("1234.56") << 1234.56f << "1234.6";
    QTest::newRow("zero is empty") << 0.0f << "";
    QTest::newRow("rounds to zero") << 0.04f << "";
    QTest::newRow("rounds up to whole") << 2.96f << "3";
    QTest::newRow("negative") << -12.34f << "-12.3";
    QTest::newRow("negative fraction") << -0.5f << "-.5";
    QTest::newRow("half away from zero") << 0.25f << ".3";
}

void TestGraphText::readoutPicture() {
    QFETCH(float, value);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(readoutText(value, '.')), expected);
}

QTEST_GUILESS_MAIN(TestGraphText)
#include "test_graphtext.moc"
