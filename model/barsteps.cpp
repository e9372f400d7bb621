#include "barsteps.h"

#include "errors.h"
#include "numbertext.h"

#include <string>

namespace barsteps {

void appendSteps(FPOINT p, FPOINT q, float barstep, std::vector<FPOINT> &out) {
    while (double(q.x) - double(p.x) > double(barstep)) {
        FPOINT r;
        r.x = static_cast<float>(double(p.x) + double(barstep));
        r.y = static_cast<float>(double(p.y) + (double(q.y) - double(p.y)) * double(barstep) /
                                                   (double(q.x) - double(p.x)));
        if (!(r.x > p.x))
            break; // x too large for another step to show in single precision
        if (out.size() >= kMaxPoints)
            throw tarvel::Error("The thermal history is too long to split into bars of " +
                                tarvel::formatGeneral(double(barstep), tarvel::kEditDigits,
                                                      tarvel::localeDecimalSeparator()) +
                                " time units: it would need more than " +
                                std::to_string(kMaxPoints) + " points.");
        out.push_back(r);
        p = r;
    }
}

std::vector<FPOINT> subdivide(const std::vector<FPOINT> &line, float barstep) {
    std::vector<FPOINT> result;
    result.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (i > 0)
            appendSteps(result.back(), line[i], barstep, result);
        result.push_back(line[i]);
    }
    return result;
}

} // namespace barsteps
