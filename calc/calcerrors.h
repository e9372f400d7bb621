#pragma once

#include <functional>
#include <string>

// Where calculation failures go. The calculations run on worker threads that
// cannot throw to anybody, so they hand the message to one process-wide
// reporter: the desktop program shows it in a box, the command-line calculator
// prints it and exits with an error status. The default writes to stderr.
using CalculationErrorReporter = std::function<void(const std::string &message)>;

// Thrown by a calculation that was asked to stop; not a failure, so nobody
// reports it.
struct CalculationStopped {};

// Installs the reporter; an empty function restores the default. Thread-safe.
void SetCalculationErrorReporter(CalculationErrorReporter reporter);

// Hands the message to the reporter. May be called from any thread; two workers
// failing at once would call the reporter concurrently.
void ReportCalculationError(const std::string &message);

// How a calculation body ended.
enum class RunOutcome { Done, Stopped, Failed };

// Runs a worker's body: a stop request (CalculationStopped) ends it quietly;
// any other failure is handed to ReportCalculationError, running out of memory
// as `outOfMemory` and a failure without a message as `unknownFailure`.
RunOutcome runCalculation(const std::function<void()> &body, const std::string &outOfMemory,
                          const std::string &unknownFailure);
