#include "batchhistories.h"

#include "agerun.h"
#include "errors.h"
#include "historytexts.h"
#include "jobinputs.h"
#include "numbertext.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <exception>
#include <limits>
#include <ostream>

namespace {

// Histories computed in parallel before their rows are written. Large enough
// to keep every core busy, small enough that the results stay a small window.
constexpr std::size_t kChunk = 8192;

// One chunk's rows, or why a history could not be computed.
struct ChunkResults {
    std::vector<std::string> texts;
    std::vector<std::string> failures; // empty where the history was computed
};

// A history's rows of output.
std::string historyRows(const HistoryBatch::History &history, const AgeInput &base,
                        const BatchOutput &options) {
    std::vector<FPOINT> drawn(history.times.size());
    for (std::size_t p = 0; p < drawn.size(); ++p)
        drawn[p] = {history.times[p], history.temps[p]};
    AgeJobInput input = ageJobInput(base, std::move(drawn), options.steps);
    input.method = options.method;
    const std::vector<FPOINT> &points = input.history;
    std::string text;
    auto rowStart = [&](std::size_t p) {
        text += history.id;
        text += ',';
        appendNumber(text, points[p].x);
    };
    const std::size_t first = options.finalOnly ? points.size() - 1 : 0;
    if (options.ages) {
        const std::vector<HeliumAge> rows = historyHeliumAges(input);
        for (std::size_t p = first; p < points.size(); ++p) {
            rowStart(p);
            appendHeliumAge(text, rows[p], base.kinetics != ModelKinetics::Arrhenius);
            text += '\n';
        }
        return text;
    }
    const std::vector<double> ages = historyAges(input);
    for (std::size_t p = first; p < points.size(); ++p) {
        rowStart(p);
        text += ',';
        appendNumber(text, ages[p]);
        text += '\n';
    }
    return text;
}

void computeHistory(const HistoryBatch &batch, std::size_t h, const AgeInput &base,
                    const BatchOutput &options, ChunkResults &results, std::size_t slot) {
    results.failures[slot].clear();
    try {
        results.texts[slot] = historyRows(batch.histories[h], base, options);
    } catch (const std::exception &e) {
        results.failures[slot] = e.what();
    } catch (...) {
        results.failures[slot] = "the calculation failed";
    }
}

// Writes a chunk's rows in order; throws at the first history that failed.
void writeChunk(const HistoryBatch &batch, std::size_t first, std::size_t count,
                const ChunkResults &results, std::ostream &out) {
    for (std::size_t i = 0; i < count; ++i) {
        const HistoryBatch::History &history = batch.histories[first + i];
        if (!results.failures[i].empty())
            throw tarvel::Error(lineText(history.lines[0]) + ", " + historyText(history.id) + ": " +
                                results.failures[i] + " The output ends before this history.");
        out.write(results.texts[i].data(), static_cast<std::streamsize>(results.texts[i].size()));
        if (!out)
            throw tarvel::Error("cannot write the output");
    }
}

} // namespace

void writeHistories(const HistoryBatch &batch, const AgeInput &base, const BatchOutput &options,
                    std::ostream &out) {
    const std::string damage = base.kinetics != ModelKinetics::Arrhenius
                                   ? std::string(",") + kDamageColumns
                                   : std::string();
    out << (options.ages ? "history,time," + std::string(kHeliumAgeColumns) + damage + "\n"
                         : std::string("history,time,calculated_time\n"));
    if (!out)
        throw tarvel::Error("cannot write the output");

    // Two chunks of results: one thread writes a chunk while the others
    // compute the next into the other one. The barrier at the end of each
    // chunk's loop also waits for the writer, so a chunk's results are never
    // overwritten before they are written.
    std::array<ChunkResults, 2> results;
    for (ChunkResults &r : results) {
        r.texts.resize(std::min(kChunk, batch.size()));
        r.failures.resize(r.texts.size());
    }
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    std::atomic<std::size_t> failedChunk{kNone}; // whose write failed
    std::exception_ptr failure;
    const std::size_t chunks = (batch.size() + kChunk - 1) / kChunk;
#pragma omp parallel
    for (std::size_t c = 0; c < chunks; ++c) {
        const std::size_t first = c * kChunk, count = std::min(kChunk, batch.size() - first);
        ChunkResults &chunk = results[c % 2];
        const auto n = static_cast<std::ptrdiff_t>(count);
#pragma omp for schedule(dynamic, 8)
        for (std::ptrdiff_t i = 0; i < n; ++i)
            computeHistory(batch, first + static_cast<std::size_t>(i), base, options, chunk,
                           static_cast<std::size_t>(i));
        // Past the barrier the writes of the earlier chunks have ended, while
        // this chunk's may already be failing: only a failure before this
        // chunk decides, so every thread reads the same here.
        if (failedChunk.load(std::memory_order_acquire) < c)
            break;
#pragma omp single nowait
        {
            try {
                writeChunk(batch, first, count, chunk, out);
            } catch (...) {
                failure = std::current_exception();
                failedChunk.store(c, std::memory_order_release);
            }
        }
    }
    if (failure)
        std::rethrow_exception(failure);
    out.flush();
    if (!out)
        throw tarvel::Error("cannot write the output");
}
