#include "wizardbuttons.h"

#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

namespace {

// Watches the key presses that the page's controls leave to the page.
class EnterPressesNext : public QObject {
public:
    EnterPressesNext(QWidget *page, QPushButton *next) : QObject(page), Next(next) {}

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const Qt::KeyboardModifiers others = key->modifiers() & ~Qt::KeypadModifier;
        if (!enter || others != Qt::NoModifier)
            return QObject::eventFilter(watched, event);
        if (!key->isAutoRepeat() && Next && Next->isEnabled() && Next->isVisible())
            Next->click();
        return true;
    }

private:
    QPointer<QPushButton> Next;
};

} // namespace

WizardButtons addWizardButtons(QWidget *page) {
    auto make = [page](const char *caption, int left) {
        auto *button = new QPushButton(QString::fromUtf8(caption), page);
        button->setGeometry(left, 224, 75, 25);
        button->setAutoDefault(false);
        if (button->sizeHint().width() > button->width()) // whole captions on large fonts
            button->resize(button->sizeHint().width(), button->height());
        return button;
    };
    const WizardButtons buttons{make("< Back", 168), make("> Next", 256), make("Cancel", 344)};
    enterPressesNext(page, buttons.next);
    return buttons;
}

void enterPressesNext(QWidget *page, QPushButton *next) {
    page->installEventFilter(new EnterPressesNext(page, next));
}
