#pragma once

#include "modelrecords.h"
#include "pastedblock.h"

#include <string>
#include <vector>

// What the table edit dialog decides, without widgets: the texts it shows for
// a thermal curve and the points its cells give back.
namespace tarvel {

class CurveTable {
public:
    CurveTable() = default;
    // The curve's points as texts in the general format with 5 significant digits.
    CurveTable(const ThermalCurve &curve, char decimalSeparator);

    int rowCount() const { return static_cast<int>(Texts.size()); }
    const TableRowTexts &texts(int row) const { return Texts[static_cast<std::size_t>(row)]; }

    // The points the table holds when its cells read `cells`, one row per point.
    // A cell still showing the text it was filled with keeps its exact value, so
    // what the user did not touch is not rounded to 5 digits; the others are
    // converted. Every cell is converted before anything is returned: the first
    // failing one, row by row and time before temperature, throws
    // CellConversionError with its text.
    std::vector<TablePoint> points(const std::vector<TableRowTexts> &cells) const;
    // The same for a table whose rows were inserted, deleted or moved: row i
    // was filled from row sources[i] of this table, or from none when it is
    // negative. Numbers are read with the locale's separator or ".".
    std::vector<TablePoint> points(const std::vector<TableRowTexts> &cells,
                                   const std::vector<int> &sources) const;

private:
    char Separator = '.';
    std::vector<TableRowTexts> Texts;
    std::vector<TablePoint> Values;
};

} // namespace tarvel
