// The printed report: DrawReport, printing and the print preview.
#include "report.h"

#include "annotationtext.h"
#include "datamodule.h"
#include "dialogseam.h"
#include "errors.h"
#include "grainpanel.h"
#include "numbertext.h"
#include "reportlayout.h"
#include "tform7.h"
#include "xygraph.h"

#include <QDate>
#include <QFileInfo>
#include <QFontInfo>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>

#include <algorithm>
#include <cmath>

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

// --- graphs and the table ----------------------------------------------------------------

namespace {

// The graph paints its text in its own font, which a printer resolves at its
// own resolution: many times larger than beside the lines, which are in the
// control's pixels. While it draws for the report its font is fixed to the
// pixels it has on the screen, and then given back.
class ScreenSizedFont {
public:
    explicit ScreenSizedFont(Txygraph &graph)
        : graph_(graph), own_(graph.testAttribute(Qt::WA_SetFont)), font_(graph.font()) {
        QFont fixed = font_;
        fixed.setPixelSize(QFontInfo(font_).pixelSize());
        graph_.setFont(fixed);
    }
    ~ScreenSizedFont() { graph_.setFont(own_ ? font_ : QFont()); } // QFont(): inherit again
    ScreenSizedFont(const ScreenSizedFont &) = delete;
    ScreenSizedFont &operator=(const ScreenSizedFont &) = delete;

private:
    Txygraph &graph_;
    const bool own_;
    const QFont font_;
};

// The graph's drawing in its control's pixels, scaled by `scale` with its
// top-left corner at `at`, nothing outside its rectangle.
void drawGraph(QPainter &painter, Txygraph &graph, QPointF at, qreal scale) {
    const ScreenSizedFont screenFont(graph);
    painter.save();
    painter.translate(at);
    painter.scale(scale, scale);
    painter.setClipRect(QRectF(0, 0, graph.width(), graph.height()), Qt::IntersectClip);
    graph.paintVector(painter);
    painter.restore();
}

// As wide as the page, and never taller than it.
qreal graphScale(const Txygraph &graph, const QRect &rect) {
    if (graph.width() <= 0 || graph.height() <= 0)
        return 0.0;
    return std::min(qreal(rect.width()) / graph.width(), qreal(rect.height()) / graph.height());
}

// The header and rows [first, first + count) of the table, right-aligned in
// columns of equal width, with a line under the header.
void drawTablePart(QPainter &painter, const QRect &rect, int top, int rowHeight,
                   const ReportContent &content, std::size_t first, std::size_t count) {
    const auto &table = content.table;
    const int columns = int(table.columns.size());
    const int width = rect.width() / std::max(columns, 1);
    const int pad = rowHeight / 2;
    // Seven columns of a data set with parents share the width: fewer digits,
    // and a smaller font where the widest title or number would not fit.
    const int digits = columns > 3 ? 8 : tarvel::kEditDigits;
    painter.save();
    int widest = painter.fontMetrics().horizontalAdvance(QString::fromStdString(
        tarvel::formatGeneral(-8.8888888888888888e-88, digits, content.decimalSeparator)));
    for (const auto &column : table.columns)
        widest = std::max(
            widest, painter.fontMetrics().horizontalAdvance(QString::fromStdString(column.title)));
    if (widest > width - pad && widest > 0) {
        QFont font = painter.font();
        const double scale = std::max(0.5, double(width - pad) / widest);
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * scale);
        else
            font.setPixelSize(std::max(1, int(font.pixelSize() * scale)));
        painter.setFont(font);
    }
    const auto cell = [&](int column, int y) {
        return QRect(rect.left() + column * width, y, width - pad, rowHeight);
    };
    constexpr int flags = Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine;
    for (int c = 0; c < columns; ++c)
        painter.drawText(cell(c, top), flags,
                         QString::fromStdString(table.columns[std::size_t(c)].title));
    painter.drawLine(rect.left(), top + rowHeight, rect.left() + columns * width, top + rowHeight);
    for (std::size_t r = 0; r < count; ++r) {
        const auto &row = table.rows[first + r];
        const int y = top + int(r + 1) * rowHeight;
        for (int c = 0; c < columns && std::size_t(c) < row.size(); ++c)
            painter.drawText(cell(c, y), flags,
                             QString::fromStdString(tarvel::formatGeneral(
                                 row[std::size_t(c)], digits, content.decimalSeparator)));
    }
    painter.restore();
}

} // namespace

int drawReportPages(QPainter &painter, const QRect &rect, const ReportContent &content,
                    const std::function<void()> &newPage) {
    const int h = painter.fontMetrics().height();
    reportlayout::Sizes sizes;
    sizes.pageHeight = rect.height();
    sizes.textHeight = h * int(content.rows.size());
    sizes.gap = h;
    sizes.rowHeight = h;
    sizes.tableRows = content.table.rows.size();
    std::vector<qreal> scales;
    for (const Txygraph *graph : content.graphs) {
        scales.push_back(graphScale(*graph, rect));
        sizes.graphHeights.push_back(int(std::ceil(graph->height() * scales.back())));
    }
    const reportlayout::Layout layout = reportlayout::arrange(sizes);

    for (int page = 0; page < layout.pageCount; ++page) {
        if (page > 0)
            newPage();
        if (page == 0)
            drawReport(painter, rect, content.rows);
        for (std::size_t g = 0; g < content.graphs.size(); ++g)
            if (layout.graphs[g].page == page)
                drawGraph(painter, *content.graphs[g],
                          QPointF(rect.left(), rect.top() + layout.graphs[g].top), scales[g]);
        for (const reportlayout::TablePart &part : layout.table)
            if (part.page == page)
                drawTablePart(painter, rect, rect.top() + part.top, h, content, part.first,
                              part.count);
    }
    return layout.pageCount;
}

// --- the main window's report ------------------------------------------------------------

int TForm7::DrawReport(QPainter &painter, const QRect &rect,
                       const std::function<void()> &newPage) const {
    const char separator = tarvel::localeDecimalSeparator();
    ReportContent content;
    content.rows = reportrows::rows(Model->ModelData, Model->GrainData,
                                    annotationtext::linesOf(Memo1->toPlainText()), separator);
    if (Model->ParentsData.present()) {
        content.rows.push_back({});
        for (reportrows::Row &row : reportrows::parentsRows(Model->ParentsData, separator))
            content.rows.push_back(std::move(row));
    }
    content.rows.push_back({});
    content.rows.push_back(reportrows::sourceRow(
        Model->ModelData.Method == ModelMethod::Precise,
        QFileInfo(fileName_).fileName().toStdString(),
        (ReportDate ? ReportDate() : QDate::currentDate()).toString(Qt::ISODate).toStdString()));
    // The age at the last point as the window's line gives it.
    if (const std::string last = resultrows::lastPointText(
            results_, Model->ModelData.Method == ModelMethod::Precise, separator);
        !last.empty())
        content.rows.push_back({last, true});
    content.rows.push_back({});
    content.graphs = {xygraph1, xygraph2};
    content.table = results_;
    content.decimalSeparator = separator;
    return drawReportPages(painter, rect, content, newPage);
}

void TForm7::PrintReport(QPrinter &printer) const {
    QPainter painter;
    if (!painter.begin(&printer))
        throw printFailure(printer, "the print job could not be started.");
    bool pagesStarted = true;
    DrawReport(painter, reportPageRect(printer.width(), printer.height()),
               [&] { pagesStarted = printer.newPage() && pagesStarted; });
    if (!painter.end() || !pagesStarted || printer.printerState() == QPrinter::Error)
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
