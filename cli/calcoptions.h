#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "agecalculation.h"

struct CalcOptions {
    bool coefficients = false;       // print the geometry coefficients instead of times
    bool steps = true;               // split the curve into bar steps as the desktop does
    std::optional<AgeMethod> method; // none given: the data set's method
    // None given: the data set's kinetics.
    std::optional<ModelKinetics> kinetics;
    bool help = false;
    bool version = false;
    std::string file;       // the data file; "-" reads standard input
    std::string histories;  // the CSV of many histories ("-": standard input); empty: none
    bool finalOnly = false; // with histories: only the last point of each
    bool ages = false;      // helium, raw age, FT and corrected age (data sets with parents)
    bool grains = false;    // predict a sample of grains under the data set's history
    std::string grainsCsv;  // their CSV ("-": standard input); empty: the data set's own
    bool summary = false;   // with grains: one line of chi-square instead of a line per grain
    // The search for the histories the data set's grains allow (--invert).
    bool invert = false;
    std::optional<std::int64_t> paths; // over the data set's Search_paths
    std::optional<std::uint64_t> seed; // over its Search_seed
    std::string acceptedCsv;           // the good and acceptable paths; empty: not written
    std::string envelopeCsv;           // their envelope; empty: not written
};

// Parses the arguments; on a usage error returns nothing and sets `problem`.
std::optional<CalcOptions> parseCalcOptions(const std::vector<std::string> &args,
                                            std::string &problem);
