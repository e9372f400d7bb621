// Draws the stand-in picture of a mineral grain (a prism-shaped crystal with
// pyramidal ends on a dark background, 119 x 213, greyscale) and writes it as
// JPEG with libjpeg. The picture is kept in assets/grain.jpg; run this only to
// change it:  make_grain_picture assets/grain.jpg
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int kWidth = 119;
constexpr int kHeight = 213;
constexpr int kOversample = 4; // drawn larger, then scaled down for smooth edges
constexpr int kQuality = 92;

// A small fixed-seed generator, so the picture comes out the same every time.
class Noise {
public:
    double uniform() {
        State = State * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(State >> 11) / double(1ULL << 53);
    }
    double gaussian() { // sum of uniforms: close enough to a bell curve
        double s = 0;
        for (int i = 0; i < 4; ++i)
            s += uniform();
        return (s - 2.0) * std::sqrt(3.0);
    }

private:
    std::uint64_t State = 0x7a2c5e11u;
};

QPolygonF face(std::initializer_list<QPointF> corners, const QTransform &t) {
    return t.map(QPolygonF(QList<QPointF>(corners)));
}

void fillFace(QPainter &p, const QPolygonF &poly, QPointF from, QPointF to, int light, int dark) {
    QLinearGradient g(from, to);
    g.setColorAt(0.0, QColor(light, light, light));
    g.setColorAt(1.0, QColor(dark, dark, dark));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPolygon(poly);
}

QImage drawGrain() {
    const int w = kWidth * kOversample, h = kHeight * kOversample;
    QImage big(w, h, QImage::Format_RGB32);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);

    // Dark background with a faint glow behind the grain.
    QRadialGradient glow(QPointF(w * 0.5, h * 0.48), h * 0.55);
    glow.setColorAt(0.0, QColor(46, 46, 46));
    glow.setColorAt(1.0, QColor(10, 10, 10));
    p.fillRect(big.rect(), glow);

    // The crystal in its own frame (units of output pixels, origin at its
    // centre, long axis vertical), tilted a little and scaled up.
    QTransform t;
    t.translate(w * 0.5, h * 0.5);
    t.scale(kOversample, kOversample);
    t.rotate(-9.0);

    const QPointF top(3, -97), bottom(1, 99);
    const QPointF leftTop(-25, -60), frontTop(-4, -51), rightTop(28, -61);
    const QPointF leftBottom(-25, 62), frontBottom(-4, 71), rightBottom(28, 61);
    const QPointF backTop(6, -66); // the far edge, seen over the top

    // Faces, lit from the upper left.
    fillFace(p, face({top, leftTop, backTop}, t), t.map(top), t.map(leftTop), 150, 120);
    fillFace(p, face({top, backTop, rightTop}, t), t.map(top), t.map(rightTop), 118, 92);
    fillFace(p, face({top, leftTop, frontTop}, t), t.map(QPointF(-12, -80)), t.map(frontTop), 232,
             168);
    fillFace(p, face({top, frontTop, rightTop}, t), t.map(top), t.map(rightTop), 176, 122);
    fillFace(p, face({leftTop, frontTop, frontBottom, leftBottom}, t), t.map(QPointF(-25, -20)),
             t.map(QPointF(-4, 30)), 206, 150);
    fillFace(p, face({frontTop, rightTop, rightBottom, frontBottom}, t), t.map(QPointF(-4, -40)),
             t.map(QPointF(28, 40)), 150, 84);
    fillFace(p, face({leftBottom, frontBottom, bottom}, t), t.map(leftBottom), t.map(bottom), 132,
             92);
    fillFace(p, face({frontBottom, rightBottom, bottom}, t), t.map(frontBottom), t.map(bottom), 98,
             56);

    // Growth zoning: faint lines parallel to the prism edges.
    p.setBrush(Qt::NoBrush);
    for (int k = 1; k <= 4; ++k) {
        const double f = 1.0 - 0.17 * k;
        p.setPen(QPen(QColor(255, 255, 255, 22), 1.2 * kOversample));
        QPainterPath zone;
        zone.moveTo(t.map(QPointF(top.x() * f, top.y() * f)));
        zone.lineTo(t.map(QPointF(frontTop.x() * f, frontTop.y() * f)));
        zone.lineTo(t.map(QPointF(frontBottom.x() * f, frontBottom.y() * f)));
        zone.lineTo(t.map(QPointF(bottom.x() * f, bottom.y() * f)));
        p.drawPath(zone);
    }

    // A few dark inclusions and a hairline crack.
    p.setPen(Qt::NoPen);
    const struct {
        double x, y, rx, ry;
        int grey;
    } inclusions[] = {{-12, -18, 2.2, 1.4, 70},
                      {9, 22, 1.6, 3.2, 60},
                      {-16, 40, 1.2, 1.2, 80},
                      {15, -34, 1.0, 1.8, 55},
                      {-6, 6, 0.9, 0.9, 90}};
    for (const auto &inc : inclusions) {
        p.setBrush(QColor(inc.grey, inc.grey, inc.grey, 200));
        p.drawEllipse(t.map(QPointF(inc.x, inc.y)), inc.rx * kOversample, inc.ry * kOversample);
    }
    p.setPen(QPen(QColor(40, 40, 40, 120), 0.8 * kOversample));
    QPainterPath crack;
    crack.moveTo(t.map(QPointF(-25, 14)));
    crack.cubicTo(t.map(QPointF(-14, 18)), t.map(QPointF(-10, 8)), t.map(QPointF(2, 16)));
    p.drawPath(crack);

    // Bright edges where faces meet, a softer dark outline around the grain.
    p.setPen(QPen(QColor(250, 250, 250, 170), 0.9 * kOversample));
    p.drawPolyline(face({top, frontTop, frontBottom, bottom}, t));
    p.drawPolyline(face({leftTop, frontTop, rightTop}, t));
    p.setPen(QPen(QColor(245, 245, 245, 90), 0.7 * kOversample));
    p.drawPolyline(face({leftBottom, frontBottom, rightBottom}, t));
    p.drawPolyline(face({leftTop, backTop, rightTop}, t));
    p.drawLine(t.map(top), t.map(backTop));
    p.setPen(QPen(QColor(20, 20, 20, 160), 1.0 * kOversample));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(face({top, rightTop, rightBottom, bottom, leftBottom, leftTop}, t));
    p.end();

    QImage small = big.scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_Grayscale8);
    Noise noise;
    for (int y = 0; y < kHeight; ++y) {
        uchar *line = small.scanLine(y);
        for (int x = 0; x < kWidth; ++x)
            line[x] = uchar(std::clamp(int(std::lround(line[x] + 3.0 * noise.gaussian())), 0, 255));
    }
    return small;
}

bool writeJpeg(const QImage &image, const char *fileName) {
    FILE *out = std::fopen(fileName, "wb");
    if (!out)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err); // the library reports and exits on failure
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(image.height());
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, kQuality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uchar *>(image.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(out) == 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.jpg\n", argv[0]);
        return 2;
    }
    if (!writeJpeg(drawGrain(), argv[1])) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
