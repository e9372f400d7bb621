#include "monkey.h"

#include "xygraph.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QThread>
#include <QWheelEvent>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <thread>
#include <unistd.h>

namespace {

QString describe(const QWidget *w) {
    if (!w)
        return QStringLiteral("(gone)");
    QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                             : w->objectName();
    if (!w->isWindow())
        name += QStringLiteral("@%1,%2").arg(w->x()).arg(w->y());
    const QString title = w->window()->windowTitle();
    return title.isEmpty() ? name : QStringLiteral("[%1] %2").arg(title, name);
}

QString pointText(QPoint p) {
    return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
}

// Delivered as the window system would deliver it, through the application.
void sendSpontaneous(QWidget *w, QEvent &event) {
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::sendEvent(w, &event);
}

QString keyName(int key, Qt::KeyboardModifiers mods) {
    return QKeySequence(QKeyCombination(mods, Qt::Key(key))).toString();
}

} // namespace

Monkey::Monkey(quint64 seed) : seed_(seed), rng_(seed) {
    qApp->installEventFilter(this);
}

Monkey::~Monkey() {
    qApp->removeEventFilter(this);
}

int Monkey::pick(int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng_);
}

bool Monkey::chance(double p) {
    return std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < p;
}

bool Monkey::verbose() {
    return qEnvironmentVariableIsSet("TARVEL_MONKEY_VERBOSE");
}

void Monkey::log(const QString &event) {
    const QString line = QStringLiteral("#%1 %2").arg(sent_).arg(event);
    if (sinceLast_.isValid() && sinceLast_.elapsed() > longestWait_) {
        longestWait_ = sinceLast_.elapsed();
        longestWaitBefore_ = line;
    }
    sinceLast_.start();
    monkeyreport::recordEvent(line);
    if (verbose())
        qInfo().noquote() << line;
}

// --- choosing where ---------------------------------------------------------------------

QWidget *Monkey::pickWidget(QWidget *window) {
    // The graphs and the text fields are where the program does most with
    // input; they are picked more often than labels and frames.
    std::vector<QWidget *> pool{window};
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->window() != window || w->width() <= 0 || w->height() <= 0)
            continue;
        int weight = 1;
        if (qobject_cast<Txygraph *>(w))
            weight = 6;
        else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractScrollArea *>(w) ||
                 qobject_cast<QAbstractScrollArea *>(w->parentWidget()))
            weight = 3;
        else if (qobject_cast<QAbstractButton *>(w))
            weight = 2;
        pool.insert(pool.end(), std::size_t(weight), w);
    }
    return pool[std::size_t(pick(0, int(pool.size()) - 1))];
}

QPoint Monkey::pickPoint(QWidget *w) {
    // On a graph, half the presses land near one of its points, where they
    // grab it; the rest anywhere, on the axes too.
    if (auto *graph = qobject_cast<Txygraph *>(w); graph && chance(0.5)) {
        std::vector<QPoint> near;
        float x = 0, y = 0;
        for (int c = graph->EnumPoints(0, &x, &y); c != 0 && near.size() < 200;
             c = graph->EnumPoints(c, &x, &y)) {
            const TPoint p = graph->w2cc({x, y});
            near.emplace_back(p.x, p.y);
        }
        if (!near.empty())
            return near[std::size_t(pick(0, int(near.size()) - 1))] +
                   QPoint(pick(-3, 3), pick(-3, 3));
    }
    if (chance(0.05)) // just outside, as a drag that leaves the control ends
        return {pick(-20, w->width() + 20), pick(-20, w->height() + 20)};
    return {pick(0, std::max(0, w->width() - 1)), pick(0, std::max(0, w->height() - 1))};
}

QWidget *Monkey::keyTarget(QWidget *window, QWidget *picked) {
    // Keys go where the focus is, mostly; sometimes to the widget picked.
    if (chance(0.2))
        return picked;
    if (QWidget *focus = QApplication::focusWidget(); focus && focus->window() == window)
        return focus;
    if (QWidget *focus = window->focusWidget(); focus && focus->isVisible())
        return focus;
    return picked;
}

Qt::KeyboardModifiers Monkey::pickModifiers() {
    if (!chance(0.15))
        return Qt::NoModifier;
    const Qt::KeyboardModifier mods[] = {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier};
    return mods[pick(0, 2)];
}

QString Monkey::pickText() {
    static const char *const pieces[] = {
        "0",
        "7",
        "42",
        "60",
        "-5",
        "0.5",
        "1,5",
        "1e9",
        "-1e-40",
        "3e38",
        "4e38",
        "nan",
        "inf",
        "abc",
        " ",
        "  12 ",
        "x",
        "E",
        ".",
        "-",
        "+",
        "99999999999999999999",
        "\xb5m",
        "\xb0"
        "C",
        "1 2",
        "#Tarvel 0.9",
        "]DataEnd",
        "%s%n",
        "\\",
        "\"",
        "'",
    };
    QString text;
    const int n = pick(1, 3);
    for (int i = 0; i < n; ++i)
        text += QString::fromLatin1(pieces[pick(0, int(std::size(pieces)) - 1)]);
    if (chance(0.03))
        text = text.repeated(pick(20, 200)); // a long paste-like burst of typing
    return text;
}

// --- one step -----------------------------------------------------------------------------

void Monkey::step(QWidget *window) {
    window_ = window;
    QWidget *w = pickWidget(window);
    // Weights of the kinds of step, in the order of the cases below.
    static const int weights[] = {24, 4, 9, 12, 5, 3, 10, 12, 5, 7, 4, 1, 3, 2};
    int roll = pick(0, int(std::accumulate(std::begin(weights), std::end(weights), 0)) - 1);
    int kind = 0;
    while (roll >= weights[kind])
        roll -= weights[kind++];
    switch (kind) {
    case 0:
        click(w);
        break;
    case 1:
        doubleClick(w);
        break;
    case 2:
        rightClick(w);
        break;
    case 3:
        drag(w);
        break;
    case 4:
        hover(w);
        break;
    case 5:
        wheel(w);
        break;
    case 6:
        typing(keyTarget(window, w));
        break;
    case 7:
        key(keyTarget(window, w));
        break;
    case 8:
        shortcut(keyTarget(window, w));
        break;
    case 9:
        paste(keyTarget(window, w));
        break;
    case 10:
        shuffleClipboard();
        break;
    case 11:
        resize(window);
        break;
    case 12:
        log(QStringLiteral("time passes: the program's timers fire"));
        if (tick)
            tick();
        break;
    default:
        log(QStringLiteral("the dialogs' answers change"));
        if (shuffleAnswers)
            shuffleAnswers();
        break;
    }
    ++sent_;
}

void Monkey::closePopups() {
    for (int guard = 0; guard < 10; ++guard) {
        QWidget *popup = QApplication::activePopupWidget();
        if (!popup)
            break;
        popup->close();
    }
}

void Monkey::click(QWidget *w) {
    const QPoint p = pickPoint(w);
    const Qt::KeyboardModifiers mods = pickModifiers();
    log(QStringLiteral("click %1 %2 %3").arg(describe(w), pointText(p), keyName(0, mods)));
    QTest::mouseClick(w, Qt::LeftButton, mods, p);
}

void Monkey::doubleClick(QWidget *w) {
    const QPoint p = pickPoint(w);
    log(QStringLiteral("double-click %1 %2").arg(describe(w), pointText(p)));
    QPointer<QWidget> guard(w);
    QTest::mouseClick(w, Qt::LeftButton, {}, p);
    if (!guard)
        return;
    QTest::mouseDClick(w, Qt::LeftButton, {}, p);
    release(guard, Qt::LeftButton, {}, p);
}

void Monkey::release(QWidget *w, Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint p) {
    // QTest remembers the buttons it pressed: a press is always released,
    // on the window when the widget went away meanwhile.
    QTest::mouseRelease(w ? w : window_.data(), button, mods, p);
}

void Monkey::rightClick(QWidget *w) {
    const QPoint p = pickPoint(w);
    log(QStringLiteral("right-click %1 %2").arg(describe(w), pointText(p)));
    QPointer<QWidget> guard(w);
    QTest::mousePress(w, Qt::RightButton, {}, p);
    // The window system follows a right press with a context menu request.
    if (guard && !QApplication::activePopupWidget()) {
        QContextMenuEvent request(QContextMenuEvent::Mouse, p, w->mapToGlobal(p));
        sendSpontaneous(w, request);
    }
    release(guard, Qt::RightButton, {}, p);
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget()); menu && chance(0.8))
        useMenu(menu);
}

void Monkey::useMenu(QMenu *menu) {
    std::vector<QAction *> entries;
    for (QAction *action : menu->actions())
        if (action->isVisible() && !action->isSeparator())
            entries.push_back(action);
    const int how = pick(0, 3);
    if (entries.empty() || how == 3) {
        log(QStringLiteral("Escape in the menu"));
        QTest::keyClick(menu, Qt::Key_Escape);
        return;
    }
    QAction *action = entries[std::size_t(pick(0, int(entries.size()) - 1))];
    if (how < 2) {
        log(QStringLiteral("menu entry \"%1\" (mouse)").arg(action->text()));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    } else {
        const int downs = pick(1, int(entries.size()) + 1);
        log(QStringLiteral("menu: Down x%1, Return").arg(downs));
        QPointer<QMenu> guard(menu);
        for (int i = 0; i < downs && guard && guard->isVisible(); ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        if (guard && guard->isVisible())
            QTest::keyClick(menu, Qt::Key_Return);
    }
}

void Monkey::drag(QWidget *w) {
    const Qt::MouseButton button = chance(0.85) ? Qt::LeftButton : Qt::MiddleButton;
    const Qt::KeyboardModifiers mods = pickModifiers();
    QPoint p = pickPoint(w);
    const int moves = pick(1, 8);
    std::vector<QPoint> path{p};
    for (int i = 0; i < moves; ++i) {
        // Mostly small steps, sometimes a jump, now and then past the edge.
        p += chance(0.7) ? QPoint(pick(-25, 25), pick(-25, 25))
                         : QPoint(pick(-300, 300), pick(-300, 300));
        if (p.isNull())
            p = {1, 0}; // QTest takes (0,0) for "the centre"
        path.push_back(p);
    }
    QStringList points;
    for (const QPoint &q : path)
        points << pointText(q);
    log(QStringLiteral("drag %1 %2 %3")
            .arg(describe(w), button == Qt::LeftButton ? "left" : "middle",
                 points.join(QStringLiteral(" "))));
    QPointer<QWidget> guard(w);
    QTest::mousePress(w, button, mods, path.front());
    for (std::size_t i = 1; i < path.size() && guard; ++i)
        QTest::mouseMove(w, path[i]);
    release(guard, button, mods, path.back());
}

void Monkey::hover(QWidget *w) {
    const QPoint p = pickPoint(w);
    log(QStringLiteral("hover %1 %2").arg(describe(w), pointText(p)));
    // QTest moves the real cursor for a move without buttons and processes
    // events meanwhile; this is the move alone.
    QMouseEvent move(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    sendSpontaneous(w, move);
}

void Monkey::wheel(QWidget *w) {
    const QPoint p = pickPoint(w);
    const int delta = chance(0.5) ? 120 : -120;
    log(QStringLiteral("wheel %1 %2 %3").arg(describe(w), pointText(p)).arg(delta));
    QWheelEvent wheel(p, w->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton,
                      pickModifiers(), Qt::NoScrollPhase, false);
    sendSpontaneous(w, wheel);
}

void Monkey::typing(QWidget *target) {
    const QString text = pickText();
    log(QStringLiteral("type \"%1\" into %2").arg(text.left(40), describe(target)));
    QTest::keyClicks(target, text);
}

void Monkey::key(QWidget *target) {
    static const Qt::Key keys[] = {
        Qt::Key_Return,    Qt::Key_Enter,  Qt::Key_Escape, Qt::Key_Tab,    Qt::Key_Backtab,
        Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left,   Qt::Key_Right,  Qt::Key_Up,
        Qt::Key_Down,      Qt::Key_Home,   Qt::Key_End,    Qt::Key_PageUp, Qt::Key_PageDown,
        Qt::Key_Space,     Qt::Key_F2,     Qt::Key_Insert, Qt::Key_Escape, Qt::Key_Return,
    };
    const Qt::Key k = keys[pick(0, int(std::size(keys)) - 1)];
    const Qt::KeyboardModifiers mods = chance(0.2) ? Qt::ShiftModifier : Qt::NoModifier;
    log(QStringLiteral("key %1 to %2").arg(keyName(k, mods), describe(target)));
    QTest::keyClick(target, k, mods);
}

void Monkey::shortcut(QWidget *target) {
    static const QKeyCombination keys[] = {
        Qt::CTRL | Qt::Key_A,
        Qt::CTRL | Qt::Key_C,
        Qt::CTRL | Qt::Key_X,
        Qt::CTRL | Qt::Key_Z,
        Qt::CTRL | Qt::SHIFT | Qt::Key_Z,
        Qt::CTRL | Qt::Key_S,
        Qt::CTRL | Qt::Key_O,
        Qt::CTRL | Qt::Key_Q,
        Qt::CTRL | Qt::Key_P,
        Qt::CTRL | Qt::SHIFT | Qt::Key_P,
        QKeyCombination(Qt::Key_F5),
        Qt::ALT | Qt::Key_N,
    };
    const QKeyCombination k = keys[pick(0, int(std::size(keys)) - 1)];
    log(QStringLiteral("shortcut %1 to %2")
            .arg(keyName(k.key(), k.keyboardModifiers()), describe(target)));
    QTest::keyClick(target, k.key(), k.keyboardModifiers());
}

void Monkey::paste(QWidget *target) {
    // Half the pastes find the clipboard as it was, half as another program
    // (or none) just left it.
    if (chance(0.5))
        shuffleClipboard();
    const bool shiftInsert = chance(0.15);
    log(QStringLiteral("paste (%1) into %2 with %3")
            .arg(shiftInsert ? "Shift+Ins" : "Ctrl+V", describe(target),
                 QApplication::clipboard()->mimeData()
                     ? QApplication::clipboard()->mimeData()->formats().join(QLatin1Char(' '))
                     : QStringLiteral("no clipboard data")));
    if (shiftInsert)
        QTest::keyClick(target, Qt::Key_Insert, Qt::ShiftModifier);
    else
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
}

void Monkey::shuffleClipboard() {
    QClipboard *clipboard = QApplication::clipboard();
    switch (pick(0, 6)) {
    case 0:
        log(QStringLiteral("clipboard: cleared"));
        clipboard->clear();
        break;
    case 1:
    case 2:
        // What a desktop's clipboard offers when no program holds it.
        log(QStringLiteral("clipboard: data without any format (no program holds it)"));
        clipboard->setMimeData(new QMimeData);
        break;
    case 3: {
        log(QStringLiteral("clipboard: a foreign format only"));
        auto *data = new QMimeData;
        data->setData(QStringLiteral("application/x-foreign"), QByteArray("\x01\x02\x03", 3));
        clipboard->setMimeData(data);
        break;
    }
    case 4: {
        log(QStringLiteral("clipboard: a picture only"));
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        clipboard->setImage(image);
        break;
    }
    default: {
        const QString text = chance(0.3) ? QStringLiteral("10, 20\n30, 40\n") : pickText();
        log(QStringLiteral("clipboard: the text \"%1\"").arg(text.left(40)));
        clipboard->setText(text);
        break;
    }
    }
}

void Monkey::resize(QWidget *window) {
    if (window->minimumSize() == window->maximumSize()) {
        log(QStringLiteral("resize: %1 has a fixed size").arg(describe(window)));
        return;
    }
    const QSize size(pick(60, 1400), pick(60, 1000));
    log(QStringLiteral("resize %1 to %2x%3")
            .arg(describe(window))
            .arg(size.width())
            .arg(size.height()));
    window->resize(size);
}

// --- menus with their own event loop ------------------------------------------------------

bool Monkey::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Show)
        if (auto *menu = qobject_cast<QMenu *>(watched)) {
            QPointer<QMenu> guard(menu);
            QMetaObject::invokeMethod(
                this,
                [this, guard] {
                    // At loop level 0 the menu was opened with popup(): the
                    // step that opened it deals with it.
                    if (!guard || !guard->isVisible() || QThread::currentThread()->loopLevel() == 0)
                        return;
                    log(QStringLiteral("a menu with its own event loop"));
                    useMenu(guard);
                    if (guard && guard->isVisible())
                        guard->close();
                },
                Qt::QueuedConnection);
        }
    return QObject::eventFilter(watched, event);
}

// --- reports that survive a crash or a hang -----------------------------------------------

namespace monkeyreport {
namespace {

constexpr int kLines = 32;
constexpr int kLineLength = 240;
char replayLine[512];
char ring[kLines][kLineLength];
std::atomic<int> ringNext{0};
std::atomic<long long> lastEvent{0};
std::atomic<bool> watching{false};
std::atomic<bool> reported{false};
std::thread watchdog;
struct sigaction previous[32];

long long nowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void writeAll(const char *text) {
    std::size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t n = ::write(STDERR_FILENO, text, left);
        if (n <= 0)
            return;
        text += n;
        left -= std::size_t(n);
    }
}

void writeReport() {
    if (reported.exchange(true))
        return; // once: a hang's abort comes through the signal handler too
    writeAll("\nmonkey: ");
    writeAll(replayLine);
    writeAll("\nmonkey: the last events sent:\n");
    const int next = ringNext.load();
    for (int i = std::max(0, next - kLines); i < next; ++i) {
        writeAll("  ");
        writeAll(ring[i % kLines]);
        writeAll("\n");
    }
}

void onFatalSignal(int signal) {
    writeAll("\nmonkey: fatal signal ");
    char number[8];
    std::snprintf(number, sizeof number, "%d", signal);
    writeAll(number);
    writeReport();
    // The earlier handler (the sanitizer's or the test library's) or the
    // default takes over: a fault happens again on return, others are raised.
    sigaction(signal, &previous[signal], nullptr);
    if (signal != SIGSEGV && signal != SIGBUS && signal != SIGILL && signal != SIGFPE)
        raise(signal);
}

} // namespace

void setReplayLine(const QString &line) {
    const QByteArray bytes = line.toLocal8Bit();
    std::snprintf(replayLine, sizeof replayLine, "%s", bytes.constData());
    ringNext = 0;
    reported = false;
    lastEvent = nowSeconds();
}

void printReplay() {
    writeReport();
}

void recordEvent(const QString &event) {
    const QByteArray bytes = event.toLocal8Bit();
    const int slot = ringNext.load() % kLines;
    std::snprintf(ring[slot], kLineLength, "%s", bytes.constData());
    ++ringNext;
    lastEvent = nowSeconds();
}

void installCrashReport() {
    for (int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT}) {
        struct sigaction action {};
        action.sa_handler = onFatalSignal;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, &previous[signal]);
    }
}

void startWatchdog(int seconds) {
    lastEvent = nowSeconds();
    watching = true;
    watchdog = std::thread([seconds] {
        while (watching) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            if (watching && nowSeconds() - lastEvent.load() > seconds) {
                char text[96];
                std::snprintf(text, sizeof text,
                              "\nmonkey: no event could be sent for %d s: a hang", seconds);
                writeAll(text);
                writeReport();
                std::abort();
            }
        }
    });
}

void stopWatchdog() {
    watching = false;
    if (watchdog.joinable())
        watchdog.join();
}

} // namespace monkeyreport
