// Enter on a wizard page presses "> Next", on both kinds of page the wizard
// has (plain windows and dialogs), with real key presses on the page's controls.
#include "textbox.h"
#include "wizardbuttons.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestWizardButtons : public QObject {
    Q_OBJECT
private slots:
    void enter_data();
    void enter();
};

void TestWizardButtons::enter_data() {
    QTest::addColumn<bool>("dialog");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus"); // "entry", "text" or "cancel"
    QTest::addColumn<bool>("nextEnabled");
    QTest::addColumn<int>("nextPresses");
    QTest::newRow("entry, Return") << false << int(Qt::Key_Return) << "entry" << true << 1;
    QTest::newRow("entry, keypad Enter, dialog")
        << true << int(Qt::Key_Enter) << "entry" << true << 1;
    QTest::newRow("on Cancel, dialog") << true << int(Qt::Key_Return) << "cancel" << true << 1;
    QTest::newRow("Next disabled") << false << int(Qt::Key_Return) << "entry" << false << 0;
    QTest::newRow("Next disabled, dialog") << true << int(Qt::Key_Return) << "entry" << false << 0;
    QTest::newRow("in the text a new line") << false << int(Qt::Key_Return) << "text" << true << 0;
}

void TestWizardButtons::enter() {
    QFETCH(bool, dialog);
    QFETCH(int, key);
    QFETCH(QString, focus);
    QFETCH(bool, nextEnabled);
    QFETCH(int, nextPresses);
    QScopedPointer<QWidget> page(dialog ? new QDialog : new QWidget);
    auto *entry = new QLineEdit(QStringLiteral("60"), page.data());
    auto *text = new TextBox(QStringLiteral("A note"), page.data());
    text->move(0, 40);
    const WizardButtons buttons = addWizardButtons(page.data());
    buttons.next->setEnabled(nextEnabled);
    int next = 0, others = 0;
    connect(buttons.next, &QPushButton::clicked, [&] { ++next; });
    connect(buttons.cancel, &QPushButton::clicked, [&] { ++others; });
    page->show();
    QApplication::setActiveWindow(page.data());
    QWidget *target = focus == "entry"  ? static_cast<QWidget *>(entry)
                      : focus == "text" ? static_cast<QWidget *>(text)
                                        : buttons.cancel;
    target->setFocus();
    text->moveCursor(QTextCursor::End);
    const auto modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;

    QTest::keyClick(target, Qt::Key(key), modifiers);
    // A held key moves on one page only: its repeats press nothing.
    QKeyEvent repeat(QEvent::KeyPress, key, modifiers, QString(), true);
    QApplication::sendEvent(target, &repeat);
    QCOMPARE(next, nextPresses);
    QCOMPARE(others, 0);
    QVERIFY(page->isVisible()); // a dialog page is not closed by Enter
    QCOMPARE(text->toPlainText().count('\n'), focus == "text" ? 2 : 0);
}

QTEST_MAIN(TestWizardButtons)
#include "test_wizardbuttons.moc"
