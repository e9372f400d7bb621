#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gammacalc.h"

struct CalcOptions {
    bool coefficients = false; // print the geometry coefficients instead of times
    bool steps = true;         // split the curve into bar steps as the desktop does
    AgeMethod method = AgeMethod::Fast;
    bool help = false;
    std::string file; // "-" reads standard input
};

// Parses the arguments; on a usage error returns nothing and sets `problem`.
std::optional<CalcOptions> parseCalcOptions(const std::vector<std::string> &args,
                                            std::string &problem);
