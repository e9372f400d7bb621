#pragma once

#include <bit>
#include <cstdint>

// QCOMPARE on floating-point values forgives a relative 1e-5 or so, which
// hides a number written with 6 significant digits instead of 8. Values that
// must be the very same are compared by their bits:
//     QCOMPARE(bitsOf(shown), bitsOf(computed));
inline std::uint32_t bitsOf(float value) {
    return std::bit_cast<std::uint32_t>(value);
}
inline std::uint64_t bitsOf(double value) {
    return std::bit_cast<std::uint64_t>(value);
}
