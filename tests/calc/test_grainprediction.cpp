// A sample's grain predicted under the data set's history is the same
// calculation as that grain saved as a data set of its own, whether the
// sample was prepared first (the history's damage computed once for all its
// grains) or not.
#include "datamodule.h"
#include "grainprediction.h"

#include <QtTest>

#include <fstream>

class TestGrainPrediction : public QObject {
    Q_OBJECT
private slots:
    void grainEqualsItsOwnDataSet_data();
    void grainEqualsItsOwnDataSet();
    void preparedForAnotherRunIsNotUsed();
};

namespace {

// A shell zone and no parents: the grain brings its own.
TDataModule1 sampleDataSet(ModelMethod method, ModelKinetics kinetics) {
    TDataModule1 dataSet;
    std::ifstream file(TARVEL_EXAMPLES_DIR "/cooling-history.txt");
    dataSet.ReadDataFile(file);
    dataSet.ModelData.Method = method;
    dataSet.ModelData.Kinetics = kinetics;
    dataSet.ParentsData.Stopping_Sm147 = 4.5f; // the sample's stopping distances
    return dataSet;
}

const tarvel::GrainRecord kGrain{"z1", 45.5, 12, 30, 75, 20, 1};

HeliumAge ownDataSetAge(const TDataModule1 &dataSet, const tarvel::GrainRecord &grain) {
    TDataModule1 own = dataSet;
    own.GrainData.Sphere_radius = own.GrainData.Outer_radius = float(grain.radius);
    own.GrainData.Inner_radius = 0;
    own.ParentsData.U_ppm = float(grain.U);
    own.ParentsData.Th_ppm = float(grain.Th);
    own.ParentsData.Sm_ppm = float(grain.Sm);
    return historyHeliumAges(ageJobInput(own, curvePoints(own.GetCurrentCurve()))).back();
}

} // namespace

void TestGrainPrediction::grainEqualsItsOwnDataSet_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("kinetics");
    for (const auto &[name, kinetics] :
         {std::pair{"arrhenius", ModelKinetics::Arrhenius},
          std::pair{"rdaam", ModelKinetics::Rdaam}, std::pair{"zrdaam", ModelKinetics::Zrdaam}}) {
        QTest::newRow(qPrintable(QString("fast, ") + name))
            << int(ModelMethod::Fast) << int(kinetics);
        QTest::newRow(qPrintable(QString("precise, ") + name))
            << int(ModelMethod::Precise) << int(kinetics);
    }
}

void TestGrainPrediction::grainEqualsItsOwnDataSet() {
    QFETCH(int, method);
    QFETCH(int, kinetics);
    const TDataModule1 dataSet = sampleDataSet(ModelMethod(method), ModelKinetics(kinetics));
    const HeliumAge alone = ownDataSetAge(dataSet, kGrain);

    const std::vector<FPOINT> drawn = curvePoints(dataSet.GetCurrentCurve());
    AgeJobInput sample = sampleJobInput(dataSet, drawn);
    const GrainPrediction unprepared = predictGrain(sample, kGrain);
    prepareSample(sample);
    QCOMPARE(sample.model.damage != nullptr, ModelKinetics(kinetics) != ModelKinetics::Arrhenius);
    for (const GrainPrediction &predicted : {unprepared, predictGrain(sample, kGrain)}) {
        QCOMPARE(predicted.rawAge, alone.rawAge);
        QCOMPARE(predicted.ft, alone.ft);
        QCOMPARE(predicted.correctedAge, alone.correctedAge);
    }
    QVERIFY(alone.ft > 0.5 && alone.ft < 1 && alone.rawAge > 0);
}

// A sample prepared for one method, kinetics or history and then run with
// another gets that run's own damage, not the prepared one.
void TestGrainPrediction::preparedForAnotherRunIsNotUsed() {
    const TDataModule1 fast = sampleDataSet(ModelMethod::Fast, ModelKinetics::Rdaam);
    TDataModule1 precise = fast;
    precise.ModelData.Method = ModelMethod::Precise;
    TDataModule1 zircon = fast;
    zircon.ModelData.Kinetics = ModelKinetics::Zrdaam;
    TDataModule1 reheated = fast;
    reheated.GetCurrentCurve().Temp[4] = 95.0f;
    for (const TDataModule1 *other : {&precise, &zircon, &reheated}) {
        AgeJobInput sample = sampleJobInput(fast, curvePoints(fast.GetCurrentCurve()));
        prepareSample(sample);
        const AgeJobInput run = sampleJobInput(*other, curvePoints(other->GetCurrentCurve()));
        sample.method = run.method;
        sample.model.kinetics = run.model.kinetics;
        sample.history = run.history;
        QCOMPARE(predictGrain(sample, kGrain).rawAge, ownDataSetAge(*other, kGrain).rawAge);
    }
}

QTEST_GUILESS_MAIN(TestGrainPrediction)
#include "test_grainprediction.moc"
