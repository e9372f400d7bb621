#pragma once

#include <cstdint>
#include <span>

// Checks a thermal history as the user drew or typed it, before it is split
// into bar steps, so that a refusal names the user's own points: their times
// and temperatures and, when `lines` is given (one entry per point, such as
// the data file lines of the curve table), "line N".
//
// Points are in order, index 0 first. Throws tarvel::Error for a time that
// runs backwards, a temperature at or below absolute zero (-273.15 °C) or a
// value that is not a finite number. `times` and `temps` must have the same
// size; `lines` is either empty or that size too.
void checkDrawnHistory(std::span<const float> times, std::span<const float> temps,
                       std::span<const std::int32_t> lines = {});
