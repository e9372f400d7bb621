// The result table's rows and its two texts, without a display.
#include "exactnumbers.h"
#include "numbertext.h"
#include "resultrows.h"

#include <QtTest>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

using resultrows::Table;

namespace {

// Lines of `text` split at `eol`, the last (empty after the final end) left out.
std::vector<std::string> linesOf(const std::string &text, const std::string &eol) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(eol, start)) != std::string::npos;
         start = end + eol.size())
        lines.push_back(text.substr(start, end - start));
    if (start != text.size())
        lines.push_back(text.substr(start)); // an unended last line shows as a failure
    return lines;
}

std::vector<std::string> cellsOf(const std::string &line, char separator) {
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, separator);)
        cells.push_back(cell);
    return cells;
}

// Values a float history and a double calculation give: digits a short
// format would lose, tiny and huge magnitudes, a negative and zero.
Table awkwardTable() {
    const std::vector<FPOINT> history{
        {0.0f, 120.0f}, {0.1f, 99.9f}, {4.99999f, -12.345678f}, {123456.7f, 1e-30f}};
    const std::vector<double> ages{0.0, 0.1 + 0.2, 1.0 / 3.0 * 1e-300,
                                   std::nextafter(123456.7, 1e6)};
    return resultrows::ageTable(history, ages);
}

} // namespace

class TestResultRows : public QObject {
    Q_OBJECT
private slots:
    // A row for every history point that has an age, the floats widened.
    void rowsPairHistoryAndAges() {
        const std::vector<FPOINT> history{{0, 20}, {5, 40}, {10, 60}};
        const std::vector<double> ages{0.5, 1.5};
        const Table table = resultrows::ageTable(history, ages);
        QCOMPARE(table.rows.size(), std::size_t(2));
        for (const auto &row : table.rows)
            QCOMPARE(row.size(), table.columns.size());
        QCOMPARE(exactly(table.rows[1][0]), exactly(5.0));
        QCOMPARE(exactly(table.rows[1][1]), exactly(40.0));
        QCOMPARE(exactly(table.rows[1][2]), exactly(1.5));
        QVERIFY(resultrows::ageTable(history, {}).empty());
    }

    // The CSV reads back bit for bit under the header other programs expect.
    void csvReadsBackExactly() {
        const Table table = awkwardTable();
        const auto lines = linesOf(resultrows::csvText(table), "\n");
        QCOMPARE(lines.size(), table.rows.size() + 1);
        QCOMPARE(lines.front(), std::string("time,temperature,calculated_time"));
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            const auto cells = cellsOf(lines[r + 1], ',');
            QCOMPARE(cells.size(), table.columns.size());
            for (std::size_t c = 0; c < cells.size(); ++c) {
                char *end = nullptr;
                const double value = std::strtod(cells[c].c_str(), &end);
                QCOMPARE(*end, '\0');
                QCOMPARE(exactly(value), exactly(table.rows[r][c]));
            }
        }
    }

    // The copy: a titled, tab-separated table in the user's decimal separator;
    // the history's floats come back exactly, the ages to 15 digits.
    void copyTextForSpreadsheets() {
        const Table table = awkwardTable();
        const auto lines = linesOf(resultrows::copyText(table, ','), "\r\n");
        QCOMPARE(lines.size(), table.rows.size() + 1);
        QCOMPARE(cellsOf(lines.front(), '\t').size(), table.columns.size());
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            const auto cells = cellsOf(lines[r + 1], '\t');
            QCOMPARE(cells.size(), table.columns.size());
            QVERIFY(lines[r + 1].find('.') == std::string::npos);
            for (std::size_t c = 0; c < cells.size(); ++c) {
                const double expected = table.rows[r][c];
                const double value = tarvel::parseNumber(cells[c], ',');
                if (c < 2)
                    QCOMPARE(exactly(float(value)), exactly(float(expected)));
                else
                    QVERIFY2(std::fabs(value - expected) <= 1e-14 * std::fabs(expected),
                             cells[c].c_str());
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestResultRows)
#include "test_resultrows.moc"
