#include "batchhistories.h"

#include "agerun.h"
#include "errors.h"
#include "historytexts.h"
#include "numbertext.h"

#include <algorithm>
#include <exception>
#include <ostream>

namespace {

// Histories computed in parallel before their rows are written. Large enough
// to keep every core busy, small enough that the results stay a small window.
constexpr std::size_t kChunk = 8192;

} // namespace

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
                const HistoryBatch::History &history = batch.histories[h];
                std::vector<FPOINT> drawn(history.times.size());
                for (std::size_t p = 0; p < drawn.size(); ++p)
                    drawn[p] = {history.times[p], history.temps[p]};
                const std::vector<FPOINT> points = historyPoints(std::move(drawn), options.steps);
                const std::vector<double> ages = historyAges(base, points, options.method);
                for (std::size_t p = options.finalOnly ? points.size() - 1 : 0; p < points.size();
                     ++p) {
                    text += history.id;
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
                throw tarvel::Error(lineText(batch.histories[h].lines[0]) + ", " +
                                    historyText(batch.histories[h].id) + ": " +
                                    failures[static_cast<std::size_t>(i)] +
                                    " The output ends before this history.");
            put(texts[static_cast<std::size_t>(i)]);
        }
    }
    out.flush();
    if (!out)
        throw tarvel::Error("cannot write the output");
}
