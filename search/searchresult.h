#pragma once

#include "samplefit.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct PathResult;
struct SearchInput;

// A path kept by a search: its number and how well the sample meets it.
struct JudgedPath {
    std::int64_t k = 0;
    double chi2 = 0.0;
    double probability = 0.0;
    samplefit::Verdict verdict = samplefit::Verdict::Poor;
    friend bool operator==(const JudgedPath &, const JudgedPath &) = default;
};

// What a search (or any part of it) has found. Parts merge into the same
// result in whatever order they arrive: counts add, the best path is the one
// of the smallest chi-square (ties to the smaller k), the envelope takes
// extremes, and the accepted paths are ordered by k.
struct SearchResult {
    std::int64_t paths = 0;
    std::int64_t good = 0;       // p >= 0.5
    std::int64_t acceptable = 0; // p >= 0.05, good paths included
    std::optional<JudgedPath> best;
    // At the envelope's times (envelopeTime): the lowest and highest
    // temperature of the good paths and of the acceptable ones (good
    // included); +inf and -inf while a class has no path.
    std::vector<double> goodMin, goodMax, acceptableMin, acceptableMax;
    // The good and acceptable paths; their nodes are drawn again from k.
    std::vector<JudgedPath> accepted;

    SearchResult();

    // Counts a path in; `keepAccepted` false leaves it out of `accepted`
    // (counts and envelope still take it), for searches too large to list.
    void add(const SearchInput &input, const PathResult &path, bool keepAccepted = true);
    void merge(const SearchResult &part);
    // Orders the accepted paths by k, as merge leaves them.
    void finish();

    // The result as plain numbers, for sending between processes, and back.
    // Every count and k is exact in a double (see kMostSearchPaths).
    std::vector<double> toNumbers() const;
    static SearchResult fromNumbers(std::span<const double> numbers);

    friend bool operator==(const SearchResult &, const SearchResult &) = default;
};
