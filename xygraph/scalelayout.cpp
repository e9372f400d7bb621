#include "scalelayout.h"

#include "niceval.h"
#include "numbertext.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace scalelayout {

namespace {

// Significant digits of a scale number: a single-precision value holds about
// seven, so more would only show the float's binary noise.
constexpr int kScaleDigits = 7;

// The characters of a UTF-8 text, one string each.
std::vector<std::string> characters(const std::string &text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
            ++n;
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

bool inside(const Box &b, const ScaleMap &map) {
    return b.x >= 0 && b.y >= 0 && b.right() <= map.Width() && b.bottom() <= map.Height();
}

bool clearOf(const Box &b, const std::vector<Box> &taken, int gap) {
    for (const Box &t : taken)
        if (b.near(t, gap))
            return false;
    return true;
}

// The stride's ticks, or nothing when two of them come too close.
std::vector<std::size_t> strideIfRoom(const std::vector<Box> &boxes,
                                      const std::vector<bool> &usable, std::size_t k, int gap) {
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < boxes.size(); i += k) {
        if (!usable[i])
            continue;
        if (!chosen.empty() && boxes[chosen.back()].near(boxes[i], gap))
            return {};
        chosen.push_back(i);
    }
    return chosen;
}

// Numbers keep a third of a character height apart.
int numberGap(const Metrics &m) {
    return m.lineheight / 3;
}

// The upper end carries a number only when the last tick sits on it.
bool lastTickIsEnd(const std::vector<double> &ticks, float lo, float hi) {
    if (ticks.empty())
        return false;
    const double span = static_cast<double>(hi) - lo;
    return std::fabs(ticks.back() - hi) <= span * 1e-6;
}

// The lower end is written when it falls on the ticks' steps (0, or -50 below
// ticks 10 apart) or when there is no step to measure it by; a window zoomed
// or panned to an unround end shows its ticks' numbers instead.
bool lowerEndIsRound(const std::vector<double> &ticks, float lo) {
    if (ticks.size() < 2)
        return true;
    const double step = ticks[1] - ticks[0];
    const double q = (static_cast<double>(lo) - ticks[0]) / step;
    return std::fabs(q - std::round(q)) <= 1e-3;
}

// The tick numbers chosen among `boxes`, given what is already taken.
void addTickNumbers(Scale &scale, std::vector<Text> candidates, std::vector<bool> usable,
                    bool lastIsEnd, const Metrics &m) {
    std::vector<Box> boxes;
    for (const Text &t : candidates)
        boxes.push_back(t.box);
    for (std::size_t i : chooseLabelled(boxes, usable, lastIsEnd, numberGap(m)))
        scale.numbers.push_back(std::move(candidates[i]));
}

// Where the vertical scale puts its parts, left to right: the title's
// columns, a gap, the numbers, a gap, the tick marks.
constexpr int kTitleToNumbers = 6;
constexpr int kNumbersToTicks = 2;

// The lines of text the control's height holds for the vertical title.
int titleRows(const ScaleMap &map, const Metrics &m) {
    return std::max(1, (map.Height() - 4) / std::max(1, m.lineheight));
}

struct VerticalTitle {
    std::vector<std::vector<std::string>> columns;
    int columnWidth = 0; // the widest character
    int gap = 0;         // between columns
    int left = 0, right = 0;
};

VerticalTitle verticalTitle(const ScaleMap &map, const std::string &title, const Metrics &m) {
    VerticalTitle t;
    t.columns = titleColumns(title, titleRows(map, m));
    for (const auto &column : t.columns)
        for (const std::string &c : column)
            t.columnWidth = std::max(t.columnWidth, m.width(c));
    t.gap = std::max(2, t.columnWidth / 2);
    t.left = t.right = map.rightborder();
    if (!t.columns.empty())
        t.right = t.left + static_cast<int>(t.columns.size()) * (t.columnWidth + t.gap) - t.gap;
    return t;
}

// The numbers the vertical scale may write: the lower end's (when written)
// and every tick's.
struct VerticalNumbers {
    std::vector<double> ticks;
    std::optional<std::string> lowerEnd;
    std::vector<std::string> tickTexts;
    int widest = 0;
};

VerticalNumbers verticalNumbers(const ScaleMap &map, bool withTicks, const Metrics &m, char sep) {
    VerticalNumbers v;
    const float y0 = map.getyzero(), y1 = map.getymax();
    if (withTicks)
        v.ticks = tickValues(map.plotHeight(), y0, y1);
    if (lowerEndIsRound(v.ticks, y0)) {
        v.lowerEnd = numberText(y0, sep);
        v.widest = m.width(*v.lowerEnd);
    }
    for (double t : v.ticks) {
        v.tickTexts.push_back(numberText(t, sep));
        v.widest = std::max(v.widest, m.width(v.tickTexts.back()));
    }
    return v;
}

// The right edge of the vertical numbers.
int numbersRight(const ScaleMap &map) {
    return map.leftborder() - kTickLength - kNumbersToTicks;
}

} // namespace

std::vector<std::vector<std::string>> titleColumns(const std::string &title, int rows) {
    std::vector<std::vector<std::string>> columns;
    std::vector<std::string> word;
    auto place = [&] {
        if (word.empty())
            return;
        if (columns.empty() ||
            columns.back().size() + 1 + word.size() > static_cast<std::size_t>(std::max(rows, 1)))
            columns.emplace_back();
        else
            columns.back().push_back(" ");
        columns.back().insert(columns.back().end(), word.begin(), word.end());
        word.clear();
    };
    for (std::string &c : characters(title)) {
        if (c == " ")
            place();
        else
            word.push_back(std::move(c));
    }
    place();
    return columns;
}

int leftBorder(const ScaleMap &map, const std::string &title, bool withTicks, const Metrics &m,
               char sep) {
    const VerticalTitle t = verticalTitle(map, title, m);
    const int widest = verticalNumbers(map, withTicks, m, sep).widest;
    const int band = widest > 0 ? kTitleToNumbers + widest + kNumbersToTicks : map.rightborder();
    return t.right + band + (withTicks ? kTickLength : 0);
}

bool Box::near(const Box &other, int gap) const {
    return x < other.right() + gap && other.x < right() + gap && y < other.bottom() + gap &&
           other.y < bottom() + gap;
}

std::string numberText(double value, char decimalSeparator) {
    if (value == 0.0)
        value = 0.0; // no "-0"
    return tarvel::formatGeneral(value, kScaleDigits, decimalSeparator);
}

std::vector<double> tickValues(int length, float lo, float hi) {
    float first = 0.0f, step = 0.0f;
    const int count = graphmath::calcticks(length, lo, hi, &first, &step);
    std::vector<double> out;
    out.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int k = 0; k < count; ++k)
        out.push_back(static_cast<double>(first) + k * static_cast<double>(step));
    return out;
}

std::vector<std::size_t> chooseLabelled(const std::vector<Box> &boxes,
                                        const std::vector<bool> &usable, bool lastIsEnd, int gap) {
    const std::size_t n = boxes.size();
    for (std::size_t k = 1; k <= n; ++k) {
        auto chosen = strideIfRoom(boxes, usable, k, gap);
        if (chosen.empty() && k < n)
            continue;
        // A slightly longer stride that also names the axis end reads better
        // than one that stops a few ticks short of it.
        if (lastIsEnd && usable[n - 1] && (n - 1) % k != 0)
            for (std::size_t longer = k + 1; longer <= 2 * k && longer < n; ++longer)
                if ((n - 1) % longer == 0)
                    if (auto withEnd = strideIfRoom(boxes, usable, longer, gap); !withEnd.empty())
                        return withEnd;
        return chosen;
    }
    return {};
}

Scale horizontalScale(const ScaleMap &map, const std::string &title, bool withTicks,
                      const Metrics &m, char sep, const Box &posBox,
                      std::optional<double> present) {
    Scale scale;
    const float x0 = map.getxzero(), x1 = map.getxmax(), y0 = map.getyzero();
    const TPoint origin = map.w2cc({x0, y0});
    std::vector<Box> taken{posBox};
    if (!title.empty()) {
        const int w = m.width(title);
        const Box box{map.leftborder() + map.plotWidth() / 2 - w / 2,
                      map.Height() - map.topborder() - m.lineheight / 2, w, m.height};
        scale.title.push_back({title, box});
        taken.push_back(box);
    }
    const int row = origin.y + kTickLength + 1;
    // The numbers the ticks carry, in axis order: x itself, or the time
    // before the present, whose ticks are round in that time.
    std::vector<double> shown;
    if (withTicks && present) {
        const auto before = [&](float x) { return static_cast<float>(*present - x); };
        shown = tickValues(map.plotWidth(), before(x1), before(x0));
        std::reverse(shown.begin(), shown.end());
        for (double u : shown)
            scale.ticks.push_back(*present - u);
    } else if (withTicks) {
        scale.ticks = tickValues(map.plotWidth(), x0, x1);
        shown = scale.ticks;
    }
    const bool lowerEndWritten = !present && lowerEndIsRound(scale.ticks, x0);
    if (lowerEndWritten) {
        const std::string low = numberText(x0, sep);
        const int lowWidth = m.width(low);
        scale.numbers.push_back({low, {map.leftborder() - lowWidth / 2, row, lowWidth, m.height}});
        taken.push_back(scale.numbers.front().box);
    }
    if (scale.ticks.empty())
        return scale;

    std::vector<Text> candidates;
    std::vector<bool> usable;
    for (std::size_t i = 0; i < scale.ticks.size(); ++i) {
        const int at = map.w2cc({static_cast<float>(scale.ticks[i]), y0}).x;
        scale.tickAt.push_back(at);
        std::string text = numberText(shown[i], sep);
        const int w = m.width(text);
        const Box box{at - w / 2, row, w, m.height};
        // The lower end's number, when written, stands on the tick at the
        // origin; in times before the present a tick there is the oldest's.
        usable.push_back((present || at != origin.x) && inside(box, map) &&
                         clearOf(box, taken, numberGap(m)));
        candidates.push_back({std::move(text), box});
    }
    if (present) {
        // Counted from the present, so that a stride keeps its 0 and the
        // numbers read back from it in whole steps.
        std::reverse(candidates.begin(), candidates.end());
        std::reverse(usable.begin(), usable.end());
        const std::size_t before = scale.numbers.size();
        const bool firstIsEnd =
            std::fabs(scale.ticks.front() - x0) <= (static_cast<double>(x1) - x0) * 1e-6;
        addTickNumbers(scale, std::move(candidates), std::move(usable), firstIsEnd, m);
        std::reverse(scale.numbers.begin() + static_cast<std::ptrdiff_t>(before),
                     scale.numbers.end());
        return scale;
    }
    addTickNumbers(scale, std::move(candidates), std::move(usable),
                   lastTickIsEnd(scale.ticks, x0, x1), m);
    return scale;
}

Scale verticalScale(const ScaleMap &map, const std::string &title, bool withTicks, const Metrics &m,
                    char sep, const Box &posBox, const std::vector<Box> &others) {
    Scale scale;
    const float x0 = map.getxzero(), y0 = map.getyzero(), y1 = map.getymax();
    std::vector<Box> taken{posBox};
    const VerticalTitle t = verticalTitle(map, title, m);
    for (std::size_t col = 0; col < t.columns.size(); ++col) {
        const auto &chars = t.columns[col];
        const int lines = static_cast<int>(chars.size());
        const int centred = map.topborder() + map.plotHeight() / 2 - lines * m.lineheight / 2;
        const int top = std::max(0, std::min(centred, map.Height() - lines * m.lineheight));
        const int x = t.left + static_cast<int>(col) * (t.columnWidth + t.gap);
        for (int i = 0; i < lines; ++i) {
            const std::string &c = chars[static_cast<std::size_t>(i)];
            const Box box{x, top + i * m.lineheight, m.width(c), m.height};
            scale.title.push_back({c, box});
            taken.push_back(box);
        }
    }
    VerticalNumbers numbers = verticalNumbers(map, withTicks, m, sep);
    scale.ticks = std::move(numbers.ticks);
    const int right = numbersRight(map);
    // Where the bottom scale's numbers meet this one's, the bottom scale's stay.
    taken.insert(taken.end(), others.begin(), others.end());
    if (numbers.lowerEnd) {
        const int w = m.width(*numbers.lowerEnd);
        const Box box{right - w, map.Height() - map.bottomborder() - m.lineheight / 2, w, m.height};
        if (clearOf(box, others, 0)) {
            scale.numbers.push_back({*numbers.lowerEnd, box});
            taken.push_back(box);
        }
    }
    if (scale.ticks.empty())
        return scale;

    const int originY = map.w2cc({x0, y0}).y;
    std::vector<Text> candidates;
    std::vector<bool> usable;
    for (std::size_t i = 0; i < scale.ticks.size(); ++i) {
        const int at = map.w2cc({x0, static_cast<float>(scale.ticks[i])}).y;
        scale.tickAt.push_back(at);
        std::string &text = numbers.tickTexts[i];
        const int w = m.width(text);
        const Box box{right - w, at - m.lineheight / 2, w, m.height};
        usable.push_back(at != originY && inside(box, map) && clearOf(box, taken, numberGap(m)));
        candidates.push_back({std::move(text), box});
    }
    addTickNumbers(scale, std::move(candidates), std::move(usable),
                   lastTickIsEnd(scale.ticks, y0, y1), m);
    return scale;
}

} // namespace scalelayout
