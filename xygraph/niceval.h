#pragma once

// Round numbers for axis ends, tick marks and the cursor readout. The roundest
// number in an interval is found by comparing decimal digits from the most
// significant one down; everything works in extended precision on the
// single-precision values the graph stores.
namespace graphmath {

// log10(v) truncated toward zero, for v > 0. The logarithm passes through
// double precision on its way, so decade(1000) is 2 (and decade(1e6) is 5).
int decade(float v);

// 10^k in extended precision.
long double powerOfTen(int k);

// The roundest value between x and y: `high` false leans to x, true to y.
// Callers store the result into a float.
long double niceval(float x, float y, bool high);

// The roundest value between a and b, in either order, for a value read off
// the screen within a few pixels: 0 when the interval holds it, the mirror of
// the positive choice below 0. niceval alone is made for intervals at or
// above 1: below 0 or below 1 it can answer outside them.
float roundest(float a, float b);

// Tick marks for an axis `length` pixels long showing lo..hi: at most one per
// 40 pixels. Returns the tick count and writes the first tick and the step;
// with no ticks (a short axis, or hi not above lo) nothing is written. Where
// niceval would leave its interval or give an unround value (below 1, where
// its decades truncate toward zero), the interval is scaled up by a power of
// ten for the choice, so that 0..0.3 gets ticks 0.03 apart. Only ticks that
// lie within lo..hi are counted: the first may be 0 above an axis wholly
// below it, and then there are none.
int calcticks(int length, float lo, float hi, float *first, float *step);

} // namespace graphmath
