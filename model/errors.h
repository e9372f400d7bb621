#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarvel {

// Every failure the program reports to the user is one of these; the message
// is shown as it stands, so it must name the problem in the user's words.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Text from the user's input as a message quotes it: cut to about `limit`
// characters with "…" after it, so that a huge bad value gives a short message.
// The cut never splits a UTF-8 sequence.
inline std::string quotable(std::string_view text, std::size_t limit = 40) {
    if (text.size() <= limit)
        return std::string(text);
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut; // text[cut] continues a multi-byte character: cut before it
    return std::string(text.substr(0, cut)) + "\xE2\x80\xA6";
}

// A text that should have held a number did not. `where`, when given, names
// the place it stood (a key, a table line) and leads the message.
class ConversionError : public Error {
public:
    explicit ConversionError(std::string_view text, const std::string &where = {})
        : Error((where.empty() ? std::string() : where + ": ") + "'" + quotable(text) +
                "' is not a valid floating point value") {}
};

} // namespace tarvel
