// The main analysis window driven through its handlers, with the roster of the
// real program around it.
#include "calcrun.h"
#include "datamodule.h"
#include "exactnumbers.h"
#include "graphpoints.h"
#include "numbertext.h"
#include "penstrokes.h"
#include "rosterfixture.h"
#include "tableedit.h"
#include "tform1.h"
#include "tform2.h"
#include "tform3.h"
#include "tform4.h"
#include "tform5.h"
#include "tform6.h"
#include "tform7.h"
#include "tshape.h"
#include "tsplash.h"
#include "xygraph.h"

#include <QAction>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

const QString kDefaultGrain = QStringLiteral(TARVEL_EXAMPLES_DIR "/default-grain.txt");
const QString kCoolingHistory = QStringLiteral(TARVEL_EXAMPLES_DIR "/cooling-history.txt");

// True when the graph's window shows every one of its points.
bool holdsItsPoints(const Txygraph &g) {
    for (const FPOINT &p : pointsOf(g))
        if (p.x < g.getxzero() || p.x > g.getxmax() || p.y < g.getyzero() || p.y > g.getymax())
            return false;
    return true;
}

// What a poppler tool writes for `arguments`; empty (and a warning) when it fails.
QString poppler(const QString &tool, const QStringList &arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(20000) || process.exitCode() != 0) {
        qWarning("%s failed", qPrintable(tool));
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The values of the lines of `text` that hold exactly three numbers: the
// printed table's rows (the graphs' scales never put three on a line).
std::vector<std::vector<double>> tableLines(const QString &text) {
    std::vector<std::vector<double>> lines;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        std::vector<double> values;
        for (const QString &word : words) {
            try {
                values.push_back(tarvel::parseNumber(word.toStdString(), '.'));
            } catch (const std::exception &) {
                break;
            }
        }
        if (words.size() == 3 && values.size() == 3)
            lines.push_back(values);
    }
    return lines;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    RosterFixture roster;
    ScriptedDialogs &answers() { return *roster.dialogs; }

    static void redraw(std::vector<FPOINT> line) {
        Form7->xygraph1->Clear();
        drawPolyline(*Form7->xygraph1, line);
    }

    void openFile(const QString &name) {
        answers().openName = name;
        Form7->ToolButton2Click();
    }

    // The result graph holds, bit for bit, what the calculator writes for `file`.
    static void resultIsTheCalculators(const QString &file) {
        const auto expected = calculatorRows(file.toStdString());
        const auto result = pointsOf(*Form7->xygraph2);
        QCOMPARE(result.size(), expected.size());
        for (std::size_t i = 0; i < result.size(); ++i) {
            QCOMPARE(exactly(result[i].x), exactly(float(expected[i].first)));
            QCOMPARE(exactly(result[i].y), exactly(float(expected[i].second)));
        }
    }

private slots:
    void init() {
        roster.start();
        Form7->Model = DataModule1;
    }
    void cleanup() { roster.stop(); }

    // The central road: open, Recalculate, and the result is what the
    // calculator gives for the same file.
    void recalculateMatchesTheCalculator() {
        openFile(kDefaultGrain);
        const auto drawn = pointsOf(*Form7->xygraph1);
        Form7->Button1Click();

        resultIsTheCalculators(kDefaultGrain);
        QCOMPARE(answers().modalShown, QStringList({"Geometry Calculation", "Gamma Calculation"}));
        // The as-drawn points are back, and Recalculate has done its work.
        const auto after = pointsOf(*Form7->xygraph1);
        QCOMPARE(after.size(), drawn.size());
        QVERIFY(!Form7->xygraph1->Fbarmode());
        QVERIFY(!Form7->ToolButton5->isEnabled());

        // A changed curve enables Recalculate, which then runs only the ages.
        redraw({{0, 20}, {50, 90}});
        emit Form7->xygraph1->pointsEdited();
        QVERIFY(Form7->ToolButton5->isEnabled());
        QVERIFY(pointsOf(*Form7->xygraph2).empty());
        answers().modalShown.clear();
        // The steps are the calculation's own: the graph stays as drawn meanwhile.
        answers().onPage = [](CalculationPage &page) {
            QVERIFY(!Form7->xygraph1->Fbarmode());
            QCOMPARE(pointsOf(*Form7->xygraph1).size(), std::size_t(2));
            page.WaitForRun();
        };
        Form7->Button1Click();
        QCOMPARE(answers().modalShown, QStringList({"Gamma Calculation"}));
        QVERIFY(!pointsOf(*Form7->xygraph2).empty());
    }

    // The wizard's result comes with its table.
    void wizardResultKeepsItsTable() {
        Splash->Timer1Timer();
        Form1->Button2Click();
        Form2->Button2Click();
        Form3->WaitForRun();
        Form4->SpeedButtons[2]->click();
        Form4->Button2Click();
        Form5->WaitForRun();
        Form6->Button1Click();
        const auto graph = pointsOf(*Form7->xygraph2);
        QCOMPARE(Form7->Results().rows.size(), graph.size());
        QCOMPARE(exactly(float(Form7->Results().rows.back()[2])), exactly(graph.back().y));
    }

    // A data set that asks for the precise method gets it from Recalculate,
    // bit for bit as the calculator computes the same file.
    void recalculateUsesTheDataSetMethod() {
        QFile example(QStringLiteral(TARVEL_EXAMPLES_DIR "/cooling-history.txt"));
        QVERIFY(example.open(QIODevice::ReadOnly));
        QByteArray bytes = example.readAll();
        bytes.replace("D0=1807.8\r\n", "D0=1807.8\r\nMethod=precise\r\n");
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("precise.txt"));
        QFile precise(name);
        QVERIFY(precise.open(QIODevice::WriteOnly));
        precise.write(bytes);
        precise.close();

        openFile(name);
        QCOMPARE(DataModule1->ModelData.Method, ModelMethod::Precise);
        Form7->Button1Click();
        resultIsTheCalculators(name);
        const auto expected = calculatorRows(name.toStdString());
        // Not the fast method's numbers.
        QVERIFY(expected != calculatorRows(example.fileName().toStdString()));
    }

    // A history starting at 120 C grows the temperature axis to a round end;
    // the time axis, which holds it, keeps 0..100. The result graph holds its
    // ages as well.
    void arrivingCurvesGrowTheAxes() {
        openFile(kCoolingHistory);
        QVERIFY(holdsItsPoints(*Form7->xygraph1));
        QCOMPARE(exactly(Form7->xygraph1->getymax()), exactly(200.0f));
        QCOMPARE(exactly(Form7->xygraph1->getxmax()), exactly(100.0f));
        Form7->Button1Click();
        QVERIFY(!pointsOf(*Form7->xygraph2).empty());
        QVERIFY(holdsItsPoints(*Form7->xygraph2));

        // A table of 500 Myr grows the time axis as well.
        Form7->TableToGraph({{0, 120}, {250, 60}, {500, 20}});
        QVERIFY(holdsItsPoints(*Form7->xygraph1));
        QCOMPARE(exactly(Form7->xygraph1->getxmax()), exactly(500.0f));
    }

    void geometryEditsFollowTheCheck() {
        Form7->Edit_Outer_Radius->setText(QStringLiteral("60"));
        Form7->Edit_Inner_Radius->setText(QStringLiteral("0"));
        QVERIFY(Form7->Label8->isHidden());
        QCOMPARE(Form7->Shape2->geometry(), Form7->Shape1->geometry());
        QCOMPARE(Form7->Shape3->width(), 0);

        Form7->Edit_Inner_Radius->setText(QStringLiteral("60.5"));
        QVERIFY(!Form7->Label8->isHidden());
        QVERIFY(!Form7->ToolButton5->isEnabled());
        QCOMPARE(Form7->Shape3->width(), 0); // a failed check keeps the circles
    }

    // Save writes what the window shows, and Open brings all of it back.
    void saveThenOpenRestoresTheDataSet() {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("set.txt"));
        openFile(kDefaultGrain);
        Form7->Edit_Radius->setText(QStringLiteral("75"));
        drawSinglePoint(*Form7->xygraph1, 80, 30); // shown, never recalculated
        Form7->Memo1->setPlainText(QStringLiteral("line one\n\nline three"));
        answers().saveName = name;
        Form7->ToolButton1Click();

        Form7->Edit_Radius->setText(QStringLiteral("90"));
        Form7->Memo1->setPlainText(QStringLiteral("other"));
        Form7->xygraph1->Clear();
        answers().saveChoices = {DialogSeam::SaveChoice::Discard};
        openFile(name);
        QCOMPARE(Form7->Edit_Radius->text(), QStringLiteral("75"));
        QCOMPARE(pointsOf(*Form7->xygraph1).size(), std::size_t(3));
        QCOMPARE(Form7->Memo1->toPlainText(), QStringLiteral("line one\n\nline three"));
        QVERIFY(Form7->ToolButton5->isEnabled());
        QVERIFY(pointsOf(*Form7->xygraph2).empty());
    }

    // Annotation bytes show as UTF-8 where they are, else as Latin-1.
    void annotationBytesShowReadably() {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("notes.txt"));
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[DataBegin\r\n[MemoBegin\r\nUTF-8: \xc3\xa9t\xc3\xa9\r\n"
                   "Latin-1: \xe9t\xe9\r\n]MemoEnd\r\n");
        file.close();
        openFile(name);
        QCOMPARE(Form7->Memo1->toPlainText(),
                 QStringLiteral("UTF-8: \u00e9t\u00e9\nLatin-1: \u00e9t\u00e9"));
    }

    // A bad entry or a broken file changes nothing.
    void failuresChangeNothing() {
        QTemporaryDir dir;
        openFile(kDefaultGrain);
        const QByteArray before = [] {
            std::ostringstream out;
            DataModule1->WriteDataFile(out);
            return QByteArray::fromStdString(out.str());
        }();

        Form7->Edit_Radius->setText(QStringLiteral("70"));
        Form7->Edit_Emission_Dist->setText(QStringLiteral("abc"));
        QVERIFY_THROWS_EXCEPTION(tarvel::Error, Form7->Button1Click());
        QVERIFY(answers().modalShown.isEmpty());
        answers().saveName = dir.filePath(QStringLiteral("never.txt"));
        QVERIFY_THROWS_EXCEPTION(tarvel::Error, Form7->ToolButton1Click());
        QVERIFY(!QFile::exists(answers().saveName));

        const QString broken = dir.filePath(QStringLiteral("broken.txt"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[DataBegin\nSphere_radius=30\n[TableStart\n1, 2\nx, 3\n]TableEnd\n");
        file.close();
        answers().saveChoices = {DialogSeam::SaveChoice::Discard};
        QVERIFY_THROWS_EXCEPTION(tarvel::Error, openFile(broken));
        std::ostringstream after;
        DataModule1->WriteDataFile(after);
        QCOMPARE(QByteArray::fromStdString(after.str()), before);
        QCOMPARE(Form7->Edit_Emission_Dist->text(), QStringLiteral("abc"));
    }

    // Cancel on a modal page stops the run and keeps the program and data.
    void cancelStopsTheRunOnly() {
        openFile(kDefaultGrain);
        answers().onPage = [](CalculationPage &page) { page.Button1->click(); };
        Form7->Button1Click();
        QVERIFY(!programEnding());
        QVERIFY(Form7->GeometryChanged);
        QVERIFY(Form7->ToolButton5->isEnabled());

        answers().onPage = {};
        Form7->Button1Click(); // the geometry now, then a cancelled age run
        answers().onPage = [](CalculationPage &page) { page.Button1->click(); };
        Form7->ToolButton5->setEnabled(true);
        Form7->Button1Click();
        QVERIFY(pointsOf(*Form7->xygraph2).empty());
        QVERIFY(Form7->ToolButton5->isEnabled());
        QVERIFY(!Form7->xygraph1->Fbarmode());
        QCOMPARE(pointsOf(*Form7->xygraph1).size(), std::size_t(2));
    }

    // A geometry the calculation refuses stops Recalculate before any age run:
    // ages from the old coefficients would look like a result.
    void failedGeometryRunStopsRecalculate() {
        openFile(kDefaultGrain);
        Form7->Edit_Emission_Dist->setText(QStringLiteral("-5"));
        Form7->Button1Click();
        QCoreApplication::processEvents();
        QCOMPARE(answers().modalShown, QStringList{QStringLiteral("Geometry Calculation")});
        QVERIFY(answers().toldText(QStringLiteral("Oops")));
        QVERIFY(Form7->GeometryChanged);
        QVERIFY(pointsOf(*Form7->xygraph2).empty());
    }

    // A refused calculation shows its box and leaves no curve that looks like
    // a result.
    void failedAgeRunLeavesTheGraphEmpty() {
        openFile(kDefaultGrain);
        Form7->Button1Click();
        DataModule1->ModelData.D0 = -1; // refused by the age calculation only
        Form7->ToolButton5->setEnabled(true);
        Form7->Button1Click();
        QCoreApplication::processEvents();
        QVERIFY(answers().toldText(QStringLiteral("Oops")));
        QVERIFY(pointsOf(*Form7->xygraph2).empty());
    }

    // Printing stores what the window shows, as Save does, once the print
    // dialog is confirmed; a cancelled dialog prints and stores nothing, a bad
    // edit or a printer that fails stops with an error.
    void printAndPreview() {
        QTemporaryDir dir;
        openFile(kDefaultGrain);
        Form7->Edit_Radius->setText(QStringLiteral("75")); // typed, never recalculated
        Form7->ToolButton8Click();
        QCOMPARE(answers().printDialogs, 1);
        QCOMPARE(exactly(DataModule1->GrainData.Sphere_radius), exactly(60.0f));

        answers().printFile = dir.filePath(QStringLiteral("report.pdf"));
        Form7->ToolButton8Click();
        QCOMPARE(exactly(DataModule1->GrainData.Sphere_radius), exactly(75.0f));
        QFile pdf(answers().printFile);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF"));

        answers().previewFile = dir.filePath(QStringLiteral("preview.pdf"));
        Form7->Edit_Radius->setText(QStringLiteral("80"));
        Form7->PrintPreviewClick();
        QCOMPARE(answers().previews, 1);
        QCOMPARE(exactly(DataModule1->GrainData.Sphere_radius), exactly(80.0f));
        QVERIFY(QFileInfo(answers().previewFile).size() > 0);

        answers().printFile = dir.filePath(QStringLiteral("missing-folder/report.pdf"));
        QVERIFY_THROWS_EXCEPTION(tarvel::Error, Form7->ToolButton8Click());
        answers().printFile = dir.filePath(QStringLiteral("never.pdf"));
        Form7->Edit_Radius->setText(QStringLiteral("abc"));
        const int dialogsBefore = answers().printDialogs;
        QVERIFY_THROWS_EXCEPTION(tarvel::Error, Form7->ToolButton8Click());
        QCOMPARE(answers().printDialogs, dialogsBefore); // named before the dialog
        QVERIFY_THROWS_EXCEPTION(tarvel::Error, Form7->PrintPreviewClick());
        QVERIFY(!QFile::exists(answers().printFile));
        QCOMPARE(answers().previews, 1);
    }

    // The report printed to PDF and read back: the rows of old first, then the
    // method, the file and the date, the graphs, and the result's table, which
    // a long history continues over further pages under its header.
    void reportHoldsTheResultTable() {
        QTemporaryDir dir;
        openFile(kCoolingHistory);
        Form7->TableToGraph({{0, 120}, {250, 60}, {500, 20}});
        answers().saveName = dir.filePath(QStringLiteral("long-history.txt"));
        Form7->ToolButton1Click();
        Form7->Button1Click();
        Form7->ReportDate = [] { return QDate(2031, 4, 5); };
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        answers().printFile = pdf;
        const QFont graphFont = Form7->xygraph1->font();
        Form7->ToolButton8Click();
        QCOMPARE(Form7->xygraph1->font(), graphFont); // the window's graphs as they were

        const QRegularExpression pagesLine(QStringLiteral("Pages:\\s+(\\d+)"));
        const int pages =
            pagesLine.match(poppler(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
        const QStringList text = poppler(QStringLiteral("pdftotext"),
                                         {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                                     .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QVERIFY(pages >= 3);
        QCOMPARE(text.size(), pages);
        const auto at = [&text](const char *part) { return text[0].indexOf(QLatin1String(part)); };
        QVERIFY(at("Inner Zone Radius") >= 0 && at("Inner Zone Radius") < at("Method: fast"));
        QVERIFY(at("long-history.txt") > at("Method: fast"));
        QVERIFY(at("2031-04-05") > at("long-history.txt"));
        QVERIFY(at("Real Time") > at("2031-04-05")); // a graph below them
        // Its labels keep their size beside its lines (some 1/40 of the page
        // high), not the printer's resolution on top of the scaling.
        const auto box =
            QRegularExpression(
                QStringLiteral("yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">Real<"))
                .match(poppler(QStringLiteral("pdftotext"),
                               {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
        QVERIFY(box.hasMatch());
        QVERIFY(box.captured(2).toDouble() - box.captured(1).toDouble() < 40.0); // points

        // The table starts on page 2 and ends on the last, under its header
        // there too, with the result's numbers to the 15 digits shown.
        const auto &rows = Form7->Results().rows;
        const auto same = [](const std::vector<double> &printed, const std::vector<double> &row) {
            for (std::size_t c = 0; c < row.size(); ++c)
                if (!(std::fabs(printed.at(c) - row[c]) <= 1e-14 * std::fabs(row[c])))
                    return false;
            return true;
        };
        QVERIFY(same(tableLines(text[1]).at(0), rows.front()));
        QVERIFY(same(tableLines(text.back()).back(), rows.back()));
        QVERIFY(text.back().contains(QStringLiteral("Calculated time")));
    }

    // A data set with grains: the report ends with the sample, each grain with
    // the prediction tarvel-calc gives, and the sample's verdict.
    void reportHoldsTheSample() {
        QTemporaryDir dir;
        const QString file = QStringLiteral(TARVEL_EXAMPLES_DIR "/sample-grains.txt");
        openFile(file);
        Form7->Button1Click();
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        answers().printFile = pdf;
        Form7->ToolButton8Click();
        const QString text = poppler(QStringLiteral("pdftotext"),
                                     {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        const QString sample = text.mid(text.lastIndexOf(QStringLiteral("Grains")));
        QVERIFY(sample.contains(QStringLiteral("good"))); // as --grains --summary says
        std::istringstream rows(calc({"--grains", file.toStdString()}).out);
        std::string line;
        std::getline(rows, line); // the header
        int grains = 0;
        while (std::getline(rows, line)) {
            std::vector<std::string> cells;
            std::istringstream fields(line);
            for (std::string cell; std::getline(fields, cell, ',');)
                cells.push_back(cell);
            const QString printed =
                QString::fromStdString(tarvel::formatGeneral(std::stod(cells[4]), 8, '.'));
            const QRegularExpression row(QStringLiteral("\\n\\s*%1\\s[^\\n]*%2")
                                             .arg(QString::fromStdString(cells[0]), printed));
            QVERIFY2(row.match(sample).hasMatch(), qPrintable(printed));
            ++grains;
        }
        QCOMPARE(grains, 7);
    }

    // The table dialog: OK without an edit keeps every point exactly.
    void tableEditKeepsUntouchedPoints() {
        Form7->xygraph1->PenUp();
        Form7->xygraph1->MoveTo(0.123456789f, 20.987654f);
        Form7->xygraph1->PenDown();
        Form7->xygraph1->MoveTo(123456.7f, 30.5f);
        const auto before = pointsOf(*Form7->xygraph1);
        Form7->TableEditClick();
        const auto after = pointsOf(*Form7->xygraph1);
        QCOMPARE(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            QCOMPARE(exactly(after[i].x), exactly(before[i].x));
            QCOMPARE(exactly(after[i].y), exactly(before[i].y));
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
