#include "reportlayout.h"

#include <algorithm>

namespace reportlayout {

namespace {

// Runs down the pages: where the next part goes, starting a page when it
// does not fit under what the current one holds.
struct Cursor {
    int pageHeight;
    int gap;
    int page = 0;
    int used = 0; // the current page's height taken, 0 for an empty page

    Place take(int height) {
        const int top = used > 0 ? used + gap : 0;
        if (used > 0 && top + height > pageHeight) {
            ++page;
            used = height;
            return {page, 0};
        }
        used = top + height;
        return {page, top};
    }
};

} // namespace

Layout arrange(const Sizes &sizes) {
    Layout layout;
    Cursor cursor{sizes.pageHeight, sizes.gap};
    cursor.used = std::clamp(sizes.textHeight, 0, sizes.pageHeight);
    for (const int height : sizes.graphHeights)
        layout.graphs.push_back(cursor.take(height));

    const int row = std::max(sizes.rowHeight, 1);
    std::size_t first = 0;
    while (first < sizes.tableRows) {
        // The header and one row at least; as many more as the page holds.
        const Place at = cursor.take(2 * row);
        const int room = sizes.pageHeight - at.top - row;
        const std::size_t fits = std::max<std::size_t>(1, std::size_t(std::max(room, 0) / row));
        const std::size_t count = std::min(fits, sizes.tableRows - first);
        layout.table.push_back({at.page, at.top, first, count});
        cursor.used = at.top + row * int(count + 1);
        first += count;
        if (first < sizes.tableRows) {
            ++cursor.page; // the rest continues at the top of the next page
            cursor.used = 0;
        }
    }
    layout.pageCount = cursor.page + 1;
    return layout;
}

} // namespace reportlayout
