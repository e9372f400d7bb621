#pragma once

#include "datamodule.h"

// A small sample for the search's tests: apatite grains under Durango kinetics
// (D0 50 cm²/s, Ea 138 kJ/mol), the fast method with 20 terms, a history whose
// last point, at 100 Myr, is the present; three boxes and 40 paths.
inline TDataModule1 searchDataSet() {
    TDataModule1 d;
    d.ModelData.Neigen = 20;
    d.ModelData.Activation_energy = 32961.145f;
    d.ModelData.D0 = 50.0f;
    d.GetCurrentCurve().Append(0.0f, 120.0f);
    d.GetCurrentCurve().Append(100.0f, 15.0f);
    d.Grains = {{"A", 50, 20, 40, 100, 30, 1.5},
                {"B", 80, 30, 60, 150, 40, 2},
                {"C", 65, 10, 20, 50, std::nullopt, std::nullopt}};
    d.Search.boxes = {{0, 0, 100, 140}, {30, 60, 40, 90}, {100, 100, 10, 20}};
    d.Search.paths = 40;
    return d;
}
