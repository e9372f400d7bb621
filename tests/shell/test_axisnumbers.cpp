// Every graph of the program at its window's smallest size numbers both of
// its axes: the numbers are read from what the graph paints (its texts and
// axis lines), never from the layout's own lists. The vertical axis carries
// numbers at no fewer ticks than the horizontal one does for the same length,
// and no number touches a title or another number.
#include "axisnumbers.h"
#include "datamodule.h"
#include "grainswindow.h"
#include "paintrecorder.h"
#include "penstrokes.h"
#include "rosterfixture.h"
#include "tform4.h"
#include "tform6.h"
#include "tform7.h"

#include <QToolButton>

#include <QFile>
#include <QPainter>
#include <QScreen>

#include <sstream>

namespace {

void readExample(const char *name) {
    QFile file(QStringLiteral(TARVEL_EXAMPLES_DIR "/") + QString::fromLatin1(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    std::istringstream in(bytes.toStdString());
    DataModule1->ReadDataFile(in);
}

QString described(const AxisNumbers &n) {
    QStringList v, h;
    for (const auto &x : n.vertical)
        v << QString::number(x.value);
    for (const auto &x : n.horizontal)
        h << QString::number(x.value);
    return QStringLiteral("vertical [%1], horizontal [%2]").arg(v.join(' '), h.join(' '));
}

// The checks every graph must pass.
void checkNumbered(const AxisNumbers &n, const QString &graph) {
    const QString what = graph + ": " + described(n);
    QVERIFY2(n.vertical.size() >= 2 && n.horizontal.size() >= 2, qPrintable(what));
    const double vLength = std::fabs(n.verticalAxis.dy());
    const double hLength = std::fabs(n.horizontalAxis.dx());
    QVERIFY2(vLength > 0 && hLength > 0, qPrintable(what));
    // As densely as the horizontal axis for the same length.
    const auto needed = std::size_t(std::floor(double(n.horizontal.size()) * vLength / hLength));
    QVERIFY2(n.vertical.size() >= needed, qPrintable(what));
    std::vector<QRectF> numbers;
    for (const auto &x : n.vertical)
        numbers.push_back(x.box);
    for (const auto &x : n.horizontal)
        numbers.push_back(x.box);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        for (const QRectF &title : n.titles)
            QVERIFY2(!numbers[i].intersects(title), qPrintable(what));
        for (std::size_t j = i + 1; j < numbers.size(); ++j)
            QVERIFY2(!numbers[i].intersects(numbers[j]), qPrintable(what));
    }
}

} // namespace

class TestAxisNumbers : public QObject {
    Q_OBJECT

    RosterFixture roster;

private slots:
    void init() { roster.start(); }
    void cleanup() { roster.stop(); }

    void wizardGraphs() {
        Form4->show();
        QTest::mouseClick(Form4->SpeedButtons[0], Qt::LeftButton); // a sample curve
        checkNumbered(paintedAxisNumbers(*Form4->xygraph1), "thermal history page");
        // The calculated age page with a result drawn as its run draws it.
        Form6->show();
        drawPolyline(*Form6->xygraph1, std::vector<FPOINT>{{0, 0}, {40, 30}, {100, 73.9f}});
        Form6->xygraph1->growToFit();
        checkNumbered(paintedAxisNumbers(*Form6->xygraph1), "calculated age page");
    }

    void mainWindowAndReportAtTheSmallestSize() {
        readExample("sample-grains.txt");
        Form7->Model = DataModule1;
        Form7->ShowDataSet();
        Form7->show();
        Form7->resize(Form7->minimumSize());
        QTRY_COMPARE(Form7->size(), Form7->minimumSize());
        checkNumbered(paintedAxisNumbers(*Form7->xygraph1), "history graph");
        checkNumbered(paintedAxisNumbers(*Form7->xygraph2), "result graph");

        // The report draws the two graphs and the sample's two on its pages.
        const QScreen *screen = QApplication::primaryScreen();
        PaintRecorder page(QSize(2000, 2600), int(screen->logicalDotsPerInchX()),
                           int(screen->logicalDotsPerInchY()));
        QPainter painter(&page);
        Form7->DrawReport(painter, QRect(100, 100, 1800, 2400), [] {});
        painter.end();
        const std::vector<AxisNumbers> graphs = paintedGraphs(page);
        QCOMPARE(graphs.size(), std::size_t(4));
        for (const AxisNumbers &graph : graphs)
            checkNumbered(graph, "report");
    }

    void grainsWindowAtTheSmallestSize() {
        readExample("sample-grains.txt");
        Form7->Model = DataModule1;
        Form7->ShowDataSet();
        GrainsForm->show();
        GrainsForm->resize(GrainsForm->minimumSizeHint());
        QTRY_VERIFY_WITH_TIMEOUT(!GrainsForm->computing() && GrainsForm->fits()[0], 60000);
        checkNumbered(paintedAxisNumbers(*GrainsForm->RadiusGraph), "age against radius");
        checkNumbered(paintedAxisNumbers(*GrainsForm->EUGraph), "age against eU");
    }
};

QTEST_MAIN(TestAxisNumbers)
#include "test_axisnumbers.moc"
