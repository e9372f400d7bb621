// What the "Axes" dialog and "Save Image" decide without widgets: the four
// texts read all or nothing, and the picture format a file name asks for.
#include "axesentry.h"
#include "exactnumbers.h"
#include "imagefile.h"

#include <QTest>

using namespace axesentry;

Q_DECLARE_METATYPE(axesentry::Edit)

class TestGraphEntries : public QObject {
    Q_OBJECT

private slots:
    void endsReadBackAsShown();
    void refusedTextNamesItsEdit_data();
    void refusedTextNamesItsEdit();
    void formatFollowsExtension();
};

// OK on untouched edits gives back the very same window, however awkward its
// floats, and the edits show them short.
void TestGraphEntries::endsReadBackAsShown() {
    for (const char sep : {'.', ','}) {
        const Window w{0.1f, 1.0f / 3.0f, -3.4e38f, 1.17549435e-38f};
        const Window back = windowOf(textsOf(w, sep), sep);
        QCOMPARE(exactly(back.xzero), exactly(w.xzero));
        QCOMPARE(exactly(back.xmax), exactly(w.xmax));
        QCOMPARE(exactly(back.yzero), exactly(w.yzero));
        QCOMPARE(exactly(back.ymax), exactly(w.ymax));
    }
    const Texts t = textsOf({0.0f, 500.0f, -20.0f, 0.1f}, ',');
    QCOMPARE(t.xFrom, std::string("0"));
    QCOMPARE(t.xTo, std::string("500"));
    QCOMPARE(t.yFrom, std::string("-20"));
    QCOMPARE(t.yTo, std::string("0,1"));
    // The locale's separator and "." alike.
    QCOMPARE(windowOf({" -2,5", "2.5 ", "0", "1e3"}, ',').xmax, 2.5f);
}

void TestGraphEntries::refusedTextNamesItsEdit_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<axesentry::Edit>("edit");
    QTest::newRow("no number") << QStringList{"abc", "100", "0", "100"} << Edit::xFrom;
    QTest::newRow("empty edit") << QStringList{"0", "", "0", "100"} << Edit::xTo;
    QTest::newRow("beyond single precision")
        << QStringList{"0", "100", "-1e39", "100"} << Edit::yFrom;
    QTest::newRow("horizontal upside down") << QStringList{"10", "5", "0", "100"} << Edit::xTo;
    QTest::newRow("vertical without extent") << QStringList{"0", "100", "5", "5"} << Edit::yTo;
    QTest::newRow("equal once in single precision")
        << QStringList{"0", "100", "1.00000001", "1.00000002"} << Edit::yTo;
    QTest::newRow("the first in the dialog's order wins")
        << QStringList{"0", "100", "x", "y"} << Edit::yFrom;
    QTest::newRow("every text is read before the axes are checked")
        << QStringList{"10", "5", "0", "x"} << Edit::yTo;
}

void TestGraphEntries::refusedTextNamesItsEdit() {
    QFETCH(QStringList, texts);
    QFETCH(axesentry::Edit, edit);
    try {
        windowOf({texts[0].toStdString(), texts[1].toStdString(), texts[2].toStdString(),
                  texts[3].toStdString()},
                 '.');
        QFAIL("accepted");
    } catch (const EntryError &e) {
        QCOMPARE(e.edit(), edit);
        QVERIFY(!std::string(e.what()).empty());
    }
}

// The extension decides, in any case; a name promising another format, or
// none, is refused rather than written as something it does not say.
void TestGraphEntries::formatFollowsExtension() {
    using imagefile::Format;
    QCOMPARE(imagefile::formatOf("graph.png"), Format::png);
    QCOMPARE(imagefile::formatOf("/home/a/Graph.PNG"), Format::png);
    QCOMPARE(imagefile::formatOf("/tmp/run.1/graph.svg"), Format::svg);
    QCOMPARE(imagefile::formatOf("C:\\data\\history.pdf"), Format::pdf);
    for (const char *name : {"graph", "graph.jpg", "graph.", "/tmp/plots.png/graph"})
        QVERIFY_THROWS_EXCEPTION(tarvel::Error, imagefile::formatOf(name));
}

QTEST_GUILESS_MAIN(TestGraphEntries)
#include "test_graphentries.moc"
