#include "agetestsupport.h"
#include "datamodule.h"
#include "errors.h"
#include "heliumages.h"
#include "jobinputs.h"
#include "precisemethod.h"

#include <QtTest>

#include <cmath>
#include <fstream>
#include <sstream>

// Helium from uranium, thorium and samarium against truths that owe nothing
// to the calculation: the closed-system age equation, the whole-grain
// ejection factor, today's one-distance model, the steady state of a hot
// grain, and an independent finite-volume solution (tests/calc/data).

namespace {

const std::vector<AgeMethod> kMethods = {AgeMethod::Fast, AgeMethod::Direct, AgeMethod::Precise};

const char *methodName(AgeMethod m) {
    return m == AgeMethod::Fast ? "fast" : m == AgeMethod::Direct ? "direct" : "precise";
}

// Decay per million years, helium per decay and nmol/g per ppm of each
// parent, written out here from the published values.
struct Nuclide {
    double decay, yield, nmolPerPpm;
};
const Nuclide kU238{1.55125e-4, 8, 1e3 / 238.03 * 137.818 / 138.818};
const Nuclide kU235{9.8485e-4, 7, 1e3 / 238.03 / 138.818};
const Nuclide kTh232{4.9475e-5, 6, 1e3 / 232.04};
const Nuclide kSm147{6.54e-6, 1, 1e3 / 150.36 * 0.1499};

AgeInput parentsInput(const Grain &g, const History &h, ParentsInput parents) {
    AgeInput in = ageInput(g, h);
    in.emissionDistance.reset();
    in.parents = parents;
    return in;
}

double wholeGrainFT(double S, double R) {
    return 1 - 3 * S / (4 * R) + S * S * S / (16 * R * R * R);
}

double relative(double value, double expected) {
    return std::fabs(value - expected) / std::fabs(expected);
}

// µm² per million years with the default constants.
double diffusivity(double celsius) {
    return 1807.8f * 3.1536e21 * std::exp(-36200.0 / (1.9859 * (celsius + 273.15)));
}

} // namespace

class TestParents : public QObject {
    Q_OBJECT
private slots:
    void closedSystem_data();
    void closedSystem();
    void oneSlowParentIsTodaysModel_data();
    void oneSlowParentIsTodaysModel();
    void steadyStateOfAHotGrain_data();
    void steadyStateOfAHotGrain();
    void meetsTheFiniteVolumeTruths();
    void dataSetRunsGiveTheRawAge();
    void refusesWhatItCannotCompute();
};

void TestParents::closedSystem_data() {
    QTest::addColumn<AgeMethod>("method");
    QTest::addColumn<double>("tolerance");
    for (AgeMethod m : kMethods)
        QTest::newRow(methodName(m)) << m << (m == AgeMethod::Precise ? 1e-7 : 1e-4);
}

// A frozen whole grain over 4500 Myr: the helium is what each parent made,
// times its ejection factor; He / FT gives back the time elapsed.
void TestParents::closedSystem() {
    QFETCH(AgeMethod, method);
    QFETCH(double, tolerance);
    const Grain grain{60, 60, 0, 0, 50};
    History h;
    for (int i = 0; i <= 90; ++i)
        h.add(50.0 * i, -150);
    ParentsInput p;
    p.uPpm = 40;
    p.thPpm = 100;
    p.smPpm = 300;
    p.stopping = {18.81, 21.80, 22.25, 5.93};
    const std::vector<HeliumAge> rows = heliumAges(parentsInput(grain, h, p), method);

    const std::array<Nuclide, 4> nuclides = {kU238, kU235, kTh232, kSm147};
    const std::array<double, 4> ppm = {p.uPpm, p.uPpm, p.thPpm, p.smPpm};
    const double present = h.times[h.size()];
    QCOMPARE(rows[1].heNmolG, 0.0);
    for (std::size_t k = 1; k <= h.size(); ++k) {
        const double t = h.times[k], elapsed = t - h.times[1];
        std::array<double, 4> atoms{}, made{};
        double he = 0, all = 0, rate = 0, keptRate = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            atoms[i] =
                ppm[i] * nuclides[i].nmolPerPpm * std::exp(nuclides[i].decay * (present - t));
            made[i] = nuclides[i].yield * atoms[i] * std::expm1(nuclides[i].decay * elapsed);
            const double ft = wholeGrainFT(p.stopping[i], grain.R);
            he += made[i] * ft;
            all += made[i];
            rate += nuclides[i].yield * atoms[i] * nuclides[i].decay;
            keptRate += nuclides[i].yield * atoms[i] * nuclides[i].decay * ft;
        }
        const double ft = k == 1 ? keptRate / rate : he / all;
        QVERIFY2(relative(rows[k].ft, ft) < 1e-12, qPrintable(QString::number(k)));
        if (k == 1)
            continue;
        QVERIFY2(relative(rows[k].heNmolG, he) < tolerance, qPrintable(QString::number(k)));
        // The raw age by bisection of the age equation for the exact helium.
        double lo = 0, hi = elapsed;
        for (int step = 0; step < 200; ++step) {
            const double mid = (lo + hi) / 2;
            double f = -he;
            for (std::size_t i = 0; i < 4; ++i)
                f += nuclides[i].yield * atoms[i] * std::expm1(nuclides[i].decay * mid);
            (f < 0 ? lo : hi) = mid;
        }
        QVERIFY2(relative(rows[k].rawAge, lo) < tolerance, qPrintable(QString::number(k)));
        QVERIFY2(relative(rows[k].correctedAge, elapsed) < tolerance,
                 qPrintable(QString::number(k)));
    }
}

void TestParents::oneSlowParentIsTodaysModel_data() {
    QTest::addColumn<AgeMethod>("method");
    for (AgeMethod m : kMethods)
        QTest::newRow(methodName(m)) << m;
}

// Samarium alone over one million years decays by 7e-6: its raw age is
// today's calculated time for its stopping distance as the emission distance,
// here in a shell zone, where the parents sit at C R³ / (b³ - a³).
void TestParents::oneSlowParentIsTodaysModel() {
    QFETCH(AgeMethod, method);
    const Grain grain{60, 40, 20, 5.93, 50};
    History h;
    for (int i = 0; i <= 50; ++i)
        h.add(0.02 * i, 100 - 0.4 * i); // partly open: 100 -> 80 °C
    ParentsInput p;
    p.smPpm = 500;
    p.stopping[3] = grain.S;
    AgeInput today = ageInput(grain, h);
    today.coefficients = geometryCoefficients(grain.R, grain.b, grain.a, grain.S, grain.N);
    const std::vector<double> expected = calculateAges(today, method);
    const std::vector<HeliumAge> rows = heliumAges(parentsInput(grain, h, p), method);
    for (std::size_t k = 2; k <= h.size(); ++k) {
        QVERIFY(expected[k] > 0.05 * h.times[k]);
        QVERIFY2(relative(rows[k].rawAge, expected[k]) < 2e-5, qPrintable(QString::number(k)));
    }
}

void TestParents::steadyStateOfAHotGrain_data() {
    QTest::addColumn<AgeMethod>("method");
    for (AgeMethod m : kMethods)
        QTest::newRow(methodName(m)) << m;
}

// At 150 °C the grain loses helium as fast as it makes it: uniform
// production P in a sphere holds P R² / (15 D) on average.
void TestParents::steadyStateOfAHotGrain() {
    QFETCH(AgeMethod, method);
    const Grain grain{60, 60, 0, 0, 50};
    const History h = constantHistory(150, {0, 5, 10, 50, 100});
    ParentsInput p;
    p.uPpm = 10;
    p.thPpm = 20;
    p.smPpm = 30;
    p.stopping = {1e-4, 1e-4, 1e-4, 1e-4};
    const std::vector<HeliumAge> rows = heliumAges(parentsInput(grain, h, p), method);
    double production = 0; // at the present
    const std::array<Nuclide, 4> nuclides = {kU238, kU235, kTh232, kSm147};
    const std::array<double, 4> ppm = {p.uPpm, p.uPpm, p.thPpm, p.smPpm};
    for (std::size_t i = 0; i < 4; ++i)
        production += nuclides[i].yield * nuclides[i].decay * ppm[i] * nuclides[i].nmolPerPpm;
    const double expected = production * grain.R * grain.R / (15 * diffusivity(150));
    QVERIFY2(relative(rows[h.size()].heNmolG, expected) < 1e-5,
             qPrintable(QString::number(rows[h.size()].heNmolG / expected - 1)));
}

// The precise method against the finite-volume solution with decay and four
// stopping distances: 1e-4 where the raw age is at least 1 % of the time
// elapsed, elsewhere 1e-6 of what the grain made in that time.
void TestParents::meetsTheFiniteVolumeTruths() {
    for (const char *name : {"parents-shell-reheating", "parents-late-cooling"}) {
        std::ifstream in(std::string(TARVEL_CALC_TEST_DATA) + "/" + name + ".csv");
        QVERIFY2(in, name);
        std::vector<double> grain;
        History h;
        std::vector<double> truth{0.0};
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("# grain:", 0) == 0) {
                std::istringstream fields(line.substr(8));
                for (double v; fields >> v;)
                    grain.push_back(v);
            }
            double t, T, he;
            char c1, c2;
            std::istringstream fields(line);
            if (line.empty() || line[0] == '#' || !(fields >> t >> c1 >> T >> c2 >> he))
                continue;
            h.add(t, T);
            truth.push_back(he);
        }
        QCOMPARE(grain.size(), std::size_t(12));
        AgeInput input;
        input.sphereRadius = grain[0];
        input.outerRadius = grain[1];
        input.innerRadius = grain[2];
        input.activationEnergy = grain[3];
        input.d0 = grain[4];
        input.terms = 50;
        input.times = h.times;
        input.temps = h.temps;
        input.parents =
            ParentsInput{grain[5], grain[6], grain[7], {grain[8], grain[9], grain[10], grain[11]}};
        const std::vector<HeliumAge> rows = heliumAges(input, AgeMethod::Precise);
        const double rate = rows[h.size()].heNmolG / rows[h.size()].rawAge; // about
        int checked = 0;
        for (std::size_t k = 2; k <= h.size(); ++k) {
            const double elapsed = h.times[k] - h.times[1];
            const double error = std::fabs(rows[k].heNmolG - truth[k]);
            if (rows[k].rawAge >= 0.01 * elapsed) {
                QVERIFY2(
                    error <= 1e-4 * truth[k],
                    qPrintable(QString("%1 point %2: %3").arg(name).arg(k).arg(error / truth[k])));
                ++checked;
            } else {
                QVERIFY2(error <= 1e-6 * rate * elapsed,
                         qPrintable(QString("%1 point %2").arg(name).arg(k)));
            }
        }
        QVERIFY(checked > 5);
    }
}

// The data set's parents reach the run: its calculated time is the raw age.
void TestParents::dataSetRunsGiveTheRawAge() {
    TDataModule1 model;
    model.GrainData = {60, 60, 0};
    model.ModelData.Emission_dist = -1; // not used by a data set with parents
    model.ParentsData.U_ppm = 20;
    model.ParentsData.Sm_ppm = 100;
    applyMineralPreset(model.ParentsData, kMineralPresets[1]);
    const std::vector<FPOINT> drawn = {{0, 110}, {60, 40}, {80, 20}};
    for (const ModelMethod method : {ModelMethod::Fast, ModelMethod::Precise}) {
        model.ModelData.Method = method;
        const AgeJobInput input = ageJobInput(model, drawn);
        const std::vector<double> ages = historyAges(input);
        const std::vector<HeliumAge> rows = historyHeliumAges(input);
        QCOMPARE(rows.size(), input.history.size());
        QCOMPARE(ages.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            QCOMPARE(ages[i], rows[i].rawAge);
            QCOMPARE(rows[i].time, double(input.history[i].x));
        }
        QVERIFY(rows.back().correctedAge > rows.back().rawAge);
    }
}

void TestParents::refusesWhatItCannotCompute() {
    const Grain grain{60, 60, 0, 0, 20};
    const History h = constantHistory(20, {0, 50, 100});
    auto refused = [&](ParentsInput p, const History &history) {
        try {
            heliumAges(parentsInput(grain, history, p), AgeMethod::Fast);
        } catch (const tarvel::Error &e) {
            return QString(e.what());
        }
        return QString();
    };
    ParentsInput p;
    p.uPpm = -1;
    QVERIFY(refused(p, h).contains("uranium"));
    p.uPpm = 0;
    QVERIFY(!refused(p, h).isEmpty()); // no parent at all
    p.thPpm = 10;
    p.stopping[2] = 0;
    QVERIFY(refused(p, h).contains("232Th"));
    // Every alpha particle leaves the grain: no FT, no corrected age.
    p.stopping = {200, 200, 200, 200};
    QVERIFY(!refused(p, h).isEmpty());
    // A history far longer than the parents live.
    p.stopping = {20, 20, 20, 20};
    p.uPpm = 1;
    QVERIFY(refused(p, constantHistory(20, {0, 1e6})).contains("million years"));
}

QTEST_APPLESS_MAIN(TestParents)
#include "test_calc_parents.moc"
