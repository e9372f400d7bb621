#pragma once

#include <string>
#include <string_view>

// How an annotation line is stored in the data file so that it comes back as
// it was, whatever it holds.
//
// The reader takes some lines as structure wherever they stand: a line that
// starts with "#" (a comment, dropped) and the exact lines "[DataBegin",
// "[TableStart", "]TableEnd", "[MemoBegin" and "]MemoEnd". An annotation line
// made of k >= 0 backslashes followed by such a line is stored with one more
// backslash in front, and reading takes one off again; every other line is
// stored as it is. The stored form is then never structure, so a reader that
// does not know the escape shows the backslash but reads the rest of the data
// set unchanged, and a data set without such lines is stored as it always was.
namespace tarvel {

// The file line for one annotation line.
std::string annotationLineToFile(std::string_view line);

// The annotation line for a line read inside the annotation section.
std::string annotationLineFromFile(std::string_view line);

} // namespace tarvel
