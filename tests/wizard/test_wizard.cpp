// The wizard driven through its pages' buttons and handlers, with the real
// roster around it and nothing stored.
#include "datamodule.h"
#include "exactnumbers.h"
#include "geometrycheck.h"
#include "graphpoints.h"
#include "jobinputs.h"
#include "rosterfixture.h"
#include "tform1.h"
#include "tform2.h"
#include "tform3.h"
#include "tform4.h"
#include "tform5.h"
#include "tform6.h"
#include "tform7.h"
#include "xygraph.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>

#include <sstream>

namespace {

QStringList menuOf(const Txygraph &graph) {
    QStringList captions;
    for (const QAction *action : graph.PopupMenu()->actions())
        captions << action->text();
    return captions;
}

bool samePoints(const std::vector<FPOINT> &a, const std::vector<FPOINT> &b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y)
            return false;
    return true;
}

// A calculation page shown without modality runs until it acts on the run's end.
void runToEnd(CalculationPage &page) {
    QVERIFY(page.isVisible());
    QVERIFY(page.Running());
    page.WaitForRun();
}

} // namespace

class TestWizard : public QObject {
    Q_OBJECT

    RosterFixture roster;

    // Intro -> grain -> geometry -> thermal history, with the pages placed
    // where the intro page stood.
    void walkToThermalHistory() {
        Splash->Timer1Timer();
        QVERIFY(Form1->isVisible());
        Form1->Button2Click();
        Form2->Button2Click();
        runToEnd(*Form3);
        QVERIFY(Form4->isVisible());
    }

private slots:
    void init() { roster.start(); }
    void cleanup() { roster.stop(); }

    // The whole first run ends in the main window with the result the
    // calculator gives for the data set the wizard built; the end of the
    // program then asks to store it.
    void firstRunEndsInTheMainWindow() {
        Form1->move(120, 90);
        walkToThermalHistory();
        QCOMPARE(Form4->pos(), QPoint(120, 90));
        QVERIFY(!Form4->Button2->isEnabled());
        Form4->SpeedButtons[2]->click();
        QVERIFY(Form4->Button2->isEnabled());
        const auto drawn = pointsOf(*Form4->xygraph1);
        Form4->Button2Click();
        runToEnd(*Form5);
        QVERIFY(Form6->isVisible());
        QVERIFY(!Form5->isVisible());
        QCOMPARE(Form6->pos(), QPoint(120, 90));
        // The page says the age at the last point as the main window will.
        const QString said = Form6->ResultLine->text();
        Form6->Button1Click();
        QVERIFY(Form7->isVisible());
        QVERIFY(!Form6->isVisible());
        QVERIFY(!said.isEmpty());
        QCOMPARE(said, Form7->ResultLine->text());

        // What the calculator computes for the data set the wizard built.
        std::ostringstream file;
        DataModule1->WriteDataFile(file);
        TDataModule1 reread;
        std::istringstream in(file.str());
        reread.ReadDataFile(in);
        QVERIFY(samePoints(pointsOf(*Form7->xygraph1), drawn));
        QCOMPARE(reread.ModelData.Neigen, 20);
        const auto &curve = reread.GetCurrentCurve();
        std::vector<FPOINT> history;
        for (int i = 1; i < curve.Count(); ++i)
            history.push_back({curve.Time[std::size_t(i)], curve.Temp[std::size_t(i)]});
        const AgeJobInput input = ageJobInput(*DataModule1, history);
        const auto &steps = input.history;
        const auto ages = historyAges(input);
        const auto result = pointsOf(*Form7->xygraph2);
        QCOMPARE(result.size(), steps.size());
        for (std::size_t i = 0; i < result.size(); ++i) {
            QCOMPARE(exactly(result[i].x), exactly(steps[i].x));
            QCOMPARE(exactly(result[i].y), exactly(float(ages[i])));
        }

        roster.dialogs->answers = {true};
        Form7->hide();
        Splash->Timer1Timer();
        QCOMPARE(roster.dialogs->asked, QStringList{QStringLiteral("Save Settings?")});
        QVERIFY(programEnding());
        QVERIFY(QFile::exists(roster.userFolder() + QStringLiteral("/ModelData")));
    }

    // Back shows the earlier page where it last stood.
    void backKeepsTheEarlierPagesPlace() {
        Splash->Timer1Timer();
        Form1->move(50, 60);
        Form1->Button2Click();
        Form2->move(300, 200);
        Form2->Button3Click();
        QVERIFY(Form1->isVisible());
        QCOMPARE(Form1->pos(), QPoint(50, 60));

        // Back from a running geometry page: the run ends, nothing moves on.
        Form1->Button2Click();
        Form2->Button2Click();
        QVERIFY(Form3->Running());
        Form3->Button3Click();
        QVERIFY(!Form3->Running());
        QVERIFY(Form2->isVisible());
        QVERIFY(!Form3->isVisible() && !Form4->isVisible());
    }

    void grainPageRefusesBadRadiiAndEntries() {
        Splash->Timer1Timer();
        Form1->Button2Click();
        Form2->Edit_Inner_Radius->setText(QStringLiteral("40"));
        QVERIFY(!Form2->Button2->isEnabled());
        QVERIFY(!Form2->Label6->isHidden());
        Form2->Edit_Inner_Radius->setText(QStringLiteral("20"));
        QVERIFY(Form2->Button2->isEnabled());
        QVERIFY(Form2->Label6->isHidden());

        // A negative emission distance stops the page as bad radii do.
        Form2->Edit_Emission_Dist->setText(QStringLiteral("-1"));
        QVERIFY(!Form2->Button2->isEnabled());
        QVERIFY(Form2->Label6->text() != QString::fromUtf8(geometrycheck::kRadiiRuleText));

        // A bad emission distance stores nothing and starts nothing.
        DataModule1->ModelData.Neigen = 33;
        Form2->Edit_Radius->setText(QStringLiteral("70"));
        Form2->Edit_Emission_Dist->setText(QStringLiteral("x"));
        QVERIFY_THROWS_EXCEPTION(tarvel::Error, Form2->Button2Click());
        QCOMPARE(exactly(DataModule1->GrainData.Sphere_radius), exactly(0.0f));
        QCOMPARE(DataModule1->ModelData.Neigen, 33);
        QVERIFY(Form2->isVisible());
        QVERIFY(!Form3->isVisible());
    }

    // Bars and back: the as-drawn points return exactly; a sample chosen in
    // bar mode is what "Edit Lines" later brings back.
    void barsAndLines() {
        walkToThermalHistory();
        Form4->SpeedButtons[0]->click();
        const auto drawn = pointsOf(*Form4->xygraph1);
        Form4->ShowBarsClick();
        QVERIFY(pointsOf(*Form4->xygraph1).size() > drawn.size());
        QCOMPARE(menuOf(*Form4->xygraph1), QStringList({"Copy", "Edit Lines"}));
        Form4->EditLinesClick();
        QVERIFY(samePoints(pointsOf(*Form4->xygraph1), drawn));
        QVERIFY(menuOf(*Form4->xygraph1).endsWith(QStringLiteral("Show Bars")));

        Form4->ShowBarsClick();
        Form4->SpeedButtons[3]->click();
        const auto sample = pointsOf(*Form4->xygraph1);
        QVERIFY(!Form4->xygraph1->Fbarmode());
        Form4->ShowBarsClick();
        Form4->EditLinesClick();
        QVERIFY(samePoints(pointsOf(*Form4->xygraph1), sample));

        // Choosing a sample is one step: Ctrl+Z brings back the one before.
        Form4->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form4));
        QTest::keyClick(Form4->xygraph1, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(samePoints(pointsOf(*Form4->xygraph1), drawn));
    }

    // From the calculated age page back to the thermal history, in editing mode.
    void backFromTheResultEditsTheDrawnCurve() {
        walkToThermalHistory();
        Form4->SpeedButtons[1]->click();
        const auto drawn = pointsOf(*Form4->xygraph1);
        Form4->Button2Click();
        runToEnd(*Form5);
        Form6->Button3Click();
        QVERIFY(Form4->isVisible());
        QVERIFY(!Form4->xygraph1->Fbarmode());
        QVERIFY(samePoints(pointsOf(*Form4->xygraph1), drawn));
        QVERIFY(menuOf(*Form4->xygraph1).endsWith(QStringLiteral("Show Bars")));

        // Dragging a point by mouse: the age shown for the old curve goes.
        QVERIFY(!pointsOf(*Form6->xygraph1).empty());
        QVERIFY(QTest::qWaitForWindowExposed(Form4));
        const TPoint from = Form4->xygraph1->w2cc(drawn[1]);
        QTest::mousePress(Form4->xygraph1, Qt::LeftButton, {}, QPoint(from.x, from.y));
        QTest::mouseMove(Form4->xygraph1, QPoint(from.x, from.y - 20));
        QTest::mouseRelease(Form4->xygraph1, Qt::LeftButton, {}, QPoint(from.x, from.y - 20));
        QVERIFY(!samePoints(pointsOf(*Form4->xygraph1), drawn));
        QVERIFY(pointsOf(*Form6->xygraph1).empty());
    }

    // A failed age run leaves the result page's graph empty after its box.
    void failedAgeRunShowsNoCurve() {
        walkToThermalHistory();
        Form4->SpeedButtons[0]->click();
        DataModule1->ModelData.D0 = -1; // refused by the age calculation
        Form4->Button2Click();
        runToEnd(*Form5);
        QCoreApplication::processEvents();
        QVERIFY(roster.dialogs->toldText(QStringLiteral("Oops")));
        QVERIFY(Form6->isVisible());
        QVERIFY(pointsOf(*Form6->xygraph1).empty());
        QVERIFY(Form6->ResultLine->text().isEmpty());
    }

    // With parents the page gives the raw and the corrected age of the last
    // point, the numbers of the run.
    void resultPageGivesTheHeliumAges() {
        DataModule1->ParentsData.U_ppm = 40;
        DataModule1->ParentsData.Th_ppm = 60;
        walkToThermalHistory();
        Form4->SpeedButtons[1]->click();
        Form4->Button2Click();
        runToEnd(*Form5);
        QVERIFY(Form6->isVisible());
        const HeliumAge &last = Form5->LastAgeResult().helium.back();
        const QString line = Form6->ResultLine->text();
        for (const auto &[name, value] :
             {std::pair{"raw age", last.rawAge}, std::pair{"corrected age", last.correctedAge}}) {
            const QRegularExpressionMatch m =
                QRegularExpression(QStringLiteral("%1 ([-0-9.eE]+)").arg(name)).match(line);
            QVERIFY2(m.hasMatch(), qPrintable(line));
            QVERIFY(std::fabs(m.captured(1).toDouble() - value) <= 5e-6 * std::fabs(value));
        }
    }
};

QTEST_MAIN(TestWizard)
#include "test_wizard.moc"
