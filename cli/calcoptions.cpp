#include "calcoptions.h"

#include <stdexcept>
#include <utility>

namespace {

// A named choice of an option's value.
template <class T> struct Choice {
    const char *name;
    T value;
};

const Choice<AgeMethod> kMethods[] = {
    {"fast", AgeMethod::Fast}, {"direct", AgeMethod::Direct}, {"precise", AgeMethod::Precise}};
const Choice<ModelKinetics> kKinetics[] = {{"arrhenius", ModelKinetics::Arrhenius},
                                           {"rdaam", ModelKinetics::Rdaam},
                                           {"zrdaam", ModelKinetics::Zrdaam}};

// Whether args[i] is `name` with one of its choices, as "name VALUE" or
// "name=VALUE" (i then moves past a separate value). A missing or unknown
// value sets `problem`, naming `what` the option chooses and the choices.
template <class T, std::size_t N>
bool chooseOption(const std::vector<std::string> &args, std::size_t &i, const std::string &name,
                  const char *what, const Choice<T> (&choices)[N], std::optional<T> &chosen,
                  std::string &problem) {
    const std::string &arg = args[i];
    std::string value;
    std::string names;
    for (std::size_t c = 0; c < N; ++c)
        names += (c == 0 ? "" : c + 1 == N ? " or " : ", ") + std::string(choices[c].name);
    if (arg == name) {
        if (i + 1 >= args.size()) {
            problem = name + " needs a value: " + names;
            return true;
        }
        value = args[++i];
    } else if (arg.rfind(name + "=", 0) == 0) {
        value = arg.substr(name.size() + 1);
    } else {
        return false;
    }
    for (const Choice<T> &choice : choices)
        if (value == choice.name) {
            chosen = choice.value;
            return true;
        }
    problem = "unknown " + std::string(what) + " '" + value + "': use " + names;
    return true;
}

// The search's options (--invert and what goes with it). Returns whether
// args[i] was one; a value is taken from args[i + 1] or after "=", and a bad
// one sets `problem`.
bool parseSearchOption(const std::vector<std::string> &args, std::size_t &i, CalcOptions &options,
                       std::string &problem) {
    const std::string &arg = args[i];
    if (arg == "--invert") {
        options.invert = true;
        return true;
    }
    static const char *const kValued[] = {"--paths", "--seed", "--accepted", "--envelope"};
    for (const std::string name : kValued) {
        std::string value;
        if (arg == name) {
            if (i + 1 >= args.size()) {
                problem = name + " needs a value";
                return true;
            }
            value = args[++i];
        } else if (arg.rfind(name + "=", 0) == 0) {
            value = arg.substr(name.size() + 1);
        } else {
            continue;
        }
        if (name == "--accepted" || name == "--envelope") {
            if (value.empty() || value == "-")
                problem = name + " needs a CSV file to write (the summary goes to standard output)";
            (name == "--accepted" ? options.acceptedCsv : options.envelopeCsv) = value;
            return true;
        }
        // Whole numbers only; paths of 0 or fewer are the search's to refuse.
        std::size_t used = 0;
        try {
            if (name == "--paths") {
                options.paths = std::stoll(value, &used);
            } else if (value.find('-') == std::string::npos) {
                options.seed = std::stoull(value, &used);
            }
        } catch (const std::exception &) {
            used = 0;
        }
        if (used == 0 || used != value.size())
            problem = name == "--paths"
                          ? "--paths needs a whole number, not '" + value + "'"
                          : "--seed needs a whole number from 0 to 18446744073709551615, not '" +
                                value + "'";
        return true;
    }
    return false;
}

// The options that go with --invert and those that do not.
bool checkSearchOptions(const CalcOptions &options, std::string &problem) {
    if (!options.invert) {
        for (const auto &[given, name] : {std::pair{options.paths.has_value(), "--paths"},
                                          std::pair{options.seed.has_value(), "--seed"},
                                          std::pair{!options.acceptedCsv.empty(), "--accepted"},
                                          std::pair{!options.envelopeCsv.empty(), "--envelope"}})
            if (given) {
                problem = std::string(name) + " needs --invert";
                return false;
            }
        return true;
    }
    for (const auto &[given, name] :
         {std::pair{options.coefficients, "--coefficients"},
          std::pair{!options.histories.empty(), "--histories"}, std::pair{options.ages, "--ages"},
          std::pair{options.finalOnly, "--final"}, std::pair{options.grains, "--grains"},
          std::pair{options.summary, "--summary"}})
        if (given) {
            problem = std::string("--invert and ") + name + " do not go together";
            return false;
        }
    if (!options.acceptedCsv.empty() && options.acceptedCsv == options.envelopeCsv) {
        problem = "--accepted and --envelope cannot write the same file";
        return false;
    }
    return true;
}

} // namespace

std::optional<CalcOptions> parseCalcOptions(const std::vector<std::string> &args,
                                            std::string &problem) {
    CalcOptions options;
    bool haveFile = false;
    bool optionsEnded = false;
    // "--grains X" with no other path: X is the data file, whose grains are used.
    bool grainsValueMayBeFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--help") {
            options.help = true;
        } else if (!optionsEnded && arg == "--version") {
            options.version = true;
        } else if (!optionsEnded && arg == "--coefficients") {
            options.coefficients = true;
        } else if (!optionsEnded && arg == "--no-steps") {
            options.steps = false;
        } else if (!optionsEnded && arg == "--ages") {
            options.ages = true;
        } else if (!optionsEnded && arg == "--final") {
            options.finalOnly = true;
        } else if (!optionsEnded && arg == "--summary") {
            options.summary = true;
        } else if (!optionsEnded && arg == "--grains") {
            options.grains = true;
            options.grainsCsv.clear();
            grainsValueMayBeFile = false;
            if (i + 1 < args.size() && (args[i + 1] == "-" || args[i + 1].rfind('-', 0) != 0)) {
                options.grainsCsv = args[++i];
                grainsValueMayBeFile = true;
                if (options.grainsCsv.empty()) {
                    problem = "--grains needs a CSV file (or - for standard input), or none";
                    return std::nullopt;
                }
            }
        } else if (!optionsEnded && arg.rfind("--grains=", 0) == 0) {
            options.grains = true;
            options.grainsCsv = arg.substr(9);
            grainsValueMayBeFile = false;
            if (options.grainsCsv.empty()) {
                problem = "--grains= needs a CSV file (or - for standard input)";
                return std::nullopt;
            }
        } else if (!optionsEnded && (arg == "--histories" || arg.rfind("--histories=", 0) == 0)) {
            if (arg == "--histories") {
                if (i + 1 >= args.size()) {
                    problem = "--histories needs a CSV file (or - for standard input)";
                    return std::nullopt;
                }
                options.histories = args[++i];
            } else {
                options.histories = arg.substr(12);
            }
            if (options.histories.empty()) {
                problem = "--histories needs a CSV file (or - for standard input)";
                return std::nullopt;
            }
        } else if (!optionsEnded && (chooseOption(args, i, "--method", "method", kMethods,
                                                  options.method, problem) ||
                                     chooseOption(args, i, "--kinetics", "kinetics", kKinetics,
                                                  options.kinetics, problem))) {
            if (!problem.empty())
                return std::nullopt;
        } else if (!optionsEnded && parseSearchOption(args, i, options, problem)) {
            if (!problem.empty())
                return std::nullopt;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            problem = "unknown option '" + arg + "'";
            return std::nullopt;
        } else if (haveFile) {
            problem = "only one FILE may be given";
            return std::nullopt;
        } else {
            options.file = arg;
            haveFile = true;
        }
    }
    // --help and --version answer without a data file.
    if (options.help || options.version)
        return options;
    if (!haveFile && grainsValueMayBeFile) {
        options.file = options.grainsCsv;
        options.grainsCsv.clear();
        haveFile = true;
    }
    if (!haveFile) {
        problem = "no FILE given";
        return std::nullopt;
    }
    if (options.finalOnly && options.histories.empty()) {
        problem = "--final needs --histories";
        return std::nullopt;
    }
    if (!options.histories.empty() && options.coefficients) {
        problem = "--coefficients and --histories do not go together";
        return std::nullopt;
    }
    if (options.ages && options.coefficients) {
        problem = "--coefficients and --ages do not go together";
        return std::nullopt;
    }
    if (options.summary && !options.grains) {
        problem = "--summary needs --grains";
        return std::nullopt;
    }
    if (options.grains) {
        for (const auto &[given, name] :
             {std::pair{options.coefficients, "--coefficients"},
              std::pair{!options.histories.empty(), "--histories"},
              std::pair{options.ages, "--ages"}, std::pair{options.finalOnly, "--final"}})
            if (given) {
                problem = std::string("--grains and ") + name + " do not go together";
                return std::nullopt;
            }
        if (options.grainsCsv == "-" && options.file == "-") {
            problem = "the grains and the data file cannot both come from standard input";
            return std::nullopt;
        }
    }
    if (!checkSearchOptions(options, problem))
        return std::nullopt;
    if (options.histories == "-" && options.file == "-") {
        problem = "the histories and the data file cannot both come from standard input";
        return std::nullopt;
    }
    return options;
}
