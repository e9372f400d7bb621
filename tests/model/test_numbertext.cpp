#include "errors.h"
#include "exactnumbers.h"
#include "numbertext.h"

#include <QtTest>

using tarvel::formatGeneral;
using tarvel::parseNumber;
using tarvel::parseNumberEither;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void dataFileDigits_data();
    void dataFileDigits();
    void editDigits();
    void roundingCarriesAndTies();
    void separator();
    void parsesNumbers_data();
    void parsesNumbers();
    void refusesNonNumbers_data();
    void refusesNonNumbers();
    void errorNamesTheText();
};

void TestNumberText::dataFileDigits_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer") << 36200.0 << "36200";
    QTest::newRow("float D0") << double(1807.8f) << "1807.8";
    QTest::newRow("small") << 0.05 << "0.05";
    QTest::newRow("e=-3 still plain") << 0.0001 << "0.0001";
    QTest::newRow("below plain range") << 0.00005 << "5E-5";
    QTest::newRow("large") << 1.5e9 << "1.5E9";
    QTest::newRow("e=8 still plain") << 12345678.0 << "12345678";
    QTest::newRow("e=9") << 123456789.0 << "1.2345679E8";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative") << -2.5 << "-2.5";
    QTest::newRow("negative tiny") << -1.25e-7 << "-1.25E-7";
    QTest::newRow("float 0.1") << double(0.1f) << "0.1";
    QTest::newRow("float 60.5") << double(60.5f) << "60.5";
    QTest::newRow("huge float") << double(3.0e38f) << "3E38";
}

void TestNumberText::dataFileDigits() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(formatGeneral(value, tarvel::kDataFileDigits, '.')), text);
}

void TestNumberText::editDigits() {
    QCOMPARE(formatGeneral(double(0.1f), 15, '.'), std::string("0.100000001490116"));
    QCOMPARE(formatGeneral(double(0.4f), 15, '.'), std::string("0.400000005960464"));
    QCOMPARE(formatGeneral(100.0, 15, '.'), std::string("100"));
    QCOMPARE(formatGeneral(double(1807.8f), 15, '.'), std::string("1807.80004882813"));
    QCOMPARE(formatGeneral(123456789012345.0, 15, '.'), std::string("123456789012345"));
    QCOMPARE(formatGeneral(1234567890123456.0, 15, '.'), std::string("1.23456789012346E15"));
    QCOMPARE(formatGeneral(1.23456, 5, '.'), std::string("1.2346"));
}

void TestNumberText::roundingCarriesAndTies() {
    // Rounding up through nines moves to the next decade.
    QCOMPARE(formatGeneral(9.999999999, 8, '.'), std::string("10"));
    QCOMPARE(formatGeneral(99999999.7, 8, '.'), std::string("1E8"));
    QCOMPARE(formatGeneral(0.000999999999, 8, '.'), std::string("0.001"));
    // An exact binary tie rounds away from zero: 1 + 1/32 = 1.03125.
    QCOMPARE(formatGeneral(1.03125, 5, '.'), std::string("1.0313"));
    QCOMPARE(formatGeneral(-1.03125, 5, '.'), std::string("-1.0313"));
    QCOMPARE(formatGeneral(2.5, 1, '.'), std::string("3"));
}

void TestNumberText::separator() {
    QCOMPARE(formatGeneral(1.5, 15, ','), std::string("1,5"));
    QCOMPARE(formatGeneral(0.00005, 8, ','), std::string("5E-5"));
    QCOMPARE(formatGeneral(1.25e-7, 8, ','), std::string("1,25E-7"));
    QCOMPARE(exactly(parseNumber("1,5", ',')), exactly(1.5));
    QCOMPARE(exactly(parseNumberEither("1,5", ',')), exactly(1.5));
    QCOMPARE(exactly(parseNumberEither("1.5", ',')), exactly(1.5));
    QVERIFY_THROWS_EXCEPTION(tarvel::ConversionError, parseNumber("1.5", ','));
}

void TestNumberText::parsesNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "20" << 20.0;
    QTest::newRow("blanks around") << "  20.9  " << 20.9;
    QTest::newRow("plus sign") << "+3" << 3.0;
    QTest::newRow("minus sign") << "-3.25" << -3.25;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("exponent") << "1.5E9" << 1.5e9;
    QTest::newRow("lower e, signed") << "5e-5" << 5e-5;
    QTest::newRow("underflow reads as zero") << "1e-400" << 0.0;
    QTest::newRow("long zero fraction") << "0.000000000000000000000000000000" << 0.0;
}

void TestNumberText::parsesNumbers() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(exactly(parseNumber(text.toStdString(), '.')), exactly(value));
}

void TestNumberText::refusesNonNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blank") << "   ";
    QTest::newRow("letters") << "abc";
    QTest::newRow("trailing junk") << "12x";
    QTest::newRow("tab is not a blank") << "\t12";
    QTest::newRow("lone point") << ".";
    QTest::newRow("exponent without digits") << "1e";
    QTest::newRow("two signs") << "--1";
    QTest::newRow("inner blank") << "1 2";
    QTest::newRow("overflow") << "1e400";
    QTest::newRow("overflow without exponent") << QString(400, '9');
    QTest::newRow("nan") << "nan";
    QTest::newRow("inf") << "inf";
    QTest::newRow("hex") << "0x10";
}

void TestNumberText::refusesNonNumbers() {
    QFETCH(QString, text);
    QVERIFY_THROWS_EXCEPTION(tarvel::ConversionError, parseNumber(text.toStdString(), '.'));
}

void TestNumberText::errorNamesTheText() {
    try {
        parseNumber(" 5, 20", '.');
        QFAIL("no error raised");
    } catch (const tarvel::ConversionError &e) {
        QCOMPARE(std::string(e.what()),
                 std::string("' 5, 20' is not a valid floating point value"));
    }
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "test_numbertext.moc"
