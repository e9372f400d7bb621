#include "batchhistories.h"

#include "agerun.h"
#include "errors.h"
#include "historycheck.h"
#include "numbertext.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <istream>
#include <limits>
#include <ostream>
#include <span>
#include <string_view>
#include <unordered_set>

namespace {

// Histories computed in parallel before their rows are written. Large enough
// to keep every core busy, small enough that the results stay a small window.
constexpr std::size_t kChunk = 8192;

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

} // namespace

HistoryBatch readHistories(std::istream &in, bool steps) {
    // The whole text first: its rows are converted in parallel, and only the
    // grouping into histories runs in order.
    std::string text;
    const std::istream::pos_type start = in.tellg();
    if (start != std::istream::pos_type(-1) && in.seekg(0, std::ios::end)) {
        // A file: one read of its known size, no copies while growing.
        text.resize(static_cast<std::size_t>(in.tellg() - start));
        in.seekg(start);
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
    } else {
        in.clear();
        std::vector<char> block(1 << 20);
        while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0)
            text.append(block.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        throw tarvel::Error("cannot read the histories");
    std::vector<std::string_view> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        pos = end + 1;
    }
    if (lines.empty())
        throw tarvel::Error("the histories are empty: not even the header line "
                            "history,time,temperature.");
    if (lines.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw tarvel::Error("too many lines for one run; split the histories into parts.");

    // Rows as they convert; a row that does not convert is converted again
    // below, in order, for its message.
    const auto count = static_cast<std::ptrdiff_t>(lines.size());
    std::vector<float> times(lines.size()), temps(lines.size());
    std::vector<unsigned char> valid(lines.size(), 0);
#pragma omp parallel for schedule(static, 4096)
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        const auto n = static_cast<std::size_t>(i);
        try {
            Row row;
            if (splitRow(lines[n], row)) {
                times[n] = csvValue(row.time);
                temps[n] = csvValue(row.temp);
                valid[n] = 1;
            }
        } catch (const std::exception &) {
            // stays invalid
        }
    }
    if (valid[0])
        throw tarvel::Error("line 1 holds data; the first line must be the header "
                            "history,time,temperature.");

    HistoryBatch batch;
    batch.times.reserve(lines.size());
    batch.temps.reserve(lines.size());
    batch.lines.reserve(lines.size());
    std::unordered_set<std::string_view> seen;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const auto number = static_cast<std::int32_t>(n + 1);
        const std::string_view line = lines[n];
        if (line.empty())
            continue;
        Row row;
        if (!splitRow(line, row))
            throw tarvel::Error(lineText(number) + ": '" + tarvel::quotable(line) +
                                "' is not a row history,time,temperature.");
        if (isBlank(row.id))
            throw tarvel::Error(lineText(number) + ": the history id is empty.");
        if (batch.ids.empty() || row.id != batch.ids.back()) {
            if (!seen.insert(row.id).second)
                throw tarvel::Error(lineText(number) + ", " + historyText(std::string(row.id)) +
                                    ": the history appears again after other histories; the "
                                    "rows of a history must stand together.");
            batch.ids.emplace_back(row.id);
            batch.first.push_back(batch.times.size());
        }
        if (!valid[n]) {
            try {
                csvValue(row.time);
                csvValue(row.temp);
            } catch (const tarvel::Error &e) {
                throw tarvel::Error(lineText(number) + ", " + historyText(batch.ids.back()) + ": " +
                                    e.what());
            }
        }
        batch.times.push_back(times[n]);
        batch.temps.push_back(temps[n]);
        batch.lines.push_back(number);
    }
    if (batch.size() == 0)
        throw tarvel::Error("no histories after the header line.");
    batch.first.push_back(batch.times.size()); // the end of the last history

    // Each history checked in parallel; the first refused one, in input order,
    // is checked again for its message.
    const auto histories = static_cast<std::ptrdiff_t>(batch.size());
    std::vector<unsigned char> accepted(batch.size(), 0);
#pragma omp parallel for schedule(dynamic, 256)
    for (std::ptrdiff_t h = 0; h < histories; ++h) {
        try {
            checkHistory(batch, static_cast<std::size_t>(h), steps);
            accepted[static_cast<std::size_t>(h)] = 1;
        } catch (...) {
            // reported below
        }
    }
    for (std::size_t h = 0; h < batch.size(); ++h)
        if (!accepted[h])
            checkHistory(batch, h, steps);
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
