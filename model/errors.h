#pragma once

#include <stdexcept>
#include <string>

namespace tarvel {

// Every failure the program reports to the user is one of these; the message
// is shown as it stands, so it must name the problem in the user's words.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that should have held a number did not.
class ConversionError : public Error {
public:
    explicit ConversionError(const std::string &text)
        : Error("'" + text + "' is not a valid floating point value") {}
};

} // namespace tarvel
