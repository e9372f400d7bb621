#include "calccommand.h"
#include "calcrun.h"

#include <QtTest>

#include <omp.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

namespace {

const std::string kGrainFile = TARVEL_EXAMPLES_DIR "/default-grain.txt";

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
    void largeInputsAreCutBetweenHistories();
    void fileWithLongBlankStretches();
    void failedWriteEndsTheRun();
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

    // Far into a large input, past the first blocks the rows are parsed in:
    // lines 2 to 12001 hold 4000 histories of three rows.
    QString many = head;
    for (int h = 0; h < 4000; ++h)
        many += QString("h%1,0,20\nh%1,5,30\nh%1,9,40\n").arg(h);
    QTest::newRow("far: value") << many + "z,1,20\nz,2,x\n"
                                << "line 12003|'z'";
    QTest::newRow("far: history split") << many + "z,1,20\nh7,12,20\n"
                                        << "line 12003|'h7'";
    QTest::newRow("far: backwards") << many + "z,5,20\nz,4,20\n"
                                    << "'z'|line 12003|line 12002";
    QTest::newRow("far: split before a bad value") << many + "h1,12,20\nz,2,x\n"
                                                   << "line 12002|'h1'";
    QTest::newRow("far: bad value before a split") << many + "z,2,x\nh1,12,20\n"
                                                   << "line 12002|'z'";
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
        QVERIFY2(err.contains(QRegularExpression(QRegularExpression::escape(part) + "(?!\\d)")),
                 qPrintable(err));
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

void TestBatch::largeInputsAreCutBetweenHistories() {
    // The rows are parsed in blocks; a history must give the same result among
    // many as alone, whether it is longer than a block or has blank lines.
    std::vector<History> histories;
    std::vector<std::string> ids, times;
    for (int h = 0; h < 3000; ++h)
        ids.push_back(std::string("s").append(std::to_string(h)));
    for (int i = 0; i < 9000; ++i) // about twice the size of a block
        times.push_back(std::to_string(i) + ".5");
    for (int h = 0; h < 3000; ++h) {
        if (h == 1500) {
            histories.push_back({"long", {}});
            for (std::size_t i = 0; i < times.size(); ++i)
                histories.back().points.push_back({times[i].c_str(), i % 2 ? "40" : "80"});
        }
        histories.push_back({ids[h], {{"0", "20"}, {"4", "60"}, {"9", "30"}}});
    }
    std::string input = "history,time,temperature\n";
    for (const History &h : histories)
        for (const Point &p : h.points) // blank lines inside and between some histories
            input += (h.id[1] == '2' ? "\r\n\n" : "") + h.id + "," + p.time + "," + p.temp + "\n";
    const std::vector<std::string> args{"--no-steps", "--histories", "-", kGrainFile};
    const Run batch = calc(args, input);
    QCOMPARE(batch.status, 0);

    std::map<std::string, std::string> rows; // each history's rows in the batch output
    std::vector<std::string> order;
    std::istringstream lines(batch.out);
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        const std::string id = line.substr(0, line.find(','));
        if (order.empty() || order.back() != id)
            order.push_back(id);
        rows[id] += line + "\n";
    }
    QCOMPARE(order.size(), histories.size());
    for (std::size_t h = 0; h < histories.size(); ++h)
        QCOMPARE(order[h], histories[h].id);
    for (const std::size_t h :
         {std::size_t(0), std::size_t(1500), std::size_t(1501), std::size_t(2999)}) {
        const Run alone = calc(args, csv({histories[h]}));
        QCOMPARE(rows[histories[h].id], alone.out.substr(alone.out.find('\n') + 1));
    }
}

void TestBatch::fileWithLongBlankStretches() {
    // A file is read in pieces; long stretches of blank lines cross pieces
    // and blocks without parting a history or shifting a line number.
    QTemporaryDir dir;
    const std::string path = dir.filePath("histories.csv").toStdString();
    const std::string blanks(3'000'000, '\n');
    const std::vector<History> histories = {{"a", {{"0", "20"}, {"5", "30"}}},
                                            {"b", {{"0", "10"}, {"3", "10"}}}};
    std::ofstream(path, std::ios::binary) << "history,time,temperature\na,0,20\n"
                                          << blanks << "a,5,30\nb,0,10\n"
                                          << blanks << "b,3,10\nc,2,x\n";
    Run r = calc({"--histories", path, kGrainFile}, "");
    QCOMPARE(r.status, 1);
    QVERIFY2(QString::fromStdString(r.err).contains(QRegularExpression("line 6000006(?!\\d)")),
             r.err.c_str());

    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 7); // without c's row
    r = calc({"--histories", path, kGrainFile}, "");
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, singleRuns(histories, true, false));

    r = calc({"--histories", dir.path().toStdString(), kGrainFile}, "");
    QCOMPARE(r.status, 1);
    QVERIFY(r.out.empty());
}

// Takes `room` bytes, then fails like a full disk.
class FullDisk : public std::streambuf {
public:
    explicit FullDisk(std::size_t room) : room_(room) {}
    std::string taken;

protected:
    int_type overflow(int_type c) override {
        if (c == traits_type::eof() || taken.size() >= room_)
            return traits_type::eof();
        taken += traits_type::to_char_type(c);
        return c;
    }

private:
    std::size_t room_;
};

void TestBatch::failedWriteEndsTheRun() {
    // The write fails in the middle of a later chunk, while other threads
    // compute the next: the run must end with an error, not hang.
    std::string input = "history,time,temperature\n";
    for (int h = 0; h < 20000; ++h)
        input += std::string("h").append(std::to_string(h)) + ",5,60\n";
    const std::vector<std::string> args{"--final", "--histories", "-", kGrainFile};
    const Run whole = calc(args, input);
    QCOMPARE(whole.status, 0);

    std::istringstream in(input);
    FullDisk disk(whole.out.size() / 2);
    std::ostream out(&disk);
    std::ostringstream err;
    QCOMPARE(runTarvelCalc(args, in, out, err), 1);
    QCOMPARE(QString::fromStdString(err.str()).count('\n'), 1);
    QVERIFY(disk.taken.size() < whole.out.size());
    QCOMPARE(disk.taken, whole.out.substr(0, disk.taken.size()));
}

QTEST_GUILESS_MAIN(TestBatch)
#include "test_batch.moc"
