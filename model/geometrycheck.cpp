#include "geometrycheck.h"

#include "errors.h"
#include "numbertext.h"

#include <cmath>
#include <limits>

namespace geometrycheck {

const char *const kRadiiRuleText =
    "Setting does not satisfy: SphereRadius >= OuterRadius > InnerRadius >= 0";
const char *const kEmissionRuleText = "The emission distance must be a number of at least 0.";

std::optional<double> parseEntry(std::string_view text, char localeSeparator) {
    double value = 0.0;
    try {
        value = tarvel::parseNumberEither(text, localeSeparator);
    } catch (const tarvel::ConversionError &) {
        return std::nullopt;
    }
    // The model keeps single precision: a value that would become infinite there is refused.
    if (!std::isfinite(static_cast<float>(value)))
        return std::nullopt;
    return value;
}

bool radiiFollowRule(double sphere, double outer, double inner) {
    if (!std::isfinite(sphere) || !std::isfinite(outer) || !std::isfinite(inner))
        return false;
    // Tested in this order so that the first broken part decides, as it always has.
    return !(sphere <= 0 || outer < 0 || inner < 0 || outer <= inner || sphere < outer);
}

bool emissionFollowsRule(double emission) {
    return std::isfinite(emission) && emission >= 0.0;
}

std::string grainProblem(double sphere, double outer, double inner,
                         std::optional<double> emission) {
    auto number = [](double value) {
        return tarvel::formatGeneral(value, tarvel::kEditDigits, tarvel::localeDecimalSeparator());
    };
    if (!radiiFollowRule(sphere, outer, inner))
        return std::string(kRadiiRuleText) + " (sphere radius " + number(sphere) +
               ", outer radius " + number(outer) + ", inner radius " + number(inner) + ").";
    if (emission && !emissionFollowsRule(*emission)) {
        std::string text = kEmissionRuleText;
        text.pop_back(); // its full stop, after the value
        return text + " (got " + number(*emission) + ").";
    }
    return {};
}

namespace {

// Whole pixels, truncated toward zero. For whole-number radii this equals the
// integer quotient: the product is exact in a double, and the quotient's
// rounding error stays far below the distance 1 / sphere to the next integer.
long long pixels(long long width, double radius, double sphere) {
    return static_cast<long long>(std::trunc(static_cast<double>(width) * radius / sphere));
}

Square centredIn(Square outer, long long size) {
    const long long left = outer.left + (outer.size - size) / 2;
    const long long top = outer.top + (outer.size - size) / 2;
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(size)};
}

} // namespace

Result check(std::string_view sphereText, std::string_view outerText, std::string_view innerText,
             std::string_view emissionText, Square sphereSquare, char localeSeparator) {
    Result result;
    const auto emission = parseEntry(emissionText, localeSeparator);
    result.emissionValid = emission && emissionFollowsRule(*emission);

    const auto sphere = parseEntry(sphereText, localeSeparator);
    const auto outer = parseEntry(outerText, localeSeparator);
    const auto inner = parseEntry(innerText, localeSeparator);
    if (!sphere || !outer || !inner)
        return result;
    if (!radiiFollowRule(*sphere, *outer, *inner) ||
        !radiiFollowRule(static_cast<float>(*sphere), static_cast<float>(*outer),
                         static_cast<float>(*inner)))
        return result;

    const long long w = sphereSquare.size;
    const long long d2 = pixels(w, *outer, *sphere);
    if (d2 > w)
        return result;
    result.outer = centredIn(sphereSquare, d2);
    const long long d3 = pixels(w, *inner, *sphere);
    if (d3 > d2)
        return result;
    result.inner = centredIn(sphereSquare, d3);
    result.radiiValid = true;
    result.valid = result.emissionValid;
    return result;
}

std::string problemText(const Result &result) {
    if (!result.radiiValid)
        return kRadiiRuleText;
    if (!result.emissionValid)
        return kEmissionRuleText;
    return {};
}

} // namespace geometrycheck
