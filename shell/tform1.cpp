#include "tform1.h"

#include "application.h"
#include "jpegimage.h"
#include "textbox.h"
#include "wizardbuttons.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

// Seven lines: what Tarvel computes, then how the wizard goes on.
const char *const kIntroduction = "Tarvel follows the daughter that a\n"
                                  "spherical grain holds: made in a zone,\n"
                                  "lost past the rim, driven out by heat.\n"
                                  "It shows this as calculated time.\n"
                                  "Next, enter the grain and its zone;\n"
                                  "then pick and shape a thermal history,\n"
                                  "and see calculated against real time.";

} // namespace

TForm1::TForm1(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMinimizeButtonHint) {
    setWindowTitle(QStringLiteral("Demonstration Intro"));
    setFixedSize(434, 285);

    Image1 = new QLabel(this);
    Image1->setGeometry(8, 8, 121, 209);
    Image1->setPixmap(QPixmap::fromImage(tarvel::grainPicture()).scaled(121, 209));

    Memo1 = new TextBox(QString::fromUtf8(kIntroduction), this);
    Memo1->setGeometry(140, 8, 277, 177);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    Button2 = new QPushButton(QStringLiteral("> Next"), this);
    Button2->setGeometry(256, 224, 75, 25);
    Button1 = new QPushButton(QStringLiteral("Cancel"), this);
    Button1->setGeometry(344, 224, 75, 25);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Memo1);
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    // Enter in the text starts a new line there, as in any multi-line box;
    // everywhere else on the page it means Next.
    enterPressesNext(this, Button2);
}

void TForm1::Button2Click() {
    hide();
    if (GrainPage) {
        GrainPage->move(pos());
        GrainPage->show();
    }
}

void TForm1::Button1Click() {
    endProgram();
}
