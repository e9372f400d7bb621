#include "commandline.h"

#include "tarvelversion.h"

#include <string_view>

namespace {

const char *const kUsage = "usage: tarvel [--version] [--help] [Qt options] [FILE]";

const char *const kHelp =
    "Starts the Tarvel desktop program: models how much radiogenic daughter a\n"
    "spherical mineral grain holds along a thermal history.\n"
    "\n"
    "  FILE       a data file to open as the data set, as Open does; a file\n"
    "             that holds no data set is refused in the window and the\n"
    "             data set kept between runs stays as it was\n"
    "  --help     this text\n"
    "  --version  the program's version\n"
    "\n"
    "Qt's options for every program (for example -platform, -style, -display)\n"
    "are understood as well. The data set is kept between runs in\n"
    "$XDG_CONFIG_HOME/Morvik/tarvel/ModelData (~/.config when unset).\n"
    "For calculations on data files from scripts, see tarvel-calc --help.\n";

} // namespace

std::optional<int> answerInformationOptions(int argc, const char *const *argv, std::ostream &out) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            out << "tarvel " << tarvel::kVersion << '\n';
            return 0;
        }
        if (arg == "--help") {
            out << kUsage << "\n\n" << kHelp;
            return 0;
        }
    }
    return std::nullopt;
}

LeftoverArguments readLeftoverArguments(int argc, const char *const *argv, std::ostream &err) {
    LeftoverArguments out;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string problem;
        if (!optionsEnded && arg.size() > 1 && arg.front() == '-')
            problem = "unknown argument '" + std::string(arg) + "'";
        else if (!out.file.empty())
            problem = "only one FILE may be given";
        else if (arg.empty())
            problem = "the FILE is empty";
        if (!problem.empty()) {
            err << "tarvel: " << problem << '\n' << kUsage << '\n';
            out.status = 2;
            return out;
        }
        out.file = arg;
    }
    return out;
}
