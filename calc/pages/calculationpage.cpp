#include "calculationpage.h"

#include "jpegimage.h"
#include "wizardbuttons.h"

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

    const WizardButtons buttons = addWizardButtons(this);
    Button3 = buttons.back;
    Button2 = buttons.next;
    Button2->setEnabled(false);
    Button1 = buttons.cancel;

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
