#pragma once

#include <QByteArray>
#include <QImage>

namespace tarvel {

// Decodes JPEG bytes with libjpeg into a greyscale image (colour pictures give
// their luminance). Throws tarvel::Error when the bytes are not a whole,
// readable JPEG picture; libjpeg's warnings about damaged data count as errors.
QImage decodeJpeg(const QByteArray &bytes);

// The greyscale picture of a mineral grain (119 x 213) shown on the splash
// window, the intro page and the calculation pages; decoded once.
const QImage &grainPicture();

} // namespace tarvel
