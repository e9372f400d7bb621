#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>
#include <random>

class QMenu;
class QWidget;

// Random user input drawn from one seed: clicks, double-clicks, drags,
// right-clicks with whatever pop-up menu they open, hover moves, the wheel,
// typing, keys and shortcuts, pastes, and changes of the clipboard between
// empty, foreign (no text in it) and text. Every event is real input sent
// through the application object (QTest's mouse and key functions), so an
// exception that leaves a handler reaches the program's handler as it would
// for a user. The same seed gives the same events for the same program.
class Monkey : public QObject {
    Q_OBJECT

public:
    explicit Monkey(quint64 seed);
    ~Monkey() override;

    quint64 seed() const { return seed_; }
    int pick(int lo, int hi); // both ends included
    bool chance(double p);

    // What the monkey cannot do by itself: let time pass (the program's
    // timers fire once) and make the dialogs answer differently from now on.
    std::function<void()> tick;
    std::function<void()> shuffleAnswers;

    // One step of input on `window` and its visible children. A pop-up menu
    // the step opened may still be open afterwards; closePopups() ends it.
    void step(QWidget *window);
    static void closePopups();

    // The clipboard in one of its states, chosen at random.
    void shuffleClipboard();

    int sent() const { return sent_; }
    void log(const QString &event);
    // The longest time between two events, and the event that came after it.
    qint64 longestWait() const { return longestWait_; }
    QString longestWaitBefore() const { return longestWaitBefore_; }

    // Set TARVEL_MONKEY_VERBOSE to print every event as it is sent.
    static bool verbose();

protected:
    // A menu opened with QMenu::exec runs its own event loop; answered here,
    // from inside that loop, so that the step that opened it returns.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *pickWidget(QWidget *window);
    QPoint pickPoint(QWidget *widget);
    QWidget *keyTarget(QWidget *window, QWidget *picked);
    Qt::KeyboardModifiers pickModifiers();
    QString pickText();

    void click(QWidget *w);
    void doubleClick(QWidget *w);
    void rightClick(QWidget *w);
    void drag(QWidget *w);
    void hover(QWidget *w);
    void wheel(QWidget *w);
    void typing(QWidget *target);
    void key(QWidget *target);
    void shortcut(QWidget *target);
    void paste(QWidget *target);
    void resize(QWidget *window);
    void useMenu(QMenu *menu);
    void release(QWidget *w, Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint p);

    quint64 seed_;
    std::mt19937_64 rng_;
    int sent_ = 0;
    QPointer<QWidget> window_; // the window of the current step
    QElapsedTimer sinceLast_;
    qint64 longestWait_ = 0;
    QString longestWaitBefore_;
};

// Reports of a case that went wrong, written even when the process dies: the
// line that replays it, then the last events sent.
namespace monkeyreport {
// The replay line printed on a crash, a hang or a failed check.
void setReplayLine(const QString &line);
// Prints the replay line and the last events to stderr.
void printReplay();
// Writes the report before the default action of a fatal signal.
void installCrashReport();
// Aborts, after the report, when no event was sent for `seconds`.
void startWatchdog(int seconds);
void stopWatchdog();
// The watchdog's sign of life; also records `event` for the crash report.
void recordEvent(const QString &event);
} // namespace monkeyreport
