#pragma once

#include "scalemap.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Where a graph's scales put their texts and which ticks carry numbers,
// decided without any widget; the painter draws what this lays out.
//
// Every number is the true value of the place it marks. The lower end is
// written at the origin when it is round on the ticks' steps (an end zoomed
// to 126.4585 is left to its ticks); the ticks carry their numbers wherever
// there is room:
// every k-th tick from the first, with the smallest k at which no two numbers
// touch, leaving out a number that would cover a title, the lower end's
// number or the position box, or reach out of the control (a vertical number
// must also end a pixel before its tick mark). The upper end is never written with a
// value other than its own: it carries a number only when a tick sits on it.
namespace scalelayout {

// A text's white box in client pixels; right and bottom exclusive.
struct Box {
    int x = 0, y = 0, width = 0, height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
    // True when the boxes overlap or come closer than `gap` pixels.
    bool near(const Box &other, int gap) const;
};

struct Text {
    std::string text;
    Box box;
};

// What the layout needs to know of the painter's font.
struct Metrics {
    std::function<int(const std::string &)> width; // the advance of a UTF-8 text
    int height = 0;     // a line of text: the height of a text's white box
    int lineheight = 0; // the character height the scales are spaced by
};

struct Scale {
    std::vector<double> ticks; // tick values in axis order
    std::vector<int> tickAt;   // their pixels along the axis (x or y)
    std::vector<Text> numbers; // the lower end's (when written) first, then the ticks'
    std::vector<Text> title;   // one text, or one per character on the vertical scale
};

// A scale number: rounded to seven significant digits, all a single-precision
// value holds, so that the float nearest 0.4 is written 0.4; trailing zeros
// dropped, the locale's decimal separator.
std::string numberText(double value, char decimalSeparator);

// The ticks of calcticks, each computed as first + k * step rather than by
// adding steps in single precision, so that ten steps of 0.1 end at 1.
std::vector<double> tickValues(int length, float lo, float hi);

// Which ticks carry numbers: `boxes` are the numbers' boxes in tick order,
// `usable` says which may be written at all. The smallest stride k at which
// the usable ticks 0, k, 2k, ... keep `gap` pixels apart wins; when the last
// tick is the axis end (`lastIsEnd`) a stride up to twice as long that labels
// it as well is preferred. Returns tick indices in order.
std::vector<std::size_t> chooseLabelled(const std::vector<Box> &boxes,
                                        const std::vector<bool> &usable, bool lastIsEnd, int gap);

// The length of a tick mark, below the horizontal axis or left of the vertical.
inline constexpr int kTickLength = 4;

// The bottom scale: the title centred under the plot, the lower end's number
// centred under the origin, the ticks' numbers centred under their ticks in
// one row just below the tick marks.
//
// With `present` set, the numbers are times before that present (present
// minus x, oldest on the left): the ticks are chosen round in those numbers,
// and an end carries a number only when a tick sits on it.
Scale horizontalScale(const ScaleMap &map, const std::string &title, bool withTicks,
                      const Metrics &metrics, char decimalSeparator, const Box &posBox,
                      std::optional<double> present = std::nullopt);

// The vertical title as it is written: one character a line, in columns of at
// most `rows` characters; a word that would not fit the column begins the next
// one (a word longer than a column stands alone). Each column's characters.
std::vector<std::vector<std::string>> titleColumns(const std::string &title, int rows);

// The left border a vertical scale needs: the title's columns from the
// spacing unit on, then a band as wide as the widest number the scale may
// write (every tick's and the lower end's), then the tick marks. Set as the
// map's border rule, the numbers never have to give way to the title.
int leftBorder(const ScaleMap &map, const std::string &title, bool withTicks,
               const Metrics &metrics, char decimalSeparator);

// The left scale: the title in columns one character per line, centred on the
// plot height (titleColumns, as many lines as the control holds); the numbers
// in their band right of it, ending just before the tick marks, centred on
// their ticks' heights, the lower end's at the bottom of the plot. `others`
// are the bottom scale's numbers, which keep their place where the two scales
// meet in the corner.
Scale verticalScale(const ScaleMap &map, const std::string &title, bool withTicks,
                    const Metrics &metrics, char decimalSeparator, const Box &posBox,
                    const std::vector<Box> &others = {});

} // namespace scalelayout
