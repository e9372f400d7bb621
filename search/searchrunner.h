#pragma once

#include "searchresult.h"

#include <atomic>
#include <cstdint>
#include <optional>

struct SearchInput;

// How far a running search has come: read by any thread while it runs.
struct SearchProgress {
    std::atomic<std::int64_t> done{0};
    std::atomic<std::int64_t> good{0};
    std::atomic<std::int64_t> acceptable{0}; // good included
};

struct SearchControl {
    // The paths first .. first + count - 1 (none: to the input's last path);
    // a process of a search split across machines runs its own share.
    std::int64_t first = 0;
    std::optional<std::int64_t> count;
    // Once set, the search ends as soon as each core's current grain is done.
    const std::atomic<bool> *stop = nullptr;
    SearchProgress *progress = nullptr; // counted up as paths finish
    bool keepAccepted = true;           // see SearchResult::add
};

// Runs the control's paths of the search on every core (OpenMP;
// OMP_NUM_THREADS sets how many). The result does not depend on how many
// cores ran it or in which order the paths finished. Throws
// CalculationStopped once stopped, and tarvel::Error of the lowest path whose
// calculation fails.
SearchResult runSearch(const SearchInput &input, const SearchControl &control = {});
