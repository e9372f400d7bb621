// The data file: a small line-oriented text format, written completely and
// read tolerantly (any subset of its lines, in any order).
#include "annotationlines.h"
#include "datamodule.h"
#include "errors.h"
#include "graintable.h"
#include "numbertext.h"
#include "searchsettings.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <istream>
#include <iterator>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr const char *kLineEnd = "\r\n";

const std::string kNotADataSet = "This is not a Tarvel data set: it has no \"[DataBegin\" line";

// What one data file holds. The reader fills a copy and hands it to the model
// only when the whole file has read.
struct DataSet {
    TModelData ModelData;
    TGrainData GrainData;
    TParentsData ParentsData;
    std::optional<ThermalCurve> Curve; // only when the file holds a complete table
    std::vector<std::string> Annotation;
    std::vector<tarvel::GrainRecord> Grains;
    tarvel::SearchSettings Search;
};

// A value the model can hold: finite and within single precision.
float toSingle(double value, const std::string &text, const std::string &where) {
    // Above this a double no longer rounds to the largest float.
    constexpr double kSingleLimit = 3.4028235677973366e38;
    if (!(std::fabs(value) < kSingleLimit))
        throw tarvel::ConversionError(text, where);
    return static_cast<float>(value);
}

std::int32_t toNeigen(double value, const std::string &text) {
    const double truncated = std::trunc(static_cast<double>(toSingle(value, text, "Neigen")));
    if (truncated < std::numeric_limits<std::int32_t>::min() ||
        truncated > std::numeric_limits<std::int32_t>::max())
        throw tarvel::Error("Neigen=" + tarvel::quotable(text) + " is out of range: the number " +
                            "of eigenvalues must fit a 32-bit whole number.");
    return static_cast<std::int32_t>(truncated);
}

// The key lines, in the order the writer emits them: the reader and the writer
// both go through this one table.
struct DataKey {
    const char *name;
    const char *commentBefore; // the writer's comment line before the key, if any
    float (*get)(const DataSet &);
    void (*set)(DataSet &, double value, const std::string &text);
};

// clang-format off
const std::array<DataKey, 7> kKeys = {{
    {"Neigen", "#ModelData",
     [](const DataSet &d) { return static_cast<float>(d.ModelData.Neigen); },
     [](DataSet &d, double v, const std::string &t) { d.ModelData.Neigen = toNeigen(v, t); }},
    {"Emission_dist", nullptr,
     [](const DataSet &d) { return d.ModelData.Emission_dist; },
     [](DataSet &d, double v, const std::string &t) {
         d.ModelData.Emission_dist = toSingle(v, t, "Emission_dist"); }},
    {"Activation_energy", nullptr,
     [](const DataSet &d) { return d.ModelData.Activation_energy; },
     [](DataSet &d, double v, const std::string &t) {
         d.ModelData.Activation_energy = toSingle(v, t, "Activation_energy"); }},
    {"D0", nullptr,
     [](const DataSet &d) { return d.ModelData.D0; },
     [](DataSet &d, double v, const std::string &t) { d.ModelData.D0 = toSingle(v, t, "D0"); }},
    {"Sphere_radius", "#GrainData",
     [](const DataSet &d) { return d.GrainData.Sphere_radius; },
     [](DataSet &d, double v, const std::string &t) {
         d.GrainData.Sphere_radius = toSingle(v, t, "Sphere_radius"); }},
    {"Outer_radius", nullptr,
     [](const DataSet &d) { return d.GrainData.Outer_radius; },
     [](DataSet &d, double v, const std::string &t) {
         d.GrainData.Outer_radius = toSingle(v, t, "Outer_radius"); }},
    {"Inner_radius", nullptr,
     [](const DataSet &d) { return d.GrainData.Inner_radius; },
     [](DataSet &d, double v, const std::string &t) {
         d.GrainData.Inner_radius = toSingle(v, t, "Inner_radius"); }},
}};
// clang-format on

// The method key. It stands apart from the numeric keys: it is written only
// for the precise method, so a fast data set keeps the bytes it always had and
// older readers, which ignore keys they do not know, read it unchanged.
constexpr const char *kMethodKey = "Method";
constexpr const char *kMethodAfter = "D0"; // the key line the writer puts it after

const char *methodName(ModelMethod method) {
    return method == ModelMethod::Precise ? "precise" : "fast";
}

ModelMethod methodFromText(const std::string &text, std::int32_t line) {
    // Blanks around the value are allowed, as around numbers.
    const auto first = text.find_first_not_of(" \t");
    const std::string value = first == std::string::npos
                                  ? std::string()
                                  : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    for (const ModelMethod method : {ModelMethod::Fast, ModelMethod::Precise})
        if (value == methodName(method))
            return method;
    throw tarvel::Error("Line " + std::to_string(line) + ": '" + tarvel::quotable(value) +
                        "' is not a method of the age calculation; Method must be fast or "
                        "precise.");
}

// The kinetics key, like the method key: written only for damage kinetics,
// right after the method's place, so an Arrhenius data set keeps its bytes.
constexpr const char *kKineticsKey = "Kinetics";

const char *kineticsName(ModelKinetics kinetics) {
    return kinetics == ModelKinetics::Rdaam    ? "rdaam"
           : kinetics == ModelKinetics::Zrdaam ? "zrdaam"
                                               : "arrhenius";
}

ModelKinetics kineticsFromText(const std::string &text, std::int32_t line) {
    const auto first = text.find_first_not_of(" \t");
    const std::string value = first == std::string::npos
                                  ? std::string()
                                  : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    for (const ModelKinetics kinetics :
         {ModelKinetics::Arrhenius, ModelKinetics::Rdaam, ModelKinetics::Zrdaam})
        if (value == kineticsName(kinetics))
            return kinetics;
    throw tarvel::Error("Line " + std::to_string(line) + ": '" + tarvel::quotable(value) +
                        "' is not a kinetics of the helium diffusion; Kinetics must be arrhenius, "
                        "rdaam or zrdaam.");
}

// The parents' keys. They are written only for a parents data set, after the
// grain, so every other data set keeps the bytes it always had and older
// readers, which ignore keys they do not know, read the rest unchanged.
struct ParentKey {
    const char *name;
    bool concentration; // µg/g, 0 or more; otherwise a stopping distance, µm, above 0
    float TParentsData::*field;
};

const std::array<ParentKey, 7> kParentKeys = {{
    {"U_ppm", true, &TParentsData::U_ppm},
    {"Th_ppm", true, &TParentsData::Th_ppm},
    {"Sm_ppm", true, &TParentsData::Sm_ppm},
    {"Stopping_U238", false, &TParentsData::Stopping_U238},
    {"Stopping_U235", false, &TParentsData::Stopping_U235},
    {"Stopping_Th232", false, &TParentsData::Stopping_Th232},
    {"Stopping_Sm147", false, &TParentsData::Stopping_Sm147},
}};
constexpr const char *kParentsComment = "#Parents";
// A concentration above a million µg/g would be more than the whole grain.
constexpr double kMostPpm = 1e6;

const ParentKey *findParentKey(const std::string &name) {
    for (const ParentKey &key : kParentKeys)
        if (name == key.name)
            return &key;
    return nullptr;
}

void setParentKey(DataSet &data, const ParentKey &key, double value, const std::string &text,
                  std::int32_t line) {
    const float held = toSingle(value, text, key.name);
    const std::string start = "Line " + std::to_string(line) + ": " + key.name + "=" +
                              tarvel::quotable(text) + " is not ";
    if (key.concentration && !(held >= 0 && held <= kMostPpm))
        throw tarvel::Error(start + "a concentration: it must lie between 0 and 1000000 µg/g.");
    if (!key.concentration && !(held > 0))
        throw tarvel::Error(start + "a stopping distance: it must be above 0 µm.");
    data.ParentsData.*key.field = held;
}

const DataKey *findKey(const std::string &name) {
    for (const DataKey &key : kKeys)
        if (name == key.name)
            return &key;
    return nullptr;
}

// Numbers are always written with "." so that files stay readable whatever
// locale reads them (a comma would collide with the table's separator).
std::string fileNumber(float value) {
    return tarvel::formatGeneral(static_cast<double>(value), tarvel::kDataFileDigits, '.');
}

// The lines one annotation entry is written as. A line break inside it
// starts a new line (it reads back as two lines of the same text); a NUL,
// which would end the line's text for the reader, is left out, so that what
// follows it is kept and never read as structure.
std::vector<std::string> fileLinesOf(const std::string &note) {
    std::vector<std::string> lines(1);
    for (const char c : note) {
        if (c == '\n')
            lines.emplace_back();
        else if (c != '\0')
            lines.back() += c;
    }
    return lines;
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

// The lines of the input. Lines end in LF, CR LF, or, in a file without any
// LF (as old Mac editors wrote them), in CR alone. One trailing CR of an LF
// line is dropped; a NUL ends a line's text; a last line without a line end
// is read as well. Lines of any length are read whole.
class LineReader {
public:
    explicit LineReader(std::istream &in)
        : bytes_(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
          end_(bytes_.find('\n') != std::string::npos ? '\n' : '\r') {}

    bool next(std::string &line) {
        if (pos_ >= bytes_.size())
            return false;
        std::size_t stop = bytes_.find(end_, pos_);
        if (stop == std::string::npos)
            stop = bytes_.size();
        std::string_view text(bytes_.data() + pos_, stop - pos_);
        pos_ = stop + 1;
        ++number_;
        if (end_ == '\n' && !text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        if (const auto nul = text.find('\0'); nul != std::string_view::npos)
            text = text.substr(0, nul);
        line.assign(text);
        return true;
    }

    // The number of the line last read, counted from 1.
    std::int32_t number() const { return number_; }

private:
    std::string bytes_;
    char end_;
    std::size_t pos_ = 0;
    std::int32_t number_ = 0;
};

// The grain table. Written only for a data set with grains, after the curve
// table: older readers ignore its lines, since a grain line holds no "=" and
// stands outside the curve table and the annotation.
constexpr const char *kGrainsComment = "#Grains";
constexpr const char *kGrainsStart = "[GrainsStart";
constexpr const char *kGrainsEnd = "]GrainsEnd";

// A grain's line in the file. A line starting with "#" is a comment to every
// reader, so a name that starts with one is written after a blank, which the
// grain line's reader skips.
std::string grainFileLine(const tarvel::GrainRecord &grain) {
    const std::string line = tarvel::grainLine(grain);
    return line.front() == '#' ? " " + line : line;
}

struct GrainRow {
    std::string text;
    std::int32_t line;
};

std::vector<tarvel::GrainRecord> convertGrains(const std::vector<GrainRow> &rows) {
    std::vector<tarvel::GrainRecord> grains;
    for (const GrainRow &row : rows) {
        try {
            grains.push_back(tarvel::parseGrainLine(row.text));
        } catch (const tarvel::Error &e) {
            throw tarvel::Error("Grain table, line " + std::to_string(row.line) + ": " + e.what());
        }
    }
    return grains;
}

// The search's constraint boxes and settings. Written only for a data set
// that has them, after the grain table: older readers ignore the keys they do
// not know and the box lines, which hold no "=" and stand outside the curve
// table and the annotation.
constexpr const char *kSearchComment = "#Search";
constexpr const char *kConstraintsStart = "[ConstraintsStart";
constexpr const char *kConstraintsEnd = "]ConstraintsEnd";

std::vector<tarvel::ConstraintBox> convertBoxes(const std::vector<GrainRow> &rows) {
    std::vector<tarvel::ConstraintBox> boxes;
    for (const GrainRow &row : rows) {
        try {
            boxes.push_back(tarvel::parseBoxLine(row.text));
        } catch (const tarvel::Error &e) {
            throw tarvel::Error("Constraint boxes, line " + std::to_string(row.line) + ": " +
                                e.what());
        }
    }
    if (const auto overlap = tarvel::overlappingBoxes(boxes))
        throw tarvel::Error("Constraint boxes, line " + std::to_string(rows[overlap->second].line) +
                            ": the box overlaps in time the box of line " +
                            std::to_string(rows[overlap->first].line) +
                            "; boxes may touch but not overlap.");
    return boxes;
}

void setSearchKey(DataSet &data, const std::string &name, const std::string &text,
                  std::int32_t line) {
    try {
        tarvel::setSearchKey(data.Search, name, text);
    } catch (const tarvel::Error &e) {
        throw tarvel::Error("Line " + std::to_string(line) + ": " + e.what());
    }
}

struct TableRow {
    std::string time, temp;
    std::int32_t line;
};

// Converts the collected table; a bad text names its line.
ThermalCurve convertTable(const std::vector<TableRow> &rows) {
    ThermalCurve curve;
    for (const TableRow &row : rows) {
        const std::string where = "Thermal curve table, line " + std::to_string(row.line);
        auto convert = [&](const std::string &text) {
            double value = 0.0;
            try {
                value = tarvel::parseNumber(text, '.');
            } catch (const tarvel::ConversionError &) {
                throw tarvel::ConversionError(text, where);
            }
            return toSingle(value, text, where);
        };
        const float time = convert(row.time);
        curve.Append(time, convert(row.temp));
    }
    return curve;
}

double keyValue(const std::string &key, const std::string &text, char localeSeparator) {
    try {
        return tarvel::parseNumberEither(text, localeSeparator);
    } catch (const tarvel::ConversionError &) {
        throw tarvel::ConversionError(text, key);
    }
}

// Reads a data file into `data` (which starts as the model's current data
// set, so what the file leaves out stays as it was).
void readDataSet(std::istream &in, DataSet &data, std::vector<std::int32_t> *curveLines) {
    data.Annotation.clear();
    // The parents are the file's own: a file that names none (as every file
    // written before them) is a data set without parents, whatever was open
    // before, and stopping distances it leaves out are apatite's.
    data.ParentsData = TParentsData{};
    // So are the grains: a file without a grain table holds none. And so is
    // the method: a file without the key (every file written before it, and
    // every fast data set) is computed by the fast method, as tarvel-calc
    // computes it, whatever the data set open before used; and the kinetics,
    // Arrhenius without the key.
    data.Grains.clear();
    data.ModelData.Method = ModelMethod::Fast;
    data.ModelData.Kinetics = ModelKinetics::Arrhenius;
    // The search's boxes and settings are the file's own as well.
    data.Search = {};
    const char localeSeparator = tarvel::localeDecimalSeparator();

    bool inData = false, inTable = false, inAnnotation = false, inGrains = false;
    bool inConstraints = false;
    std::vector<TableRow> table;
    std::vector<GrainRow> grainRows, boxRows;
    std::vector<std::string> annotationLines;
    LineReader reader(in);
    std::string line;

    while (reader.next(line)) {
        if (line.empty()) {
            // Blank lines are kept inside the annotation; elsewhere they end the data.
            if (inAnnotation) {
                annotationLines.push_back(line);
                continue;
            }
            if (inTable)
                throw tarvel::Error("The blank line " + std::to_string(reader.number()) +
                                    " ends the data inside the thermal curve table, which has "
                                    "no \"]TableEnd\".");
            if (inGrains)
                throw tarvel::Error("The blank line " + std::to_string(reader.number()) +
                                    " ends the data inside the grain table, which has no "
                                    "\"]GrainsEnd\".");
            if (inConstraints)
                throw tarvel::Error("The blank line " + std::to_string(reader.number()) +
                                    " ends the data inside the constraint boxes, which have no "
                                    "\"]ConstraintsEnd\".");
            if (!inData)
                throw tarvel::Error(kNotADataSet + " before the blank line " +
                                    std::to_string(reader.number()) + ", which ends the data.");
            return;
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
                data.Annotation = std::move(annotationLines);
                annotationLines.clear();
                inAnnotation = false;
            }
        } else if (line == "[TableStart") {
            inTable = true;
            table.clear();
        } else if (line == "]TableEnd") {
            if (inTable) {
                data.Curve = convertTable(table);
                if (curveLines) {
                    curveLines->clear();
                    for (const TableRow &row : table)
                        curveLines->push_back(row.line);
                }
                inTable = false;
            }
        } else if (line == kGrainsStart && !inTable && !inAnnotation) {
            inGrains = true;
            grainRows.clear();
        } else if (line == kGrainsEnd && !inTable && !inAnnotation) {
            if (inGrains) { // a closing marker without its opening is ignored
                data.Grains = convertGrains(grainRows);
                inGrains = false;
            }
        } else if (inGrains) {
            grainRows.push_back({line, reader.number()});
        } else if (line == kConstraintsStart && !inTable && !inAnnotation) {
            inConstraints = true;
            boxRows.clear();
        } else if (line == kConstraintsEnd && !inTable && !inAnnotation) {
            if (inConstraints) { // a closing marker without its opening is ignored
                data.Search.boxes = convertBoxes(boxRows);
                inConstraints = false;
            }
        } else if (inConstraints) {
            boxRows.push_back({line, reader.number()});
        } else if (inTable) {
            const auto comma = line.find(',');
            if (comma == std::string::npos)
                table.push_back({std::string(), line, reader.number()});
            else
                table.push_back({line.substr(0, comma), line.substr(comma + 1), reader.number()});
        } else if (inAnnotation) {
            annotationLines.push_back(tarvel::annotationLineFromFile(line));
        } else if (const auto eq = line.find('='); eq != std::string::npos) {
            std::string name;
            for (char c : std::string_view(line).substr(0, eq))
                if (c != ' ' && c != '\t')
                    name += c;
            if (name == kMethodKey) {
                data.ModelData.Method = methodFromText(line.substr(eq + 1), reader.number());
            } else if (name == kKineticsKey) {
                data.ModelData.Kinetics = kineticsFromText(line.substr(eq + 1), reader.number());
            } else if (const DataKey *key = findKey(name)) {
                const std::string text = line.substr(eq + 1);
                key->set(data, keyValue(key->name, text, localeSeparator), text);
            } else if (const ParentKey *parent = findParentKey(name)) {
                const std::string text = line.substr(eq + 1);
                setParentKey(data, *parent, keyValue(parent->name, text, localeSeparator), text,
                             reader.number());
            } else if (tarvel::isSearchKey(name)) {
                setSearchKey(data, name, line.substr(eq + 1), reader.number());
            }
        }
    }
    // Any file reads as "nothing changed" without this line: refuse it rather
    // than report success on, say, a plain text file opened by mistake.
    if (!inData)
        throw tarvel::Error(kNotADataSet + ".");
    // A section still open at the end is what a file cut off in transfer looks like.
    if (inTable)
        throw tarvel::Error("The file ends inside the thermal curve table; it looks cut off.");
    if (inAnnotation)
        throw tarvel::Error("The file ends inside the annotation; it looks cut off.");
    if (inGrains)
        throw tarvel::Error("The file ends inside the grain table; it looks cut off.");
    if (inConstraints)
        throw tarvel::Error("The file ends inside the constraint boxes; it looks cut off.");
}

} // namespace

void TDataModule1::WriteDataFile(std::ostream &out) const {
    const DataSet data{ModelData, GrainData, ParentsData, std::nullopt, {}, {}, {}};
    LineWriter w(out);
    w.line("#Tarvel 0.9");
    w.line("[DataBegin");
    for (const DataKey &key : kKeys) {
        if (key.commentBefore)
            w.line(key.commentBefore);
        w.line(std::string(key.name) + "=" + fileNumber(key.get(data)));
        if (std::string_view(key.name) == kMethodAfter && ModelData.Method != ModelMethod::Fast)
            w.line(std::string(kMethodKey) + "=" + methodName(ModelData.Method));
        if (std::string_view(key.name) == kMethodAfter &&
            ModelData.Kinetics != ModelKinetics::Arrhenius)
            w.line(std::string(kKineticsKey) + "=" + kineticsName(ModelData.Kinetics));
    }
    if (ParentsData.present()) {
        w.line(kParentsComment);
        for (const ParentKey &key : kParentKeys)
            w.line(std::string(key.name) + "=" + fileNumber(ParentsData.*key.field));
    }
    w.line("#Thermal Curve");
    w.line("[TableStart");
    for (std::int32_t i = 1; i < CurrentCurve.Count(); ++i) {
        const auto slot = static_cast<std::size_t>(i);
        w.line(fileNumber(CurrentCurve.Time[slot]) + ", " + fileNumber(CurrentCurve.Temp[slot]));
    }
    w.line("]TableEnd");
    if (!Grains.empty()) {
        w.line(kGrainsComment);
        w.line(kGrainsStart);
        for (const tarvel::GrainRecord &grain : Grains)
            w.line(grainFileLine(grain));
        w.line(kGrainsEnd);
    }
    if (!Search.empty()) {
        w.line(kSearchComment);
        for (const std::string &line : tarvel::searchKeyLines(Search))
            w.line(line);
        if (!Search.boxes.empty()) {
            w.line(kConstraintsStart);
            for (const tarvel::ConstraintBox &box : Search.boxes)
                w.line(tarvel::boxLine(box));
            w.line(kConstraintsEnd);
        }
    }
    w.line("[MemoBegin");
    for (const std::string &note : Annotation)
        for (const std::string &line : fileLinesOf(note))
            w.line(tarvel::annotationLineToFile(line));
    w.line("]MemoEnd");
    w.line("]DataEnd");
    out.flush();
    if (!out)
        throw tarvel::Error("The data could not be written completely (the device may be full "
                            "or not writable).");
}

void TDataModule1::ReadDataFile(std::istream &in, std::vector<std::int32_t> *curveLines) {
    DataSet data{ModelData, GrainData, ParentsData, std::nullopt, {}, {}, {}};
    std::vector<std::int32_t> lines;
    readDataSet(in, data, &lines);
    // The whole file has read: only now does the model change.
    ModelData = data.ModelData;
    GrainData = data.GrainData;
    ParentsData = data.ParentsData;
    if (data.Curve)
        CurrentCurve = std::move(*data.Curve);
    Annotation = std::move(data.Annotation);
    Grains = std::move(data.Grains);
    Search = std::move(data.Search);
    if (curveLines)
        *curveLines = std::move(lines);
}
