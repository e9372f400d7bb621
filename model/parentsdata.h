#pragma once

#include "modelrecords.h"

#include <array>
#include <cstddef>

// The parent nuclides of the helium: the grain's uranium, thorium and samarium
// as a laboratory measures them (whole-grain, present-day, µg/g) and the
// distance each parent's alpha particles travel before they stop (µm). A data
// set with a concentration above 0 is a parents data set: its helium comes
// from 238U, 235U, 232Th and 147Sm, each emitting at its own stopping
// distance, instead of from one emission distance at a constant rate.
struct TParentsData {
    float U_ppm = 0.0f;  // total uranium
    float Th_ppm = 0.0f; // thorium (all 232Th)
    float Sm_ppm = 0.0f; // total samarium
    // Apatite's stopping distances, which a parents data set that names none takes.
    float Stopping_U238 = 18.81f;
    float Stopping_U235 = 21.80f;
    float Stopping_Th232 = 22.25f;
    float Stopping_Sm147 = 5.93f;

    bool present() const { return U_ppm > 0 || Th_ppm > 0 || Sm_ppm > 0; }
    friend bool operator==(const TParentsData &, const TParentsData &) = default;
};

// Stopping distances in µm of 238U, 235U, 232Th and 147Sm in a mineral, and
// the kinetics a grain of it is read with: its radiation-damage model where
// one is published, else Arrhenius with the data set's D0 and Ea.
struct MineralPreset {
    const char *name;
    std::array<float, 4> stopping;
    ModelKinetics kinetics;
};

inline constexpr std::array<MineralPreset, 3> kMineralPresets = {{
    {"apatite", {18.81f, 21.80f, 22.25f, 5.93f}, ModelKinetics::Rdaam},
    {"zircon", {15.55f, 18.05f, 18.43f, 4.76f}, ModelKinetics::Zrdaam},
    {"titanite", {17.46f, 20.25f, 20.68f, 5.47f}, ModelKinetics::Arrhenius},
}};

// The kinetics as the windows offer and name them.
struct KineticsChoice {
    ModelKinetics kinetics;
    const char *label; // in a list of choices
    const char *name;  // in a sentence about a result
};

inline constexpr std::array<KineticsChoice, 3> kKineticsChoices = {{
    {ModelKinetics::Arrhenius, "Arrhenius (D0, Ea)", "Arrhenius"},
    {ModelKinetics::Rdaam, "Apatite, radiation damage (RDAAM)", "RDAAM"},
    {ModelKinetics::Zrdaam, "Zircon, radiation damage (ZRDAAM)", "ZRDAAM"},
}};

inline const KineticsChoice &kineticsChoice(ModelKinetics kinetics) {
    for (const KineticsChoice &choice : kKineticsChoices)
        if (choice.kinetics == kinetics)
            return choice;
    return kKineticsChoices[0];
}

// Published Arrhenius constants of a mineral's helium diffusion: Ea in
// cal/mol (the papers give kJ/mol; a calorie is 4.184 J) and D0 in cm²/s.
struct ArrheniusPreset {
    const char *name;
    float activationEnergy;
    float d0;
};

inline constexpr std::array<ArrheniusPreset, 2> kArrheniusPresets = {{
    {"Apatite (Farley 2000)", 138000.0f / 4.184f, 50.0f}, // Ea 138 kJ/mol
    {"Zircon (Reiners 2004)", 169000.0f / 4.184f, 0.46f}, // Ea 169 kJ/mol
}};

// Puts a preset's stopping distances into `parents`; the concentrations stay.
inline void applyMineralPreset(TParentsData &parents, const MineralPreset &preset) {
    parents.Stopping_U238 = preset.stopping[0];
    parents.Stopping_U235 = preset.stopping[1];
    parents.Stopping_Th232 = preset.stopping[2];
    parents.Stopping_Sm147 = preset.stopping[3];
}

// The preset whose four stopping distances `parents` holds, or null.
inline const MineralPreset *matchingMineralPreset(const TParentsData &parents) {
    for (const MineralPreset &preset : kMineralPresets)
        if (parents.Stopping_U238 == preset.stopping[0] &&
            parents.Stopping_U235 == preset.stopping[1] &&
            parents.Stopping_Th232 == preset.stopping[2] &&
            parents.Stopping_Sm147 == preset.stopping[3])
            return &preset;
    return nullptr;
}
