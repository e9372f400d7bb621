#pragma once

#include <cstddef>
#include <vector>

// Where the report's parts go on its pages, decided without a display from
// their heights in device pixels: the text rows at the top of the first page,
// then each graph whole, one under the other, then the result table, cut
// between rows onto further pages with its header repeated at the top of each.
namespace reportlayout {

struct Sizes {
    int pageHeight = 0;            // the printable rectangle's height
    int textHeight = 0;            // the text rows of the first page
    std::vector<int> graphHeights; // each graph as scaled to the page width
    int gap = 0;                   // between the parts
    int rowHeight = 0;             // a table row, the header's as well
    std::size_t tableRows = 0;     // without the header
};

struct Place {
    int page = 0;
    int top = 0; // from the rectangle's top
};

// A page's share of the table: its header at `top`, then rows [first, first + count).
struct TablePart {
    int page = 0;
    int top = 0;
    std::size_t first = 0;
    std::size_t count = 0;
};

struct Layout {
    std::vector<Place> graphs;    // one per graph height, in order
    std::vector<TablePart> table; // empty when the table has no rows
    int pageCount = 1;
};

// A part that does not fit under what a page already holds starts the next
// page; a graph taller than a page is placed at its top all the same (callers
// scale graphs to fit a page). A page never holds a table header without at
// least one row under it.
Layout arrange(const Sizes &sizes);

} // namespace reportlayout
