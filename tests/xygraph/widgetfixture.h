#pragma once

#include "graphfixtures.h"
#include "xygraph.h"

#include <QTest>

// A shown 353 x 193 control with the example borders (plot area 304 x 140
// from (37, 12)) showing 0..100 x 0..100.
inline void showStandard(Txygraph &g) {
    g.resize(353, 193);
    g.core().map().setBorders(37, 41, 12, 12);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
}
