#pragma once

// QCOMPARE on floats allows a relative difference of about 1e-5. A value the
// program promises to keep exactly (a constant as typed, a table cell left
// alone) must be the very same float: compare the bits.
#include <QByteArray>
#include <QtTest>

#include <bit>
#include <cstdint>
#include <cstdio>

namespace exactfloat {

inline bool same(float actual, float expected) {
    return std::bit_cast<std::uint32_t>(actual) == std::bit_cast<std::uint32_t>(expected);
}
// A double would be rounded on the way in and hide the difference.
bool same(double, double) = delete;

inline QByteArray describe(float actual, float expected) {
    char text[96];
    std::snprintf(text, sizeof text, "actual %.9g, expected %.9g", double(actual),
                  double(expected));
    return text;
}

} // namespace exactfloat

#define COMPARE_EXACT(actual, expected)                                                            \
    QVERIFY2(exactfloat::same(actual, expected), exactfloat::describe(actual, expected).constData())
