// tarvel: the desktop program.
#include "application.h"
#include "commandline.h"
#include "roster.h"
#include "tsplash.h"

#include <exception>
#include <iostream>

int main(int argc, char **argv) {
    if (const auto status = answerInformationOptions(argc, argv, std::cout))
        return *status;
    TarvelApplication app(argc, argv);
    const LeftoverArguments arguments = readLeftoverArguments(argc, argv, std::cerr);
    if (arguments.status)
        return *arguments.status;
    installCalculationErrorBox();
    int status = 0;
    try {
        CreateRoster();
        Splash->StartFile = QString::fromLocal8Bit(arguments.file.c_str());
        status = app.exec();
    } catch (...) {
        showException(std::current_exception());
        status = 1;
    }
    DestroyRoster();
    return status;
}
