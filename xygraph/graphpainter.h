#pragma once

#include "graphcore.h"
#include "scalelayout.h"

#include <QColor>
#include <QRect>

class QFontMetrics;
class QPainter;
class QString;

// Drawing a graph through a QPainter, so that the control, an image and an
// SVG copy are drawn by the same code. The painter's font is the graph's font;
// its pen and brush are the canvas pen and brush, and every routine that
// changes the brush gives it back before returning.
namespace graphpaint {

// Colour of the line at `index` in the graph's line list (cycles after ten).
QColor lineColor(std::size_t index);

// The font height value of the painter's font: minus its pixel height, as a
// character height in pixels.
int fontHeightValue(const QPainter &painter);

// The widest single character of a text; the vertical label is written one
// character per line, so this is the width calcborders needs for it.
int widestCharacter(const QFontMetrics &metrics, const QString &text);

// The scale layout's view of a font: text widths, the height of a text's box
// and the character height the vertical title is spaced by.
scalelayout::Metrics scaleMetrics(const QFontMetrics &metrics, int fontHeightValue);

// Width of the position box in the top right corner.
inline constexpr int kPosBoxWidth = 70;
// The position box: 70 pixels wide, as high as the font plus 4.
QRect posBoxRect(int width, int fontHeightValue);

// A whole repaint: the sheet in `sheetColor` over `clip`, the scales, the
// points and the position box.
void Paint(const GraphCore &graph, QPainter &painter, const QColor &sheetColor, const QRect &clip,
           char decimalSeparator);
// The scales of the given sides: axes, ticks, titles and the numbers that
// have room (scalelayout).
void PaintAxis(const GraphCore &graph, TSideScale side, QPainter &painter, char decimalSeparator);
// What the graph overlays (bands, then boxes, then its own lines), then its
// single points and lines (or bars in bar mode), markers on white; all inside
// the plot area.
void PaintPoints(const GraphCore &graph, QPainter &painter);
// The box showing the readout coordinates.
void PaintPos(const GraphCore &graph, QPainter &painter, char decimalSeparator);
// The dragged point and its segments: white to erase, black to draw.
void PaintDragFigure(const GraphCore &graph, QPainter &painter, bool erase);

// Text with its top-left corner at (x, y), on the painter's brush colour.
void textOut(QPainter &painter, int x, int y, const QString &text);

} // namespace graphpaint
