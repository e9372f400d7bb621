#pragma once

#include "agetestsupport.h"

#include <string>
#include <vector>

// The histories the precise method is held to, on the default grain with 50
// terms. Each is handed over as the calculator hands it: the drawn points
// split into steps of at most 5 time units, single-precision values.
struct PreciseCase {
    std::string name; // also the truth file's name, tests/calc/data/NAME.csv
    Grain grain{60, 40, 20, 20, 50};
    History history;
};

namespace precisecases {

// Drawn points joined by straight lines, split into steps of `step` or less.
inline History drawn(const std::vector<std::pair<double, double>> &points, double step = 5) {
    History h;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 0) {
            const auto [t0, T0] = points[i - 1];
            const auto [t1, T1] = points[i];
            for (double t = t0 + step; t1 - t > 1e-9 * (1 + t1); t += step)
                h.add(static_cast<float>(t),
                      static_cast<float>(T0 + (T1 - T0) * (t - t0) / (t1 - t0)));
        }
        h.add(static_cast<float>(points[i].first), static_cast<float>(points[i].second));
    }
    return h;
}

// 120 -> 20 °C over 0..100 Myr.
inline PreciseCase cooling() {
    return {"cooling-continuous", {}, drawn({{0, 120}, {100, 20}})};
}

// The same cooling over 0..4500 Myr, drawn as 1,000 points on the line.
inline PreciseCase stretched() {
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < 1000; ++i) {
        const double t = 4500.0 * i / 999;
        points.push_back({t, 120 - 100 * t / 4500});
    }
    return {"stretched-continuous", {}, drawn(points)};
}

// Cooling, a heating pulse to 95 °C at 65 Myr, and cooling again.
inline PreciseCase reheating() {
    return {"reheating-continuous",
            {},
            drawn({{0, 120}, {40, 30}, {60, 30}, {65, 95}, {75, 25}, {100, 20}})};
}

inline std::vector<PreciseCase> all() {
    return {cooling(), stretched(), reheating()};
}

} // namespace precisecases
