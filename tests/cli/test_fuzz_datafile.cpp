// Damaged data files, made from the examples by a seeded mutator, fed to the
// data file reader and to tarvel-calc in process. The reader must refuse a file
// with its own error or read finite values that survive saving and reading
// back; tarvel-calc must exit with 0 and finite results, or with 1 and one line
// naming the problem. A crash or a case that hangs ends the run with the seed
// and the case's number.
//
// Environment: TARVEL_FUZZ_SEED (default: random), TARVEL_FUZZ_CASES (5000),
// TARVEL_FUZZ_SECONDS (60, the run stops early when they are used up);
// TARVEL_FUZZ_CASE=N runs case N alone and TARVEL_FUZZ_SAVE=FILE writes its bytes.
#include "calccommand.h"
#include "datamodule.h"
#include "errors.h"

#include <QDir>
#include <QtTest>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <typeinfo>
#include <unistd.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#include <sanitizer/common_interface_defs.h>
#define TARVEL_FUZZ_SANITIZED 1
#endif

namespace {

using Clock = std::chrono::steady_clock;

// Sizes are capped so that no case may legitimately take long.
constexpr std::size_t kMaxFileBytes = 256 * 1024;
constexpr std::int32_t kMaxCalcEigenvalues = 100;
constexpr double kMaxSteppedPoints = 20000; // above this tarvel-calc gets --no-steps
constexpr std::size_t kMaxDirectPoints = 300;
// Generous: a case takes milliseconds, but sanitizer builds on a busy machine are slow.
constexpr auto kCaseTimeLimit = std::chrono::seconds(60);

std::uint64_t envNumber(const char *name, std::uint64_t fallback) {
    const char *text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

std::uint64_t mix(std::uint64_t x) { // splitmix64
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

std::string readWhole(const QString &path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// ---- the mutator ----

const std::array kMarkers = {"[DataBegin",   "]DataEnd",    "[TableStart", "]TableEnd",
                             "[MemoBegin",   "]MemoEnd",    "#Tarvel 0.9", "",
                             "[TableStart ", " ]TableEnd",  "=",           ",",
                             "Neigen=",      "[DataBegin\r"};

const std::array kKeys = {"Neigen",        "Emission_dist", "Activation_energy", "D0",
                          "Sphere_radius", "Outer_radius",  "Inner_radius"};

const std::array kOddNumbers = {
    "nan",
    "inf",
    "-inf",
    "NaN",
    "1e4000",
    "-1e4000",
    "1e-400",
    "1e38",
    "-1e38",
    "3.4028235e38",
    "3.4028236e38",
    "1e39",
    "1e-45",
    "0",
    "-0",
    "-273.15",
    "-273.16",
    "-1e30",
    "1e30",
    "2147483647",
    "2147483648",
    "-2147483649",
    "16777217",
    "1e9",
    "0x10",
    "1.5.5",
    "--1",
    "1e+",
    ".",
    "-",
    "",
    " 12 ",
    "1,5",
    "1e-30",
    "5",
    "4.99999",
    "100",
    "1e-7",
    "-1",
    "0.1",
    "99999999999999999999999",
};

class Mutator {
public:
    explicit Mutator(std::uint64_t seed) : rng_(seed) {}

    std::string damage(std::string text) {
        const std::size_t count = 1 + pick(4);
        for (std::size_t i = 0; i < count; ++i)
            mutate(text);
        if (text.size() > kMaxFileBytes)
            text.resize(kMaxFileBytes);
        return text;
    }

    std::size_t pick(std::size_t n) { return n == 0 ? 0 : rng_() % n; }
    bool chance(unsigned percent) { return rng_() % 100 < percent; }

private:
    std::mt19937_64 rng_;

    // Lines with their line ends, so that joining them gives the text back.
    static std::vector<std::string> split(const std::string &text) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t lf = text.find('\n', start);
            const std::size_t end = lf == std::string::npos ? text.size() : lf + 1;
            lines.push_back(text.substr(start, end - start));
            start = end;
        }
        return lines;
    }
    static std::string join(const std::vector<std::string> &lines) {
        std::string text;
        for (const auto &line : lines)
            text += line;
        return text;
    }

    std::string oddNumber() {
        switch (pick(4)) {
        case 0:
            return std::string(1 + pick(400), char('1' + pick(9))); // many digits
        case 1: {                                                   // any exponent
            std::string text = chance(50) ? "-" : "";
            text += std::to_string(pick(10)) + "e" + std::to_string(int(pick(800)) - 400);
            return text;
        }
        default:
            return kOddNumbers[pick(kOddNumbers.size())];
        }
    }

    std::string lineEnd() {
        static const std::array ends = {"\r\n", "\n", "\r", "\n\r", ""};
        return chance(80) ? "\r\n" : ends[pick(ends.size())];
    }

    void mutate(std::string &text) {
        std::vector<std::string> lines = split(text);
        const std::size_t at = pick(lines.size() + 1);
        switch (pick(13)) {
        case 0: // flip bits or overwrite bytes
            for (std::size_t i = 1 + pick(8); i > 0 && !text.empty(); --i) {
                char &c = text[pick(text.size())];
                c = chance(50) ? char(c ^ (1 << pick(8))) : char(rng_());
            }
            return;
        case 1: // truncate
            text.resize(pick(text.size() + 1));
            return;
        case 2: // duplicate a line, sometimes many times
            if (!lines.empty()) {
                const std::string line = lines[pick(lines.size())];
                const std::size_t times = chance(20) ? 1 + pick(3000) : 1 + pick(3);
                lines.insert(lines.begin() + std::ptrdiff_t(at), times, line);
            }
            break;
        case 3: // delete lines
            if (!lines.empty()) {
                const std::size_t first = pick(lines.size());
                const std::size_t n = std::min(lines.size() - first, 1 + pick(3));
                lines.erase(lines.begin() + std::ptrdiff_t(first),
                            lines.begin() + std::ptrdiff_t(first + n));
            }
            break;
        case 4: // swap two lines
            if (lines.size() > 1)
                std::swap(lines[pick(lines.size())], lines[pick(lines.size())]);
            break;
        case 5: // a marker line
            lines.insert(lines.begin() + std::ptrdiff_t(at),
                         kMarkers[pick(kMarkers.size())] + lineEnd());
            break;
        case 6: { // an odd number in place of a number of the text
            const std::size_t digit = text.find_first_of("0123456789", pick(text.size() + 1));
            if (digit == std::string::npos)
                return;
            std::size_t begin = digit, end = digit;
            while (begin > 0 && std::strchr("0123456789.eE+-", text[begin - 1]))
                --begin;
            while (end < text.size() && std::strchr("0123456789.eE+-", text[end]))
                ++end;
            text.replace(begin, end - begin, oddNumber());
            return;
        }
        case 7: // a key with an odd value
            lines.insert(lines.begin() + std::ptrdiff_t(at),
                         kKeys[pick(kKeys.size())] + std::string(chance(20) ? " = " : "=") +
                             oddNumber() + lineEnd());
            break;
        case 8: { // a long line
            const std::size_t length = 1000 + pick(100000);
            std::string line;
            if (chance(30)) {
                line = std::string(length, char('0' + pick(10)));
            } else if (chance(30)) {
                while (line.size() < length)
                    line += "1, ";
            } else {
                line = kKeys[pick(kKeys.size())] + std::string("=") + std::string(length, '7');
            }
            lines.insert(lines.begin() + std::ptrdiff_t(at), line + lineEnd());
            break;
        }
        case 9: // mixed line ends
            for (auto &line : lines) {
                if (!chance(30))
                    continue;
                while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                    line.pop_back();
                line += lineEnd();
            }
            break;
        case 10: { // binary bytes
            std::string bytes;
            for (std::size_t i = 1 + pick(32); i > 0; --i)
                bytes += chance(30) ? '\0' : char(rng_());
            text.insert(pick(text.size() + 1), bytes);
            return;
        }
        case 11: // a history of its own, often one that is hard to compute
            lines.insert(lines.begin() + std::ptrdiff_t(at), history());
            break;
        default: // a plausible geometry at an edge
            lines.insert(lines.begin() + std::ptrdiff_t(at), geometry());
            break;
        }
        text = join(lines);
    }

    std::string history() {
        static const std::array steps = {0.0, 1e-7, 1e-3, 0.5, 1.0, 5.0, 7.5, 50.0, 1e4, -1.0};
        static const std::array temps = {-273.14, -200.0, -50.0, 0.0,  20.0, 120.0,
                                         500.0,   1e4,    1e6,   1e20, 1e30, -273.15};
        std::string text = "[TableStart\r\n";
        double time = chance(50) ? 0.0 : double(pick(1000)) - 500.0;
        for (std::size_t i = 1 + pick(200); i > 0; --i) {
            text +=
                std::to_string(time) + ", " + std::to_string(temps[pick(temps.size())]) + "\r\n";
            time += steps[pick(steps.size())];
        }
        return text + "]TableEnd\r\n";
    }

    std::string geometry() {
        static const std::array radii = {"0", "1e-30", "0.5", "20", "40", "60", "1e6", "1e30"};
        std::string text;
        for (std::size_t k = 1; k < kKeys.size(); ++k)
            if (chance(60))
                text += kKeys[k] + std::string("=") + radii[pick(radii.size())] + "\r\n";
        if (chance(30))
            text += "Neigen=" + std::to_string(int(pick(60)) - 5) + "\r\n";
        return text;
    }
};

// ---- crash and hang reports ----

std::atomic<std::uint64_t> gSeed{0};
std::atomic<std::uint64_t> gCase{0};
std::atomic<bool> gInCase{false};

// Async-signal-safe: only write(2) and hand-made digits.
void writeCrashNote() {
    if (!gInCase.load())
        return;
    char buf[160];
    std::size_t n = 0;
    auto put = [&](const char *s) {
        while (*s && n < sizeof buf)
            buf[n++] = *s++;
    };
    auto putNumber = [&](std::uint64_t v) {
        char digits[24];
        std::size_t d = 0;
        do {
            digits[d++] = char('0' + v % 10);
            v /= 10;
        } while (v);
        while (d && n < sizeof buf)
            buf[n++] = digits[--d];
    };
    put("\nfuzz: ended abnormally in case ");
    putNumber(gCase.load());
    put(" (replay: TARVEL_FUZZ_SEED=");
    putNumber(gSeed.load());
    put(" TARVEL_FUZZ_CASE=");
    putNumber(gCase.load());
    put(")\n");
    [[maybe_unused]] const auto written = ::write(2, buf, n);
}

#ifndef TARVEL_FUZZ_SANITIZED
constexpr std::array kFatalSignals = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
struct sigaction gPreviousActions[kFatalSignals.size()];

void onFatalSignal(int sig) {
    writeCrashNote();
    for (std::size_t i = 0; i < kFatalSignals.size(); ++i)
        if (kFatalSignals[i] == sig)
            sigaction(sig, &gPreviousActions[i], nullptr); // Qt Test's report, or the default
    raise(sig);
}
#endif

void installCrashNote() {
#ifdef TARVEL_FUZZ_SANITIZED
    __sanitizer_set_death_callback(writeCrashNote);
#else
    for (std::size_t i = 0; i < kFatalSignals.size(); ++i) {
        struct sigaction action {};
        action.sa_handler = onFatalSignal;
        sigemptyset(&action.sa_mask);
        sigaction(kFatalSignals[i], &action, &gPreviousActions[i]);
    }
#endif
}

// Ends the process when one case runs for longer than kCaseTimeLimit.
class Watchdog {
public:
    Watchdog() : thread_([this] { watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void begin(std::uint64_t index) {
        std::lock_guard lock(mutex_);
        started_ = Clock::now();
        running_ = true;
        gCase.store(index);
        gInCase.store(true);
    }
    void end() {
        std::lock_guard lock(mutex_);
        running_ = false;
        gInCase.store(false);
    }

private:
    void watch() {
        std::unique_lock lock(mutex_);
        while (!stop_) {
            wake_.wait_for(lock, std::chrono::seconds(1));
            if (running_ && Clock::now() - started_ > kCaseTimeLimit) {
                std::fprintf(stderr, "fuzz: case %llu has run for more than %lld s\n",
                             static_cast<unsigned long long>(gCase.load()),
                             static_cast<long long>(kCaseTimeLimit.count()));
                std::abort(); // the crash note names the seed and the case
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false, running_ = false;
    Clock::time_point started_;
    std::thread thread_;
};

// ---- the checks; each returns what went wrong, or nothing ----

std::string saved(const TDataModule1 &model) {
    std::ostringstream out;
    model.WriteDataFile(out);
    return out.str();
}

bool allFinite(const TDataModule1 &m) {
    const ThermalCurve &c = m.GetCurrentCurve();
    for (std::size_t i = 0; i < c.Time.size(); ++i)
        if (!std::isfinite(c.Time[i]) || !std::isfinite(c.Temp[i]))
            return false;
    for (const float v :
         {m.ModelData.Emission_dist, m.ModelData.Activation_energy, m.ModelData.D0,
          m.GrainData.Sphere_radius, m.GrainData.Outer_radius, m.GrainData.Inner_radius})
        if (!std::isfinite(v))
            return false;
    return true;
}

std::string readerProblem(const std::string &bytes, TDataModule1 &model, bool &accepted) {
    accepted = false;
    std::istringstream in(bytes);
    try {
        model.ReadDataFile(in);
    } catch (const tarvel::Error &) {
        return {};
    } catch (const std::exception &e) {
        return std::string("the reader threw ") + typeid(e).name() + ": " + e.what();
    } catch (...) {
        return "the reader threw something that is not an exception";
    }
    accepted = true;
    const ThermalCurve &curve = model.GetCurrentCurve();
    if (curve.Time.size() != curve.Temp.size() || curve.Time.empty())
        return "the curve read has unequal or no time and temperature slots";
    if (!allFinite(model))
        return "a value read is not finite";

    // Saving what was read and reading it back must give the same data set.
    try {
        const std::string first = saved(model);
        TDataModule1 again;
        std::istringstream copy(first);
        again.ReadDataFile(copy);
        if (saved(again) != first)
            return "the data set changes when it is saved and read back";
    } catch (const std::exception &e) {
        return std::string("the saved copy cannot be read back: ") + e.what();
    }
    return {};
}

// Our messages are sentences in the user's words; the standard library's
// exceptions name its own functions ("vector::_M_realloc_insert"). Text quoted
// from the file is left out, as it may hold anything.
bool isLibraryMessage(std::string message) {
    if (const auto open = message.find('\''); open != std::string::npos)
        message.erase(open, message.rfind('\'') - open + 1);
    return message.find("::") != std::string::npos || message.find("_M_") != std::string::npos;
}

bool parseFinite(const std::string &text, double &value) {
    if (text.empty())
        return false;
    char *end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

struct CalcCase {
    std::vector<std::string> args;
    bool coefficients = false;
    bool noSteps = false;
    bool ages = false; // helium ages of a data set with parents
};

std::string calcProblem(const std::string &bytes, const CalcCase &c, const TDataModule1 *read,
                        int &status) {
    std::istringstream in(bytes);
    std::ostringstream out, err;
    status = runTarvelCalc(c.args, in, out, err);
    const std::string o = out.str(), e = err.str();
    if (status == 1) {
        if (!o.empty())
            return "tarvel-calc failed but wrote output";
        if (e.rfind("tarvel-calc: -: ", 0) != 0 || e.find('\n') != e.size() - 1)
            return "tarvel-calc failed without its one line of message: " + e;
        if (isLibraryMessage(e))
            return "tarvel-calc failed with an exception of the library: " + e;
        return {};
    }
    if (status != 0)
        return "tarvel-calc exited with " + std::to_string(status);
    if (!read)
        return "tarvel-calc computed a file the reader refuses";
    if (!e.empty())
        return "tarvel-calc succeeded with a message: " + e;

    std::istringstream table(o);
    std::string line;
    std::getline(table, line);
    const bool parents = read->ParentsData.present();
    const char *header = c.coefficients ? (parents ? "k,238U,235U,232Th,147Sm" : "k,coefficient")
                         : c.ages       ? "time,he_nmol_g,raw_age,ft,corrected_age"
                                        : "time,calculated_time";
    if (line != header)
        return "tarvel-calc wrote no header";
    const auto columns = std::count(line.begin(), line.end(), ',') + 1;
    std::vector<double> first;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string field;
        std::vector<double> row;
        double value = 0;
        while (std::getline(fields, field, ',') && parseFinite(field, value))
            row.push_back(value);
        if (row.size() != std::size_t(columns))
            return "tarvel-calc wrote a result that is not a finite number: " + line;
        first.push_back(row[0]);
    }
    const ThermalCurve &curve = read->GetCurrentCurve();
    if (c.coefficients) {
        if (first.size() != std::size_t(std::max(read->ModelData.Neigen, 0)))
            return "tarvel-calc wrote " + std::to_string(first.size()) + " coefficients for " +
                   std::to_string(read->ModelData.Neigen) + " eigenvalues";
    } else if (c.noSteps) {
        bool same = first.size() == std::size_t(curve.PointCount());
        for (std::size_t i = 0; same && i < first.size(); ++i)
            same = first[i] == double(curve.Time[i + 1]);
        if (!same)
            return "tarvel-calc's times are not the history's points";
    } else if (first.size() < std::size_t(curve.PointCount())) {
        return "tarvel-calc wrote fewer rows than the history has points";
    }
    return {};
}

// Which tarvel-calc run a case gets; none when the file read is too large to
// compute quickly (the reader's check above still covers it).
std::optional<CalcCase> chooseCalc(Mutator &m, const TDataModule1 *read) {
    CalcCase c;
    const std::size_t option = m.pick(10);
    c.coefficients = option == 0;
    c.noSteps = option == 1;
    bool direct = option == 2;
    if (read) {
        if (read->ModelData.Neigen > kMaxCalcEigenvalues)
            return std::nullopt;
        const ThermalCurve &curve = read->GetCurrentCurve();
        double stepped = curve.PointCount();
        for (std::int32_t i = 2; i < curve.Count() && stepped <= kMaxSteppedPoints; ++i)
            stepped += std::fabs(double(curve.Time[std::size_t(i)]) -
                                 double(curve.Time[std::size_t(i - 1)])) /
                       5.0;
        if (!(stepped <= kMaxSteppedPoints))
            c.noSteps = true;
        direct = direct &&
                 (c.noSteps ? double(curve.PointCount()) : stepped) <= double(kMaxDirectPoints);
    }
    c.ages = option == 3 && read && read->ParentsData.present();
    if (c.coefficients)
        c.args.push_back("--coefficients");
    if (c.ages)
        c.args.push_back("--ages");
    if (c.noSteps)
        c.args.push_back("--no-steps");
    if (direct)
        c.args.insert(c.args.end(), {"--method", "direct"});
    c.args.push_back("-");
    return c;
}

} // namespace

class TestFuzzDataFile : public QObject {
    Q_OBJECT
private slots:
    void damagedFilesAreRefusedOrHandled();
};

void TestFuzzDataFile::damagedFilesAreRefusedOrHandled() {
    const QDir examples(TARVEL_EXAMPLES_DIR);
    std::vector<std::string> originals;
    for (const QString &name : examples.entryList({"*.txt"}, QDir::Files, QDir::Name))
        originals.push_back(readWhole(examples.filePath(name)));
    QVERIFY2(!originals.empty(), "no example data sets to damage");

    const std::uint64_t seed = envNumber("TARVEL_FUZZ_SEED", std::random_device{}());
    const bool single = std::getenv("TARVEL_FUZZ_CASE") != nullptr;
    const std::uint64_t first = envNumber("TARVEL_FUZZ_CASE", 0);
    const std::uint64_t cases = single ? 1 : envNumber("TARVEL_FUZZ_CASES", 5000);
    const auto budget = std::chrono::seconds(envNumber("TARVEL_FUZZ_SECONDS", 60));
    gSeed.store(seed);
    qInfo("seed %llu: up to %llu cases in %lld s (replay one: TARVEL_FUZZ_SEED=%llu "
          "TARVEL_FUZZ_CASE=N)",
          static_cast<unsigned long long>(seed), static_cast<unsigned long long>(cases),
          static_cast<long long>(budget.count()), static_cast<unsigned long long>(seed));
    installCrashNote();
    Watchdog watchdog;

    std::size_t done = 0, read = 0, calcRuns = 0, calcDone = 0;
    const auto start = Clock::now();
    for (std::uint64_t index = first; index < first + cases; ++index) {
        if (!single && Clock::now() - start > budget)
            break;
        Mutator m(mix(seed ^ mix(index)));
        const std::string bytes = m.damage(originals[m.pick(originals.size())]);
        if (const char *path = std::getenv("TARVEL_FUZZ_SAVE"); single && path)
            std::ofstream(path, std::ios::binary) << bytes;

        watchdog.begin(index);
        TDataModule1 model;
        bool accepted = false;
        std::string problem = readerProblem(bytes, model, accepted);
        const auto calc = chooseCalc(m, accepted ? &model : nullptr);
        if (problem.empty() && calc) {
            int status = -1;
            problem = calcProblem(bytes, *calc, accepted ? &model : nullptr, status);
            ++calcRuns;
            calcDone += status == 0;
        }
        watchdog.end();

        if (!problem.empty()) {
            const QString saveAs =
                QDir::temp().filePath(QString("tarvel-fuzz-%1-%2.txt").arg(seed).arg(index));
            std::ofstream(saveAs.toStdString(), std::ios::binary) << bytes;
            std::string args;
            for (const std::string &arg : calc ? calc->args : std::vector<std::string>{})
                args += " " + arg;
            QFAIL(qPrintable(
                QString("case %1 of seed %2 (tarvel-calc%3; saved as %4): %5")
                    .arg(index)
                    .arg(seed)
                    .arg(QString::fromStdString(args), saveAs, QString::fromStdString(problem))));
        }
        ++done;
        read += accepted;
    }
    qInfo("%zu cases in %.1f s: %zu read, %zu refused by the reader; %zu tarvel-calc runs, "
          "%zu of them computed",
          done, std::chrono::duration<double>(Clock::now() - start).count(), read, done - read,
          calcRuns, calcDone);
    // A mutator that only ever breaks the files beyond use would test little.
    if (done >= 200) {
        QVERIFY2(read > done / 20 && read < done - done / 20,
                 "the damaged files are almost all read or almost all refused");
        QVERIFY2(calcDone > done / 20, "tarvel-calc computed almost none of the damaged files");
    }
}

QTEST_GUILESS_MAIN(TestFuzzDataFile)
#include "test_fuzz_datafile.moc"
