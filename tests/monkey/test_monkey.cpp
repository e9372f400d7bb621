// A seeded monkey on every window of the program: a few thousand random mouse
// and key events, window by window, on the real roster in process. It proves
// little beyond "no crash, no hang, no sanitizer finding", which is its point.
//
// Each case prints its seed; TARVEL_MONKEY_SEED=<n> replays that case
// (TARVEL_MONKEY_SEED=time draws a new one), TARVEL_MONKEY_EVENTS sets the
// events per window, TARVEL_MONKEY_VERBOSE=1 prints every event, and
// TARVEL_MONKEY_HANG_SECONDS (60 by default) is how long one step may take
// before the case is aborted as a hang.
#include "application.h"
#include "calculationpage.h"
#include "datamodule.h"
#include "moddatform.h"
#include "monkey.h"
#include "rosterfixture.h"
#include "tableedit.h"
#include "tform1.h"
#include "tform2.h"
#include "tform3.h"
#include "tform4.h"
#include "tform5.h"
#include "tform6.h"
#include "tform7.h"
#include "xygraph.h"

#include <QAction>
#include <QDateTime>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include <map>

namespace {

constexpr int kDefaultEventsPerWindow = 500;
// A dialog that opens during another window's turn gets a short turn of its own.
constexpr int kIncidentalDialogEvents = 25;
constexpr int kDefaultHangSeconds = 60;
constexpr quint64 kDefaultSeeds[] = {20240517, 7, 1234567};

QtMessageHandler previousHandler = nullptr;

// Clicks on labels and frames that nobody handles are no news, nor is what
// the offscreen platform cannot do (raise a window, grab the keyboard).
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (type == QtWarningMsg &&
        (message.endsWith(QLatin1String("not accepted by receiving widget")) ||
         message.startsWith(QLatin1String("This plugin does not support"))))
        return;
    previousHandler(type, context, message);
}

int envNumber(const char *name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// Every window's turn, in the order a first run meets them.
enum class Turn { Intro, Grain, Geometry, History, Gamma, Result, Main, Constants, Table };
const std::pair<Turn, const char *> kTurns[] = {
    {Turn::Intro, "Form1 intro"},
    {Turn::Grain, "Form2 grain parameters"},
    {Turn::Geometry, "Form3 geometry run"},
    {Turn::History, "Form4 thermal history"},
    {Turn::Gamma, "Form5 gamma run"},
    {Turn::Result, "Form6 calculated age"},
    {Turn::Main, "Form7 main window"},
    {Turn::Constants, "Form8 model constants"},
    {Turn::Table, "TableEdit"},
};

} // namespace

class TestMonkey : public QObject {
    Q_OBJECT

    RosterFixture roster;
    std::unique_ptr<Monkey> monkey;
    std::map<QString, QPointer<QWidget>> windows; // the roster, to see that all survive
    std::map<QString, int> sentTo;                // events per window, for the summary
    int programEnds = 0;
    int dialogBudget = 0; // events for the next dialog shown modally
    bool inDialog = false;
    QSize mainWindowSize;

    std::vector<QWidget *> pages() const {
        return {Form1, Form2, Form3, Form4, Form5, Form6, Form7};
    }

    // --- time and the event loop ---------------------------------------------------------

    // The pages' 200 ms polls and the splash's 3 s tick fire only when the
    // monkey lets time pass, so that a seed replays the same events.
    static void stopTimers() {
        Form3->Timer1->stop();
        Form5->Timer1->stop();
        Splash->Timer1->stop();
    }

    // What a timer does, delivered through the application like its event.
    static void timerFires(QObject *owner, std::function<void()> handler) {
        QMetaObject::invokeMethod(owner, std::move(handler), Qt::QueuedConnection);
        QCoreApplication::sendPostedEvents(owner, QEvent::MetaCall);
    }

    // The pages' poll: a run that is going on is waited for and collected.
    static void pollPages() {
        for (CalculationPage *page :
             {static_cast<CalculationPage *>(Form3), static_cast<CalculationPage *>(Form5)})
            if (page->Running()) {
                page->WaitForRun();
                timerFires(page, [page] { page->Timer1Timer(); });
            }
    }

    void tick() {
        pollPages();
        if (monkey->chance(0.3))
            timerFires(Splash, [] { Splash->Timer1Timer(); });
    }

    // A collected run may show a page that starts another: a few polls.
    static void finishRuns() {
        for (int i = 0; i < 4 && (Form3->Running() || Form5->Running()); ++i)
            pollPages();
    }

    // Between steps: pop-ups closed, paints and posted events delivered. A
    // command that ended the program only set a flag here: the run goes on.
    void settle() {
        Monkey::closePopups();
        stopTimers();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        stopTimers();
        if (programEnding()) {
            ++programEnds;
            monkey->log(QStringLiteral("(the program would end here; the test goes on)"));
            resetProgramEnding();
        }
    }

    void show(QWidget *window) {
        window->show();
        window->activateWindow();
        settle();
    }

    void hideAll() {
        Monkey::closePopups();
        finishRuns();
        for (QWidget *page : pages())
            page->hide();
        settle();
    }

    // --- reaching a window the way the program gets there --------------------------------

    void retypeGrain() {
        const std::pair<QLineEdit *, const char *> edits[] = {{Form2->Edit_Radius, "60"},
                                                              {Form2->Edit_Outer_Radius, "40"},
                                                              {Form2->Edit_Inner_Radius, "20"},
                                                              {Form2->Edit_Emission_Dist, "20"}};
        for (const auto &[edit, text] : edits) {
            QTest::mouseClick(edit, Qt::LeftButton);
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, QString::fromLatin1(text));
        }
        settle();
    }

    // Next on the grain page; when the monkey left it unusable, the user
    // types a valid grain first.
    void reachGeometryRun() {
        hideAll();
        show(Form2);
        for (int attempt = 0; attempt < 2 && !Form3->isVisible() && !Form4->isVisible();
             ++attempt) {
            if (attempt > 0 || !Form2->Button2->isEnabled())
                retypeGrain();
            QTest::mouseClick(Form2->Button2, Qt::LeftButton);
            settle();
        }
        // A short run may already have ended and shown the thermal history;
        // the page then gets its turn with a run of its own.
        QVERIFY2(Form3->isVisible() || Form4->isVisible(),
                 "Next on the grain page with a valid grain starts the run");
        if (!Form3->isVisible()) {
            hideAll();
            show(Form3);
        }
    }

    // A sample curve and Next on the thermal history page.
    void reachGammaRun() {
        hideAll();
        show(Form4);
        QTest::mouseClick(Form4->SpeedButtons[std::size_t(monkey->pick(0, 3))], Qt::LeftButton);
        QTest::mouseClick(Form4->Button2, Qt::LeftButton);
        settle();
        QVERIFY2(Form5->isVisible() || Form6->isVisible(),
                 "Next on the thermal history page starts the age run");
    }

    void reachMainWindow() {
        hideAll();
        Form7->Model = DataModule1; // as every way to the main window does
        show(Form7);
    }

    void reach(Turn turn) {
        switch (turn) {
        case Turn::Intro:
            hideAll();
            show(Form1);
            break;
        case Turn::Grain:
            hideAll();
            show(Form2);
            break;
        case Turn::Geometry:
            reachGeometryRun();
            break;
        case Turn::History:
            hideAll();
            show(Form4);
            break;
        case Turn::Gamma:
            reachGammaRun();
            if (!Form5->isVisible()) { // the run has ended already: run it again
                hideAll();
                show(Form5);
            }
            break;
        case Turn::Result:
            reachGammaRun();
            finishRuns();
            settle();
            QVERIFY2(Form6->isVisible(), "the end of the age run shows the calculated age");
            break;
        default:
            reachMainWindow();
            break;
        }
    }

    QWidget *home(Turn turn) const {
        switch (turn) {
        case Turn::Intro:
            return Form1;
        case Turn::Grain:
            return Form2;
        case Turn::Geometry:
            return Form3;
        case Turn::History:
            return Form4;
        case Turn::Gamma:
            return Form5;
        case Turn::Result:
            return Form6;
        default:
            return Form7;
        }
    }

    // The turn's window while it is shown. Once the monkey has left it, now
    // and then the page the program shows instead; mostly, and when nothing
    // is shown (the program "ended"), the turn's window reached once more.
    QWidget *target(Turn turn) {
        if (home(turn)->isVisible())
            return home(turn);
        std::vector<QWidget *> shown;
        for (QWidget *page : pages())
            if (page->isVisible())
                shown.push_back(page);
        if (!shown.empty() && monkey->chance(0.3))
            return shown[std::size_t(monkey->pick(0, int(shown.size()) - 1))];
        reach(turn);
        return home(turn)->isVisible() ? home(turn) : nullptr;
    }

    void windowTurn(Turn turn, int events) {
        reach(turn);
        for (int i = 0; i < events && !QTest::currentTestFailed(); ++i) {
            QWidget *window = target(turn);
            if (!window)
                return;
            if (QApplication::activeWindow() != window)
                window->activateWindow();
            monkey->step(window);
            ++sentTo[window->windowTitle()];
            settle();
        }
        finishRuns();
        settle();
    }

    // --- the modal dialogs -----------------------------------------------------------------

    // Opens the dialog of `turn` from the main window with real input until
    // it has had `events` events.
    void dialogTurn(Turn turn, int events) {
        const QString title =
            turn == Turn::Constants ? Form8->windowTitle() : TableEdit->windowTitle();
        for (int left = events; left > 0 && !QTest::currentTestFailed();) {
            reachMainWindow();
            Form7->resize(mainWindowSize); // every tool in reach
            settle();
            const int before = sentTo[title];
            const auto shown = roster.dialogs->modalShown.count(title);
            dialogBudget = left;
            if (turn == Turn::Constants) {
                QWidget *tool = Form7->ToolBar1->widgetForAction(Form7->ToolButton6);
                QVERIFY(tool);
                QTest::mouseClick(tool, Qt::LeftButton);
            } else {
                Txygraph *graph = Form7->xygraph1;
                QTest::mouseClick(graph, Qt::RightButton, {}, graph->rect().center());
                auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                QAction *entry = graph->findmenu(QStringLiteral("Table Edit"));
                QVERIFY2(menu && entry, "a right-click on the thermal history offers Table Edit");
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
            }
            dialogBudget = 0;
            settle();
            QVERIFY2(roster.dialogs->modalShown.count(title) > shown,
                     qPrintable(title + QStringLiteral(" opens from the main window")));
            left -= std::max(1, sentTo[title] - before);
        }
    }

    // A dialog shown modally: the monkey's turn on it, then the user closes
    // it with OK, Cancel, Escape or Return. Its result is the dialog's own.
    int modalTurn(QDialog &dialog) {
        if (inDialog)
            return QDialog::Rejected;
        inDialog = true;
        const int events =
            dialogBudget > 0 ? std::exchange(dialogBudget, 0) : kIncidentalDialogEvents;
        show(&dialog);
        for (int i = 0; i < events && dialog.isVisible(); ++i) {
            monkey->step(&dialog);
            ++sentTo[dialog.windowTitle()];
            settle();
        }
        for (int attempt = 0; attempt < 3 && dialog.isVisible(); ++attempt) {
            const auto buttons = dialog.findChildren<QPushButton *>();
            switch (monkey->pick(0, 3)) {
            case 0:
            case 1:
                if (!buttons.isEmpty()) {
                    QPushButton *button = buttons[monkey->pick(0, int(buttons.size()) - 1)];
                    monkey->log(QStringLiteral("closing the dialog with %1").arg(button->text()));
                    QTest::mouseClick(button, Qt::LeftButton);
                    break;
                }
                [[fallthrough]];
            case 2:
                monkey->log(QStringLiteral("closing the dialog with Escape"));
                QTest::keyClick(&dialog, Qt::Key_Escape);
                break;
            default:
                monkey->log(QStringLiteral("closing the dialog with Return"));
                QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog,
                                Qt::Key_Return);
                break;
            }
            settle();
        }
        if (dialog.isVisible()) { // OK refused the entries each time: the user gives up
            monkey->log(QStringLiteral("closing the dialog with Escape"));
            QTest::keyClick(&dialog, Qt::Key_Escape);
            settle();
        }
        const bool closed = QTest::qVerify(!dialog.isVisible(), "!dialog.isVisible()",
                                           "Escape closes a modal dialog", __FILE__, __LINE__);
        if (!closed)
            dialog.hide();
        inDialog = false;
        return dialog.result();
    }

    // --- the answers of boxes and file dialogs ---------------------------------------------

    void shuffleAnswers() {
        ScriptedDialogs &d = *roster.dialogs;
        const QString files[] = {QString(),
                                 roster.path(QStringLiteral("saved.txt")),
                                 roster.path(QStringLiteral("example.txt")),
                                 roster.path(QStringLiteral("garbage.txt")),
                                 roster.path(QStringLiteral("missing.txt")),
                                 roster.path(QString())}; // a folder
        d.openName = files[monkey->pick(0, 5)];
        d.saveName = files[monkey->pick(0, 1)];
        if (monkey->chance(0.2))
            d.saveName = monkey->chance(0.5) ? roster.path(QString())
                                             : roster.path(QStringLiteral("no/such/folder.txt"));
        d.printFile = monkey->chance(0.5) ? QString() : roster.path(QStringLiteral("report.pdf"));
        d.previewFile =
            monkey->chance(0.5) ? QString() : roster.path(QStringLiteral("preview.pdf"));
        d.answers = {monkey->chance(0.5), monkey->chance(0.5), monkey->chance(0.5)};
    }

    void writeInputFiles() {
        QVERIFY(QFile::copy(QStringLiteral(TARVEL_EXAMPLES_DIR "/default-grain.txt"),
                            roster.path(QStringLiteral("example.txt"))));
        QFile garbage(roster.path(QStringLiteral("garbage.txt")));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        QByteArray bytes;
        for (int i = 0; i < 600; ++i)
            bytes.append(char(monkey->pick(0, 255)));
        garbage.write("#Tarvel 0.9\r\n[DataBegin\r\nSphere_radius=");
        garbage.write(bytes);
    }

    // --- what must hold after every turn ----------------------------------------------------

    void checkInvariants(const char *turn) {
        // An exception that left a handler was caught by the application's
        // handler (one reaching this function would fail the case), and it
        // was shown with a message.
        for (const auto &[name, window] : windows)
            QVERIFY2(window, qPrintable(name + QStringLiteral(" was destroyed during ") + turn));
        for (const ScriptedDialogs::Box &box : roster.dialogs->told)
            QVERIFY2(!box.text.trimmed().isEmpty(),
                     qPrintable(QStringLiteral("a box without a message after ") + turn));
        QVERIFY2(!Form3->Running() && !Form5->Running(), "every calculation run comes to an end");
    }

private slots:
    void initTestCase() {
        previousHandler = qInstallMessageHandler(quietHandler);
        monkeyreport::installCrashReport();
        monkeyreport::startWatchdog(envNumber("TARVEL_MONKEY_HANG_SECONDS", kDefaultHangSeconds));
    }
    void cleanupTestCase() { monkeyreport::stopWatchdog(); }

    void init() { roster.start(); }
    void cleanup() {
        if (QTest::currentTestFailed())
            monkeyreport::printReplay();
        Monkey::closePopups();
        if (Form3)
            finishRuns();
        roster.stop();
        monkey.reset();
        windows.clear();
        sentTo.clear();
        programEnds = 0;
        inDialog = false;
    }

    void everyWindowInTurn_data() {
        QTest::addColumn<quint64>("seed");
        const QByteArray chosen = qgetenv("TARVEL_MONKEY_SEED");
        if (chosen == "time") {
            const auto seed = quint64(QDateTime::currentMSecsSinceEpoch());
            QTest::addRow("seed %llu", seed) << seed;
        } else if (!chosen.isEmpty()) {
            bool ok = false;
            const quint64 seed = chosen.toULongLong(&ok);
            QVERIFY2(ok, "TARVEL_MONKEY_SEED is a whole number or \"time\"");
            QTest::addRow("seed %llu", seed) << seed;
        } else {
            for (quint64 seed : kDefaultSeeds)
                QTest::addRow("seed %llu", seed) << seed;
        }
    }

    void everyWindowInTurn() {
        QFETCH(quint64, seed);
        const int events = envNumber("TARVEL_MONKEY_EVENTS", kDefaultEventsPerWindow);
        const QString replay =
            QStringLiteral("replay with: TARVEL_MONKEY_SEED=%1 TARVEL_MONKEY_EVENTS=%2 %3")
                .arg(seed)
                .arg(events)
                .arg(QCoreApplication::applicationFilePath());
        qInfo().noquote() << "monkey seed" << seed << "," << events << "events per window;"
                          << replay;
        monkeyreport::setReplayLine(replay);

        monkey = std::make_unique<Monkey>(seed);
        monkey->tick = [this] { tick(); };
        monkey->shuffleAnswers = [this] { shuffleAnswers(); };
        roster.dialogs->onDialog = [this](QDialog &dialog) { return modalTurn(dialog); };
        windows = {{QStringLiteral("Splash"), Splash},
                   {QStringLiteral("Form1"), Form1},
                   {QStringLiteral("Form2"), Form2},
                   {QStringLiteral("Form3"), Form3},
                   {QStringLiteral("Form4"), Form4},
                   {QStringLiteral("Form5"), Form5},
                   {QStringLiteral("Form6"), Form6},
                   {QStringLiteral("Form7"), Form7},
                   {QStringLiteral("Form8"), Form8},
                   {QStringLiteral("TableEdit"), TableEdit},
                   {QStringLiteral("Form4 graph"), Form4->xygraph1},
                   {QStringLiteral("Form6 graph"), Form6->xygraph1},
                   {QStringLiteral("Form7 history graph"), Form7->xygraph1},
                   {QStringLiteral("Form7 result graph"), Form7->xygraph2}};
        mainWindowSize = Form7->size();
        writeInputFiles();
        shuffleAnswers();
        monkey->shuffleClipboard();

        Splash->Timer1Timer(); // the start-up decision: nothing stored, the wizard
        settle();
        for (const auto &[turn, name] : kTurns) {
            if (turn == Turn::Constants || turn == Turn::Table)
                dialogTurn(turn, events);
            else
                windowTurn(turn, events);
            if (QTest::currentTestFailed())
                return;
            checkInvariants(name);
            if (QTest::currentTestFailed())
                return;
        }

        QStringList perWindow;
        for (const auto &[title, count] : sentTo)
            perWindow << QStringLiteral("%1: %2").arg(title).arg(count);
        qInfo().noquote() << QStringLiteral(
                                 "monkey seed %1: %2 events (%3); %4 boxes, %5 questions, "
                                 "%6 modal windows, %7 ends of the program; the longest "
                                 "wait between two events %8 ms, before %9")
                                 .arg(seed)
                                 .arg(monkey->sent())
                                 .arg(perWindow.join(QStringLiteral(", ")))
                                 .arg(roster.dialogs->told.size())
                                 .arg(roster.dialogs->asked.size())
                                 .arg(roster.dialogs->modalShown.size())
                                 .arg(programEnds)
                                 .arg(monkey->longestWait())
                                 .arg(monkey->longestWaitBefore());
    }
};

int main(int argc, char **argv) {
    TarvelApplication app(argc, argv);
    TestMonkey test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_monkey.moc"
