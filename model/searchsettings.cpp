#include "searchsettings.h"

#include "errors.h"
#include "numbertext.h"
#include "pastedblock.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numeric>

namespace tarvel {

namespace {

constexpr std::array<const char *, 4> kBoxFieldNames{"time_from", "time_to", "temperature_from",
                                                     "temperature_to"};
constexpr double kAbsoluteZero = -273.15; // °C

std::string shortest(double value) {
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    return std::string(buffer.data(), end);
}

double boxNumber(std::string_view text, std::size_t field) {
    double value;
    try {
        value = parseNumber(text, '.');
    } catch (const ConversionError &) {
        throw Error(std::string("The box's ") + kBoxFieldNames[field] + " \"" +
                    quotable(std::string(text)) + "\" is not a number.");
    }
    if (!std::isfinite(value))
        throw Error(std::string("The box's ") + kBoxFieldNames[field] + " is out of range.");
    return value;
}

constexpr const char *kPathsKey = "Search_paths";
constexpr const char *kSeedKey = "Search_seed";
constexpr const char *kNodesKey = "Search_nodes";
constexpr const char *kMaxRateKey = "Search_max_rate";
constexpr const char *kMonotonicKey = "Search_monotonic";

std::string keyStart(std::string_view name, std::string_view text) {
    return std::string(name) + "=" + quotable(std::string(text)) + " ";
}

// A whole number as digits, or as any number text that holds one exactly
// ("1e6" paths).
template <typename Whole> Whole wholeNumber(std::string_view name, std::string_view text) {
    const std::string_view value = trimmedText(text);
    std::string_view digits = value;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    Whole whole{};
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), whole);
    if (error == std::errc() && end == digits.data() + digits.size() && !digits.empty())
        return whole;
    double number = 0.0;
    try {
        number = parseNumberEither(value, localeDecimalSeparator());
    } catch (const ConversionError &) {
        throw Error(keyStart(name, text) + "is not a whole number.");
    }
    // Up to 2^53 a double holds every whole number exactly.
    constexpr double kExactLimit = 9007199254740992.0;
    if (number != std::trunc(number) || !(std::fabs(number) <= kExactLimit) ||
        (number < 0 && !std::is_signed_v<Whole>))
        throw Error(keyStart(name, text) + "is not a whole number" +
                    (std::is_signed_v<Whole> ? "." : " of 0 or more."));
    return static_cast<Whole>(number);
}

} // namespace

ConstraintBox parseBoxLine(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const std::size_t at = line.find(',', from);
        fields.push_back(trimmedText(line.substr(from, at - from)));
        if (at == std::string_view::npos)
            break;
        from = at + 1;
    }
    if (fields.size() != kBoxFieldNames.size())
        throw Error("A constraint box needs 4 fields (time_from, time_to, temperature_from, "
                    "temperature_to); this line has " +
                    std::to_string(fields.size()) + ".");
    ConstraintBox box;
    box.timeFrom = boxNumber(fields[0], 0);
    box.timeTo = boxNumber(fields[1], 1);
    box.temperatureFrom = boxNumber(fields[2], 2);
    box.temperatureTo = boxNumber(fields[3], 3);
    if (box.timeFrom > box.timeTo)
        throw Error("The box's time_from (" + shortest(box.timeFrom) +
                    ") must not be after its time_to (" + shortest(box.timeTo) + ").");
    if (box.temperatureFrom > box.temperatureTo)
        throw Error("The box's temperature_from (" + shortest(box.temperatureFrom) +
                    ") must not be above its temperature_to (" + shortest(box.temperatureTo) +
                    ").");
    if (!(box.temperatureFrom > kAbsoluteZero))
        throw Error("The box's temperature_from (" + shortest(box.temperatureFrom) +
                    " °C) must lie above absolute zero (-273.15 °C).");
    return box;
}

std::string boxLine(const ConstraintBox &box) {
    return shortest(box.timeFrom) + ", " + shortest(box.timeTo) + ", " +
           shortest(box.temperatureFrom) + ", " + shortest(box.temperatureTo);
}

std::optional<std::pair<std::size_t, std::size_t>>
overlappingBoxes(const std::vector<ConstraintBox> &boxes) {
    std::vector<std::size_t> order(boxes.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::pair{boxes[a].timeFrom, boxes[a].timeTo} <
               std::pair{boxes[b].timeFrom, boxes[b].timeTo};
    });
    // In that order a box overlaps an earlier one exactly when it begins
    // before the latest end so far.
    for (std::size_t i = 1, latest = order.empty() ? 0 : order[0]; i < order.size(); ++i) {
        const std::size_t box = order[i];
        if (boxes[box].timeFrom < boxes[latest].timeTo)
            return std::pair{latest, box};
        if (boxes[box].timeTo > boxes[latest].timeTo)
            latest = box;
    }
    return std::nullopt;
}

bool isSearchKey(std::string_view name) {
    for (const char *key : {kPathsKey, kSeedKey, kNodesKey, kMaxRateKey, kMonotonicKey})
        if (name == key)
            return true;
    return false;
}

void setSearchKey(SearchSettings &settings, std::string_view name, std::string_view text) {
    if (name == kPathsKey) {
        settings.paths = wholeNumber<std::int64_t>(name, text);
    } else if (name == kSeedKey) {
        settings.seed = wholeNumber<std::uint64_t>(name, text);
    } else if (name == kNodesKey) {
        settings.nodes = wholeNumber<std::int64_t>(name, text);
    } else if (name == kMaxRateKey) {
        double rate = 0.0;
        try {
            rate = parseNumberEither(text, localeDecimalSeparator());
        } catch (const ConversionError &) {
            throw Error(keyStart(name, text) + "is not a number.");
        }
        if (!std::isfinite(rate))
            throw Error(keyStart(name, text) + "is out of range.");
        settings.maxRate = rate;
    } else if (name == kMonotonicKey) {
        const std::string_view value = trimmedText(text);
        if (value != "0" && value != "1")
            throw Error(keyStart(name, text) +
                        "must be 1 (the temperature never rises) or 0 (it may rise).");
        settings.monotonic = value == "1";
    }
}

std::vector<std::string> searchKeyLines(const SearchSettings &settings) {
    std::vector<std::string> lines;
    if (settings.paths)
        lines.push_back(std::string(kPathsKey) + "=" + std::to_string(*settings.paths));
    if (settings.seed)
        lines.push_back(std::string(kSeedKey) + "=" + std::to_string(*settings.seed));
    if (settings.nodes)
        lines.push_back(std::string(kNodesKey) + "=" + std::to_string(*settings.nodes));
    if (settings.maxRate)
        lines.push_back(std::string(kMaxRateKey) + "=" + shortest(*settings.maxRate));
    if (settings.monotonic)
        lines.push_back(std::string(kMonotonicKey) + "=" + (*settings.monotonic ? "1" : "0"));
    return lines;
}

} // namespace tarvel
