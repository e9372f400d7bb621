// Which ticks carry numbers and what they say, with a font of fixed-width
// characters: 7 pixels each, boxes 16 high, character height 13.
#include "graphfixtures.h"
#include "scalelayout.h"

#include <QTest>

using namespace fixtures;
using namespace scalelayout;

Q_DECLARE_METATYPE(std::vector<std::string>)

namespace {

Metrics fixedFont() {
    Metrics m;
    m.width = [](const std::string &s) { return 7 * int(s.size()); }; // ASCII texts only
    m.height = 16;
    m.lineheight = 13;
    return m;
}

// The position box of a control `width` wide, as the painter passes it.
Box posBox(int width) {
    return {width - 70, 0, 70, 17};
}

std::vector<std::string> texts(const Scale &s) {
    std::vector<std::string> out;
    for (const Text &t : s.numbers)
        out.push_back(t.text);
    return out;
}

// No two numbers of a scale and no number and title touch.
bool apart(const Scale &s) {
    for (std::size_t i = 0; i < s.numbers.size(); ++i) {
        for (std::size_t j = i + 1; j < s.numbers.size(); ++j)
            if (s.numbers[i].box.near(s.numbers[j].box, 0))
                return false;
        for (const Text &t : s.title)
            if (s.numbers[i].box.near(t.box, 0))
                return false;
    }
    return true;
}

} // namespace

class TestScaleLayout : public QObject {
    Q_OBJECT

private slots:
    void horizontalNumbers_data();
    void horizontalNumbers();
    void verticalNumbers_data();
    void verticalNumbers();
    void titleColumns_data();
    void titleColumns();
    void numbersKeepClearOfEdgesAndEachOther();
};

// The standard 353 x 193 graph (plot 304 x 140 from (37, 12)) unless a width is given.
void TestScaleLayout::horizontalNumbers_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<float>("lo");
    QTest::addColumn<float>("hi");
    QTest::addColumn<std::vector<std::string>>("expected");
    QTest::newRow("0..100: every tick, the end its own")
        << 353 << 0.0f << 100.0f << std::vector<std::string>{"0",  "10", "20", "30", "40", "50",
                                                             "60", "70", "80", "90", "100"};
    QTest::newRow("0..500: every other tick, 500 is no tick")
        << 353 << 0.0f << 500.0f
        << std::vector<std::string>{"0", "80", "160", "240", "320", "400", "480"};
    QTest::newRow("0..0.3: round tenths, not float noise")
        << 353 << 0.0f << 0.3f
        << std::vector<std::string>{"0", "0.06", "0.12", "0.18", "0.24", "0.3"};
    QTest::newRow("-50..50: the lower end, then ticks from 0")
        << 353 << -50.0f << 50.0f
        << std::vector<std::string>{"-50", "0", "10", "20", "30", "40", "50"};
    QTest::newRow("3.7..103.7 zoomed: the unround ends left to the ticks")
        << 353 << 3.7f << 103.7f
        << std::vector<std::string>{"10", "20", "30", "40", "50", "60", "70", "80", "90", "100"};
    QTest::newRow("0..100 on 41 pixels: two ticks, both ends")
        << 90 << 0.0f << 100.0f << std::vector<std::string>{"0", "100"};
    QTest::newRow("0..500 on 71 pixels: 500 is no tick")
        << 120 << 0.0f << 500.0f << std::vector<std::string>{"0", "300"};
    QTest::newRow("0..100 on 39 pixels: no ticks, the lower end alone")
        << 88 << 0.0f << 100.0f << std::vector<std::string>{"0"};
}

void TestScaleLayout::horizontalNumbers() {
    QFETCH(int, width);
    QFETCH(float, lo);
    QFETCH(float, hi);
    QFETCH(std::vector<std::string>, expected);
    ScaleMap map;
    standardGeometry(map);
    map.setSize(width, 193);
    map.setxzero(lo);
    map.setxmax(hi);
    const Scale s = horizontalScale(map, "", true, fixedFont(), '.', posBox(width));
    QCOMPARE(texts(s), expected);
    QVERIFY(apart(s));
}

void TestScaleLayout::verticalNumbers_data() {
    QTest::addColumn<float>("lo");
    QTest::addColumn<float>("hi");
    QTest::addColumn<QString>("title");
    QTest::addColumn<std::vector<std::string>>("expected");
    QTest::newRow("0..100") << 0.0f << 100.0f << ""
                            << std::vector<std::string>{"0", "20", "40", "60", "80", "100"};
    // The numbers have a band of their own beside the title.
    QTest::newRow("0..100 beside the title")
        << 0.0f << 100.0f << "Temperature (°C)"
        << std::vector<std::string>{"0", "20", "40", "60", "80", "100"};
    QTest::newRow("-20..20") << -20.0f << 20.0f << ""
                             << std::vector<std::string>{"-20", "0", "10", "20"};
    QTest::newRow("0..0.3") << 0.0f << 0.3f << ""
                            << std::vector<std::string>{"0", "0.1", "0.2", "0.3"};
    // The border grows to the widest number.
    QTest::newRow("0..0.003: wide numbers") << 0.0f << 0.003f << "Age"
                                            << std::vector<std::string>{"0", "0.001", "0.002",
                                                                        "0.003"};
}

void TestScaleLayout::verticalNumbers() {
    QFETCH(float, lo);
    QFETCH(float, hi);
    QFETCH(QString, title);
    QFETCH(std::vector<std::string>, expected);
    ScaleMap map;
    standardGeometry(map);
    map.setyzero(lo);
    map.setymax(hi);
    map.setLeftBorderRule([title](const ScaleMap &m) {
        return leftBorder(m, title.toStdString(), true, fixedFont(), '.');
    });
    const Scale s =
        verticalScale(map, title.toStdString(), true, fixedFont(), '.', posBox(map.Width()));
    QCOMPARE(texts(s), expected);
    QVERIFY(apart(s));
    for (const Text &t : s.numbers)
        QVERIFY(t.box.x >= 0 && t.box.right() < map.leftborder() - kTickLength);
}

void TestScaleLayout::titleColumns_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("fits one column") << "Temperature (°C)" << 16
                                     << QStringList{"Temperature (°C)"};
    QTest::newRow("the unit moves on") << "Temperature (°C)" << 15
                                       << QStringList{"Temperature", "(°C)"};
    QTest::newRow("a long word stands alone") << "Calc Time (Myr)" << 3
                                              << QStringList{"Calc", "Time", "(Myr)"};
    QTest::newRow("words fill a column") << "Age in Myr" << 6 << QStringList{"Age in", "Myr"};
}

void TestScaleLayout::titleColumns() {
    QFETCH(QString, title);
    QFETCH(int, rows);
    QFETCH(QStringList, expected);
    QStringList columns;
    for (const auto &column : scalelayout::titleColumns(title.toStdString(), rows)) {
        QString text;
        for (const std::string &c : column)
            text += QString::fromStdString(c);
        columns << text;
    }
    QCOMPARE(columns, expected);
}

// A number that would reach past the control's right edge is left out rather
// than cut: a cut "2400000" would read as "240000". Where the two scales meet
// in the corner, the bottom scale's numbers keep their place.
void TestScaleLayout::numbersKeepClearOfEdgesAndEachOther() {
    ScaleMap map;
    standardGeometry(map);
    map.setxmax(2500000);
    const Scale s = horizontalScale(map, "", true, fixedFont(), '.', posBox(353));
    QVERIFY(s.numbers.size() > 2);
    for (const Text &t : s.numbers)
        QVERIFY(t.box.x >= 0 && t.box.right() <= 353);
    // With the title centred below, numbers keep clear of it as well.
    const Scale titled =
        horizontalScale(map, "Distance from the rim", true, fixedFont(), '.', posBox(353));
    QVERIFY(apart(titled));

    standardGeometry(map);
    map.setxzero(-1000);
    map.setxmax(1000);
    map.setyzero(-60);
    const Scale bottom = horizontalScale(map, "", true, fixedFont(), '.', posBox(353));
    std::vector<Box> bottomBoxes;
    for (const Text &t : bottom.numbers)
        bottomBoxes.push_back(t.box);
    const Scale alone = verticalScale(map, "", true, fixedFont(), '.', posBox(353));
    QCOMPARE(alone.numbers.front().text, std::string("-60"));
    const Scale beside = verticalScale(map, "", true, fixedFont(), '.', posBox(353), bottomBoxes);
    for (const Text &t : beside.numbers)
        for (const Box &b : bottomBoxes)
            QVERIFY(!t.box.near(b, 0)); // "-60" would touch "-1000"
}

QTEST_GUILESS_MAIN(TestScaleLayout)
#include "test_scalelayout.moc"
