#include "geometrycheck.h"

#include <cstdint>
#include <limits>

namespace geometrycheck {

std::optional<long long> parseWholeNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max() + 1LL)
            return std::nullopt; // stops the digits long before 64 bits could overflow
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return value;
}

namespace {

Square centredIn(Square outer, long long size) {
    const long long left = outer.left + (outer.size - size) / 2;
    const long long top = outer.top + (outer.size - size) / 2;
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(size)};
}

} // namespace

Result check(std::string_view sphereText, std::string_view outerText, std::string_view innerText,
             Square sphere) {
    Result result;
    const auto radius = parseWholeNumber(sphereText);
    const auto outer = parseWholeNumber(outerText);
    const auto inner = parseWholeNumber(innerText);
    if (!radius || !outer || !inner)
        return result;
    if (*radius < 1 || *outer < 0 || *inner < 0 || *outer <= *inner || *radius < *outer)
        return result;

    const long long w = sphere.size;
    const long long d2 = w * *outer / *radius;
    if (d2 > w)
        return result;
    result.outer = centredIn(sphere, d2);
    const long long d3 = w * *inner / *radius;
    if (d3 > d2)
        return result;
    result.inner = centredIn(sphere, d3);
    result.valid = true;
    return result;
}

} // namespace geometrycheck
