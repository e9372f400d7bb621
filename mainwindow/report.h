#pragma once

#include "reportrows.h"
#include "resultrows.h"

#include <QRect>

#include <functional>
#include <vector>

class QPainter;
class Txygraph;

// Draws the report's rows in the painter's current font, one text height of
// "W" apart, row 0 with its top at `rect`'s top and every row starting at its
// left edge. A clipped row shows only the characters that start left of the
// right edge, cut there; the others are drawn whole.
void drawReport(QPainter &painter, const QRect &rect, const std::vector<reportrows::Row> &rows);

// The rectangle the report is printed in: the page less 200 device pixels on
// every side.
QRect reportPageRect(int pageWidth, int pageHeight);

// What the report holds besides its rows: the graphs as the window draws them
// and the table of the result.
struct ReportContent {
    std::vector<reportrows::Row> rows;
    std::vector<Txygraph *> graphs; // drawn as vectors, scaled to the page width
    resultrows::Table table;
    char decimalSeparator = '.';
};

// The whole report, page after page, in `rect` of each page: the rows at the
// top of the first, then the graphs, then the table continued on further pages
// with its header repeated. `newPage` is called between pages. Returns the
// number of pages drawn.
int drawReportPages(QPainter &painter, const QRect &rect, const ReportContent &content,
                    const std::function<void()> &newPage);
