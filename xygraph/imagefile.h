#pragma once

#include <string>

// The picture formats a graph is saved in, chosen by the file's extension.
namespace imagefile {

enum class Format {
    png, // the bitmap as on the screen
    svg, // the vector drawing
    pdf, // the vector drawing on a page the size of the graph
};

// The format a file name asks for by its extension, in any case. Throws
// tarvel::Error naming the file and the extensions a graph is saved with when
// the name has none of them: a picture is never written in a format other
// than the one its name promises.
Format formatOf(const std::string &fileName);

} // namespace imagefile
