#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What a search for the thermal histories a sample allows is told by the data
// set: the constraint boxes its random paths must pass through and the
// settings of the draw. A data set holds them as a section of box lines,
// "time_from, time_to, temperature_from, temperature_to" (Myr on the
// history's own time axis, °C, "." decimals), and as Search_* keys, each
// written only when set.
namespace tarvel {

struct ConstraintBox {
    double timeFrom = 0.0;
    double timeTo = 0.0;
    double temperatureFrom = 0.0;
    double temperatureTo = 0.0;
    friend bool operator==(const ConstraintBox &, const ConstraintBox &) = default;
};

// What a search takes where the data set sets nothing.
inline constexpr std::int64_t kDefaultSearchPaths = 10000;
inline constexpr std::uint64_t kDefaultSearchSeed = 1;
inline constexpr std::int64_t kDefaultSearchNodes = 2;
inline constexpr double kDefaultSearchMaxRate = 20.0; // °C/Myr
inline constexpr bool kDefaultSearchMonotonic = false;

struct SearchSettings {
    std::vector<ConstraintBox> boxes; // in the order the user gave them
    // Each unset until a data file or the user sets it; the search then takes
    // the default above. Their meaning (paths at least 1, a rate above 0, ...)
    // is checked when a search is asked for, since a window may edit them.
    std::optional<std::int64_t> paths;
    std::optional<std::uint64_t> seed;
    std::optional<std::int64_t> nodes; // between two consecutive boxes
    std::optional<double> maxRate;     // largest |dT/dt| of a segment, °C/Myr
    std::optional<bool> monotonic;     // the temperature never rises

    bool empty() const {
        return boxes.empty() && !paths && !seed && !nodes && !maxRate && !monotonic;
    }
    friend bool operator==(const SearchSettings &, const SearchSettings &) = default;
};

// One box's line (blanks around fields allowed): four finite numbers, each
// "from" at most its "to", the temperatures above absolute zero. Throws Error
// with a sentence naming the field at fault; the caller puts the line in front.
ConstraintBox parseBoxLine(std::string_view line);
// The line parseBoxLine reads back to the same box: numbers in the fewest
// digits that give them back exactly.
std::string boxLine(const ConstraintBox &box);

// The first two boxes that overlap in time, by their indices (the earlier
// box first), or none. Boxes that only touch (one ends where the next
// begins) do not overlap.
std::optional<std::pair<std::size_t, std::size_t>>
overlappingBoxes(const std::vector<ConstraintBox> &boxes);

// The Search_* keys. isSearchKey names them; setSearchKey reads a key's value
// text into `settings`, throwing Error (naming the key, not the line) for a
// text that is not a whole number where one is needed, not a finite number,
// or for Search_monotonic neither 0 nor 1; searchKeyLines gives "Key=value"
// for every key that is set, in a fixed order.
bool isSearchKey(std::string_view name);
void setSearchKey(SearchSettings &settings, std::string_view name, std::string_view text);
std::vector<std::string> searchKeyLines(const SearchSettings &settings);

} // namespace tarvel
