// Blocks of time and temperature pasted from spreadsheets and text files.
#include "exactnumbers.h"
#include "pastedblock.h"

#include <QtTest>

class TestPastedBlock : public QObject {
    Q_OBJECT
private slots:
    void spreadsheetBlocksAreRead();
    void badBlocksNameTheirRowAndGiveNothing();
};

void TestPastedBlock::spreadsheetBlocksAreRead() {
    // Tabs with a heading and a trailing empty cell, Windows line ends and a
    // blank line; semicolons with the locale's comma; commas with "." decimals.
    const auto tabs =
        tarvel::pastedPoints("Time\tTemperature\r\n0\t120\t\r\n\r\n60.5\t2e1\r\n", '.');
    QCOMPARE(tabs.size(), std::size_t(2));
    QCOMPARE(exactly(tabs[1].time), exactly(60.5f));
    QCOMPARE(exactly(tabs[1].temp), exactly(20.0f));
    const auto semicolons = tarvel::pastedPoints("0;1,5\n2,25 ; 3.5", ',');
    QCOMPARE(exactly(semicolons[0].temp), exactly(1.5f));
    QCOMPARE(exactly(semicolons[1].time), exactly(2.25f));
    QCOMPARE(exactly(semicolons[1].temp), exactly(3.5f));
    const auto commas = tarvel::pastedPoints("-10,0.1\n", '.');
    QCOMPARE(exactly(commas[0].time), exactly(-10.0f));
}

void TestPastedBlock::badBlocksNameTheirRowAndGiveNothing() {
    try {
        tarvel::pastedPoints("time,temp\n1,2\n3,x\n", '.');
        QFAIL("a cell without a number was taken");
    } catch (const tarvel::CellConversionError &e) {
        QCOMPARE(e.Row, 2); // the block's third row, the heading counted
        QCOMPARE(e.Column, 1);
    }
    // A first row with one number is data with a bad cell, not a heading
    // (a heading has no number at all): refused by its row and column.
    for (const auto &[text, column] : {std::pair{"0\tx\n10\t20\n", 1}, {"x;5\n10;20\n", 0}}) {
        try {
            tarvel::pastedPoints(text, '.');
            QFAIL(text);
        } catch (const tarvel::CellConversionError &e) {
            QCOMPARE(e.Row, 0);
            QCOMPARE(e.Column, column);
        }
    }
    QVERIFY_THROWS_EXCEPTION(tarvel::CellConversionError, tarvel::pastedPoints("1\t1e39", '.'));
    for (const char *text : {"1\t2\n3\n", "1;2;3", "", "\n \n", "time\ttemp\n"}) {
        try {
            tarvel::pastedPoints(text, '.');
            QFAIL(text);
        } catch (const tarvel::CellConversionError &) {
            QFAIL(text); // a shape fault, not a cell's
        } catch (const tarvel::Error &) {
        }
    }
}

QTEST_GUILESS_MAIN(TestPastedBlock)
#include "test_pastedblock.moc"
