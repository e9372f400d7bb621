#include "agerun.h"

#include "numbertext.h"

void appendNumber(std::string &out, double value) {
    tarvel::appendCalculatorNumber(out, value);
}
