// The printed report: DrawReport, printing and the print preview.
#include "report.h"

#include "annotationtext.h"
#include "datamodule.h"
#include "dialogseam.h"
#include "errors.h"
#include "findhistories.h"
#include "grainpanel.h"
#include "grainprediction.h"
#include "grainrows.h"
#include "numbertext.h"
#include "penstrokes.h"
#include "reportlayout.h"
#include "samplegraphs.h"
#include "searchview.h"
#include "tform7.h"
#include "xygraph.h"

#include <QDate>
#include <QFileInfo>
#include <QFontInfo>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <tuple>

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
    const bool labelled = !table.labels.empty();
    const int columns = int(table.columns.size()) + (labelled ? 1 : 0);
    const int width = rect.width() / std::max(columns, 1);
    const int pad = rowHeight / 2;
    // A wide table (a data set with parents, a sample of grains) shares the
    // width: fewer digits, and a smaller font where the widest title, label
    // or number would not fit.
    const int digits = columns > 3 ? 8 : tarvel::kEditDigits;
    const auto number = [&](double value) {
        return std::isnan(value) ? QString() // a value the row does not have
                                 : QString::fromStdString(tarvel::formatGeneral(
                                       value, digits, content.decimalSeparator));
    };
    std::vector<QString> titles;
    if (labelled)
        titles.push_back(QString::fromStdString(table.labelTitle));
    for (const auto &column : table.columns)
        titles.push_back(QString::fromStdString(column.title));
    painter.save();
    int widest = painter.fontMetrics().horizontalAdvance(number(-8.8888888888888888e-88));
    for (const QString &text : titles)
        widest = std::max(widest, painter.fontMetrics().horizontalAdvance(text));
    for (std::size_t r = 0; labelled && r < count; ++r)
        widest = std::max(widest, painter.fontMetrics().horizontalAdvance(
                                      QString::fromStdString(table.labels[first + r])));
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
        painter.drawText(cell(c, top), flags, titles[std::size_t(c)]);
    painter.drawLine(rect.left(), top + rowHeight, rect.left() + columns * width, top + rowHeight);
    for (std::size_t r = 0; r < count; ++r) {
        const auto &row = table.rows[first + r];
        const int y = top + int(r + 1) * rowHeight;
        int c = 0;
        if (labelled)
            painter.drawText(cell(c++, y), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             QString::fromStdString(table.labels[first + r]));
        for (double value : row)
            if (c < columns)
                painter.drawText(cell(c++, y), flags, number(value));
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

// --- the sample of grains -------------------------------------------------------------------

namespace {

// The sample's pages of the report: the grains with what the history
// predicts for them and their misfits, the summary and the two graphs, drawn
// afresh here so the report does not depend on the Grains window being open.
struct SampleReport {
    ReportContent content;
    std::vector<std::unique_ptr<Txygraph>> graphs;
};

SampleReport sampleReport(const TDataModule1 &model, const Txygraph &history, QSize graphSize,
                          char separator) {
    SampleReport out;
    out.content.decimalSeparator = separator;
    const auto &grains = model.Grains;
    std::vector<std::optional<GrainPrediction>> predictions(grains.size());
    std::vector<grainrows::GrainFit> fits;
    std::string problem;
    std::array<std::vector<FPOINT>, 2> curves; // the model over radius and over eU
    try {
        AgeJobInput sample = drawnSampleJobInput(model, graphPoints(history));
        prepareSample(sample);
        for (std::size_t i = 0; i < grains.size(); ++i) {
            predictions[i] = predictGrain(sample, grains[i]);
            fits.push_back(grainrows::fitGrain(grains[i], *predictions[i]));
        }
        for (auto across : {samplegraphs::Across::Radius, samplegraphs::Across::EU}) {
            const samplegraphs::SampleCurve curve =
                samplegraphs::sampleCurve(grains, across, sample);
            std::vector<std::optional<GrainPrediction>> along;
            for (const tarvel::GrainRecord &g : curve.grains) {
                try {
                    along.push_back(predictGrain(sample, g));
                } catch (const tarvel::Error &) {
                    along.push_back(std::nullopt); // too small to hold helium
                }
            }
            curves[across == samplegraphs::Across::Radius ? 0 : 1] =
                samplegraphs::curvePoints(curve, along);
        }
    } catch (const tarvel::Error &refused) {
        problem = std::string("No predictions: ") + refused.what();
        predictions.assign(grains.size(), std::nullopt);
        fits.clear();
        curves = {};
    }
    out.content.rows = {{"Grains", false},
                        {problem.empty()
                             ? grainrows::summaryText(grainrows::summarizeFits(fits), separator)
                             : problem,
                         true},
                        {}};
    for (auto [label, across, curve] :
         {std::tuple{"Radius (\u00b5m)", samplegraphs::Across::Radius, &curves[0]},
          std::tuple{"eU (ppm)", samplegraphs::Across::EU, &curves[1]}}) {
        auto graph = std::make_unique<Txygraph>();
        graph->resize(graphSize);
        graph->SetSideScales(sscBoth);
        graph->SetTicks(sscBoth);
        graph->SetAutoAxis(sscNone);
        graph->SetHLabel(QString::fromUtf8(label));
        graph->SetVLabel(QStringLiteral("Age (Myr)"));
        samplegraphs::drawSample(*graph, grains, predictions, across, *curve);
        graph->fitToData();
        out.content.graphs.push_back(graph.get());
        out.graphs.push_back(std::move(graph));
    }
    resultrows::Table &table = out.content.table;
    table.labelTitle = "Grain";
    table.columns = {{"radius", "Radius (\u00b5m)"},
                     {"eU", "eU (ppm)"},
                     {"raw_age", "Measured (Myr)"},
                     {"raw_age_sd", "\u00b1 (Myr)"},
                     {"predicted_raw_age", "Predicted (Myr)"},
                     {"ft", "FT"},
                     {"predicted_corrected_age", "Corrected (Myr)"},
                     {"z", "z"}};
    const double none = std::nan("");
    for (std::size_t i = 0; i < grains.size(); ++i) {
        const tarvel::GrainRecord &g = grains[i];
        const auto &p = predictions[i];
        const double z = p && !fits.empty() && fits[i].z ? *fits[i].z : none;
        table.labels.push_back(g.name);
        table.rows.push_back({g.radius, g.eU(), g.rawAge.value_or(none), g.rawAgeSd.value_or(none),
                              p ? p->rawAge : none, p ? p->ft : none, p ? p->correctedAge : none,
                              z});
    }
    return out;
}

// The search's page of the report: what it found and from what, and the
// envelopes with the boxes and the best path on a graph of their own.
struct SearchReport {
    ReportContent content;
    std::unique_ptr<Txygraph> graph;
};

SearchReport searchReport(const FindHistoriesWindow::Found &found, QSize graphSize,
                          char separator) {
    SearchReport out;
    out.content.decimalSeparator = separator;
    const SearchInput &in = found.input;
    const auto number = [separator](double v) { return tarvel::formatGeneral(v, 6, separator); };
    out.content.rows = {{"Histories the sample allows", false},
                        {searchview::resultText(found.result, separator), true},
                        {std::to_string(in.boxes.size()) + " boxes, " + std::to_string(in.nodes) +
                             " random nodes between boxes, at most " + number(in.maxRate) +
                             " \u00b0C/Myr" + (in.monotonic ? ", never rising" : "") + "; seed " +
                             std::to_string(in.seed) + "; " + std::to_string(in.grains.size()) +
                             " measured grains",
                         false},
                        {}};
    out.graph = std::make_unique<Txygraph>();
    Txygraph &graph = *out.graph;
    graph.resize(graphSize);
    graph.SetSideScales(sscBoth);
    graph.SetTicks(sscBoth);
    graph.SetAutoAxis(sscNone);
    graph.SetHLabel(QStringLiteral("Real Time (Myr)"));
    graph.SetVLabel(QStringLiteral("Temperature (\u00b0C)"));
    graph.setBands(searchview::envelopeBands(in, found.result));
    graph.setOverlayLines(searchview::bestPathLines(in, found.result));
    graph.setBoxes(searchview::overlayBoxes(in.boxes));
    graph.fitToData();
    out.content.graphs.push_back(out.graph.get());
    return out;
}

} // namespace

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
    int pages = drawReportPages(painter, rect, content, newPage);
    if (!Model->Grains.empty()) {
        const SampleReport sample = sampleReport(*Model, *xygraph1, xygraph2->size(), separator);
        newPage();
        pages += drawReportPages(painter, rect, sample.content, newPage);
    }
    if (FindDialog && FindDialog->found()) {
        const SearchReport search = searchReport(*FindDialog->found(), xygraph1->size(), separator);
        newPage();
        pages += drawReportPages(painter, rect, search.content, newPage);
    }
    return pages;
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
