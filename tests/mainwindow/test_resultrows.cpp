// The result table's two texts, without a display.
#include "exactnumbers.h"
#include "numbertext.h"
#include "resultrows.h"

#include <QStringList>
#include <QtTest>

#include <cmath>

class TestResultRows : public QObject {
    Q_OBJECT
private slots:
    // The CSV reads back bit for bit under the header other programs expect;
    // the copy is a titled, tab-separated table in the user's separator, its
    // history floats exact and its ages to 15 digits. The values: digits a
    // short format would lose, tiny and huge magnitudes, a negative, zero.
    void textsReadBack() {
        const std::vector<FPOINT> history{
            {0.0f, 120.0f}, {0.1f, 99.9f}, {4.99999f, -12.345678f}, {123456.7f, 1e-30f}, {9, 9}};
        const std::vector<double> ages{0.0, 0.1 + 0.2, 1.0 / 3.0 * 1e-300,
                                       std::nextafter(123456.7, 1e6)};
        const resultrows::Table table = resultrows::ageTable(history, ages);
        QCOMPARE(table.rows.size(), ages.size()); // the point without an age has no row

        const QStringList csv = QString::fromStdString(resultrows::csvText(table)).split('\n');
        const QStringList copy =
            QString::fromStdString(resultrows::copyText(table, ',')).split(QStringLiteral("\r\n"));
        QCOMPARE(csv.front(), QStringLiteral("time,temperature,calculated_time"));
        QCOMPARE(copy.front().count('\t'), 2);
        QCOMPARE(csv.size(), qsizetype(table.rows.size() + 2)); // and after the last line end
        QCOMPARE(copy.size(), csv.size());
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            const QStringList exported = csv[qsizetype(r) + 1].split(',');
            const QStringList copied = copy[qsizetype(r) + 1].split('\t');
            QCOMPARE(exported.size(), 3);
            QCOMPARE(copied.size(), 3);
            for (qsizetype c = 0; c < 3; ++c) {
                const double value = table.rows[r][std::size_t(c)];
                QCOMPARE(exactly(tarvel::parseNumber(exported[c].toStdString(), '.')),
                         exactly(value));
                const double shown = tarvel::parseNumber(copied[c].toStdString(), ',');
                if (c < 2)
                    QCOMPARE(exactly(float(shown)), exactly(float(value)));
                else
                    QVERIFY(std::fabs(shown - value) <= 1e-14 * std::fabs(value));
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestResultRows)
#include "test_resultrows.moc"
