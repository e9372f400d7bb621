#include "graintable.h"

#include "errors.h"
#include "numbertext.h"
#include "pastedblock.h"

#include <array>
#include <charconv>
#include <cmath>

namespace tarvel {

namespace {

constexpr std::array<const char *, 7> kFieldNames{
    "the name", "the radius", "U", "Th", "Sm", "the measured age", "its uncertainty"};

double number(std::string_view text, std::size_t field) {
    double value;
    try {
        value = parseNumber(text, '.');
    } catch (const ConversionError &) {
        throw Error(std::string("The grain's ") + kFieldNames[field] + " \"" + std::string(text) +
                    "\" is not a number.");
    }
    if (!std::isfinite(value))
        throw Error(std::string("The grain's ") + kFieldNames[field] + " is out of range.");
    return value;
}

std::string shortest(double value) {
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    return std::string(buffer.data(), end);
}

} // namespace

GrainRecord parseGrainLine(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const std::size_t at = line.find(',', from);
        fields.push_back(tarvel::trimmedText(line.substr(from, at - from)));
        if (at == std::string_view::npos)
            break;
        from = at + 1;
    }
    if (fields.size() != kFieldNames.size())
        throw Error("A grain needs 7 fields (name, radius, U, Th, Sm, measured age and its "
                    "uncertainty); this line has " +
                    std::to_string(fields.size()) + ".");
    GrainRecord g;
    g.name = std::string(fields[0]);
    if (g.name.empty())
        throw Error("The grain has no name.");
    if (g.name.find('=') != std::string::npos)
        throw Error("The grain's name \"" + g.name + "\" holds \"=\".");
    // A line break or a NUL would split or cut the grain's line in a data file.
    for (const char c : g.name)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f)
            throw Error("The grain's name holds a line break or another control character.");
    g.radius = number(fields[1], 1);
    if (!(g.radius > 0.0))
        throw Error("The grain's radius must be above 0.");
    g.U = number(fields[2], 2);
    g.Th = number(fields[3], 3);
    g.Sm = number(fields[4], 4);
    if (g.U < 0.0 || g.Th < 0.0 || g.Sm < 0.0)
        throw Error("The grain's concentrations must not be negative.");
    if (!(g.U > 0.0 || g.Th > 0.0 || g.Sm > 0.0))
        throw Error("The grain holds no U, Th or Sm, so it makes no helium.");
    if (fields[5].empty() != fields[6].empty())
        throw Error("The grain's measured age and its uncertainty go together: give both or "
                    "neither.");
    if (!fields[5].empty()) {
        g.rawAge = number(fields[5], 5);
        g.rawAgeSd = number(fields[6], 6);
        if (*g.rawAge < 0.0)
            throw Error("The grain's measured age must not be negative.");
        if (!(*g.rawAgeSd > 0.0))
            throw Error("The uncertainty of the grain's measured age must be above 0.");
    }
    return g;
}

namespace {

std::string joined(const GrainRecord &g, std::string_view separator) {
    std::string line = g.name;
    for (double value : {g.radius, g.U, g.Th, g.Sm})
        line.append(separator).append(shortest(value));
    line.append(separator).append(g.rawAge ? shortest(*g.rawAge) : std::string());
    line.append(separator).append(g.rawAgeSd ? shortest(*g.rawAgeSd) : std::string());
    return line;
}

} // namespace

std::string grainLine(const GrainRecord &g) {
    return joined(g, ", ");
}

std::vector<GrainRecord> readGrainCsv(std::string_view text) {
    std::vector<GrainRecord> grains;
    int lineNumber = 0;
    bool header = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = tarvel::trimmedText(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (line.empty())
            continue;
        if (header) {
            std::string compact;
            for (char c : line)
                if (c != ' ' && c != '\t')
                    compact += c;
            if (compact != kGrainCsvHeader)
                throw Error("Line " + std::to_string(lineNumber) + ": the header must be \"" +
                            std::string(kGrainCsvHeader) + "\".");
            header = false;
            continue;
        }
        try {
            grains.push_back(parseGrainLine(line));
        } catch (const Error &e) {
            throw Error("Line " + std::to_string(lineNumber) + ": " + e.what());
        }
    }
    if (header)
        throw Error(std::string("The grain file is empty: it needs the header \"") +
                    std::string(kGrainCsvHeader) + "\".");
    return grains;
}

std::string grainCsv(const std::vector<GrainRecord> &grains) {
    std::string text(kGrainCsvHeader);
    text += '\n';
    for (const GrainRecord &g : grains)
        text += joined(g, ",") + '\n';
    return text;
}

} // namespace tarvel
