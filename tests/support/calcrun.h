#pragma once

#include "calccommand.h"

#include <sstream>
#include <string>
#include <vector>

// One run of tarvel-calc in this process: its exit status and what it wrote.
struct Run {
    int status = -1;
    std::string out, err;
};

inline Run calc(const std::vector<std::string> &args, const std::string &input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    Run r;
    r.status = runTarvelCalc(args, in, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}
