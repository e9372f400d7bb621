#include "numbertext.h"

#include "errors.h"

#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <string>

namespace tarvel {

char localeDecimalSeparator() {
    const std::lconv *conv = std::localeconv();
    if (conv && conv->decimal_point && conv->decimal_point[0] != '\0')
        return conv->decimal_point[0];
    return '.';
}

namespace {

// Enough digits that a tie at any digit count we use shows as an exact ...5000...
constexpr int kExactDigits = 40;

struct Decimal {
    std::string digits; // significant digits, no trailing zeros, at least one
    int exponent = 0;   // value = 0.d1d2... x 10^exponent
};

// |value| rounded to `digits` significant digits, halves away from zero.
Decimal roundToDigits(double value, int digits) {
    std::array<char, 64> buf{};
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value),
                             std::chars_format::scientific, kExactDigits - 1);
    std::string text(buf.data(), res.ptr);
    // text is d.ddd...e±xx
    const auto ePos = text.find('e');
    std::string all = text.substr(0, 1) + text.substr(2, ePos - 2);
    int exponent = std::stoi(text.substr(ePos + 1)) + 1;

    std::string kept = all.substr(0, static_cast<std::size_t>(digits));
    if (all[static_cast<std::size_t>(digits)] >= '5') {
        int i = digits - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') {
            kept[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            kept.insert(kept.begin(), '1');
            kept.pop_back();
            ++exponent;
        } else {
            ++kept[static_cast<std::size_t>(i)];
        }
    }
    while (kept.size() > 1 && kept.back() == '0')
        kept.pop_back();
    return {kept, exponent};
}

} // namespace

std::string formatGeneral(double value, int digits, char decimalSeparator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0.0)
        return "0";
    if (digits < 1)
        digits = 1;
    if (digits > kExactDigits - 1)
        digits = kExactDigits - 1;

    const Decimal d = roundToDigits(value, digits);
    const int e = d.exponent;
    const int n = static_cast<int>(d.digits.size());
    std::string out = value < 0 ? "-" : "";

    if (e >= -3 && e <= digits) {
        if (e >= 1) {
            out += d.digits.substr(0, static_cast<std::size_t>(std::min(e, n)));
            if (e > n)
                out.append(static_cast<std::size_t>(e - n), '0');
            if (n > e) {
                out += decimalSeparator;
                out += d.digits.substr(static_cast<std::size_t>(e));
            }
        } else {
            out += '0';
            out += decimalSeparator;
            out.append(static_cast<std::size_t>(-e), '0');
            out += d.digits;
        }
    } else {
        out += d.digits[0];
        if (n > 1) {
            out += decimalSeparator;
            out += d.digits.substr(1);
        }
        out += 'E';
        out += std::to_string(e - 1);
    }
    return out;
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Checks the shape of a number text and returns it in the form from_chars
// reads ("." as separator, no "+"), or an empty string when it is not a number.
std::string normalised(std::string_view text, char sep1, char sep2) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    std::string out;
    std::size_t i = begin;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            out += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < end && isDigit(text[i])) {
        out += text[i++];
        ++mantissaDigits;
    }
    if (i < end && (text[i] == sep1 || text[i] == sep2)) {
        out += '.';
        ++i;
        while (i < end && isDigit(text[i])) {
            out += text[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return {};
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        out += 'e';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-'))
            out += text[i++];
        int exponentDigits = 0;
        while (i < end && isDigit(text[i])) {
            out += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return {};
    }
    if (i != end)
        return {};
    return out;
}

// The decimal exponent of the leading significant digit of a normalised text,
// so that a value out of range can be told apart as too large or too small.
long long leadingExponent(const std::string &plain) {
    const auto ePos = plain.find('e');
    const std::string mantissa = plain.substr(0, ePos);
    long long exponent = 0;
    if (ePos != std::string::npos) {
        // Saturate: only the sign and the rough size matter here.
        const std::string digits = plain.substr(ePos + 1);
        const bool negative = !digits.empty() && digits[0] == '-';
        for (char c : digits)
            if (isDigit(c) && exponent < 1'000'000'000)
                exponent = exponent * 10 + (c - '0');
        if (negative)
            exponent = -exponent;
    }
    const auto point = mantissa.find('.');
    const std::size_t intEnd = point == std::string::npos ? mantissa.size() : point;
    for (std::size_t i = 0; i < mantissa.size(); ++i) {
        if (!isDigit(mantissa[i]) || mantissa[i] == '0')
            continue;
        const long long position = i < intEnd ? static_cast<long long>(intEnd - i) - 1
                                              : -static_cast<long long>(i - intEnd);
        return exponent + position;
    }
    return 0; // all zeros
}

double convert(std::string_view text, char sep1, char sep2) {
    const std::string plain = normalised(text, sep1, sep2);
    if (plain.empty())
        throw ConversionError(std::string(text));
    double value = 0.0;
    const auto res = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Too small to represent reads as zero; too large is refused.
        if (leadingExponent(plain) > 0)
            throw ConversionError(std::string(text));
        value = 0.0;
    } else if (res.ec != std::errc() || res.ptr != plain.data() + plain.size()) {
        throw ConversionError(std::string(text));
    }
    if (!std::isfinite(value))
        throw ConversionError(std::string(text));
    return value;
}

} // namespace

double parseNumber(std::string_view text, char decimalSeparator) {
    return convert(text, decimalSeparator, decimalSeparator);
}

double parseNumberEither(std::string_view text, char alsoAccepted) {
    return convert(text, '.', alsoAccepted);
}

void appendCalculatorNumber(std::string &out, double value) {
    std::array<char, 64> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::general, 17);
    out.append(buf.data(), res.ptr);
}

} // namespace tarvel
