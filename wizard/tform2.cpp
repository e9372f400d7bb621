#include "tform2.h"

#include "application.h"
#include "datamodule.h"
#include "grainpanel.h"
#include "wizardbuttons.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

TForm2::TForm2(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Grain parameters"));
    setFixedSize(434, 285);
    move(5, 260);

    // The edits take what the captions leave of the row, at most their design
    // width; the warning wraps, as the page is narrower than the sentence.
    grainPanel = new GrainPanel({.captions = {QStringLiteral("Sphere radius (µm)"),
                                              QStringLiteral("Emission zone outer radius (µm)"),
                                              QStringLiteral("Emission zone Inner radius (µm)"),
                                              QStringLiteral("Emission distance (µm)")},
                                 .captionLeft = 176,
                                 .firstEdit = QRect(336, 32, 81, 21),
                                 .minEditWidth = 48,
                                 .sphere = QRect(16, 24, 150, 150),
                                 .warningPos = QPoint(48, 180),
                                 .warningBox = QSize(370, 40)},
                                this);
    grainPanel->lendPieces(
        {&Label1, &Label2, &Label3, &Label4},
        {&Edit_Radius, &Edit_Outer_Radius, &Edit_Inner_Radius, &Edit_Emission_Dist},
        {&Shape1, &Shape2, &Shape3}, &Label6);

    const WizardButtons buttons = addWizardButtons(this);
    Button3 = buttons.back;
    Button2 = buttons.next;
    Button1 = buttons.cancel;

    connect(grainPanel, &GrainPanel::entryChanged, this, guarded([this] { Edit_RadiusChange(); }));
    connect(grainPanel, &GrainPanel::entryLeft, this, guarded([this] { Edit_RadiusExit(); }));
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
}

// The panel has checked the entries, redrawn the grain and shown or hidden
// the warning.
void TForm2::Edit_RadiusChange() {
    Button2->setEnabled(grainPanel->passes());
}

void TForm2::Edit_RadiusExit() {
    Label6->setVisible(!Button2->isEnabled());
}

void TForm2::showEvent(QShowEvent *event) {
    if (Model)
        grainPanel->setEmissionUsed(!Model->ParentsData.present());
    QWidget::showEvent(event);
}

void TForm2::Button2Click() {
    if (GeometryPage)
        GeometryPage->move(pos());
    TDataModule1 &model = *Model;
    grainPanel->store(model);
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
