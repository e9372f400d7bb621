// A sample's grain predicted under the data set's history is the same
// calculation as that grain saved as a data set of its own.
#include "datamodule.h"
#include "grainprediction.h"

#include <QtTest>

#include <fstream>

class TestGrainPrediction : public QObject {
    Q_OBJECT
private slots:
    void grainEqualsItsOwnDataSet_data();
    void grainEqualsItsOwnDataSet();
};

void TestGrainPrediction::grainEqualsItsOwnDataSet_data() {
    QTest::addColumn<int>("method");
    QTest::newRow("fast") << int(ModelMethod::Fast);
    QTest::newRow("precise") << int(ModelMethod::Precise);
}

void TestGrainPrediction::grainEqualsItsOwnDataSet() {
    QFETCH(int, method);
    TDataModule1 dataSet; // a shell zone and no parents: the grain brings its own
    std::ifstream file(TARVEL_EXAMPLES_DIR "/cooling-history.txt");
    dataSet.ReadDataFile(file);
    dataSet.ModelData.Method = ModelMethod(method);
    dataSet.ParentsData.Stopping_Sm147 = 4.5f; // the sample's stopping distances
    const std::vector<FPOINT> drawn = curvePoints(dataSet.GetCurrentCurve());
    const tarvel::GrainRecord grain{"z1", 45.5, 12, 30, 75, 20, 1};

    TDataModule1 own = dataSet;
    own.GrainData.Sphere_radius = own.GrainData.Outer_radius = 45.5f;
    own.GrainData.Inner_radius = 0;
    own.ParentsData.U_ppm = 12;
    own.ParentsData.Th_ppm = 30;
    own.ParentsData.Sm_ppm = 75;
    const HeliumAge alone = historyHeliumAges(ageJobInput(own, drawn)).back();

    const GrainPrediction predicted = predictGrain(sampleJobInput(dataSet, drawn), grain);
    QCOMPARE(predicted.rawAge, alone.rawAge);
    QCOMPARE(predicted.ft, alone.ft);
    QCOMPARE(predicted.correctedAge, alone.correctedAge);
    QVERIFY(predicted.ft > 0.5 && predicted.ft < 1 && predicted.rawAge > 0);
}

QTEST_GUILESS_MAIN(TestGrainPrediction)
#include "test_grainprediction.moc"
