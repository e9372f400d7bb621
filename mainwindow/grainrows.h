#pragma once

#include "errors.h"
#include "grainprediction.h"
#include "graintable.h"
#include "samplefit.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Grains window's table without widgets: the texts of its cells and the
// grains they stand for, blocks pasted from a spreadsheet, and the line that
// sums up how well the predictions meet the measurements.
namespace grainrows {

// The table's columns, left to right. The first seven are the user's, in the
// order of the grain CSV; the rest are computed and read-only.
enum Column {
    Name,
    Radius,
    U,
    Th,
    Sm,
    EU,
    MeasuredAge,
    MeasuredSd,
    PredictedAge,
    FT,
    CorrectedAge,
    Z,
    ColumnCount
};

// The column's heading as the table shows it ("radius (µm)"), long ones on
// two lines.
std::string columnTitle(int column);
// The user's columns, in CSV order: name, radius, U, Th, Sm, age, uncertainty.
inline constexpr std::array<int, 7> kEditableColumns{Name, Radius,      U,         Th,
                                                     Sm,   MeasuredAge, MeasuredSd};
bool isEditable(int column);

// A grain's seven texts in CSV order.
using GrainTexts = std::array<std::string, 7>;

// A cell the grain cannot be made from. Row counts from 0 and column is one of
// Column; the message names both as the user sees them ("Row 3, radius: ...").
class GrainCellError : public tarvel::Error {
public:
    GrainCellError(int row, int column, const std::string &problem);
    int Row;
    int Column;
    std::string Problem; // what is wrong, without the place
};

// The texts a grain's cells show: the fewest digits that give each number back,
// with the locale's decimal separator; empty for a missing measurement.
GrainTexts grainTexts(const tarvel::GrainRecord &grain, char decimalSeparator);
// The grain of row `row`'s texts (numbers with "." or the locale's separator).
// Refuses what a data set's grain table refuses, throwing GrainCellError.
tarvel::GrainRecord grainFromTexts(const GrainTexts &texts, char decimalSeparator, int row);

// The grains of a block copied from a spreadsheet or a text file: a grain a
// line, its seven cells (or five, without a measurement) separated by tabs,
// else semicolons, else commas; blank lines are skipped. A first line whose
// radius is no number is a heading and left out. All or nothing: throws
// tarvel::Error naming the block's line (and the column of a bad cell).
std::vector<tarvel::GrainRecord> pastedGrains(std::string_view text, char decimalSeparator);

// One grain's prediction with its misfit; none where the measurement is missing.
struct GrainFit {
    GrainPrediction prediction;
    std::optional<double> z;
};
GrainFit fitGrain(const tarvel::GrainRecord &grain, const GrainPrediction &prediction);
samplefit::Summary summarizeFits(const std::vector<GrainFit> &fits);
// "χ² = 3.2 for 6 measured grains, P = 0.78: good"; for a sample without
// measurements the line says there is nothing to compare.
std::string summaryText(const samplefit::Summary &summary, char decimalSeparator);

} // namespace grainrows
