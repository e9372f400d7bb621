#pragma once

#include "reportrows.h"

#include <QRect>

#include <vector>

class QPainter;

// Draws the report's rows in the painter's current font, one text height of
// "W" apart, row 0 with its top at `rect`'s top and every row starting at its
// left edge. A clipped row shows only the characters that start left of the
// right edge, cut there; the others are drawn whole.
void drawReport(QPainter &painter, const QRect &rect, const std::vector<reportrows::Row> &rows);

// The rectangle the report is printed in: the page less 200 device pixels on
// every side.
QRect reportPageRect(int pageWidth, int pageHeight);
