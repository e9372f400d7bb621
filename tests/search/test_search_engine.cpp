// The search's engine on the calling thread: the random stream, the paths'
// rules, the input's refusals, the result's merge, and a stop from another
// thread.
#include "calcerrors.h"
#include "errors.h"
#include "pathdraw.h"
#include "pathevaluation.h"
#include "searchfixture.h"
#include "searchinput.h"
#include "searchresult.h"
#include "searchrunner.h"

#include <QtTest>

#include <algorithm>
#include <functional>
#include <thread>

#include <omp.h>

namespace {

// Within what rounding a path's nodes to single precision can move them.
bool within(double value, double low, double high) {
    const double slack = 1e-6 * std::max({1.0, std::fabs(low), std::fabs(high)});
    return value >= low - slack && value <= high + slack;
}

using Change = std::function<void(TDataModule1 &)>;

} // namespace

class TestSearchEngine : public QObject {
    Q_OBJECT
private slots:
    void streamIsPhilox();
    void pathsHonourTheRules_data();
    void pathsHonourTheRules();
    void pathDependsOnSeedAndIndexAlone();
    void refusals_data();
    void refusals();
    void partsMergeInAnyOrder();
    void stopsWhenAsked();
};

// The known-answer vector of Philox4x64-10 for the counter and key 0 gives the
// first four numbers of path 0 under seed 0.
void TestSearchEngine::streamIsPhilox() {
    PathStream stream(0, 0);
    for (const std::uint64_t word : {0x16554d9eca36314cull, 0xdb20fe9d672d0fdcull,
                                     0xd7e772cee186176bull, 0x7e68b68aec7ba23bull})
        QCOMPARE(stream.uniform(), (double(word >> 11) + 0.5) / 9007199254740992.0);
    PathStream other(0, 1);
    QVERIFY(other.uniform() != PathStream(0, 0).uniform());
}

void TestSearchEngine::pathsHonourTheRules_data() {
    using Boxes = std::vector<tarvel::ConstraintBox>;
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<int>("nodes");
    QTest::addColumn<double>("rate");
    QTest::addColumn<bool>("monotonic");
    QTest::newRow("five boxes") << Boxes{{0, 0, 110, 150},
                                         {20, 40, 60, 110},
                                         {50, 70, 40, 80},
                                         {80, 90, 20, 70},
                                         {100, 100, 10, 20}}
                                << 2 << 10.0 << false;
    QTest::newRow("one box for all") << Boxes{{-5, 105, 0, 150}} << 3 << 5.0 << false;
    QTest::newRow("cooling only") << Boxes{{0, 0, 100, 140}, {30, 60, 50, 90}, {95, 100, 5, 25}}
                                  << 2 << 3.0 << true;
    QTest::newRow("no nodes, a slow rate")
        << Boxes{{0, 0, 100, 120}, {100, 100, 10, 20}} << 0 << 1.0 << false;
    QTest::newRow("boxes that touch")
        << Boxes{{0, 40, 80, 120}, {40, 70, 50, 90}, {70, 100, 10, 30}} << 1 << 4.0 << true;
}

// Over many paths: a node in every box (the first at time 0, the last at the
// present), the nodes between, time never running back, no segment faster
// than the rate, no rise where the temperature may not rise; and the paths
// spread over the first box.
void TestSearchEngine::pathsHonourTheRules() {
    using Boxes = std::vector<tarvel::ConstraintBox>;
    QFETCH(Boxes, boxes);
    QFETCH(int, nodes);
    QFETCH(double, rate);
    QFETCH(bool, monotonic);
    TDataModule1 dataSet = searchDataSet();
    dataSet.Search.boxes = boxes;
    dataSet.Search.nodes = nodes;
    dataSet.Search.maxRate = rate;
    dataSet.Search.monotonic = monotonic;
    const SearchInput input = searchInput(dataSet);
    const std::size_t anchors = std::max<std::size_t>(boxes.size(), 2);
    double lowest = 1e9, highest = -1e9;
    for (std::int64_t k = 0; k < 300; ++k) {
        const std::vector<PathNode> path = drawPath(input, k);
        QCOMPARE(path.size(), anchors + (anchors - 1) * nodes);
        QCOMPARE(path.front().time, 0.0);
        QCOMPARE(path.back().time, 100.0);
        for (const tarvel::ConstraintBox &box : boxes)
            QVERIFY2(std::any_of(path.begin(), path.end(),
                                 [&](const PathNode &n) {
                                     return within(n.time, box.timeFrom, box.timeTo) &&
                                            within(n.temperature, box.temperatureFrom,
                                                   box.temperatureTo);
                                 }),
                     qPrintable(QString("path %1 misses a box").arg(k)));
        for (std::size_t j = 1; j < path.size(); ++j) {
            const double dt = path[j].time - path[j - 1].time;
            const double dT = path[j].temperature - path[j - 1].temperature;
            QVERIFY(dt >= 0);
            QVERIFY2(std::fabs(dT) <= rate * dt + 1e-4,
                     qPrintable(QString("path %1, segment %2").arg(k).arg(j)));
            if (monotonic)
                QVERIFY(dT <= 0);
        }
        lowest = std::min(lowest, path.front().temperature);
        highest = std::max(highest, path.front().temperature);
    }
    const double spread = boxes.front().temperatureTo - boxes.front().temperatureFrom;
    QVERIFY(highest - lowest > 0.5 * spread);
}

// Path k is the same whatever else the search holds (its number of paths, its
// grains, its method) and different under another seed.
void TestSearchEngine::pathDependsOnSeedAndIndexAlone() {
    TDataModule1 dataSet = searchDataSet();
    const SearchInput input = searchInput(dataSet);
    dataSet.Grains.pop_back();
    dataSet.ModelData.Method = ModelMethod::Precise;
    SearchOverrides more, reseed;
    more.paths = 1000000;
    reseed.seed = 2;
    const SearchInput other = searchInput(dataSet, more);
    const SearchInput reseeded = searchInput(dataSet, reseed);
    for (const std::int64_t k : {0, 7, 39}) {
        QVERIFY(drawPath(input, k) == drawPath(other, k));
        QVERIFY(drawPath(input, k) != drawPath(reseeded, k));
    }
    QVERIFY(drawPath(input, 3) != drawPath(input, 4));
}

void TestSearchEngine::refusals_data() {
    QTest::addColumn<int>("row");
    QTest::newRow("no grain with a measured age") << 0;
    QTest::newRow("no thermal history") << 1;
    QTest::newRow("the present at time 0") << 2;
    QTest::newRow("no boxes") << 3;
    QTest::newRow("no box at time 0") << 4;
    QTest::newRow("no box at the present") << 5;
    QTest::newRow("a rate of 0") << 6;
    QTest::newRow("no paths") << 7;
    QTest::newRow("negative nodes") << 8;
    QTest::newRow("a warming under the monotonic rule") << 9;
    QTest::newRow("a change faster than the rate") << 10;
    QTest::newRow("boxes that overlap") << 11;
}

void TestSearchEngine::refusals() {
    QFETCH(int, row);
    static const std::vector<Change> changes = {
        [](TDataModule1 &d) {
            for (tarvel::GrainRecord &g : d.Grains)
                g.rawAge = g.rawAgeSd = std::nullopt;
        },
        [](TDataModule1 &d) { d.GetCurrentCurve().MakeEmpty(); },
        [](TDataModule1 &d) {
            d.GetCurrentCurve().MakeEmpty();
            d.GetCurrentCurve().Append(0, 20);
        },
        [](TDataModule1 &d) { d.Search.boxes.clear(); },
        [](TDataModule1 &d) {
            d.Search.boxes.front() = {5, 10, 100, 140};
        },
        [](TDataModule1 &d) {
            d.Search.boxes.back() = {90, 99, 10, 20};
        },
        [](TDataModule1 &d) { d.Search.maxRate = 0; },
        [](TDataModule1 &d) { d.Search.paths = 0; },
        [](TDataModule1 &d) { d.Search.nodes = -1; },
        [](TDataModule1 &d) {
            d.Search.monotonic = true;
            d.Search.boxes[1] = {30, 60, 150, 160};
        },
        [](TDataModule1 &d) { d.Search.maxRate = 0.1; }, // 10 °C in at most 60 Myr
        [](TDataModule1 &d) {
            d.Search.boxes[1] = {-1, 60, 40, 90};
        },
    };
    TDataModule1 dataSet = searchDataSet();
    QVERIFY(searchInput(dataSet).paths == 40); // the fixture itself is searched
    changes[static_cast<std::size_t>(row)](dataSet);
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, searchInput(dataSet));
}

// Counts, the best path (a tie to the smaller k), the envelope and the
// accepted paths come out the same however the paths are split into parts
// and in whatever order the parts arrive, also through their numbers.
void TestSearchEngine::partsMergeInAnyOrder() {
    const SearchInput input = searchInput(searchDataSet());
    std::vector<PathResult> paths;
    for (std::int64_t k = 0; k < 30; ++k) {
        PathResult path;
        path.k = k;
        path.nodes = drawPath(input, k);
        path.chi2 = k == 4 || k == 21 ? 0.5 : 1.0 + (k * 7 % 30) / 3.0;
        path.probability = samplefit::chiSquareProbability(path.chi2, 2);
        path.verdict = samplefit::judge(path.probability);
        paths.push_back(path);
    }
    SearchResult whole;
    for (const PathResult &path : paths)
        whole.add(input, path);
    whole.finish();
    QCOMPARE(whole.best->k, std::int64_t{4});
    QVERIFY(whole.good > 0 && whole.acceptable > whole.good && whole.acceptable < whole.paths);

    SearchResult parts[3];
    for (auto path = paths.rbegin(); path != paths.rend(); ++path)
        parts[path->k % 3].add(input, *path);
    SearchResult forth = parts[0], back = parts[2];
    forth.merge(parts[1]);
    forth.merge(parts[2]);
    back.merge(parts[1]);
    back.merge(parts[0]);
    QVERIFY(forth == whole);
    QVERIFY(back == whole);
    const std::vector<double> numbers = whole.toNumbers();
    QVERIFY(SearchResult::fromNumbers(numbers) == whole);
    QVERIFY_THROWS_EXCEPTION(
        tarvel::Error, SearchResult::fromNumbers(std::span(numbers).first(numbers.size() - 1)));
}

// A window's job thread reads the counters while the search runs and stops it
// at once: long before its million paths are done.
void TestSearchEngine::stopsWhenAsked() {
    SearchOverrides many;
    many.paths = 1000000;
    const SearchInput input = searchInput(searchDataSet(), many);
    std::atomic<bool> stop{false};
    SearchProgress progress;
    SearchControl control;
    control.stop = &stop;
    control.progress = &progress;
    bool stopped = false;
    std::thread job([&] {
        omp_set_num_threads(1); // the run itself on this thread alone
        try {
            runSearch(input, control);
        } catch (const CalculationStopped &) {
            stopped = true;
        }
    });
    while (progress.done.load() < 3)
        std::this_thread::yield();
    stop = true;
    job.join();
    QVERIFY(stopped);
    QVERIFY(progress.done.load() < 1000);
    QVERIFY(progress.acceptable.load() >= progress.good.load());
}

QTEST_GUILESS_MAIN(TestSearchEngine)
#include "test_search_engine.moc"
