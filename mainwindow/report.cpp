// The printed report: DrawReport, printing and the print preview.
#include "report.h"

#include "annotationtext.h"
#include "datamodule.h"
#include "dialogseam.h"
#include "errors.h"
#include "grainpanel.h"
#include "numbertext.h"
#include "tform7.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>

namespace {

constexpr int kPageMargin = 200; // device pixels on every side of the page

// How many UTF-16 units of `text` start left of `width`: the last glyph kept
// may run over the edge, where the clip cuts it.
qsizetype charactersStartingBefore(const QFontMetrics &metrics, const QString &text, int width) {
    if (metrics.horizontalAdvance(text) <= width)
        return text.size();
    // Advances of prefixes grow with their length: find the longest prefix
    // whose last character starts before the edge.
    qsizetype low = 0, high = text.size() + 1; // prefix `low` fits, `high` does not
    while (high - low > 1) {
        const qsizetype mid = (low + high) / 2;
        if (metrics.horizontalAdvance(text.left(mid - 1)) < width)
            low = mid;
        else
            high = mid;
    }
    if (low > 0 && low < text.size() && text.at(low - 1).isHighSurrogate())
        ++low; // never split a character made of two units
    return low;
}

// Why the report could not be printed, naming where it was going.
tarvel::Error printFailure(const QPrinter &printer, const std::string &what) {
    if (!printer.outputFileName().isEmpty())
        return tarvel::Error("The report could not be written to the file " +
                             printer.outputFileName().toStdString() + ": " + what);
    if (printer.printerName().isEmpty())
        return tarvel::Error("The report could not be printed: no printer is available.");
    return tarvel::Error("The report could not be printed on the printer \"" +
                         printer.printerName().toStdString() + "\": " + what);
}

} // namespace

QRect reportPageRect(int pageWidth, int pageHeight) {
    return QRect(QPoint(kPageMargin, kPageMargin),
                 QPoint(pageWidth - kPageMargin - 1, pageHeight - kPageMargin - 1));
}

void drawReport(QPainter &painter, const QRect &rect, const std::vector<reportrows::Row> &rows) {
    const QFontMetrics metrics = painter.fontMetrics();
    const int h = metrics.height();
    constexpr int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs;
    int top = rect.top();
    for (const reportrows::Row &row : rows) {
        const QString text = annotationtext::toDisplay(row.text);
        if (row.clipped) {
            painter.save();
            const QRect cell(rect.left(), top, rect.width(), h);
            painter.setClipRect(cell, Qt::IntersectClip);
            painter.drawText(cell, flags | Qt::TextDontClip,
                             text.left(charactersStartingBefore(metrics, text, rect.width())));
            painter.restore();
        } else {
            painter.drawText(QRect(rect.left(), top, metrics.horizontalAdvance(text) + h, h),
                             flags | Qt::TextDontClip, text);
        }
        top += h;
    }
}

// --- the main window's report ------------------------------------------------------------

void TForm7::DrawReport(QPainter &painter, const QRect &rect) const {
    const auto rows = reportrows::rows(Model->ModelData, Model->GrainData,
                                       annotationtext::linesOf(Memo1->toPlainText()),
                                       tarvel::localeDecimalSeparator());
    drawReport(painter, rect, rows);
}

void TForm7::PrintReport(QPrinter &printer) const {
    QPainter painter;
    if (!painter.begin(&printer))
        throw printFailure(printer, "the print job could not be started.");
    DrawReport(painter, reportPageRect(printer.width(), printer.height()));
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw printFailure(printer, "the print job failed.");
}

void TForm7::ToolButton8Click() {
    {
        // An edit that holds no number is named before a printer is chosen;
        // nothing is stored until the user has chosen one.
        TDataModule1 scratch;
        grainPanel->store(scratch);
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!dialogs().choosePrinter(this, printer))
        return;
    // The report shows what the window shows, stored as Save stores it.
    StoreWindowValues();
    PrintReport(printer);
}

void TForm7::PrintPreviewClick() {
    StoreWindowValues();
    QPrinter printer(QPrinter::HighResolution);
    dialogs().showPrintPreview(this, printer, [this](QPrinter &target) { PrintReport(target); });
}
