#include "searchview.h"

#include "errors.h"
#include "numbertext.h"

#include <array>
#include <cmath>

namespace searchview {

namespace {

struct BoxColumn {
    const char *title;
    double tarvel::ConstraintBox::*field;
};

const std::array<BoxColumn, kBoxColumns> kColumns{{
    {"Time from (Myr)", &tarvel::ConstraintBox::timeFrom},
    {"Time to (Myr)", &tarvel::ConstraintBox::timeTo},
    {"Temperature from (\u00b0C)", &tarvel::ConstraintBox::temperatureFrom},
    {"Temperature to (\u00b0C)", &tarvel::ConstraintBox::temperatureTo},
}};

const BoxColumn &columnAt(int column) {
    return kColumns.at(std::size_t(column));
}

std::string countText(std::int64_t n) {
    return std::to_string(n);
}

} // namespace

std::vector<OverlayBox> overlayBoxes(const std::vector<tarvel::ConstraintBox> &boxes) {
    std::vector<OverlayBox> out;
    for (const tarvel::ConstraintBox &b : boxes)
        out.push_back(
            {float(b.timeFrom), float(b.timeTo), float(b.temperatureFrom), float(b.temperatureTo)});
    return out;
}

std::vector<tarvel::ConstraintBox> constraintBoxes(const std::vector<OverlayBox> &boxes) {
    std::vector<tarvel::ConstraintBox> out;
    for (const OverlayBox &b : boxes)
        out.push_back({double(b.x0), double(b.x1), double(b.y0), double(b.y1)});
    return out;
}

std::vector<OverlayBand> envelopeBands(const SearchInput &input, const SearchResult &result) {
    std::vector<OverlayBand> bands;
    const auto band = [&](const std::vector<double> &lo, const std::vector<double> &hi,
                          std::uint32_t rgb) {
        OverlayBand b;
        b.rgb = rgb;
        for (std::size_t i = 0; i < lo.size() && i < hi.size(); ++i) {
            if (!std::isfinite(lo[i]) || !std::isfinite(hi[i]))
                continue; // a time no path of the class reaches
            b.x.push_back(float(envelopeTime(input, int(i))));
            b.lower.push_back(float(lo[i]));
            b.upper.push_back(float(hi[i]));
        }
        if (b.x.size() > 1)
            bands.push_back(std::move(b));
    };
    if (result.acceptable > 0)
        band(result.acceptableMin, result.acceptableMax, kAcceptableColour);
    if (result.good > 0)
        band(result.goodMin, result.goodMax, kGoodColour);
    return bands;
}

std::vector<PathNode> bestPath(const SearchInput &input, const SearchResult &result) {
    if (!result.best)
        return {};
    return drawPath(input, result.best->k);
}

std::vector<OverlayLine> bestPathLines(const SearchInput &input, const SearchResult &result) {
    const std::vector<PathNode> nodes = bestPath(input, result);
    if (nodes.empty())
        return {};
    OverlayLine line;
    line.rgb = kBestColour;
    line.width = kBestWidth;
    for (const PathNode &n : nodes)
        line.points.push_back({float(n.time), float(n.temperature)});
    return {line};
}

std::string boxColumnTitle(int column) {
    return columnAt(column).title;
}

std::string boxCellText(const tarvel::ConstraintBox &box, int column, char decimalSeparator) {
    return tarvel::formatGeneral(box.*columnAt(column).field, tarvel::kEditDigits,
                                 decimalSeparator);
}

tarvel::ConstraintBox boxWithCell(const tarvel::ConstraintBox &box, int row, int column,
                                  const std::string &text, char decimalSeparator) {
    const std::string where = "Box " + std::to_string(row + 1) + ", " + columnAt(column).title;
    tarvel::ConstraintBox changed = box;
    try {
        changed.*columnAt(column).field = tarvel::parseNumberEither(text, decimalSeparator);
        // The box line's own checks: finite, from at most to, above absolute zero.
        return tarvel::parseBoxLine(tarvel::boxLine(changed));
    } catch (const tarvel::ConversionError &) {
        throw tarvel::ConversionError(text, where);
    } catch (const tarvel::Error &refused) {
        throw tarvel::Error(where + ": " + refused.what());
    }
}

std::string progressText(std::int64_t done, std::int64_t paths, std::int64_t good,
                         std::int64_t acceptable) {
    return countText(done) + " of " + countText(paths) + " paths: " + countText(good) + " good, " +
           countText(acceptable) + " acceptable";
}

std::string resultText(const SearchResult &result, char decimalSeparator) {
    std::string text = countText(result.paths) + " paths: " + countText(result.good) + " good, " +
                       countText(result.acceptable) + " acceptable (good included)";
    if (result.best)
        text +=
            "; the best, path " + countText(result.best->k) +
            ", \u03c7\u00b2 = " + tarvel::formatGeneral(result.best->chi2, 4, decimalSeparator) +
            ", P = " + tarvel::formatGeneral(result.best->probability, 4, decimalSeparator) + ": " +
            samplefit::verdictName(result.best->verdict);
    return text;
}

} // namespace searchview
