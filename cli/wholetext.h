#pragma once

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

// A whole input in memory.
struct WholeText {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;

    std::string_view view() const { return {data.get(), size}; }
};

// Reads a whole file. A regular file is read in pieces on every core, into
// memory nothing has touched yet, so the copying and the page faults are
// shared out; a pipe is read in order. Throws tarvel::Error with the reason.
WholeText readWholeFile(const std::string &path);

// Reads a stream to its end.
WholeText readWholeStream(std::istream &in);
