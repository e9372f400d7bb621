// "Copy": the graph on the clipboard as a bitmap, SVG, text and SYLK at once;
// "Save Image…": the graph in a PNG, SVG or PDF file.
#include "xygraph.h"

#include "errors.h"
#include "graphdialogs.h"
#include "graphpainter.h"
#include "graphtext.h"
#include "imagefile.h"
#include "numbertext.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
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

QImage Txygraph::bitmapCopy() {
    QImage bitmap = canvasImage();
    // What is on the screen, without the cursor position.
    QPainter painter(&bitmap);
    painter.fillRect(graphpaint::posBoxRect(width(), fontHeightValue()), Qt::white);
    painter.end();
    return bitmap;
}

// The vector drawing on one page the size of the graph, at the screen's
// resolution so that the fonts keep their size against the lines.
QByteArray Txygraph::pdfCopy() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        const int dpi = logicalDpiX();
        pdf.setResolution(dpi);
        pdf.setPageSize(QPageSize(QSizeF(width(), height()) * (72.0 / dpi), QPageSize::Point,
                                  QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(QStringLiteral("Graph"));
        pdf.setCreator(QStringLiteral("Tarvel"));
        QPainter painter(&pdf);
        // The page's pixels may round differently from the graph's.
        painter.scale(qreal(pdf.width()) / std::max(1, width()),
                      qreal(pdf.height()) / std::max(1, height()));
        paintVector(painter);
    }
    return bytes;
}

void Txygraph::saveImage(const QString &fileName) {
    QByteArray bytes;
    switch (imagefile::formatOf(fileName.toStdString())) {
    case imagefile::Format::png: {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        bitmapCopy().save(&buffer, "PNG");
        break;
    }
    case imagefile::Format::svg:
        bytes = svgCopy();
        break;
    case imagefile::Format::pdf:
        bytes = pdfCopy();
        break;
    }
    // Written beside the target and moved over it at the end: a failure
    // leaves an existing file as it was.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw tarvel::Error("The image could not be written to '" +
                            QDir::toNativeSeparators(fileName).toStdString() +
                            "': " + file.errorString().toStdString() + ".");
}

void Txygraph::SaveImagePopup() {
    const QString name = chooseGraphSaveFile(
        this,
        QStringLiteral("Images (*.png *.svg *.pdf);;PNG image (*.png);;SVG drawing (*.svg);;"
                       "PDF document (*.pdf)"),
        QStringLiteral("png"));
    if (!name.isEmpty())
        saveImage(name);
}

QMimeData *Txygraph::copyMimeData() {
    auto *mime = new QMimeData;
    mime->setImageData(bitmapCopy());
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
