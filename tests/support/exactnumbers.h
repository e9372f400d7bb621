#pragma once

#include <QByteArray>
#include <QtTest>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <type_traits>

// QCOMPARE on floating-point values forgives about 1e-5 (float) or 1e-12
// (double) relative, which hides a number written with too few digits.
// Where a value must come back bit for bit, compare exactly(a) with
// exactly(b): equal only when the bits are, and a failure shows both values
// with every digit.
template <typename T> struct Exactly {
    static_assert(std::is_same_v<T, float> || std::is_same_v<T, double>);
    T value;
    friend bool operator==(Exactly a, Exactly b) {
        using Bits = std::conditional_t<std::is_same_v<T, float>, std::uint32_t, std::uint64_t>;
        return std::bit_cast<Bits>(a.value) == std::bit_cast<Bits>(b.value);
    }
};

inline Exactly<float> exactly(float value) {
    return {value};
}
inline Exactly<double> exactly(double value) {
    return {value};
}

// Found by QCOMPARE through argument-dependent lookup.
template <typename T> char *toString(const Exactly<T> &number) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", static_cast<double>(number.value));
    return qstrdup(text);
}
