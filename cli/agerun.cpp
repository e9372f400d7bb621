#include "agerun.h"

#include "heliumages.h"
#include "numbertext.h"

void appendNumber(std::string &out, double value) {
    tarvel::appendCalculatorNumber(out, value);
}

void appendHeliumAge(std::string &out, const HeliumAge &row) {
    for (const double value : {row.heNmolG, row.rawAge, row.ft, row.correctedAge}) {
        out += ',';
        appendNumber(out, value);
    }
}
