#include "curvetable.h"

#include "numbertext.h"

#include <cmath>

namespace tarvel {

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
    std::vector<int> sources(cells.size());
    for (std::size_t row = 0; row < cells.size(); ++row)
        sources[row] = int(row);
    return points(cells, sources);
}

std::vector<TablePoint> CurveTable::points(const std::vector<TableRowTexts> &cells,
                                           const std::vector<int> &sources) const {
    std::vector<TablePoint> result;
    result.reserve(cells.size());
    for (std::size_t row = 0; row < cells.size(); ++row) {
        const int source = row < sources.size() ? sources[row] : -1;
        const bool filled = source >= 0 && std::size_t(source) < Texts.size();
        float value[2];
        for (int column = 0; column < 2; ++column) {
            const auto c = static_cast<std::size_t>(column);
            const std::string &text = cells[row][c];
            if (filled && text == Texts[std::size_t(source)][c]) {
                const TablePoint &kept = Values[std::size_t(source)];
                value[column] = column == 0 ? kept.time : kept.temp;
                continue;
            }
            value[column] = cellValue(text, Separator, int(row), column);
        }
        result.push_back({value[0], value[1]});
    }
    return result;
}

} // namespace tarvel
