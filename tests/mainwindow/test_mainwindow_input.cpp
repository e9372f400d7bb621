// The main window driven as a person drives it: mouse presses, moves and
// releases on the graph and its pop-up menu, clicks on the tool bar, keys in
// the edits, the close of the window. What it computes and keeps is checked
// against the calculator and the stored bytes.
#include "axisnumbers.h"
#include "calcrun.h"
#include "datamodule.h"
#include "exactnumbers.h"
#include "graphpainter.h"
#include "graphpoints.h"
#include "numbertext.h"
#include "paintrecorder.h"
#include "parentsdialog.h"
#include "resultsdialog.h"
#include "rosterfixture.h"
#include "settingsstore.h"
#include "tform7.h"
#include "tshape.h"
#include "xygraph.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QToolBar>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

const QString kCooling = QStringLiteral(TARVEL_EXAMPLES_DIR "/cooling-history.txt");
const QString kDefaultGrain = QStringLiteral(TARVEL_EXAMPLES_DIR "/default-grain.txt");

// The calculator's rows for a data file, as the floats a graph holds.
std::vector<FPOINT> calculatorPoints(const QString &file) {
    std::vector<FPOINT> points;
    for (const auto &[time, calculated] : calculatorRows(file.toStdString()))
        points.push_back({float(time), float(calculated)});
    return points;
}

bool sameBits(const std::vector<FPOINT> &a, const std::vector<FPOINT> &b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!(exactly(a[i].x) == exactly(b[i].x)) || !(exactly(a[i].y) == exactly(b[i].y)))
            return false;
    return !a.empty();
}

QByteArray modelBytes() {
    std::ostringstream out;
    DataModule1->WriteDataFile(out);
    return QByteArray::fromStdString(out.str());
}

} // namespace

class TestMainWindowInput : public QObject {
    Q_OBJECT

    RosterFixture roster;
    ScriptedDialogs &answers() { return *roster.dialogs; }

    static void clickTool(QAction *action) {
        QWidget *button = Form7->ToolBar1->widgetForAction(action);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void open(const QString &name) {
        answers().openName = name;
        clickTool(Form7->ToolButton2);
    }

    static QPoint pixelOf(FPOINT p) {
        const TPoint at = Form7->xygraph1->w2cc(p);
        return {at.x, at.y};
    }

    static void drag(FPOINT from, FPOINT to) {
        Txygraph *g = Form7->xygraph1;
        QTest::mousePress(g, Qt::LeftButton, {}, pixelOf(from));
        QTest::mouseMove(g, (pixelOf(from) + pixelOf(to)) / 2);
        QTest::mouseMove(g, pixelOf(to));
        QTest::mouseRelease(g, Qt::LeftButton, {}, pixelOf(to));
    }

    // A right press on the graph, then a click on the entry of its pop-up menu.
    static void chooseFromMenu(QPoint at, const QString &caption, Txygraph *g = Form7->xygraph1) {
        QTest::mousePress(g, Qt::RightButton, {}, at);
        QMenu *menu = g->PopupMenu();
        QTRY_VERIFY(menu->isVisible());
        QAction *entry = g->findmenu(caption);
        QVERIFY(entry && entry->isEnabled());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
        QTRY_VERIFY(!menu->isVisible());
    }

    // Recalculate, then the calculator on the same data set saved to a file:
    // the result graph must hold exactly its numbers.
    void recalculateAndCompare(const QString &saveAs) {
        QVERIFY(Form7->ToolButton5->isEnabled());
        QVERIFY(pointsOf(*Form7->xygraph2).empty()); // the stale result went
        QTest::keyClick(Form7, Qt::Key_F5);
        QVERIFY(!Form7->ToolButton5->isEnabled());
        answers().saveName = saveAs;
        clickTool(Form7->ToolButton1);
        const auto expected = calculatorPoints(saveAs);
        QVERIFY(sameBits(pointsOf(*Form7->xygraph2), expected));
        // The age at the last point, as a number with at least four digits.
        const QRegularExpressionMatch shown =
            QRegularExpression(QStringLiteral(": ([-0-9.eE]+) \\((fast|precise) method\\)"))
                .match(Form7->ResultLine->text());
        QVERIFY2(shown.hasMatch(), qPrintable(Form7->ResultLine->text()));
        QVERIFY(std::fabs(shown.captured(1).toDouble() - expected.back().y) <=
                5e-6 * std::fabs(expected.back().y));
    }

private slots:
    void init() {
        roster.start();
        roster.showMainWindow();
    }
    void cleanup() { roster.stop(); }

    // Each mouse edit of the history makes the next Recalculate compute it.
    void mouseEditsAreComputed() {
        QTemporaryDir dir;
        open(kCooling);
        QTest::keyClick(Form7, Qt::Key_F5);
        const float before = pointsOf(*Form7->xygraph2).back().y;

        drag({40, 60}, {40, 28});
        QVERIFY(Form7->ResultLine->text().isEmpty()); // no age for the old curve
        recalculateAndCompare(dir.filePath(QStringLiteral("dragged.txt")));
        QVERIFY(pointsOf(*Form7->xygraph2).back().y != before);

        chooseFromMenu(pixelOf({90, 15}), QStringLiteral("Add Point"));
        QCOMPARE(pointsOf(*Form7->xygraph1).size(), std::size_t(8));
        recalculateAndCompare(dir.filePath(QStringLiteral("added.txt")));

        chooseFromMenu(pixelOf({55, 70}), QStringLiteral("Delete Point"));
        QCOMPARE(pointsOf(*Form7->xygraph1).size(), std::size_t(7));
        recalculateAndCompare(dir.filePath(QStringLiteral("deleted.txt")));

        // A click that moves nothing keeps the result.
        QTest::mouseClick(Form7->xygraph1, Qt::LeftButton, {}, pixelOf({30, 50}));
        QVERIFY(!pointsOf(*Form7->xygraph2).empty());
        QVERIFY(!Form7->ToolButton5->isEnabled());
    }

    // "Results..." on the result graph's menu: every point in a table, copied
    // as text for a spreadsheet and exported as the calculator's CSV.
    void resultsAreCopiedAndExported() {
        QTemporaryDir dir;
        open(kCooling);
        Txygraph *g = Form7->xygraph2;
        const QPoint inside(g->width() / 2, g->height() / 2);
        QTest::keyClick(Form7, Qt::Key_F5);

        const QString csvFile = dir.filePath(QStringLiteral("results.csv"));
        int shownRows = 0;
        answers().onDialog = [&](QDialog &dialog) {
            auto *results = qobject_cast<ResultsDialog *>(&dialog);
            if (!results)
                return int(QDialog::Rejected);
            results->show();
            if (!QTest::qWaitForWindowExposed(results))
                return int(QDialog::Rejected);
            shownRows = results->Table->model()->rowCount();
            QTest::mouseClick(results->CopyButton, Qt::LeftButton);
            answers().saveName = dir.filePath(QStringLiteral("no-folder/results.csv"));
            QTest::mouseClick(results->ExportButton, Qt::LeftButton);
            answers().saveName = csvFile;
            QTest::mouseClick(results->ExportButton, Qt::LeftButton);
            QTest::mouseClick(results->CloseButton, Qt::LeftButton);
            return results->result();
        };
        chooseFromMenu(inside, QStringLiteral("Results\u2026"), g);
        QCOMPARE(answers().modalShown.back(), QStringLiteral("Results"));
        // The file that could not be written is named; nothing else was told.
        QCOMPARE(answers().told.size(), std::size_t(1));
        QVERIFY(answers().told.front().text.contains(QStringLiteral("no-folder")));

        // The export holds the calculator's numbers, as it writes them, and the
        // drawn points among the history's, temperature and all.
        const QStringList calculator =
            QString::fromStdString(calc({kCooling.toStdString()}).out).split('\n');
        QFile csv(csvFile);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n');
        QCOMPARE(lines.size(), calculator.size());
        QCOMPARE(qsizetype(shownRows), lines.size() - 2); // less the header and the last end
        std::vector<std::pair<double, double>> history;
        for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
            const QStringList cells = lines[i].split(',');
            QCOMPARE(cells.value(0) + ',' + cells.value(2), calculator[i]);
            history.emplace_back(cells.value(0).toDouble(), cells.value(1).toDouble());
        }
        for (const FPOINT &p : pointsOf(*Form7->xygraph1))
            QVERIFY(std::find(history.begin(), history.end(),
                              std::pair<double, double>(p.x, p.y)) != history.end());

        // The copy: a header, then a line per point of the result graph.
        const QStringList copied =
            QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        const auto graph = pointsOf(*g);
        QCOMPARE(std::size_t(copied.size()), graph.size() + 1);
        const double last = tarvel::parseNumber(copied.back().split('\t').back().toStdString(),
                                                tarvel::localeDecimalSeparator());
        QCOMPARE(exactly(float(last)), exactly(graph.back().y));

        // A changed history takes the result and its table away.
        drag({40, 60}, {40, 28});
        QVERIFY(Form7->Results().empty());
        QVERIFY(!g->findmenu(QStringLiteral("Results\u2026"))->isEnabled());
    }

    // Once settings exist, closing the window stores what it shows; a store
    // that fails keeps the window open. Quit ends the program at once.
    // Ctrl+V on the history graph takes a pasted block as the history, Ctrl+Z
    // brings the file's back; both are computed like any edit.
    void pastedAndUndoneHistoriesAreComputed() {
        QTemporaryDir dir;
        open(kCooling);
        const auto fileCurve = pointsOf(*Form7->xygraph1);
        QTest::keyClick(Form7, Qt::Key_F5);
        QGuiApplication::clipboard()->setText(QStringLiteral("Time\tTemp\n0\t150\n300\t15\n"));
        QTest::mouseClick(Form7->xygraph1, Qt::LeftButton, {}, QPoint(5, 5)); // the focus
        QTest::keyClick(Form7->xygraph1, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(Form7->isWindowModified());
        QCOMPARE(pointsOf(*Form7->xygraph1).size(), std::size_t(2));
        recalculateAndCompare(dir.filePath(QStringLiteral("pasted.txt")));

        QTest::keyClick(Form7->xygraph1, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(sameBits(pointsOf(*Form7->xygraph1), fileCurve));
        recalculateAndCompare(dir.filePath(QStringLiteral("undone.txt")));

        // The pasted history grew the time axis; a data set opened next gets
        // the graphs' first window back, and its history cannot be undone.
        QVERIFY(Form7->xygraph1->getxmax() >= 300);
        answers().saveChoices = {DialogSeam::SaveChoice::Discard};
        open(kCooling);
        QCOMPARE(Form7->xygraph1->getxmax(), 100.0f);
        QVERIFY(!Form7->xygraph1->undoAction()->isEnabled());
    }

    void timeBeforePresent_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<double>("present");
        QTest::newRow("0 to 480 Myr") << "0\t200\n240\t100\n480\t20\n" << 480.0;
        QTest::newRow("0 to 62.5 Myr") << "0\t120\n30\t60\n62.5\t15\n" << 62.5;
    }

    // "Time Before Present" on either graph's menu: both time axes read
    // millions of years before the history's last point, round numbers at
    // their places, as does the position box; the points, their copies and
    // the data set keep the time since the start. The choice is kept with the
    // settings.
    void timeBeforePresent() {
        QFETCH(QString, history);
        QFETCH(double, present);
        QGuiApplication::clipboard()->setText(history);
        chooseFromMenu(QPoint(100, 100), QStringLiteral("Paste"));
        const std::vector<FPOINT> points = pointsOf(*Form7->xygraph1);
        const std::string copied = Form7->xygraph1->points2text();
        Form7->StoreWindowValues();
        const QByteArray dataSet = modelBytes();

        chooseFromMenu(QPoint(100, 100), QStringLiteral("Time Before Present"), Form7->xygraph2);
        for (Txygraph *g : {Form7->xygraph1, Form7->xygraph2}) {
            QCOMPARE(g->FHLabel(), QStringLiteral("Time before present (Ma)"));
            const AxisNumbers n = paintedAxisNumbers(*g);
            QVERIFY(n.horizontal.size() >= 3);
            const double step = n.horizontal[0].value - n.horizontal[1].value;
            QVERIFY(step > 0);
            bool presentNumbered = false;
            for (std::size_t i = 0; i < n.horizontal.size(); ++i) {
                const AxisNumbers::Number &h = n.horizontal[i];
                QVERIFY(std::fabs(std::remainder(h.value, step)) <= 1e-9 * step);
                if (i > 0)
                    QCOMPARE(n.horizontal[i - 1].value - h.value, step);
                // The time before the present at the number's place, to a pixel.
                const int x = int(std::lround(h.box.center().x()));
                const double pixel = g->cc2w({x + 1, 0}).x - g->cc2w({x, 0}).x;
                QVERIFY2(std::fabs(present - g->cc2w({x, 0}).x - h.value) <= 1.5 * pixel,
                         qPrintable(QString::number(h.value)));
                presentNumbered = presentNumbered || h.value == 0;
            }
            if (present <= g->getxmax()) // the present on the axis: numbered 0
                QVERIFY(presentNumbered);
        }
        // The position box reads the time before the present under the cursor.
        Txygraph *g = Form7->xygraph1;
        const QPoint cursor = pixelOf({float(present * 0.25), 50});
        QTest::mouseMove(g, cursor);
        PaintRecorder box(g->size(), 96, 96);
        QPainter painter(&box);
        graphpaint::PaintPos(g->core(), painter, tarvel::localeDecimalSeparator());
        painter.end();
        QCOMPARE(box.texts().size(), std::size_t(1));
        const double shown = QLocale().toDouble(box.texts().front().text.section(' ', 0, 0));
        QVERIFY2(std::fabs(shown - present * 0.75) <= 0.01 * present,
                 qPrintable(box.texts().front().text));

        QVERIFY(sameBits(pointsOf(*Form7->xygraph1), points));
        QCOMPARE(Form7->xygraph1->points2text(), copied);
        Form7->StoreWindowValues();
        QCOMPARE(modelBytes(), dataSet);

        // Quit stores it with the settings; they bring it back.
        clickTool(Form7->ToolButton3);
        Form7->SetTimeBeforePresent(false);
        Form7->LoadSettings();
        QVERIFY(Form7->timeBeforePresentEntry1->isChecked());
        QCOMPARE(Form7->xygraph2->FHLabel(), QStringLiteral("Time before present (Ma)"));
    }

    void closingKeepsTheDataSet() {
        QFile example(kDefaultGrain);
        QVERIFY(example.open(QIODevice::ReadOnly));
        roster.storeSettings(example.readAll());
        Form7->LoadSettings();
        Form7->Edit_Radius->selectAll();
        QTest::keyClicks(Form7->Edit_Radius, QStringLiteral("75.5"));

        // A folder where the data set's file should be: the store must fail.
        const QString stored = tarvel::SettingsStore::fromEnvironment().userFile();
        QVERIFY(QFile::remove(stored) && QDir().mkdir(stored));
        QVERIFY(!Form7->close());
        QVERIFY(Form7->isVisible());
        QVERIFY(answers().toldText(QStringLiteral("Registry Error")));
        QCoreApplication::processEvents();
        QVERIFY(!programEnding());

        QVERIFY(QDir().rmdir(stored));
        QVERIFY(Form7->close());
        QCOMPARE(tarvel::SettingsStore::fromEnvironment().load().value_or(QByteArray()),
                 modelBytes());
        QVERIFY(modelBytes().contains("Sphere_radius=75.5\r\n"));
        QTRY_VERIFY(programEnding());
        QVERIFY(answers().asked.isEmpty());
    }

    void quitEndsAtOnce() {
        clickTool(Form7->ToolButton3);
        QVERIFY(programEnding());
        QVERIFY(tarvel::SettingsStore::fromEnvironment().load().has_value());
    }

    // A file without a data set is refused by name; nothing changes.
    void aTextFileIsNoDataSet() {
        QTemporaryDir dir;
        open(kCooling);
        QTest::keyClicks(Form7->Memo1, QStringLiteral("my notes"));
        const QByteArray before = modelBytes();
        const QString text = dir.filePath(QStringLiteral("notes.txt"));
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("just some text\nNeigen=5\n");
        file.close();
        answers().saveChoices = {DialogSeam::SaveChoice::Discard};
        open(text);
        QCOMPARE(answers().told.size(), std::size_t(1));
        QVERIFY(answers().told.front().text.contains(text));
        QCOMPARE(modelBytes(), before);
        QVERIFY(Form7->Memo1->toPlainText().contains(QStringLiteral("my notes")));
    }

    // The title names the file; changes not saved to a file mark it, and
    // Open over them asks first.
    void titleAndUnsavedChanges() {
        QTemporaryDir dir;
        QCOMPARE(Form7->windowTitle(), QStringLiteral("Tarvel[*]"));
        open(kCooling);
        QVERIFY(Form7->windowTitle().startsWith(QStringLiteral("cooling-history.txt")));
        QVERIFY(!Form7->isWindowModified());

        drag({40, 60}, {40, 28});
        QVERIFY(Form7->isWindowModified());
        answers().saveChoices = {DialogSeam::SaveChoice::Cancel};
        open(kDefaultGrain);
        QCOMPARE(answers().asked.size(), 1);
        QVERIFY(Form7->windowTitle().startsWith(QStringLiteral("cooling-history.txt")));
        QVERIFY(Form7->isWindowModified());

        // Save, then open: the edited curve is in the file chosen.
        const QString saved = dir.filePath(QStringLiteral("edited.txt"));
        answers().saveChoices = {DialogSeam::SaveChoice::Save};
        answers().saveName = saved;
        open(kDefaultGrain);
        QVERIFY(Form7->windowTitle().startsWith(QStringLiteral("default-grain.txt")));
        QVERIFY(!Form7->isWindowModified());
        QVERIFY(calculatorPoints(saved).size() > 0);
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("\r\n40, 60\r\n"));

        Form7->Edit_Inner_Radius->selectAll();
        QTest::keyClicks(Form7->Edit_Inner_Radius, QStringLiteral("10"));
        QVERIFY(Form7->isWindowModified());
        answers().saveName = saved;
        clickTool(Form7->ToolButton1);
        QVERIFY(!Form7->isWindowModified());
        QVERIFY(Form7->windowTitle().startsWith(QStringLiteral("edited.txt")));
    }

    // A negative emission distance is refused as the radii are; decimal radii
    // are taken, checked and computed.
    void grainEntriesAreChecked() {
        QTemporaryDir dir;
        open(kDefaultGrain);
        const QString radiiRule = Form7->Label8->text();
        Form7->Edit_Emission_Dist->selectAll();
        QTest::keyClicks(Form7->Edit_Emission_Dist, QStringLiteral("-5"));
        QVERIFY(Form7->Label8->isVisible());
        QVERIFY(Form7->Label8->text() != radiiRule);
        QVERIFY(!Form7->ToolButton5->isEnabled());
        QTest::keyClick(Form7, Qt::Key_F5);
        QVERIFY(answers().modalShown.isEmpty());

        Form7->Edit_Emission_Dist->selectAll();
        QTest::keyClicks(Form7->Edit_Emission_Dist, QStringLiteral("20"));
        Form7->Edit_Radius->selectAll();
        QTest::keyClicks(Form7->Edit_Radius, QStringLiteral("60.5"));
        QVERIFY(!Form7->Label8->isVisible());
        QVERIFY(Form7->Shape1->width() > Form7->Shape2->width()); // 120 * 40 / 60.5 = 79.3
        QCOMPARE(Form7->Shape2->width(), 79);
        recalculateAndCompare(dir.filePath(QStringLiteral("decimal.txt")));
        QCOMPARE(exactly(DataModule1->GrainData.Sphere_radius), exactly(60.5f));
    }

    // Parents typed into "Parents..." make the helium come from them: the
    // emission distance is set aside (even a bad one), and Recalculate gives
    // the helium, raw age, FT and corrected age tarvel-calc --ages gives;
    // zircon brings its damage model, whose damage and log10 D/a² join them.
    void parentsGiveHeliumAges() {
        QTemporaryDir dir;
        open(kDefaultGrain);
        Form7->Edit_Emission_Dist->selectAll();
        QTest::keyClicks(Form7->Edit_Emission_Dist, QStringLiteral("-5"));
        QVERIFY(!Form7->ToolButton5->isEnabled());
        const auto type = [](QLineEdit *edit, const QString &text) {
            edit->selectAll();
            QTest::keyClicks(edit, text);
        };
        answers().onDialog = [&](QDialog &d) {
            auto &dialog = static_cast<ParentsDialog &>(d);
            type(dialog.edits[1], QStringLiteral("-1")); // refused, nothing stored
            QTest::mouseClick(dialog.okButton, Qt::LeftButton);
            if (dialog.result() == QDialog::Accepted || DataModule1->ParentsData.present())
                return int(QDialog::Accepted);
            type(dialog.edits[0], QStringLiteral("12.5"));
            type(dialog.edits[1], QStringLiteral("30"));
            QTest::keyClick(dialog.mineral, Qt::Key_Down); // apatite to zircon
            QTest::mouseClick(dialog.okButton, Qt::LeftButton);
            return dialog.result();
        };
        clickTool(Form7->parentsAction);
        QCOMPARE(answers().told.size(), std::size_t(1)); // the negative Th
        QCOMPARE(DataModule1->ParentsData.Th_ppm, 30.0f);
        QCOMPARE(DataModule1->ParentsData.Stopping_Sm147, 4.76f); // zircon's
        QCOMPARE(DataModule1->ModelData.Kinetics, ModelKinetics::Zrdaam);
        QVERIFY(!Form7->Edit_Emission_Dist->isEnabled());
        QVERIFY(Form7->ToolButton5->isEnabled());

        QTest::keyClick(Form7, Qt::Key_F5);
        const QString saved = dir.filePath(QStringLiteral("parents.txt"));
        answers().saveName = saved;
        clickTool(Form7->ToolButton1);
        const std::string ages = calc({saved.toStdString(), "--ages"}).out;
        const std::string lastLine =
            ages.substr(ages.rfind('\n', ages.size() - 2) + 1, std::string::npos);
        std::istringstream expected(lastLine);
        const auto &last = Form7->Results().rows.back();
        // time, He, raw age, FT, corrected age, damage, log10 D/a²
        for (std::size_t column : {0, 3, 4, 5, 6, 7, 8}) {
            std::string cell;
            std::getline(expected, cell, ',');
            QCOMPARE(exactly(last[column]), exactly(std::stod(cell)));
        }
        QVERIFY(Form7->ResultLine->text().contains(QStringLiteral("corrected age")));
        QVERIFY(Form7->ResultLine->text().contains(QStringLiteral("ZRDAAM")));
    }

    // The tool tips name the shortcuts, and at its smallest the window still
    // shows every control whole.
    void toolTipsAndSmallestSize() {
        QVERIFY(Form7->ToolButton5->toolTip().contains(QStringLiteral("F5")));
        Form7->Label8->show();
        Form7->resize(Form7->minimumSize());
        QCoreApplication::processEvents();
        for (QWidget *child : Form7->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!child->isVisible())
                continue;
            QVERIFY2(Form7->rect().contains(child->geometry()), qPrintable(child->objectName()));
        }
        QVERIFY(Form7->xygraph1->height() > 100 && Form7->GroupBox1->width() > 100);
    }
};

int main(int argc, char **argv) {
    TarvelApplication app(argc, argv);
    TestMainWindowInput test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_mainwindow_input.moc"
