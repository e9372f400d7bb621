#include "searchrunner.h"

#include "calcerrors.h"
#include "errors.h"
#include "pathevaluation.h"
#include "searchinput.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <vector>

#include <omp.h>

namespace {

// Paths handed to a core at a time: enough that handing them out costs
// little, few enough that the cores finish together and a stop is quick.
constexpr std::int64_t kPathsPerHandout = 4;

} // namespace

SearchResult runSearch(const SearchInput &input, const SearchControl &control) {
    const std::int64_t first = control.first;
    const std::int64_t count = control.count.value_or(input.paths - first);
    if (first < 0 || count < 0 || count > input.paths - first)
        throw tarvel::Error("The paths " + std::to_string(first) + " to " +
                            std::to_string(first + count - 1) +
                            " are not all paths of the search.");

    std::vector<SearchResult> parts(static_cast<std::size_t>(omp_get_max_threads()));
    // The lowest path that failed so far and what it threw: paths after it
    // are skipped, paths before it still run, so the failure reported is the
    // first in path order whatever the cores did.
    std::int64_t failedPath = std::numeric_limits<std::int64_t>::max();
    std::exception_ptr failure;
    std::atomic<std::int64_t> lowestFailure{failedPath};
    auto stopped = [&] { return control.stop && control.stop->load(std::memory_order_relaxed); };

#pragma omp parallel
    {
        SearchResult &part = parts[static_cast<std::size_t>(omp_get_thread_num())];
#pragma omp for schedule(dynamic, kPathsPerHandout)
        for (std::int64_t i = 0; i < count; ++i) {
            const std::int64_t k = first + i;
            if (stopped() || k > lowestFailure.load(std::memory_order_relaxed))
                continue;
            try {
                const PathResult path = evaluatePath(input, k, control.stop);
                part.add(input, path, control.keepAccepted);
                if (SearchProgress *progress = control.progress) {
                    if (path.verdict != samplefit::Verdict::Poor)
                        progress->acceptable.fetch_add(1, std::memory_order_relaxed);
                    if (path.verdict == samplefit::Verdict::Good)
                        progress->good.fetch_add(1, std::memory_order_relaxed);
                    progress->done.fetch_add(1, std::memory_order_relaxed);
                }
            } catch (const CalculationStopped &) {
                // The stop is seen after the loop.
            } catch (...) {
#pragma omp critical(tarvel_search_failure)
                {
                    if (k < failedPath) {
                        failedPath = k;
                        failure = std::current_exception();
                        lowestFailure.store(k, std::memory_order_relaxed);
                    }
                }
            }
        }
    }
    if (failure)
        std::rethrow_exception(failure);
    if (stopped())
        throw CalculationStopped{};
    SearchResult result;
    for (const SearchResult &part : parts)
        result.merge(part);
    return result;
}
