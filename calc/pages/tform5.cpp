#include "tform5.h"

#include "application.h"
#include "datamodule.h"
#include "gammacalc.h"
#include "penstrokes.h"
#include "xygraph.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <vector>

TForm5::TForm5(QWidget *parent)
    : CalculationPage(QStringLiteral("Gamma Calculation"), QStringLiteral("Calculating Gamma"),
                      parent) {
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm5::Button3Click);
}

TForm5::~TForm5() {
    if (Calculation)
        Calculation->RequestStop();
}

void TForm5::SetModel(TGrainData *grain, TModelData *model) {
    GrainData = grain;
    ModelData = model;
}

void TForm5::FormActivate() {
    if (Calculation)
        return; // shown again while its run goes on: follow that run
    std::vector<double> times{0.0}, temps{0.0};
    if (const CurveGraph *source = DataModule1->SourceGraph) {
        float x = 0.0f, y = 0.0f;
        for (int cursor = source->EnumPoints(0, &x, &y); cursor != 0;
             cursor = source->EnumPoints(cursor, &x, &y)) {
            times.push_back(x);
            temps.push_back(y);
        }
    }
    auto calculation = std::make_unique<gammacalc>();
    calculation->NPoints = static_cast<std::int32_t>(times.size()) - 1;
    calculation->Times = std::move(times);
    calculation->Temps = std::move(temps);
    calculation->LoadModel(DataModule1);
    StartRun(Calculation, std::move(calculation), ModelData ? ModelData->Neigen : 0);
}

void TForm5::WaitForRun() {
    Wait(Calculation);
}

void TForm5::Timer1Timer() {
    if (!RunEnded(Calculation))
        return;
    DrawResults();
    Button2->setEnabled(true);
    if (NextForm) {
        NextForm->show();
        NextForm = nullptr;
    }
    if (TargetGraph)
        TargetGraph->Invalidate();
    Calculation.reset();
    if (ShownModally())
        CloseModal(QDialog::Accepted);
    else
        hide();
}

// Calculated time against real time as one line. A run that failed or was
// stopped leaves the graph empty: a flat line at 0 would look like a result.
void TForm5::DrawResults() {
    if (!TargetGraph)
        return;
    TargetGraph->Clear();
    if (Calculation->Failed.load() || Calculation->Stopped.load())
        return;
    const auto n = static_cast<std::size_t>(Calculation->NPoints);
    std::vector<FPOINT> points;
    points.reserve(n);
    for (std::size_t i = 1; i <= n; ++i)
        points.push_back({static_cast<float>(Calculation->Times[i]),
                          static_cast<float>(Calculation->Results[i])});
    drawPolyline(*TargetGraph, points);
}

void TForm5::StopRun() {
    Stop(Calculation);
}

void TForm5::Button1Click() {
    if (!ShownModally()) {
        endProgram();
        return;
    }
    // From Recalculate, Cancel stops the run and leaves the result graph empty.
    StopRun();
    if (TargetGraph) {
        TargetGraph->Clear();
        TargetGraph->Invalidate();
    }
    NextForm = nullptr;
    CloseModal(QDialog::Rejected);
}

void TForm5::Button2Click() {
    if (QWidget *result = ResultPage) {
        result->move(pos());
        result->show();
    }
    hide();
}

void TForm5::Button3Click() {
    // The run goes on: when it ends the timer still draws the curve and shows
    // the result page.
    hide();
    if (ThermalHistoryPage)
        ThermalHistoryPage->show();
}
