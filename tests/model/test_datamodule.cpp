#include "datamodule.h"

#include <QtTest>

#include <utility>
#include <vector>

namespace {

// Records the pen operations a graph receives and enumerates what it holds:
// single points first, then line points, as graphs do.
class RecordingGraph : public CurveGraph {
public:
    std::vector<std::pair<float, float>> points;
    std::vector<std::string> calls;

    int EnumPoints(int cursor, float *x, float *y) const override {
        if (cursor < 0 || cursor >= static_cast<int>(points.size()))
            return 0;
        *x = points[static_cast<std::size_t>(cursor)].first;
        *y = points[static_cast<std::size_t>(cursor)].second;
        return cursor + 1;
    }
    void Clear() override { calls.push_back("Clear"); }
    void PenUp() override { calls.push_back("PenUp"); }
    void PenDown() override { calls.push_back("PenDown"); }
    void MoveTo(float x, float y) override {
        calls.push_back("MoveTo " + std::to_string(int(x)) + " " + std::to_string(int(y)));
    }
};

} // namespace

class TestDataModule : public QObject {
    Q_OBJECT
private slots:
    void creationValues();
    void coefficientStore();
    void captureAndRestore();
    void captureWithoutSourceChangesNothing();
    void historyIsBounded();
    void drawCurve();
};

void TestDataModule::creationValues() {
    TDataModule1 m;
    QCOMPARE(m.ModelData.Neigen, 20);
    QCOMPARE(m.ModelData.Emission_dist, 20.0f);
    QCOMPARE(m.ModelData.Activation_energy, 36200.0f);
    QCOMPARE(double(m.ModelData.D0), 1807.800048828125);
    QCOMPARE(m.GrainData.Sphere_radius, 0.0f);
    QCOMPARE(m.GetCurrentCurve().Count(), 1);
    QCOMPARE(m.CoefficientCount(), 0);
}

void TestDataModule::coefficientStore() {
    TDataModule1 m;
    for (int k = 1; k <= 20; ++k)
        m.SetCoefficient(k, float(k) / 10.0f);
    QCOMPARE(m.CoefficientCount(), 21);
    QCOMPARE(m.GetCoefficient(0), 0.0f);
    QCOMPARE(m.GetCoefficient(20), 2.0f);
    QCOMPARE(m.GetCoefficient(21), 0.0f);
    QCOMPARE(m.GetCoefficient(-1), 0.0f);
    // A later, shorter run overwrites the low slots and keeps the rest.
    for (int k = 1; k <= 5; ++k)
        m.SetCoefficient(k, -1.0f);
    QCOMPARE(m.CoefficientCount(), 21);
    QCOMPARE(m.GetCoefficient(5), -1.0f);
    QCOMPARE(m.GetCoefficient(6), 0.6f);
    m.SetCoefficient(-4, 9.0f); // no slot, no change
    QCOMPARE(m.CoefficientCount(), 21);
    m.SetCoefficient(30, 3.0f);
    QCOMPARE(m.GetCoefficient(25), 0.0f);
    QCOMPARE(m.CoefficientCount(), 31);
}

void TestDataModule::captureAndRestore() {
    TDataModule1 m;
    m.RestorePreviousCurve(); // empty history: nothing happens
    QCOMPARE(m.GetCurrentCurve().Count(), 1);

    RecordingGraph graph;
    m.SourceGraph = &graph;
    graph.points = {{0, 20}, {10, 30}};
    m.CaptureCurve();
    QCOMPARE(m.GetCurrentCurve().Count(), 3);
    QCOMPARE(m.GetCurrentCurve().Time[2], 10.0f);
    QCOMPARE(m.CurveHistoryDepth(), std::size_t(1));

    graph.points = {{0, 20}, {5, 25}, {10, 30}};
    m.CaptureCurve();
    QCOMPARE(m.GetCurrentCurve().Count(), 4);
    m.RestorePreviousCurve();
    QCOMPARE(m.GetCurrentCurve().Count(), 3);
    QCOMPARE(m.CurveHistoryDepth(), std::size_t(1));

    graph.points.clear();
    m.CaptureCurve();
    QCOMPARE(m.GetCurrentCurve().Count(), 1);
    m.RestorePreviousCurve();
    QCOMPARE(m.GetCurrentCurve().Count(), 3);
}

void TestDataModule::captureWithoutSourceChangesNothing() {
    TDataModule1 m;
    m.GetCurrentCurve().Append(1, 2);
    m.CaptureCurve();
    QCOMPARE(m.GetCurrentCurve().Count(), 2);
    QCOMPARE(m.CurveHistoryDepth(), std::size_t(0));
}

void TestDataModule::historyIsBounded() {
    TDataModule1 m;
    RecordingGraph graph;
    m.SourceGraph = &graph;
    for (std::size_t i = 0; i < TDataModule1::kCurveHistoryLimit + 10; ++i) {
        graph.points = {{float(i), 0}};
        m.CaptureCurve();
    }
    QCOMPARE(m.CurveHistoryDepth(), TDataModule1::kCurveHistoryLimit);
    m.RestorePreviousCurve(); // the newest earlier curve comes back first
    QCOMPARE(m.GetCurrentCurve().Time[1], float(TDataModule1::kCurveHistoryLimit + 8));
}

void TestDataModule::drawCurve() {
    TDataModule1 m;
    RecordingGraph graph;
    m.DrawCurve(); // no display graph: nothing to draw into
    m.DisplayGraph = &graph;
    m.DrawCurve();
    QCOMPARE(graph.calls, (std::vector<std::string>{"Clear", "PenUp", "PenUp"}));

    graph.calls.clear();
    m.GetCurrentCurve().Append(0, 20);
    m.GetCurrentCurve().Append(50, 100);
    m.GetCurrentCurve().Append(60, 80);
    m.DrawCurve();
    QCOMPARE(graph.calls, (std::vector<std::string>{"Clear", "PenUp", "MoveTo 0 20", "PenDown",
                                                    "MoveTo 50 100", "MoveTo 60 80", "PenUp"}));
}

QTEST_APPLESS_MAIN(TestDataModule)
#include "test_datamodule.moc"
