#include "constantsentry.h"

#include "agecalculation.h"

#include "errors.h"
#include "numbertext.h"

#include <cmath>
#include <limits>

namespace tarvel {

namespace {

// The largest count taken as entered; anything above falls back to the default
// of the expansion rather than to this limit.
constexpr double kMaxEigenvalues = 150;
constexpr std::int32_t kFallbackEigenvalues = 100;

float toSingle(double value, const std::string &text) {
    // Above this a double no longer rounds to the largest float.
    constexpr double kSingleLimit = 3.4028235677973366e38;
    if (!(std::fabs(value) < kSingleLimit))
        throw ConversionError(text);
    return static_cast<float>(value);
}

} // namespace

ConstantsTexts constantsTexts(const TModelData &constants, char decimalSeparator) {
    return {std::to_string(constants.Neigen),
            formatGeneral(double(constants.Activation_energy), kEditDigits, decimalSeparator),
            formatGeneral(double(constants.D0), kEditDigits, decimalSeparator)};
}

std::int32_t eigenvalueCount(double entered, const std::string &text) {
    const double truncated = std::trunc(entered);
    if (truncated > kMaxEigenvalues)
        return kFallbackEigenvalues;
    if (truncated < std::numeric_limits<std::int32_t>::min())
        throw Error("The number of eigenvalues " + text +
                    " is out of range: it must fit a 32-bit whole number.");
    return static_cast<std::int32_t>(truncated);
}

std::string eigenvalueNote(const std::string &text, char decimalSeparator) {
    double entered = 0;
    try {
        entered = parseNumber(text, decimalSeparator);
    } catch (const ConversionError &) {
        return {};
    }
    const double whole = std::trunc(entered);
    if (whole > kMaxEigenvalues)
        return "more than " + std::to_string(std::int32_t(kMaxEigenvalues)) + ": " +
               std::to_string(kFallbackEigenvalues) + " eigenvalues are used";
    if (whole < kFewestEigenvalues)
        return "at least " + std::to_string(kFewestEigenvalues) + " are needed";
    if (whole != entered)
        return "whole numbers only: " + std::to_string(std::int32_t(whole)) + " is used";
    return {};
}

TModelData applyConstantsTexts(const TModelData &constants, const ConstantsTexts &texts,
                               char decimalSeparator) {
    TModelData result = constants;
    result.Neigen = eigenvalueCount(parseNumber(texts.Neigen, decimalSeparator), texts.Neigen);
    // Every calculation would refuse the count; say so while it can be corrected.
    if (result.Neigen < kFewestEigenvalues)
        throw Error(tooFewEigenvalues(result.Neigen));
    result.Activation_energy =
        toSingle(parseNumber(texts.Activation_energy, decimalSeparator), texts.Activation_energy);
    result.D0 = toSingle(parseNumber(texts.D0, decimalSeparator), texts.D0);
    return result;
}

} // namespace tarvel
