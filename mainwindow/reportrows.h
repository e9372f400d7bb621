#pragma once

#include "modelrecords.h"
#include "parentsdata.h"

#include <string>
#include <string_view>
#include <vector>

// The printed report's rows, decided without a display: what each row says and
// which rows are cut at the right edge. Drawing them is DrawReport's job.
namespace reportrows {

// A number written with a picture pattern such as "####0", "####0.00" or
// "####0.0###": every "0" is a digit that is always written, every "#" one
// written only when significant, "." stands for `decimalSeparator`. The value
// is rounded to the pattern's last decimal place (halves away from zero); all
// integer digits are written, without thousands separators. Non-finite values
// give "NAN", "INF" or "-INF". Throws std::invalid_argument for a pattern with
// other characters or no "0" before the point.
std::string formatPicture(double value, std::string_view pattern, char decimalSeparator);

struct Row {
    std::string text;     // the annotation's rows keep the memo's bytes
    bool clipped = false; // cut at the right edge of the report's rectangle
    friend bool operator==(const Row &, const Row &) = default;
};

// The report from the top: the annotation lines (clipped), two empty rows, the
// model constants and the grain parameters (not clipped).
std::vector<Row> rows(const TModelData &model, const TGrainData &grain,
                      const std::vector<std::string> &annotation, char decimalSeparator);

// The parents of a data set with parents, after the grain parameters:
// "Parents", the three concentrations and the four stopping distances.
std::vector<Row> parentsRows(const TParentsData &parents, char decimalSeparator);

// The row under the grain parameters that says where the report's numbers
// come from: the age method ("fast" or "precise"), the data set's file name
// (empty when it was never saved or opened) and the date, as given.
Row sourceRow(bool precise, const std::string &fileName, const std::string &date);

} // namespace reportrows
