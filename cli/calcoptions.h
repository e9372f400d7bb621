#pragma once

#include <optional>
#include <string>
#include <vector>

#include "agecalculation.h"

struct CalcOptions {
    bool coefficients = false;       // print the geometry coefficients instead of times
    bool steps = true;               // split the curve into bar steps as the desktop does
    std::optional<AgeMethod> method; // none given: the data set's method
    bool help = false;
    bool version = false;
    std::string file;       // the data file; "-" reads standard input
    std::string histories;  // the CSV of many histories ("-": standard input); empty: none
    bool finalOnly = false; // with histories: only the last point of each
    bool ages = false;      // helium, raw age, FT and corrected age (data sets with parents)
};

// Parses the arguments; on a usage error returns nothing and sets `problem`.
std::optional<CalcOptions> parseCalcOptions(const std::vector<std::string> &args,
                                            std::string &problem);
