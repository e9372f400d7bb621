#pragma once

#include "agecalculation.h"
#include "wholetext.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Many thermal histories for one grain, read from CSV rows
// history,time,temperature after a header line; the rows of one history
// together and in time order.
struct HistoryBatch {
    struct History {
        std::string_view id;
        std::span<const float> times, temps;
        std::span<const std::int32_t> lines; // the CSV line of each point
    };
    std::vector<History> histories;      // in input order
    std::shared_ptr<const void> storage; // the text and the points they view

    std::size_t size() const { return histories.size(); }
};

// Reads and checks the whole CSV: every row parses, no history id is empty,
// the rows of a history stand together, its time never runs backwards, its
// temperatures lie above absolute zero and, with `steps`, it can be split into
// bar steps. Throws tarvel::Error naming the CSV line and the history.
HistoryBatch readHistories(WholeText text, bool steps);

struct BatchOutput {
    AgeMethod method = AgeMethod::Fast;
    bool steps = true;      // split each history into bar steps
    bool finalOnly = false; // write only the last point of each history
    // Write helium, raw age, FT and corrected age instead of the calculated
    // time; the grain must have parents.
    bool ages = false;
};

// Writes the header history,time,calculated_time (with `ages`:
// history,time,he_nmol_g,raw_age,ft,corrected_age, and under damage
// kinetics ,damage,log10_D_a2 after them) and then every history's
// rows, in input order. The histories are computed in parallel, a chunk at a
// time, and one thread writes a chunk while the others compute the next, so
// memory stays bounded by the batch plus two chunks of results. Throws tarvel::Error
// naming the history when a calculation fails (the output then ends before
// that history) or the output cannot be written.
void writeHistories(const HistoryBatch &batch, const AgeInput &base, const BatchOutput &options,
                    std::ostream &out);
