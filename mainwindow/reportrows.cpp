#include "reportrows.h"

#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace reportrows {

namespace {

struct Picture {
    int minDecimals = 0; // the "0"s after the point
    int maxDecimals = 0; // every digit place after the point
};

Picture parsePicture(std::string_view pattern) {
    const auto point = pattern.find('.');
    const std::string_view whole = pattern.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);
    const auto onlyDigitMarks = [](std::string_view part) {
        return part.find_first_not_of("#0") == std::string_view::npos;
    };
    if (whole.empty() || whole.back() != '0' || !onlyDigitMarks(whole) || !onlyDigitMarks(fraction))
        throw std::invalid_argument("not a number picture: " + std::string(pattern));
    Picture p;
    p.maxDecimals = static_cast<int>(fraction.size());
    // Decimals are written up to the last "0"; "#"s after it only when significant.
    p.minDecimals = static_cast<int>(fraction.find_last_of('0') + 1);
    return p;
}

// The exact decimal expansion of |value|: every finite double has at most 1074
// fraction digits and 309 integer digits, so nothing is rounded here.
std::string exactDigits(double value) {
    static thread_local std::array<char, 1500> buf;
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value),
                                   std::chars_format::fixed, 1074);
    return std::string(buf.data(), res.ptr);
}

// "iii.fff..." rounded to `decimals` places, halves away from zero.
std::string roundDecimal(const std::string &exact, int decimals) {
    const auto point = exact.find('.');
    std::string digits = exact.substr(0, point) + exact.substr(point + 1, std::size_t(decimals));
    const bool roundUp = exact[point + 1 + std::size_t(decimals)] >= '5';
    if (roundUp) {
        auto i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    const auto integerDigits = digits.size() - std::size_t(decimals);
    return digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
}

} // namespace

std::string formatPicture(double value, std::string_view pattern, char decimalSeparator) {
    const Picture picture = parsePicture(pattern);
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    std::string text = roundDecimal(exactDigits(value), picture.maxDecimals);
    // Trailing "#" places are dropped when zero; the point goes with no decimals.
    auto keep = text.size();
    const auto point = text.find('.');
    const auto minimum = point + std::size_t(picture.minDecimals);
    while (keep - 1 > minimum && text[keep - 1] == '0')
        --keep;
    text.resize(keep);
    if (text.back() == '.')
        text.pop_back();
    else
        text[point] = decimalSeparator;
    // A value that rounds to zero is written without a sign.
    const bool zero =
        text.find_first_not_of(std::string("0") + decimalSeparator) == std::string::npos;
    return value < 0 && !zero ? "-" + text : text;
}

std::vector<Row> rows(const TModelData &model, const TGrainData &grain,
                      const std::vector<std::string> &annotation, char decimalSeparator) {
    const auto number = [decimalSeparator](double value, std::string_view pattern) {
        return formatPicture(value, pattern, decimalSeparator);
    };
    std::vector<Row> out;
    for (const std::string &line : annotation)
        out.push_back({line, true});
    const auto add = [&out](std::string text) { out.push_back({std::move(text), false}); };
    add("");
    add("");
    add("Model Data");
    add("Number of Eigen Values: " + number(model.Neigen, "####0"));
    add("Activation Energy: " + number(model.Activation_energy, "####0.00"));
    add("Emission Distance: " + number(model.Emission_dist, "####0.00"));
    add("D0: " + number(model.D0, "####0.0###"));
    add("");
    add("Grain Parameters");
    add("Sphere Radius: " + number(grain.Sphere_radius, "####0.00"));
    add("Outer Zone Radius: " + number(grain.Outer_radius, "####0.00"));
    add("Inner Zone Radius: " + number(grain.Inner_radius, "####0.00"));
    return out;
}

std::vector<Row> parentsRows(const TParentsData &parents, char decimalSeparator) {
    const auto number = [decimalSeparator](double value) {
        return formatPicture(value, "####0.00", decimalSeparator);
    };
    return {{"Parents", false},
            {"U: " + number(parents.U_ppm) + " ppm    Th: " + number(parents.Th_ppm) +
                 " ppm    Sm: " + number(parents.Sm_ppm) + " ppm",
             false},
            {"Stopping distances: 238U " + number(parents.Stopping_U238) + ", 235U " +
                 number(parents.Stopping_U235) + ", 232Th " + number(parents.Stopping_Th232) +
                 ", 147Sm " + number(parents.Stopping_Sm147) + " \u00b5m",
             false}};
}

Row sourceRow(bool precise, const std::string &fileName, const std::string &date) {
    return {std::string("Method: ") + (precise ? "precise" : "fast") + "    Data set: " +
                (fileName.empty() ? std::string("not saved to a file") : fileName) +
                "    Date: " + date,
            true}; // a long file name is cut at the edge like the annotation
}

} // namespace reportrows
