#include "historycheck.h"

#include "errors.h"
#include "numbertext.h"

#include <cmath>
#include <string>

namespace {

// The values are single precision, as the user entered them: 8 digits show
// them as the data file holds them.
std::string number(float value) {
    return tarvel::formatGeneral(static_cast<double>(value), tarvel::kDataFileDigits,
                                 tarvel::localeDecimalSeparator());
}

} // namespace

void checkDrawnHistory(std::span<const float> times, std::span<const float> temps,
                       std::span<const std::int32_t> lines) {
    if (times.size() != temps.size() || (!lines.empty() && lines.size() != times.size()))
        throw tarvel::Error("The thermal history has " + std::to_string(times.size()) +
                            " times but " + std::to_string(temps.size()) + " temperatures.");
    auto where = [&](std::size_t i) {
        return lines.empty() ? std::string() : ", line " + std::to_string(lines[i]);
    };
    // "time 50 (20 °C, line 16)"
    auto point = [&](std::size_t i) {
        return "time " + number(times[i]) + " (" + number(temps[i]) + " °C" + where(i) + ")";
    };
    for (std::size_t i = 0; i < times.size(); ++i) {
        if (!std::isfinite(times[i]) || !std::isfinite(temps[i]))
            throw tarvel::Error(
                "The thermal history holds a value that is not a finite number: " + point(i) + ".");
        if (static_cast<double>(temps[i]) <= -273.15) // as the calculation tests it
            throw tarvel::Error("The thermal history has a temperature at or below absolute zero "
                                "(-273.15 °C): " +
                                point(i) + ".");
        if (i > 0 && times[i] < times[i - 1])
            throw tarvel::Error("Time runs backwards in the thermal history: " + point(i) +
                                " follows " + point(i - 1) + ".");
    }
}
