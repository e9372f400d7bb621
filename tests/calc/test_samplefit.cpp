// The sample's misfit: chi-square probabilities against closed forms and
// tabulated critical values, and the verdict they give.
#include "samplefit.h"

#include <QtTest>

#include <cmath>

class TestSampleFit : public QObject {
    Q_OBJECT
private slots:
    void probabilityMatchesKnownValues();
    void probabilityMatchesClosedForms_data();
    void probabilityMatchesClosedForms();
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

void TestSampleFit::probabilityMatchesClosedForms_data() {
    QTest::addColumn<int>("degrees");
    for (int d : {1, 2, 3, 5, 8, 9, 16, 31, 60})
        QTest::newRow(qPrintable(QString::number(d) + " degrees")) << d;
}

// Q for whole degrees in closed form: for even d, e^(-x/2) sum over k < d/2 of
// (x/2)^k / k!; for odd d, erfc(sqrt(x/2)) plus sqrt(2x/pi) e^(-x/2) times
// sum over k = 1 .. (d-1)/2 of x^(k-1) / (1 3 5 ... (2k-1)).
void TestSampleFit::probabilityMatchesClosedForms() {
    QFETCH(int, degrees);
    for (double x = 0.05; x < 400; x *= 1.7) {
        double q = 0.0;
        if (degrees % 2 == 0) {
            double term = 1.0;
            for (int k = 0; k < degrees / 2; ++k) {
                q += term;
                term *= x / 2 / (k + 1);
            }
            q *= std::exp(-x / 2);
        } else {
            double term = 1.0, sum = 0.0;
            for (int k = 1; k <= (degrees - 1) / 2; ++k) {
                sum += term;
                term *= x / (2 * k + 1);
            }
            q = std::erfc(std::sqrt(x / 2)) + std::sqrt(2 * x / M_PI) * std::exp(-x / 2) * sum;
        }
        const double p = samplefit::chiSquareProbability(x, degrees);
        QVERIFY2(std::fabs(p - q) <= 1e-12 * q || std::fabs(p - q) < 1e-300,
                 qPrintable(
                     QString("x %1: %2 against %3").arg(x).arg(p, 0, 'g', 17).arg(q, 0, 'g', 17)));
    }
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
