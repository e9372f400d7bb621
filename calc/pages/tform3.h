#pragma once

#include "calculationpage.h"

// "Geometry Calculation": computes the geometry coefficients of the grain and
// moves on when they are all stored.
class TForm3 : public CalculationPage {
public:
    explicit TForm3(QWidget *parent = nullptr)
        : CalculationPage(Kind::Geometry, QStringLiteral("Geometry Calculation"),
                          QStringLiteral("Calculating Geometry"), parent) {}
};
