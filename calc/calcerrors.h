#pragma once

#include <functional>
#include <string>

// Where the failure of a calculation job goes. A job ends on its own thread,
// where nobody could catch what it throws, so whoever collects a failed job
// hands the message to one process-wide reporter: the desktop program shows it
// in a box. The default writes to stderr.
using CalculationErrorReporter = std::function<void(const std::string &message)>;

// Thrown by a calculation that was asked to stop; not a failure, so nobody
// reports it.
struct CalculationStopped {};

// Installs the reporter; an empty function restores the default. Thread-safe.
void SetCalculationErrorReporter(CalculationErrorReporter reporter);

// Hands the message to the reporter. May be called from any thread; two workers
// failing at once would call the reporter concurrently.
void ReportCalculationError(const std::string &message);
