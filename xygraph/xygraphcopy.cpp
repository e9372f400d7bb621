// "Copy": the graph on the clipboard as a bitmap, SVG, text and SYLK at once.
#include "xygraph.h"

#include "graphpainter.h"
#include "graphtext.h"
#include "numbertext.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

namespace {

const char *const kSylkMime = "application/x-sylk";
// The name under which spreadsheets on Linux look for SYLK.
const char *const kSylkOfficeMime = "application/x-openoffice-sylk;windows_formatname=\"Sylk\"";

} // namespace

std::string Txygraph::points2text() const {
    return graphtext::points2text(core_.store(), tarvel::localeDecimalSeparator());
}

std::string Txygraph::points2sylk() const {
    return graphtext::points2sylk(core_.store());
}

// Scales, labels, numbers, points and lines; no background, no position box.
QByteArray Txygraph::svgCopy() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size());
    svg.setViewBox(rect());
    svg.setResolution(logicalDpiX());
    svg.setTitle(QStringLiteral("Graph"));
    QPainter painter(&svg);
    paintVector(painter);
    painter.end();
    return bytes;
}

void Txygraph::paintVector(QPainter &painter) {
    syncSize();
    core_.settleAxes();
    painter.save();
    beginCanvasPainter(painter);
    PaintAxis(sscBoth, painter);
    PaintPoints(painter);
    painter.restore();
}

QMimeData *Txygraph::copyMimeData() {
    auto *mime = new QMimeData;
    QImage bitmap = canvasImage();
    {
        // What is on the screen, without the cursor position.
        QPainter painter(&bitmap);
        painter.fillRect(graphpaint::posBoxRect(width(), fontHeightValue()), Qt::white);
    }
    mime->setImageData(bitmap);
    mime->setData(QStringLiteral("image/svg+xml"), svgCopy());
    mime->setText(QString::fromLatin1(points2text()));
    const QByteArray sylk = QByteArray::fromStdString(points2sylk());
    mime->setData(QString::fromLatin1(kSylkMime), sylk);
    mime->setData(QString::fromLatin1(kSylkOfficeMime), sylk);
    return mime;
}

void Txygraph::CopyPopup() {
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setMimeData(copyMimeData());
}
