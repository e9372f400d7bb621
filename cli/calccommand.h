#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The command-line calculator, kept apart from main() so tests can run it on
// strings. Returns the process exit status: 0 done, 1 failed, 2 usage error.
// `errIsTerminal`: standard error is a terminal, where a long run may show
// its progress.
int runTarvelCalc(const std::vector<std::string> &args, std::istream &standardInput,
                  std::ostream &out, std::ostream &err, bool errIsTerminal = false);

// The bytes of the data file `file` ("-": standard input). Throws
// tarvel::Error with the reason it cannot be read.
std::string readDataFileBytes(const std::string &file, std::istream &standardInput);

// The one-line usage text.
extern const char *const kTarvelCalcUsage;
