// "Find Histories" as a person drives it: Ctrl+F in the main window, Run and
// Cancel clicked, a box drawn on the history graph with the mouse, cells
// typed, the best path used and the paths exported; its numbers against
// tarvel-calc --invert on the same data set.
#include "calcrun.h"
#include "datamodule.h"
#include "findhistories.h"
#include "graphpoints.h"
#include "rosterfixture.h"
#include "searchcsv.h"
#include "tform7.h"
#include "xygraph.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>

#include <fstream>
#include <sstream>

namespace {

const QString kSearchSample = QStringLiteral(TARVEL_EXAMPLES_DIR "/search-sample.txt");

std::string fileText(const QString &name) {
    std::ifstream in(name.toStdString(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace

class TestFindHistories : public QObject {
    Q_OBJECT

    RosterFixture roster;
    QTemporaryDir dir;
    ScriptedDialogs &answers() { return *roster.dialogs; }

    // The example sample, opened as Open opens it, with `paths` typed.
    void openSample(const QString &paths) {
        answers().openName = kSearchSample;
        QTest::mouseClick(Form7->ToolBar1->widgetForAction(Form7->ToolButton2), Qt::LeftButton);
        QTest::keyClick(Form7, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(FindForm->isVisible());
        FindForm->PathsEdit->selectAll();
        QTest::keyClicks(FindForm->PathsEdit, paths);
        QTest::keyClick(FindForm->PathsEdit, Qt::Key_Return);
    }

    // The data set as the window holds it, saved to a file for tarvel-calc.
    QString saved(const char *name) {
        answers().saveName = dir.filePath(QString::fromLatin1(name));
        QTest::mouseClick(Form7->ToolBar1->widgetForAction(Form7->ToolButton1), Qt::LeftButton);
        return answers().saveName;
    }

private slots:
    void init() {
        roster.start();
        roster.showMainWindow();
    }
    void cleanup() { roster.stop(); }

    // Run finds what tarvel-calc --invert finds on the saved data set, shows
    // the envelopes and the best path on the history graph, exports the
    // accepted paths as --accepted writes them and makes the best path the
    // history as one edit that Ctrl+Z takes back.
    void runFindsWhatTheCalculatorFinds() {
        openSample(QStringLiteral("240"));
        QCOMPARE(DataModule1->Search.paths, std::int64_t(240));
        QVERIFY(Form7->isWindowModified());
        QTest::mouseClick(FindForm->RunButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!FindForm->running(), 60000);
        QVERIFY(FindForm->found());

        const QString file = saved("sample.txt");
        const QString accepted = dir.filePath(QStringLiteral("calculator.csv"));
        const Run calculator =
            calc({"--invert", "--accepted", accepted.toStdString(), file.toStdString()});
        QCOMPARE(calculator.status, 0);
        std::ostringstream summary;
        writeSearchSummary(FindForm->found()->result, summary);
        QCOMPARE(summary.str(), calculator.out);

        const auto &result = FindForm->found()->result;
        QVERIFY(result.acceptable > 0 && result.best);
        QCOMPARE(int(Form7->xygraph1->core().overlay().bands().size()),
                 (result.acceptable > 0) + (result.good > 0));
        QCOMPARE(Form7->xygraph1->core().overlay().lines().size(), std::size_t(1));

        answers().saveName = dir.filePath(QStringLiteral("window.csv"));
        QTest::mouseClick(FindForm->ExportButton, Qt::LeftButton);
        QCOMPARE(fileText(answers().saveName), fileText(accepted));

        const std::vector<FPOINT> before = pointsOf(*Form7->xygraph1);
        QTest::mouseClick(FindForm->UseBestButton, Qt::LeftButton);
        const std::vector<FPOINT> best = pointsOf(*Form7->xygraph1);
        const auto &line = Form7->xygraph1->core().overlay().lines().front().points;
        QCOMPARE(best.size(), line.size());
        for (std::size_t i = 0; i < best.size(); ++i)
            QVERIFY(best[i].x == line[i].x && best[i].y == line[i].y);
        QVERIFY(Form7->ToolButton5->isEnabled()); // a new history to compute
        QVERIFY(FindForm->found());               // the same present: the result stands
        Form7->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form7));
        QTest::keyClick(Form7->xygraph1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(pointsOf(*Form7->xygraph1).size(), before.size());
    }

    // Cancel ends a long search at once and leaves no result; the window can
    // run again.
    void cancelEndsAtOnce() {
        openSample(QStringLiteral("100000000"));
        QTest::mouseClick(FindForm->RunButton, Qt::LeftButton);
        QVERIFY(FindForm->running());
        QVERIFY(!FindForm->RunButton->isEnabled());
        QTest::mouseClick(FindForm->CancelButton, Qt::LeftButton);
        QVERIFY(!FindForm->running());
        QVERIFY(!FindForm->found());
        QVERIFY(FindForm->RunButton->isEnabled());
        QVERIFY(Form7->xygraph1->core().overlay().bands().empty());
    }

    // A box drawn on the history graph joins the data set's boxes and the
    // table; a cell typed wrong is refused by its box and column; a data set
    // opened next brings its own boxes.
    void boxesFromTheMouseAndTheTable() {
        openSample(QStringLiteral("50"));
        const std::size_t boxes = DataModule1->Search.boxes.size();
        QTest::mouseClick(FindForm->DrawBoxes, Qt::LeftButton);
        Txygraph *g = Form7->xygraph1;
        QVERIFY(g->boxMode());
        const TPoint from = g->w2cc({130, 80}), to = g->w2cc({150, 40});
        QTest::mousePress(g, Qt::LeftButton, {}, QPoint(from.x, from.y));
        QTest::mouseMove(g, QPoint((from.x + to.x) / 2, (from.y + to.y) / 2));
        QTest::mouseMove(g, QPoint(to.x, to.y));
        QTest::mouseRelease(g, Qt::LeftButton, {}, QPoint(to.x, to.y));
        QCOMPARE(DataModule1->Search.boxes.size(), boxes + 1);
        const tarvel::ConstraintBox &drawn = DataModule1->Search.boxes.back();
        QVERIFY(drawn.timeFrom < drawn.timeTo && drawn.temperatureFrom < drawn.temperatureTo);
        QVERIFY(std::fabs(drawn.timeFrom - 130) < 2 && std::fabs(drawn.temperatureTo - 80) < 4);
        QCOMPARE(FindForm->BoxTable->model()->rowCount(), int(boxes + 1));

        // "Time to" below "time from" in the first box: refused, named, kept.
        const tarvel::ConstraintBox first = DataModule1->Search.boxes.front();
        QTableView *table = FindForm->BoxTable;
        FindForm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FindForm));
        const QModelIndex cell = table->model()->index(0, 1);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
        QTest::keyClick(table, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("-5"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(answers().told.size(), std::size_t(1));
        QVERIFY(answers().told.front().text.contains(QStringLiteral("Box 1")));
        QCOMPARE(DataModule1->Search.boxes.front(), first);

        QTest::mouseClick(FindForm->DrawBoxes, Qt::LeftButton);
        QVERIFY(!g->boxMode());
        answers().saveChoices = {DialogSeam::SaveChoice::Discard};
        answers().openName = QStringLiteral(TARVEL_EXAMPLES_DIR "/cooling-history.txt");
        QTest::mouseClick(Form7->ToolBar1->widgetForAction(Form7->ToolButton2), Qt::LeftButton);
        QCOMPARE(FindForm->BoxTable->model()->rowCount(), 0);
        QVERIFY(g->boxes().empty());
    }
};

QTEST_MAIN(TestFindHistories)
#include "test_findhistories.moc"
