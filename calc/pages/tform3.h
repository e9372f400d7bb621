#pragma once

#include "calculationpage.h"

#include <memory>

class tarvelcalc;

// "Geometry Calculation": runs the geometry coefficients for the model's grain
// and moves on when they are all stored.
class TForm3 : public CalculationPage {
    Q_OBJECT

public:
    explicit TForm3(QWidget *parent = nullptr);
    ~TForm3() override;

    std::unique_ptr<tarvelcalc> Calculation;
    int ProgressMax = 0;

    // The wizard pages around this one, set when the roster is created; the
    // page only shows and moves them.
    QWidget *ThermalHistoryPage = nullptr; // shown when the run ends
    QWidget *GrainPage = nullptr;          // "< Back"

    void FormActivate() override;
    void Timer1Timer() override;
    bool Running() const override { return Calculation != nullptr; }
    void WaitForRun() override;
    void StopRun() override;

    void Button1Click(); // Cancel
    void Button2Click(); // > Next
    void Button3Click(); // < Back

private:
    void ShowNextPage();
};
