#include "wizardbuttons.h"

#include <QPushButton>

WizardButtons addWizardButtons(QWidget *page) {
    auto make = [page](const char *caption, int left) {
        auto *button = new QPushButton(QString::fromUtf8(caption), page);
        button->setGeometry(left, 224, 75, 25);
        button->setAutoDefault(false);
        if (button->sizeHint().width() > button->width()) // whole captions on large fonts
            button->resize(button->sizeHint().width(), button->height());
        return button;
    };
    return {make("< Back", 168), make("> Next", 256), make("Cancel", 344)};
}
