#include "curvetable.h"

#include "numbertext.h"

#include <cmath>

namespace tarvel {

namespace {

float toSingle(double value, const std::string &text, int row, int column) {
    // Above this a double no longer rounds to the largest float.
    constexpr double kSingleLimit = 3.4028235677973366e38;
    if (!(std::fabs(value) < kSingleLimit))
        throw CellConversionError(text, row, column);
    return static_cast<float>(value);
}

} // namespace

CurveTable::CurveTable(const ThermalCurve &curve, char decimalSeparator)
    : Separator(decimalSeparator) {
    for (std::int32_t i = 1; i < curve.Count(); ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const TablePoint point{curve.Time[slot], curve.Temp[slot]};
        Values.push_back(point);
        Texts.push_back({formatGeneral(double(point.time), kTableDigits, decimalSeparator),
                         formatGeneral(double(point.temp), kTableDigits, decimalSeparator)});
    }
}

std::vector<TablePoint> CurveTable::points(const std::vector<TableRowTexts> &cells) const {
    std::vector<TablePoint> result;
    result.reserve(cells.size());
    for (std::size_t row = 0; row < cells.size(); ++row) {
        float value[2];
        for (int column = 0; column < 2; ++column) {
            const std::string &text = cells[row][static_cast<std::size_t>(column)];
            if (row < Texts.size() && text == Texts[row][static_cast<std::size_t>(column)]) {
                value[column] = column == 0 ? Values[row].time : Values[row].temp;
                continue;
            }
            double converted;
            try {
                converted = parseNumber(text, Separator);
            } catch (const ConversionError &) {
                throw CellConversionError(text, int(row), column);
            }
            value[column] = toSingle(converted, text, int(row), column);
        }
        result.push_back({value[0], value[1]});
    }
    return result;
}

} // namespace tarvel
