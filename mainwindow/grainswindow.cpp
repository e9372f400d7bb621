#include "grainswindow.h"

#include "application.h"
#include "calcerrors.h"
#include "datamodule.h"
#include "dialogseam.h"
#include "numbertext.h"
#include "penstrokes.h"
#include "samplegraphs.h"
#include "xygraph.h"

#include <QAbstractItemDelegate>
#include <QAbstractTableModel>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentMap>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <array>
#include <atomic>
#include <set>

using tarvel::GrainRecord;

// One computation of the predictions: a copy of everything it reads, the
// grains' results as they come in and the flag that stops it. Shared between
// the window and the worker threads, so a superseded run may finish after
// the window dropped it.
struct GrainsWindow::Run {
    AgeJobInput sample;
    // The sample's grains, then those along the two curves of the model.
    std::vector<GrainRecord> grains;
    std::size_t sampleSize = 0;
    std::array<samplegraphs::SampleCurve, 2> curves; // over radius, over eU
    std::vector<int> order;                          // 0..n-1, what the threads map over
    std::vector<std::optional<GrainPrediction>> results;
    std::vector<std::string> failures; // per grain, empty when it succeeded
    std::atomic<bool> stop{false};
};

namespace {

int textIndex(int column) {
    const auto &c = grainrows::kEditableColumns;
    return int(std::find(c.begin(), c.end(), column) - c.begin());
}

QString number(double value, int digits) {
    return QString::fromStdString(
        tarvel::formatGeneral(value, digits, tarvel::localeDecimalSeparator()));
}

// The table shows the window's grains and predictions; an edit is applied
// only when the row still makes a valid grain, else refused and the cell
// keeps what it held.
class GrainTableModel final : public QAbstractTableModel {
public:
    explicit GrainTableModel(GrainsWindow *window) : QAbstractTableModel(window), w_(window) {}

    int rowCount(const QModelIndex &parent) const override {
        return parent.isValid() ? 0 : int(w_->grains().size());
    }
    int columnCount(const QModelIndex &parent) const override {
        return parent.isValid() ? 0 : grainrows::ColumnCount;
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        if (grainrows::isEditable(index.column()))
            f |= Qt::ItemIsEditable;
        return f;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Vertical)
            return section + 1;
        return QString::fromStdString(grainrows::columnTitle(section));
    }
    QVariant data(const QModelIndex &index, int role) const override {
        if (!index.isValid())
            return {};
        const int column = index.column();
        if (role == Qt::TextAlignmentRole)
            return column == grainrows::Name ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                             : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (role == Qt::BackgroundRole && !grainrows::isEditable(column))
            return QColor(240, 240, 240); // computed, not typed
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        const auto row = std::size_t(index.row());
        const GrainRecord &g = w_->grains()[row];
        if (grainrows::isEditable(column))
            return QString::fromStdString(grainrows::grainTexts(
                g, tarvel::localeDecimalSeparator())[std::size_t(textIndex(column))]);
        if (column == grainrows::EU)
            return number(g.eU(), 6);
        const auto &fit = w_->fits()[row];
        if (!fit)
            return {};
        switch (column) {
        case grainrows::PredictedAge:
            return number(fit->prediction.rawAge, 6);
        case grainrows::FT:
            return number(fit->prediction.ft, 4);
        case grainrows::CorrectedAge:
            return number(fit->prediction.correctedAge, 6);
        case grainrows::Z:
            return fit->z ? number(*fit->z, 3) : QVariant();
        default:
            return {};
        }
    }
    bool setData(const QModelIndex &index, const QVariant &value, int role) override {
        if (!index.isValid() || role != Qt::EditRole || !grainrows::isEditable(index.column()))
            return false;
        const char separator = tarvel::localeDecimalSeparator();
        auto texts = grainrows::grainTexts(w_->grains()[std::size_t(index.row())], separator);
        texts[std::size_t(textIndex(index.column()))] = value.toString().toStdString();
        try {
            w_->replaceGrain(index.row(), grainrows::grainFromTexts(texts, separator, index.row()));
        } catch (const tarvel::Error &refused) {
            showErrorLater(w_, QString::fromStdString(refused.what()));
            return false;
        }
        return true;
    }

    void reset() {
        beginResetModel();
        endResetModel();
    }
    // Changes that keep the rows keep an editor the user has open elsewhere.
    void rowChanged(int row) {
        emit dataChanged(index(row, 0), index(row, grainrows::ColumnCount - 1));
    }
    void predictionsChanged() {
        if (rowCount({}) > 0)
            emit dataChanged(index(0, grainrows::PredictedAge),
                             index(rowCount({}) - 1, grainrows::ColumnCount - 1));
    }

private:
    GrainsWindow *w_;
};

void setupGraph(Txygraph *graph, const QString &hLabel) {
    graph->SetSideScales(sscBoth);
    graph->SetTicks(sscBoth);
    graph->SetAutoAxis(sscNone);
    graph->SetHLabel(hLabel);
    // Short, so the scale keeps room for its numbers beside it.
    graph->SetVLabel(QStringLiteral("Age (Myr)"));
    graph->setMinimumSize(240, 180);
    graph->setToolTip(QStringLiteral("Right click for options"));
}

} // namespace

GrainsWindow::GrainsWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Grains"));

    AddButton = new QPushButton(QStringLiteral("Add Row"), this);
    DeleteButton = new QPushButton(QStringLiteral("Delete Rows"), this);
    PasteButton = new QPushButton(QStringLiteral("Paste"), this);
    PasteButton->setToolTip(
        QStringLiteral("Grains copied from a spreadsheet: name, radius, U, Th, Sm, measured age "
                       "and its uncertainty (Ctrl+V in the table)"));
    ImportButton = new QPushButton(QStringLiteral("Import CSV\u2026"), this);
    ExportButton = new QPushButton(QStringLiteral("Export CSV\u2026"), this);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {AddButton, DeleteButton, PasteButton, ImportButton, ExportButton})
        buttons->addWidget(b);
    buttons->addStretch();

    Table = new QTableView(this);
    auto *model = new GrainTableModel(this);
    model_ = model;
    Table->setModel(model);
    Table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 6);

    SummaryLine = new QLabel(this);
    SummaryLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SummaryLine->setWordWrap(true);

    RadiusGraph = new Txygraph(this);
    setupGraph(RadiusGraph, QStringLiteral("Radius (\u00b5m)"));
    EUGraph = new Txygraph(this);
    setupGraph(EUGraph, QStringLiteral("eU (ppm)"));
    auto *graphs = new QHBoxLayout;
    graphs->addWidget(RadiusGraph);
    graphs->addWidget(EUGraph);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Table, 2);
    layout->addWidget(SummaryLine);
    layout->addLayout(graphs, 3);
    resize(1040, 640);

    connect(AddButton, &QPushButton::clicked, this, guarded([this] { AddClick(); }));
    connect(DeleteButton, &QPushButton::clicked, this, guarded([this] { DeleteClick(); }));
    connect(PasteButton, &QPushButton::clicked, this, guarded([this] { PasteClick(); }));
    connect(ImportButton, &QPushButton::clicked, this, guarded([this] { ImportClick(); }));
    connect(ExportButton, &QPushButton::clicked, this, guarded([this] { ExportClick(); }));
    connect(new QShortcut(QKeySequence::Paste, Table, nullptr, nullptr, Qt::WidgetShortcut),
            &QShortcut::activated, this, guarded([this] { PasteClick(); }));
    connect(new QShortcut(QKeySequence::Delete, Table, nullptr, nullptr, Qt::WidgetShortcut),
            &QShortcut::activated, this, guarded([this] { DeleteClick(); }));
    grainsChanged(false);
}

GrainsWindow::~GrainsWindow() {
    // The table goes first, while the grains it shows are still there; an
    // editor still open would hand its text to a window half gone.
    Table->itemDelegate()->blockSignals(true);
    delete Table;
    // The threads read only the run's own copies, but the program must not
    // end under them.
    if (watcher_) {
        running_->stop = true;
        watcher_->waitForFinished();
    }
}

// --- the grains --------------------------------------------------------------------------

void GrainsWindow::setGrains(std::vector<GrainRecord> grains) {
    grains_ = std::move(grains);
    grainsChanged(false);
}

void GrainsWindow::replaceGrain(int row, GrainRecord grain) {
    if (grains_[std::size_t(row)] == grain)
        return;
    grains_[std::size_t(row)] = std::move(grain);
    grainsChanged(true, row);
}

void GrainsWindow::grainsChanged(bool byUser, int row) {
    fits_.assign(grains_.size(), std::nullopt);
    for (auto &curve : curves_)
        curve.clear();
    auto *model = static_cast<GrainTableModel *>(model_);
    if (row >= 0) {
        model->rowChanged(row);
        model->predictionsChanged();
    } else {
        model->reset();
    }
    DeleteButton->setEnabled(!grains_.empty());
    ExportButton->setEnabled(!grains_.empty());
    redrawGraphs(true);
    if (byUser)
        emit grainsEdited();
    requestPredictions();
}

void GrainsWindow::AddClick() {
    GrainRecord grain;
    if (grains_.empty()) {
        grain.radius = 50.0;
        grain.U = 10.0;
        grain.Th = 10.0;
    } else {
        grain = grains_.back();
        grain.rawAge.reset();
        grain.rawAgeSd.reset();
    }
    std::set<std::string> names;
    for (const GrainRecord &g : grains_)
        names.insert(g.name);
    for (int n = int(grains_.size()) + 1; grain.name.empty() || names.count(grain.name); ++n)
        grain.name = std::string(1, 'G').append(std::to_string(n));
    grains_.push_back(std::move(grain));
    grainsChanged(true);
    const QModelIndex name = model_->index(int(grains_.size()) - 1, grainrows::Name);
    Table->setCurrentIndex(name);
    Table->edit(name);
}

void GrainsWindow::DeleteClick() {
    std::set<int> rows;
    for (const QModelIndex &index : Table->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    if (rows.empty() && Table->currentIndex().isValid())
        rows.insert(Table->currentIndex().row());
    if (rows.empty())
        return;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        grains_.erase(grains_.begin() + *row);
    grainsChanged(true);
}

void GrainsWindow::PasteClick() {
    pasteText(QGuiApplication::clipboard()->text());
}

void GrainsWindow::pasteText(const QString &text) {
    auto pasted = grainrows::pastedGrains(text.toStdString(), tarvel::localeDecimalSeparator());
    grains_.insert(grains_.end(), std::make_move_iterator(pasted.begin()),
                   std::make_move_iterator(pasted.end()));
    grainsChanged(true);
}

void GrainsWindow::ImportClick() {
    const QString name =
        dialogs().chooseOpenFile(this, QStringLiteral("CSV Files (*.csv);;All Files (*)"));
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw tarvel::Error("The grain file " + name.toStdString() +
                            " could not be read: " + file.errorString().toStdString());
    std::vector<GrainRecord> grains;
    try {
        grains = tarvel::readGrainCsv(file.readAll().toStdString());
    } catch (const tarvel::Error &e) {
        throw tarvel::Error("The grain file " + QFileInfo(name).fileName().toStdString() + ": " +
                            e.what());
    }
    if (!grains_.empty() &&
        !dialogs().ask(this, QStringLiteral("Grains"),
                       QStringLiteral("Replace the %1 grains of the table with the %2 grains of "
                                      "%3?")
                           .arg(grains_.size())
                           .arg(grains.size())
                           .arg(QFileInfo(name).fileName())))
        return;
    grains_ = std::move(grains);
    grainsChanged(true);
}

void GrainsWindow::ExportClick() {
    const QString name = dialogs().chooseSaveFile(
        this, QStringLiteral("CSV Files (*.csv);;All Files (*)"), QStringLiteral("csv"));
    if (name.isEmpty())
        return;
    const std::string text = tarvel::grainCsv(grains_);
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit())
        throw tarvel::Error("The grains could not be written to the file " + name.toStdString() +
                            ": " + file.errorString().toStdString());
}

// --- the predictions ------------------------------------------------------------------------

void GrainsWindow::historyChanged() {
    fits_.assign(grains_.size(), std::nullopt);
    for (auto &curve : curves_)
        curve.clear();
    static_cast<GrainTableModel *>(model_)->predictionsChanged();
    redrawGraphs(false);
    requestPredictions();
}

void GrainsWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (stale_)
        requestPredictions();
}

void GrainsWindow::stopRunning() {
    if (!watcher_)
        return;
    running_->stop = true; // its results are no longer wanted
    watcher_->disconnect(this);
    watcher_->deleteLater();
    watcher_ = nullptr;
    running_.reset();
}

// The sample's input is built here, on the window's thread, from the history
// as drawn; the grains are then computed side by side on the pool's threads.
void GrainsWindow::requestPredictions() {
    stopRunning();
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    stale_ = false;
    if (grains_.empty()) {
        showSummary(QStringLiteral(
            "Add grains, paste them from a spreadsheet or import a CSV file to see what the "
            "thermal history predicts for them."));
        emit predictionsUpdated();
        return;
    }
    std::vector<FPOINT> drawn = HistoryGraph ? graphPoints(*HistoryGraph) : std::vector<FPOINT>();
    if (!Model || drawn.empty()) {
        showSummary(QStringLiteral("Draw a thermal history in the main window to predict the "
                                   "grains' ages."));
        emit predictionsUpdated();
        return;
    }
    auto run = std::make_shared<Run>();
    try {
        run->sample = drawnSampleJobInput(*Model, std::move(drawn));
    } catch (const tarvel::Error &refused) {
        showSummary(QStringLiteral("No predictions: %1").arg(QString::fromUtf8(refused.what())));
        emit predictionsUpdated();
        return;
    }
    run->grains = grains_;
    run->sampleSize = grains_.size();
    for (auto across : {samplegraphs::Across::Radius, samplegraphs::Across::EU}) {
        auto &curve = run->curves[across == samplegraphs::Across::Radius ? 0 : 1];
        curve = samplegraphs::sampleCurve(grains_, across, run->sample);
        run->grains.insert(run->grains.end(), curve.grains.begin(), curve.grains.end());
    }
    run->results.resize(run->grains.size());
    run->failures.resize(run->grains.size());
    for (int i = 0; i < int(run->grains.size()); ++i)
        run->order.push_back(i);
    running_ = run;
    showSummary(QStringLiteral("Computing the predictions of %1 grains\u2026").arg(grains_.size()));
    // First what the grains share under the history (the damage's
    // annealing), once; then the grains side by side. Two steps, neither
    // waiting for the other on a pool thread, which a pool of as many threads
    // as cores could not always give it.
    watch(QtConcurrent::run([run] {
              try {
                  prepareSample(run->sample, &run->stop);
              } catch (const std::exception &) {
                  // A stop ends the run below; a refusal is met again by each
                  // grain's own run, which names it.
              }
          }),
          [this, run] { predictGrains(run); });
}

void GrainsWindow::watch(QFuture<void> future, std::function<void()> then) {
    if (watcher_)
        watcher_->deleteLater();
    watcher_ = new QFutureWatcher<void>(this);
    connect(watcher_, &QFutureWatcher<void>::finished, this, guarded(std::move(then)));
    watcher_->setFuture(std::move(future));
}

void GrainsWindow::predictGrains(const std::shared_ptr<Run> &run) {
    if (run != running_)
        return; // superseded
    watch(QtConcurrent::map(run->order,
                            [run](int i) {
                                const auto at = std::size_t(i);
                                if (run->stop)
                                    return;
                                try {
                                    run->results[at] =
                                        predictGrain(run->sample, run->grains[at], &run->stop);
                                } catch (const CalculationStopped &) {
                                } catch (const std::exception &failure) {
                                    run->failures[at] = failure.what();
                                }
                            }),
          [this, run] { deliver(run); });
}

void GrainsWindow::deliver(const std::shared_ptr<Run> &run) {
    if (run != running_)
        return; // superseded
    watcher_->deleteLater();
    watcher_ = nullptr;
    running_.reset();
    QString failure;
    for (std::size_t i = 0; i < run->sampleSize; ++i) {
        if (run->results[i])
            fits_[i] = grainrows::fitGrain(run->grains[i], *run->results[i]);
        else if (failure.isEmpty())
            failure = QStringLiteral("Grain %1: %2")
                          .arg(QString::fromStdString(run->grains[i].name),
                               QString::fromStdString(run->failures[i]));
    }
    std::size_t at = run->sampleSize;
    for (std::size_t c = 0; c < run->curves.size(); ++c) {
        curves_[c] = samplegraphs::curvePoints(
            run->curves[c], std::span(run->results).subspan(at, run->curves[c].x.size()));
        at += run->curves[c].x.size();
    }
    static_cast<GrainTableModel *>(model_)->predictionsChanged();
    redrawGraphs(false);
    if (!failure.isEmpty()) {
        showSummary(failure);
    } else {
        std::vector<grainrows::GrainFit> fits;
        for (const auto &fit : fits_)
            fits.push_back(*fit);
        showSummary(QString::fromStdString(grainrows::summaryText(
            grainrows::summarizeFits(fits), tarvel::localeDecimalSeparator())));
    }
    emit predictionsUpdated();
}

// --- the graphs ----------------------------------------------------------------------------

// New grains fit the axes to them; predictions arriving only widen axes that
// do not hold them, so a range the user chose survives edits of the history.
void GrainsWindow::redrawGraphs(bool refit) {
    std::vector<std::optional<GrainPrediction>> predictions;
    for (const auto &fit : fits_)
        predictions.push_back(fit ? std::optional(fit->prediction) : std::nullopt);
    for (auto [graph, across, curve] :
         {std::tuple{RadiusGraph, samplegraphs::Across::Radius, &curves_[0]},
          std::tuple{EUGraph, samplegraphs::Across::EU, &curves_[1]}}) {
        samplegraphs::drawSample(*graph, grains_, predictions, across, *curve);
        graph->Invalidate();
        if (refit)
            graph->fitToData();
        else
            graph->growToFit();
    }
}

void GrainsWindow::showSummary(const QString &text) {
    SummaryLine->setText(text);
}
