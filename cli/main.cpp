#include "calccommand.h"

#include <clocale>
#include <iostream>

#include <unistd.h>

int main(int argc, char **argv) {
    // Key lines of data files written under the user's locale may use its
    // decimal separator; our own number texts do not depend on the C locale.
    std::setlocale(LC_NUMERIC, "");
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return runTarvelCalc(args, std::cin, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
