// The search on every core: the same bytes on one and on two cores and in
// parts, and a known history found again from its grains.
#include "grainprediction.h"
#include "pathdraw.h"
#include "searchcsv.h"
#include "searchfixture.h"
#include "searchinput.h"
#include "searchrunner.h"

#include <QtTest>

#include <cmath>
#include <random>
#include <sstream>

#include <omp.h>

namespace {

// Everything a search writes, as text.
std::string outputs(const SearchInput &input, const SearchResult &result) {
    std::ostringstream out;
    writeSearchSummary(result, out);
    writeAcceptedPaths(input, result, out);
    writeEnvelope(input, result, out);
    return out.str();
}

// The temperature of a history drawn as points, linear between them.
double temperatureAt(const std::vector<FPOINT> &points, double time) {
    for (std::size_t i = 1; i < points.size(); ++i)
        if (time <= points[i].x)
            return points[i - 1].y + (points[i].y - points[i - 1].y) * (time - points[i - 1].x) /
                                         (points[i].x - points[i - 1].x);
    return points.back().y;
}

} // namespace

class TestSearchRunner : public QObject {
    Q_OBJECT
private slots:
    void sameOnAnyNumberOfCores();
    void recoversAKnownHistory();
};

// One core, two cores and the paths in two parts merged (as two processes
// would run them) give the same result and write the same bytes.
void TestSearchRunner::sameOnAnyNumberOfCores() {
    TDataModule1 dataSet = searchDataSet();
    dataSet.Search.paths = 150;
    const SearchInput input = searchInput(dataSet);
    omp_set_num_threads(1);
    const SearchResult one = runSearch(input);
    omp_set_num_threads(2);
    const SearchResult two = runSearch(input);
    SearchControl firstPart, secondPart;
    firstPart.count = 61;
    secondPart.first = 61;
    SearchResult parts = runSearch(input, secondPart);
    parts.merge(runSearch(input, firstPart));
    QCOMPARE(one.paths, std::int64_t{150});
    QVERIFY(one.acceptable > 0 && one.acceptable < 150); // the envelope and the list hold paths
    QVERIFY(one == two);
    QVERIFY(one == parts);
    QCOMPARE(outputs(input, two), outputs(input, one));
}

// Grains computed under a known history, their ages given noise, are searched:
// the known history lies inside the envelope of the acceptable paths over the
// time the grains record, from the oldest grain's age before the present on.
void TestSearchRunner::recoversAKnownHistory() {
    TDataModule1 dataSet = searchDataSet();
    const std::vector<FPOINT> known = {{0, 130}, {25, 100}, {50, 72}, {75, 50}, {100, 15}};
    dataSet.Grains = {{"r40", 40, 15, 30, 80, {}, {}},
                      {"r60", 60, 40, 20, 120, {}, {}},
                      {"r85", 85, 10, 45, 60, {}, {}},
                      {"r110", 110, 60, 90, 200, {}, {}}};
    std::mt19937_64 random(2024);
    double oldest = 0.0;
    const AgeJobInput sample = sampleJobInput(dataSet, known);
    for (tarvel::GrainRecord &grain : dataSet.Grains) {
        const double age = predictGrain(sample, grain).rawAge;
        // A normal deviate by Box and Muller, so the noise is the same on every library.
        const double u1 = (double(random() >> 11) + 0.5) / 9007199254740992.0;
        const double u2 = double(random() >> 11) / 9007199254740992.0;
        const double z = std::sqrt(-2 * std::log(u1)) * std::cos(2 * M_PI * u2);
        grain.rawAgeSd = 0.05 * age;
        grain.rawAge = age + z * *grain.rawAgeSd;
        oldest = std::max(oldest, age);
    }
    dataSet.Search.boxes = {{0, 0, 110, 150}, {100, 100, 10, 20}};
    dataSet.Search.paths = 3000;
    dataSet.Search.maxRate = 3;
    dataSet.Search.nodes = 3; // as many bends between the boxes as the known history has
    const SearchInput input = searchInput(dataSet);
    const SearchResult result = runSearch(input);
    QVERIFY2(result.acceptable >= 20, qPrintable(QString::number(result.acceptable)));
    int checked = 0;
    for (int i = 0; i < kEnvelopeTimes; ++i) {
        const double time = envelopeTime(input, i);
        if (time < input.present - oldest)
            continue;
        const double truth = temperatureAt(known, time);
        const auto at = static_cast<std::size_t>(i);
        QVERIFY2(result.acceptableMin[at] <= truth && truth <= result.acceptableMax[at],
                 qPrintable(QString("at %1 Myr: %2 outside %3 to %4")
                                .arg(time)
                                .arg(truth)
                                .arg(result.acceptableMin[at])
                                .arg(result.acceptableMax[at])));
        ++checked;
    }
    QVERIFY(checked > 40);
}

QTEST_GUILESS_MAIN(TestSearchRunner)
#include "test_search_runner.moc"
