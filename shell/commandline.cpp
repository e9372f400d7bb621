#include "commandline.h"

#include "tarvelversion.h"

#include <string_view>

namespace {

const char *const kUsage = "usage: tarvel [--version] [--help] [Qt options]";

const char *const kHelp =
    "Starts the Tarvel desktop program: models how much radiogenic daughter a\n"
    "spherical mineral grain holds along a thermal history.\n"
    "\n"
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

std::optional<int> refuseLeftoverArguments(int argc, const char *const *argv, std::ostream &err) {
    if (argc <= 1)
        return std::nullopt;
    err << "tarvel: unknown argument '" << argv[1] << "'\n" << kUsage << '\n';
    return 2;
}
