#include "tform6.h"

#include "application.h"
#include "xygraph.h"

#include <QLabel>
#include <QPushButton>

TForm6::TForm6(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Calculated Age"));

    // Room for the longest line (a data set with parents) on two rows.
    ResultLine = new QLabel(this);
    ResultLine->setWordWrap(true);
    ResultLine->setTextInteractionFlags(Qt::TextSelectableByMouse); // to copy the number
    const int lineHeight = 2 * ResultLine->fontMetrics().lineSpacing() + 4;
    ResultLine->setGeometry(8, 2, 418, lineHeight);
    const int top = lineHeight + 2;
    setFixedSize(434, 275 + top);

    xygraph1 = new Txygraph(this);
    xygraph1->setGeometry(0, top, 345, 201);
    xygraph1->setxmax(100.0f);
    xygraph1->setymax(2.0f);
    xygraph1->SetSideScales(sscBoth);
    xygraph1->SetTicks(sscBoth);
    xygraph1->SetAutoAxis(sscBoth);
    xygraph1->SetHLabel(QStringLiteral("Real Time (Myr)"));
    xygraph1->SetVLabel(QStringLiteral("CalcTime (Myr)"));

    Button3 = new QPushButton(QStringLiteral("< Back"), this);
    Button3->setGeometry(256, 240 + top, 75, 25);
    Button1 = new QPushButton(QStringLiteral("Done"), this);
    Button1->setGeometry(344, 240 + top, 75, 25);
    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
}

void TForm6::showEvent(QShowEvent *event) {
    ResultLine->setText(ResultText ? ResultText() : QString());
    QWidget::showEvent(event);
}

void TForm6::Button1Click() {
    if (Done)
        Done();
    hide();
}

void TForm6::Button3Click() {
    hide();
    if (BackToEditing)
        BackToEditing();
}
