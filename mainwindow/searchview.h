#pragma once

#include "graphoverlay.h"
#include "pathdraw.h"
#include "searchinput.h"
#include "searchresult.h"
#include "searchsettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the search for the histories a sample allows shows in the windows,
// decided without a display: its boxes as the graph's rectangles and back,
// its result as the graph's bands and line, its box table's texts and its
// counts as sentences.
namespace searchview {

// The colours every reader of such a figure expects: acceptable paths in
// green, good ones in magenta, the best path bold.
inline constexpr std::uint32_t kAcceptableColour = 0x00a000;
inline constexpr std::uint32_t kGoodColour = 0xff00ff;
inline constexpr std::uint32_t kBestColour = 0x000080;
inline constexpr int kBestWidth = 3;

// The constraint boxes as a graph's rectangles (time along x, temperature
// along y), and rectangles as boxes, each value widened from its float.
std::vector<OverlayBox> overlayBoxes(const std::vector<tarvel::ConstraintBox> &boxes);
std::vector<tarvel::ConstraintBox> constraintBoxes(const std::vector<OverlayBox> &boxes);

// The envelopes of a finished search: acceptable (good included) in green,
// then good in magenta over it; a class without paths gives no band.
std::vector<OverlayBand> envelopeBands(const SearchInput &input, const SearchResult &result);
// The best path's nodes as a bold line; none without a best path.
std::vector<OverlayLine> bestPathLines(const SearchInput &input, const SearchResult &result);
// The best path's nodes as a history; empty without a best path.
std::vector<PathNode> bestPath(const SearchInput &input, const SearchResult &result);

// The box table: four columns, their titles with units, a cell's text and the
// box a typed text makes of a row. A refused text throws tarvel::Error naming
// the row (from 1) and the column, and what the value must be.
inline constexpr int kBoxColumns = 4;
std::string boxColumnTitle(int column);
std::string boxCellText(const tarvel::ConstraintBox &box, int column, char decimalSeparator);
tarvel::ConstraintBox boxWithCell(const tarvel::ConstraintBox &box, int row, int column,
                                  const std::string &text, char decimalSeparator);

// "2400 of 10000 paths: 12 good, 87 acceptable", as a search runs.
std::string progressText(std::int64_t done, std::int64_t paths, std::int64_t good,
                         std::int64_t acceptable);
// What a finished search found: the counts and the best path's chi-square,
// probability and verdict, for the window and the report.
std::string resultText(const SearchResult &result, char decimalSeparator);

} // namespace searchview
