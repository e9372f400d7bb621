#include "calculationpage.h"

#include "jpegimage.h"

#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {
constexpr int kPollMs = 200;
}

CalculationPage::CalculationPage(const QString &caption, const QString &headline, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(caption);
    setFixedSize(434, 285);

    Image1 = new QLabel(this);
    Image1->setGeometry(8, 8, 121, 209);
    Image1->setPixmap(QPixmap::fromImage(tarvel::grainPicture()).scaled(121, 209));

    Label1 = new QLabel(headline, this);
    Label1->move(200, 40);
    Label1->adjustSize();

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(200, 96, 217, 17);
    ProgressBar1->setTextVisible(false);

    Button3 = new QPushButton(QStringLiteral("< Back"), this);
    Button3->setGeometry(168, 224, 75, 25);
    Button2 = new QPushButton(QStringLiteral("> Next"), this);
    Button2->setGeometry(256, 224, 75, 25);
    Button2->setEnabled(false);
    Button1 = new QPushButton(QStringLiteral("Cancel"), this);
    Button1->setGeometry(344, 224, 75, 25);
    for (QPushButton *button : {Button1, Button2, Button3}) {
        button->setAutoDefault(false);
        if (button->sizeHint().width() > button->width()) // keep captions whole on large fonts
            button->resize(button->sizeHint().width(), button->height());
    }

    Timer1 = new QTimer(this);
    Timer1->setInterval(kPollMs);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

bool CalculationPage::ShownModally() const {
    return isModal() || testAttribute(Qt::WA_ShowModal);
}

void CalculationPage::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // A modal page has no way back: it returns to the window that opened it.
    Button3->setVisible(!ShownModally());
    FormActivate();
}

void CalculationPage::reject() {
    // Escape or the window manager's close on a modal page means Cancel: stop
    // the run and go back. A wizard page is left only through its buttons.
    if (ShownModally())
        Button1->click();
}

void CalculationPage::CloseModal(int result) {
    done(result);
}
