// tarvel: the desktop program.
#include "application.h"
#include "roster.h"

#include <exception>

int main(int argc, char **argv) {
    TarvelApplication app(argc, argv);
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
