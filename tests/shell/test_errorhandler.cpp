// An exception that leaves an event handler reaches the application's one
// handler, which shows it in the standard error box; the rest of the handler
// is skipped and the program goes on.
#include "application.h"
#include "errors.h"
#include "scripteddialogs.h"

#include <QTimer>
#include <QtTest>

class TestErrorHandler : public QObject {
    Q_OBJECT
private slots:
    void handlerFailureIsShownAndTheProgramGoesOn() {
        ScriptedDialogs answers;
        int stepsAfterTheFailure = 0;
        int calls = 0;
        // A timer's event travels the event loop as any user's event does.
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (++calls == 1)
                throw tarvel::Error("Emission distance: 'abc' is not a valid floating point value");
            ++stepsAfterTheFailure;
        });
        timer.start(0);
        QTRY_COMPARE(answers.told.size(), std::size_t(1));
        QVERIFY(answers.told.front().text.contains(QStringLiteral("abc")));
        QCOMPARE(stepsAfterTheFailure, 0);

        timer.start(0); // the program still answers
        QTRY_COMPARE(stepsAfterTheFailure, 1);
        QCOMPARE(answers.told.size(), std::size_t(1));
    }
};

int main(int argc, char **argv) {
    TarvelApplication app(argc, argv);
    TestErrorHandler test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_errorhandler.moc"
