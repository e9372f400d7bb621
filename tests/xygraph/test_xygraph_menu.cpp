// The pop-up menu's entries and handlers, and the four forms "Copy" puts on
// the clipboard, read back.
#include "axesdialog.h"
#include "exactnumbers.h"
#include "graphdialogs.h"
#include "widgetfixture.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <clocale>

using namespace fixtures;

namespace {

const QString kSylkOffice = "application/x-openoffice-sylk;windows_formatname=\"Sylk\"";
const QString kAxes = QStringLiteral("Axes\u2026");
const QString kSaveImage = QStringLiteral("Save Image\u2026");

QStringList captions(const Txygraph &g) {
    QStringList out;
    for (QAction *a : g.PopupMenu()->actions())
        out << a->text();
    return out;
}

// Presses the right button without leaving the menu open.
void rightPress(Txygraph &g, QPoint at) {
    QTest::mousePress(&g, Qt::RightButton, {}, at);
    g.PopupMenu()->hide();
}

// Failures the graph's commands show, by message.
struct Failures {
    QStringList messages;
    Failures() {
        graphDialogs().showFailure = [this](const std::exception_ptr &failure) {
            try {
                std::rethrow_exception(failure);
            } catch (const std::exception &e) {
                messages << QString::fromUtf8(e.what());
            }
        };
    }
};

// Chooses `name` in the file dialog of "Save Image…" from the menu.
void saveImageAs(Txygraph &g, const QString &name) {
    graphDialogs().chooseSaveFile = [name](QWidget *, const QString &, const QString &) {
        return name;
    };
    rightPress(g, QPoint(150, 100));
    g.findmenu(kSaveImage)->trigger();
}

// Replaces the text of an edit as the user does: select all, then type.
void typeInto(QLineEdit *edit, const QString &text) {
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

} // namespace

class TestXygraphMenu : public QObject {
    Q_OBJECT

private slots:
    // The text form follows the locale; these cases expect a decimal point.
    void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }
    void editableGraphMenu();
    void clearMenuThenEditable();
    void findmenuIsExactAndFindsFirst();
    void hostHandlerReceivesItsEntry();
    void handlerMayClearMenu();
    void seteditableReenablesEditOnlyEntries();
    void addAndDeletePointThroughMenu();
    void fitToDataFromTheMenu();
    void copyFormsReadBack();
    void svgHoldsDrawingWithoutBackground();
    void copyPutsFormsOnClipboard();
    void axesDialogSetsAllFourOrNothing();
    void saveImageInEachFormat();
    void saveImageRefusesAndReports();
    void cleanup() { graphDialogs() = {}; }
};

void TestXygraphMenu::editableGraphMenu() {
    Txygraph g;
    QCOMPARE(captions(g), QStringList{"Copy"});
    g.Seteditable(true);
    QVERIFY(g.Feditable());
    g.AddMenu("Table Edit", {});
    QCOMPARE(captions(g), (QStringList{"Copy", "Add Point", "Delete Point", "Table Edit"}));
    g.Seteditable(true); // adds nothing twice
    QCOMPARE(g.PopupMenu()->actions().size(), 4);
    Txygraph off;
    off.Seteditable(false); // also provides the point entries
    QCOMPARE(captions(off), (QStringList{"Copy", "Add Point", "Delete Point"}));
}

void TestXygraphMenu::clearMenuThenEditable() {
    Txygraph g;
    g.Seteditable(true);
    g.AddMenu("Show Bars", {});
    g.AddMenu("Edit Lines", {});
    QCOMPARE(g.PopupMenu()->actions().size(), 5);
    g.ClearMenu();
    QCOMPARE(captions(g), QStringList{"Copy"});
    QVERIFY(g.findmenu("Add Point") == nullptr);
    g.Seteditable(true);
    QCOMPARE(captions(g), (QStringList{"Copy", "Add Point", "Delete Point"}));
    QCOMPARE(g.findmenu("Delete Point"), g.PopupMenu()->actions()[2]);
}

void TestXygraphMenu::findmenuIsExactAndFindsFirst() {
    Txygraph g;
    QAction *first = g.AddMenu("Twice", {});
    g.AddMenu("Twice", {});
    QCOMPARE(g.findmenu("Twice"), first);
    QVERIFY(g.findmenu("twice") == nullptr);
    QVERIFY(g.findmenu("Twice ") == nullptr);
    QCOMPARE(g.findmenu("Copy"), g.PopupMenu()->actions()[0]);
}

void TestXygraphMenu::hostHandlerReceivesItsEntry() {
    Txygraph g;
    QAction *received = nullptr;
    QAction *entry = g.AddMenu("Table Edit", [&](QAction *sender) { received = sender; });
    QVERIFY(entry->isEnabled());
    entry->trigger();
    QCOMPARE(received, entry);
}

void TestXygraphMenu::handlerMayClearMenu() {
    Txygraph g;
    g.Seteditable(true);
    int calls = 0;
    QAction *entry = g.AddMenu("Show Bars", [&](QAction *) {
        ++calls;
        g.ClearMenu();
        g.AddMenu("Hide Bars", {});
    });
    entry->trigger();
    QCOMPARE(calls, 1);
    QCOMPARE(captions(g), (QStringList{"Copy", "Hide Bars"}));
}

void TestXygraphMenu::seteditableReenablesEditOnlyEntries() {
    Txygraph g;
    QAction *always = g.AddMenu("Table Edit", {}); // added while not editable
    g.Seteditable(true);
    QAction *host = g.AddMenu("Edit Lines", {}); // added while editable
    host->setEnabled(false);
    always->setEnabled(false);
    g.findmenu("Add Point")->setEnabled(false);
    g.Seteditable(true);
    QVERIFY(host->isEnabled());
    QVERIFY(g.findmenu("Add Point")->isEnabled());
    QVERIFY(!always->isEnabled());
}

// The view entries appear right after "Copy" when the menu opens, once, and
// after a host rebuilt its entries; "Fit to Data" fits both axes to the points.
void TestXygraphMenu::fitToDataFromTheMenu() {
    Txygraph g;
    showStandard(g);
    g.Seteditable(true);
    g.AddMenu("Table Edit", {});
    drawLine(g, {{0, 120}, {250, 60}, {480, 20}});
    rightPress(g, QPoint(150, 100));
    rightPress(g, QPoint(150, 100));
    QCOMPARE(captions(g), (QStringList{"Copy", "Fit to Data", kAxes, kSaveImage, "Add Point",
                                       "Delete Point", "Table Edit"}));
    QCOMPARE(g.findmenu("Table Edit"), g.PopupMenu()->actions()[6]);

    QTest::mousePress(&g, Qt::RightButton, {}, QPoint(150, 100));
    QMenu *menu = g.PopupMenu();
    QTRY_VERIFY(menu->isVisible());
    QAction *fit = g.findmenu("Fit to Data");
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(fit).center());
    QTRY_VERIFY(!menu->isVisible());
    QCOMPARE(exactly(g.getxzero()), exactly(0.0f));
    QCOMPARE(exactly(g.getxmax()), exactly(500.0f));
    QCOMPARE(exactly(g.getymax()), exactly(200.0f));

    g.ClearMenu();
    g.AddMenu("Edit Lines", {});
    rightPress(g, QPoint(150, 100));
    QCOMPARE(captions(g), (QStringList{"Copy", "Fit to Data", kAxes, kSaveImage, "Edit Lines"}));
}

void TestXygraphMenu::addAndDeletePointThroughMenu() {
    Txygraph g;
    showStandard(g);
    g.Seteditable(true);
    QSignalSpy edited(&g, &Txygraph::pointsEdited);
    g.setymax(175); // pixel row 122 is height 37.5
    rightPress(g, QPoint(150, 122));
    g.findmenu("Add Point")->trigger();
    QCOMPARE(edited.count(), 1);
    QVERIFY(samePoints(lineValues(g.core().store(), 0), {{0, 37.5f}, {100, 37.5f}}));

    g.setymax(100);
    g.Clear();
    drawLine(g, {{0, 20}, {100, 70}});
    rightPress(g, QPoint(189, 89)); // world (50, 45): on the line
    g.findmenu("Add Point")->trigger();
    QCOMPARE(edited.count(), 2);
    QCOMPARE(g.core().store().lines()[0]->size(), std::size_t(3));
    QCOMPARE(exactly((*g.core().store().lines()[0])[1]->x), exactly(50.0f));
    QCOMPARE(exactly((*g.core().store().lines()[0])[1]->y), exactly(45.0f));
    g.repaint();
    QVERIFY(g.Fpointschanged()); // an added point is reported

    rightPress(g, QPoint(189, 89));
    g.findmenu("Delete Point")->trigger();
    QCOMPARE(g.core().store().lines()[0]->size(), std::size_t(2));
    g.repaint();
    QVERIFY(!g.Fpointschanged()); // a deletion is not, to the flag
    QCOMPARE(edited.count(), 3);  // but is an edit all the same

    // Deleting where there is no point changes nothing and reports nothing.
    rightPress(g, QPoint(189, 40));
    g.findmenu("Delete Point")->trigger();
    QCOMPARE(edited.count(), 3);
}

void TestXygraphMenu::copyFormsReadBack() {
    Txygraph g;
    showStandard(g);
    g.setsheetcolor(QColor(160, 160, 160));
    drawLine(g, {{0, 60}, {10, 60.5f}});
    g.repaint();
    QTest::mouseMove(&g, QPoint(169, 82)); // puts a readout in the box
    const QImage screen = g.canvasImage();
    std::unique_ptr<QMimeData> mime(g.copyMimeData());

    QVERIFY(mime->hasImage());
    const QImage bitmap = qvariant_cast<QImage>(mime->imageData());
    QCOMPARE(bitmap.size(), screen.size());
    QCOMPARE(bitmap.pixel(250, 120), screen.pixel(250, 120));
    QVERIFY(qGray(screen.pixel(353 - 70, 0)) < 128); // the box frame on screen...
    for (int x = 353 - 70; x < 353; ++x)             // ...is blank in the copy
        QCOMPARE(bitmap.pixelColor(x, 0), QColor(Qt::white));
    const TPoint m = g.w2cc({10, 60.5f});
    QCOMPARE(bitmap.pixel(m.x - 2, m.y - 2), screen.pixel(m.x - 2, m.y - 2));

    QCOMPARE(mime->text(), QString("0, 60\r\n10, 60.5\r\n"));
    const QByteArray sylk("ID;Pzentrograph\r\nB;Y2;X2\r\nC;X1;Y1;K0\r\nC;X2;K60\r\n"
                          "C;X1;Y2;K10\r\nC;X2;K60.5\r\nE\r\n");
    QCOMPARE(mime->data("application/x-sylk"), sylk);
    QCOMPARE(mime->data(kSylkOffice), sylk);
    QVERIFY(mime->data("image/svg+xml").startsWith("<?xml"));
}

void TestXygraphMenu::svgHoldsDrawingWithoutBackground() {
    Txygraph g;
    showStandard(g);
    g.SetTicks(sscBoth);
    g.SetAutoAxis(sscHorizontal);
    g.setsheetcolor(QColor(160, 160, 160));
    drawLine(g, {{0, 20}, {35, 50}});
    g.core().edit().setReadout(&*g.core().store().lines()[0]->front()); // would show in the box
    const QByteArray svg = g.svgCopy();
    QVERIFY(g.Fpointschanged()); // drawing the copy runs the axis refit
    QCOMPARE(exactly(g.getxmax()), exactly(40.0f));

    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QImage img(353, 193, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        renderer.render(&p, QRectF(0, 0, 353, 193));
    }
    QCOMPARE(qAlpha(img.pixel(250, 150)), 0);    // no background
    QCOMPARE(qAlpha(img.pixel(353 - 35, 3)), 0); // no position box
    const TPoint end = g.w2cc({35, 50});
    QVERIFY(qAlpha(img.pixel(end.x - 2, end.y - 2)) > 128); // marker frame
    QVERIFY(qGray(img.pixel(end.x - 2, end.y - 2)) < 128);
    QVERIFY(qAlpha(img.pixel(200, 151)) + qAlpha(img.pixel(200, 152)) > 200); // the axis
    // Numbers as text: the lower ends and the last ticks (steps of 3 end at 39).
    QVERIFY(svg.contains(">39</text>"));
    QVERIFY(svg.contains(">100</text>"));
    QVERIFY(svg.contains(">0</text>"));
}

void TestXygraphMenu::copyPutsFormsOnClipboard() {
    Txygraph g;
    showStandard(g);
    addSingle(g, 0.1f, 2);
    g.repaint();
    g.findmenu("Copy")->trigger();
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    QVERIFY(mime != nullptr);
    QCOMPARE(mime->text(), QString("0.100000001490116, 2\r\n \r\n"));
    QVERIFY(mime->hasImage());
    QVERIFY(mime->hasFormat("image/svg+xml"));
    QVERIFY(mime->data("application/x-sylk").contains("C;X1;Y1;K0.100000001490116\r\n"));
    QVERIFY(mime->hasFormat(kSylkOffice));
}

// The dialog shown as the modal seam shows it, answered with real key presses
// and clicks: a bad edit keeps it open with nothing changed, Cancel changes
// nothing, OK sets all four ends.
void TestXygraphMenu::axesDialogSetsAllFourOrNothing() {
    Txygraph g;
    showStandard(g);
    Failures failures;
    QStringList shownTexts;
    std::function<void(AxesDialog &)> answer;
    graphDialogs().execModal = [&](QDialog &dialog) {
        auto &axes = dynamic_cast<AxesDialog &>(dialog);
        dialog.show();
        shownTexts =
            QStringList{axes.xFrom->text(), axes.xTo->text(), axes.yFrom->text(), axes.yTo->text()};
        answer(axes);
        dialog.hide();
        return dialog.result();
    };
    g.setymax(0.1f);

    answer = [&](AxesDialog &d) {
        typeInto(d.xFrom, "-10");
        typeInto(d.yTo, "20");
        typeInto(d.xTo, "5x");
        QTest::mouseClick(d.okButton, Qt::LeftButton);
        QVERIFY(d.isVisible()); // refused: still open, the bad edit selected
        QCOMPARE(failures.messages.size(), 1);
        QVERIFY(d.xTo->hasSelectedText());
        QTest::mouseClick(d.cancelButton, Qt::LeftButton);
    };
    rightPress(g, QPoint(150, 100));
    g.findmenu(kAxes)->trigger();
    QCOMPARE(shownTexts, (QStringList{"0", "100", "0", "0.1"}));
    QCOMPARE(exactly(g.getxzero()), exactly(0.0f));
    QCOMPARE(exactly(g.getxmax()), exactly(100.0f));
    QCOMPARE(exactly(g.getymax()), exactly(0.1f));

    answer = [&](AxesDialog &d) {
        typeInto(d.xFrom, "-10");
        typeInto(d.xTo, "450");
        typeInto(d.yFrom, "-5");
        typeInto(d.yTo, "12.5");
        QTest::keyClick(d.yTo, Qt::Key_Return); // the default button
    };
    g.findmenu(kAxes)->trigger();
    QCOMPARE(failures.messages.size(), 1);
    QCOMPARE(exactly(g.getxzero()), exactly(-10.0f));
    QCOMPARE(exactly(g.getxmax()), exactly(450.0f));
    QCOMPARE(exactly(g.getyzero()), exactly(-5.0f));
    QCOMPARE(exactly(g.getymax()), exactly(12.5f));
}

void TestXygraphMenu::saveImageInEachFormat() {
    QTemporaryDir dir;
    Txygraph g;
    showStandard(g);
    g.SetTicks(sscBoth);
    g.setsheetcolor(QColor(160, 160, 160));
    drawLine(g, {{0, 20}, {50, 80}, {100, 40}});
    g.repaint();
    Failures failures;

    const QString png = dir.filePath("graph.png");
    saveImageAs(g, png);
    const QImage picture(png);
    QCOMPARE(picture.size(), g.size());
    const TPoint m = g.w2cc({50, 80}); // a marker on the grey sheet, as on the screen
    QCOMPARE(picture.pixel(m.x - 2, m.y - 2), g.canvasImage().pixel(m.x - 2, m.y - 2));

    const QString svg = dir.filePath("graph.SVG");
    saveImageAs(g, svg);
    QFile svgFile(svg);
    QVERIFY(svgFile.open(QIODevice::ReadOnly));
    const QByteArray drawing = svgFile.readAll();
    QVERIFY(QSvgRenderer(drawing).isValid());
    QVERIFY(drawing.contains(">50</text>")); // a tick's number, as text

    const QString pdf = dir.filePath("graph.pdf");
    saveImageAs(g, pdf);
    QFile pdfFile(pdf);
    QVERIFY(pdfFile.open(QIODevice::ReadOnly));
    QVERIFY(pdfFile.read(5) == "%PDF-");
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (!pdftotext.isEmpty()) {
        QProcess run;
        run.start(pdftotext, {pdf, "-"});
        QVERIFY(run.waitForFinished(30000));
        const QStringList words =
            QString::fromUtf8(run.readAllStandardOutput()).split(QRegularExpression("\\s+"));
        QVERIFY(words.contains("50"));
        QVERIFY(words.contains("100"));
    }
    QVERIFY(failures.messages.isEmpty());
}

// A file that cannot be written is reported with its name, and a refused
// extension reaches the user the same way; a cancelled chooser does nothing.
void TestXygraphMenu::saveImageRefusesAndReports() {
    QTemporaryDir dir;
    Txygraph g;
    showStandard(g);
    Failures failures;
    saveImageAs(g, dir.filePath("missing/graph.png"));
    saveImageAs(g, dir.filePath("graph.jpg"));
    saveImageAs(g, QString());
    QCOMPARE(failures.messages.size(), 2);
    QVERIFY(failures.messages[0].contains("missing"));
    QVERIFY(QDir(dir.path()).isEmpty());
}

QTEST_MAIN(TestXygraphMenu)
#include "test_xygraph_menu.moc"
