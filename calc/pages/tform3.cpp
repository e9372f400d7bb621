#include "tform3.h"

#include "application.h"
#include "datamodule.h"
#include "tarvelcalc.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

TForm3::TForm3(QWidget *parent)
    : CalculationPage(QStringLiteral("Geometry Calculation"),
                      QStringLiteral("Calculating Geometry"), parent) {
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm3::Button3Click);
}

TForm3::~TForm3() {
    if (Calculation)
        Calculation->RequestStop();
}

void TForm3::FormActivate() {
    if (Calculation)
        return; // shown again while its run goes on: follow that run
    ProgressMax = DataModule1->ModelData.Neigen;
    auto calculation = std::make_unique<tarvelcalc>();
    calculation->LoadModel(DataModule1);
    StartRun(Calculation, std::move(calculation), ProgressMax);
}

void TForm3::WaitForRun() {
    Wait(Calculation);
}

void TForm3::StopRun() {
    Stop(Calculation);
}

void TForm3::Timer1Timer() {
    if (!RunEnded(Calculation))
        return;
    // The body has returned once Finished is set; deleting it joins the thread,
    // and only then are the coefficients read by anybody.
    const bool failed = Calculation->Failed.load();
    Calculation.reset();
    if (failed) {
        // The coefficients were not stored: an age run now would use stale ones.
        if (ShownModally())
            CloseModal(QDialog::Rejected);
        return;
    }
    Button2->setEnabled(true);
    if (ShownModally())
        CloseModal(QDialog::Accepted);
    else
        ShowNextPage();
}

void TForm3::ShowNextPage() {
    hide();
    if (QWidget *next = ThermalHistoryPage) {
        next->move(pos());
        next->show();
    }
}

void TForm3::Button1Click() {
    if (!ShownModally()) {
        endProgram();
        return;
    }
    StopRun();
    CloseModal(QDialog::Rejected);
}

void TForm3::Button2Click() {
    ShowNextPage();
}

void TForm3::Button3Click() {
    // Back to the grain parameters; a run still going ends without moving on.
    StopRun();
    hide();
    if (QWidget *previous = GrainPage)
        previous->show();
}
