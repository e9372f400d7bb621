#pragma once

#include <string>

class PointStore;

// The texts a graph writes: its points for the clipboard, the numbers of its
// scales and the coordinates in its position box.
namespace graphtext {

// A scale or copied number: 15 significant digits of the value widened to double.
std::string numberText(float value, char decimalSeparator);

// One point per line, "x, y", CR LF after each; a line holding one blank
// separates the single points from the lines' points. Empty without points.
std::string points2text(const PointStore &graph, char decimalSeparator);

// The points as SYLK records: x in column 1, y in column 2, one point per row,
// an empty row after the single points and between lines. Numbers always use
// "." because spreadsheets read SYLK numbers that way whatever their locale.
std::string points2sylk(const PointStore &graph);

// The position box's picture "###.#": one decimal, no leading zero, no
// trailing zero, nothing at all for a value that rounds to 0.
std::string readoutText(float value, char decimalSeparator);

} // namespace graphtext
