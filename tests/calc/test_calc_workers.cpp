#include "calcerrors.h"
#include "datamodule.h"
#include "exactnumbers.h"
#include "gammacalc.h"
#include "geometrycoefficients.h"
#include "tarvelcalc.h"
#include "workerthread.h"

#include <QtTest>

#include <atomic>
#include <cmath>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Collects what the calculations report, as the programs' reporters do.
class Reports {
public:
    Reports() {
        SetCalculationErrorReporter([this](const std::string &message) {
            std::lock_guard lock(mutex);
            messages.push_back(message);
        });
    }
    ~Reports() { SetCalculationErrorReporter({}); }
    std::vector<std::string> take() {
        std::lock_guard lock(mutex);
        return std::exchange(messages, {});
    }

private:
    std::mutex mutex;
    std::vector<std::string> messages;
};

class CountingThread final : public TThread {
public:
    ~CountingThread() override { WaitFor(); }
    std::atomic<int> runs{0};
    bool fail = false;

protected:
    void Execute() override {
        ++runs;
        if (fail)
            throw std::runtime_error("body failed");
    }
};

void defaultGrain(TDataModule1 &model) {
    model.GrainData.Sphere_radius = 60;
    model.GrainData.Outer_radius = 40;
    model.GrainData.Inner_radius = 20;
}

void runGeometry(TDataModule1 &model) {
    auto *geometry = new tarvelcalc;
    geometry->LoadModel(&model);
    geometry->Resume();
    delete geometry; // waits for the body, which stores the coefficients last
}

// An age run as the progress page makes it; returns the results once finished.
std::vector<double> runAges(TDataModule1 &model, const std::vector<double> &times,
                            const std::vector<double> &temps, AgeMethod method,
                            std::int32_t *progress = nullptr, bool *failed = nullptr) {
    gammacalc age;
    age.NPoints = static_cast<std::int32_t>(times.size());
    age.Times.assign(1, 0.0);
    age.Times.insert(age.Times.end(), times.begin(), times.end());
    age.Temps.assign(1, 0.0);
    age.Temps.insert(age.Temps.end(), temps.begin(), temps.end());
    age.Method = method;
    age.LoadModel(&model);
    age.Resume();
    age.WaitFor();
    if (!age.Finished.load(std::memory_order_acquire))
        return {};
    if (progress)
        *progress = age.Progress.load();
    if (failed)
        *failed = age.Failed.load();
    return age.Results;
}

} // namespace

class TestWorkers : public QObject {
    Q_OBJECT
private slots:
    void bodyRunsOnceAfterResume();
    void neverResumedThreadIsDeletedAtOnce();
    void escapingFailureIsReported();
    void geometryRunStoresCoefficients();
    void geometryRunWithoutTerms();
    void geometryFailureStoresNothing();
    void geometryCompletesOnlyAfterStoring();
    void inputsAreCopiedAtLoad();
    void stopRequestIsHonoured();
    void ageRunGivesTheKnownValues();
    void ageFailuresAreReportedAndFinish_data();
    void ageFailuresAreReportedAndFinish();
    void ageRunWithoutModelFinishes();
    void deletingARunningAgeCalculationWaits();
};

void TestWorkers::bodyRunsOnceAfterResume() {
    CountingThread thread;
    QVERIFY(!thread.Resumed());
    thread.WaitFor(); // nothing to wait for yet
    QCOMPARE(thread.runs.load(), 0);
    thread.Resume();
    thread.Resume();
    thread.WaitFor();
    thread.Resume();
    thread.WaitFor();
    QCOMPARE(thread.runs.load(), 1);
    QVERIFY(thread.Resumed());
}

void TestWorkers::neverResumedThreadIsDeletedAtOnce() {
    auto *geometry = new tarvelcalc;
    delete geometry;
    auto *age = new gammacalc;
    QVERIFY(!age->Finished.load());
    delete age;
}

void TestWorkers::escapingFailureIsReported() {
    Reports reports;
    CountingThread thread;
    thread.fail = true;
    thread.Resume();
    thread.WaitFor();
    QCOMPARE(reports.take(), std::vector<std::string>{"body failed"});
}

void TestWorkers::geometryRunStoresCoefficients() {
    for (std::int32_t N : {20, 150}) {
        TDataModule1 model;
        defaultGrain(model);
        model.ModelData.Neigen = N;
        tarvelcalc geometry;
        geometry.LoadModel(&model);
        QCOMPARE(geometry.Progress.load(), 0);
        geometry.Resume();
        geometry.WaitFor();
        QCOMPARE(geometry.Progress.load(), N + 1);
        QCOMPARE(model.CoefficientCount(), N + 1);
        QCOMPARE(model.GetCoefficient(0), 0.0f);
        const std::vector<double> expected = geometryCoefficients(60, 40, 20, 20, N);
        for (std::int32_t k = 1; k <= N; ++k)
            QCOMPARE(exactly(model.GetCoefficient(k)),
                     exactly(static_cast<float>(expected[std::size_t(k)])));
    }
}

void TestWorkers::geometryRunWithoutTerms() {
    TDataModule1 model;
    defaultGrain(model);
    model.ModelData.Neigen = 0;
    tarvelcalc geometry;
    geometry.LoadModel(&model);
    geometry.Resume();
    geometry.WaitFor();
    QCOMPARE(geometry.Progress.load(), 1);
    QCOMPARE(model.CoefficientCount(), 0);
}

void TestWorkers::geometryFailureStoresNothing() {
    Reports reports;
    TDataModule1 model;
    defaultGrain(model);
    model.ModelData.Emission_dist = -5;
    tarvelcalc geometry;
    geometry.LoadModel(&model);
    geometry.Resume();
    geometry.WaitFor();
    QCOMPARE(model.CoefficientCount(), 0);
    QCOMPARE(geometry.Progress.load(), 21); // the bar still completes
    QVERIFY(geometry.Failed.load());
    QVERIFY(geometry.Finished.load());
    QVERIFY(!geometry.Stopped.load());
    QCOMPARE(reports.take(),
             std::vector<std::string>{"The emission distance must not be negative (got -5)."});
}

void TestWorkers::geometryCompletesOnlyAfterStoring() {
    // A poller that trusts Progress or Finished must find every coefficient
    // stored; many terms keep the store busy long enough for a poller to
    // catch a run that announced itself too early.
    const std::int32_t N = 5000;
    for (int run = 0; run < 20; ++run) {
        TDataModule1 model;
        defaultGrain(model);
        model.ModelData.Neigen = N;
        tarvelcalc geometry;
        geometry.LoadModel(&model);
        geometry.Resume();
        const bool byProgress = run % 2 == 0;
        while (byProgress ? geometry.Progress.load() != N + 1
                          : !geometry.Finished.load(std::memory_order_acquire)) {
        }
        QCOMPARE(model.CoefficientCount(), N + 1);
        QVERIFY(model.GetCoefficient(N) != 0.0f);
        QVERIFY(!geometry.Failed.load() && !geometry.Stopped.load());
    }
}

void TestWorkers::inputsAreCopiedAtLoad() {
    TDataModule1 model;
    defaultGrain(model);
    runGeometry(model);
    const float first = model.GetCoefficient(1);

    tarvelcalc geometry;
    geometry.LoadModel(&model);
    gammacalc age;
    age.NPoints = 3;
    age.Times = {0, 0, 50, 100};
    age.Temps = {0, 20, 20, 20};
    age.LoadModel(&model);
    // Changed after loading, before the runs: neither run may see it.
    model.GrainData = {10, 9, 1};
    model.ModelData.Emission_dist = 1;
    model.ModelData.Neigen = 7;
    for (std::int32_t k = 1; k <= 20; ++k)
        model.SetCoefficient(k, 0.0f);

    age.Resume();
    age.WaitFor();
    QVERIFY(std::fabs(age.Results[2] - 49.971) < 5e-4);
    QCOMPARE(age.Progress.load(), 20);
    geometry.Resume();
    geometry.WaitFor();
    QCOMPARE(exactly(model.GetCoefficient(1)), exactly(first));
    QCOMPARE(model.CoefficientCount(), 21);
}

void TestWorkers::stopRequestIsHonoured() {
    Reports reports;
    TDataModule1 model;
    defaultGrain(model);
    runGeometry(model);
    model.SetCoefficient(5, 0.125f);

    tarvelcalc geometry;
    geometry.LoadModel(&model);
    geometry.RequestStop();
    geometry.Resume();
    geometry.WaitFor();
    QVERIFY(geometry.Stopped.load() && geometry.Finished.load() && !geometry.Failed.load());
    QCOMPARE(model.GetCoefficient(5), 0.125f); // nothing stored

    for (AgeMethod method : {AgeMethod::Fast, AgeMethod::Direct}) {
        gammacalc age;
        age.NPoints = 3;
        age.Times = {0, 0, 50, 100};
        age.Temps = {0, 20, 20, 20};
        age.Method = method;
        age.LoadModel(&model);
        age.RequestStop();
        age.Resume();
        age.WaitFor();
        QVERIFY(age.Stopped.load() && !age.Failed.load());
        QVERIFY(age.Finished.load(std::memory_order_acquire));
        QCOMPARE(age.Results, std::vector<double>(4, 0.0));
    }
    QVERIFY(reports.take().empty());
}

void TestWorkers::ageRunGivesTheKnownValues() {
    TDataModule1 model;
    defaultGrain(model);
    runGeometry(model);
    for (AgeMethod method : {AgeMethod::Fast, AgeMethod::Direct}) {
        std::int32_t progress = -1;
        const auto r = runAges(model, {0, 50, 100}, {20, 20, 20}, method, &progress);
        QCOMPARE(r.size(), std::size_t(4));
        QCOMPARE(r[1], 0.0);
        QVERIFY(std::fabs(r[2] - 49.971) < 5e-4);
        QVERIFY(std::fabs(r[3] - 99.897) < 5e-4);
        QCOMPARE(progress, 20);
    }
}

void TestWorkers::ageFailuresAreReportedAndFinish_data() {
    QTest::addColumn<std::vector<double>>("times");
    QTest::addColumn<std::vector<double>>("temps");
    QTest::addColumn<QString>("message");
    QTest::newRow("time runs backwards")
        << std::vector<double>{0, 10, 50, 30} << std::vector<double>{20, 20, 20, 20}
        << "The thermal history runs backwards in time: point 4 (time 30) follows point 3 (time "
           "50).";
    QTest::newRow("-300 C") << std::vector<double>{0, 50, 100} << std::vector<double>{20, -300, 20}
                            << "The thermal history has a temperature at or below absolute zero "
                               "(-273.15 °C): point 2 (-300 °C).";
}

void TestWorkers::ageFailuresAreReportedAndFinish() {
    QFETCH(std::vector<double>, times);
    QFETCH(std::vector<double>, temps);
    QFETCH(QString, message);
    Reports reports;
    TDataModule1 model;
    defaultGrain(model);
    runGeometry(model);
    for (AgeMethod method : {AgeMethod::Fast, AgeMethod::Direct}) {
        bool failed = false;
        const auto r = runAges(model, times, temps, method, nullptr, &failed);
        QCOMPARE(r, std::vector<double>(times.size() + 1, 0.0)); // finished, nothing computed
        QVERIFY(failed);
        const auto reported = reports.take();
        QCOMPARE(reported.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(reported[0]), message);
    }
}

void TestWorkers::ageRunWithoutModelFinishes() {
    Reports reports;
    gammacalc age;
    age.NPoints = 3;
    age.Times = {0, 0, 50, 100};
    age.Temps = {0, 20, 20, 20};
    age.LoadModel(nullptr);
    age.Resume();
    age.WaitFor();
    QVERIFY(age.Finished.load(std::memory_order_acquire));
    QCOMPARE(age.Results, std::vector<double>(4, 0.0));
    QCOMPARE(reports.take().size(), std::size_t(1));

    // NPoints claiming more points than the arrays hold.
    TDataModule1 model;
    defaultGrain(model);
    gammacalc short_;
    short_.NPoints = 5;
    short_.Times = {0, 0, 50};
    short_.Temps = {0, 20, 20};
    short_.LoadModel(&model);
    short_.Resume();
    short_.WaitFor();
    QVERIFY(short_.Finished.load(std::memory_order_acquire));
    QCOMPARE(short_.Results, std::vector<double>(6, 0.0));
    QCOMPARE(reports.take().size(), std::size_t(1));
}

void TestWorkers::deletingARunningAgeCalculationWaits() {
    // A long run deleted right after it starts: the delete must wait for the
    // body, which would otherwise write into freed arrays.
    Reports reports;
    TDataModule1 model;
    defaultGrain(model);
    runGeometry(model);
    auto *age = new gammacalc;
    age->NPoints = 2000;
    age->Times.assign(2001, 0.0);
    age->Temps.assign(2001, -40.0);
    for (int i = 1; i <= 2000; ++i)
        age->Times[std::size_t(i)] = 5.0 * i;
    age->Method = AgeMethod::Direct;
    age->LoadModel(&model);
    age->Resume();
    delete age;
    QVERIFY(reports.take().empty());
}

QTEST_APPLESS_MAIN(TestWorkers)
#include "test_calc_workers.moc"
