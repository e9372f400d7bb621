#include "imagefile.h"

#include "errors.h"

#include <algorithm>
#include <cctype>

namespace imagefile {

Format formatOf(const std::string &fileName) {
    const auto slash = fileName.find_last_of("/\\");
    const std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    const auto dot = base.find_last_of('.');
    std::string extension = dot == std::string::npos ? std::string() : base.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "png")
        return Format::png;
    if (extension == "svg")
        return Format::svg;
    if (extension == "pdf")
        return Format::pdf;
    throw tarvel::Error("The graph cannot be saved as '" + tarvel::quotable(base, 60) +
                        "': the file name must end in .png, .svg or .pdf.");
}

} // namespace imagefile
