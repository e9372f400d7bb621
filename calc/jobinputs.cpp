#include "jobinputs.h"

#include "barsteps.h"
#include "datamodule.h"
#include "geometrycoefficients.h"

#include <algorithm>

GeometryJobInput geometryJobInput(const TDataModule1 &dataSet) {
    GeometryJobInput in;
    in.sphereRadius = dataSet.GrainData.Sphere_radius;
    in.outerRadius = dataSet.GrainData.Outer_radius;
    in.innerRadius = dataSet.GrainData.Inner_radius;
    in.emissionDistance = dataSet.ModelData.Emission_dist;
    in.terms = dataSet.ModelData.Neigen;
    return in;
}

std::vector<double> geometryCoefficients(const GeometryJobInput &input,
                                         const std::function<void(std::int32_t)> &progress,
                                         const std::atomic<bool> *stop) {
    return geometryCoefficients(input.sphereRadius, input.outerRadius, input.innerRadius,
                                input.emissionDistance, input.terms, progress, stop);
}

void storeCoefficients(TDataModule1 &dataSet, const std::vector<double> &coefficients) {
    for (std::size_t k = 1; k < coefficients.size(); ++k)
        dataSet.SetCoefficient(static_cast<std::int32_t>(k), static_cast<float>(coefficients[k]));
}

AgeMethod dataSetMethod(const TDataModule1 &dataSet) {
    return dataSet.ModelData.Method == ModelMethod::Precise ? AgeMethod::Precise : AgeMethod::Fast;
}

AgeInput modelAgeInput(const TDataModule1 &dataSet) {
    AgeInput in;
    in.sphereRadius = dataSet.GrainData.Sphere_radius;
    in.outerRadius = dataSet.GrainData.Outer_radius;
    in.innerRadius = dataSet.GrainData.Inner_radius;
    in.emissionDistance = dataSet.ModelData.Emission_dist;
    in.terms = dataSet.ModelData.Neigen;
    in.activationEnergy = dataSet.ModelData.Activation_energy;
    in.d0 = dataSet.ModelData.D0;
    in.kinetics = dataSet.ModelData.Kinetics;
    if (const TParentsData &p = dataSet.ParentsData; p.present())
        in.parents =
            ParentsInput{p.U_ppm,
                         p.Th_ppm,
                         p.Sm_ppm,
                         {p.Stopping_U238, p.Stopping_U235, p.Stopping_Th232, p.Stopping_Sm147}};
    // Only what the store holds: slots it does not hold read 0 in the
    // calculation as in the store, so a huge Neigen costs no memory here.
    const std::int32_t held = std::min(in.terms, dataSet.CoefficientCount() - 1);
    in.coefficients.assign(static_cast<std::size_t>(std::max<std::int32_t>(held, 0)) + 1, 0.0);
    for (std::int32_t j = 1; j <= held; ++j)
        in.coefficients[static_cast<std::size_t>(j)] = dataSet.GetCoefficient(j);
    return in;
}

std::vector<FPOINT> historyPoints(std::vector<FPOINT> drawn, bool steps) {
    return steps && drawn.size() >= 2 ? barsteps::subdivide(drawn) : drawn;
}

AgeJobInput ageJobInput(const TDataModule1 &dataSet, std::vector<FPOINT> drawn, bool steps) {
    AgeJobInput in = ageJobInput(modelAgeInput(dataSet), std::move(drawn), steps);
    in.method = dataSetMethod(dataSet);
    return in;
}

AgeJobInput ageJobInput(const AgeInput &model, std::vector<FPOINT> drawn, bool steps) {
    AgeJobInput in;
    in.model = model;
    in.model.times = {};
    in.model.temps = {};
    in.history = historyPoints(std::move(drawn), steps);
    return in;
}

std::vector<FPOINT> curvePoints(const ThermalCurve &curve) {
    std::vector<FPOINT> points;
    const std::size_t n = std::min(curve.Time.size(), curve.Temp.size());
    points.reserve(n > 0 ? n - 1 : 0);
    for (std::size_t i = 1; i < n; ++i)
        points.push_back({curve.Time[i], curve.Temp[i]});
    return points;
}

namespace {

// The input's history as the calculations take it: slots 1..n.
struct HistoryArrays {
    std::vector<double> times, temps;
    explicit HistoryArrays(const std::vector<FPOINT> &points)
        : times(points.size() + 1, 0.0), temps(points.size() + 1, 0.0) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            times[i + 1] = points[i].x;
            temps[i + 1] = points[i].y;
        }
    }
};

} // namespace

std::vector<double> historyAges(const AgeJobInput &input, std::atomic<std::int32_t> *progress,
                                const std::atomic<bool> *stop) {
    const HistoryArrays history(input.history);
    AgeInput in = input.model;
    in.times = history.times;
    in.temps = history.temps;
    std::vector<double> ages = calculateAges(in, input.method, progress, stop);
    ages.erase(ages.begin()); // slot 0 is unused
    return ages;
}

std::vector<HeliumAge> historyHeliumAges(const AgeJobInput &input,
                                         std::atomic<std::int32_t> *progress,
                                         const std::atomic<bool> *stop) {
    const HistoryArrays history(input.history);
    AgeInput in = input.model;
    in.times = history.times;
    in.temps = history.temps;
    std::vector<HeliumAge> rows = heliumAges(in, input.method, progress, stop);
    rows.erase(rows.begin());
    return rows;
}

std::shared_ptr<const AnnealedDose> historyJobDamage(const AgeJobInput &input,
                                                     const std::atomic<bool> *stop) {
    const HistoryArrays history(input.history);
    AgeInput in = input.model;
    in.times = history.times;
    in.temps = history.temps;
    return historyDamage(in, input.method, stop);
}

HeliumAge presentHistoryHeliumAge(const AgeJobInput &input, const std::atomic<bool> *stop) {
    const HistoryArrays history(input.history);
    AgeInput in = input.model;
    in.times = history.times;
    in.temps = history.temps;
    return presentHeliumAge(in, input.method, stop);
}
