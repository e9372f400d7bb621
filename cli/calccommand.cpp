#include "calccommand.h"

#include "agerun.h"
#include "batchhistories.h"
#include "calcoptions.h"
#include "datamodule.h"
#include "errors.h"
#include "geometrycheck.h"
#include "geometrycoefficients.h"
#include "grainsample.h"
#include "historycheck.h"
#include "jobinputs.h"
#include "numbertext.h"
#include "searchcommand.h"
#include "tarvelversion.h"
#include "wholetext.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <span>
#include <sstream>
#include <string>

const char *const kTarvelCalcUsage =
    "usage: tarvel-calc [--coefficients | --ages] [--no-steps] [--method fast|direct|precise]\n"
    "                   [--kinetics arrhenius|rdaam|zrdaam] FILE\n"
    "       tarvel-calc --histories CSV [--final] [--ages] [--no-steps]\n"
    "                   [--method fast|direct|precise] [--kinetics arrhenius|rdaam|zrdaam] FILE\n"
    "       tarvel-calc --grains [CSV] [--summary] [--no-steps]\n"
    "                   [--method fast|direct|precise] [--kinetics arrhenius|rdaam|zrdaam] FILE\n"
    "       tarvel-calc --invert [--paths N] [--seed S] [--accepted CSV]\n"
    "                   [--envelope CSV] [--no-steps]\n"
    "                   [--method fast|direct|precise] [--kinetics arrhenius|rdaam|zrdaam] FILE";

namespace {

constexpr std::int32_t kMaxEigenvalues = 10000;

const char *const kHelp =
    "Runs the grain's geometry and age calculations on a data file and writes CSV.\n"
    "\n"
    "  FILE              the data file; \"-\" reads standard input\n"
    "  --coefficients    write the geometry coefficients (k,coefficient) instead\n"
    "                    of the calculated times; for a data set with parents one\n"
    "                    column per parent (k,238U,235U,232Th,147Sm)\n"
    "  --ages            for a data set with parents (U_ppm, Th_ppm or Sm_ppm above\n"
    "                    0): time,he_nmol_g,raw_age,ft,corrected_age at every point,\n"
    "                    each point taken as the present; helium in nmol/g, ages in\n"
    "                    millions of years. Also with --histories\n"
    "  --no-steps        use the curve's points as they are instead of splitting\n"
    "                    it into steps of at most 5 time units, as the desktop\n"
    "                    program's Recalculate does\n"
    "  --method fast     as the desktop program computes by default: one pass\n"
    "                    over the history per term, time proportional to\n"
    "                    points x eigenvalues. Without --method the data set's\n"
    "                    own method is used (its key Method; fast when absent)\n"
    "  --method direct   the term-by-term walk over all older intervals; slow on\n"
    "                    long cold histories, kept to verify the fast method\n"
    "  --method precise  the temperature changing linearly between the points and\n"
    "                    the series summed exactly: for ages reported to better\n"
    "                    than 1 %. The default method's extrapolated series is off\n"
    "                    by a median 0.07-0.2 % and up to 3.7 % at 20 eigenvalues;\n"
    "                    its diffusivity held constant over each 5-unit step puts\n"
    "                    the default grain cooling 120 -> 20 °C over 0-100 Myr\n"
    "                    1.35 % off at the present day and 22-30 % off at the hot\n"
    "                    early points. The precise method stays within 1e-4 there,\n"
    "                    in a few milliseconds\n"
    "  --kinetics K      the helium diffusivity instead of the data set's own\n"
    "                    (its key Kinetics; arrhenius when absent): arrhenius\n"
    "                    (Activation_energy and D0), rdaam (apatite, Flowers et al.\n"
    "                    2009) or zrdaam (zircon, Guenthner et al. 2013). The two\n"
    "                    damage models take their published parameters and need\n"
    "                    U_ppm, Th_ppm or Sm_ppm above 0; with them --ages adds the\n"
    "                    columns damage (rdaam: effective track density,\n"
    "                    tracks/cm2; zrdaam: alpha dose, alphas/g) and log10_D_a2\n"
    "                    (log10 of D/a2 in 1/s, a the sphere radius)\n"
    "  --histories CSV   many histories for the grain of FILE (whose own curve is\n"
    "                    then ignored): a header line, then rows\n"
    "                    history,time,temperature, the rows of a history together\n"
    "                    and in time order; \"-\" reads standard input. Output:\n"
    "                    history,time,calculated_time in input order, computed on\n"
    "                    every core (OMP_NUM_THREADS sets how many)\n"
    "  --final           with --histories: only the last point of each history\n"
    "  --grains CSV      predict a sample of grains under the history, kinetics,\n"
    "                    stopping distances and method of FILE, each grain a whole\n"
    "                    sphere of its own radius, U, Th and Sm. The CSV has the\n"
    "                    header grain,radius,U_ppm,Th_ppm,Sm_ppm,raw_age,raw_age_sd\n"
    "                    (µm, ppm, Myr; the measured age and its uncertainty may\n"
    "                    be empty); \"-\" reads standard input. Without CSV (one\n"
    "                    path after --grains is FILE) the grain table FILE holds\n"
    "                    is used; --grains=CSV always names the CSV. Output:\n"
    "                    grain,radius,eU,ft,predicted_raw_age,\n"
    "                    predicted_corrected_age,measured_raw_age,measured_sd,z\n"
    "                    in input order, z = (measured - predicted) / sd, empty\n"
    "                    for a grain without a measurement; computed on every core\n"
    "  --summary         with --grains: one line grains,chi2,p_value,verdict over\n"
    "                    the grains with a measurement: chi2 the sum of z squared,\n"
    "                    p_value the chance of a chi2 at least that large with that\n"
    "                    many degrees of freedom, verdict good (p >= 0.5),\n"
    "                    acceptable (p >= 0.05) or poor. Without a measured grain\n"
    "                    chi2 is 0 and p_value and verdict are empty\n"
    "  --invert          search for the thermal histories the grains of FILE allow:\n"
    "                    random paths from time 0 to the present (the time of the\n"
    "                    history's last point) through the data set's constraint\n"
    "                    boxes, every grain with a measured age computed under\n"
    "                    each and judged as --summary judges them. Output: one\n"
    "                    line paths,good,acceptable,best_chi2,best_p (acceptable\n"
    "                    counts the good paths too), computed on every core; on\n"
    "                    a terminal a progress line on standard error. Refused:\n"
    "                    no grain with a measured age, no boxes, no box at time\n"
    "                    0 or at the present, a rate or a number of paths of 0\n"
    "                    or less\n"
    "  --paths N         with --invert: draw N paths (Search_paths; 10000 when\n"
    "                    the data set has none)\n"
    "  --seed S          with --invert: the random seed (Search_seed; 1 when\n"
    "                    absent). The same data set and seed give the same bytes\n"
    "                    on any number of cores and processes (tarvel-calc-mpi)\n"
    "  --accepted CSV    with --invert: write every good and acceptable path to\n"
    "                    CSV, one row per node:\n"
    "                    path,chi2,p_value,verdict,time,temperature\n"
    "  --envelope CSV    with --invert: write at 201 times from 0 to the present\n"
    "                    time,good_min,good_max,acceptable_min,acceptable_max,best:\n"
    "                    the extremes of the good and of the acceptable paths\n"
    "                    (good included; empty for a class without paths) and the\n"
    "                    path of the smallest chi2. Both files are written only\n"
    "                    once the whole search is done\n"
    "  --help            this text\n"
    "  --version         the program's version\n"
    "\n"
    "Output: a header line, then one line per point: time,calculated_time (times in\n"
    "millions of years), numbers with \".\" and 17 significant digits. For a data set\n"
    "with parents the calculated time is the raw age: the age equation solved for\n"
    "the helium the grain holds.\n"
    "\n"
    "The data file is 8-bit text (keys and numbers in ASCII, the annotation kept as\n"
    "its bytes); a blank line outside the annotation ends the data. Values are held\n"
    "in single precision and written with 8 significant digits.\n"
    "Exit status: 0 done, 1 the file or the calculation failed, 2 usage error.\n";

std::string number(double value) {
    std::string text;
    appendNumber(text, value);
    return text;
}

} // namespace

std::string readDataFileBytes(const std::string &file, std::istream &standardInput) {
    std::string bytes;
    if (file == "-") {
        bytes.assign(std::istreambuf_iterator<char>(standardInput), {});
        if (standardInput.bad())
            throw tarvel::Error("cannot read standard input");
    } else {
        std::error_code ec;
        if (std::filesystem::is_directory(file, ec))
            throw tarvel::Error("is a directory, not a data file");
        std::ifstream in(file, std::ios::binary);
        if (!in)
            throw tarvel::Error(std::string("cannot open: ") + std::strerror(errno));
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        if (in.bad())
            throw tarvel::Error(std::string("cannot read: ") + std::strerror(errno));
    }
    return bytes;
}

namespace {

// Reads the data set; `curveLines` receives the file line of each curve point.
void readModel(const std::string &file, std::istream &standardInput, TDataModule1 &model,
               std::vector<std::int32_t> &curveLines) {
    std::istringstream in(readDataFileBytes(file, standardInput));
    model.ReadDataFile(in, &curveLines);
}

void checkEigenvalues(const TDataModule1 &model) {
    if (model.ModelData.Neigen > kMaxEigenvalues)
        throw tarvel::Error("Neigen=" + std::to_string(model.ModelData.Neigen) +
                            " is too large: at most " + std::to_string(kMaxEigenvalues) +
                            " eigenvalues are computed");
}

void checkModel(const TDataModule1 &model) {
    // The same rule as the windows' check, before the geometry runs on it.
    const TGrainData &g = model.GrainData;
    const float emission = model.ModelData.Emission_dist;
    if (!geometrycheck::radiiFollowRule(g.Sphere_radius, g.Outer_radius, g.Inner_radius))
        throw tarvel::Error(geometrycheck::kRadiiRuleText);
    // A data set with parents does not use the emission distance.
    if (!model.ParentsData.present() && !geometrycheck::emissionFollowsRule(emission))
        throw tarvel::Error(
            "Emission_dist=" + tarvel::formatGeneral(emission, tarvel::kDataFileDigits, '.') +
            ": " + geometrycheck::kEmissionRuleText);
    if (model.ModelData.Neigen > kMaxEigenvalues)
        throw tarvel::Error("Neigen=" + std::to_string(model.ModelData.Neigen) +
                            " is too large: at most " + std::to_string(kMaxEigenvalues) +
                            " eigenvalues are computed");
}

// The history as the file gives it, checked before it is split into bar steps
// so that a refusal names the file's own points and lines.
void checkHistory(const ThermalCurve &curve, const std::vector<std::int32_t> &curveLines) {
    if (curve.PointCount() == 0)
        throw tarvel::Error("The data set holds no thermal history.");
    const std::span<const float> times(curve.Time.data() + 1, curve.Time.size() - 1);
    const std::span<const float> temps(curve.Temp.data() + 1, curve.Temp.size() - 1);
    checkDrawnHistory(times, temps, curveLines);
}

// A data set with parents needs no stored coefficients: its runs compute one
// set per parent from the stopping distances.
void runGeometry(TDataModule1 &model) {
    if (!model.ParentsData.present())
        storeCoefficients(model, geometryCoefficients(geometryJobInput(model)));
}

void requireParents(const TDataModule1 &model) {
    if (!model.ParentsData.present())
        throw tarvel::Error("--ages needs a data set with parents: it has no U_ppm, Th_ppm or "
                            "Sm_ppm above 0, so it holds no helium to give ages for");
}

// The age run of the data set's own curve as the temperature graph holds it
// after DrawCurve, split into bar steps unless asked not to, by the method
// asked for or else the data set's.
AgeJobInput curveJobInput(const TDataModule1 &model, const CalcOptions &options) {
    AgeJobInput input = ageJobInput(model, curvePoints(model.GetCurrentCurve()), options.steps);
    if (options.method)
        input.method = *options.method;
    return input;
}

// The curve's calculated times.
void writeTimes(const TDataModule1 &model, const CalcOptions &options, std::ostream &out) {
    const AgeJobInput input = curveJobInput(model, options);
    const std::vector<double> ages = historyAges(input);
    const std::vector<FPOINT> &points = input.history;

    out << "time,calculated_time\n";
    for (std::size_t i = 0; i < points.size(); ++i)
        out << number(points[i].x) << ',' << number(ages[i]) << '\n';
}

// The same history's helium, raw age, FT and corrected age.
void writeHeliumAges(const TDataModule1 &model, const CalcOptions &options, std::ostream &out) {
    const AgeJobInput input = curveJobInput(model, options);
    const std::vector<HeliumAge> rows = historyHeliumAges(input);
    const std::vector<FPOINT> &points = input.history;
    const bool damage = input.model.kinetics != ModelKinetics::Arrhenius;

    out << "time," << kHeliumAgeColumns << (damage ? std::string(",") + kDamageColumns : "")
        << '\n';
    for (std::size_t i = 0; i < points.size(); ++i) {
        std::string line = number(points[i].x);
        appendHeliumAge(line, rows[i], damage);
        out << line << '\n';
    }
}

// Reads the CSV of histories (or standard input) whole.
HistoryBatch readBatch(const std::string &file, std::istream &standardInput, bool steps) {
    return readHistories(file == "-" ? readWholeStream(standardInput) : readWholeFile(file), steps);
}

// The sample's grains: from the CSV (or standard input) when one is given,
// otherwise the data set's own grain table.
std::vector<tarvel::GrainRecord> sampleGrains(const TDataModule1 &model, const std::string &csv,
                                              std::istream &standardInput) {
    if (csv.empty()) {
        if (model.Grains.empty())
            throw tarvel::Error("the data set holds no grain table: give the grains as a CSV "
                                "(--grains CSV FILE)");
        return model.Grains;
    }
    const WholeText text = csv == "-" ? readWholeStream(standardInput) : readWholeFile(csv);
    return tarvel::readGrainCsv(text.view());
}

void writeCoefficients(const TDataModule1 &model, std::ostream &out) {
    if (const std::optional<ParentsInput> parents = modelAgeInput(model).parents) {
        // The coefficients each parent's run computes from its stopping distance.
        const TGrainData &g = model.GrainData;
        out << "k";
        std::vector<std::vector<double>> columns;
        for (std::size_t i = 0; i < kParentCount; ++i) {
            out << ',' << kParentConstants[i].name;
            columns.push_back(geometryCoefficients(g.Sphere_radius, g.Outer_radius, g.Inner_radius,
                                                   parents->stopping[i], model.ModelData.Neigen));
        }
        out << '\n';
        for (std::int32_t k = 1; k <= model.ModelData.Neigen; ++k) {
            out << k;
            for (const std::vector<double> &column : columns)
                out << ',' << number(column[static_cast<std::size_t>(k)]);
            out << '\n';
        }
        return;
    }
    out << "k,coefficient\n";
    for (std::int32_t k = 1; k <= model.ModelData.Neigen; ++k)
        out << k << ',' << number(model.GetCoefficient(k)) << '\n';
}

// Messages quote text from the file; control bytes in it must not break the
// one-line error or play tricks on the terminal.
std::string printable(const std::string &message) {
    std::string out;
    for (const char c : message) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            out += '?';
        else
            out += c;
    }
    return out;
}

} // namespace

int runTarvelCalc(const std::vector<std::string> &args, std::istream &standardInput,
                  std::ostream &out, std::ostream &err, bool errIsTerminal) {
    std::string problem;
    const auto options = parseCalcOptions(args, problem);
    if (!options) {
        err << "tarvel-calc: " << problem << '\n' << kTarvelCalcUsage << '\n';
        return 2;
    }
    if (options->help) {
        out << kTarvelCalcUsage << "\n\n" << kHelp;
        return 0;
    }
    if (options->version) {
        out << "tarvel-calc " << tarvel::kVersion << '\n';
        return 0;
    }

    // The file a failure is reported against: the data file, or the CSV of
    // histories while that is read and written.
    std::string file = options->file;
    try {
        TDataModule1 model;
        std::vector<std::int32_t> curveLines;
        readModel(file, standardInput, model, curveLines);
        if (options->kinetics)
            model.ModelData.Kinetics = *options->kinetics;
        if (options->invert) {
            checkEigenvalues(model);
            runSearchCommand(model, *options, out, errIsTerminal ? &err : nullptr);
            return 0;
        }
        if (options->grains) {
            // Each grain brings its own geometry and parents: of the data set
            // only the constants, the history and the stopping distances count.
            checkEigenvalues(model);
            checkHistory(model.GetCurrentCurve(), curveLines);
            file = options->grainsCsv.empty() ? options->file : options->grainsCsv;
            const std::vector<tarvel::GrainRecord> grains =
                sampleGrains(model, options->grainsCsv, standardInput);
            file = options->file;
            std::ostringstream table;
            writeGrainSample(model, grains, {options->method, options->steps, options->summary},
                             table);
            out << table.str();
            out.flush();
            if (!out)
                throw tarvel::Error("cannot write the output");
            return 0;
        }
        checkModel(model);
        if (options->ages)
            requireParents(model);
        const bool batch = !options->histories.empty();
        if (!options->coefficients && !batch)
            checkHistory(model.GetCurrentCurve(), curveLines);

        HistoryBatch histories;
        if (batch) {
            file = options->histories;
            histories = readBatch(file, standardInput, options->steps);
            file = options->file;
        }

        runGeometry(model);

        if (batch) {
            // The model is checked on a one-point history before anything is written.
            const AgeInput base = modelAgeInput(model);
            const AgeMethod method = options->method.value_or(dataSetMethod(model));
            AgeJobInput probe = ageJobInput(base, {FPOINT{}}, false);
            probe.method = method;
            historyAges(probe);
            file = options->histories;
            writeHistories(histories, base,
                           {method, options->steps, options->finalOnly, options->ages}, out);
            return 0;
        }

        // Buffer the output so a failure never leaves half a table behind.
        std::ostringstream table;
        if (options->coefficients)
            writeCoefficients(model, table);
        else if (options->ages)
            writeHeliumAges(model, *options, table);
        else
            writeTimes(model, *options, table);

        out << table.str();
        out.flush();
        if (!out)
            throw tarvel::Error("cannot write the output");
        return 0;
    } catch (const std::bad_alloc &) {
        err << "tarvel-calc: " << printable(file) << ": not enough memory for this calculation\n";
    } catch (const std::exception &e) {
        err << "tarvel-calc: " << printable(file) << ": " << printable(e.what()) << '\n';
    }
    return 1;
}
