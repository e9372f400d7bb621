// Calculation jobs: their inputs copied from a data set, and their endings
// arriving as signals in the thread that started them.
#include "calculationjob.h"
#include "datamodule.h"
#include "exactnumbers.h"
#include "geometrycoefficients.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(CalculationJob::Input)

namespace {

constexpr int kWaitMs = 60'000; // a bound, never waited out by a job that works

TDataModule1 defaultDataSet() {
    TDataModule1 dataSet;
    dataSet.GrainData = {60, 40, 20};
    storeCoefficients(dataSet, geometryCoefficients(geometryJobInput(dataSet)));
    return dataSet;
}

// A cold history long enough that a stop request finds the run still going.
std::vector<FPOINT> longHistory() {
    std::vector<FPOINT> drawn;
    for (int i = 0; i < 4000; ++i)
        drawn.push_back({5.0f * float(i), -40.0f});
    return drawn;
}

} // namespace

class TestJobs : public QObject {
    Q_OBJECT
private slots:
    // The input is a copy: a data set changed after the input was built does
    // not reach the run.
    void inputsAreCopiesOfTheDataSet() {
        TDataModule1 dataSet = defaultDataSet();
        const float first = dataSet.GetCoefficient(1);
        const GeometryJobInput geometry = geometryJobInput(dataSet);
        const AgeJobInput ages = ageJobInput(dataSet, {{0, 20}, {50, 20}, {100, 20}}, false);
        dataSet.GrainData = {10, 9, 1};
        dataSet.ModelData.Neigen = 7;
        for (std::int32_t k = 1; k <= 20; ++k)
            dataSet.SetCoefficient(k, 0.0f);

        const auto calculated = historyAges(ages);
        QCOMPARE(calculated.size(), std::size_t(3));
        QVERIFY(std::fabs(calculated[1] - 49.971) < 5e-4);
        QVERIFY(std::fabs(calculated[2] - 99.897) < 5e-4);
        storeCoefficients(dataSet, geometryCoefficients(geometry));
        QCOMPARE(exactly(dataSet.GetCoefficient(1)), exactly(first));
        QCOMPARE(dataSet.CoefficientCount(), 21);
    }

    // The history is stepped in one place: every drawn point is kept, in
    // order, and no step is wider than a bar.
    void historiesAreSteppedByBars() {
        const std::vector<FPOINT> drawn{{0, 60}, {50, 60}, {70, 20}, {72, 25}, {100, 20}};
        const auto stepped = ageJobInput(TDataModule1{}, drawn).history;
        std::size_t next = 0;
        for (std::size_t i = 0; i < stepped.size(); ++i) {
            if (i > 0)
                QVERIFY(stepped[i].x > stepped[i - 1].x && stepped[i].x - stepped[i - 1].x <= 5.0f);
            if (next < drawn.size() && stepped[i].x == drawn[next].x) {
                QCOMPARE(stepped[i].y, drawn[next].y);
                ++next;
            }
        }
        QCOMPARE(next, drawn.size());
        QCOMPARE(stepped.size(), std::size_t(22)); // 10 + 4 + 1 + 6 steps, and the start
        QCOMPARE(ageJobInput(TDataModule1{}, drawn, false).history.size(), drawn.size());
    }

    void jobsFinishWithTheirResult() {
        const TDataModule1 dataSet = defaultDataSet();
        CalculationJob geometry(geometryJobInput(dataSet));
        QSignalSpy coefficients(&geometry, &CalculationJob::finished);
        geometry.start();
        QVERIFY(coefficients.wait(kWaitMs));
        const auto result = coefficients.at(0).at(0).value<std::vector<double>>();
        const auto expected = geometryCoefficients(60, 40, 20, 20, 20);
        QCOMPARE(result.size(), expected.size());
        for (std::size_t k = 1; k < result.size(); ++k)
            QCOMPARE(exactly(result[k]), exactly(expected[k]));
        QCOMPARE(geometry.progress(), 20);

        CalculationJob ages(ageJobInput(dataSet, {{0, -50}, {50, -50}, {100, -50}}, false));
        QSignalSpy calculated(&ages, &CalculationJob::finished);
        ages.start();
        QVERIFY(calculated.wait(kWaitMs));
        const auto times = calculated.at(0).at(0).value<std::vector<double>>();
        QCOMPARE(times.size(), std::size_t(3));
        QCOMPARE(times[0], 0.0);
        QVERIFY(std::fabs(times[1] - 49.993) < 5e-4);
        QVERIFY(std::fabs(times[2] - 99.986) < 5e-4);
        QCOMPARE(ages.progress(), ages.progressMaximum());
        QVERIFY(!ages.running());
    }

    // The ending is queued to the job's thread: nothing arrives before that
    // thread handles its events, and it arrives once.
    void endingIsQueuedToTheStartingThread() {
        CalculationJob job(geometryJobInput(defaultDataSet()));
        QThread *arrivedIn = nullptr;
        int arrivals = 0;
        connect(&job, &CalculationJob::finished, this, [&] {
            arrivedIn = QThread::currentThread();
            ++arrivals;
        });
        job.start();
        QDeadlineTimer deadline(kWaitMs);
        while (job.progress() < job.progressMaximum() && !deadline.hasExpired()) {
        }
        QVERIFY(job.running());
        QCOMPARE(arrivals, 0);
        QTRY_COMPARE_WITH_TIMEOUT(arrivals, 1, kWaitMs);
        QCOMPARE(arrivedIn, thread());
        job.waitForEnd();
        QCoreApplication::processEvents();
        QCOMPARE(arrivals, 1);
    }

    void failuresArriveAsSignals_data() {
        QTest::addColumn<CalculationJob::Input>("input");
        TDataModule1 dataSet = defaultDataSet();
        dataSet.ModelData.Emission_dist = -5;
        QTest::newRow("negative emission distance")
            << CalculationJob::Input(geometryJobInput(dataSet));
        dataSet = defaultDataSet();
        QTest::newRow("time runs backwards")
            << CalculationJob::Input(ageJobInput(dataSet, {{0, 20}, {50, 20}, {30, 20}}, false));
        dataSet.ModelData.D0 = -1;
        QTest::newRow("negative D0")
            << CalculationJob::Input(ageJobInput(dataSet, {{0, 20}, {50, 20}}));
    }
    void failuresArriveAsSignals() {
        QFETCH(CalculationJob::Input, input);
        CalculationJob job(input);
        QSignalSpy failed(&job, &CalculationJob::failed);
        QSignalSpy finished(&job, &CalculationJob::finished);
        job.start();
        QVERIFY(failed.wait(kWaitMs));
        QVERIFY(!failed.at(0).at(0).toString().isEmpty());
        QCOMPARE(finished.count(), 0);
        QCOMPARE(job.progress(), job.progressMaximum()); // a bar still completes
    }

    // A stopped job ends without a word; one destroyed while it runs waits for
    // its thread, which would otherwise work on a freed input.
    void stoppedJobsEndQuietly() {
        const TDataModule1 dataSet = defaultDataSet();
        AgeJobInput input = ageJobInput(dataSet, longHistory());
        input.method = AgeMethod::Direct;
        CalculationJob job(input);
        QSignalSpy finished(&job, &CalculationJob::finished);
        QSignalSpy failed(&job, &CalculationJob::failed);
        job.start();
        job.requestStop();
        QVERIFY(!job.running());
        job.waitForEnd();
        QCoreApplication::processEvents();
        QCOMPARE(finished.count() + failed.count(), 0);

        auto running = std::make_unique<CalculationJob>(input);
        QSignalSpy none(running.get(), &CalculationJob::finished);
        running->start();
        running.reset();
        QCoreApplication::processEvents();
        QCOMPARE(none.count(), 0);
    }

    // A data set with parents: the job finishes with the raw ages and keeps
    // the full rows for whoever shows helium, FT and corrected age.
    void parentsJobsKeepTheirRows() {
        TDataModule1 dataSet = defaultDataSet();
        dataSet.ParentsData.U_ppm = 50;
        const AgeJobInput input = ageJobInput(dataSet, {{0, 80}, {40, 20}});
        CalculationJob job(input);
        QSignalSpy finished(&job, &CalculationJob::finished);
        job.start();
        QVERIFY(finished.wait(kWaitMs));
        const auto ages = finished.at(0).at(0).value<std::vector<double>>();
        const std::vector<HeliumAge> &rows = job.heliumAges();
        QCOMPARE(rows.size(), input.history.size());
        QCOMPARE(ages.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            QCOMPARE(ages[i], rows[i].rawAge);
        QVERIFY(rows.back().heNmolG > 0);
    }
};

QTEST_GUILESS_MAIN(TestJobs)
#include "test_calc_jobs.moc"
