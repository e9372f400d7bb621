#include "agerun.h"

#include "barsteps.h"
#include "datamodule.h"

#include <algorithm>
#include <array>
#include <charconv>

AgeInput modelAgeInput(const TDataModule1 &model) {
    AgeInput in;
    in.sphereRadius = model.GrainData.Sphere_radius;
    in.outerRadius = model.GrainData.Outer_radius;
    in.innerRadius = model.GrainData.Inner_radius;
    in.emissionDistance = model.ModelData.Emission_dist;
    in.terms = model.ModelData.Neigen;
    in.activationEnergy = model.ModelData.Activation_energy;
    in.d0 = model.ModelData.D0;
    const std::int32_t held = std::min(in.terms, model.CoefficientCount() - 1);
    in.coefficients.assign(static_cast<std::size_t>(std::max<std::int32_t>(held, 0)) + 1, 0.0);
    for (std::int32_t j = 1; j <= held; ++j)
        in.coefficients[static_cast<std::size_t>(j)] = model.GetCoefficient(j);
    return in;
}

std::vector<FPOINT> historyPoints(std::vector<FPOINT> points, bool steps) {
    return steps && points.size() >= 2 ? barsteps::subdivide(points) : points;
}

std::vector<double> historyAges(const AgeInput &base, const std::vector<FPOINT> &points,
                                AgeMethod method) {
    std::vector<double> times(points.size() + 1, 0.0), temps(points.size() + 1, 0.0);
    for (std::size_t i = 0; i < points.size(); ++i) {
        times[i + 1] = points[i].x;
        temps[i + 1] = points[i].y;
    }
    AgeInput in = base;
    in.times = times;
    in.temps = temps;
    std::vector<double> ages = calculateAges(in, method);
    ages.erase(ages.begin()); // slot 0 is unused
    return ages;
}

void appendNumber(std::string &out, double value) {
    std::array<char, 64> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::general, 17);
    out.append(buf.data(), res.ptr);
}
