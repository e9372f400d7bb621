// An exception that leaves an event handler reaches the application's one
// handler, which shows it in the standard error box; the rest of the handler
// is skipped and the program goes on.
#include "application.h"
#include "errors.h"
#include "scripteddialogs.h"

#include <QPushButton>
#include <QtTest>

class TestErrorHandler : public QObject {
    Q_OBJECT
private slots:
    void handlerFailureIsShownAndTheProgramGoesOn() {
        ScriptedDialogs answers;
        QPushButton button(QStringLiteral("Recalculate"));
        int stepsAfterTheFailure = 0;
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            if (++clicks == 1)
                throw tarvel::Error("Emission distance: 'abc' is not a valid floating point value");
            ++stepsAfterTheFailure;
        });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(answers.told.size(), std::size_t(1));
        QVERIFY(answers.told.front().text.contains(QStringLiteral("abc")));
        QCOMPARE(stepsAfterTheFailure, 0);

        QTest::mouseClick(&button, Qt::LeftButton); // the program still answers
        QCOMPARE(stepsAfterTheFailure, 1);
        QCOMPARE(answers.told.size(), std::size_t(1));
    }
};

int main(int argc, char **argv) {
    TarvelApplication app(argc, argv);
    TestErrorHandler test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_errorhandler.moc"
