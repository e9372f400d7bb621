// The search's result as the history graph shows it, widget-free.
#include "searchview.h"

#include <QtTest>

#include <cmath>
#include <limits>

class TestSearchView : public QObject {
    Q_OBJECT
private slots:
    // Acceptable in green under good in magenta, each from its class's lowest
    // to its highest temperature at the envelope's times; a class without
    // paths gives no band.
    void envelopesAreTheClassesExtremes() {
        SearchInput input;
        input.present = 100;
        SearchResult result;
        result.paths = 10;
        result.acceptable = 3;
        const double inf = std::numeric_limits<double>::infinity();
        for (int i = 0; i < kEnvelopeTimes; ++i) {
            result.acceptableMin[std::size_t(i)] = 20 + 0.1 * i;
            result.acceptableMax[std::size_t(i)] = 80 - 0.1 * i;
            QCOMPARE(result.goodMin[std::size_t(i)], inf); // no good path yet
        }
        auto bands = searchview::envelopeBands(input, result);
        QCOMPARE(bands.size(), std::size_t(1));
        const OverlayBand &green = bands.front();
        QCOMPARE(green.rgb, searchview::kAcceptableColour);
        QCOMPARE(green.x.size(), std::size_t(kEnvelopeTimes));
        QCOMPARE(green.x.front(), 0.0f);
        QCOMPARE(green.x.back(), 100.0f);
        QCOMPARE(green.lower[10], float(21.0));
        QCOMPARE(green.upper[10], float(79.0));

        result.good = 1;
        result.goodMin = result.acceptableMin;
        result.goodMax = result.acceptableMin;
        bands = searchview::envelopeBands(input, result);
        QCOMPARE(bands.size(), std::size_t(2));
        QCOMPARE(bands.back().rgb, searchview::kGoodColour); // drawn over the green
    }
};

QTEST_GUILESS_MAIN(TestSearchView)
#include "test_searchview.moc"
