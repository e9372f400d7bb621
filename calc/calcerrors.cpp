#include "calcerrors.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex &reporterMutex() {
    static std::mutex mutex;
    return mutex;
}

CalculationErrorReporter &installedReporter() {
    static CalculationErrorReporter reporter;
    return reporter;
}

void reportToStandardError(const std::string &message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
}

} // namespace

void SetCalculationErrorReporter(CalculationErrorReporter reporter) {
    std::lock_guard lock(reporterMutex());
    installedReporter() = std::move(reporter);
}

void ReportCalculationError(const std::string &message) {
    // Called outside the lock: a reporter may wait for the user (a message box
    // shown for the worker), and installing a reporter meanwhile must not hang.
    CalculationErrorReporter reporter;
    {
        std::lock_guard lock(reporterMutex());
        reporter = installedReporter();
    }
    if (!reporter) {
        reportToStandardError(message);
        return;
    }
    try {
        reporter(message);
    } catch (...) {
        // A reporter that fails must not take its caller down with it;
        // the message still reaches the user through the default route.
        reportToStandardError(message);
    }
}
