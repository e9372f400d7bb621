#pragma once

#include <optional>
#include <ostream>

// What `tarvel` does with its command line. --version and --help are answered
// before the application object exists, so they work without a display; any
// other argument that is not one of Qt's own options (which the application
// object takes away) is a usage error.

// Answers --version or --help on `out` and returns the exit status; nothing
// when neither was asked for.
std::optional<int> answerInformationOptions(int argc, const char *const *argv, std::ostream &out);

// Checks what is left of the arguments once Qt took its own options; on an
// unknown one, says so with the usage on `err` and returns the exit status.
std::optional<int> refuseLeftoverArguments(int argc, const char *const *argv, std::ostream &err);
