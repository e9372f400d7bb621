#include "batchhistories.h"

#include "errors.h"
#include "historycheck.h"
#include "historytexts.h"
#include "jobinputs.h"
#include "numbertext.h"
#include "parallel.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>

// The rows after the header are parsed in blocks of whole histories, each
// block on its own core; only joining the blocks runs in order.

namespace {

// Small enough that the cores stay evenly loaded to the end.
constexpr std::size_t kBlockBytes = 64 * 1024;

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

// A line without its "\n" or "\r\n".
std::string_view contentOf(std::string_view line) {
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// True when a line would pass for a row of data (so it is no header).
bool isDataRow(std::string_view line) {
    Row row;
    if (!splitRow(line, row))
        return false;
    try {
        csvValue(row.time);
        csvValue(row.temp);
        return true;
    } catch (const tarvel::Error &) {
        return false;
    }
}

// Where the line starting at `pos` ends, past its '\n'.
std::size_t lineEnd(std::string_view text, std::size_t pos) {
    const std::size_t end = text.find('\n', pos);
    return end == std::string_view::npos ? text.size() : end + 1;
}

// The history a line belongs to, as far as cutting is concerned: the text
// before its first comma. Rows that parse have exactly this id.
std::string_view rowId(std::string_view line) {
    return line.substr(0, line.find(','));
}

// The id of the last non-empty line of `text`, if it has one.
std::optional<std::string_view> lastRowId(std::string_view text) {
    while (!text.empty()) {
        // The last line starts after the '\n' before its own line end.
        const std::size_t start =
            text.size() < 2 ? std::string_view::npos : text.rfind('\n', text.size() - 2);
        const std::size_t begin = start == std::string_view::npos ? 0 : start + 1;
        const std::string_view line = contentOf(text.substr(begin));
        if (!line.empty())
            return rowId(line);
        text = text.substr(0, begin);
    }
    return std::nullopt;
}

// One block's rows. Lines are numbered from 1 at the block's first line until
// the blocks are joined.
struct Block {
    std::string_view text;
    std::vector<std::string_view> ids; // each history, in order
    std::vector<std::size_t> hashes;   // of each id, for finding repeats
    std::vector<std::size_t> first;    // history k begins at point first[k]
    std::vector<float> times, temps;
    std::vector<std::int32_t> lines;
    std::int32_t lineCount = 0;
    std::int32_t errorLine = 0; // the first refused line; parsing stops there
    std::string error;          // its message, after "line N"

    // The line a history begins on; one whose first row was refused has none.
    std::int32_t historyLine(std::size_t k) const {
        return first[k] < lines.size() ? lines[first[k]] : errorLine;
    }
    std::size_t historyEnd(std::size_t k) const {
        return k + 1 < first.size() ? first[k + 1] : times.size();
    }
};

// Cuts `rows` into blocks of about kBlockBytes, each cut just before a row of
// another history than the last row before it, so that every history lies
// whole in one block.
std::vector<Block> splitBlocks(std::string_view rows) {
    std::vector<Block> blocks;
    for (std::size_t begin = 0; begin < rows.size();) {
        std::size_t cut = lineEnd(rows, std::min(begin + kBlockBytes, rows.size()) - 1);
        if (const auto lastId = lastRowId(rows.substr(begin, cut - begin))) {
            while (cut < rows.size()) {
                const std::size_t next = lineEnd(rows, cut);
                const std::string_view line = contentOf(rows.substr(cut, next - cut));
                if (!line.empty() && rowId(line) != *lastId)
                    break;
                cut = next;
            }
        }
        blocks.push_back({});
        blocks.back().text = rows.substr(begin, cut - begin);
        begin = cut;
    }
    return blocks;
}

void refuseLine(Block &block, std::int32_t line, std::string error) {
    block.errorLine = line;
    block.error = std::move(error);
}

void parseBlock(Block &block) {
    const std::string_view text = block.text;
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    block.times.reserve(lines);
    block.temps.reserve(lines);
    block.lines.reserve(lines);
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = lineEnd(text, pos);
        const std::string_view line = contentOf(text.substr(pos, end - pos));
        pos = end;
        if (block.lineCount == std::numeric_limits<std::int32_t>::max())
            throw tarvel::Error("too many lines for one run; split the histories into parts.");
        const std::int32_t number = ++block.lineCount;
        if (line.empty())
            continue;
        Row row;
        if (!splitRow(line, row))
            return refuseLine(block, number,
                              ": '" + tarvel::quotable(line) +
                                  "' is not a row history,time,temperature.");
        if (isBlank(row.id))
            return refuseLine(block, number, ": the history id is empty.");
        if (block.ids.empty() || row.id != block.ids.back()) {
            block.ids.push_back(row.id);
            block.hashes.push_back(std::hash<std::string_view>{}(row.id));
            block.first.push_back(block.times.size());
        }
        float time, temp;
        try {
            time = csvValue(row.time);
            temp = csvValue(row.temp);
        } catch (const tarvel::Error &e) {
            return refuseLine(block, number, ", " + historyText(row.id) + ": " + e.what());
        }
        block.times.push_back(time);
        block.temps.push_back(temp);
        block.lines.push_back(number);
    }
}

// What a batch's histories view.
struct Storage {
    WholeText text;
    std::vector<Block> blocks;
};

// The first history whose id an earlier one already has, or histories.size()
// when all differ. Open addressing on the hashes the blocks computed, so the
// ids themselves are compared only when their hashes are equal.
std::size_t firstRepeat(const std::vector<HistoryBatch::History> &histories,
                        const std::vector<std::size_t> &hashes) {
    const std::size_t mask = std::bit_ceil(2 * histories.size()) - 1;
    std::vector<std::size_t> slots(mask + 1, 0); // a history's index + 1; 0 is free
    for (std::size_t h = 0; h < histories.size(); ++h) {
        for (std::size_t s = hashes[h] & mask;; s = (s + 1) & mask) {
            if (slots[s] == 0) {
                slots[s] = h + 1;
                break;
            }
            const std::size_t other = slots[s] - 1;
            if (hashes[other] == hashes[h] && histories[other].id == histories[h].id)
                return h;
        }
    }
    return histories.size();
}

// Joins the parsed blocks into one batch, throwing the first refusal in the
// CSV's order: a refused line or a history whose rows do not stand together.
// A repeated history comes before the first refused line, as parsing stopped
// there.
HistoryBatch joinBlocks(std::shared_ptr<Storage> storage) {
    std::vector<Block> &blocks = storage->blocks;
    const auto refused = std::find_if(blocks.begin(), blocks.end(),
                                      [](const Block &block) { return block.errorLine > 0; });
    const auto used = static_cast<std::size_t>(std::min(refused + 1, blocks.end()) -
                                               blocks.begin()); // the blocks that count

    std::size_t histories = 0;
    for (std::size_t b = 0; b < used; ++b)
        histories += blocks[b].ids.size();
    HistoryBatch batch;
    batch.histories.reserve(histories);
    std::vector<std::size_t> hashes;
    hashes.reserve(histories);
    std::vector<std::int64_t> startLines; // each history's first line
    startLines.reserve(histories);
    std::vector<std::int64_t> lineBase(used); // the line before each block's first
    std::int64_t lines = 1;                   // the header
    for (std::size_t b = 0; b < used; ++b) {
        const Block &block = blocks[b];
        lineBase[b] = lines;
        for (std::size_t k = 0; k < block.ids.size(); ++k) {
            const std::size_t begin = block.first[k], count = block.historyEnd(k) - begin;
            batch.histories.push_back({block.ids[k], std::span(block.times).subspan(begin, count),
                                       std::span(block.temps).subspan(begin, count),
                                       std::span(block.lines).subspan(begin, count)});
            startLines.push_back(lines + block.historyLine(k));
        }
        hashes.insert(hashes.end(), block.hashes.begin(), block.hashes.end());
        lines += block.lineCount;
        if (lines > std::numeric_limits<std::int32_t>::max())
            throw tarvel::Error("too many lines for one run; split the histories into parts.");
    }

    if (const std::size_t h = firstRepeat(batch.histories, hashes); h < batch.size())
        throw tarvel::Error(lineText(startLines[h]) + ", " + historyText(batch.histories[h].id) +
                            ": the history appears again after other histories; the rows of "
                            "a history must stand together.");
    if (refused != blocks.end())
        throw tarvel::Error(lineText(lineBase[used - 1] + refused->errorLine) + refused->error);
    if (batch.size() == 0)
        throw tarvel::Error("no histories after the header line.");

    // The points' lines become the CSV's.
    forEachInParallel(used, [&](std::size_t b) {
        for (std::int32_t &line : blocks[b].lines)
            line += static_cast<std::int32_t>(lineBase[b]);
    });
    batch.storage = std::move(storage);
    return batch;
}

void checkHistory(const HistoryBatch::History &history, bool steps) {
    try {
        checkDrawnHistory(history.times, history.temps, history.lines);
    } catch (const tarvel::Error &e) { // names the lines itself
        throw tarvel::Error(historyText(history.id) + ": " + e.what());
    }
    if (!steps)
        return;
    try {
        std::vector<FPOINT> points(history.times.size());
        for (std::size_t i = 0; i < points.size(); ++i)
            points[i] = {history.times[i], history.temps[i]};
        historyPoints(std::move(points), true); // refuses a history too long to split
    } catch (const tarvel::Error &e) {
        throw tarvel::Error(historyText(history.id) + " (from " + lineText(history.lines[0]) +
                            "): " + e.what());
    }
}

} // namespace

HistoryBatch readHistories(WholeText text, bool steps) {
    const std::string_view all = text.view();
    if (all.empty())
        throw tarvel::Error("the histories are empty: not even the header line "
                            "history,time,temperature.");
    const std::size_t rowsBegin = lineEnd(all, 0);
    if (isDataRow(contentOf(all.substr(0, rowsBegin))))
        throw tarvel::Error("line 1 holds data; the first line must be the header "
                            "history,time,temperature.");

    auto storage = std::make_shared<Storage>();
    storage->blocks = splitBlocks(all.substr(rowsBegin));
    storage->text = std::move(text); // moves the buffer, not the characters
    forEachInParallel(storage->blocks.size(),
                      [&](std::size_t b) { parseBlock(storage->blocks[b]); });
    HistoryBatch batch = joinBlocks(std::move(storage));
    forEachInParallel(batch.size(),
                      [&](std::size_t h) { checkHistory(batch.histories[h], steps); });
    return batch;
}
