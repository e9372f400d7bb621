#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A sample's grains as a data set and a CSV file hold them: one grain a line,
// "name, radius, U_ppm, Th_ppm, Sm_ppm, raw_age, raw_age_sd" (µm, ppm, Myr),
// "." decimals; the measured age and its uncertainty are empty for a grain
// that is only predicted.
namespace tarvel {

struct GrainRecord {
    std::string name; // no comma, no "=", no control character, not empty
    double radius = 0.0;
    double U = 0.0;
    double Th = 0.0;
    double Sm = 0.0;
    std::optional<double> rawAge;   // with rawAgeSd, or neither
    std::optional<double> rawAgeSd; // above 0
    // Effective uranium (ppm): U + 0.238 Th + 0.0012 Sm.
    double eU() const { return U + 0.238 * Th + 0.0012 * Sm; }
    friend bool operator==(const GrainRecord &, const GrainRecord &) = default;
};

inline constexpr std::string_view kGrainCsvHeader =
    "grain,radius,U_ppm,Th_ppm,Sm_ppm,raw_age,raw_age_sd";

// One grain's line (blanks around fields allowed). Throws Error with a
// sentence naming the field at fault; the caller puts the line in front.
GrainRecord parseGrainLine(std::string_view line);
// The line parseGrainLine reads back to the same grain: fields separated by
// ", ", numbers in the fewest digits that give them back exactly.
std::string grainLine(const GrainRecord &grain);

// A CSV file of grains: the header above, then one grain a line (blank lines
// skipped). All or nothing: throws Error naming the line at fault.
std::vector<GrainRecord> readGrainCsv(std::string_view text);
std::string grainCsv(const std::vector<GrainRecord> &grains);

} // namespace tarvel
