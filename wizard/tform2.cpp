#include "tform2.h"

#include "application.h"
#include "datamodule.h"
#include "geometrycheck.h"
#include "grainedits.h"
#include "tshape.h"
#include "wizardbuttons.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

namespace {

constexpr int kEditRight = 417; // the edits' right edge

QLabel *makeLabel(QWidget *parent, int top, const QString &text) {
    auto *label = new QLabel(text, parent);
    label->move(176, top);
    label->adjustSize();
    return label;
}

} // namespace

TForm2::TForm2(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Grain parameters"));
    setFixedSize(434, 285);
    move(5, 260);

    Shape1 = new TShape(this, Qt::white, Qt::SolidLine);
    Shape1->setGeometry(16, 24, 150, 150);
    Shape2 = new TShape(this, Qt::red, Qt::DashLine);
    Shape2->setGeometry(41, 49, 100, 100);
    Shape3 = new TShape(this, Qt::white, Qt::SolidLine);
    Shape3->setGeometry(66, 74, 50, 50);

    Label1 = makeLabel(this, 32, QStringLiteral("Sphere radius "));
    Label2 = makeLabel(this, 64, QStringLiteral("Emission zone outer radius"));
    Label3 = makeLabel(this, 96, QStringLiteral("Emission zone Inner radius"));
    Label4 = makeLabel(this, 128, QStringLiteral("Emission distance"));
    // The edits take what the captions leave of the row, at most their design width.
    int captions = 0;
    for (QLabel *label : {Label1, Label2, Label3, Label4})
        captions = std::max(captions, label->x() + label->width());
    const int editLeft = std::max(336, captions + 8);
    const int editWidth = std::max(48, kEditRight - editLeft);
    auto makeEdit = [&](QLabel *label, const QString &text, const QString &hint) {
        auto *edit = new QLineEdit(text, this);
        edit->setGeometry(editLeft, label->y(), editWidth, 21);
        edit->setToolTip(hint);
        label->move(label->x(), edit->y() + (edit->height() - label->height()) / 2);
        return edit;
    };
    Edit_Radius = makeEdit(Label1, QStringLiteral("60"), QStringLiteral("The size of the object"));
    Edit_Outer_Radius =
        makeEdit(Label2, QStringLiteral("40"), QStringLiteral("Another hint of a value"));
    Edit_Inner_Radius = makeEdit(Label3, QStringLiteral("20"), QString());
    Edit_Emission_Dist = makeEdit(Label4, QStringLiteral("20"), QString());

    Label6 = new QLabel(QString::fromUtf8(geometrycheck::kRadiiRuleText), this);
    Label6->setWordWrap(true); // the page is narrower than the sentence
    Label6->setGeometry(48, 180, 370, 40);
    Label6->hide();

    const WizardButtons buttons = addWizardButtons(this);
    Button3 = buttons.back;
    Button2 = buttons.next;
    Button1 = buttons.cancel;

    for (QLineEdit *edit :
         {Edit_Radius, Edit_Outer_Radius, Edit_Inner_Radius, Edit_Emission_Dist}) {
        connect(edit, &QLineEdit::textChanged, this, guarded([this] { Edit_RadiusChange(); }));
        edit->installEventFilter(this);
    }
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
}

void TForm2::Edit_RadiusChange() {
    const QString problem = drawGrainToScale(grainEditsOf(*this), *Shape1, *Shape2, *Shape3);
    if (!problem.isEmpty())
        Label6->setText(problem);
    Button2->setEnabled(problem.isEmpty());
    Label6->setVisible(!Button2->isEnabled());
}

void TForm2::Edit_RadiusExit() {
    Label6->setVisible(!Button2->isEnabled());
}

bool TForm2::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusOut)
        Edit_RadiusExit();
    return QWidget::eventFilter(watched, event);
}

void TForm2::Button2Click() {
    if (GeometryPage)
        GeometryPage->move(pos());
    TDataModule1 &model = *Model;
    storeGrainEdits(grainEditsOf(*this), model);
    model.ModelData.Neigen = 20;
    hide();
    if (GeometryPage)
        GeometryPage->show();
}

void TForm2::Button3Click() {
    hide();
    if (IntroPage)
        IntroPage->show();
}

void TForm2::Button1Click() {
    endProgram();
}
