#include "errors.h"
#include "exactnumbers.h"
#include "geometrycheck.h"
#include "geometrycoefficients.h"

#include <QtTest>

#include <cmath>
#include <numeric>
#include <vector>

namespace {

double sum(const std::vector<double> &c) {
    return std::accumulate(c.begin() + 1, c.end(), 0.0);
}

// Fraction of daughters that stay in a sphere of radius R when produced
// uniformly in the whole sphere and emitted a distance S in a random direction.
double wholeSphereRetention(double R, double S) {
    const double x = S / R;
    return x >= 2 ? 0.0 : 1 - 0.75 * x + x * x * x / 16;
}

} // namespace

class TestGeometry : public QObject {
    Q_OBJECT
private slots:
    void documentedValues();
    void wholeSphereMatchesRetentionFraction_data();
    void wholeSphereMatchesRetentionFraction();
    void zoneIsAdditiveAcrossItsParts();
    void emissionBeyondTheGrainLosesEverything();
    void zeroEmissionDistanceIsTheLimit();
    void termCount();
    void undefinedInputsAreRefused_data();
    void undefinedInputsAreRefused();
    void undefinedCoefficientIsRefused();
    void recurrenceMatchesTheDirectFormula();
    void rememberedAreTheGrainsOwn();
};

void TestGeometry::documentedValues() {
    // The default grain: only the full-retention part [20, 40] is present.
    const std::vector<double> c = geometryCoefficients(60, 40, 20, 20, 20);
    QCOMPARE(c.size(), std::size_t(21));
    QCOMPARE(c[0], 0.0);
    QVERIFY(std::fabs(c[1] - 0.251375834) < 5e-10); // k = 1 adds the term with a plus sign
    QVERIFY(std::fabs(c[2] - 0.00684985) < 5e-9);
    QVERIFY(std::fabs(sum(c) - 0.25926) < 5e-6);
    // Both parts present: [0, 40] and [40, 60].
    QVERIFY(std::fabs(geometryCoefficients(60, 60, 0, 20, 20)[1] - 0.550875713) < 5e-10);
}

void TestGeometry::wholeSphereMatchesRetentionFraction_data() {
    QTest::addColumn<double>("S");
    QTest::newRow("tiny emission, both parts") << 5.0;
    QTest::newRow("both parts") << 20.0;
    QTest::newRow("S = R, partial part only") << 60.0;
    QTest::newRow("R < S < 2R") << 90.0;
}

void TestGeometry::wholeSphereMatchesRetentionFraction() {
    // The coefficients of the whole sphere sum to the retained fraction; the
    // tail of the series falls off as 1/N, so extrapolate from two counts.
    QFETCH(double, S);
    const double R = 60;
    const double s75 = sum(geometryCoefficients(R, R, 0, S, 75));
    const double s150 = sum(geometryCoefficients(R, R, 0, S, 150));
    const double limit = 2 * s150 - s75;
    QVERIFY2(
        std::fabs(limit - wholeSphereRetention(R, S)) < 2e-4,
        qPrintable(QString("limit %1, expected %2").arg(limit).arg(wholeSphereRetention(R, S))));
}

void TestGeometry::zoneIsAdditiveAcrossItsParts() {
    // Each coefficient integrates over the emission zone, so a zone split at
    // any radius gives the sum of its halves: across the border R - S between
    // full and partial retention, and inside either part.
    const std::vector<std::array<double, 3>> splits = {{20, 40, 60}, {20, 30, 40}, {45, 50, 58}};
    for (const auto &[a, m, b] : splits) {
        const auto whole = geometryCoefficients(60, b, a, 20, 30);
        const auto lower = geometryCoefficients(60, m, a, 20, 30);
        const auto upper = geometryCoefficients(60, b, m, 20, 30);
        for (int k = 1; k <= 30; ++k)
            QVERIFY(std::fabs(whole[k] - (lower[k] + upper[k])) < 1e-12);
    }
}

void TestGeometry::emissionBeyondTheGrainLosesEverything() {
    for (double S : {120.0, 121.0, 500.0}) { // S = 2R and S > 2R
        const auto c = geometryCoefficients(60, 60, 0, S, 20);
        QCOMPARE(c.size(), std::size_t(21));
        for (double ck : c)
            QCOMPARE(ck, 0.0);
    }
    // Just below 2R a little is kept.
    QVERIFY(geometryCoefficients(60, 60, 0, 119, 20)[1] > 0);
}

void TestGeometry::zeroEmissionDistanceIsTheLimit() {
    // Whole sphere, no emission: c_k = 6 / (k pi)^2, which sums to 1.
    const auto zero = geometryCoefficients(60, 60, 0, 0, 20);
    for (int k = 1; k <= 20; ++k)
        QVERIFY(std::fabs(zero[k] / (6 / std::pow(k * M_PI, 2)) - 1) < 1e-8);
    // Continuous with small distances, for the default zone ...
    const auto defaultZero = geometryCoefficients(60, 40, 20, 0, 20);
    const auto defaultSmall = geometryCoefficients(60, 40, 20, 1e-6, 20);
    for (int k = 1; k <= 20; ++k)
        QVERIFY(std::fabs(defaultSmall[k] - defaultZero[k]) <=
                1e-12 * std::fabs(defaultZero[k]) + 1e-15);
    // ... and for the whole sphere, where the zone's outer rim moves by S.
    const auto wholeSmall = geometryCoefficients(60, 60, 0, 1e-4, 20);
    for (int k = 1; k <= 20; ++k)
        QVERIFY(std::fabs(wholeSmall[k] - zero[k]) < 1e-5);
}

void TestGeometry::termCount() {
    QCOMPARE(geometryCoefficients(60, 40, 20, 20, 0).size(), std::size_t(1));
    QCOMPARE(geometryCoefficients(60, 40, 20, 20, -3).size(), std::size_t(1));
    // More terms than the historical limit of 100: the first ones do not change.
    const auto many = geometryCoefficients(60, 40, 20, 20, 150);
    const auto few = geometryCoefficients(60, 40, 20, 20, 20);
    QCOMPARE(many.size(), std::size_t(151));
    for (int k = 1; k <= 20; ++k)
        QCOMPARE(exactly(many[k]), exactly(few[k]));
    for (int k = 101; k <= 150; ++k)
        QVERIFY(std::isfinite(many[k]) && std::fabs(many[k]) < 1e-4);
    QVERIFY(std::fabs(sum(many) - 0.259259) < 5e-6);
}

void TestGeometry::undefinedInputsAreRefused_data() {
    QTest::addColumn<double>("R");
    QTest::addColumn<double>("S");
    QTest::addColumn<QString>("named");
    QTest::newRow("R = 0") << 0.0 << 20.0 << "sphere radius";
    QTest::newRow("R < 0") << -60.0 << 20.0 << "sphere radius";
    QTest::newRow("S < 0") << 60.0 << -1.0 << "emission distance";
    QTest::newRow("S NaN") << 60.0 << double(NAN) << "emission distance";
    QTest::newRow("R infinite") << double(INFINITY) << 20.0 << "sphere radius";
}

void TestGeometry::undefinedInputsAreRefused() {
    QFETCH(double, R);
    QFETCH(double, S);
    QFETCH(QString, named);
    try {
        geometryCoefficients(R, 40, 20, S, 20);
        QFAIL("no error");
    } catch (const tarvel::Error &e) {
        QVERIFY2(QString(e.what()).contains(named), e.what());
    }
}

void TestGeometry::undefinedCoefficientIsRefused() {
    // No emission with the zone reaching past the sphere, where the rim term
    // would divide by 0: refused by the grain's rule before any term.
    try {
        geometryCoefficients(60, 70, 0, 0, 20);
        QFAIL("no error");
    } catch (const tarvel::Error &e) {
        QVERIFY2(QString(e.what()).contains(geometrycheck::kRadiiRuleText), e.what());
    }
}

// The long tails of the precise method's parents come from the recurrence:
// over thousands of terms it stays on the formula evaluated term by term.
void TestGeometry::recurrenceMatchesTheDirectFormula() {
    const std::vector<std::array<double, 4>> grains = {{60, 40, 20, 20},
                                                       {60, 60, 0, 5.93},
                                                       {50, 40, 0, 70},
                                                       {100, 100, 0, 22.25},
                                                       {30, 30, 10, 30}};
    for (const auto &[R, b, a, S] : grains) {
        const std::vector<double> direct = geometryCoefficients(R, b, a, S, 8192);
        const std::vector<double> recurrent = recurrentGeometryCoefficients(R, b, a, S, 8192);
        QCOMPARE(recurrent.size(), direct.size());
        double worst = 0;
        for (std::size_t k = 1; k < direct.size(); ++k)
            worst = std::max(worst, std::fabs(recurrent[k] - direct[k]));
        QVERIFY2(worst <= 1e-13 * std::fabs(direct[1]), qPrintable(QString::number(worst)));
    }
}

// Remembered coefficients are those of the grain asked for, also once more
// grains have been asked for than are kept, and when grains differ in one
// length or in the number of terms alone.
void TestGeometry::rememberedAreTheGrainsOwn() {
    std::vector<std::array<double, 4>> grains;
    for (int i = 0; i < 40; ++i) {
        grains.push_back({40.0 + i, 40.0 + i, 0, 18.81});
        grains.push_back({40.0 + i, 40.0 + i, 0, 5.93});
    }
    grains.push_back({60, 40, 20, 20});
    grains.push_back({60, 40, 10, 20});
    for (int round = 0; round < 2; ++round)
        for (const auto &[R, b, a, S] : grains)
            for (const std::int32_t N : {20, 21})
                QVERIFY(rememberedGeometryCoefficients(R, b, a, S, N) ==
                        geometryCoefficients(R, b, a, S, N));
}

QTEST_APPLESS_MAIN(TestGeometry)
#include "test_calc_geometry.moc"
