#include "agerun.h"

#include "heliumages.h"
#include "numbertext.h"

void appendNumber(std::string &out, double value) {
    tarvel::appendCalculatorNumber(out, value);
}

void appendHeliumAge(std::string &out, const HeliumAge &row, bool damage) {
    for (const double value : {row.heNmolG, row.rawAge, row.ft, row.correctedAge}) {
        out += ',';
        appendNumber(out, value);
    }
    if (damage)
        for (const double value : {row.damage, row.log10DiffusivityA2}) {
            out += ',';
            appendNumber(out, value);
        }
}
