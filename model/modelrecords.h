#pragma once

#include <cstdint>
#include <vector>

// How the age calculation treats the thermal history. Fast holds the
// diffusivity over each bar step and extrapolates the series, as every data set
// written before the choice existed was computed; precise takes the temperature
// linear between the points and sums the series to infinity.
enum class ModelMethod : std::uint8_t { Fast, Precise };

// How the helium diffusivity follows the grain's state. Arrhenius takes the
// data set's activation energy and D0; the radiation-damage models take their
// published parameters and the grain's own uranium, thorium and samarium, whose
// alpha damage (annealed along the history) slows the helium: RDAAM for
// apatite (Flowers et al. 2009), ZRDAAM for zircon (Guenthner et al. 2013).
enum class ModelKinetics : std::uint8_t { Arrhenius, Rdaam, Zrdaam };

// The model constants.
struct TModelData {
    std::int32_t Neigen = 20;           // number of eigenvalues (terms of the expansion)
    float Emission_dist = 20.0f;        // µm
    float Activation_energy = 36200.0f; // cal/mol
    float D0 = 1807.8f;                 // cm²/s
    ModelMethod Method = ModelMethod::Fast;
    ModelKinetics Kinetics = ModelKinetics::Arrhenius;
};

// The grain geometry; zero until a page, a data file or the settings fill it.
struct TGrainData {
    float Sphere_radius = 0.0f;
    float Outer_radius = 0.0f;
    float Inner_radius = 0.0f;
};

// A thermal history. Slot 0 is never used, so the points are in slots
// 1..Count()-1 and an empty curve has Count() == 1.
struct ThermalCurve {
    std::vector<float> Time{0.0f};
    std::vector<float> Temp{0.0f};

    std::int32_t Count() const { return static_cast<std::int32_t>(Time.size()); }
    std::int32_t PointCount() const { return Count() - 1; }
    void Append(float time, float temp) {
        Time.push_back(time);
        Temp.push_back(temp);
    }
    void MakeEmpty() {
        Time.assign(1, 0.0f);
        Temp.assign(1, 0.0f);
    }
};
