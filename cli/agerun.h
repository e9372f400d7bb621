#pragma once

#include <string>

struct HeliumAge;

// A number as the calculator writes it: "." and 17 significant digits.
void appendNumber(std::string &out, double value);

// The columns a row of helium ages adds after the time.
inline constexpr const char *kHeliumAgeColumns = "he_nmol_g,raw_age,ft,corrected_age";

// The columns damage kinetics add after those.
inline constexpr const char *kDamageColumns = "damage,log10_D_a2";

// Appends ",helium,raw age,ft,corrected age" as numbers as above, and with
// `damage` ",damage,log10 D/a²".
void appendHeliumAge(std::string &out, const HeliumAge &row, bool damage = false);
