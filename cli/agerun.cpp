#include "agerun.h"

#include "heliumages.h"

#include <array>
#include <charconv>

void appendNumber(std::string &out, double value) {
    std::array<char, 64> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::general, 17);
    out.append(buf.data(), res.ptr);
}

void appendHeliumAge(std::string &out, const HeliumAge &row) {
    for (const double value : {row.heNmolG, row.rawAge, row.ft, row.correctedAge}) {
        out += ',';
        appendNumber(out, value);
    }
}
