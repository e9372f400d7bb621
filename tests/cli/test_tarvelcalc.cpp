#include "calccommand.h"
#include "calcrun.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace {

std::string dataSet(const std::string &geometry, const std::string &table,
                    const std::string &constants = "Neigen=20\r\nEmission_dist=20\r\n") {
    return "#Tarvel 0.9\r\n[DataBegin\r\n" + constants + geometry + "[TableStart\r\n" + table +
           "]TableEnd\r\n]DataEnd\r\n";
}

const std::string kDefaultGrain = "Sphere_radius=60\r\nOuter_radius=40\r\nInner_radius=20\r\n";

std::vector<double> column(const std::string &csv, int index) {
    std::vector<double> values;
    std::istringstream in(csv);
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        const auto comma = line.find(',');
        values.push_back(std::stod(index == 0 ? line.substr(0, comma) : line.substr(comma + 1)));
    }
    return values;
}

const std::string kSampleGrains = std::string(TARVEL_EXAMPLES_DIR) + "/sample-grains.txt";
const std::string kSearchSample = std::string(TARVEL_EXAMPLES_DIR) + "/search-sample.txt";

std::string fileText(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// `text` with its first `from` replaced by `to`.
std::string replaced(std::string text, const std::string &from, const std::string &to) {
    const auto at = text.find(from);
    Q_ASSERT(at != std::string::npos);
    return text.replace(at, from.size(), to);
}

// The rows after the header, split into fields (a trailing empty one kept).
std::vector<std::vector<std::string>> rows(const std::string &csv) {
    std::vector<std::vector<std::string>> result;
    std::istringstream in(csv.substr(csv.find('\n') + 1));
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line + ',');
        result.emplace_back();
        for (std::string field; std::getline(fields, field, ',');)
            result.back().push_back(field);
    }
    return result;
}

} // namespace

class TestTarvelCalc : public QObject {
    Q_OBJECT
private slots:
    void usage();
    void reproducesAgeExamples_data();
    void reproducesAgeExamples();
    void stepsFollowTheBarSubdivision();
    void methodsAgree();
    void preciseMethodGetsTheEmissionDistance();
    void dataSetMethodUnlessGiven();
    void coefficients();
    void singlePointHistory();
    void malformedInput_data();
    void malformedInput();
    void missingFilesAndDirectories();
    void realProcess();
    void parentsDataSets();
    void damageKinetics();
    void grainsMatchTheirOwnDataSets_data();
    void grainsMatchTheirOwnDataSets();
    void grainSources();
    void grainRefusals();
    void searchOutputsAgree();
    void searchRefusals_data();
    void searchRefusals();
};

void TestTarvelCalc::usage() {
    for (const auto &args : std::vector<std::vector<std::string>>{
             {},
             {"--bogus", "f"},
             {"a", "b"},
             {"--method"},
             {"--method", "slow", "f"},
             {"--final", "f"},
             {"--histories"},
             {"--histories", "h.csv", "--coefficients", "f"},
             {"--ages", "--coefficients", "f"},
             {"--histories", "-", "-"},
             {"--summary", "f"},
             {"--grains", "g.csv", "--ages", "f"},
             {"--grains", "-", "-"},
             {"--paths", "5", "f"},
             {"--invert", "--grains", "f"},
             {"--invert", "--paths", "1.5", "f"},
             {"--invert", "--seed", "-1", "f"},
             {"--invert", "--accepted", "-", "f"},
             {"--invert", "--accepted", "a", "--envelope=a", "f"},
             {"--kinetics"},
             {"--kinetics", "damage", "f"},
             {"--kinetics=RDAAM", "f"}}) {
        const Run r = calc(args);
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.find(kTarvelCalcUsage) != std::string::npos);
        QVERIFY(r.out.empty());
    }
    const Run help = calc({"--help"});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.find("--method direct") != std::string::npos);
    QVERIFY(help.out.find("--no-steps") != std::string::npos);
}

void TestTarvelCalc::reproducesAgeExamples_data() {
    QTest::addColumn<QString>("geometry");
    QTest::addColumn<QString>("constants");
    QTest::addColumn<double>("temperature");
    QTest::addColumn<double>("at50");
    QTest::addColumn<double>("at100");
    const QString grain = QString::fromStdString(kDefaultGrain);
    const QString whole = "Sphere_radius=60\r\nOuter_radius=60\r\nInner_radius=0\r\n";
    const QString s20 = "Neigen=20\r\nEmission_dist=20\r\n";
    QTest::newRow("cold") << grain << s20 << -50.0 << 49.993 << 99.986;
    QTest::newRow("room") << grain << s20 << 20.0 << 49.971 << 99.897;
    QTest::newRow("hot") << grain << s20 << 60.0 << 26.860 << 33.760;
    QTest::newRow("whole sphere") << whole << s20 << 20.0 << 37.443 << 74.569;
    QTest::newRow("far emission") << whole << "Neigen=20\r\nEmission_dist=60\r\n"
                                  << -100.0 << 15.625 << 31.250;
}

void TestTarvelCalc::reproducesAgeExamples() {
    QFETCH(QString, geometry);
    QFETCH(QString, constants);
    QFETCH(double, temperature);
    QFETCH(double, at50);
    QFETCH(double, at100);
    const std::string t = QString::number(temperature).toStdString();
    const std::string file =
        dataSet(geometry.toStdString(), "0, " + t + "\r\n50, " + t + "\r\n100, " + t + "\r\n",
                constants.toStdString());
    for (const char *method : {"fast", "direct"}) {
        const Run r = calc({"--no-steps", "--method", method, "-"}, file);
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.rfind("time,calculated_time\n", 0) == 0);
        const auto results = column(r.out, 1);
        QCOMPARE(results.size(), std::size_t(3));
        QCOMPARE(results[0], 0.0);
        QVERIFY2(std::abs(results[1] - at50) < 6e-4, method);
        QVERIFY2(std::abs(results[2] - at100) < 6e-4, method);
    }
}

void TestTarvelCalc::stepsFollowTheBarSubdivision() {
    // 0..12 splits at 5 and 10; a vertical step (equal times) stays as it is.
    const std::string file = dataSet(kDefaultGrain, "0, 20\r\n12, 20\r\n12, 80\r\n14, 80\r\n");
    const Run r = calc({"-"}, file);
    QCOMPARE(r.status, 0);
    QCOMPARE(column(r.out, 0), (std::vector<double>{0, 5, 10, 12, 12, 14}));
    const Run plain = calc({"--no-steps", "-"}, file);
    QCOMPARE(column(plain.out, 0), (std::vector<double>{0, 12, 12, 14}));
    // Numbers use "." and 17 significant digits.
    QVERIFY(r.out.find("\n5,4.99") != std::string::npos);
}

// A frozen whole grain keeps 5/16 of what it makes when the emission distance
// is its radius: the precise method needs the distance from the file for that.
void TestTarvelCalc::preciseMethodGetsTheEmissionDistance() {
    const std::string file =
        dataSet("Sphere_radius=60\r\nOuter_radius=60\r\nInner_radius=0\r\n",
                "0, -150\r\n100, -150\r\n", "Neigen=20\r\nEmission_dist=60\r\n");
    const Run r = calc({"--method", "precise", "-"}, file);
    QCOMPARE(r.status, 0);
    const auto results = column(r.out, 1);
    QCOMPARE(results.size(), std::size_t(21));
    QVERIFY(std::abs(results.back() - 100 * 5.0 / 16) < 1e-6);
    QVERIFY(calc({"--help"}).out.find("--method precise") != std::string::npos);
}

// A data set that asks for the precise method gets it in single runs and in
// batches; --method still decides when given.
void TestTarvelCalc::dataSetMethodUnlessGiven() {
    const std::string table = "0, 150\r\n20, 120\r\n40, 60\r\n100, -20\r\n";
    const std::string fast = dataSet(kDefaultGrain, table);
    const std::string precise =
        dataSet(kDefaultGrain, table, "Neigen=20\r\nEmission_dist=20\r\nMethod=precise\r\n");
    const Run fastRun = calc({"-"}, fast);
    const Run preciseRun = calc({"-"}, precise);
    QCOMPARE(preciseRun.status, 0);
    QCOMPARE(preciseRun.out, calc({"--method", "precise", "-"}, fast).out);
    QVERIFY(preciseRun.out != fastRun.out); // the methods differ on this history
    QCOMPARE(calc({"--method=fast", "-"}, precise).out, fastRun.out);

    QTemporaryDir dir;
    const QString csvPath = dir.filePath("h.csv");
    QFile csv(csvPath);
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write("history,time,temperature\na,0,150\na,20,120\na,40,60\na,100,-20\nb,0,20\nb,30,20\n");
    csv.close();
    const std::string histories = csvPath.toStdString();
    const Run batch = calc({"--histories", histories, "-"}, precise);
    QCOMPARE(batch.status, 0);
    QCOMPARE(batch.out, calc({"--method", "precise", "--histories", histories, "-"}, fast).out);
    QCOMPARE(calc({"--method", "fast", "--histories", histories, "-"}, precise).out,
             calc({"--histories", histories, "-"}, fast).out);
}

void TestTarvelCalc::methodsAgree() {
    const std::string file =
        dataSet(kDefaultGrain, "0, 150\r\n20, 120\r\n40, 60\r\n55, 90\r\n70, 10\r\n100, -20\r\n");
    const auto fast = column(calc({"--method=fast", "-"}, file).out, 1);
    const auto direct = column(calc({"--method=direct", "-"}, file).out, 1);
    QCOMPARE(fast.size(), std::size_t(21));
    QCOMPARE(fast.size(), direct.size());
    for (std::size_t i = 0; i < fast.size(); ++i)
        QVERIFY(std::abs(fast[i] - direct[i]) <= 1e-8 * std::abs(direct[i]) + 1e-6);
}

void TestTarvelCalc::coefficients() {
    const Run r = calc({"--coefficients", "-"}, dataSet(kDefaultGrain, ""));
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.rfind("k,coefficient\n1,0.2513758", 0) == 0);
    QCOMPARE(column(r.out, 0).size(), std::size_t(20));
    const Run many = calc({"--coefficients", "-"},
                          dataSet(kDefaultGrain, "", "Neigen=150\r\nEmission_dist=20\r\n"));
    QCOMPARE(column(many.out, 0).back(), 150.0);
}

void TestTarvelCalc::singlePointHistory() {
    const Run r = calc({"-"}, dataSet(kDefaultGrain, "7, 20\r\n"));
    QCOMPARE(r.out, std::string("time,calculated_time\n7,0\n"));
}

void TestTarvelCalc::malformedInput_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");
    const std::string okTable = "0, 20\r\n10, 30\r\n";
    QTest::newRow("no data set") << "just some text\n"
                                 << "[DataBegin";
    QTest::newRow("empty input") << ""
                                 << "[DataBegin";
    QTest::newRow("bad key value")
        << QString::fromStdString(dataSet(kDefaultGrain + "D0=12a\r\n", okTable))
        << "'12a' is not a valid floating point value";
    QTest::newRow("bad table value")
        << QString::fromStdString(dataSet(kDefaultGrain, "0, 20\r\n1,5, 20\r\n"))
        << "'5, 20' is not a valid floating point value";
    QTest::newRow("value beyond single precision")
        << QString::fromStdString(dataSet(kDefaultGrain, "0, 1e39\r\n"))
        << "' 1e39' is not a valid floating point value";
    QTest::newRow("geometry inverted")
        << QString::fromStdString(
               dataSet("Sphere_radius=60\r\nOuter_radius=20\r\nInner_radius=40\r\n", okTable))
        << "Setting does not satisfy: SphereRadius >= OuterRadius > InnerRadius >= 0";
    QTest::newRow("geometry missing")
        << QString::fromStdString(dataSet("", okTable)) << "Setting does not satisfy";
    QTest::newRow("zone outside sphere")
        << QString::fromStdString(
               dataSet("Sphere_radius=30\r\nOuter_radius=40\r\nInner_radius=20\r\n", okTable))
        << "Setting does not satisfy";
    QTest::newRow("negative emission distance")
        << QString::fromStdString(dataSet(kDefaultGrain, okTable, "Emission_dist=-0.5\r\n"))
        << "Emission_dist|-0.5";
    QTest::newRow("too many eigenvalues")
        << QString::fromStdString(
               dataSet(kDefaultGrain, okTable, "Neigen=2000000000\r\nEmission_dist=20\r\n"))
        << "too large";
    // Named by the file's own points and line, not by the stepped history's.
    QTest::newRow("time runs backwards")
        << QString::fromStdString(dataSet(kDefaultGrain, "0, 20\r\n50, 20\r\n30, 40\r\n"))
        << "backwards|time 30 (40|time 50 (20|line 11";
    QTest::newRow("cut off in the table")
        << QString::fromStdString(dataSet(kDefaultGrain, okTable).substr(0, 125))
        << "cut off|table";
    QTest::newRow("cut off in the annotation")
        << QString::fromStdString(dataSet(kDefaultGrain, okTable) + "[MemoBegin\r\nnote\r\n")
        << "cut off|annotation";
    QTest::newRow("no history") << QString::fromStdString(dataSet(kDefaultGrain, ""))
                                << "no thermal history";
    QTest::newRow("history ended by a blank line")
        << QString::fromStdString(dataSet(kDefaultGrain + "\r\n", okTable)) << "no thermal history";
    QTest::newRow("4 eigenvalues")
        << QString::fromStdString(dataSet(kDefaultGrain, okTable, "Neigen=4\r\n"))
        << "eigenvalues|Neigen|4";
    QTest::newRow("0 eigenvalues")
        << QString::fromStdString(dataSet(kDefaultGrain, okTable, "Neigen=0\r\n"))
        << "eigenvalues|Neigen|0";
    QTest::newRow("1 MB bad value")
        << QString::fromStdString(
               dataSet(kDefaultGrain + "D0=" + std::string(1 << 20, 'x') + "\r\n", okTable))
        << "D0|xxxxxxxxxx";
    QTest::newRow("history too long for bar steps")
        << QString::fromStdString(dataSet(kDefaultGrain, "0, 20\r\n1e9, 20\r\n"))
        << "too long to split into bars of 5 time units";
    QTest::newRow("control bytes shown, line kept whole")
        << QString::fromStdString(dataSet(kDefaultGrain + "D0=4\r2\x1b\r\n", okTable))
        << "'4\\r2?' is not a valid floating point value";
    QTest::newRow("below absolute zero")
        << QString::fromStdString(dataSet(kDefaultGrain, "0, 20\r\n10, -300\r\n")) << "-300";
    // A diffusivity no run can follow is refused before anything is
    // allocated, without and with parents (a sanitized build aborts on such an
    // allocation instead of failing it).
    for (const char *parents : {"", "U_ppm=10\r\n"})
        QTest::newRow(*parents ? "unfollowable diffusivity, parents" : "unfollowable diffusivity")
            << QString::fromStdString(dataSet(kDefaultGrain, "0, -273.14\r\n10, 1e20\r\n",
                                              std::string("Neigen=50\r\nEmission_dist=20\r\n"
                                                          "Activation_energy=-1e38\r\n"
                                                          "Method=precise\r\n") +
                                                  parents))
            << "memory";
}

void TestTarvelCalc::malformedInput() {
    QFETCH(QString, input);
    QFETCH(QString, message);
    const Run r = calc({"-"}, input.toStdString());
    QCOMPARE(r.status, 1);
    QVERIFY(r.out.empty());
    const QString err = QString::fromStdString(r.err);
    QVERIFY2(err.startsWith("tarvel-calc: -: "), qPrintable(err));
    for (const QString &part : message.split('|'))
        QVERIFY2(err.contains(part), qPrintable(err));
    QCOMPARE(err.count('\n'), 1);
    QVERIFY2(err.size() < 200, qPrintable(err)); // a short line, whatever the input
}

void TestTarvelCalc::missingFilesAndDirectories() {
    QTemporaryDir dir;
    const std::string missing = dir.filePath("missing.txt").toStdString();
    Run r = calc({missing});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err, "tarvel-calc: " + missing + ": cannot open: No such file or directory\n");
    r = calc({dir.path().toStdString()});
    QCOMPARE(r.status, 1);
    QVERIFY(r.err.find("is a directory") != std::string::npos);
}

void TestTarvelCalc::realProcess() {
    QProcess p;
    p.start(TARVEL_CALC_BINARY, {TARVEL_EXAMPLES_DIR "/default-grain.txt"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QByteArray out = p.readAllStandardOutput();
    QVERIFY(out.startsWith("time,calculated_time\n0,0\n5,"));
    QCOMPARE(out.count('\n'), 12); // 0..50 in steps of 5, plus the header

    QProcess fromStdin;
    fromStdin.start(TARVEL_CALC_BINARY, {"--no-steps", "-"});
    fromStdin.write("[DataBegin\nSphere_radius=60\nOuter_radius=40\nInner_radius=20\n"
                    "[TableStart\n0, -50\n50, -50\n]TableEnd\n");
    fromStdin.closeWriteChannel();
    QVERIFY(fromStdin.waitForFinished(60000));
    QCOMPARE(fromStdin.exitCode(), 0);
    QVERIFY(fromStdin.readAllStandardOutput().startsWith("time,calculated_time\n0,0\n50,49.99"));

    QProcess bad;
    bad.start(TARVEL_CALC_BINARY, {"--frobnicate"});
    QVERIFY(bad.waitForFinished(60000));
    QCOMPARE(bad.exitCode(), 2);
    QVERIFY(bad.readAllStandardError().contains("usage: tarvel-calc"));
}

// A data set with parents: its calculated time is the raw age of --ages, for
// one history and for batches; without parents --ages is refused.
void TestTarvelCalc::parentsDataSets() {
    const std::string file = std::string(TARVEL_EXAMPLES_DIR) + "/parents-late-cooling.txt";
    const Run times = calc({file});
    const Run ages = calc({"--ages", file});
    QCOMPARE(ages.status, 0);
    std::istringstream timeRows(times.out), ageRows(ages.out);
    std::string timeLine, ageLine, last;
    std::getline(timeRows, timeLine);
    std::getline(ageRows, ageLine);
    QCOMPARE(ageLine, std::string("time,he_nmol_g,raw_age,ft,corrected_age"));
    int rows = 0;
    while (std::getline(timeRows, timeLine) && std::getline(ageRows, ageLine)) {
        std::istringstream fields(ageLine);
        std::vector<std::string> f;
        for (std::string field; std::getline(fields, field, ',');)
            f.push_back(field);
        QCOMPARE(f.size(), std::size_t(5));
        QCOMPARE(f[0] + "," + f[2], timeLine); // the same time, the raw age
        QVERIFY(std::stod(f[3]) > 0.5 && std::stod(f[3]) < 1);
        last = ageLine;
        ++rows;
    }
    QVERIFY(rows > 10);
    QVERIFY(!std::getline(ageRows, ageLine));

    // The file's own curve as a batch of one: the same last row.
    const Run batch = calc({"--histories", "-", "--final", "--ages", file},
                           "h,t,T\nx,0,120\nx,57.5,65\nx,60,20\n");
    QCOMPARE(batch.status, 0);
    QCOMPARE(batch.out, "history,time,he_nmol_g,raw_age,ft,corrected_age\nx," + last + "\n");

    const Run perParent = calc({"--coefficients", file});
    QCOMPARE(perParent.out.substr(0, perParent.out.find('\n')),
             std::string("k,238U,235U,232Th,147Sm"));

    const Run refused = calc({"--ages", std::string(TARVEL_EXAMPLES_DIR) + "/default-grain.txt"});
    QCOMPARE(refused.status, 1);
    QVERIFY(refused.out.empty());
    QVERIFY2(refused.err.find("--ages") != std::string::npos, refused.err.c_str());
}

// Damage kinetics, from the data set or --kinetics (which overrides it
// either way), add the damage and log10 D/a² to --ages, for one history and
// for batches; without parents they are refused.
void TestTarvelCalc::damageKinetics() {
    const std::string file = std::string(TARVEL_EXAMPLES_DIR) + "/parents-late-cooling.txt";
    std::ifstream in(file, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), {}};
    const Run arrhenius = calc({"--ages", file});
    const Run rdaam = calc({"--ages", "--kinetics", "rdaam", file});
    QCOMPARE(rdaam.status, 0);
    QCOMPARE(rdaam.out.substr(0, rdaam.out.find('\n')),
             std::string("time,he_nmol_g,raw_age,ft,corrected_age,damage,log10_D_a2"));
    const auto withDamage = rows(rdaam.out);
    const auto plain = rows(arrhenius.out);
    QCOMPARE(withDamage.size(), plain.size());
    for (std::size_t i = 1; i < withDamage.size(); ++i) {
        QCOMPARE(withDamage[i].size(), std::size_t(7));
        QCOMPARE(withDamage[i][3], plain[i][3]); // the same FT
        QVERIFY(withDamage[i][2] != plain[i][2]);
        QVERIFY(std::stod(withDamage[i][5]) > std::stod(withDamage[i - 1][5])); // grows, cooling
    }
    QCOMPARE(withDamage[0][5], std::string("0"));

    // The same from the data set's key; --kinetics arrhenius takes it back.
    text.insert(text.find("#GrainData"), "Kinetics=rdaam\r\n");
    QCOMPARE(calc({"--ages", "-"}, text).out, rdaam.out);
    QCOMPARE(calc({"--ages", "--kinetics=arrhenius", "-"}, text).out, arrhenius.out);
    const Run times = calc({"-"}, text);
    QCOMPARE(column(times.out, 1).back(), std::stod(withDamage.back()[2]));
    const Run batch = calc({"--histories", "-", "--final", "--ages", "--kinetics", "rdaam", file},
                           "h,t,T\nx,0,120\nx,57.5,65\nx,60,20\n");
    const std::string last = rdaam.out.substr(rdaam.out.rfind('\n', rdaam.out.size() - 2) + 1);
    QCOMPARE(batch.out,
             "history,time,he_nmol_g,raw_age,ft,corrected_age,damage,log10_D_a2\nx," + last);

    const std::string noParents = std::string(TARVEL_EXAMPLES_DIR) + "/default-grain.txt";
    for (const Run &refused : {calc({"--kinetics", "zrdaam", noParents}),
                               calc({"--histories", "-", "--kinetics", "rdaam", noParents},
                                    "h,t,T\nx,0,20\nx,9,20\n")}) {
        QCOMPARE(refused.status, 1);
        QVERIFY(refused.out.empty());
        QCOMPARE(std::count(refused.err.begin(), refused.err.end(), '\n'), 1);
    }
}

void TestTarvelCalc::grainsMatchTheirOwnDataSets_data() {
    QTest::addColumn<QStringList>("options");
    QTest::newRow("the data set's method") << QStringList{};
    QTest::newRow("precise") << QStringList{"--method", "precise"};
    QTest::newRow("direct") << QStringList{"--method", "direct"};
    QTest::newRow("without steps") << QStringList{"--no-steps"};
    QTest::newRow("rdaam") << QStringList{"--kinetics", "rdaam"};
    QTest::newRow("zrdaam, precise") << QStringList{"--kinetics=zrdaam", "--method", "precise"};
}

// A grain of the sample is predicted as its own data set would be: a whole
// sphere of its radius with its parents, to the last digit.
void TestTarvelCalc::grainsMatchTheirOwnDataSets() {
    QFETCH(QStringList, options);
    std::vector<std::string> args;
    for (const QString &option : options)
        args.push_back(option.toStdString());
    args.insert(args.end(), {"--grains", kSampleGrains});
    const Run sample = calc(args);
    QCOMPARE(sample.status, 0);
    const auto predicted = rows(sample.out);
    QCOMPARE(predicted.size(), std::size_t(7));
    const std::vector<std::string> &ap4 = predicted[3]; // "Ap4, 80, 60, 120, 300, ..."
    QCOMPARE(ap4[0], std::string("Ap4"));

    std::ifstream file(kSampleGrains, std::ios::binary);
    std::string own{std::istreambuf_iterator<char>(file), {}};
    for (const auto &[key, value] : {std::pair{"Sphere_radius=70", "Sphere_radius=80"},
                                     {"Outer_radius=70", "Outer_radius=80"},
                                     {"U_ppm=30", "U_ppm=60"},
                                     {"Th_ppm=60", "Th_ppm=120"},
                                     {"Sm_ppm=100", "Sm_ppm=300"}})
        own.replace(own.find(key), std::string(key).size(), value);
    args.end()[-2] = "--ages";
    args.back() = "-";
    const auto last = rows(calc(args, own).out).back(); // time,he,raw,ft,corrected
    QCOMPARE(ap4[3], last[3]);
    QCOMPARE(ap4[4], last[2]);
    QCOMPARE(ap4[5], last[4]);
}

// The data set's own grain table, the same grains as a CSV on standard input,
// and the summary over the measured ones.
void TestTarvelCalc::grainSources() {
    const Run own = calc({"--grains", kSampleGrains});
    QCOMPARE(own.status, 0);
    const std::string csv = "grain , radius,U_ppm,Th_ppm,Sm_ppm,raw_age,raw_age_sd\r\n\r\n"
                            "Ap1,42,8,15,60,15.56,0.78\r\nAp6, 110, 90, 180, 450, ,\r\n";
    const auto given = rows(calc({kSampleGrains, "--grains", "-"}, csv).out);
    const auto all = rows(own.out);
    QCOMPARE(given, (std::vector{all[0], all[5]}));
    QVERIFY(given[1][6].empty() && given[1][8].empty()); // no measurement, no z
    // eU = U + 0.238 Th + 0.0012 Sm: 8 + 3.57 + 0.072 and 90 + 42.84 + 0.54.
    QVERIFY(std::fabs(std::stod(given[0][2]) - 11.642) <= 1e-12);
    QVERIFY(std::fabs(std::stod(given[1][2]) - 133.38) <= 1e-12);

    double chi2 = 0.0;
    for (const auto &grain : all)
        if (!grain[8].empty())
            chi2 += std::stod(grain[8]) * std::stod(grain[8]);
    const auto summary = rows(calc({"--grains", "--summary", kSampleGrains}).out);
    QCOMPARE(summary.size(), std::size_t(1));
    QCOMPARE(summary[0][0], std::string("6"));
    QCOMPARE(std::stod(summary[0][1]), chi2);
    // Measured ages within a few percent of the predictions fit well.
    QVERIFY(std::stod(summary[0][2]) > 0.5);
    QCOMPARE(summary[0][3], std::string("good"));

    const Run none = calc({"--grains=-", "--summary", kSampleGrains},
                          "grain,radius,U_ppm,Th_ppm,Sm_ppm,raw_age,raw_age_sd\nA,50,1,1,1,,\n");
    QCOMPARE(none.out, std::string("grains,chi2,p_value,verdict\n0,0,,\n"));
}

void TestTarvelCalc::grainRefusals() {
    const std::string header = "grain,radius,U_ppm,Th_ppm,Sm_ppm,raw_age,raw_age_sd\n";
    for (const auto &[file, csv, named] : std::vector<std::array<std::string, 3>>{
             {kSampleGrains, header + "A,50,1,1,1,,\nB,50,1,x,1,,\n", "-: Line 3"},
             {kSampleGrains, "grain,radius\nA,50\n", "-: Line 1"},
             {std::string(TARVEL_EXAMPLES_DIR) + "/default-grain.txt", "", "grain table"}}) {
        const Run r = csv.empty() ? calc({"--grains", file}) : calc({"--grains", "-", file}, csv);
        QCOMPARE(r.status, 1);
        QVERIFY(r.out.empty());
        QVERIFY2(r.err.find(named) != std::string::npos, r.err.c_str());
        QCOMPARE(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    }
}

// A search's three outputs tell the same story: the summary counts the
// verdicts of the accepted paths, the envelope holds their extremes (each path
// linear between its nodes) and the best path, and each accepted path, given
// to --grains --summary as the data set's history, has the chi-square and
// probability the search gave it.
void TestTarvelCalc::searchOutputsAgree() {
    QTemporaryDir dir;
    const std::string accepted = dir.filePath("accepted.csv").toStdString();
    const std::string envelope = dir.filePath("envelope.csv").toStdString();
    const Run r = calc({"--invert", "--paths", "600", "--seed", "3", "--accepted", accepted,
                        "--envelope", envelope, kSearchSample});
    QCOMPARE(r.status, 0);
    QVERIFY(r.err.empty());
    QVERIFY(r.out.rfind("paths,good,acceptable,best_chi2,best_p\n", 0) == 0);
    const auto summary = rows(r.out).at(0);

    struct Path {
        std::string chi2, p, verdict;
        std::vector<std::pair<double, double>> nodes;
        std::string table; // as a data set's curve table
    };
    std::map<long, Path> paths;
    for (const auto &row : rows(fileText(accepted))) {
        Path &path = paths[std::stol(row.at(0))];
        path.chi2 = row[1];
        path.p = row[2];
        path.verdict = row[3];
        path.nodes.emplace_back(std::stod(row[4]), std::stod(row[5]));
        path.table += row[4] + ", " + row[5] + "\r\n";
    }
    const auto good = std::count_if(paths.begin(), paths.end(),
                                    [](const auto &p) { return p.second.verdict == "good"; });
    QCOMPARE(summary.at(0), std::string("600"));
    QCOMPARE(std::stol(summary.at(1)), long(good));
    QCOMPARE(std::stol(summary.at(2)), long(paths.size()));
    QVERIFY(good > 0 && paths.size() > std::size_t(good) + 3); // both classes hold paths

    auto at = [](const Path &path, double t) {
        const auto &n = path.nodes;
        for (std::size_t i = 1; i < n.size(); ++i)
            if (t < n[i].first)
                return n[i - 1].second + (n[i].second - n[i - 1].second) * (t - n[i - 1].first) /
                                             (n[i].first - n[i - 1].first);
        return n.back().second;
    };
    const auto envelopeRows = rows(fileText(envelope));
    QCOMPARE(envelopeRows.size(), std::size_t(201));
    const Path *best = nullptr;
    for (const auto &[k, path] : paths)
        if (path.chi2 == summary.at(3) && !best)
            best = &path;
    for (std::size_t i = 0; i < envelopeRows.size(); ++i) {
        const auto &row = envelopeRows[i];
        const double t = std::stod(row.at(0));
        QVERIFY(std::fabs(t - 120.0 * i / 200) < 1e-12);
        double low[2] = {1e300, 1e300}, high[2] = {-1e300, -1e300};
        for (const auto &[k, path] : paths)
            for (int c = path.verdict == "good" ? 0 : 1; c < 2; ++c) {
                low[c] = std::min(low[c], at(path, t));
                high[c] = std::max(high[c], at(path, t));
            }
        for (int c = 0; c < 2; ++c) {
            if (c == 0 && good == 0) {
                QVERIFY(row[1].empty() && row[2].empty());
                continue;
            }
            QVERIFY(std::fabs(std::stod(row.at(1 + 2 * c)) - low[c]) < 1e-9);
            QVERIFY(std::fabs(std::stod(row.at(2 + 2 * c)) - high[c]) < 1e-9);
        }
        if (best)
            QVERIFY(std::fabs(std::stod(row.at(5)) - at(*best, t)) < 1e-9);
    }

    const std::string sample = fileText(kSearchSample);
    const std::string table =
        sample.substr(sample.find("[TableStart\r\n") + 13,
                      sample.find("]TableEnd") - sample.find("[TableStart\r\n") - 13);
    for (const auto &[k, path] : paths) {
        const Run grains =
            calc({"--grains", "--summary", "-"}, replaced(sample, table, path.table));
        QCOMPARE(grains.status, 0);
        const auto fit = rows(grains.out).at(0); // grains,chi2,p_value,verdict
        QCOMPARE(fit.at(0), std::string("8"));
        QCOMPARE(fit.at(1), path.chi2);
        QCOMPARE(fit.at(2), path.p);
        QCOMPARE(fit.at(3), path.verdict);
    }
}

void TestTarvelCalc::searchRefusals_data() {
    QTest::addColumn<QString>("dataSet");
    QTest::addColumn<QStringList>("options");
    const std::string sample = fileText(kSearchSample);
    const auto row = [&](const char *name, const std::string &from, const std::string &to,
                         const QStringList &options = {}) {
        QTest::newRow(name) << QString::fromStdString(replaced(sample, from, to)) << options;
    };
    std::string grains = sample.substr(sample.find("S1,"));
    grains = grains.substr(0, grains.find("]GrainsEnd"));
    row("no grain with a measured age", grains, "S6, 75, 30, 15, 200, , \r\n");
    row("no boxes", "[ConstraintsStart", "[NoConstraints");
    row("no box at time 0", "0, 0, 110, 150", "5, 10, 110, 150");
    row("no box at the present", "120, 120, 10, 20", "110, 118, 10, 20");
    row("a rate of 0", "Search_max_rate=10", "Search_max_rate=0");
    row("no paths", "", "", {"--paths", "0"});
    row("a folder that does not exist", "", "", {"--envelope", "/nonexistent/folder/e.csv"});
}

// Refused in one line, exit status 1, nothing written: no output and no files.
void TestTarvelCalc::searchRefusals() {
    QFETCH(QString, dataSet);
    QFETCH(QStringList, options);
    QTemporaryDir dir;
    std::vector<std::string> args = {"--invert", "--accepted", dir.filePath("a.csv").toStdString()};
    for (const QString &option : options)
        args.push_back(option.toStdString());
    args.push_back("-");
    const Run r = calc(args, dataSet.toStdString());
    QCOMPARE(r.status, 1);
    QVERIFY(r.out.empty());
    QCOMPARE(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    QVERIFY(QDir(dir.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestTarvelCalc)
#include "test_tarvelcalc.moc"
