#include "resultrows.h"

#include "numbertext.h"

#include <algorithm>

namespace resultrows {

Table ageTable(std::span<const FPOINT> history, std::span<const double> ages) {
    Table table;
    table.columns = {{"time", "Time (Myr)"},
                     {"temperature", "Temperature (\u00b0C)"},
                     {"calculated_time", "Calculated time (Myr)"}};
    const std::size_t n = std::min(history.size(), ages.size());
    table.rows.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        table.rows.push_back(
            {static_cast<double>(history[i].x), static_cast<double>(history[i].y), ages[i]});
    return table;
}

std::string csvText(const Table &table) {
    std::string out;
    for (std::size_t c = 0; c < table.columns.size(); ++c)
        out += (c ? "," : "") + table.columns[c].key;
    out += '\n';
    for (const auto &row : table.rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c)
                out += ',';
            tarvel::appendCalculatorNumber(out, row[c]);
        }
        out += '\n';
    }
    return out;
}

std::string cellText(double value, char decimalSeparator) {
    return tarvel::formatGeneral(value, tarvel::kEditDigits, decimalSeparator);
}

std::string copyText(const Table &table, char decimalSeparator) {
    constexpr const char *kEol = "\r\n";
    std::string out;
    for (std::size_t c = 0; c < table.columns.size(); ++c)
        out += (c ? "\t" : "") + table.columns[c].title;
    out += kEol;
    for (const auto &row : table.rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c)
                out += '\t';
            out += cellText(row[c], decimalSeparator);
        }
        out += kEol;
    }
    return out;
}

} // namespace resultrows
