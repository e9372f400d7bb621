#include "gammacalc.h"

#include "calcerrors.h"
#include "datamodule.h"
#include "errors.h"

#include <algorithm>
#include <exception>
#include <new>
#include <string>

gammacalc::~gammacalc() {
    WaitFor();
}

void gammacalc::LoadModel(TDataModule1 *model) {
    HaveModel = model != nullptr;
    try {
        Results.assign(static_cast<std::size_t>(std::max<std::int32_t>(NPoints, 0)) + 1, 0.0);
    } catch (const std::bad_alloc &) {
        Results.clear(); // the body tries again and reports the failure
    }
    if (!model)
        return;
    R = model->GrainData.Sphere_radius;
    b = model->GrainData.Outer_radius;
    a = model->GrainData.Inner_radius;
    S = model->ModelData.Emission_dist;
    N = model->ModelData.Neigen;
    Ea = model->ModelData.Activation_energy;
    D0 = model->ModelData.D0;
    // Only what the store holds: slots it does not hold read 0 in the
    // calculation as in the store, so a huge Neigen costs no memory here.
    const std::int32_t held = std::min(N, model->CoefficientCount() - 1);
    try {
        Coefficients.assign(static_cast<std::size_t>(std::max<std::int32_t>(held, 0)) + 1, 0.0);
        for (std::int32_t j = 1; j <= held; ++j)
            Coefficients[static_cast<std::size_t>(j)] = model->GetCoefficient(j);
    } catch (const std::bad_alloc &) {
        Coefficients.clear();
        LoadFailure = "There is not enough memory to copy the geometry coefficients.";
    }
}

void gammacalc::Execute() {
    const RunOutcome outcome = runCalculation(
        [this] { Calculate(); },
        "There is not enough memory for the age calculation of " + std::to_string(NPoints) +
            " points with " + std::to_string(N) + " eigenvalues.",
        "The age calculation stopped with an unknown failure.");
    Stopped.store(outcome == RunOutcome::Stopped);
    Failed.store(outcome == RunOutcome::Failed);
    Finished.store(true, std::memory_order_release);
}

void gammacalc::Calculate() {
    if (!HaveModel)
        throw tarvel::Error("The age calculation was started without a model.");
    if (!LoadFailure.empty())
        throw tarvel::Error(LoadFailure);
    if (NPoints < 0)
        throw tarvel::Error("The thermal history cannot have a negative number of points (" +
                            std::to_string(NPoints) + ").");
    const auto slots = static_cast<std::size_t>(NPoints) + 1;
    if (Times.size() < slots || Temps.size() < slots)
        throw tarvel::Error("The thermal history should have " + std::to_string(NPoints) +
                            " points but holds " + std::to_string(Times.size()) + " time and " +
                            std::to_string(Temps.size()) + " temperature slots (slot 0 unused).");
    if (Results.size() != slots)
        Results.assign(slots, 0.0); // LoadModel came before NPoints was set

    AgeInput input;
    input.sphereRadius = R;
    input.outerRadius = b;
    input.innerRadius = a;
    input.emissionDistance = S;
    input.terms = N;
    input.activationEnergy = Ea;
    input.d0 = D0;
    input.coefficients = Coefficients;
    input.times = std::span<const double>(Times.data(), slots);
    input.temps = std::span<const double>(Temps.data(), slots);

    const std::vector<double> ages = calculateAges(input, Method, &Progress, StopFlag());
    std::copy(ages.begin(), ages.end(), Results.begin());
}
