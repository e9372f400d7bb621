#pragma once

#include <optional>
#include <ostream>
#include <string>

// What `tarvel` does with its command line. --version and --help are answered
// before the application object exists, so they work without a display. One
// FILE may follow Qt's own options (which the application object takes
// away): the data set to open at the start; any other argument is a usage
// error.

// Answers --version or --help on `out` and returns the exit status; nothing
// when neither was asked for.
std::optional<int> answerInformationOptions(int argc, const char *const *argv, std::ostream &out);

// What is left of the arguments once Qt took its own options: the FILE to
// open (empty when none), or, for an unknown option or a second FILE, the
// exit status after saying so with the usage on `err`.
struct LeftoverArguments {
    std::string file;
    std::optional<int> status;
};
LeftoverArguments readLeftoverArguments(int argc, const char *const *argv, std::ostream &err);
