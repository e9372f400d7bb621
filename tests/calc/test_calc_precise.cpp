#include "emissionfraction.h"
#include "errors.h"
#include "precisecases.h"
#include "precisemethod.h"

#include <QtTest>

#include <cmath>
#include <fstream>
#include <random>
#include <sstream>

// The precise method against truths of the continuous problem (the kept
// reference and fine-step truths checked by finite differences, see
// scripts/make-precise-truths.sh) and against closed forms.

namespace {

// time,calculated_time rows of a truth file; lines starting with # are notes.
std::vector<std::pair<double, double>> readTruth(const std::string &name) {
    std::ifstream in(std::string(TARVEL_CALC_TEST_DATA) + "/" + name + ".csv");
    std::vector<std::pair<double, double>> rows;
    std::string line;
    while (std::getline(in, line)) {
        double t, value;
        char comma;
        std::istringstream fields(line);
        if (line.empty() || line[0] == '#' || !(fields >> t >> comma >> value))
            continue;
        rows.push_back({t, value});
    }
    return rows;
}

// Kelvin-free Arrhenius of the test grain's constants, µm² per Myr.
double diffusivity(double celsius) {
    return 1807.8f * 3.1536e21 * std::exp(-36200.0 / (1.9859 * (celsius + 273.15)));
}

} // namespace

class TestPrecise : public QObject {
    Q_OBJECT
private slots:
    void keptFractionOfAWholeGrain_data();
    void keptFractionOfAWholeGrain();
    void keptFractionIsTheCoefficientSum_data();
    void keptFractionIsTheCoefficientSum();
    void meetsTheContinuousTruths();
    void coldAndHotLimits_data();
    void coldAndHotLimits();
    void shortTimeLossOfAWholeGrain_data();
    void shortTimeLossOfAWholeGrain();
    void roughHistoriesStayPhysical();
    void refusesWhatItCannotCompute();
};

void TestPrecise::keptFractionOfAWholeGrain_data() {
    QTest::addColumn<double>("S");
    for (double S : {0.0, 1e-6, 5.0, 30.0, 60.0, 90.0, 120.0, 150.0})
        QTest::newRow(qPrintable(QString("S=%1").arg(S))) << S;
}

void TestPrecise::keptFractionOfAWholeGrain() {
    QFETCH(double, S);
    const double R = 60, x = S / R;
    const double expected = S > 2 * R ? 0.0 : 1 - 3 * x / 4 + x * x * x / 16;
    QVERIFY(std::abs(keptFraction(R, R, 0, S) - expected) < 1e-12);
}

void TestPrecise::keptFractionIsTheCoefficientSum_data() {
    QTest::addColumn<double>("R");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("S");
    QTest::newRow("both parts") << 60.0 << 55.0 << 10.0 << 20.0;
    QTest::newRow("partial only") << 60.0 << 60.0 << 45.0 << 20.0;
    QTest::newRow("S between R and 2R") << 50.0 << 40.0 << 0.0 << 70.0;
    QTest::newRow("no emission") << 40.0 << 30.0 << 12.0 << 0.0;
}

// Both the coefficients and the fraction describe the kept daughters: the
// series sums to the fraction times the zone's share of the sphere, and
// splitting the zone splits the kept amount.
void TestPrecise::keptFractionIsTheCoefficientSum() {
    QFETCH(double, R);
    QFETCH(double, b);
    QFETCH(double, a);
    QFETCH(double, S);
    const double zone = b * b * b - a * a * a;
    const std::vector<double> c = geometryCoefficients(R, b, a, S, 40000);
    double sum = 0.0;
    for (std::size_t j = c.size() - 1; j >= 1; --j)
        sum += c[j];
    QVERIFY2(std::abs(sum - keptFraction(R, b, a, S) * zone / (R * R * R)) < 2e-5,
             qPrintable(QString::number(sum)));
    const double m = (a + b) / 2;
    const double split = keptFraction(R, m, a, S) * (m * m * m - a * a * a) +
                         keptFraction(R, b, m, S) * (b * b * b - m * m * m);
    QVERIFY(std::abs(split - keptFraction(R, b, a, S) * zone) < 1e-10 * zone);
}

// 1e-4 relative where the calculated time is at least 1 % of the elapsed time,
// 1e-6 of the elapsed time elsewhere, at every point.
void TestPrecise::meetsTheContinuousTruths() {
    for (const PreciseCase &c : precisecases::all()) {
        const auto truth = readTruth(c.name);
        QCOMPARE(truth.size(), c.history.size());
        const std::vector<double> ages =
            calculateAges(ageInput(c.grain, c.history), AgeMethod::Precise);
        for (std::size_t k = 1; k <= c.history.size(); ++k) {
            const auto [t, expected] = truth[k - 1];
            QCOMPARE(t, c.history.times[k]);
            const double elapsed = t - c.history.times[1];
            const double error = std::abs(ages[k] - expected);
            const double bound = expected >= 0.01 * elapsed ? 1e-4 * expected : 1e-6 * elapsed;
            QVERIFY2(error <= bound,
                     qPrintable(QString::fromStdString(c.name) +
                                QString(" at %1: %2 vs %3").arg(t).arg(ages[k]).arg(expected)));
        }
    }
}

void TestPrecise::coldAndHotLimits_data() {
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("S");
    QTest::addColumn<double>("temp");
    QTest::addColumn<double>("expected"); // result at t = 100
    // Frozen: everything the emission keeps stays. The fast method's
    // extrapolation is percents high for some of these.
    const double x = 20.0 / 60;
    QTest::newRow("frozen, no emission") << 40.0 << 10.0 << 0.0 << -150.0 << 100.0;
    QTest::newRow("frozen, whole grain")
        << 60.0 << 0.0 << 20.0 << -150.0 << 100 * (1 - 3 * x / 4 + x * x * x / 16);
    QTest::newRow("frozen, emission leaves") << 60.0 << 0.0 << 130.0 << -150.0 << 0.0;
    // Hot for long: the steady state of a whole grain without emission losses,
    // R² / (15 D).
    QTest::newRow("hot steady state")
        << 60.0 << 0.0 << 0.0 << 150.0 << 60.0 * 60 / (15 * diffusivity(150));
}

void TestPrecise::coldAndHotLimits() {
    QFETCH(double, b);
    QFETCH(double, a);
    QFETCH(double, S);
    QFETCH(double, temp);
    QFETCH(double, expected);
    for (int N : {5, 20, 50}) {
        const History h = constantHistory(temp, {0, 40, 100});
        const std::vector<double> ages =
            calculateAges(ageInput({60, b, a, S, N}, h), AgeMethod::Precise);
        QVERIFY2(std::abs(ages[3] - expected) <= 1e-6 * expected + 1e-12,
                 qPrintable(QString("N=%1: %2").arg(N).arg(ages[3], 0, 'g', 12)));
    }
}

void TestPrecise::shortTimeLossOfAWholeGrain_data() {
    QTest::addColumn<double>("temp");
    QTest::addColumn<double>("scaledTime"); // D t / R²
    QTest::newRow("warm, 1e-2") << 20.0 << 1e-2;
    QTest::newRow("warm, 1e-3") << 20.0 << 1e-3;
    QTest::newRow("cool, 1e-6") << 0.0 << 1e-6;
    // About 100 Myr at -20 °C: the loss comes from terms around the last
    // node and beyond, where the series' remainder stands for all of them.
    QTest::newRow("cold, 1e-8") << -20.0 << 1e-8;
}

// A whole grain without emission losses (only diffusion loses helium), made
// empty and held at one temperature: the share of what it made that it has
// lost is the time average of the loss of a uniformly filled sphere,
// 6 sqrt(tau / pi) - 3 tau (tau = D t / R²) up to exponentially small terms:
// (4 / sqrt(pi)) sqrt(tau) - 1.5 tau.
void TestPrecise::shortTimeLossOfAWholeGrain() {
    QFETCH(double, temp);
    QFETCH(double, scaledTime);
    const double R = 60;
    const double t = scaledTime * R * R / diffusivity(temp);
    const History h = constantHistory(temp, {0, t / 3, t});
    for (int N : {5, 20}) {
        const std::vector<double> ages =
            calculateAges(ageInput({R, R, 0, 0, N}, h), AgeMethod::Precise);
        const double lost = 1 - ages[3] / t;
        const double expected =
            4 / std::sqrt(3.141592653589793) * std::sqrt(scaledTime) - 1.5 * scaledTime;
        QVERIFY2(std::abs(lost / expected - 1) < 0.01,
                 qPrintable(QString("N=%1: lost %2, expected %3").arg(N).arg(lost).arg(expected)));
    }
}

// Frozen and molten in turn, with vertical steps: every result lies between 0
// and the elapsed time, and the run ends in good time.
void TestPrecise::roughHistoriesStayPhysical() {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    History h;
    double t = 0;
    for (int i = 0; i < 1000; ++i) {
        h.add(t, unit(rng) < 0.5 ? -260 + 60 * unit(rng) : 600 + 800 * unit(rng));
        if (unit(rng) > 0.1)
            t += 5 * unit(rng);
    }
    for (const Grain &g : {Grain{60, 40, 20, 20, 20}, Grain{30, 30, 0, 0, 5}}) {
        const std::vector<double> ages = calculateAges(ageInput(g, h), AgeMethod::Precise);
        for (std::size_t k = 1; k <= h.size(); ++k)
            QVERIFY(ages[k] >= 0 && ages[k] <= (h.times[k] - h.times[1]) * (1 + 1e-9));
    }
}

void TestPrecise::refusesWhatItCannotCompute() {
    const History h = constantHistory(20, {0, 50});
    AgeInput noDistance = ageInput({}, h);
    noDistance.emissionDistance.reset();
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, calculateAges(noDistance, AgeMethod::Precise));
    // Fast and direct never needed it.
    QCOMPARE(calculateAges(noDistance, AgeMethod::Fast).size(), std::size_t(3));
    for (const Grain &g :
         {Grain{60, 70, 20, 20, 20}, Grain{60, 40, -5, 20, 20}, Grain{60, 40, 20, -1, 20}}) {
        AgeInput in = ageInput({}, h);
        in.outerRadius = g.b;
        in.innerRadius = g.a;
        in.emissionDistance = g.S;
        QVERIFY_THROWS_EXCEPTION(tarvel::Error, calculateAges(in, AgeMethod::Precise));
    }
}

QTEST_APPLESS_MAIN(TestPrecise)
#include "test_calc_precise.moc"
