#include "calccommand.h"

#include <QtTest>

#include <omp.h>

#include <random>
#include <sstream>

namespace {

const std::string kGrainFile = TARVEL_EXAMPLES_DIR "/default-grain.txt";

struct Run {
    int status = -1;
    std::string out, err;
};

Run calc(const std::vector<std::string> &args, const std::string &input) {
    std::istringstream in(input);
    std::ostringstream out, err;
    Run r;
    r.status = runTarvelCalc(args, in, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

struct Point {
    const char *time, *temp;
};
struct History {
    std::string id;
    std::vector<Point> points;
};

// The histories as one CSV, for the batch.
std::string csv(const std::vector<History> &histories) {
    std::string text = "history,time,temperature\r\n";
    for (const History &h : histories)
        for (const Point &p : h.points)
            text += h.id + "," + p.time + "," + p.temp + "\r\n";
    return text;
}

// What single runs print for each history, their rows prefixed with its id.
std::string singleRuns(const std::vector<History> &histories, bool steps, bool finalOnly) {
    std::string text = "history,time,calculated_time\n";
    for (const History &h : histories) {
        std::string file = "[DataBegin\r\nNeigen=20\r\nEmission_dist=20\r\nSphere_radius=60\r\n"
                           "Outer_radius=40\r\nInner_radius=20\r\n[TableStart\r\n";
        for (const Point &p : h.points)
            file += std::string(p.time) + ", " + p.temp + "\r\n";
        file += "]TableEnd\r\n";
        std::vector<std::string> args{"-"};
        if (!steps)
            args.insert(args.begin(), "--no-steps");
        const Run r = calc(args, file);
        std::istringstream lines(r.out);
        std::string line, last;
        std::getline(lines, line); // header
        while (std::getline(lines, line)) {
            if (!finalOnly)
                text += h.id + "," + line + "\n";
            last = line;
        }
        if (finalOnly)
            text += h.id + "," + last + "\n";
    }
    return text;
}

} // namespace

class TestBatch : public QObject {
    Q_OBJECT
private slots:
    void equalsSingleRuns();
    void refusals_data();
    void refusals();
    void orderUnderManyThreads();
};

void TestBatch::equalsSingleRuns() {
    const std::vector<History> histories = {
        {"one point", {{"7", "20"}}},
        {"vertical step", {{"0", "20"}, {"12", "20"}, {"12", "80"}, {"14", "80"}}},
        {"cold", {{"0", "-50"}, {"50", "-50"}, {"100", "-50"}}},
        {"hot", {{"0", "60"}, {"33.3", "95"}, {"100", "60"}}},
        {"cooling", {{"0", "150"}, {"20", "120"}, {"40", "60"}, {"55", " 90 "}, {"100", "-20"}}},
    };
    for (const bool steps : {true, false}) {
        for (const bool finalOnly : {false, true}) {
            std::vector<std::string> args{"--histories", "-", kGrainFile};
            if (!steps)
                args.push_back("--no-steps");
            if (finalOnly)
                args.push_back("--final");
            const Run batch = calc(args, csv(histories));
            QCOMPARE(batch.status, 0);
            QCOMPARE(batch.out, singleRuns(histories, steps, finalOnly));
        }
    }
}

void TestBatch::refusals_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("named"); // what the message must name, '|' between
    const QString head = "history,time,temperature\n";
    QTest::newRow("value") << head + "a,0,20\na,5,2x0\n"
                           << "line 3|'a'|2x0";
    QTest::newRow("fields") << head + "a,0,20\na,5\n"
                            << "line 3";
    QTest::newRow("backwards") << head + "a,0,20\nb,0,20\nb,9,20\nb,4,20\n"
                               << "'b'|line 5|line 4";
    QTest::newRow("empty id") << head + "a,0,20\n ,5,20\n"
                              << "line 3";
    QTest::newRow("history split") << head + "a,0,20\nb,0,20\na,5,20\n"
                                   << "line 4|'a'";
    QTest::newRow("no header") << "a,0,20\na,5,20\n"
                               << "line 1";
    QTest::newRow("no histories") << head << "histories";
    QTest::newRow("below absolute zero") << head + "a,0,20\na,5,-300\n"
                                         << "'a'|line 3|-300";
}

void TestBatch::refusals() {
    QFETCH(QString, input);
    QFETCH(QString, named);
    const Run r = calc({"--histories", "-", kGrainFile}, input.toStdString());
    QCOMPARE(r.status, 1);
    QVERIFY(r.out.empty());
    const QString err = QString::fromStdString(r.err);
    QCOMPARE(err.count('\n'), 1);
    for (const QString &part : named.split('|'))
        QVERIFY2(err.contains(part), qPrintable(err));
}

void TestBatch::orderUnderManyThreads() {
    // Histories of very different lengths finish out of order, across more
    // than one chunk; the output must still follow the input.
    std::mt19937 rng(7);
    std::string input = "history,time,temperature\n";
    std::vector<std::string> ids;
    for (int h = 0; h < 9000; ++h) {
        ids.push_back(QString("h%1").arg((h * 7919) % 9001).toStdString());
        const int points = 1 + static_cast<int>(rng() % 12); // light enough for the sanitizers
        for (int i = 0; i < points; ++i)
            input += QString("%1,%2,%3\n")
                         .arg(QString::fromStdString(ids.back()))
                         .arg(i * 3)
                         .arg(rng() % 120)
                         .toStdString();
    }
    const int threads = omp_get_max_threads();
    omp_set_num_threads(1);
    const Run one = calc({"--final", "--no-steps", "--histories", "-", kGrainFile}, input);
    omp_set_num_threads(8);
    const Run many = calc({"--final", "--no-steps", "--histories", "-", kGrainFile}, input);
    omp_set_num_threads(threads);
    QCOMPARE(many.status, 0);
    QCOMPARE(many.out, one.out);
    std::istringstream lines(many.out);
    std::string line;
    std::getline(lines, line);
    for (const std::string &id : ids) {
        QVERIFY(std::getline(lines, line));
        QCOMPARE(line.substr(0, line.find(',')), id);
    }
    QVERIFY(!std::getline(lines, line));
}

QTEST_GUILESS_MAIN(TestBatch)
#include "test_batch.moc"
