#include "searchcsv.h"

#include "numbertext.h"
#include "pathdraw.h"
#include "searchinput.h"
#include "searchresult.h"

#include <ostream>
#include <string>

namespace {

void appendField(std::string &line, double value) {
    line += ',';
    tarvel::appendCalculatorNumber(line, value);
}

std::string number(double value) {
    std::string text;
    tarvel::appendCalculatorNumber(text, value);
    return text;
}

} // namespace

void writeSearchSummary(const SearchResult &result, std::ostream &out) {
    std::string line = std::to_string(result.paths) + ',' + std::to_string(result.good) + ',' +
                       std::to_string(result.acceptable);
    if (result.best) {
        appendField(line, result.best->chi2);
        appendField(line, result.best->probability);
    } else {
        line += ",,";
    }
    out << "paths,good,acceptable,best_chi2,best_p\n" << line << '\n';
}

void writeAcceptedPaths(const SearchInput &input, const SearchResult &result, std::ostream &out) {
    out << "path,chi2,p_value,verdict,time,temperature\n";
    std::string lines;
    for (const JudgedPath &path : result.accepted) {
        std::string start = std::to_string(path.k);
        appendField(start, path.chi2);
        appendField(start, path.probability);
        start += ',';
        start += samplefit::verdictName(path.verdict);
        lines.clear();
        for (const PathNode &node : drawPath(input, path.k)) {
            lines += start;
            appendField(lines, node.time);
            appendField(lines, node.temperature);
            lines += '\n';
        }
        out << lines;
    }
}

void writeEnvelope(const SearchInput &input, const SearchResult &result, std::ostream &out) {
    std::vector<PathNode> best;
    if (result.best)
        best = drawPath(input, result.best->k);
    out << "time,good_min,good_max,acceptable_min,acceptable_max,best\n";
    for (int i = 0; i < kEnvelopeTimes; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const double time = envelopeTime(input, i);
        std::string line = number(time);
        for (const auto &[count, low, high] :
             {std::tuple{result.good, result.goodMin[at], result.goodMax[at]},
              std::tuple{result.acceptable, result.acceptableMin[at], result.acceptableMax[at]}}) {
            if (count > 0) {
                appendField(line, low);
                appendField(line, high);
            } else {
                line += ",,";
            }
        }
        if (!best.empty())
            appendField(line, pathTemperature(best, time));
        else
            line += ',';
        out << line << '\n';
    }
}
