#pragma once

#include <string>

// A number as the calculator writes it: "." and 17 significant digits.
void appendNumber(std::string &out, double value);
