// The report's rows and number pictures, without a display.
#include "reportrows.h"

#include <QtTest>

#include <limits>
#include <stdexcept>

using reportrows::formatPicture;
using reportrows::Row;

class TestReportRows : public QObject {
    Q_OBJECT
private slots:
    void pictures_data();
    void pictures();
    void separatorAndBadPictures();
    void workedExample();
    void annotationEdges();
};

void TestReportRows::pictures_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 100.0 << "####0"
                           << "100";
    QTest::newRow("whole rounds up") << 19.5 << "####0"
                                     << "20";
    QTest::newRow("more digits than #s") << 1234567.0 << "####0"
                                         << "1234567";
    QTest::newRow("two decimals kept") << 36200.0 << "####0.00"
                                       << "36200.00";
    QTest::newRow("float 0.1") << double(0.1f) << "####0.00"
                               << "0.10";
    // 2.675 is stored as 2.67499999999999982236431605997495353221893310546875
    QTest::newRow("binary value below the tie") << 2.675 << "####0.00"
                                                << "2.67";
    QTest::newRow("exact tie away from zero") << 0.125 << "####0.00"
                                              << "0.13";
    QTest::newRow("carry through nines") << 9.999 << "####0.00"
                                         << "10.00";
    QTest::newRow("negative") << -2.5 << "####0.00"
                              << "-2.50";
    QTest::newRow("negative rounds to zero") << -0.001 << "####0.00"
                                             << "0.00";
    QTest::newRow("optional places dropped") << 2.5 << "####0.0###"
                                             << "2.5";
    QTest::newRow("first place always") << 3.0 << "####0.0###"
                                        << "3.0";
    QTest::newRow("float D0") << double(1807.8f) << "####0.0###"
                              << "1807.8";
    QTest::newRow("rounds at fourth place") << 1.23456 << "####0.0###"
                                            << "1.2346";
    QTest::newRow("tiny") << 1e-300 << "####0.0###"
                          << "0.0";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "####0.00"
                         << "NAN";
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << "####0"
                          << "-INF";
}

void TestReportRows::pictures() {
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(formatPicture(value, pattern.toStdString(), '.')), text);
}

void TestReportRows::separatorAndBadPictures() {
    QCOMPARE(formatPicture(2.5, "####0.0###", ','), std::string("2,5"));
    QCOMPARE(formatPicture(36200, "####0", ','), std::string("36200"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, formatPicture(1, "###", '.'));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, formatPicture(1, "0.0x", '.'));
}

// The report of the created model with radii 60, 40 and 20, row for row.
void TestReportRows::workedExample() {
    const TModelData model; // 20 eigenvalues, 36200, 20 and D0 as created
    const TGrainData grain{60.0f, 40.0f, 20.0f};
    const std::vector<Row> expected{{"Sample 14", true},
                                    {"zircon", true},
                                    {"", false},
                                    {"", false},
                                    {"Model Data", false},
                                    {"Number of Eigen Values: 20", false},
                                    {"Activation Energy: 36200.00", false},
                                    {"Emission Distance: 20.00", false},
                                    {"D0: 1807.8", false},
                                    {"", false},
                                    {"Grain Parameters", false},
                                    {"Sphere Radius: 60.00", false},
                                    {"Outer Zone Radius: 40.00", false},
                                    {"Inner Zone Radius: 20.00", false}};
    QVERIFY(reportrows::rows(model, grain, {"Sample 14", "zircon"}, '.') == expected);
}

void TestReportRows::annotationEdges() {
    const TModelData model;
    const TGrainData grain{60.0f, 40.0f, 20.0f};
    const auto none = reportrows::rows(model, grain, {}, '.');
    QCOMPARE(none.size(), std::size_t(12));
    QCOMPARE(none[2].text, std::string("Model Data"));
    // The memo as created holds one empty line: one empty row more.
    const auto untouched = reportrows::rows(model, grain, {""}, '.');
    QCOMPARE(untouched.size(), std::size_t(13));
    QVERIFY(untouched[0].clipped && untouched[0].text.empty());
    QCOMPARE(untouched[3].text, std::string("Model Data"));
}

QTEST_APPLESS_MAIN(TestReportRows)
#include "test_reportrows.moc"
