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
    ProgressBar1->setRange(0, std::max(ProgressMax, 0));
    ProgressBar1->setValue(0);
    Button2->setEnabled(false);
    Calculation = std::make_unique<tarvelcalc>();
    Calculation->LoadModel(DataModule1);
    Calculation->Resume();
    Timer1->start();
}

void TForm3::WaitForRun() {
    if (Calculation)
        Calculation->WaitFor();
}

void TForm3::StopRun() {
    Timer1->stop();
    if (Calculation) {
        Calculation->RequestStop();
        Calculation.reset();
    }
}

void TForm3::Timer1Timer() {
    if (!Calculation) {
        Timer1->stop();
        return;
    }
    ProgressBar1->setValue(std::min(Calculation->Progress.load(), ProgressBar1->maximum()));
    if (!Calculation->Finished.load(std::memory_order_acquire))
        return;
    Timer1->stop();
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
