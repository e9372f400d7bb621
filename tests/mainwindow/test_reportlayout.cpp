// Where the report's parts go on its pages, without a display.
#include "reportlayout.h"

#include <QtTest>

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

    // Whatever the sizes: every table row on exactly one page and in order,
    // under a header; the parts of a page one under the other inside it; a
    // table page filled before the next starts; no empty page at the end.
    void layouts() {
        QFETCH(int, textHeight);
        QFETCH(std::vector<int>, graphs);
        QFETCH(int, rows);
        QFETCH(int, pages);
        const reportlayout::Sizes s{1000, textHeight, graphs, 10, 10, std::size_t(rows)};
        const reportlayout::Layout l = reportlayout::arrange(s);
        QCOMPARE(l.pageCount, pages);
        QCOMPARE(l.graphs.size(), graphs.size());

        struct Span {
            int page, top, bottom;
        };
        std::vector<Span> spans{{0, 0, std::min(textHeight, s.pageHeight)}};
        for (std::size_t g = 0; g < graphs.size(); ++g)
            spans.push_back({l.graphs[g].page, l.graphs[g].top, l.graphs[g].top + graphs[g]});
        std::size_t next = 0;
        for (const auto &part : l.table) {
            QCOMPARE(part.first, next);
            QVERIFY(part.count >= 1);
            next += part.count;
            const int bottom = part.top + s.rowHeight * int(part.count + 1);
            if (next < s.tableRows)
                QVERIFY(bottom + s.rowHeight > s.pageHeight); // no room for another row
            spans.push_back({part.page, part.top, bottom});
        }
        QCOMPARE(next, s.tableRows);
        for (std::size_t i = 1; i < spans.size(); ++i) {
            const Span &before = spans[i - 1], &span = spans[i];
            QVERIFY(span.page == before.page || span.page == before.page + 1);
            QVERIFY(span.page == before.page ? span.top >= before.bottom : span.top == 0);
            QVERIFY(span.bottom <= s.pageHeight || span.top == 0);
        }
        QCOMPARE(spans.back().page + 1, l.pageCount);
    }
};

QTEST_APPLESS_MAIN(TestReportLayout)
#include "test_reportlayout.moc"
