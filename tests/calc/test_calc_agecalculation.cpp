#include "agecalculation.h"
#include "agetestsupport.h"
#include "errors.h"
#include "exactnumbers.h"
#include "geometrycheck.h"

#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(AgeMethod)

namespace {

const std::vector<double> kThreeTimes = {0, 50, 100};

void addMethodRows(const char *name, const std::function<void(QTestData &)> &fill) {
    for (AgeMethod method : {AgeMethod::Fast, AgeMethod::Direct}) {
        QTestData &row = QTest::newRow(
            qPrintable(QString("%1, %2").arg(name, method == AgeMethod::Fast ? "fast" : "direct")));
        row << method;
        fill(row);
    }
}

bool close(double a, double b, double relative, double absolute) {
    return std::fabs(a - b) <= relative * std::fabs(b) + absolute;
}

} // namespace

class TestAgeCalculation : public QObject {
    Q_OBJECT
private slots:
    void knownHistories_data();
    void knownHistories();
    void coldGrainKeepsEverything();
    void constantTemperatureMatchesClosedForm();
    void subdividingAConstantHistoryChangesNothing();
    void equalTimesAreAnInstantaneousStep();
    void shortHistories();
    void progressEndsAtTheLastTerm();
    void refusedInput_data();
    void refusedInput();
    void nonFiniteResultStopsTheCalculation();
};

void TestAgeCalculation::knownHistories_data() {
    QTest::addColumn<AgeMethod>("method");
    QTest::addColumn<double>("R");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("S");
    QTest::addColumn<double>("temp");
    QTest::addColumn<double>("at50");
    QTest::addColumn<double>("at100");
    auto rows = [](const char *name, double R, double b, double a, double S, double temp,
                   double at50, double at100) {
        addMethodRows(name,
                      [=](QTestData &row) { row << R << b << a << S << temp << at50 << at100; });
    };
    rows("default grain, -50 C", 60, 40, 20, 20, -50, 49.993, 99.986);
    rows("default grain, 20 C", 60, 40, 20, 20, 20, 49.971, 99.897);
    rows("default grain, 60 C", 60, 40, 20, 20, 60, 26.860, 33.760);
    // The whole weight of the newest interval counts even when its older end
    // is past the cut-off.
    rows("default grain, 80 C", 60, 40, 20, 20, 80, 1.632, 1.632);
    rows("whole sphere, 20 C", 60, 60, 0, 20, 20, 37.443, 74.569);
    rows("whole sphere, S = R, -100 C", 60, 60, 0, 60, -100, 15.625, 31.250);
}

void TestAgeCalculation::knownHistories() {
    QFETCH(AgeMethod, method);
    QFETCH(double, R);
    QFETCH(double, b);
    QFETCH(double, a);
    QFETCH(double, S);
    QFETCH(double, temp);
    QFETCH(double, at50);
    QFETCH(double, at100);
    const History h = constantHistory(temp, kThreeTimes);
    const std::vector<double> r = calculateAges(ageInput({R, b, a, S, 20}, h), method);
    QCOMPARE(r.size(), std::size_t(4));
    QCOMPARE(r[1], 0.0);
    QVERIFY2(std::fabs(r[2] - at50) < 5e-4, qPrintable(QString::number(r[2], 'g', 10)));
    QVERIFY2(std::fabs(r[3] - at100) < 5e-4, qPrintable(QString::number(r[3], 'g', 10)));
}

void TestAgeCalculation::coldGrainKeepsEverything() {
    // The default zone lies deeper than the emission distance, so a grain too
    // cold to diffuse keeps all its daughters: calculated time = elapsed time.
    const History cold = constantHistory(-100, kThreeTimes);
    for (AgeMethod method : {AgeMethod::Fast, AgeMethod::Direct}) {
        const std::vector<double> r = calculateAges(ageInput({}, cold), method);
        QVERIFY2(close(r[2], 50, 2e-4, 0), qPrintable(QString::number(r[2], 'g', 10)));
        QVERIFY2(close(r[3], 100, 2e-4, 0), qPrintable(QString::number(r[3], 'g', 10)));
    }
}

void TestAgeCalculation::constantTemperatureMatchesClosedForm() {
    // At a constant diffusivity D the sum of term j up to time t is
    // (1 - exp(-lambda_j D t)) / (lambda_j D); the partial sums of N-4..N terms
    // are extrapolated by the least-squares line's intercept at x = 0.
    const double R = 60, b = 40, a = 20;
    for (int N : {5, 20, 100}) {
        for (double temp : {-50.0, 20.0, 60.0, 120.0, 200.0}) {
            History h;
            for (int i = 0; i <= 20; ++i)
                h.add(5.0 * i, temp);
            const AgeInput in = ageInput({R, b, a, 20, N}, h);
            const long double D =
                in.d0 *
                std::exp(std::log(3.1536e21L) - in.activationEnergy / ((temp + 273.15L) * 1.9859L));
            std::vector<double> expected(h.size() + 1, 0.0);
            for (std::size_t k = 1; k <= h.size(); ++k) {
                const long double t = h.times[k];
                std::array<long double, 5> partial{};
                for (int j = 1; j <= N; ++j) {
                    const long double lambda = std::pow(j * M_PIl / R, 2);
                    const long double term = in.coefficients[std::size_t(j)] *
                                             -std::expm1(-lambda * D * t) / (lambda * D);
                    for (int l = 1; l <= 5; ++l)
                        if (j <= N - 5 + l)
                            partial[std::size_t(l - 1)] += term;
                }
                long double sx = 0, sxx = 0, sp = 0, sxp = 0;
                for (int l = 1; l <= 5; ++l) {
                    const long double x = 1.0L / (N - 5 + l + 0.5L);
                    sx += x;
                    sxx += x * x;
                    sp += partial[std::size_t(l - 1)];
                    sxp += x * partial[std::size_t(l - 1)];
                }
                const long double V = R * R * R / (b * b * b - a * a * a);
                expected[k] = static_cast<double>(V * (sp * sxx - sxp * sx) / (5 * sxx - sx * sx));
            }
            for (AgeMethod method : {AgeMethod::Fast, AgeMethod::Direct}) {
                const auto r = calculateAges(in, method);
                for (std::size_t k = 2; k <= h.size(); ++k)
                    QVERIFY2(close(r[k], expected[k], 1e-10, 1e-13),
                             qPrintable(QString("N=%1, %2 C, point %3: %4, expected %5")
                                            .arg(N)
                                            .arg(temp)
                                            .arg(k)
                                            .arg(r[k], 0, 'g', 17)
                                            .arg(expected[k], 0, 'g', 17)));
            }
        }
    }
}

void TestAgeCalculation::subdividingAConstantHistoryChangesNothing() {
    // At constant temperature the integrals are exact on any grid; at 120 C
    // almost every interval is past the cut-off, which must not zero them.
    for (double temp : {-20.0, 120.0}) {
        const History three = constantHistory(temp, kThreeTimes);
        History fine;
        for (int i = 0; i <= 20; ++i)
            fine.add(5.0 * i, temp);
        for (AgeMethod method : {AgeMethod::Fast, AgeMethod::Direct}) {
            const auto coarse = calculateAges(ageInput({}, three), method);
            const auto stepped = calculateAges(ageInput({}, fine), method);
            QVERIFY(coarse[2] > 1e-3);
            QVERIFY2(close(stepped[11], coarse[2], 1e-9, 1e-12),
                     qPrintable(QString("%1 vs %2").arg(stepped[11]).arg(coarse[2])));
            QVERIFY(close(stepped[21], coarse[3], 1e-9, 1e-12));
        }
    }
}

void TestAgeCalculation::equalTimesAreAnInstantaneousStep() {
    History h;
    h.add(0, 20);
    h.add(50, 20);
    h.add(50, 80); // heated in no time
    h.add(100, 80);
    const auto fast = calculateAges(ageInput({}, h), AgeMethod::Fast);
    const auto direct = calculateAges(ageInput({}, h), AgeMethod::Direct);
    // No time passes in the step, so nothing is produced or lost in it.
    QCOMPARE(exactly(fast[3]), exactly(fast[2]));
    QCOMPARE(exactly(direct[3]), exactly(direct[2]));
    QVERIFY(close(fast[2], 49.971, 0, 5e-4));
    // Afterwards the hot grain loses most of what it had.
    QVERIFY(fast[4] > 0 && fast[4] < 5);
    QVERIFY(close(fast[4], direct[4], 1e-8, 1e-6));
}

void TestAgeCalculation::shortHistories() {
    const History one = constantHistory(20, {7});
    const History empty;
    for (AgeMethod method : {AgeMethod::Fast, AgeMethod::Direct}) {
        QCOMPARE(calculateAges(ageInput({}, one), method), std::vector<double>({0.0, 0.0}));
        QCOMPARE(calculateAges(ageInput({}, empty), method), std::vector<double>({0.0}));
        AgeInput none = ageInput({}, empty);
        none.times = {};
        none.temps = {};
        QCOMPARE(calculateAges(none, method), std::vector<double>({0.0}));
    }
}

void TestAgeCalculation::progressEndsAtTheLastTerm() {
    const History h = constantHistory(20, kThreeTimes);
    for (AgeMethod method : {AgeMethod::Fast, AgeMethod::Direct}) {
        std::atomic<std::int32_t> progress{-1};
        calculateAges(ageInput({60, 40, 20, 20, 37}, h), method, &progress);
        QCOMPARE(progress.load(), 37);
    }
}

void TestAgeCalculation::refusedInput_data() {
    QTest::addColumn<AgeMethod>("method");
    QTest::addColumn<int>("what");
    QTest::addColumn<QString>("message");
    const std::vector<std::pair<const char *, QString>> cases = {
        {"time runs backwards", "The thermal history runs backwards in time: point 3 (time 30) "
                                "follows point 2 (time 50)."},
        {"below absolute zero", "The thermal history has a temperature at or below absolute "
                                "zero (-273.15 °C): point 2 (-300 °C)."},
        {"at absolute zero", "at or below absolute zero (-273.15 °C): point 1 (-273.15 °C)."},
        {"time not a number", "The thermal history has a time that is not a finite number at "
                              "point 2."},
        {"infinite temperature", "a temperature that is not a finite number at point 3."},
        {"slot counts differ", "The thermal history has 4 time slots but 3 temperature slots."},
        // The grain's rule, the one the windows and tarvel-calc apply.
        {"sphere radius 0", geometrycheck::kRadiiRuleText},
        {"empty emission zone", geometrycheck::kRadiiRuleText},
        {"negative D0", "The diffusion pre-factor D0 must be a finite number not below 0"},
    };
    for (int i = 0; i < int(cases.size()); ++i)
        addMethodRows(cases[std::size_t(i)].first,
                      [&](QTestData &row) { row << i << cases[std::size_t(i)].second; });
}

void TestAgeCalculation::refusedInput() {
    QFETCH(AgeMethod, method);
    QFETCH(int, what);
    QFETCH(QString, message);
    History h = constantHistory(20, {0, 50, 100});
    Grain g;
    switch (what) {
    case 0:
        h.times[3] = 30;
        break;
    case 1:
        h.temps[2] = -300;
        break;
    case 2:
        h.temps[1] = -273.15;
        break;
    case 3:
        h.times[2] = std::numeric_limits<double>::quiet_NaN();
        break;
    case 4:
        h.temps[3] = std::numeric_limits<double>::infinity();
        break;
    case 5:
        h.temps.pop_back();
        break;
    case 6:
        g.R = 0;
        break;
    case 7:
        g.b = g.a;
        break;
    }
    AgeInput in = ageInput({60, 40, 20, 20, 20}, h);
    in.sphereRadius = g.R;
    in.outerRadius = g.b;
    if (what == 8)
        in.d0 = -1;
    std::atomic<std::int32_t> progress{0};
    try {
        calculateAges(in, method, &progress);
        QFAIL("no error");
    } catch (const tarvel::Error &e) {
        QVERIFY2(QString::fromUtf8(e.what()).contains(message), e.what());
    }
    QCOMPARE(progress.load(), 0); // refused before any work
}

void TestAgeCalculation::nonFiniteResultStopsTheCalculation() {
    const History h = constantHistory(20, kThreeTimes);
    for (AgeMethod method : {AgeMethod::Fast, AgeMethod::Direct}) {
        AgeInput in = ageInput({}, h);
        in.coefficients[3] = std::numeric_limits<double>::infinity();
        try {
            calculateAges(in, method);
            QFAIL("no error");
        } catch (const tarvel::Error &e) {
            QVERIFY2(QString(e.what()).contains("the result at point 2 is not a finite number"),
                     e.what());
        }
    }
}

QTEST_APPLESS_MAIN(TestAgeCalculation)
#include "test_calc_agecalculation.moc"
