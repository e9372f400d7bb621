#pragma once

#include "calccommand.h"

#include <sstream>
#include <string>
#include <utility>
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

// The time,calculated_time rows tarvel-calc writes for a data file.
inline std::vector<std::pair<double, double>> calculatorRows(const std::string &file) {
    const Run r = calc({file});
    std::vector<std::pair<double, double>> rows;
    std::istringstream csv(r.out);
    std::string line;
    std::getline(csv, line); // the header
    while (std::getline(csv, line)) {
        const auto comma = line.find(',');
        rows.emplace_back(std::stod(line.substr(0, comma)), std::stod(line.substr(comma + 1)));
    }
    return rows;
}
