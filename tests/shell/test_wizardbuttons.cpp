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

#include <memory>

namespace {

// A page as the wizard builds them: an entry, a multi-line text and the buttons.
struct Page {
    std::unique_ptr<QWidget> window;
    QLineEdit *entry = nullptr;
    TextBox *text = nullptr;
    WizardButtons buttons{};
    int nextPresses = 0;
    int otherPresses = 0;

    explicit Page(bool dialog) : window(dialog ? new QDialog : new QWidget) {
        entry = new QLineEdit(QStringLiteral("60"), window.get());
        entry->setGeometry(8, 8, 100, 21);
        text = new TextBox(QStringLiteral("A note"), window.get());
        text->setGeometry(8, 40, 200, 100);
        buttons = addWizardButtons(window.get());
        QObject::connect(buttons.next, &QPushButton::clicked, [this] { ++nextPresses; });
        for (QPushButton *b : {buttons.back, buttons.cancel})
            QObject::connect(b, &QPushButton::clicked, [this] { ++otherPresses; });
        window->resize(434, 285);
        window->show();
        QApplication::setActiveWindow(window.get());
    }
};

} // namespace

class TestWizardButtons : public QObject {
    Q_OBJECT
private slots:
    void enterPressesNext_data();
    void enterPressesNext();
    void disabledNextTakesNoEnter();
    void enterInTheTextStartsALine();
};

void TestWizardButtons::enterPressesNext_data() {
    QTest::addColumn<bool>("dialog");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus"); // "entry", "cancel" or "back"
    QTest::newRow("entry, Return") << false << int(Qt::Key_Return) << "entry";
    QTest::newRow("entry, keypad Enter, dialog") << true << int(Qt::Key_Enter) << "entry";
    QTest::newRow("on Cancel") << false << int(Qt::Key_Return) << "cancel";
    QTest::newRow("on Back, dialog") << true << int(Qt::Key_Return) << "back";
}

void TestWizardButtons::enterPressesNext() {
    QFETCH(bool, dialog);
    QFETCH(int, key);
    QFETCH(QString, focus);
    Page page(dialog);
    QWidget *target = focus == "entry"    ? static_cast<QWidget *>(page.entry)
                      : focus == "cancel" ? page.buttons.cancel
                                          : page.buttons.back;
    target->setFocus();
    const Qt::KeyboardModifiers modifiers =
        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QTest::keyClick(target, Qt::Key(key), modifiers);
    QCOMPARE(page.nextPresses, 1);
    QCOMPARE(page.otherPresses, 0);
    QVERIFY(page.window->isVisible()); // a dialog page is not closed by Enter

    // A held key moves on one page only: its repeats press nothing.
    QKeyEvent repeat(QEvent::KeyPress, key, modifiers, QString(), true);
    QApplication::sendEvent(target, &repeat);
    QCOMPARE(page.nextPresses, 1);
}

void TestWizardButtons::disabledNextTakesNoEnter() {
    for (bool dialog : {false, true}) {
        Page page(dialog);
        page.buttons.next->setEnabled(false);
        page.entry->setFocus();
        QTest::keyClick(page.entry, Qt::Key_Return);
        QTest::keyClick(page.entry, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(page.nextPresses, 0);
        QCOMPARE(page.otherPresses, 0);
        QVERIFY(page.window->isVisible());
    }
}

void TestWizardButtons::enterInTheTextStartsALine() {
    Page page(false);
    page.text->setFocus();
    page.text->moveCursor(QTextCursor::End);
    QTest::keyClick(page.text, Qt::Key_Return);
    QTest::keyClicks(page.text, QStringLiteral("more"));
    QCOMPARE(page.text->toPlainText(), QStringLiteral("A note\nmore"));
    QCOMPARE(page.nextPresses, 0);
}

QTEST_MAIN(TestWizardButtons)
#include "test_wizardbuttons.moc"
