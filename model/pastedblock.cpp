#include "pastedblock.h"

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

float cellValue(const std::string &text, char separator, int row, int column) {
    double converted;
    try {
        converted = parseNumberEither(text, separator);
    } catch (const ConversionError &) {
        throw CellConversionError(text, row, column);
    }
    return toSingle(converted, text, row, column);
}

std::string_view trimmedText(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\r' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<PastedLine> pastedLines(std::string_view text) {
    std::vector<PastedLine> lines;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (trimmedText(line).empty())
            continue;
        const char separator = line.find('\t') != std::string_view::npos  ? '\t'
                               : line.find(';') != std::string_view::npos ? ';'
                                                                          : ',';
        PastedLine &out = lines.emplace_back();
        out.number = lineNumber;
        for (std::size_t from = 0;;) {
            const std::size_t at = line.find(separator, from);
            out.cells.emplace_back(trimmedText(line.substr(from, at - from)));
            if (at == std::string_view::npos)
                break;
            from = at + 1;
        }
    }
    return lines;
}

PastedBlock pastedRows(std::string_view text, char decimalSeparator) {
    PastedBlock block;
    for (PastedLine &line : pastedLines(text)) {
        std::vector<std::string> &cells = line.cells;
        // Spreadsheets end a copied row with its separator when the row had
        // an empty cell after it: one empty cell at the end is no cell.
        if (cells.size() == 3 && cells.back().empty())
            cells.pop_back();
        if (cells.size() != 2)
            throw Error("Line " + std::to_string(line.number) + " of the pasted text holds " +
                        std::to_string(cells.size()) + (cells.size() == 1 ? " cell" : " cells") +
                        "; a thermal history needs two: the time and the temperature.");
        block.rows.push_back({std::move(cells[0]), std::move(cells[1])});
    }
    const auto isNumber = [decimalSeparator](const std::string &cell) {
        try {
            parseNumberEither(cell, decimalSeparator);
            return true;
        } catch (const ConversionError &) {
            return false;
        }
    };
    if (!block.rows.empty() && !isNumber(block.rows[0][0]) && !isNumber(block.rows[0][1])) {
        block.rows.erase(block.rows.begin()); // "time<TAB>temperature" and the like
        block.firstRow = 1;
    }
    if (block.rows.empty())
        throw Error("The pasted text holds no rows of time and temperature.");
    return block;
}

std::vector<TablePoint> pastedPoints(std::string_view text, char decimalSeparator) {
    const PastedBlock block = pastedRows(text, decimalSeparator);
    std::vector<TablePoint> points;
    points.reserve(block.rows.size());
    int row = block.firstRow;
    for (const TableRowTexts &cells : block.rows) {
        points.push_back({cellValue(cells[0], decimalSeparator, row, 0),
                          cellValue(cells[1], decimalSeparator, row, 1)});
        ++row;
    }
    return points;
}

} // namespace tarvel
