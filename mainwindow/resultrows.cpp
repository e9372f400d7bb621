#include "resultrows.h"

#include "numbertext.h"
#include "parentsdata.h"

#include <algorithm>

namespace resultrows {

namespace {

const Column kHelium{"he_nmol_g", "Helium (nmol/g)"};
const Column kRawAge{"raw_age", "Raw age (Myr)"};
const Column kFt{"ft", "FT"};
const Column kCorrectedAge{"corrected_age", "Corrected age (Myr)"};
const Column kLogDiffusivity{"log10_D_a2", "log10 D/a\u00b2 (1/s)"};

Column damageColumn(ModelKinetics kinetics) {
    return {"damage", kinetics == ModelKinetics::Rdaam ? "Track density (tracks/cm\u00b2)"
                                                       : "Alpha dose (\u03b1/g)"};
}

} // namespace

Table ageTable(std::span<const FPOINT> history, std::span<const double> ages,
               std::span<const HeliumAge> helium, ModelKinetics kinetics) {
    Table table;
    table.columns = {{"time", "Time (Myr)"},
                     {"temperature", "Temperature (\u00b0C)"},
                     {"calculated_time", "Calculated time (Myr)"}};
    std::size_t n = std::min(history.size(), ages.size());
    const bool damage = !helium.empty() && kinetics != ModelKinetics::Arrhenius;
    if (!helium.empty()) {
        table.columns.insert(table.columns.end(), {kHelium, kRawAge, kFt, kCorrectedAge});
        n = std::min(n, helium.size());
        table.kinetics = kinetics;
    }
    if (damage)
        table.columns.insert(table.columns.end(), {damageColumn(kinetics), kLogDiffusivity});
    table.rows.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        auto &row = table.rows.emplace_back(std::vector<double>{
            static_cast<double>(history[i].x), static_cast<double>(history[i].y), ages[i]});
        if (!helium.empty())
            row.insert(row.end(),
                       {helium[i].heNmolG, helium[i].rawAge, helium[i].ft, helium[i].correctedAge});
        if (damage)
            row.insert(row.end(), {helium[i].damage, helium[i].log10DiffusivityA2});
    }
    return table;
}

std::string lastPointText(const Table &table, bool precise, char decimalSeparator) {
    if (table.empty())
        return {};
    const std::vector<double> &last = table.rows.back();
    const auto number = [decimalSeparator](double value) {
        return tarvel::formatGeneral(value, 6, decimalSeparator);
    };
    const std::string method =
        std::string(" (") + (precise ? "precise" : "fast") + " method" +
        (table.kinetics ? std::string(", ") + kineticsChoice(*table.kinetics).name : "") + ")";
    const auto column = [&table](const Column &wanted) {
        return std::find(table.columns.begin(), table.columns.end(), wanted) -
               table.columns.begin();
    };
    if (std::size_t(column(kHelium)) < table.columns.size())
        return "At " + number(last[0]) + " Myr: helium " + number(last[column(kHelium)]) +
               " nmol/g, raw age " + number(last[column(kRawAge)]) + " Myr, FT " +
               number(last[column(kFt)]) + ", corrected age " +
               number(last[column(kCorrectedAge)]) + " Myr" + method;
    return "Calculated time at " + number(last[0]) + ": " + number(last[2]) + method;
}

std::string csvText(const Table &table) {
    std::string out;
    for (std::size_t c = 0; c < table.columns.size(); ++c)
        out += (c ? "," : "") + table.columns[c].key;
    out += '\n';
    for (const auto &row : table.rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c)
                out += ',';
            tarvel::appendCalculatorNumber(out, row[c]);
        }
        out += '\n';
    }
    return out;
}

std::string cellText(double value, char decimalSeparator) {
    return tarvel::formatGeneral(value, tarvel::kEditDigits, decimalSeparator);
}

std::string copyText(const Table &table, char decimalSeparator) {
    constexpr const char *kEol = "\r\n";
    std::string out;
    for (std::size_t c = 0; c < table.columns.size(); ++c)
        out += (c ? "\t" : "") + table.columns[c].title;
    out += kEol;
    for (const auto &row : table.rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c)
                out += '\t';
            out += cellText(row[c], decimalSeparator);
        }
        out += kEol;
    }
    return out;
}

} // namespace resultrows
