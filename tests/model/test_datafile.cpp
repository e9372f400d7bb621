#include "datamodule.h"
#include "errors.h"
#include "exactnumbers.h"
#include "numbertext.h"

#include <QtTest>

#include <fstream>
#include <iterator>
#include <sstream>
#include <streambuf>

namespace {

const char *const kExample = "#Tarvel 0.9\r\n"
                             "[DataBegin\r\n"
                             "#ModelData\r\n"
                             "Neigen=20\r\n"
                             "Emission_dist=20\r\n"
                             "Activation_energy=36200\r\n"
                             "D0=1807.8\r\n"
                             "#GrainData\r\n"
                             "Sphere_radius=60\r\n"
                             "Outer_radius=40\r\n"
                             "Inner_radius=20\r\n"
                             "#Thermal Curve\r\n"
                             "[TableStart\r\n"
                             "0, 20\r\n"
                             "50, 100\r\n"
                             "]TableEnd\r\n"
                             "[MemoBegin\r\n"
                             "first sample\r\n"
                             "]MemoEnd\r\n"
                             "]DataEnd\r\n";

void fillExample(TDataModule1 &m) {
    m.GrainData = {60.0f, 40.0f, 20.0f};
    m.GetCurrentCurve().Append(0.0f, 20.0f);
    m.GetCurrentCurve().Append(50.0f, 100.0f);
    m.Annotation = {"first sample"};
}

std::string written(const TDataModule1 &m) {
    std::ostringstream out;
    m.WriteDataFile(out);
    return out.str();
}

void read(TDataModule1 &m, const std::string &bytes) {
    std::istringstream in(bytes);
    m.ReadDataFile(in);
}

std::string conversionMessage(TDataModule1 &m, const std::string &bytes) {
    try {
        read(m, bytes);
    } catch (const tarvel::Error &e) {
        return e.what();
    }
    return "no error";
}

// Accepts a fixed number of bytes, then refuses, like a full disk.
class FullDevice : public std::streambuf {
public:
    explicit FullDevice(std::size_t room) : room_(room) {}

protected:
    int_type overflow(int_type c) override {
        if (room_ == 0)
            return traits_type::eof();
        --room_;
        return traits_type::not_eof(c);
    }

private:
    std::size_t room_;
};

// The whole lines the reader takes as structure.
const QStringList kMarkers{"[DataBegin", "[TableStart", "]TableEnd", "[MemoBegin", "]MemoEnd"};

std::vector<float> times(const TDataModule1 &m) {
    const auto &c = m.GetCurrentCurve();
    return {c.Time.begin() + 1, c.Time.end()};
}

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT
private slots:
    void writerIsByteExact();
    void roundTripKeepsEverything();
    void roundTripRoundsToEightDigits();
    void emptyCurveAndAnnotation();
    void lineEnds_data();
    void lineEnds();
    void tolerantKeyLines();
    void sectionsAndMarkers();
    void blankLineEndsDataOutsideAnnotation();
    void annotationRoundTrips_data();
    void annotationRoundTrips();
    void annotationLineBreaksAndNuls();
    void plainAnnotationWrittenAsItStands();
    void refusedFileChangesNothing_data();
    void refusedFileChangesNothing();
    void curveLinesNameTheFile();
    void conversionErrors();
    void longLinesReadWhole();
    void nulEndsLine();
    void failedWriteIsReported();
    void preciseMethodRoundTrips();
    void fastDataSetsKeepTheirBytes();
    void methodKeyIsTolerantOrRefused();
    void kineticsRoundTripsAfterTheMethod_data();
    void kineticsRoundTripsAfterTheMethod();
    void kineticsKeyIsTheFilesOwnOrRefused();
    void parentsRoundTripAfterTheGrain();
    void parentsAreTheFilesOwn();
    void grainTableRoundTripsAfterTheCurve();
    void grainTableIsTheFilesOwn();
    void searchRoundTripsAfterTheGrains();
    void searchIsTheFilesOwn();
};

void TestDataFile::writerIsByteExact() {
    TDataModule1 m;
    fillExample(m);
    QCOMPARE(written(m), std::string(kExample));
}

void TestDataFile::roundTripKeepsEverything() {
    TDataModule1 a;
    fillExample(a);
    a.ModelData = {35, 12.5f, 40000.0f, 0.000125f};
    a.GetCurrentCurve().Append(75.25f, -40.5f);
    a.Annotation = {"line one", "", "  indented; with = sign", "]DataEnd"};

    TDataModule1 b;
    b.Annotation = {"old"};
    read(b, written(a));
    QCOMPARE(b.ModelData.Neigen, 35);
    QCOMPARE(exactly(b.ModelData.Emission_dist), exactly(12.5f));
    QCOMPARE(exactly(b.ModelData.Activation_energy), exactly(40000.0f));
    QCOMPARE(exactly(b.ModelData.D0), exactly(0.000125f));
    QCOMPARE(exactly(b.GrainData.Sphere_radius), exactly(60.0f));
    QCOMPARE(exactly(b.GrainData.Inner_radius), exactly(20.0f));
    QCOMPARE(times(b), (std::vector<float>{0.0f, 50.0f, 75.25f}));
    QCOMPARE(exactly(b.GetCurrentCurve().Temp.back()), exactly(-40.5f));
    QCOMPARE(b.Annotation, a.Annotation);
    QCOMPARE(b.CurveHistoryDepth(), std::size_t(0));
}

// Every number comes back as its value rounded to 8 significant digits, bit
// for bit (single precision needs up to 9 digits to come back unchanged).
void TestDataFile::roundTripRoundsToEightDigits() {
    TDataModule1 a;
    a.ModelData.D0 = 1.23456789e-3f; // held as 0.00123456784...
    a.ModelData.Activation_energy = 36217.125f;
    a.GrainData.Sphere_radius = 16777215.0f;
    a.GetCurrentCurve().Append(0.1f, 1.0f / 3.0f);
    TDataModule1 b;
    read(b, written(a));
    QCOMPARE(exactly(b.ModelData.D0), exactly(0.0012345678f));
    QCOMPARE(exactly(b.ModelData.Activation_energy), exactly(36217.125f));
    QCOMPARE(exactly(b.GrainData.Sphere_radius), exactly(16777215.0f));
    QCOMPARE(exactly(b.GetCurrentCurve().Time[1]), exactly(0.1f));
    QCOMPARE(exactly(b.GetCurrentCurve().Temp[1]), exactly(0.33333334f));
}

void TestDataFile::emptyCurveAndAnnotation() {
    TDataModule1 a;
    const std::string text = written(a);
    QVERIFY(text.find("[TableStart\r\n]TableEnd\r\n[MemoBegin\r\n]MemoEnd\r\n") !=
            std::string::npos);
    TDataModule1 b;
    fillExample(b);
    read(b, text);
    QCOMPARE(b.GetCurrentCurve().Count(), 1);
    QVERIFY(b.Annotation.empty());
}

void TestDataFile::lineEnds_data() {
    QTest::addColumn<QString>("lineEnd");
    QTest::newRow("LF") << "\n";
    QTest::newRow("CR") << "\r"; // old Mac editors
}

void TestDataFile::lineEnds() {
    // Reads like the CR LF file, the last line without its line end included.
    QFETCH(QString, lineEnd);
    std::string text = "[DataBegin\r\nNeigen=7\r\n[TableStart\r\n1, 2\r\n]TableEnd\r\nD0=5";
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.replace(at, 2, lineEnd.toStdString());
    TDataModule1 m;
    read(m, text);
    QCOMPARE(m.ModelData.Neigen, 7);
    QCOMPARE(m.GetCurrentCurve().Count(), 2);
    QCOMPARE(m.ModelData.D0, 5.0f);
}

void TestDataFile::tolerantKeyLines() {
    TDataModule1 m;
    read(m, "[DataBegin\r\n"
            "  Neigen = 20.9  \r\n"
            "\tSphere _radius\t=70\r\n"
            "Neigen=-3.7\r\n" // the last occurrence wins, truncated toward zero
            "neigen=99\r\n"   // keys are case-sensitive
            "Unknown=abc\r\n" // unknown keys are not even converted
            "just text\r\n");
    QCOMPARE(m.ModelData.Neigen, -3);
    QCOMPARE(m.GrainData.Sphere_radius, 70.0f);
    if (tarvel::localeDecimalSeparator() == '.')
        QVERIFY(QString::fromStdString(conversionMessage(m, "[DataBegin\nOuter_radius=1,5\n"))
                    .contains("'1,5'"));
}

void TestDataFile::sectionsAndMarkers() {
    TDataModule1 m;
    read(m, "[DataBegin\r\n"
            "]TableEnd\r\n" // closing without opening: ignored
            "]MemoEnd\r\n"
            "[MemoBegin\r\nfirst try\r\n"
            "[MemoBegin\r\n" // restarts the collection
            "# a comment, not kept\r\n"
            "\r\n" // blank lines belong to the annotation
            "kept\r\n"
            "]MemoEnd\r\n"
            "[TableStart\r\n1,2\r\n# skipped\r\n3 , 4\r\n]TableEnd\r\n"
            "]DataEnd\r\n"
            "Neigen=12\r\n"); // in-data stays on after ]DataEnd
    QCOMPARE(m.Annotation, (std::vector<std::string>{"", "kept"}));
    QCOMPARE(times(m), (std::vector<float>{1.0f, 3.0f}));
    QCOMPARE(m.ModelData.Neigen, 12);
}

void TestDataFile::blankLineEndsDataOutsideAnnotation() {
    TDataModule1 m;
    read(m, "[DataBegin\r\nNeigen=5\r\n\r\nNeigen=6\r\n");
    QCOMPARE(m.ModelData.Neigen, 5);
}

void TestDataFile::annotationRoundTrips_data() {
    QTest::addColumn<QStringList>("annotation");
    QTest::newRow("every marker") << kMarkers;
    QTest::newRow("escaped markers")
        << QStringList{"\\[DataBegin", "\\\\\\]MemoEnd", "\\[MemoBegin\\", "\\\\[TableStart"};
    QTest::newRow("comments") << QStringList{"#", "# a note", "\\#x", "\\\\#", " #indented"};
    QTest::newRow("section end, then a key") << QStringList{"]MemoEnd", "Neigen=5", "D0=1"};
    QTest::newRow("a table inside") << QStringList{"[TableStart", "1, 2", "]TableEnd"};
    QTest::newRow("blank lines") << QStringList{"", "]MemoEnd", "", "", "#"};
    QTest::newRow("backslashes alone") << QStringList{"\\", "\\\\", "C:\\data\\", "\\x"};
    QTest::newRow("carriage returns")
        << QStringList{"]MemoEnd\r", "\r", "a\rb", "\r]TableEnd", "#\r"};
    QTest::newRow("near misses") << QStringList{"]DataEnd", " ]MemoEnd", "[MemoBegin ", "]memoend",
                                                "\\]DataEnd"};
}

// Whatever the annotation holds comes back line for line, and no line of it
// is taken as structure, neither by this reader nor by one that does not know
// the escape: in the file, no annotation line starts with "#" or is a marker.
void TestDataFile::annotationRoundTrips() {
    QFETCH(QStringList, annotation);
    TDataModule1 a;
    fillExample(a);
    a.ModelData.Neigen = 30;
    a.Annotation.clear();
    for (const QString &line : annotation)
        a.Annotation.push_back(line.toStdString());
    const std::string text = written(a);

    TDataModule1 b;
    read(b, text);
    QCOMPARE(b.Annotation, a.Annotation);
    QCOMPARE(written(b), text);

    const std::string begin = "[MemoBegin\r\n", end = "]MemoEnd\r\n]DataEnd\r\n";
    const auto from = text.find(begin) + begin.size();
    QVERIFY(text.size() >= end.size() &&
            text.compare(text.size() - end.size(), end.size(), end) == 0);
    std::istringstream section(text.substr(from, text.size() - end.size() - from));
    std::size_t count = 0;
    for (std::string line; std::getline(section, line); ++count) {
        line.pop_back(); // the CR of the line end
        QVERIFY2(line.empty() || line[0] != '#', line.c_str());
        QVERIFY2(!kMarkers.contains(QString::fromStdString(line)), line.c_str());
    }
    QCOMPARE(count, a.Annotation.size());
}

// A line break inside an entry starts a new line, and a NUL (which ends a
// line's text for the reader) is left out: neither can smuggle structure in.
void TestDataFile::annotationLineBreaksAndNuls() {
    TDataModule1 a;
    fillExample(a);
    a.Annotation = {"one\n]MemoEnd\nNeigen=5", std::string("]MemoEnd\0Neigen=6", 17),
                    std::string("two\0", 4)};
    TDataModule1 b;
    read(b, written(a));
    QCOMPARE(b.Annotation,
             (std::vector<std::string>{"one", "]MemoEnd", "Neigen=5", "]MemoEndNeigen=6", "two"}));
    QCOMPARE(b.ModelData.Neigen, a.ModelData.Neigen);
    QCOMPARE(b.GetCurrentCurve().Count(), a.GetCurrentCurve().Count());
}

// Lines that are no structure, backslashes and all, are written as they stand.
void TestDataFile::plainAnnotationWrittenAsItStands() {
    TDataModule1 m;
    fillExample(m);
    m.Annotation = {"C:\\data\\", "\\", "x #y", "]DataEnd", "\\]DataEnd", "", "a\rb"};
    std::string expected(kExample);
    expected.replace(expected.find("first sample\r\n"), 14,
                     "C:\\data\\\r\n\\\r\nx #y\r\n]DataEnd\r\n\\]DataEnd\r\n\r\na\rb\r\n");
    QCOMPARE(written(m), expected);
}

void TestDataFile::refusedFileChangesNothing_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("named"); // what the message must name
    const QString start = "[DataBegin\r\nNeigen=9\r\nD0=3\r\n[MemoBegin\r\nnew\r\n]MemoEnd\r\n";
    QTest::newRow("cut off in the table") << start + "[TableStart\r\n7, 7\r\n"
                                          << "table";
    QTest::newRow("cut off in the annotation") << start + "[MemoBegin\r\nnever closed\r\n"
                                               << "annotation";
    QTest::newRow("blank line in the table") << start + "[TableStart\r\n7, 7\r\n\r\n]TableEnd\r\n"
                                             << "table";
    QTest::newRow("bad table value, named by line")
        << start + "[TableStart\r\n1, 2\r\n1,5, 20\r\n]TableEnd\r\n"
        << "line 9";
    QTest::newRow("table line without comma") << start + "[TableStart\r\nno comma\r\n]TableEnd\r\n"
                                              << "line 8";
    QTest::newRow("bad key value after good ones") << start + "Sphere_radius=abc\r\n"
                                                   << "Sphere_radius";
    QTest::newRow("concentration not a number") << start + "Th_ppm=lots\r\n"
                                                << "Th_ppm";
    QTest::newRow("negative concentration") << start + "U_ppm=-1\r\n"
                                            << "U_ppm";
    QTest::newRow("concentration beyond the grain") << start + "Sm_ppm=2e6\r\n"
                                                    << "Sm_ppm";
    QTest::newRow("zero stopping distance") << start + "U_ppm=10\r\nStopping_Sm147=0\r\n"
                                            << "Stopping_Sm147";
    const QString grains = "[GrainsStart\r\nA1, 60, 10, 20, 30, 55, 2.5\r\n";
    QTest::newRow("bad grain line, named by line")
        << start + grains + "A2, 60, x, 1, 1, ,\r\n]GrainsEnd\r\n"
        << "line 9";
    QTest::newRow("grain with half a measurement")
        << start + grains + "A2, 60, 1, 1, 1, 50,\r\n]GrainsEnd\r\n"
        << "line 9";
    QTest::newRow("cut off in the grain table") << start + grains << "grain table";
    QTest::newRow("blank line in the grain table") << start + grains + "\r\n]GrainsEnd\r\n"
                                                   << "grain table";
    QTest::newRow("negative stopping distance") << start + "Stopping_U235=-20\r\n"
                                                << "Stopping_U235";
    const QString boxes = start + "[ConstraintsStart\r\n0, 0, 100, 120\r\n";
    const QString boxEnd = "]ConstraintsEnd\r\n";
    for (const auto &[name, line] : {std::pair{"box of three fields", "10, 20, 30"},
                                     {"box time not a number", "1O, 20, 0, 9"},
                                     {"box time beyond any number", "10, 1e999, 30, 40"},
                                     {"box time backwards", "20, 10, 30, 40"},
                                     {"box temperatures backwards", "10, 20, 40, 30"},
                                     {"box at absolute zero", "10, 20, -273.15, 0"}})
        QTest::newRow(name) << boxes + line + "\r\n" + boxEnd << "line 9";
    QTest::newRow("boxes overlapping in time, the later named")
        << boxes + "50, 60, 30, 40\r\n-5, 55, 30, 40\r\n" + boxEnd << "line 8";
    QTest::newRow("cut off in the constraint boxes") << boxes << "constraint boxes";
    QTest::newRow("blank line in the constraint boxes")
        << boxes + "\r\n" + boxEnd << "constraint boxes";
    for (const auto &[name, key] : {std::pair{"paths not whole", "Search_paths=1.5"},
                                    {"seed below 0", "Search_seed=-1"},
                                    {"nodes not a number", "Search_nodes=two"},
                                    {"rate not a number", "Search_max_rate=fast"},
                                    {"monotonic neither 0 nor 1", "Search_monotonic=yes"}})
        QTest::newRow(name) << start + key + "\r\n"
                            << "Line 7: " + QString(key).section('=', 0, 0);
    // Not data sets at all: refused instead of read as "nothing changed".
    QTest::newRow("plain text") << "Neigen=3\r\n[TableStart\r\n1, 1\r\n]TableEnd\r\n"
                                << "[DataBegin";
    QTest::newRow("empty file") << ""
                                << "[DataBegin";
    QTest::newRow("marker only after a blank line")
        << "#Tarvel 0.9\r\n\r\n" + start << "[DataBegin";
    QTest::newRow("marker not a whole line") << "x[DataBegin\r\n[DataBegin \r\nNeigen=3\r\n"
                                             << "[DataBegin";
}

void TestDataFile::refusedFileChangesNothing() {
    QFETCH(QString, file);
    QFETCH(QString, named);
    TDataModule1 m;
    fillExample(m);
    m.Grains = {tarvel::parseGrainLine("kept, 40, 1, 2, 3, , ")};
    m.Search.boxes = {{0, 0, 1, 2}};
    m.Search.seed = 5;
    m.SetCoefficient(3, 0.5f);
    const std::string before = written(m);
    const QString message = QString::fromStdString(conversionMessage(m, file.toStdString()));
    QVERIFY2(message.contains(named), qPrintable(message));
    QCOMPARE(written(m), before);
    QCOMPARE(m.GetCoefficient(3), 0.5f);
}

void TestDataFile::curveLinesNameTheFile() {
    TDataModule1 m;
    std::vector<std::int32_t> lines{99};
    std::istringstream none("[DataBegin\nNeigen=4\n");
    m.ReadDataFile(none, &lines);
    QVERIFY(lines.empty());
    std::istringstream table(
        "#Tarvel 0.9\n[DataBegin\n[TableStart\n0, 1\n# note\n5, 2\n]TableEnd\n");
    m.ReadDataFile(table, &lines);
    QCOMPARE(lines, (std::vector<std::int32_t>{4, 6}));
}

void TestDataFile::conversionErrors() {
    TDataModule1 m;
    // Each names the key or the table line and quotes the text.
    for (const auto &[file, named] : std::vector<std::pair<std::string, std::string>>{
             {"[DataBegin\nD0=abc\n", "D0: 'abc'"},
             {"[DataBegin\nD0=1e39\n", "D0: '1e39'"},
             {"[DataBegin\n[TableStart\n1e39, 5\n]TableEnd\n", "line 3: '1e39'"},
             {"[DataBegin\nD0=nan\n", "'nan'"}}) {
        const QString message = QString::fromStdString(conversionMessage(m, file));
        QVERIFY2(message.contains(QString::fromStdString(named)), qPrintable(message));
    }
    QCOMPARE(m.ModelData.D0, 1807.8f);
    QVERIFY(QString::fromStdString(conversionMessage(m, "[DataBegin\nNeigen=3e9\n"))
                .contains("out of range"));
    QCOMPARE(m.ModelData.Neigen, 20);
    // The largest single-precision value itself is fine.
    read(m, "[DataBegin\nD0=3.4028235e38\n");
    QCOMPARE(m.ModelData.D0, std::numeric_limits<float>::max());
}

void TestDataFile::longLinesReadWhole() {
    const std::string longNote(100000, 'x');
    TDataModule1 a;
    a.Annotation = {longNote, "after"};
    TDataModule1 b;
    read(b, written(a));
    QCOMPARE(b.Annotation, a.Annotation);
}

void TestDataFile::nulEndsLine() {
    TDataModule1 m;
    read(m, std::string("[DataBegin\nNeigen=4\0garbage\n", 25));
    QCOMPARE(m.ModelData.Neigen, 4);
}

void TestDataFile::failedWriteIsReported() {
    TDataModule1 m;
    fillExample(m);
    FullDevice device(100);
    std::ostream out(&device);
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, m.WriteDataFile(out));
}

void TestDataFile::preciseMethodRoundTrips() {
    TDataModule1 a;
    fillExample(a);
    a.ModelData.Method = ModelMethod::Precise;
    const std::string text = written(a);
    // One line more than a fast data set, in the model block.
    QVERIFY(text.find("D0=1807.8\r\nMethod=precise\r\n#GrainData\r\n") != std::string::npos);
    TDataModule1 b;
    read(b, text);
    QCOMPARE(b.ModelData.Method, ModelMethod::Precise);
    QCOMPARE(written(b), text);
}

// The stored examples read and write back unchanged, with the fast method.
void TestDataFile::fastDataSetsKeepTheirBytes() {
    for (const char *name : {"default-grain.txt", "cooling-history.txt"}) {
        std::ifstream file(std::string(TARVEL_EXAMPLES_DIR) + "/" + name, std::ios::binary);
        QVERIFY2(file, name);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        TDataModule1 m;
        // The file names no method and no kinetics: it is a fast Arrhenius
        // data set, whatever was open.
        m.ModelData.Method = ModelMethod::Precise;
        m.ModelData.Kinetics = ModelKinetics::Rdaam;
        read(m, bytes);
        QCOMPARE(m.ModelData.Method, ModelMethod::Fast);
        QCOMPARE(m.ModelData.Kinetics, ModelKinetics::Arrhenius);
        QCOMPARE(written(m), bytes);
    }
}

void TestDataFile::methodKeyIsTolerantOrRefused() {
    TDataModule1 m;
    read(m, "[DataBegin\n Method = precise \n");
    QCOMPARE(m.ModelData.Method, ModelMethod::Precise);
    read(m, "[DataBegin\nMethod=fast\n");
    QCOMPARE(m.ModelData.Method, ModelMethod::Fast);
    // A method the program does not know is refused, naming the line and the
    // value, and nothing is taken from the file.
    for (const std::string value : {"Precise", "direct", ""}) {
        const QString message = QString::fromStdString(
            conversionMessage(m, "#Tarvel 0.9\n[DataBegin\nNeigen=9\nMethod=" + value + "\n"));
        QVERIFY2(message.contains("4") &&
                     message.contains("'" + QString::fromStdString(value) + "'"),
                 qPrintable(message));
        QCOMPARE(m.ModelData.Method, ModelMethod::Fast);
        QCOMPARE(m.ModelData.Neigen, 20);
    }
}

void TestDataFile::kineticsRoundTripsAfterTheMethod_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("kinetics");
    QTest::addColumn<QString>("lines"); // what stands between D0 and the grain
    QTest::newRow("fast, rdaam") << int(ModelMethod::Fast) << int(ModelKinetics::Rdaam)
                                 << "Kinetics=rdaam\r\n";
    QTest::newRow("precise, zrdaam") << int(ModelMethod::Precise) << int(ModelKinetics::Zrdaam)
                                     << "Method=precise\r\nKinetics=zrdaam\r\n";
    QTest::newRow("arrhenius") << int(ModelMethod::Precise) << int(ModelKinetics::Arrhenius)
                               << "Method=precise\r\n";
}

// Damage kinetics add one line after the method's place; Arrhenius none.
void TestDataFile::kineticsRoundTripsAfterTheMethod() {
    QFETCH(int, method);
    QFETCH(int, kinetics);
    QFETCH(QString, lines);
    TDataModule1 a;
    fillExample(a);
    a.ModelData.Method = ModelMethod(method);
    a.ModelData.Kinetics = ModelKinetics(kinetics);
    const std::string text = written(a);
    std::string expected = kExample;
    expected.insert(expected.find("#GrainData"), lines.toStdString());
    QCOMPARE(text, expected);
    TDataModule1 b;
    read(b, text);
    QCOMPARE(b.ModelData.Kinetics, ModelKinetics(kinetics));
    QCOMPARE(written(b), text);
}

void TestDataFile::kineticsKeyIsTheFilesOwnOrRefused() {
    TDataModule1 m;
    read(m, "[DataBegin\n Kinetics = zrdaam \n");
    QCOMPARE(m.ModelData.Kinetics, ModelKinetics::Zrdaam);
    read(m, "[DataBegin\nNeigen=9\n");
    QCOMPARE(m.ModelData.Kinetics, ModelKinetics::Arrhenius);
    // A kinetics the program does not know is refused, naming the line and
    // the value, and nothing is taken from the file.
    m.ModelData.Kinetics = ModelKinetics::Rdaam;
    for (const std::string value : {"RDAAM", "damage", ""}) {
        const QString message = QString::fromStdString(
            conversionMessage(m, "#Tarvel 0.9\n[DataBegin\nNeigen=7\nKinetics=" + value + "\n"));
        QVERIFY2(message.contains("4") &&
                     message.contains("'" + QString::fromStdString(value) + "'"),
                 qPrintable(message));
        QCOMPARE(m.ModelData.Kinetics, ModelKinetics::Rdaam);
        QCOMPARE(m.ModelData.Neigen, 9);
    }
}

void TestDataFile::parentsRoundTripAfterTheGrain() {
    TDataModule1 a;
    fillExample(a);
    a.ParentsData.U_ppm = 12.5f;
    a.ParentsData.Sm_ppm = 0.001f;
    applyMineralPreset(a.ParentsData, kMineralPresets[1]);
    const std::string text = written(a);
    // One block between the grain and the curve; the rest as before.
    const auto begin = text.find("Inner_radius=20\r\n#Parents\r\nU_ppm=12.5\r\n");
    const auto end = text.find("#Thermal Curve");
    QVERIFY(begin != std::string::npos && end != std::string::npos);
    std::string rest = text;
    rest.erase(text.find("#Parents"), end - text.find("#Parents"));
    QCOMPARE(rest, std::string(kExample));
    TDataModule1 b;
    read(b, text);
    QCOMPARE(b.ParentsData, a.ParentsData);
    QCOMPARE(matchingMineralPreset(b.ParentsData), &kMineralPresets[1]);
    QCOMPARE(written(b), text);

    // Without a concentration above 0 the stopping distances are not written.
    a.ParentsData.U_ppm = a.ParentsData.Sm_ppm = 0.0f;
    QCOMPARE(written(a), std::string(kExample));
}

void TestDataFile::parentsAreTheFilesOwn() {
    TDataModule1 m;
    applyMineralPreset(m.ParentsData, kMineralPresets[2]);
    m.ParentsData.Th_ppm = 40.0f;
    // Stopping distances the file leaves out are apatite's, not those held before.
    read(m, "[DataBegin\nU_ppm=3\nStopping_U235=30\n");
    TParentsData expected;
    expected.U_ppm = 3.0f;
    expected.Stopping_U235 = 30.0f;
    QCOMPARE(m.ParentsData, expected);
    // A data set from before parents existed has none, and keeps its bytes.
    std::ifstream file(std::string(TARVEL_EXAMPLES_DIR) + "/default-grain.txt", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    read(m, bytes);
    QVERIFY(!m.ParentsData.present());
    QCOMPARE(written(m), bytes);
}

void TestDataFile::grainTableRoundTripsAfterTheCurve() {
    TDataModule1 a;
    fillExample(a);
    a.ParentsData.U_ppm = 8.0f;
    a.Grains = {tarvel::parseGrainLine("A1, 61.25, 10, 20.5, 30, 55.1, 2.75"),
                tarvel::parseGrainLine("only predicted, 0.1, 0, 0, 1e-7, , "),
                tarvel::parseGrainLine("#3, 80, 1, 0, 0, 0, 0.5")};
    const std::string text = written(a);
    TDataModule1 b;
    read(b, text);
    QCOMPARE(b.Grains, a.Grains);
    QCOMPARE(written(b), text);

    // The section stands after the curve table; a reader that does not know
    // it, skipping its lines, reads the same model otherwise.
    const auto begin = text.find("]TableEnd\r\n#Grains\r\n[GrainsStart\r\n");
    const auto end = text.find("]GrainsEnd\r\n");
    QVERIFY(begin != std::string::npos && end != std::string::npos);
    std::string stripped = text;
    stripped.erase(text.find("#Grains"), end + 12 - text.find("#Grains"));
    TDataModule1 c;
    read(c, stripped);
    QVERIFY(c.Grains.empty());
    c.Grains = b.Grains;
    QCOMPARE(written(c), text);
    // Its lines are neither comments nor keys to such a reader, whatever the names.
    std::istringstream section(text.substr(begin + 34, end - begin - 34));
    int lines = 0;
    for (std::string line; std::getline(section, line); ++lines)
        QVERIFY2(line[0] != '#' && line.find('=') == std::string::npos, line.c_str());
    QCOMPARE(lines, 3);

    // Without grains, the data set keeps its bytes.
    a.ParentsData.U_ppm = 0.0f;
    a.Grains.clear();
    QCOMPARE(written(a), std::string(kExample));
}

void TestDataFile::grainTableIsTheFilesOwn() {
    TDataModule1 m;
    m.Grains = {tarvel::parseGrainLine("old, 50, 1, 1, 1, , ")};
    // A file without the section holds no grains.
    read(m, "[DataBegin\nNeigen=4\n");
    QVERIFY(m.Grains.empty());
    // The last complete section wins; an end without a start, the section's
    // markers inside the annotation and comments inside the section are not grains.
    read(m, "[DataBegin\n]GrainsEnd\n[GrainsStart\nx, 1, 1, 1, 1, , \n]GrainsEnd\n"
            "[MemoBegin\n[GrainsStart\n]MemoEnd\n"
            "[GrainsStart\n# a note\ny, 2, 1, 1, 1, 9, 1\n]GrainsEnd\n");
    QCOMPARE(m.Grains, std::vector{tarvel::parseGrainLine("y, 2, 1, 1, 1, 9, 1")});
    QCOMPARE(m.Annotation, std::vector<std::string>{"[GrainsStart"});
    read(m, "[DataBegin\n[GrainsStart\n]GrainsEnd\n");
    QVERIFY(m.Grains.empty());
}

void TestDataFile::searchRoundTripsAfterTheGrains() {
    TDataModule1 a;
    fillExample(a);
    a.Grains = {tarvel::parseGrainLine("A1, 61.25, 10, 20.5, 30, 55.1, 2.75")};
    a.Search.boxes = {{1e-7, 0.1, 12.5, 140}, {-3, 0, 100.25, 120}, {50, 50, -40, 90.125}};
    a.Search.paths = 123456789012;
    a.Search.seed = 18446744073709551615u;
    a.Search.nodes = 0;
    a.Search.maxRate = 0.1;
    a.Search.monotonic = true;
    const std::string text = written(a);
    TDataModule1 b;
    read(b, text);
    QVERIFY(b.Search == a.Search);
    QCOMPARE(written(b), text);

    // After the grain table; its box lines are neither comments nor keys to a
    // reader that does not know them, which then reads the same model.
    const auto begin = text.find("]GrainsEnd\r\n#Search\r\n");
    const auto boxes = text.find("[ConstraintsStart\r\n");
    const auto end = text.find("]ConstraintsEnd\r\n");
    QVERIFY(begin != std::string::npos && boxes != std::string::npos && end > boxes);
    std::istringstream section(text.substr(boxes + 19, end - boxes - 19));
    int lines = 0;
    for (std::string line; std::getline(section, line); ++lines)
        QVERIFY2(line[0] != '#' && line.find('=') == std::string::npos, line.c_str());
    QCOMPARE(lines, 3);
    std::string stripped = text;
    stripped.erase(begin + 12, end + 17 - begin - 12);
    TDataModule1 c;
    read(c, stripped);
    QVERIFY(c.Search.empty());
    QCOMPARE(c.Grains, a.Grains);

    // Keys alone: no section; nothing set: the bytes as before.
    a.Search.boxes.clear();
    const std::string keysOnly = written(a);
    QVERIFY(keysOnly.find("Search_monotonic=1\r\n[MemoBegin") != std::string::npos);
    QVERIFY(keysOnly.find("Constraints") == std::string::npos);
    a.Search = {};
    a.Grains.clear();
    QCOMPARE(written(a), std::string(kExample));
}

void TestDataFile::searchIsTheFilesOwn() {
    TDataModule1 m;
    m.Search.boxes = {{0, 1, 2, 3}};
    m.Search.paths = 5;
    read(m, "[DataBegin\nNeigen=4\n");
    QVERIFY(m.Search.empty());
    // Whole numbers in any number text that holds them exactly, blanks around
    // values, boxes that touch; a default value set is kept as set.
    read(m, "[DataBegin\nSearch_paths = 1e6\nSearch_seed=+7\nSearch_nodes=0\n"
            "Search_monotonic= 0\n[ConstraintsStart\n 10 ,20, 5, 5\n0, 10, 1, 2\n"
            "]ConstraintsEnd\n");
    QCOMPARE(*m.Search.paths, std::int64_t{1000000});
    QCOMPARE(*m.Search.seed, std::uint64_t{7});
    QCOMPARE(*m.Search.nodes, std::int64_t{0});
    QCOMPARE(*m.Search.monotonic, false);
    QVERIFY(!m.Search.maxRate);
    QVERIFY((m.Search.boxes == std::vector<tarvel::ConstraintBox>{{10, 20, 5, 5}, {0, 10, 1, 2}}));
}

QTEST_APPLESS_MAIN(TestDataFile)
#include "test_datafile.moc"
