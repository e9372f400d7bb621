#include "tarvelcalc.h"

#include "calcerrors.h"
#include "datamodule.h"
#include "errors.h"
#include "geometrycoefficients.h"

#include <exception>
#include <new>
#include <string>

tarvelcalc::~tarvelcalc() {
    WaitFor();
}

void tarvelcalc::LoadModel(TDataModule1 *model) {
    Model = model;
    if (!model)
        return;
    R = model->GrainData.Sphere_radius;
    b = model->GrainData.Outer_radius;
    a = model->GrainData.Inner_radius;
    S = model->ModelData.Emission_dist;
    N = model->ModelData.Neigen;
}

void tarvelcalc::Execute() {
    const RunOutcome outcome = runCalculation(
        [this] { Calculate(); }, "There is not enough memory for the geometry calculation.",
        "The geometry calculation stopped with an unknown failure.");
    Stopped.store(outcome == RunOutcome::Stopped);
    Failed.store(outcome == RunOutcome::Failed);
    Progress.store(N > 0 ? N + 1 : 1);
    Finished.store(true, std::memory_order_release);
}

void tarvelcalc::Calculate() {
    if (!Model)
        throw tarvel::Error("The geometry calculation was started without a model.");
    const std::vector<double> coefficients = geometryCoefficients(
        R, b, a, S, N, [this](std::int32_t k) { Progress.store(k); }, StopFlag());
    for (std::int32_t k = 1; k < static_cast<std::int32_t>(coefficients.size()); ++k)
        Model->SetCoefficient(k, static_cast<float>(coefficients[static_cast<std::size_t>(k)]));
}
