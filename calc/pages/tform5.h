#pragma once

#include "calculationpage.h"
#include "modelrecords.h"

#include <memory>

class gammacalc;
class Txygraph;

// "Gamma Calculation": runs the age calculation on the points of the model's
// source graph and draws calculated time against real time into its target
// graph.
class TForm5 : public CalculationPage {
    Q_OBJECT

public:
    explicit TForm5(QWidget *parent = nullptr);
    ~TForm5() override;

    std::unique_ptr<gammacalc> Calculation;
    TGrainData *GrainData = nullptr; // recorded by SetModel, not owned
    TModelData *ModelData = nullptr;
    Txygraph *TargetGraph = nullptr;       // receives the curve, not owned
    QWidget *NextForm = nullptr;           // shown when the run ends, then cleared
    QWidget *ThermalHistoryPage = nullptr; // "< Back" in the wizard
    QWidget *ResultPage = nullptr;         // "> Next" in the wizard

    void SetModel(TGrainData *grain, TModelData *model);

    void FormActivate() override;
    void Timer1Timer() override;
    bool Running() const override { return Calculation != nullptr; }
    void WaitForRun() override;

    void Button1Click(); // Cancel
    void Button2Click(); // > Next
    void Button3Click(); // < Back

    void StopRun() override;

private:
    void DrawResults();
};
