#pragma once

#include <cstdint>

// A choice of graph axes: the horizontal scale at the bottom, the vertical
// scale on the left, both or neither. Stored in one byte.
enum TSideScale : std::uint8_t {
    sscNone = 0,
    sscHorizontal = 1,
    sscVertical = 2,
    sscBoth = 3,
};

inline bool includesHorizontal(TSideScale s) {
    return s == sscHorizontal || s == sscBoth;
}
inline bool includesVertical(TSideScale s) {
    return s == sscVertical || s == sscBoth;
}
