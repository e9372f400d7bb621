// tarvel: the desktop program.
#include "application.h"
#include "commandline.h"
#include "roster.h"

#include <exception>
#include <iostream>

int main(int argc, char **argv) {
    if (const auto status = answerInformationOptions(argc, argv, std::cout))
        return *status;
    TarvelApplication app(argc, argv);
    if (const auto status = refuseLeftoverArguments(argc, argv, std::cerr))
        return *status;
    installCalculationErrorBox();
    int status = 0;
    try {
        CreateRoster();
        status = app.exec();
    } catch (...) {
        showException(std::current_exception());
        status = 1;
    }
    DestroyRoster();
    return status;
}
