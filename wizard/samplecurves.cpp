#include "samplecurves.h"

#include <QPainter>
#include <QPolygonF>

namespace samplecurves {

const std::array<std::vector<FPOINT>, 4> &all() {
    static const std::array<std::vector<FPOINT>, 4> curves{{
        {{0, 60}, {50, 60}, {70, 20}, {100, 20}},
        {{0, 20}, {50, 20}, {70, 60}, {100, 60}},
        {{0, 20}, {40, 20}, {50, 60}, {80, 20}, {100, 20}},
        {{0, 60}, {40, 60}, {70, 20}, {80, 60}, {100, 60}},
    }};
    return curves;
}

QImage glyph(const std::vector<FPOINT> &points) {
    constexpr int kWidth = 50, kHeight = 30;
    // The plot area inside the axes, with a pixel of air above and to the right.
    constexpr double kLeft = 2, kBottom = kHeight - 3, kRight = kWidth - 2, kTop = 2;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(kLeft - 1, kTop - 1), QPointF(kLeft - 1, kBottom + 1));
    painter.drawLine(QPointF(kLeft - 1, kBottom + 1), QPointF(kRight + 1, kBottom + 1));
    // Temperatures 0..80 fill the height, so the shapes are clear at this size.
    QPolygonF line;
    for (const FPOINT &p : points)
        line << QPointF(kLeft + p.x / 100.0 * (kRight - kLeft),
                        kBottom - p.y / 80.0 * (kBottom - kTop));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPolyline(line);
    return image;
}

} // namespace samplecurves
