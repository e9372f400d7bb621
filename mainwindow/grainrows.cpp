#include "grainrows.h"

#include "numbertext.h"
#include "pastedblock.h"

#include <charconv>
#include <cmath>

namespace grainrows {

namespace {

// Headings as the table shows them, and the shorter names messages use.
constexpr std::array<const char *, ColumnCount> kTitles{"grain",
                                                        "radius (\xC2\xB5m)",
                                                        "U (ppm)",
                                                        "Th (ppm)",
                                                        "Sm (ppm)",
                                                        "eU (ppm)",
                                                        "measured raw\nage (Myr)",
                                                        "\xC2\xB1 (Myr)",
                                                        "predicted raw\nage (Myr)",
                                                        "FT",
                                                        "predicted corrected\nage (Myr)",
                                                        "z"};
constexpr std::array<const char *, ColumnCount> kCellNames{
    "grain", "radius", "U", "Th", "Sm", "eU", "measured raw age", "\xC2\xB1", "", "", "", ""};

std::string shortest(double value, char separator) {
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    std::string text(buffer.data(), end);
    for (char &c : text)
        if (c == '.')
            c = separator;
    return text;
}

double cellNumber(const std::string &text, char separator, int row, int column) {
    const std::string_view cell = tarvel::trimmedText(text);
    if (cell.empty())
        throw GrainCellError(row, column, "a number is needed.");
    double value;
    try {
        value = tarvel::parseNumberEither(cell, separator);
    } catch (const tarvel::ConversionError &) {
        throw GrainCellError(row, column, "\"" + tarvel::quotable(cell) + "\" is not a number.");
    }
    if (!std::isfinite(value))
        throw GrainCellError(row, column, "the number is out of range.");
    return value;
}

} // namespace

std::string columnTitle(int column) {
    return kTitles[std::size_t(column)];
}

bool isEditable(int column) {
    for (int c : kEditableColumns)
        if (c == column)
            return true;
    return false;
}

GrainCellError::GrainCellError(int row, int column, const std::string &problem)
    : tarvel::Error("Row " + std::to_string(row + 1) + ", " + kCellNames[std::size_t(column)] +
                    ": " + problem),
      Row(row), Column(column), Problem(problem) {}

GrainTexts grainTexts(const tarvel::GrainRecord &g, char separator) {
    return {g.name,
            shortest(g.radius, separator),
            shortest(g.U, separator),
            shortest(g.Th, separator),
            shortest(g.Sm, separator),
            g.rawAge ? shortest(*g.rawAge, separator) : std::string(),
            g.rawAgeSd ? shortest(*g.rawAgeSd, separator) : std::string()};
}

// The same rules as a data set's grain table, checked cell by cell so that a
// refusal can point at the cell.
tarvel::GrainRecord grainFromTexts(const GrainTexts &texts, char separator, int row) {
    tarvel::GrainRecord g;
    g.name = std::string(tarvel::trimmedText(texts[0]));
    if (g.name.empty())
        throw GrainCellError(row, Name, "the grain needs a name.");
    if (g.name.find_first_of(",=") != std::string::npos)
        throw GrainCellError(row, Name, "a name must not hold \",\" or \"=\".");
    g.radius = cellNumber(texts[1], separator, row, Radius);
    if (!(g.radius > 0.0))
        throw GrainCellError(row, Radius, "the radius must be above 0.");
    g.U = cellNumber(texts[2], separator, row, U);
    g.Th = cellNumber(texts[3], separator, row, Th);
    g.Sm = cellNumber(texts[4], separator, row, Sm);
    for (int column : {U, Th, Sm})
        if (cellNumber(texts[std::size_t(column)], separator, row, column) < 0.0)
            throw GrainCellError(row, column, "a concentration must not be negative.");
    if (!(g.U > 0.0 || g.Th > 0.0 || g.Sm > 0.0))
        throw GrainCellError(row, U, "the grain holds no U, Th or Sm, so it makes no helium.");
    const bool hasAge = !tarvel::trimmedText(texts[5]).empty(),
               hasSd = !tarvel::trimmedText(texts[6]).empty();
    if (hasAge != hasSd)
        throw GrainCellError(row, hasAge ? MeasuredSd : MeasuredAge,
                             "the measured age and its uncertainty go together: give both or "
                             "neither.");
    if (hasAge) {
        g.rawAge = cellNumber(texts[5], separator, row, MeasuredAge);
        if (*g.rawAge < 0.0)
            throw GrainCellError(row, MeasuredAge, "the measured age must not be negative.");
        g.rawAgeSd = cellNumber(texts[6], separator, row, MeasuredSd);
        if (!(*g.rawAgeSd > 0.0))
            throw GrainCellError(row, MeasuredSd, "the uncertainty must be above 0.");
    }
    return g;
}

std::vector<tarvel::GrainRecord> pastedGrains(std::string_view text, char decimalSeparator) {
    std::vector<GrainTexts> rows;
    std::vector<int> lines; // each row's line in the block
    bool first = true;
    for (tarvel::PastedLine &line : tarvel::pastedLines(text)) {
        const int lineNumber = line.number;
        std::vector<std::string> &cells = line.cells;
        // A spreadsheet ends a copied row with its separator when an empty
        // cell followed it.
        if (cells.size() == 8 && cells.back().empty())
            cells.pop_back();
        if (cells.size() == 5)
            cells.resize(7); // a grain without a measurement
        if (cells.size() != 7)
            throw tarvel::Error("Line " + std::to_string(lineNumber) +
                                " of the pasted text holds " + std::to_string(cells.size()) +
                                " cells; a grain needs seven: name, radius, U, Th, Sm, measured "
                                "age and its uncertainty.");
        const bool heading = first && [&] {
            try {
                tarvel::parseNumberEither(cells[1], decimalSeparator);
                return false;
            } catch (const tarvel::ConversionError &) {
                return true;
            }
        }();
        first = false;
        if (heading)
            continue; // "grain, radius, ..." and the like
        GrainTexts row;
        std::copy(cells.begin(), cells.end(), row.begin());
        rows.push_back(std::move(row));
        lines.push_back(lineNumber);
    }
    if (rows.empty())
        throw tarvel::Error("The pasted text holds no grains.");
    std::vector<tarvel::GrainRecord> grains;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        try {
            grains.push_back(grainFromTexts(rows[i], decimalSeparator, int(i)));
        } catch (const GrainCellError &e) {
            throw tarvel::Error("Line " + std::to_string(lines[i]) + " of the pasted text, " +
                                kCellNames[std::size_t(e.Column)] + ": " + e.Problem);
        }
    }
    return grains;
}

GrainFit fitGrain(const tarvel::GrainRecord &grain, const GrainPrediction &prediction) {
    std::optional<samplefit::Measurement> measured;
    if (grain.rawAge && grain.rawAgeSd)
        measured = samplefit::Measurement{*grain.rawAge, *grain.rawAgeSd};
    return {prediction, samplefit::misfit(measured, prediction.rawAge)};
}

samplefit::Summary summarizeFits(const std::vector<GrainFit> &fits) {
    std::vector<std::optional<double>> misfits;
    misfits.reserve(fits.size());
    for (const GrainFit &fit : fits)
        misfits.push_back(fit.z);
    return samplefit::summarize(misfits);
}

std::string summaryText(const samplefit::Summary &s, char separator) {
    if (!s.probability)
        return "No grain has a measured age to compare with its prediction.";
    const auto number = [separator](double value) {
        return tarvel::formatGeneral(value, 4, separator);
    };
    return "\xCF\x87\xC2\xB2 = " + number(s.chi2) + " for " + std::to_string(s.measured) +
           (s.measured == 1 ? " measured grain" : " measured grains") +
           ", P = " + number(*s.probability) + ": " + samplefit::verdict(*s.probability);
}

} // namespace grainrows
