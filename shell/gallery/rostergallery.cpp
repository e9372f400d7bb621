// Renders every window of the program in its typical states to PNG files, for
// review by eye: tarvel_gallery OUTPUT_FOLDER EXAMPLE_DATA_SET
#include "application.h"
#include "calculationpage.h"
#include "datamodule.h"
#include "dialogseam.h"
#include "findhistories.h"
#include "grainswindow.h"
#include "moddatform.h"
#include "numbertext.h"
#include "parentsdialog.h"
#include "resultsdialog.h"
#include "roster.h"
#include "tableedit.h"
#include "tform1.h"
#include "tform2.h"
#include "tform3.h"
#include "tform4.h"
#include "tform5.h"
#include "tform6.h"
#include "tform7.h"
#include "tsplash.h"
#include "xygraph.h"

#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// Answers every dialog at once: calculation pages run to their end.
class GalleryDialogs final : public DialogSeam {
public:
    void tell(QWidget *, const QString &, const QString &, const QString &) override {}
    bool ask(QWidget *, const QString &, const QString &) override { return false; }
    SaveChoice askToSave(QWidget *, const QString &, const QString &) override {
        return SaveChoice::Cancel;
    }
    QString chooseOpenFile(QWidget *, const QString &) override { return {}; }
    QString chooseSaveFile(QWidget *, const QString &, const QString &) override { return {}; }
    int execModal(QDialog &dialog) override {
        if (auto *page = qobject_cast<CalculationPage *>(&dialog)) {
            dialog.setAttribute(Qt::WA_ShowModal, true);
            page->FormActivate();
            page->WaitForRun();
            dialog.setAttribute(Qt::WA_ShowModal, false);
        }
        return dialog.result();
    }
    bool choosePrinter(QWidget *, QPrinter &) override { return false; }
    void showPrintPreview(QWidget *, QPrinter &, std::function<void(QPrinter &)>) override {}
};

QString outputFolder;
int failures = 0;

// Pages that start a run when shown are rendered without showing them.
void save(QWidget *window, const char *name, bool showFirst = true) {
    if (showFirst)
        window->show();
    window->ensurePolished();
    QCoreApplication::processEvents();
    const QString file = QDir(outputFolder).filePath(QString::fromLatin1(name) + ".png");
    if (!window->grab().save(file)) {
        std::fprintf(stderr, "tarvel_gallery: could not write %s\n", qPrintable(file));
        ++failures;
    }
    window->hide();
}

// Waits for the Grains window's predictions (at most half a minute).
void waitForGrains() {
    if (!GrainsForm->computing())
        return;
    QEventLoop loop;
    QObject::connect(GrainsForm, &GrainsWindow::predictionsUpdated, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
}

// A measured sample of six grains under the main window's history: their
// ages are the predictions moved by a few sigma each (sigma 6 %, three
// digits as a laboratory reports them), so the
// picture shows misfits of both signs and a middling verdict.
void showMeasuredSample() {
    std::vector<tarvel::GrainRecord> grains{
        {"Z1", 42, 8, 21, 95, {}, {}},  {"Z2", 55, 14, 30, 120, {}, {}},
        {"Z3", 63, 22, 18, 60, {}, {}}, {"Z4", 78, 6, 40, 150, {}, {}},
        {"Z5", 96, 35, 12, 40, {}, {}}, {"Z6", 120, 18, 26, 110, {}, {}}};
    GrainsForm->setGrains(grains);
    GrainsForm->show();
    waitForGrains();
    const double shifts[] = {0.6, -1.4, 0.3, 1.9, -0.8, 1.1};
    for (std::size_t i = 0; i < grains.size(); ++i)
        if (const auto &fit = GrainsForm->fits()[i]) {
            const auto rounded = [](double v) {
                return tarvel::parseNumber(tarvel::formatGeneral(v, 3, '.'), '.');
            };
            const double sd = rounded(0.06 * fit->prediction.rawAge);
            grains[i].rawAge = rounded(fit->prediction.rawAge + shifts[i] * sd);
            grains[i].rawAgeSd = sd;
        }
    grains[5].rawAge.reset(); // one grain only predicted
    grains[5].rawAgeSd.reset();
    GrainsForm->setGrains(grains);
    waitForGrains();
}

// The printed report as the user's PDF file would hold it, each page turned
// into a PNG by pdftoppm (poppler-utils).
void saveReport(const char *name) {
    const QString pdf = QDir(outputFolder).filePath(QString::fromLatin1(name) + ".pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    try {
        Form7->PrintReport(printer);
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "tarvel_gallery: %s\n", failure.what());
        ++failures;
        return;
    }
    const QString prefix = QDir(outputFolder).filePath(QString::fromLatin1(name));
    if (QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"),
                                                       QStringLiteral("60"), pdf, prefix}) != 0) {
        std::fprintf(stderr, "tarvel_gallery: pdftoppm could not render %s\n", qPrintable(pdf));
        ++failures;
    }
}

} // namespace

int main(int argc, char **argv) {
    TarvelApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tarvel_gallery OUTPUT_FOLDER EXAMPLE_DATA_SET\n");
        return 2;
    }
    outputFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outputFolder);
    QTemporaryDir config; // no settings of the person running it are touched
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("XDG_CONFIG_DIRS", config.path().toUtf8());
    GalleryDialogs answers;
    setDialogs(&answers);

    CreateRoster();
    Splash->Timer1->stop();
    save(Splash, "splash");

    // The example's grain, constants and annotation for every page below.
    Form7->Model = DataModule1;
    QFile example(QString::fromLocal8Bit(argv[2]));
    if (example.open(QIODevice::ReadOnly)) {
        std::istringstream in(example.readAll().toStdString());
        DataModule1->ReadDataFile(in);
        DataModule1->Annotation = {"Sample 14, zircon from the upper terrace", "second note"};
    }

    save(Form1, "wizard-1-intro");
    save(Form2, "wizard-2-grain");
    Form2->Edit_Outer_Radius->setText(QStringLiteral("70"));
    save(Form2, "wizard-2-grain-invalid");
    Form2->Edit_Outer_Radius->setText(QStringLiteral("40"));
    save(Form4, "wizard-4-thermal-history");
    Form4->SpeedButtons[2]->click();
    save(Form4, "wizard-4-sample-chosen");
    Form4->ShowBarsClick();
    save(Form4, "wizard-4-bars");
    Form4->EditLinesClick();
    answers.execModal(*Form3);
    // The ages of the sample as drawn, without bar steps, as the picture shows them.
    Form5->Input = [input = ageJobInput(*DataModule1, Form4->StoredLine(), false)] {
        return CalculationJob::Input(input);
    };
    Form5->TargetGraph = Form6->xygraph1;
    answers.execModal(*Form5);
    save(Form6, "wizard-6-calculated-age");

    save(Form7, "main-window-created");
    Form7->ShowDataSet();
    Form7->Button1Click();
    save(Form7, "main-window-recalculated");
    {
        ResultsDialog results(Form7->Results());
        save(&results, "results-table");
    }
    Form7->Edit_Outer_Radius->setText(QStringLiteral("70"));
    save(Form7, "main-window-invalid-geometry");
    const QSize designSize = Form7->size();
    Form7->resize(1100, 620);
    save(Form7, "main-window-enlarged");
    Form7->resize(Form7->minimumSize());
    Form7->Edit_Outer_Radius->setText(QStringLiteral("40"));
    Form7->Button1Click();
    save(Form7, "main-window-smallest");

    Form3->ProgressBar1->setRange(0, 20);
    Form3->ProgressBar1->setValue(8);
    save(Form3, "geometry-page-running", false);
    Form5->ProgressBar1->setRange(0, 20);
    Form5->ProgressBar1->setValue(15);
    save(Form5, "gamma-page-running", false);
    save(Form8, "model-constants");
    TableEdit->Fill(DataModule1->GetCurrentCurve());
    save(TableEdit, "table-edit");

    // A long history at the design size: its result table runs over further
    // pages of the report.
    Form7->resize(designSize);
    Form7->Edit_Outer_Radius->setText(QStringLiteral("40"));
    Form7->ReportDate = [] { return QDate(2026, 12, 7); };
    Form7->TableToGraph({{0, 120}, {100, 95}, {250, 60}, {400, 30}, {500, 20}});
    Form7->Button1Click();
    saveReport("report");
    showMeasuredSample();
    save(GrainsForm, "grains-window");
    GrainsForm->resize(GrainsForm->minimumSizeHint());
    save(GrainsForm, "grains-window-smallest");

    // A data set with parents: their dialog, the window with the helium ages
    // and the report's rows and seven-column table.
    {
        std::ifstream file(
            (QFileInfo(QString::fromLocal8Bit(argv[2])).dir().filePath("parents-late-cooling.txt"))
                .toStdString());
        DataModule1->ReadDataFile(file);
    }
    Form7->ShowDataSet();
    Parents->FormActivate();
    save(Parents, "parents-dialog");
    Form7->Button1Click();
    save(Form7, "main-window-parents");
    Form7->SetTimeBeforePresent(true);
    save(Form7, "main-window-time-before-present");
    Form7->SetTimeBeforePresent(false);
    saveReport("report-parents");

    // A data set with a sample of grains: the report's last page.
    {
        std::ifstream file(
            (QFileInfo(QString::fromLocal8Bit(argv[2])).dir().filePath("sample-grains.txt"))
                .toStdString());
        DataModule1->ReadDataFile(file);
    }
    Form7->ShowDataSet();
    Form7->Button1Click();
    saveReport("report-grains");

    // A search of the example sample: the window as it ends, the history
    // graph with the envelopes, the boxes and the best path, and the report's
    // page of it.
    {
        std::ifstream file(
            (QFileInfo(QString::fromLocal8Bit(argv[2])).dir().filePath("search-sample.txt"))
                .toStdString());
        DataModule1->ReadDataFile(file);
    }
    DataModule1->Search.paths = 3000;
    Form7->ShowDataSet();
    FindForm->show();
    FindForm->RunClick();
    for (int waited = 0; FindForm->running() && waited < 600; ++waited) {
        QEventLoop loop;
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
    }
    save(FindForm, "find-histories");
    save(Form7, "main-window-search");
    FindForm->DrawBoxes->setChecked(true);
    save(Form7, "main-window-search-boxes");
    FindForm->hide();
    saveReport("report-search");

    DestroyRoster();
    setDialogs(nullptr);
    return failures == 0 ? 0 : 1;
}
