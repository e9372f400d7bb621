#include "batchhistories.h"

#include "agerun.h"
#include "errors.h"
#include "historycheck.h"
#include "numbertext.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <istream>
#include <ostream>
#include <span>
#include <sstream>
#include <string_view>
#include <unordered_set>

namespace {

// Histories computed in parallel before their rows are written. Large enough
// to keep every core busy, small enough that the results stay a small window.
constexpr std::size_t kChunk = 2048;

std::string lineText(std::int32_t line) {
    return "line " + std::to_string(line);
}

std::string historyText(const std::string &id) {
    return "history '" + tarvel::quotable(id) + "'";
}

// A time or temperature as the data file reader takes it: the number text,
// then single precision.
float csvValue(std::string_view text) {
    const double value = tarvel::parseNumber(text, '.');
    // Above this a double no longer rounds to the largest float.
    constexpr double kSingleLimit = 3.4028235677973366e38;
    if (!(std::fabs(value) < kSingleLimit))
        throw tarvel::ConversionError(text);
    return static_cast<float>(value);
}

struct Row {
    std::string_view id, time, temp;
};

// Splits history,time,temperature; false when the line has another shape.
bool splitRow(std::string_view line, Row &row) {
    const auto c1 = line.find(',');
    if (c1 == std::string_view::npos)
        return false;
    const auto c2 = line.find(',', c1 + 1);
    if (c2 == std::string_view::npos || line.find(',', c2 + 1) != std::string_view::npos)
        return false;
    row = {line.substr(0, c1), line.substr(c1 + 1, c2 - c1 - 1), line.substr(c2 + 1)};
    return true;
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

void checkHistory(const HistoryBatch &batch, std::size_t h, bool steps) {
    const std::size_t begin = batch.first[h], count = batch.first[h + 1] - begin;
    try {
        checkDrawnHistory(std::span(batch.times).subspan(begin, count),
                          std::span(batch.temps).subspan(begin, count),
                          std::span(batch.lines).subspan(begin, count));
    } catch (const tarvel::Error &e) { // names the lines itself
        throw tarvel::Error(historyText(batch.ids[h]) + ": " + e.what());
    }
    try {
        if (steps) {
            std::vector<FPOINT> points(count);
            for (std::size_t i = 0; i < count; ++i)
                points[i] = {batch.times[begin + i], batch.temps[begin + i]};
            historyPoints(std::move(points), true); // refuses a history too long to split
        }
    } catch (const tarvel::Error &e) {
        throw tarvel::Error(historyText(batch.ids[h]) + " (from " + lineText(batch.lines[begin]) +
                            "): " + e.what());
    }
}

// The rows' number texts, converted after all rows are split: the conversions
// are most of the reading and run on every core. The first failure in input
// order is the one reported.
void convertValues(HistoryBatch &batch, const std::vector<std::string_view> &timeTexts,
                   const std::vector<std::string_view> &tempTexts) {
    const auto rows = static_cast<std::ptrdiff_t>(timeTexts.size());
    batch.times.resize(timeTexts.size());
    batch.temps.resize(timeTexts.size());
    std::vector<char> failed(timeTexts.size(), 0);
#pragma omp parallel for schedule(static, 4096)
    for (std::ptrdiff_t r = 0; r < rows; ++r) {
        const auto i = static_cast<std::size_t>(r);
        try {
            batch.times[i] = csvValue(timeTexts[i]);
            batch.temps[i] = csvValue(tempTexts[i]);
        } catch (const tarvel::Error &) {
            failed[i] = 1;
        }
    }
    for (std::size_t i = 0; i < failed.size(); ++i) {
        if (!failed[i])
            continue;
        const auto h = static_cast<std::size_t>(
            std::upper_bound(batch.first.begin(), batch.first.end(), i) - batch.first.begin() - 1);
        try {
            csvValue(timeTexts[i]);
            csvValue(tempTexts[i]);
        } catch (const tarvel::Error &e) {
            throw tarvel::Error(lineText(batch.lines[i]) + ", " + historyText(batch.ids[h]) + ": " +
                                e.what());
        }
    }
}

} // namespace

HistoryBatch readHistories(std::istream &in, bool steps) {
    std::ostringstream whole;
    if (in.peek() != std::char_traits<char>::eof())
        whole << in.rdbuf();
    if (in.bad())
        throw tarvel::Error("cannot read the histories");
    const std::string text = std::move(whole).str();

    HistoryBatch batch;
    std::vector<std::string_view> timeTexts, tempTexts;
    std::unordered_set<std::string> seen;
    std::string structural; // the first row that is not history,time,temperature
    std::int32_t number = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line(text.data() + at, end - at);
        at = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        Row row;
        const bool isRow = splitRow(line, row);
        if (number == 1) {
            // The header: refused when it is a row of data, which would be lost.
            bool data = isRow;
            try {
                if (data) {
                    csvValue(row.time);
                    csvValue(row.temp);
                }
            } catch (const tarvel::Error &) {
                data = false;
            }
            if (data)
                throw tarvel::Error("line 1 holds data; the first line must be the header "
                                    "history,time,temperature.");
            continue;
        }
        if (line.empty())
            continue;
        if (!isRow)
            structural = lineText(number) + ": '" + tarvel::quotable(std::string(line)) +
                         "' is not a row history,time,temperature.";
        else if (isBlank(row.id))
            structural = lineText(number) + ": the history id is empty.";
        else if (batch.ids.empty() || row.id != batch.ids.back()) {
            if (!seen.emplace(row.id).second)
                structural = lineText(number) + ", " + historyText(std::string(row.id)) +
                             ": the history appears again after other histories; the rows of "
                             "a history must stand together.";
            else {
                batch.ids.emplace_back(row.id);
                batch.first.push_back(timeTexts.size());
            }
        }
        if (!structural.empty())
            break; // rows before it are still converted: an earlier failure comes first
        timeTexts.push_back(row.time);
        tempTexts.push_back(row.temp);
        batch.lines.push_back(number);
    }
    convertValues(batch, timeTexts, tempTexts);
    if (!structural.empty())
        throw tarvel::Error(structural);
    if (number == 0)
        throw tarvel::Error("the histories are empty: not even the header line "
                            "history,time,temperature.");
    if (batch.size() == 0)
        throw tarvel::Error("no histories after the header line.");
    batch.first.push_back(batch.times.size()); // the end of the last history

    // The checks split every history into its bar steps: work worth sharing
    // among the cores. The first refusal in input order is the one reported.
    std::vector<std::string> refusals(batch.size());
    const auto histories = static_cast<std::ptrdiff_t>(batch.size());
#pragma omp parallel for schedule(dynamic, 64)
    for (std::ptrdiff_t h = 0; h < histories; ++h) {
        try {
            checkHistory(batch, static_cast<std::size_t>(h), steps);
        } catch (const std::exception &e) {
            refusals[static_cast<std::size_t>(h)] = e.what();
        }
    }
    for (const std::string &refusal : refusals)
        if (!refusal.empty())
            throw tarvel::Error(refusal);
    return batch;
}

void writeHistories(const HistoryBatch &batch, const AgeInput &base, const BatchOutput &options,
                    std::ostream &out) {
    auto put = [&out](const std::string &text) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out)
            throw tarvel::Error("cannot write the output");
    };
    put("history,time,calculated_time\n");

    std::vector<std::string> texts(std::min(kChunk, batch.size()));
    std::vector<std::string> failures(texts.size());
    for (std::size_t chunk = 0; chunk < batch.size(); chunk += kChunk) {
        const auto count = static_cast<std::ptrdiff_t>(std::min(kChunk, batch.size() - chunk));
#pragma omp parallel for schedule(dynamic, 8)
        for (std::ptrdiff_t i = 0; i < count; ++i) {
            const std::size_t h = chunk + static_cast<std::size_t>(i);
            std::string &text = texts[static_cast<std::size_t>(i)];
            text.clear();
            failures[static_cast<std::size_t>(i)].clear();
            try {
                std::vector<FPOINT> drawn;
                for (std::size_t p = batch.first[h]; p < batch.first[h + 1]; ++p)
                    drawn.push_back({batch.times[p], batch.temps[p]});
                const std::vector<FPOINT> points = historyPoints(std::move(drawn), options.steps);
                const std::vector<double> ages = historyAges(base, points, options.method);
                for (std::size_t p = options.finalOnly ? points.size() - 1 : 0; p < points.size();
                     ++p) {
                    text += batch.ids[h];
                    text += ',';
                    appendNumber(text, points[p].x);
                    text += ',';
                    appendNumber(text, ages[p]);
                    text += '\n';
                }
            } catch (const std::exception &e) {
                failures[static_cast<std::size_t>(i)] = e.what();
            } catch (...) {
                failures[static_cast<std::size_t>(i)] = "the calculation failed";
            }
        }
        for (std::ptrdiff_t i = 0; i < count; ++i) {
            const std::size_t h = chunk + static_cast<std::size_t>(i);
            if (!failures[static_cast<std::size_t>(i)].empty())
                throw tarvel::Error(lineText(batch.lines[batch.first[h]]) + ", " +
                                    historyText(batch.ids[h]) + ": " +
                                    failures[static_cast<std::size_t>(i)] +
                                    " The output ends before this history.");
            put(texts[static_cast<std::size_t>(i)]);
        }
    }
    out.flush();
    if (!out)
        throw tarvel::Error("cannot write the output");
}
