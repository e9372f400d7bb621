#include "graphtext.h"

#include "numbertext.h"
#include "pointstore.h"

#include <cmath>
#include <cstdint>

namespace graphtext {

namespace {

constexpr const char *kEol = "\r\n";

void appendPoint(std::string &out, const FPOINT &p, char sep) {
    out += numberText(p.x, sep);
    out += ", ";
    out += numberText(p.y, sep);
    out += kEol;
}

void appendCells(std::string &out, const FPOINT &p, std::size_t row) {
    out += "C;X1;Y" + std::to_string(row) + ";K" + numberText(p.x, '.') + kEol;
    out += "C;X2;K" + numberText(p.y, '.') + kEol;
}

} // namespace

std::string numberText(float value, char decimalSeparator) {
    return tarvel::formatGeneral(static_cast<double>(value), tarvel::kEditDigits, decimalSeparator);
}

std::string points2text(const PointStore &graph, char decimalSeparator) {
    std::string out;
    for (const auto &p : graph.points())
        appendPoint(out, *p, decimalSeparator);
    if (!graph.points().empty())
        out += std::string(" ") + kEol;
    for (const auto &line : graph.lines())
        for (const auto &p : *line)
            appendPoint(out, *p, decimalSeparator);
    return out;
}

std::string points2sylk(const PointStore &graph) {
    const std::size_t s = graph.points().size();
    std::size_t rows = s > 0 ? s + 1 : 0;
    for (const auto &line : graph.lines())
        rows += line->size() + 1;
    if (!graph.lines().empty())
        rows -= 1;

    std::string out = std::string("ID;Pzentrograph") + kEol;
    out += "B;Y" + std::to_string(rows) + ";X2" + kEol;
    std::size_t r = 1;
    for (const auto &p : graph.points())
        appendCells(out, *p, r++);
    if (r > 1)
        ++r; // an empty row after the single points
    for (const auto &line : graph.lines()) {
        for (const auto &p : *line)
            appendCells(out, *p, r++);
        ++r;
    }
    out += std::string("E") + kEol;
    return out;
}

std::string readoutText(float value, char decimalSeparator) {
    const double v = value;
    const double tenths = std::round(std::fabs(v) * 10.0);
    if (!std::isfinite(v) || tenths >= 1e17) // beyond exact tenths: the general form
        return tarvel::formatGeneral(v, tarvel::kEditDigits, decimalSeparator);
    if (tenths == 0.0)
        return {};
    const auto t = static_cast<std::uint64_t>(tenths);
    std::string out = v < 0 ? "-" : "";
    if (t >= 10)
        out += std::to_string(t / 10);
    if (t % 10 != 0) {
        out += decimalSeparator;
        out += static_cast<char>('0' + t % 10);
    }
    return out;
}

} // namespace graphtext
