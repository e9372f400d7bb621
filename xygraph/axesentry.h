#pragma once

#include "errors.h"

#include <string>

// What the "Axes" dialog decides, without widgets: the texts of its four
// edits for a world window, and the window its four texts give.
namespace axesentry {

// The ends of both axes.
struct Window {
    float xzero = 0.0f, xmax = 0.0f, yzero = 0.0f, ymax = 0.0f;
};

// The four edits, in the dialog's order.
enum class Edit { xFrom, xTo, yFrom, yTo };

struct Texts {
    std::string xFrom, xTo, yFrom, yTo;
};

// The name of an edit as the dialog shows it, for messages.
std::string editName(Edit edit);

// A text the dialog refused, and the edit it came from.
class EntryError : public tarvel::Error {
public:
    EntryError(Edit edit, const std::string &message) : tarvel::Error(message), edit_(edit) {}
    Edit edit() const { return edit_; }

private:
    Edit edit_;
};

// An axis end as an edit shows it: the shortest text that reads back as the
// same single-precision value, so that OK on untouched edits changes nothing.
std::string endText(float value, char decimalSeparator);

Texts textsOf(const Window &window, char decimalSeparator);

// All four texts converted before anything is returned (all or nothing). The
// locale's separator and "." are both read. Throws EntryError naming the edit
// when a text is no number or too large for an axis end, or when an axis would
// be empty: its upper end not above its lower end.
Window windowOf(const Texts &texts, char decimalSeparator);

} // namespace axesentry
