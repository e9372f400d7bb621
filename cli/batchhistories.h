#pragma once

#include "agecalculation.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

// Many thermal histories for one grain, read from CSV rows
// history,time,temperature after a header line; the rows of one history
// together and in time order.
struct HistoryBatch {
    std::vector<std::string> ids;
    std::vector<std::size_t> first; // history h has points first[h]..first[h+1]-1
    std::vector<float> times;
    std::vector<float> temps;
    std::vector<std::int32_t> lines; // the CSV line of each point

    std::size_t size() const { return ids.size(); }
};

// Reads and checks the whole CSV: every row parses, no history id is empty,
// the rows of a history stand together, its time never runs backwards, its
// temperatures lie above absolute zero and, with `steps`, it can be split into
// bar steps. Throws tarvel::Error naming the CSV line and the history.
HistoryBatch readHistories(std::istream &in, bool steps);

struct BatchOutput {
    AgeMethod method = AgeMethod::Fast;
    bool steps = true;      // split each history into bar steps
    bool finalOnly = false; // write only the last point of each history
};

// Writes the header history,time,calculated_time and then every history's
// rows, in input order. The histories are computed in parallel, a chunk at a
// time, and each chunk is written before the next is computed, so memory
// stays bounded by the batch plus one chunk of results. Throws tarvel::Error
// naming the history when a calculation fails (the output then ends before
// that history) or the output cannot be written.
void writeHistories(const HistoryBatch &batch, const AgeInput &base, const BatchOutput &options,
                    std::ostream &out);
