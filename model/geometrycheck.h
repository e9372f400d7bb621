#pragma once

#include <optional>
#include <string_view>

// The check of the three radius texts that the main window and the grain
// parameters page run while the user types, and the sizes of the circles that
// draw the grain to scale.
namespace geometrycheck {

// A square in pixels: the circle drawn in it.
struct Square {
    int left = 0;
    int top = 0;
    int size = 0;
    friend bool operator==(const Square &, const Square &) = default;
};

// Outcome of one check. The circles are redrawn one after the other, so a
// failure found after the outer circle was sized still moves that circle;
// a circle without a value keeps its old size.
struct Result {
    bool valid = false;
    std::optional<Square> outer; // the emission zone's outer boundary
    std::optional<Square> inner; // its inner boundary
};

// A whole decimal number: blanks around it, an optional sign and digits.
// Texts that are empty, hold anything else, or do not fit 32 bits give nothing.
std::optional<long long> parseWholeNumber(std::string_view text);

// Checks SphereRadius >= OuterRadius > InnerRadius >= 0 on whole numbers and
// sizes the two inner circles in proportion to `sphere`, the circle of the
// whole grain. All arithmetic is in 64-bit integers, truncating like the
// integer division it is.
Result check(std::string_view sphereText, std::string_view outerText, std::string_view innerText,
             Square sphere);

} // namespace geometrycheck
