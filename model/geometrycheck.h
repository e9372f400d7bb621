#pragma once

#include <optional>
#include <string>
#include <string_view>

// The check of the grain's four entries (sphere radius, the emission zone's
// outer and inner radius, the emission distance) that the main window and the
// grain parameters page run while the user types, and the sizes of the
// circles that draw the grain to scale.
namespace geometrycheck {

// What the radii must satisfy, as the windows show it.
extern const char *const kRadiiRuleText;
// What the emission distance must be, for the windows and tarvel-calc alike.
extern const char *const kEmissionRuleText;

// A square in pixels: the circle drawn in it.
struct Square {
    int left = 0;
    int top = 0;
    int size = 0;
    friend bool operator==(const Square &, const Square &) = default;
};

// Outcome of one check. The circles are redrawn one after the other, so a
// failure found after the outer circle was sized still moves that circle;
// a circle without a value keeps its old size. The circles follow the radii
// whatever the emission distance holds.
struct Result {
    bool valid = false;          // every entry passes
    bool radiiValid = false;     // the radii follow kRadiiRuleText and fit the circles
    bool emissionValid = false;  // the emission distance follows kEmissionRuleText
    std::optional<Square> outer; // the emission zone's outer boundary
    std::optional<Square> inner; // its inner boundary
};

// An entry as a number: blanks around it, "." or `localeSeparator` as the
// decimal separator, an optional exponent. Gives nothing for a text that is no
// such number or whose value the model cannot hold (beyond single precision).
std::optional<double> parseEntry(std::string_view text, char localeSeparator);

// The rule on numbers, as the model holds them: the radii must satisfy
// SphereRadius >= OuterRadius > InnerRadius >= 0 with a sphere radius above
// 0, the emission distance must be at least 0; a value that is not a finite
// number fails.
bool radiiFollowRule(double sphere, double outer, double inner);
bool emissionFollowsRule(double emission);
// The sentence for the rule a grain breaks, with its values, the radii before
// the emission distance (which a calculation without one leaves out); empty
// when the grain passes. The calculations refuse a grain with it.
std::string grainProblem(double sphere, double outer, double inner, std::optional<double> emission);

// Checks SphereRadius >= OuterRadius > InnerRadius >= 0 (with a sphere radius
// above 0) and an emission distance of at least 0, and sizes the two inner
// circles in proportion to `sphereSquare`, the circle of the whole grain. The
// radii must follow the rule both as typed and as the model stores them
// (single precision), so a grain that passes here also passes the
// calculation's own check.
Result check(std::string_view sphere, std::string_view outer, std::string_view inner,
             std::string_view emission, Square sphereSquare, char localeSeparator);

// The sentence for the rule a failed check broke, the radii before the
// emission distance; empty when the check passed.
std::string problemText(const Result &result);

} // namespace geometrycheck
