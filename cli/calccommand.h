#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The command-line calculator, kept apart from main() so tests can run it on
// strings. Returns the process exit status: 0 done, 1 failed, 2 usage error.
int runTarvelCalc(const std::vector<std::string> &args, std::istream &standardInput,
                  std::ostream &out, std::ostream &err);

// The one-line usage text.
extern const char *const kTarvelCalcUsage;
