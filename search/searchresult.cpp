#include "searchresult.h"

#include "errors.h"
#include "pathevaluation.h"
#include "searchinput.h"

#include <algorithm>
#include <limits>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

bool better(const JudgedPath &a, const JudgedPath &b) {
    return a.chi2 < b.chi2 || (a.chi2 == b.chi2 && a.k < b.k);
}

void sortByPath(std::vector<JudgedPath> &paths) {
    std::sort(paths.begin(), paths.end(),
              [](const JudgedPath &a, const JudgedPath &b) { return a.k < b.k; });
}

} // namespace

SearchResult::SearchResult()
    : goodMin(kEnvelopeTimes, kInfinity), goodMax(kEnvelopeTimes, -kInfinity),
      acceptableMin(kEnvelopeTimes, kInfinity), acceptableMax(kEnvelopeTimes, -kInfinity) {}

void SearchResult::add(const SearchInput &input, const PathResult &path, bool keepAccepted) {
    const JudgedPath judged{path.k, path.chi2, path.probability, path.verdict};
    ++paths;
    if (!best || better(judged, *best))
        best = judged;
    if (path.verdict == samplefit::Verdict::Poor)
        return;
    const bool isGood = path.verdict == samplefit::Verdict::Good;
    ++acceptable;
    if (isGood)
        ++good;
    for (int i = 0; i < kEnvelopeTimes; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const double t = pathTemperature(path.nodes, envelopeTime(input, i));
        acceptableMin[at] = std::min(acceptableMin[at], t);
        acceptableMax[at] = std::max(acceptableMax[at], t);
        if (isGood) {
            goodMin[at] = std::min(goodMin[at], t);
            goodMax[at] = std::max(goodMax[at], t);
        }
    }
    if (keepAccepted)
        accepted.push_back(judged);
}

void SearchResult::merge(const SearchResult &part) {
    paths += part.paths;
    good += part.good;
    acceptable += part.acceptable;
    if (part.best && (!best || better(*part.best, *best)))
        best = part.best;
    for (std::size_t i = 0; i < goodMin.size(); ++i) {
        goodMin[i] = std::min(goodMin[i], part.goodMin[i]);
        goodMax[i] = std::max(goodMax[i], part.goodMax[i]);
        acceptableMin[i] = std::min(acceptableMin[i], part.acceptableMin[i]);
        acceptableMax[i] = std::max(acceptableMax[i], part.acceptableMax[i]);
    }
    accepted.insert(accepted.end(), part.accepted.begin(), part.accepted.end());
    sortByPath(accepted);
}

void SearchResult::finish() {
    sortByPath(accepted);
}

// The numbers: paths, good, acceptable; 1 and the best path's k, chi2 and p,
// or 0 and three zeros; the four envelope rows of kEnvelopeTimes each; the
// number of accepted paths, then k, chi2 and p of each (their verdicts follow
// from p).
std::vector<double> SearchResult::toNumbers() const {
    std::vector<double> n;
    n.reserve(7 + 4 * goodMin.size() + 1 + 3 * accepted.size());
    n.insert(n.end(), {double(paths), double(good), double(acceptable)});
    if (best)
        n.insert(n.end(), {1.0, double(best->k), best->chi2, best->probability});
    else
        n.insert(n.end(), {0.0, 0.0, 0.0, 0.0});
    for (const std::vector<double> *row : {&goodMin, &goodMax, &acceptableMin, &acceptableMax})
        n.insert(n.end(), row->begin(), row->end());
    n.push_back(double(accepted.size()));
    for (const JudgedPath &p : accepted)
        n.insert(n.end(), {double(p.k), p.chi2, p.probability});
    return n;
}

SearchResult SearchResult::fromNumbers(std::span<const double> n) {
    const std::size_t rows = 4 * static_cast<std::size_t>(kEnvelopeTimes);
    if (n.size() < 7 + rows + 1)
        throw tarvel::Error("A part of the search arrived incomplete.");
    SearchResult r;
    r.paths = static_cast<std::int64_t>(n[0]);
    r.good = static_cast<std::int64_t>(n[1]);
    r.acceptable = static_cast<std::int64_t>(n[2]);
    if (n[3] != 0.0)
        r.best = JudgedPath{static_cast<std::int64_t>(n[4]), n[5], n[6], samplefit::judge(n[6])};
    std::size_t at = 7;
    for (std::vector<double> *row : {&r.goodMin, &r.goodMax, &r.acceptableMin, &r.acceptableMax})
        for (double &value : *row)
            value = n[at++];
    const auto count = static_cast<std::size_t>(n[at++]);
    if (n.size() != at + 3 * count)
        throw tarvel::Error("A part of the search arrived incomplete.");
    r.accepted.reserve(count);
    for (std::size_t i = 0; i < count; ++i, at += 3)
        r.accepted.push_back(
            {static_cast<std::int64_t>(n[at]), n[at + 1], n[at + 2], samplefit::judge(n[at + 2])});
    return r;
}
