#pragma once

#include <iosfwd>

struct SearchInput;
struct SearchResult;

// A search's results as tarvel-calc writes them, numbers with "." and 17
// significant digits. Each writes a header line, then its rows.

// paths,good,acceptable,best_chi2,best_p: one line (acceptable counts the
// good paths too).
void writeSearchSummary(const SearchResult &result, std::ostream &out);

// path,chi2,p_value,verdict,time,temperature: every good and acceptable path
// in path order, one row per node.
void writeAcceptedPaths(const SearchInput &input, const SearchResult &result, std::ostream &out);

// time,good_min,good_max,acceptable_min,acceptable_max,best: at the envelope's
// times (kEnvelopeTimes from 0 to the present) the extremes over the good
// paths and over the acceptable ones (good included), each path linear
// between its nodes, cells of a class without paths empty; best the
// temperature of the path of the smallest chi-square.
void writeEnvelope(const SearchInput &input, const SearchResult &result, std::ostream &out);
