// What the "Axes" dialog and "Save Image" decide without widgets: the four
// texts read all or nothing, and the picture format a file name asks for.
#include "axesentry.h"
#include "exactnumbers.h"
#include "imagefile.h"

#include <QTest>

using namespace axesentry;

Q_DECLARE_METATYPE(axesentry::Edit)
Q_DECLARE_METATYPE(imagefile::Format)

class TestGraphEntries : public QObject {
    Q_OBJECT

private slots:
    void endsReadBackAsShown();
    void eitherSeparatorIsRead();
    void refusedTextNamesItsEdit_data();
    void refusedTextNamesItsEdit();
    void formatFollowsExtension_data();
    void formatFollowsExtension();
    void unknownExtensionIsRefused();
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
}

void TestGraphEntries::eitherSeparatorIsRead() {
    const Window w = windowOf({" -2,5", "2.5 ", "0", "1e3"}, ',');
    QCOMPARE(w.xzero, -2.5f);
    QCOMPARE(w.xmax, 2.5f);
    QCOMPARE(w.ymax, 1000.0f);
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

void TestGraphEntries::formatFollowsExtension_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<imagefile::Format>("format");
    QTest::newRow("png") << "graph.png" << imagefile::Format::png;
    QTest::newRow("any case") << "/home/a/Graph.PNG" << imagefile::Format::png;
    QTest::newRow("svg in a dotted folder") << "/tmp/run.1/graph.svg" << imagefile::Format::svg;
    QTest::newRow("pdf") << "C:\\data\\history.pdf" << imagefile::Format::pdf;
}

void TestGraphEntries::formatFollowsExtension() {
    QFETCH(QString, name);
    QFETCH(imagefile::Format, format);
    QCOMPARE(imagefile::formatOf(name.toStdString()), format);
}

void TestGraphEntries::unknownExtensionIsRefused() {
    for (const char *name :
         {"graph", "graph.jpg", "graph.", "/tmp/plots.png/graph", "graph.png.txt"})
        QVERIFY_THROWS_EXCEPTION(tarvel::Error, imagefile::formatOf(name));
}

QTEST_GUILESS_MAIN(TestGraphEntries)
#include "test_graphentries.moc"
