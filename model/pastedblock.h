#pragma once

#include "errors.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// Thermal history points as tables hold them, and blocks of them pasted from
// a spreadsheet or a text file, read without widgets.
namespace tarvel {

struct TablePoint {
    float time;
    float temp;
};

// One table row's texts: time, then temperature.
using TableRowTexts = std::array<std::string, 2>;

// A table cell that does not hold a number. Row counts the points from 0,
// column is 0 for the time and 1 for the temperature; the message names both
// as the user sees them ("Row 3, Temp").
class CellConversionError : public ConversionError {
public:
    CellConversionError(const std::string &text, int row, int column)
        : ConversionError(text,
                          "Row " + std::to_string(row + 1) + (column == 0 ? ", Time" : ", Temp")),
          Row(row), Column(column) {}
    int Row;
    int Column;
};

// A cell's number, read with `decimalSeparator` or "."; throws
// CellConversionError for a text that is no number or does not fit a float.
float cellValue(const std::string &text, char decimalSeparator, int row, int column);

// `text` without blanks (spaces, tabs, carriage returns) at either end.
std::string_view trimmedText(std::string_view text);

// The lines of a block copied from a spreadsheet or a text file, each split
// into trimmed cells at its tabs, else its semicolons, else its commas; blank
// lines are left out. `number` counts every line of the block from 1.
struct PastedLine {
    int number = 0;
    std::vector<std::string> cells;
};
std::vector<PastedLine> pastedLines(std::string_view text);

// The rows of a block copied from a spreadsheet or a text file: a row a line,
// its two cells separated by tabs, else semicolons, else commas; blank lines
// are skipped and cells trimmed. A first row holding no number at all is a
// heading and left out. Throws Error naming the line when a line does not
// hold exactly two cells, or when no row is left.
struct PastedBlock {
    std::vector<TableRowTexts> rows;
    int firstRow = 0; // the block's row the first of `rows` came from, from 0
};
PastedBlock pastedRows(std::string_view text, char decimalSeparator);

// The points of such a block, time then temperature, numbers with the
// locale's separator or ".". All or nothing: the first cell that is not a
// number throws CellConversionError naming its row in the block.
std::vector<TablePoint> pastedPoints(std::string_view text, char decimalSeparator);

} // namespace tarvel
