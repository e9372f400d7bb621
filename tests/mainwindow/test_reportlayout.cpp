// Where the report's parts go on its pages, without a display.
#include "reportlayout.h"
#include "reportrows.h"

#include <QtTest>

using reportlayout::arrange;
using reportlayout::Layout;
using reportlayout::Sizes;

namespace {

// The properties every layout keeps, whatever the sizes: every table row on
// exactly one page and in order, a header with at least one row under it, the
// parts on a page one under the other inside it, no empty page at the end.
void checkLayout(const Sizes &s, const Layout &l) {
    QCOMPARE(l.graphs.size(), s.graphHeights.size());
    struct Span {
        int page, top, bottom;
    };
    std::vector<Span> spans{{0, 0, std::min(s.textHeight, s.pageHeight)}};
    for (std::size_t g = 0; g < l.graphs.size(); ++g)
        spans.push_back({l.graphs[g].page, l.graphs[g].top, l.graphs[g].top + s.graphHeights[g]});
    std::size_t next = 0;
    for (const auto &part : l.table) {
        QCOMPARE(part.first, next);
        QVERIFY(part.count >= 1);
        next += part.count;
        spans.push_back({part.page, part.top, part.top + s.rowHeight * int(part.count + 1)});
    }
    QCOMPARE(next, s.tableRows);
    int lastPage = 0;
    for (std::size_t i = 1; i < spans.size(); ++i) {
        const Span &before = spans[i - 1], &span = spans[i];
        QVERIFY(span.page == before.page || span.page == before.page + 1);
        if (span.page == before.page)
            QVERIFY(span.top >= before.bottom);
        else
            QCOMPARE(span.top, 0);
        QVERIFY2(span.bottom <= s.pageHeight || span.top == 0, "a part runs off its page");
        lastPage = span.page;
    }
    QCOMPARE(l.pageCount, lastPage + 1);
}

} // namespace

class TestReportLayout : public QObject {
    Q_OBJECT
private slots:
    void layouts_data() {
        QTest::addColumn<int>("textHeight");
        QTest::addColumn<std::vector<int>>("graphs");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        // A page of 1000, a gap and a row of 10 each.
        QTest::newRow("all on one page") << 100 << std::vector<int>{300, 300} << 20 << 1;
        QTest::newRow("no result") << 100 << std::vector<int>{300, 300} << 0 << 1;
        QTest::newRow("second graph on page two") << 300 << std::vector<int>{400, 400} << 0 << 2;
        QTest::newRow("table continued") << 100 << std::vector<int>{400, 400} << 250 << 4;
        QTest::newRow("room for the header only") << 100 << std::vector<int>{400, 470} << 5 << 2;
        QTest::newRow("text fills the page") << 1200 << std::vector<int>{400} << 3 << 2;
        QTest::newRow("graph taller than a page") << 100 << std::vector<int>{1500} << 3 << 3;
    }
    void layouts() {
        QFETCH(int, textHeight);
        QFETCH(std::vector<int>, graphs);
        QFETCH(int, rows);
        QFETCH(int, pages);
        const Sizes sizes{1000, textHeight, graphs, 10, 10, std::size_t(rows)};
        const Layout layout = arrange(sizes);
        checkLayout(sizes, layout);
        QCOMPARE(layout.pageCount, pages);
    }

    // Every page the table reaches is filled before the next one starts.
    void tablePagesAreFull() {
        const Sizes sizes{1000, 100, {400, 400}, 10, 10, 250};
        const Layout layout = arrange(sizes);
        for (std::size_t i = 0; i + 1 < layout.table.size(); ++i) {
            const auto &part = layout.table[i];
            QVERIFY(part.top + 10 * int(part.count + 2) > sizes.pageHeight);
        }
    }

    void sourceRowNamesMethodFileAndDate() {
        const auto row = reportrows::sourceRow(true, "cooling.txt", "2026-12-07");
        QVERIFY(row.text.find("precise") != std::string::npos);
        QVERIFY(row.text.find("cooling.txt") != std::string::npos);
        QVERIFY(row.text.find("2026-12-07") != std::string::npos);
        QVERIFY(reportrows::sourceRow(false, "", "x").text.find("fast") != std::string::npos);
    }
};

QTEST_APPLESS_MAIN(TestReportLayout)
#include "test_reportlayout.moc"
