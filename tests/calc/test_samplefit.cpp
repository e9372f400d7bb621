// The sample's misfit: chi-square probabilities against closed forms and
// tabulated critical values, and the verdict they give.
#include "samplefit.h"

#include <QtTest>

#include <cmath>

class TestSampleFit : public QObject {
    Q_OBJECT
private slots:
    void probabilityMatchesKnownValues();
    void summaryCountsMeasuredGrainsOnly();
};

void TestSampleFit::probabilityMatchesKnownValues() {
    using samplefit::chiSquareProbability;
    // Closed forms: Q = exp(-x/2) for 2 degrees, exp(-x/2)(1 + x/2) for 4.
    for (double x : {0.01, 1.0, 2.5, 10.0, 60.0, 700.0}) {
        QVERIFY(std::fabs(chiSquareProbability(x, 2) / std::exp(-x / 2) - 1) < 1e-12);
        QVERIFY(std::fabs(chiSquareProbability(x, 4) / (std::exp(-x / 2) * (1 + x / 2)) - 1) <
                1e-12);
    }
    // Critical values of the tables: chi2 at which Q is 0.05 or 0.95.
    struct Critical {
        int degrees;
        double chi2;
        double q;
    };
    for (const Critical c : {Critical{1, 3.841458820694124, 0.05},
                             {10, 18.307038053275146, 0.05},
                             {3, 0.35184631774927144, 0.95},
                             {100, 124.34211340400407, 0.05},
                             {1, 0.0039321400000195, 0.95}})
        QVERIFY2(std::fabs(chiSquareProbability(c.chi2, c.degrees) - c.q) < 1e-12,
                 qPrintable(QString::number(c.degrees)));
    QCOMPARE(chiSquareProbability(0.0, 3), 1.0);
    QCOMPARE(samplefit::verdict(0.5), std::string("good"));
    QCOMPARE(samplefit::verdict(0.05), std::string("acceptable"));
    QCOMPARE(samplefit::verdict(0.0499), std::string("poor"));
}

void TestSampleFit::summaryCountsMeasuredGrainsOnly() {
    const auto z1 = samplefit::misfit(samplefit::Measurement{50, 2}, 46);
    const auto none = samplefit::misfit(std::nullopt, 46);
    QCOMPARE(*z1, 2.0);
    QVERIFY(!none);
    const auto s = samplefit::summarize({z1, none, samplefit::misfit({{40, 4}}, 44)});
    QCOMPARE(s.measured, 2);
    QCOMPARE(s.chi2, 5.0);
    QVERIFY(std::fabs(*s.probability - std::exp(-2.5)) < 1e-14);
    QVERIFY(!samplefit::summarize({none}).probability);
}

QTEST_GUILESS_MAIN(TestSampleFit)
#include "test_samplefit.moc"
