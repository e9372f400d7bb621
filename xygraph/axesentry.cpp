#include "axesentry.h"

#include "numbertext.h"

#include <algorithm>
#include <cmath>

namespace axesentry {

namespace {

// Enough for every float to read back as itself.
constexpr int kMostDigits = 9;

float endOf(Edit edit, const std::string &text, char sep) {
    double value = 0.0;
    try {
        value = tarvel::parseNumberEither(text, sep);
    } catch (const tarvel::ConversionError &) {
        throw EntryError(edit, tarvel::ConversionError(text, editName(edit)).what());
    }
    const float end = static_cast<float>(value);
    if (!std::isfinite(end))
        throw EntryError(edit, editName(edit) + ": '" + tarvel::quotable(text) +
                                   "' is too large for an axis end.");
    return end;
}

void checkNotEmpty(const char *axis, float from, float to, Edit toEdit, char sep) {
    if (to > from)
        return;
    throw EntryError(toEdit, std::string("The ") + axis + " axis is empty: its upper end (" +
                                 endText(to, sep) + ") must be greater than its lower end (" +
                                 endText(from, sep) + ").");
}

} // namespace

std::string editName(Edit edit) {
    switch (edit) {
    case Edit::xFrom:
        return "Horizontal from";
    case Edit::xTo:
        return "Horizontal to";
    case Edit::yFrom:
        return "Vertical from";
    case Edit::yTo:
        break;
    }
    return "Vertical to";
}

std::string endText(float value, char sep) {
    if (!std::isfinite(value))
        return tarvel::formatGeneral(static_cast<double>(value), kMostDigits, sep);
    // Whole numbers up to 15 digits stay plain: 500, not 5E2.
    const double magnitude = std::fabs(static_cast<double>(value));
    const int wholeDigits =
        magnitude >= 1.0 ? static_cast<int>(std::floor(std::log10(magnitude))) + 1 : 0;
    const int plain = wholeDigits <= tarvel::kEditDigits ? wholeDigits : 0;
    std::string text;
    for (int digits = 1; digits <= kMostDigits; ++digits) {
        text = tarvel::formatGeneral(static_cast<double>(value), std::max(digits, plain), sep);
        if (static_cast<float>(tarvel::parseNumber(text, sep)) == value)
            break;
    }
    return text;
}

Texts textsOf(const Window &w, char sep) {
    return {endText(w.xzero, sep), endText(w.xmax, sep), endText(w.yzero, sep),
            endText(w.ymax, sep)};
}

Window windowOf(const Texts &texts, char sep) {
    Window w;
    w.xzero = endOf(Edit::xFrom, texts.xFrom, sep);
    w.xmax = endOf(Edit::xTo, texts.xTo, sep);
    w.yzero = endOf(Edit::yFrom, texts.yFrom, sep);
    w.ymax = endOf(Edit::yTo, texts.yTo, sep);
    checkNotEmpty("horizontal", w.xzero, w.xmax, Edit::xTo, sep);
    checkNotEmpty("vertical", w.yzero, w.ymax, Edit::yTo, sep);
    return w;
}

} // namespace axesentry
