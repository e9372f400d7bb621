#pragma once

#include "calculationpage.h"

// "Gamma Calculation": computes the ages of a thermal history and draws
// calculated time against real time into its target graph.
class TForm5 : public CalculationPage {
public:
    explicit TForm5(QWidget *parent = nullptr)
        : CalculationPage(Kind::Age, QStringLiteral("Gamma Calculation"),
                          QStringLiteral("Calculating Gamma"), parent) {}
};
