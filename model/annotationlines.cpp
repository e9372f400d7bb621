#include "annotationlines.h"

#include <array>

namespace tarvel {

namespace {

constexpr char kEscape = '\\';

bool isStructure(std::string_view line) {
    static constexpr std::array<std::string_view, 5> kMarkers = {
        "[DataBegin", "[TableStart", "]TableEnd", "[MemoBegin", "]MemoEnd"};
    if (!line.empty() && line.front() == '#')
        return true;
    for (std::string_view marker : kMarkers)
        if (line == marker)
            return true;
    return false;
}

// True when `line` is backslashes followed by a line the reader takes as structure.
bool isEscapedStructure(std::string_view line) {
    const auto first = line.find_first_not_of(kEscape);
    return first != std::string_view::npos && isStructure(line.substr(first));
}

} // namespace

std::string annotationLineToFile(std::string_view line) {
    if (isEscapedStructure(line))
        return kEscape + std::string(line);
    return std::string(line);
}

std::string annotationLineFromFile(std::string_view line) {
    if (!line.empty() && line.front() == kEscape && isEscapedStructure(line))
        line.remove_prefix(1);
    return std::string(line);
}

} // namespace tarvel
