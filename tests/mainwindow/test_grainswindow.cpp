// The Grains window as a person drives it: Ctrl+G in the main window, a CSV
// imported through the file chooser, keys typed into cells, and the
// predictions following edits of the history, checked against the grain
// computed on its own.
#include "datamodule.h"
#include "grainprediction.h"
#include "grainrows.h"
#include "grainswindow.h"
#include "graphpoints.h"
#include "paintrecorder.h"
#include "rosterfixture.h"
#include "samplefit.h"
#include "tform7.h"
#include "xygraph.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QToolBar>

namespace {

const QString kFastCooling = QStringLiteral(TARVEL_EXAMPLES_DIR "/parents-fast-cooling.txt");

const char *const kSample = "grain,radius,U_ppm,Th_ppm,Sm_ppm,raw_age,raw_age_sd\n"
                            "A1,45,12,30,100,38.5,1.9\n"
                            "A2,60,8,20,80,44,2.2\n"
                            "A3,75,25,10,60,47.5,2.4\n"
                            "A4,90,5,40,200,49,2.5\n"
                            "A5,110,15,15,0,51.2,2.6\n"
                            "A6,52,10,25,90,,\n";

} // namespace

class TestGrainsWindow : public QObject {
    Q_OBJECT

    RosterFixture roster;
    ScriptedDialogs &answers() { return *roster.dialogs; }

    void importSample() {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("sample.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kSample);
        file.close();
        answers().openName = file.fileName();
        QTest::mouseClick(GrainsForm->ImportButton, Qt::LeftButton);
    }

    // Every grain predicted by itself under the history the main window shows.
    static std::vector<GrainPrediction> singleRuns() {
        const AgeJobInput sample = sampleJobInput(*DataModule1, pointsOf(*Form7->xygraph1));
        std::vector<GrainPrediction> runs;
        for (const tarvel::GrainRecord &g : GrainsForm->grains())
            runs.push_back(predictGrain(sample, g));
        return runs;
    }

    static void typeInto(int row, int column, const QString &text) {
        QTableView *table = GrainsForm->Table;
        const QModelIndex cell = table->model()->index(row, column);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
        QCOMPARE(table->currentIndex(), cell);
        QTest::keyClick(table, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The view commits the editor's text once the key's handling is over.
        const QPointer<QLineEdit> open(editor);
        QTRY_VERIFY(!open);
    }

private slots:
    void init() {
        roster.start();
        roster.showMainWindow();
        answers().openName = kFastCooling;
        QTest::mouseClick(Form7->ToolBar1->widgetForAction(Form7->ToolButton2), Qt::LeftButton);
        QVERIFY(!pointsOf(*Form7->xygraph1).empty());
    }
    void cleanup() { roster.stop(); }

    // Ctrl+G opens the window; the sample imported arrives predicted, each
    // grain exactly as computed on its own, with the sample's χ² under the
    // table; an edit of the history brings the predictions of the new one.
    void predictionsFollowTheHistory() {
        QTest::keyClick(Form7, Qt::Key_G, Qt::ControlModifier);
        QTRY_VERIFY(GrainsForm->isVisible());
        QSignalSpy updated(GrainsForm, &GrainsWindow::predictionsUpdated);
        importSample();
        QCOMPARE(GrainsForm->grains(), tarvel::readGrainCsv(kSample));
        QVERIFY(updated.wait(60000));
        // A1's eU, U + 0.238 Th + 0.0012 Sm = 12 + 7.14 + 0.12, in its cell
        // and in the report's table of the sample.
        const QString eU = GrainsForm->Table->model()->index(0, grainrows::EU).data().toString();
        QCOMPARE(QLocale().toDouble(eU), 19.26);
        // The model's curves: each point the raw age of one grain of the
        // sample's mean composition at that eU or radius, run on its own.
        double radius = 0, eUSum = 0, thU = 0, smU = 0, largestEU = 0;
        for (const tarvel::GrainRecord &g : GrainsForm->grains()) {
            radius += g.radius / 6;
            eUSum += g.eU() / 6;
            thU += g.Th / g.U / 6;
            smU += g.Sm / g.U / 6;
            largestEU = std::max(largestEU, g.eU());
        }
        const AgeJobInput sample = sampleJobInput(*DataModule1, pointsOf(*Form7->xygraph1));
        const auto single = [&](double r, double eUValue) {
            tarvel::GrainRecord g;
            g.radius = r;
            g.U = eUValue / (1 + 0.238 * thU + 0.0012 * smU);
            g.Th = g.U * thU;
            g.Sm = g.U * smU;
            return float(predictGrain(sample, g).rawAge);
        };
        const auto &overEU = GrainsForm->eUCurve();
        QVERIFY(overEU.size() > 10);
        QVERIFY(std::fabs(overEU.back().x - 1.2 * largestEU) <= 1e-4 * largestEU);
        for (const FPOINT &p : {overEU[1], overEU.back()})
            QCOMPARE(p.y, single(radius, p.x));
        const auto &overRadius = GrainsForm->radiusCurve();
        QVERIFY(overRadius.size() > 10);
        QCOMPARE(overRadius.back().y, single(overRadius.back().x, eUSum));
        PaintRecorder report(QSize(2000, 2600), 96, 96);
        QPainter painter(&report);
        Form7->DrawReport(painter, QRect(100, 100, 1800, 2400), [] {});
        painter.end();
        QVERIFY(std::any_of(report.texts().begin(), report.texts().end(),
                            [&](const PaintRecorder::Text &t) { return t.text == eU; }));

        std::vector<std::optional<double>> misfits;
        const auto expected = singleRuns();
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const auto &fit = GrainsForm->fits()[i];
            QVERIFY(fit);
            QCOMPARE(fit->prediction.rawAge, expected[i].rawAge);
            QCOMPARE(fit->prediction.correctedAge, expected[i].correctedAge);
            QCOMPARE(fit->prediction.ft, expected[i].ft);
            misfits.push_back(fit->z);
        }
        QVERIFY(!GrainsForm->fits()[5]->z); // A6 has no measurement
        const samplefit::Summary s = samplefit::summarize(misfits);
        QCOMPARE(s.measured, 5);
        QVERIFY2(GrainsForm->SummaryLine->text().endsWith(
                     QString::fromStdString(samplefit::verdict(*s.probability))),
                 qPrintable(GrainsForm->SummaryLine->text()));
        // Both graphs hold every grain's marks.
        QVERIFY(!pointsOf(*GrainsForm->RadiusGraph).empty());
        QVERIFY(!pointsOf(*GrainsForm->EUGraph).empty());

        // Two edits in a row: the second supersedes the first, whose results
        // never show.
        const double before = GrainsForm->fits()[0]->prediction.rawAge;
        updated.clear();
        Form7->TableToGraph({{0, 140}, {30, 20}, {60, 20}});
        Form7->TableToGraph({{0, 110}, {45, 60}, {60, 15}});
        QVERIFY(!GrainsForm->fits()[0]); // the stale predictions went at once
        QTRY_VERIFY_WITH_TIMEOUT(!GrainsForm->computing() && updated.count() > 0, 60000);
        QCOMPARE(updated.count(), 1);
        const auto after = singleRuns();
        QCOMPARE(GrainsForm->fits()[0]->prediction.rawAge, after[0].rawAge);
        QVERIFY(after[0].rawAge != before);

        // A history the calculation refuses is reported on the summary line,
        // not in a box on every edit, and leaves no stale predictions.
        updated.clear();
        Form7->TableToGraph({{0, 100}, {50, 20}, {30, 10}});
        QTRY_COMPARE(updated.count(), 1);
        QVERIFY(!GrainsForm->computing());
        QVERIFY(std::none_of(GrainsForm->fits().begin(), GrainsForm->fits().end(),
                             [](const auto &fit) { return fit.has_value(); }));
        QVERIFY(!GrainsForm->SummaryLine->text().contains(QStringLiteral("\u03c7")));
        QVERIFY(answers().told.empty());
    }

    // Keys typed into a cell change that grain; a text that makes no grain is
    // refused with a message naming the row, and the grain stays as it was.
    void typedCells() {
        Form7->GrainsClick();
        GrainsForm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(GrainsForm));
        importSample();
        QSignalSpy edited(GrainsForm, &GrainsWindow::grainsEdited);

        typeInto(1, grainrows::Radius, QStringLiteral("64.5"));
        QCOMPARE(GrainsForm->grains()[1].radius, 64.5);
        QCOMPARE(edited.count(), 1);

        const auto before = GrainsForm->grains();
        typeInto(2, grainrows::MeasuredSd, QStringLiteral("-1"));
        QTRY_COMPARE(answers().told.size(), std::size_t(1));
        QVERIFY2(answers().told[0].text.startsWith(QStringLiteral("Row 3")),
                 qPrintable(answers().told[0].text));
        QCOMPARE(GrainsForm->grains(), before);
        QCOMPARE(GrainsForm->Table->model()->index(2, grainrows::MeasuredSd).data().toString(),
                 QStringLiteral("2.4"));

        // A new row is a valid grain at once, ready to be named; Delete removes it.
        QTest::mouseClick(GrainsForm->AddButton, Qt::LeftButton);
        QCOMPARE(GrainsForm->grains().size(), before.size() + 1);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("new"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(GrainsForm->grains().back().name, std::string("new"));
        QTest::keyClick(GrainsForm->Table, Qt::Key_Delete);
        QCOMPARE(GrainsForm->grains(), before);
    }

    // Export writes what Import reads back; the imported grains are the data
    // set's, which is marked modified, and the next data set opened brings its own.
    void exportedFileReadsBack() {
        GrainsForm->show();
        QVERIFY(!Form7->isWindowModified());
        importSample();
        QCOMPARE(DataModule1->Grains, GrainsForm->grains());
        QVERIFY(Form7->isWindowModified());
        QTemporaryDir dir;
        answers().saveName = dir.filePath(QStringLiteral("out.csv"));
        QTest::mouseClick(GrainsForm->ExportButton, Qt::LeftButton);
        QFile file(answers().saveName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(tarvel::readGrainCsv(file.readAll().toStdString()), GrainsForm->grains());

        answers().saveChoices = {DialogSeam::SaveChoice::Discard};
        answers().openName = QStringLiteral(TARVEL_EXAMPLES_DIR "/sample-grains.txt");
        QTest::mouseClick(Form7->ToolBar1->widgetForAction(Form7->ToolButton2), Qt::LeftButton);
        QCOMPARE(GrainsForm->grains().size(), std::size_t(7));
        QCOMPARE(GrainsForm->grains(), DataModule1->Grains);
    }
};

QTEST_MAIN(TestGrainsWindow)
#include "test_grainswindow.moc"
