#pragma once

// QCOMPARE on floats lets a relative difference of about 1e-5 through; a value
// promised exactly (a constant as typed, a cell left alone) must have the same
// bits. std::bit_cast refuses a double, which would round first.
#include <QtTest>

#include <bit>
#include <cstdint>

#define COMPARE_EXACT(actual, expected)                                                            \
    QCOMPARE(std::bit_cast<std::uint32_t>(actual), std::bit_cast<std::uint32_t>(expected))
