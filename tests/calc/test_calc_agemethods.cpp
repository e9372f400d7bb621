#include "agecalculation.h"
#include "agetestsupport.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <random>

// The fast recurrence and the direct walk must agree on every history whose
// times never decrease: to 1e-8 relative, plus what the walk's cut-off leaves
// out (intervals weighing less than e^-20 each), at most 1e-6 absolute.

namespace {

enum class Kind { Cold, Hot, Mixed, Stepped };

// A random history of `points` points, with steps of at most 5 time units as
// the stepped curves of the program have.
History randomHistory(Kind kind, int points, std::mt19937_64 &rng) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    History h;
    double t = 10 * unit(rng);
    double temp = kind == Kind::Hot ? 150 : kind == Kind::Cold ? -40 : 40;
    for (int i = 0; i < points; ++i) {
        switch (kind) {
        case Kind::Cold:
            temp = -80 + 80 * unit(rng);
            break;
        case Kind::Hot:
            temp = 80 + 140 * unit(rng);
            break;
        case Kind::Mixed:
            temp = std::clamp(temp + 30 * (unit(rng) - 0.5), -60.0, 160.0);
            break;
        case Kind::Stepped:
            break;
        }
        h.add(t, static_cast<float>(temp)); // as the model's curve holds them
        if (kind == Kind::Stepped && unit(rng) < 0.2) {
            // A vertical step: the next point has the same time.
            temp = -60 + 200 * unit(rng);
            continue;
        }
        t += 5 * unit(rng);
    }
    return h;
}

Grain randomGrain(int N, std::mt19937_64 &rng) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Grain g;
    g.R = 20 + 80 * unit(rng);
    g.b = g.R * (0.3 + 0.7 * unit(rng));
    g.a = g.b * 0.9 * unit(rng);
    g.S = g.R * 1.5 * unit(rng);
    g.N = N;
    return g;
}

const char *kindName(Kind kind) {
    switch (kind) {
    case Kind::Cold:
        return "cold";
    case Kind::Hot:
        return "hot";
    case Kind::Mixed:
        return "mixed";
    case Kind::Stepped:
        return "stepped";
    }
    return "";
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestAgeMethods : public QObject {
    Q_OBJECT
private slots:
    void methodsAgree_data();
    void methodsAgree();
};

void TestAgeMethods::methodsAgree_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("N");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("histories");
    // The direct walk over a cold history costs N * points^2 / 2 exponentials,
    // so the long cold ones use few terms or few histories.
    struct Row {
        Kind kind;
        int N, points, histories;
    };
    const Row rows[] = {
        {Kind::Cold, 5, 300, 4},       {Kind::Cold, 6, 300, 4},    {Kind::Cold, 20, 1000, 2},
        {Kind::Cold, 100, 2000, 1},    {Kind::Cold, 150, 1500, 1}, {Kind::Hot, 6, 2000, 2},
        {Kind::Hot, 5, 500, 4},        {Kind::Hot, 20, 3000, 2},   {Kind::Hot, 150, 3000, 1},
        {Kind::Mixed, 5, 500, 4},      {Kind::Mixed, 20, 2000, 2}, {Kind::Mixed, 100, 3000, 1},
        {Kind::Mixed, 150, 1000, 1},   {Kind::Stepped, 7, 500, 4}, {Kind::Stepped, 20, 2000, 2},
        {Kind::Stepped, 150, 2000, 1},
    };
    for (const Row &r : rows)
        QTest::newRow(
            qPrintable(QString("%1, N=%2, %3 points").arg(kindName(r.kind)).arg(r.N).arg(r.points)))
            << r.kind << r.N << r.points << r.histories;
}

void TestAgeMethods::methodsAgree() {
    QFETCH(Kind, kind);
    QFETCH(int, N);
    QFETCH(int, points);
    QFETCH(int, histories);
    std::mt19937_64 rng(static_cast<std::uint64_t>(1000 * N + points + int(kind)));
    double worst = 0;
    for (int i = 0; i < histories; ++i) {
        const History h = randomHistory(kind, points, rng);
        const AgeInput in = ageInput(randomGrain(N, rng), h);
        const std::vector<double> fast = calculateAges(in, AgeMethod::Fast);
        const std::vector<double> direct = calculateAges(in, AgeMethod::Direct);
        QCOMPARE(fast.size(), direct.size());
        for (std::size_t k = 1; k < fast.size(); ++k) {
            const double allowed = 1e-8 * std::fabs(direct[k]) + 1e-6;
            const double off = std::fabs(fast[k] - direct[k]);
            worst = std::max(worst, off / allowed);
            if (off > allowed)
                QFAIL(qPrintable(QString("point %1: fast %2, direct %3")
                                     .arg(k)
                                     .arg(fast[k], 0, 'g', 17)
                                     .arg(direct[k], 0, 'g', 17)));
        }
        // The grain cannot hold more than was produced.
        QVERIFY(fast.back() >= 0);
    }
    qInfo("largest difference: %.3g of the allowed", worst);
}

QTEST_APPLESS_MAIN(TestAgeMethods)
#include "test_calc_agemethods.moc"
