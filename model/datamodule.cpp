#include "datamodule.h"

void TDataModule1::RestorePreviousCurve() {
    if (CurveHistory.empty())
        return;
    CurrentCurve = std::move(CurveHistory.back());
    CurveHistory.pop_back();
}

void TDataModule1::SetCoefficient(std::int32_t index, float value) {
    if (index < 0)
        return; // no slot below 0 exists to hold it
    const auto slot = static_cast<std::size_t>(index);
    if (slot >= Coefficients.size())
        Coefficients.resize(slot + 1, 0.0f);
    Coefficients[slot] = value;
}

float TDataModule1::GetCoefficient(std::int32_t index) const {
    if (index < 0 || index >= CoefficientCount())
        return 0.0f;
    return Coefficients[static_cast<std::size_t>(index)];
}
