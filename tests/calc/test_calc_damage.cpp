// Radiation-damage kinetics against what owes nothing to the calculation: the
// published closure temperatures, converged date-eU values of this model,
// closed forms of the diffusion laws and of a frozen grain's dose;
// the precise method against itself at half its tolerance, and the fast
// method against the precise one as its steps shrink.
#include "damage.h"
#include "heliumages.h"
#include "precisecases.h"
#include "precisemethod.h"

#include <QtTest>

#include <cmath>

// A history's drawn points, (time, temperature).
using Points = std::vector<std::pair<double, double>>;
Q_DECLARE_METATYPE(ModelKinetics)
Q_DECLARE_METATYPE(Points)

namespace {

// 10 °C/Myr from 200 °C to 0 °C.
const Points kClosureCooling = {{0, 200}, {20, 0}};
// Slow cooling, 150 -> 20 °C over 200 Myr.
const Points kSlowCooling = {{0, 150}, {200, 20}};
// Cooling into the partial retention zone, 100 Myr at 65 °C, out again.
const Points kRetentionZone = {{0, 120}, {20, 65}, {120, 65}, {130, 20}};
// Zircon: 350 -> 180 °C in 100 Myr, then slow cooling to 20 °C at 1000 Myr.
const Points kZirconHistory = {{0, 350}, {100, 180}, {1000, 20}};
// Apatite reheated into the partial retention zone.
const Points kReheating = {{0, 110}, {40, 30}, {70, 30}, {80, 85}, {100, 15}};

// A whole sphere of radius 60 µm holding eU ppm (U + 0.238 Th) at the given
// Th/U, with the mineral's stopping distances, 50 terms.
AgeInput grainInput(ModelKinetics kinetics, double eU, double thToU, const History &h) {
    AgeInput in;
    in.sphereRadius = in.outerRadius = 60;
    in.innerRadius = 0;
    in.terms = 50;
    in.kinetics = kinetics;
    ParentsInput p;
    p.uPpm = eU / (1 + 0.238 * thToU);
    p.thPpm = p.uPpm * thToU;
    if (kinetics == ModelKinetics::Zrdaam)
        p.stopping = {15.55, 18.05, 18.43, 4.76};
    in.parents = p;
    in.times = h.times;
    in.temps = h.temps;
    return in;
}

double relative(double value, double expected) {
    return std::fabs(value - expected) / std::fabs(expected);
}

// The raw age at every point (slots 1..n) by the precise method under
// `settings`, each point taken as the present.
std::vector<double> preciseRawAges(const AgeInput &in, const PreciseSettings &settings) {
    const std::vector<ParentSource> sources = parentSources(*in.parents);
    const AnnealedDose dose = annealedDose(in.kinetics, in.times, in.temps, settings.damageSteps);
    const std::vector<double> helium =
        preciseHeldHelium(in, sources, nullptr, settings, nullptr, &dose);
    const std::size_t n = in.times.size() - 1;
    std::vector<double> ages(n + 1, 0.0);
    for (std::size_t k = 2; k <= n; ++k)
        ages[k] = ageFromHelium(helium[k], sources, in.times[n] - in.times[k]);
    return ages;
}

} // namespace

class TestDamage : public QObject {
    Q_OBJECT
private slots:
    void closureTemperatures_data();
    void closureTemperatures();
    void dateEU_data();
    void dateEU();
    void preciseConvergesAtHalfItsTolerance_data();
    void preciseConvergesAtHalfItsTolerance();
    void fastApproachesPrecise_data();
    void fastApproachesPrecise();
    void rowsGiveDamageAndDiffusivity();
};

void TestDamage::closureTemperatures_data() {
    QTest::addColumn<ModelKinetics>("kinetics");
    QTest::addColumn<double>("raw");       // °C, raw age times the rate
    QTest::addColumn<double>("corrected"); // °C, FT-corrected age times the rate
    // Flowers et al. 2009 give 62 °C for RDAAM at 28 ppm eU and 70 °C for
    // Durango kinetics (the FT-corrected closure temperature); this model,
    // converged, gives 61.4 and 70.4.
    QTest::newRow("RDAAM, 28 ppm") << ModelKinetics::Rdaam << 47.0 << 61.4;
    QTest::newRow("Durango Arrhenius") << ModelKinetics::Arrhenius << 53.9 << 70.4;
}

void TestDamage::closureTemperatures() {
    QFETCH(ModelKinetics, kinetics);
    QFETCH(double, raw);
    QFETCH(double, corrected);
    const History h = precisecases::drawn(kClosureCooling);
    AgeInput in = grainInput(kinetics, 28, 0, h);
    in.activationEnergy = 138000 / 4.184; // Durango: 138 kJ/mol, D0 50 cm²/s
    in.d0 = 50;
    const HeliumAge present = presentHeliumAge(in, AgeMethod::Precise);
    QVERIFY2(std::fabs(10 * present.rawAge - raw) < 0.05,
             qPrintable(QString::number(present.rawAge)));
    QVERIFY2(std::fabs(10 * present.correctedAge - corrected) < 0.05,
             qPrintable(QString::number(present.correctedAge)));
}

void TestDamage::dateEU_data() {
    QTest::addColumn<ModelKinetics>("kinetics");
    QTest::addColumn<Points>("points");
    QTest::addColumn<double>("thToU");
    QTest::addColumn<double>("eU");
    QTest::addColumn<double>("raw");       // Ma
    QTest::addColumn<double>("corrected"); // Ma
    // Apatite ages rise with eU under slow cooling and residence in the
    // partial retention zone (Flowers et al. 2009); zircon ages rise to a few
    // hundred ppm and fall once the damage zones connect (Guenthner et al.
    // 2013). This model's values, converged, to the table's two decimals.
    const auto rows = [](const char *name, ModelKinetics kinetics, const Points &points,
                         double thToU, const std::vector<std::array<double, 3>> &table) {
        for (const auto &[eU, raw, corrected] : table)
            QTest::newRow(qPrintable(QString("%1, %2 ppm").arg(name).arg(eU)))
                << kinetics << points << thToU << eU << raw << corrected;
    };
    rows("apatite slow cooling", ModelKinetics::Rdaam, kSlowCooling, 1,
         {{{5, 28.71, 37.87},
           {10, 32.52, 42.89},
           {20, 39.19, 51.67},
           {40, 47.31, 62.37},
           {80, 55.72, 73.44},
           {150, 63.10, 83.14},
           {300, 70.70, 93.14},
           {1000, 82.40, 108.53}}});
    rows("apatite retention zone", ModelKinetics::Rdaam, kRetentionZone, 1,
         {{{5, 6.49, 8.56},
           {10, 7.81, 10.30},
           {20, 13.53, 17.85},
           {40, 31.87, 42.03},
           {80, 57.65, 75.97},
           {150, 74.32, 97.91},
           {300, 83.23, 109.62}}});
    rows("zircon", ModelKinetics::Zrdaam, kZirconHistory, 0.5,
         {{{10, 442.20, 546.38},
           {30, 502.67, 620.27},
           {100, 564.93, 696.11},
           {300, 609.93, 750.80},
           {1000, 600.55, 739.40},
           {2000, 117.72, 146.50},
           {3000, 0.00, 0.00},
           {6000, 0.00, 0.00}}});
}

// To the two decimals of the table and a few 1e-4 relative.
void TestDamage::dateEU() {
    QFETCH(ModelKinetics, kinetics);
    QFETCH(Points, points);
    QFETCH(double, thToU);
    QFETCH(double, eU);
    QFETCH(double, raw);
    QFETCH(double, corrected);
    const History h = precisecases::drawn(points);
    const HeliumAge present =
        presentHeliumAge(grainInput(kinetics, eU, thToU, h), AgeMethod::Precise);
    QVERIFY2(std::fabs(present.rawAge - raw) <= 0.005 + 2e-4 * raw,
             qPrintable(QString::number(present.rawAge, 'f', 4)));
    QVERIFY2(std::fabs(present.correctedAge - corrected) <= 0.005 + 2e-4 * corrected,
             qPrintable(QString::number(present.correctedAge, 'f', 4)));
}

void TestDamage::preciseConvergesAtHalfItsTolerance_data() {
    QTest::addColumn<ModelKinetics>("kinetics");
    QTest::addColumn<Points>("points");
    QTest::addColumn<double>("eU");
    QTest::newRow("apatite closure") << ModelKinetics::Rdaam << kClosureCooling << 28.0;
    QTest::newRow("apatite slow cooling, 1000 ppm")
        << ModelKinetics::Rdaam << kSlowCooling << 1000.0;
    QTest::newRow("apatite retention zone") << ModelKinetics::Rdaam << kRetentionZone << 80.0;
    QTest::newRow("apatite reheated") << ModelKinetics::Rdaam << kReheating << 40.0;
    QTest::newRow("zircon, falling ages") << ModelKinetics::Zrdaam << kZirconHistory << 2000.0;
    QTest::newRow("zircon, 30 ppm") << ModelKinetics::Zrdaam << kZirconHistory << 30.0;
}

// Halving every step of the method changes no raw age by 1e-4, at any point
// (where the age is at least 1 % of the time elapsed; below, by 1e-6 of it).
void TestDamage::preciseConvergesAtHalfItsTolerance() {
    QFETCH(ModelKinetics, kinetics);
    QFETCH(Points, points);
    QFETCH(double, eU);
    const History h = precisecases::drawn(points);
    const AgeInput in = grainInput(kinetics, eU, 1, h);
    PreciseSettings half;
    half.lnDStep /= 2;
    half.damageSteps.lnTempStep /= 2;
    half.damageSteps.timeStep /= 2;
    const std::vector<double> ages = preciseRawAges(in, {});
    const std::vector<double> finer = preciseRawAges(in, half);
    for (std::size_t k = 2; k <= h.size(); ++k) {
        const double elapsed = h.times[k] - h.times[1];
        const double bound = ages[k] >= 0.01 * elapsed ? 1e-4 * ages[k] : 1e-6 * elapsed;
        QVERIFY2(std::fabs(ages[k] - finer[k]) <= bound,
                 qPrintable(QString("at %1: %2 vs %3").arg(h.times[k]).arg(ages[k]).arg(finer[k])));
    }
}

void TestDamage::fastApproachesPrecise_data() {
    QTest::addColumn<ModelKinetics>("kinetics");
    QTest::addColumn<Points>("points");
    QTest::addColumn<double>("eU");
    QTest::newRow("apatite closure") << ModelKinetics::Rdaam << kClosureCooling << 28.0;
    QTest::newRow("zircon") << ModelKinetics::Zrdaam << kZirconHistory << 1000.0;
}

// The fast method's damage, diffusivity and helium on finer and finer steps
// of the same history come within its series' own error of the precise
// method (some 1e-3 at 50 terms), from tens of per cent at coarse steps.
void TestDamage::fastApproachesPrecise() {
    QFETCH(ModelKinetics, kinetics);
    QFETCH(Points, points);
    QFETCH(double, eU);
    const double span = points.back().first - points.front().first;
    const History drawn = precisecases::drawn(points);
    const double precise =
        presentHeliumAge(grainInput(kinetics, eU, 1, drawn), AgeMethod::Precise).rawAge;
    double error = 1.0;
    for (const double share : {1.0 / 4, 1.0 / 20, 1.0 / 100, 1.0 / 500}) {
        const History h = precisecases::drawn(points, span * share);
        const double fast =
            presentHeliumAge(grainInput(kinetics, eU, 1, h), AgeMethod::Fast).rawAge;
        const double e = relative(fast, precise);
        QVERIFY2(e < error || e < 1e-3, qPrintable(QString("steps of %1: %2").arg(share).arg(e)));
        error = e;
    }
    QVERIFY2(error < 2e-3, qPrintable(QString::number(error)));
}

// Each row's damage and diffusivity: at the first point, no damage yet, so
// RDAAM's diffusivity is its lattice diffusivity and ZRDAAM's has no bound;
// in a frozen grain the damage is the whole alpha dose (ZRDAAM's own measure;
// RDAAM's track density counts it in 238U decays, 3.19 g/cm³, Durango's
// etching and half the track length).
void TestDamage::rowsGiveDamageAndDiffusivity() {
    const double kelvin = 273.15 - 150;
    const History h = constantHistory(-150, {0, 50, 100});
    const double dose = [] {
        // 40 ppm U alone: 238U and 235U, 8 and 7 alphas, 100 Myr.
        const double atoms = 40 * 1e3 / 238.03, share = 137.818 / 138.818;
        return 6.02214076e14 * (8 * atoms * share * std::expm1(1.55125e-4 * 100) +
                                7 * atoms * (1 - share) * std::expm1(9.8485e-4 * 100));
    }();
    for (const ModelKinetics kinetics : {ModelKinetics::Rdaam, ModelKinetics::Zrdaam}) {
        AgeInput in = grainInput(kinetics, 40, 0, h);
        for (const AgeMethod method : {AgeMethod::Fast, AgeMethod::Precise}) {
            const std::vector<HeliumAge> rows = heliumAges(in, method);
            QCOMPARE(rows[1].damage, 0.0);
            if (kinetics == ModelKinetics::Zrdaam) {
                QVERIFY(std::isinf(rows[1].log10DiffusivityA2));
                QVERIFY(relative(rows[3].damage, dose) < 1e-3);
            } else {
                const double lattice = 0.6071 * std::exp(-122.3 / (8.314472e-3 * kelvin));
                QVERIFY(std::fabs(rows[1].log10DiffusivityA2 -
                                  std::log10(lattice / (60e-4 * 60e-4))) < 1e-9);
                const double tracks = 0.91 * 8.15e-4 * 8.46e-17 / 1.55125e-10 * 3.19 * dose / 8;
                QVERIFY(relative(rows[3].damage, tracks) < 1e-2);
            }
            QVERIFY(rows[3].log10DiffusivityA2 < rows[2].log10DiffusivityA2);
        }
    }
}

QTEST_APPLESS_MAIN(TestDamage)
#include "test_calc_damage.moc"
