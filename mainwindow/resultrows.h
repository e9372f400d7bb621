#pragma once

#include "fpoint.h"
#include "heliumages.h"
#include "modelrecords.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

// The result of an age run as a table, decided without a display: what the
// results dialog shows, what it copies and exports and what the report prints.
namespace resultrows {

struct Column {
    std::string key;   // the CSV header's name, e.g. "time"
    std::string title; // over the table and in copies, with its unit (UTF-8)
    friend bool operator==(const Column &, const Column &) = default;
};

// Named columns and a row of values for every point, each row holding one
// value per column; a calculation that gives more per point adds columns.
struct Table {
    std::vector<Column> columns;
    std::vector<std::vector<double>> rows;
    // When set, a first column of texts (a grain's name) titled `labelTitle`,
    // one per row; the report prints it, the CSV and the copy do not.
    std::vector<std::string> labels;
    std::string labelTitle;
    // The kinetics of a run whose helium comes from parents; none otherwise.
    std::optional<ModelKinetics> kinetics;
    bool empty() const { return rows.empty(); }
};

// time, temperature and calculated_time of every history point that has an
// age, index 0 first: the floats of the history widened, the ages as computed.
// For a data set with parents (`helium` given, one per point) he_nmol_g,
// raw_age, ft and corrected_age join, as tarvel-calc --ages names them, and
// under a radiation-damage kinetics damage and log10_D_a2 after them: the
// damage as the model measures it and log10 of D/a² (1/s).
Table ageTable(std::span<const FPOINT> history, std::span<const double> ages,
               std::span<const HeliumAge> helium = {},
               ModelKinetics kinetics = ModelKinetics::Arrhenius);

// The last point's result as one sentence with six significant digits and
// the method that produced it, with the kinetics for a run from parents;
// empty for an empty table.
std::string lastPointText(const Table &table, bool precise, char decimalSeparator);

// As tarvel-calc writes CSV: a header of the keys, "." and 17 significant
// digits, so every value reads back bit for bit, one "\n"-ended line a row.
std::string csvText(const Table &table);

// For a spreadsheet or a document: a header of the titles, values in the
// general format with 15 significant digits and `decimalSeparator`, cells
// separated by tabs and lines ended by CR LF, as the graphs copy their points.
std::string copyText(const Table &table, char decimalSeparator);

// One value as the table and the copy show it.
std::string cellText(double value, char decimalSeparator);

} // namespace resultrows
