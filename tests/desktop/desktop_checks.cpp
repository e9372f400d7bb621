// Checks against real programs on a real (virtual) X display: the graph's
// copies read back from the X11 clipboard by xclip while the program keeps
// running, the printed report read back from its PDF by pdftotext, and a
// screenshot of the main window after a Recalculate for review by eye.
// Run on a virtual X display (tests/support/with-display.sh) with
// QT_QPA_PLATFORM=xcb; pictures and the PDF go to the folder in
// TARVEL_CHECK_OUTPUT.
#include "datamodule.h"
#include "penstrokes.h"
#include "rosterfixture.h"
#include "tform7.h"
#include "xygraph.h"

#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QXmlStreamReader>

#include <algorithm>
#include <clocale>

namespace {

const QString kDefaultGrain = QStringLiteral(TARVEL_EXAMPLES_DIR "/default-grain.txt");

QString outputFolder() {
    const QString folder = qEnvironmentVariable("TARVEL_CHECK_OUTPUT", QDir::tempPath());
    QDir().mkpath(folder);
    return folder;
}

// Runs a program while this one's event loop keeps turning, as it must for
// the X clipboard's owner to answer; its standard output, or a failure.
QByteArray runAlongside(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000)) {
        process.kill();
        process.waitForFinished();
        qWarning("%s did not finish", qPrintable(program));
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return process.readAllStandardOutput();
}

QByteArray clipboard(const QString &target) {
    return runAlongside(QStringLiteral("xclip"),
                        {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                         QStringLiteral("-t"), target, QStringLiteral("-o")});
}

struct SvgContent {
    bool wellFormed = false;
    QString root;
    // Segments of the polylines that are neither horizontal nor vertical: the
    // drawn lines, not the scales, ticks or point markers.
    std::vector<QLineF> slanted;
};

SvgContent readSvg(const QByteArray &bytes) {
    SvgContent content;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (content.root.isEmpty())
            content.root = xml.name().toString();
        if (xml.name() != u"polyline")
            continue;
        std::vector<QPointF> points;
        for (const auto &pair :
             xml.attributes().value(QStringLiteral("points")).split(u' ', Qt::SkipEmptyParts)) {
            const auto xy = pair.split(u',');
            if (xy.size() == 2)
                points.emplace_back(xy[0].toDouble(), xy[1].toDouble());
        }
        for (std::size_t i = 1; i < points.size(); ++i)
            if (points[i].x() != points[i - 1].x() && points[i].y() != points[i - 1].y())
                content.slanted.emplace_back(points[i - 1], points[i]);
    }
    content.wellFormed = !xml.hasError() && !content.root.isEmpty();
    return content;
}

// True when the segments, taken left to right, each start where the one
// before ended: one unbroken line.
bool joined(std::vector<QLineF> segments) {
    std::sort(segments.begin(), segments.end(),
              [](const QLineF &a, const QLineF &b) { return a.x1() < b.x1(); });
    for (std::size_t i = 1; i < segments.size(); ++i)
        if (segments[i].p1() != segments[i - 1].p2())
            return false;
    return true;
}

} // namespace

class DesktopChecks : public QObject {
    Q_OBJECT

    RosterFixture roster;

private slots:
    // The points copied as numbers come back with a decimal point.
    void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }
    void cleanup() {
        if (roster.dialogs) // the check started the program's windows
            roster.stop();
    }

    // "Copy" on a graph: every form read back by xclip from the running program.
    void graphCopiesOnTheX11Clipboard() {
        Txygraph graph;
        graph.resize(385, 249);
        graph.setxmax(100);
        graph.setymax(100);
        graph.SetSideScales(sscBoth);
        graph.SetTicks(sscBoth);
        const std::vector<FPOINT> line{{0, 20}, {50, 100}, {75.5f, 40.25f}, {100, 10}};
        drawPolyline(graph, line);
        graph.show();
        QVERIFY(QTest::qWaitForWindowExposed(&graph));
        graph.CopyPopup();

        const QByteArray targets = clipboard(QStringLiteral("TARGETS"));
        for (const char *target :
             {"image/png", "image/svg+xml", "text/plain", "application/x-sylk"})
            QVERIFY2(targets.contains(target), target);

        const QImage picture = QImage::fromData(clipboard(QStringLiteral("image/png")), "PNG");
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.size(), graph.size() * graph.devicePixelRatio());

        const SvgContent svg = readSvg(clipboard(QStringLiteral("image/svg+xml")));
        QVERIFY(svg.wellFormed);
        QCOMPARE(svg.root, QStringLiteral("svg"));
        // The line's three slanted segments, joined end to start.
        QCOMPARE(svg.slanted.size(), line.size() - 1);
        QVERIFY(joined(svg.slanted));

        const QStringList text = QString::fromLatin1(clipboard(QStringLiteral("text/plain")))
                                     .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(text.size(), qsizetype(line.size()));
        for (std::size_t i = 0; i < line.size(); ++i) {
            const QStringList xy = text[qsizetype(i)].split(QStringLiteral(", "));
            QCOMPARE(xy.size(), 2);
            QCOMPARE(xy[0].toFloat(), line[i].x);
            QCOMPARE(xy[1].toFloat(), line[i].y);
        }

        const QStringList sylk =
            QString::fromLatin1(clipboard(QStringLiteral("application/x-sylk")))
                .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QVERIFY(sylk.value(0).startsWith(QStringLiteral("ID;P")));
        QCOMPARE(sylk.value(1), QStringLiteral("B;Y4;X2"));
        QCOMPARE(sylk.value(2 + 2 * 2), QStringLiteral("C;X1;Y3;K75.5"));
        QCOMPARE(sylk.value(2 + 2 * 2 + 1), QStringLiteral("C;X2;K40.25"));
        QCOMPARE(sylk.value(sylk.size() - 1), QStringLiteral("E"));
        QCOMPARE(sylk.size(), qsizetype(2 + 2 * line.size() + 1));
    }

    // The report printed to a PDF file, read back by pdftotext: the rows in
    // order, the window's values rather than the model's stale ones, and the
    // long annotation line cut at the right margin.
    void reportInThePdf() {
        roster.start();
        Form7->Model = DataModule1;
        roster.dialogs->openName = kDefaultGrain;
        Form7->ToolButton2Click();
        const QString longLine = QStringLiteral("Long: ") +
                                 QStringLiteral("0123456789 ").repeated(80) + QStringLiteral("END");
        Form7->Memo1->setPlainText(QStringLiteral("Sample 14, zircon\n") + longLine);
        DataModule1->GrainData.Sphere_radius = 99; // as an old Recalculate left it
        const QString pdf = QDir(outputFolder()).filePath(QStringLiteral("report.pdf"));
        QFile::remove(pdf);
        roster.dialogs->printFile = pdf;
        Form7->ToolButton8Click();

        const QString text = QString::fromUtf8(runAlongside(
            QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}));
        QStringList rows;
        for (const QString &row : text.split(QLatin1Char('\n')))
            if (!row.trimmed().isEmpty())
                rows << row.trimmed();
        const QStringList expected{QStringLiteral("Sample 14, zircon"),
                                   QStringLiteral("(the long line)"),
                                   QStringLiteral("Model Data"),
                                   QStringLiteral("Number of Eigen Values: 20"),
                                   QStringLiteral("Activation Energy: 36200.00"),
                                   QStringLiteral("Emission Distance: 20.00"),
                                   QStringLiteral("D0: 1807.8"),
                                   QStringLiteral("Grain Parameters"),
                                   QStringLiteral("Sphere Radius: 60.00"),
                                   QStringLiteral("Outer Zone Radius: 40.00"),
                                   QStringLiteral("Inner Zone Radius: 20.00")};
        // Then where the numbers come from, and the graphs.
        QVERIFY(rows.size() > expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i)
            if (i != 1)
                QCOMPARE(rows[i], expected[i]);
        QVERIFY(rows[expected.size()].startsWith(QStringLiteral("Method: fast")));

        // The long line shows as far as the page's right margin, no further.
        const QString cut = rows[1];
        QVERIFY2(longLine.startsWith(cut.simplified()), qPrintable(cut));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(outputFolder()).filePath(QStringLiteral("unused.pdf")));
        const QFontMetricsF metrics(QFont(), &printer);
        const qreal room = printer.width() - 400;
        qsizetype fits = 0;
        while (metrics.horizontalAdvance(longLine.left(fits + 1)) <= room)
            ++fits;
        QVERIFY2(
            std::abs(cut.size() - fits) <= 2,
            qPrintable(QStringLiteral("%1 characters shown, %2 fit").arg(cut.size()).arg(fits)));
    }

    // The main window after a Recalculate, as the X server shows it.
    void mainWindowScreenshot() {
        roster.start();
        QVERIFY(!QApplication::windowIcon().isNull());
        Form7->Model = DataModule1;
        roster.dialogs->openName = kDefaultGrain;
        Form7->ToolButton2Click();
        Form7->Memo1->setPlainText(QStringLiteral("Sample 14, zircon from the upper terrace"));
        Form7->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form7));
        Form7->Button1Click();
        float x = 0, y = 0;
        QVERIFY(Form7->xygraph2->EnumPoints(0, &x, &y) != 0); // a result was drawn
        QTest::qWait(200);                                    // the repaint reaches the X server
        const QPixmap shot = Form7->screen()->grabWindow(Form7->winId());
        QCOMPARE(shot.size(), Form7->size() * Form7->devicePixelRatio());
        const QString folder = outputFolder() + QStringLiteral("/screenshots");
        QDir().mkpath(folder);
        QVERIFY(shot.save(folder + QStringLiteral("/main-window.png")));
    }
};

// The program's own application object, with its window icon and error handler.
int main(int argc, char **argv) {
    TarvelApplication app(argc, argv);
    DesktopChecks checks;
    return QTest::qExec(&checks, argc, argv);
}
#include "desktop_checks.moc"
