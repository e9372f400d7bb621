#pragma once

#include <string>
#include <string_view>

// Number texts as the user sees them: the general format with a fixed count of
// significant digits, and the tolerant conversion back.
namespace tarvel {

// Significant digits used where numbers are shown.
inline constexpr int kDataFileDigits = 8;
inline constexpr int kEditDigits = 15; // edits and graph copies
inline constexpr int kTableDigits = 5; // the table edit dialog

// The decimal separator of the user's locale (LC_NUMERIC as set by the program).
char localeDecimalSeparator();

// General format: rounded to `digits` significant digits (half away from zero),
// trailing zeros dropped; plain notation while the decimal exponent e of
// 0.d1d2... x 10^e lies in -3..digits, else "dE[-]x" notation. Non-finite values
// give "NAN", "INF" or "-INF". Pass floats widened to double: 0.1f gives
// 0.100000001490116 with 15 digits.
std::string formatGeneral(double value, int digits, char decimalSeparator);

// A number as tarvel-calc writes it, for other programs to read: "." and 17
// significant digits (general format, shortest of plain and exponent), so a
// double reads back bit for bit. Appended to `out`.
void appendCalculatorNumber(std::string &out, double value);

// Converts a number text: blanks (spaces only) around it, an optional sign,
// digits with an optional decimal separator and fraction, an optional exponent.
// Throws ConversionError naming the text when it is not such a number or does
// not fit a double.
double parseNumber(std::string_view text, char decimalSeparator);

// As parseNumber, accepting either "." or `alsoAccepted` as the separator.
double parseNumberEither(std::string_view text, char alsoAccepted);

} // namespace tarvel
