#pragma once

#include "errors.h"

#include <cstdint>
#include <string>
#include <string_view>

// How messages about a batch of histories name a place in its CSV.
inline std::string lineText(std::int64_t line) {
    return "line " + std::to_string(line);
}

inline std::string historyText(std::string_view id) {
    return "history '" + tarvel::quotable(id) + "'";
}
