// The data file: a small line-oriented text format, written completely and
// read tolerantly (any subset of its lines, in any order).
#include "datamodule.h"
#include "errors.h"
#include "numbertext.h"

#include <cmath>
#include <cstdint>
#include <istream>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

namespace {

constexpr const char *kLineEnd = "\r\n";

// Numbers are always written with "." so that files stay readable whatever
// locale reads them (a comma would collide with the table's separator).
std::string fileNumber(float value) {
    return tarvel::formatGeneral(static_cast<double>(value), tarvel::kDataFileDigits, '.');
}

class LineWriter {
public:
    explicit LineWriter(std::ostream &out) : out_(out) {}
    void line(const std::string &text) {
        const std::string bytes = text + kLineEnd;
        out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out_)
            throw tarvel::Error("The data could not be written completely (the device may be full "
                                "or not writable).");
    }

private:
    std::ostream &out_;
};

// One line: bytes up to LF or the end; one LF then one CR removed; a NUL ends
// the text. Lines of any length are read whole.
std::optional<std::string> readLine(std::istream &in) {
    std::string line;
    if (!std::getline(in, line, '\n')) {
        if (line.empty())
            return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (const auto nul = line.find('\0'); nul != std::string::npos)
        line.erase(nul);
    return line;
}

// A value that the model can hold: finite and within single precision.
float toSingle(double value, const std::string &text) {
    // Above this a double no longer rounds to the largest float.
    constexpr double kSingleLimit = 3.4028235677973366e38;
    if (!(std::fabs(value) < kSingleLimit))
        throw tarvel::ConversionError(text);
    return static_cast<float>(value);
}

std::int32_t toNeigen(double value, const std::string &text) {
    const double truncated = std::trunc(static_cast<double>(toSingle(value, text)));
    if (truncated < std::numeric_limits<std::int32_t>::min() ||
        truncated > std::numeric_limits<std::int32_t>::max())
        throw tarvel::Error("Neigen=" + text + " is out of range: the number of eigenvalues " +
                            "must fit a 32-bit whole number.");
    return static_cast<std::int32_t>(truncated);
}

} // namespace

void TDataModule1::WriteDataFile(std::ostream &out) const {
    LineWriter w(out);
    w.line("#Tarvel 0.9");
    w.line("[DataBegin");
    w.line("#ModelData");
    w.line("Neigen=" + fileNumber(static_cast<float>(ModelData.Neigen)));
    w.line("Emission_dist=" + fileNumber(ModelData.Emission_dist));
    w.line("Activation_energy=" + fileNumber(ModelData.Activation_energy));
    w.line("D0=" + fileNumber(ModelData.D0));
    w.line("#GrainData");
    w.line("Sphere_radius=" + fileNumber(GrainData.Sphere_radius));
    w.line("Outer_radius=" + fileNumber(GrainData.Outer_radius));
    w.line("Inner_radius=" + fileNumber(GrainData.Inner_radius));
    w.line("#Thermal Curve");
    w.line("[TableStart");
    for (std::int32_t i = 1; i < CurrentCurve.Count(); ++i) {
        const auto slot = static_cast<std::size_t>(i);
        w.line(fileNumber(CurrentCurve.Time[slot]) + ", " + fileNumber(CurrentCurve.Temp[slot]));
    }
    w.line("]TableEnd");
    w.line("[MemoBegin");
    for (const std::string &note : Annotation)
        w.line(note);
    w.line("]MemoEnd");
    w.line("]DataEnd");
    out.flush();
    if (!out)
        throw tarvel::Error("The data could not be written completely (the device may be full "
                            "or not writable).");
}

void TDataModule1::ReadDataFile(std::istream &in) {
    Annotation.clear();
    const char localeSeparator = tarvel::localeDecimalSeparator();

    bool inData = false, inTable = false, inAnnotation = false;
    std::vector<std::pair<std::string, std::string>> tableTexts;
    std::vector<std::string> annotationLines;

    while (const auto next = readLine(in)) {
        const std::string &line = *next;
        if (line.empty()) {
            // Blank lines are kept inside the annotation; elsewhere they end the data.
            if (!inAnnotation)
                break;
            annotationLines.push_back(line);
            continue;
        }
        if (line[0] == '#')
            continue;
        if (line == "[DataBegin") {
            inData = true;
            continue;
        }
        if (!inData)
            continue;

        if (line == "[MemoBegin") {
            inAnnotation = true;
            annotationLines.clear();
        } else if (line == "]MemoEnd") {
            if (inAnnotation) { // a closing marker without its opening is ignored
                Annotation = std::move(annotationLines);
                annotationLines.clear();
                inAnnotation = false;
            }
        } else if (line == "[TableStart") {
            inTable = true;
            tableTexts.clear();
        } else if (line == "]TableEnd") {
            if (inTable) {
                // Convert the whole table before touching the curve, so a bad
                // line leaves the curve as it was.
                ThermalCurve curve;
                for (const auto &[timeText, tempText] : tableTexts) {
                    const float time = toSingle(tarvel::parseNumber(timeText, '.'), timeText);
                    const float temp = toSingle(tarvel::parseNumber(tempText, '.'), tempText);
                    curve.Append(time, temp);
                }
                CurrentCurve = std::move(curve);
                inTable = false;
            }
        } else if (inTable) {
            const auto comma = line.find(',');
            if (comma == std::string::npos)
                tableTexts.emplace_back(std::string(), line);
            else
                tableTexts.emplace_back(line.substr(0, comma), line.substr(comma + 1));
        } else if (inAnnotation) {
            annotationLines.push_back(line);
        } else if (const auto eq = line.find('='); eq != std::string::npos) {
            std::string key;
            for (char c : line.substr(0, eq))
                if (c != ' ' && c != '\t')
                    key += c;
            const std::string valueText = line.substr(eq + 1);
            auto value = [&] { return tarvel::parseNumberEither(valueText, localeSeparator); };
            if (key == "Neigen")
                ModelData.Neigen = toNeigen(value(), valueText);
            else if (key == "Emission_dist")
                ModelData.Emission_dist = toSingle(value(), valueText);
            else if (key == "Activation_energy")
                ModelData.Activation_energy = toSingle(value(), valueText);
            else if (key == "D0")
                ModelData.D0 = toSingle(value(), valueText);
            else if (key == "Sphere_radius")
                GrainData.Sphere_radius = toSingle(value(), valueText);
            else if (key == "Outer_radius")
                GrainData.Outer_radius = toSingle(value(), valueText);
            else if (key == "Inner_radius")
                GrainData.Inner_radius = toSingle(value(), valueText);
        }
    }
}
