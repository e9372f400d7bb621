// The Grains window's table without widgets: cell texts to grains and back,
// refusals that point at the cell, pasted blocks, the fit's summary and the
// graphs' marks.
#include "grainrows.h"
#include "samplegraphs.h"

#include <QtTest>

#include <algorithm>
#include <cmath>

using grainrows::GrainTexts;
using tarvel::GrainRecord;

namespace {

// The pen's strokes: every line and single point, as drawn.
struct RecordingGraph : CurveGraph {
    std::vector<std::vector<FPOINT>> lines;
    bool down = false;
    int EnumPoints(int, float *, float *) const override { return 0; }
    void Clear() override { lines.clear(); }
    void PenUp() override { down = false; }
    void PenDown() override { down = true; }
    void MoveTo(float x, float y) override {
        if (!down)
            lines.emplace_back();
        lines.back().push_back({x, y});
    }
};

GrainRecord grain(std::string name, double radius, double u, double th, double sm,
                  std::optional<double> age = {}, std::optional<double> sd = {}) {
    return {std::move(name), radius, u, th, sm, age, sd};
}

} // namespace

class TestGrainRows : public QObject {
    Q_OBJECT

private slots:
    // What a cell shows reads back to the same grain, whichever separator the
    // locale uses.
    void textsGiveTheGrainBack() {
        for (const GrainRecord &g : {grain("A-1", 61.25, 12.5, 30.1, 101.7, 48.3, 2.41),
                                     grain("b", 1e-3, 0.1, 0, 0), grain("c", 80, 0, 0, 3.3e5)})
            for (char separator : {'.', ','})
                QCOMPARE(
                    grainrows::grainFromTexts(grainrows::grainTexts(g, separator), separator, 0),
                    g);
    }

    void badCellsAreRefusedWhereTheyAre_data() {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<int>("column");
        const auto row = [](QString name, QString r, QString u, QString th, QString sm, QString age,
                            QString sd) { return QStringList{name, r, u, th, sm, age, sd}; };
        QTest::newRow("no name") << row(" ", "50", "1", "1", "0", "", "") << int(grainrows::Name);
        QTest::newRow("comma in name")
            << row("a,b", "50", "1", "1", "0", "", "") << int(grainrows::Name);
        QTest::newRow("radius no number")
            << row("a", "5o", "1", "1", "0", "", "") << int(grainrows::Radius);
        QTest::newRow("radius empty")
            << row("a", "", "1", "1", "0", "", "") << int(grainrows::Radius);
        QTest::newRow("radius zero")
            << row("a", "0", "1", "1", "0", "", "") << int(grainrows::Radius);
        QTest::newRow("Th negative")
            << row("a", "50", "1", "-1", "0", "", "") << int(grainrows::Th);
        QTest::newRow("no parents") << row("a", "50", "0", "0", "0", "", "") << int(grainrows::U);
        QTest::newRow("age without sd")
            << row("a", "50", "1", "1", "0", "40", "") << int(grainrows::MeasuredSd);
        QTest::newRow("sd without age")
            << row("a", "50", "1", "1", "0", "", "2") << int(grainrows::MeasuredAge);
        QTest::newRow("sd zero") << row("a", "50", "1", "1", "0", "40", "0")
                                 << int(grainrows::MeasuredSd);
        QTest::newRow("age negative")
            << row("a", "50", "1", "1", "0", "-4", "1") << int(grainrows::MeasuredAge);
    }
    void badCellsAreRefusedWhereTheyAre() {
        QFETCH(QStringList, cells);
        QFETCH(int, column);
        GrainTexts texts;
        for (std::size_t i = 0; i < texts.size(); ++i)
            texts[i] = cells[int(i)].toStdString();
        try {
            grainrows::grainFromTexts(texts, '.', 4);
            QFAIL("accepted");
        } catch (const grainrows::GrainCellError &e) {
            QCOMPARE(e.Row, 4);
            QCOMPARE(e.Column, column);
            QVERIFY2(QString::fromUtf8(e.what()).startsWith(QStringLiteral("Row 5")), e.what());
        }
    }

    // A block copied from a spreadsheet: its heading left out, the
    // separators and decimal commas of the locale, grains without a
    // measurement; a bad line refuses the whole block, naming the line.
    void pastedBlocks() {
        const auto grains = grainrows::pastedGrains("grain\tradius\tU\tTh\tSm\tage\tsd\n"
                                                    "A\t55,5\t10\t20\t5\t41,2\t1,5\n\n"
                                                    "B\t60\t11\t22\t0\t\t\n",
                                                    ',');
        QCOMPARE(grains.size(), std::size_t(2));
        QCOMPARE(grains[0], grain("A", 55.5, 10, 20, 5, 41.2, 1.5));
        QCOMPARE(grains[1], grain("B", 60, 11, 22, 0));
        QCOMPARE(grainrows::pastedGrains("C;70;1;2;3\n", ',')[0], grain("C", 70, 1, 2, 3));

        for (const char *bad : {"A,50,1,1,0,40,2\nB,50,1,1\n", "A,50,1,1,0,40,2\nB,x,1,1,0,,\n"})
            try {
                grainrows::pastedGrains(bad, '.');
                QFAIL(bad);
            } catch (const tarvel::Error &e) {
                QVERIFY2(QString::fromUtf8(e.what()).startsWith(QStringLiteral("Line 2")),
                         e.what());
            }
        QVERIFY_THROWS_EXCEPTION(tarvel::Error, grainrows::pastedGrains("\n \n", '.'));
    }

    // Only measured grains count; with z = ±1 twice, χ² = 2 on 2 degrees of
    // freedom, whose upper tail is e^-1.
    void summaryOfTheFit() {
        const GrainPrediction predicted{0.8, 40.0, 50.0};
        const std::vector<grainrows::GrainFit> fits{
            grainrows::fitGrain(grain("a", 50, 1, 1, 0, 42.0, 2.0), predicted),
            grainrows::fitGrain(grain("b", 50, 1, 1, 0, 37.0, 3.0), predicted),
            grainrows::fitGrain(grain("c", 50, 1, 1, 0), predicted)};
        QCOMPARE(*fits[0].z, 1.0);
        QCOMPARE(*fits[1].z, -1.0);
        QVERIFY(!fits[2].z);
        const samplefit::Summary s = grainrows::summarizeFits(fits);
        QCOMPARE(s.measured, 2);
        QCOMPARE(s.chi2, 2.0);
        QVERIFY(std::fabs(*s.probability - std::exp(-1.0)) < 1e-12);
        QVERIFY(grainrows::summaryText(s, '.').find("acceptable") != std::string::npos);
        QVERIFY(
            grainrows::summaryText(grainrows::summarizeFits({fits[2]}), '.').find("acceptable") ==
            std::string::npos);
    }

    // A measured grain: its age as a point and its ±1σ as a line; its
    // prediction as a closed figure around the predicted age, joined to the
    // measured one; an unmeasured grain shows its prediction alone.
    void graphMarks() {
        const std::vector<GrainRecord> grains{grain("a", 40, 10, 0, 0, 30.0, 2.0),
                                              grain("b", 80, 20, 0, 0)};
        RecordingGraph graph;
        samplegraphs::drawSample(graph, grains, {GrainPrediction{0.7, 35.0, 50.0}, std::nullopt},
                                 samplegraphs::Across::EU);
        const auto has = [&](std::vector<FPOINT> expected) {
            return std::any_of(graph.lines.begin(), graph.lines.end(), [&](const auto &line) {
                return line.size() == expected.size() &&
                       std::equal(line.begin(), line.end(), expected.begin(),
                                  [](FPOINT a, FPOINT b) { return a.x == b.x && a.y == b.y; });
            });
        };
        QVERIFY(has({{10, 30}}));
        QVERIFY(has({{10, 28}, {10, 32}}));
        QVERIFY(has({{10, 30}, {10, 35}}));
        const auto diamond = std::find_if(graph.lines.begin(), graph.lines.end(),
                                          [](const auto &line) { return line.size() == 5; });
        QVERIFY(diamond != graph.lines.end());
        float xlo = 1e9f, xhi = -1e9f, ylo = 1e9f, yhi = -1e9f;
        for (FPOINT p : *diamond) {
            xlo = std::min(xlo, p.x), xhi = std::max(xhi, p.x);
            ylo = std::min(ylo, p.y), yhi = std::max(yhi, p.y);
        }
        QVERIFY(xlo < 10 && 10 < xhi && ylo < 35 && 35 < yhi);
        QCOMPARE(graph.lines.size(), std::size_t(4)); // b has no prediction and no measurement
    }
};

QTEST_APPLESS_MAIN(TestGrainRows)
#include "test_grainrows.moc"
