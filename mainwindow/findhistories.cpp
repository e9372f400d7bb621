#include "findhistories.h"

#include "application.h"
#include "calcerrors.h"
#include "datamodule.h"
#include "dialogseam.h"
#include "errors.h"
#include "numbertext.h"
#include "penstrokes.h"
#include "searchcsv.h"
#include "searchrunner.h"
#include "searchview.h"
#include "xygraph.h"

#include <QAbstractItemDelegate>
#include <QAbstractTableModel>
#include <QCheckBox>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <sstream>

using tarvel::ConstraintBox;

// A search as it runs on the pool: its own copy of the input, the counts the
// window reads while it runs, and what it ends with.
struct FindHistoriesWindow::Run {
    SearchInput input;
    std::atomic<bool> stop{false};
    SearchProgress progress;
    std::optional<SearchResult> result; // set once it finished
    std::string failure;                // set when it failed
};

namespace {

// The data set's boxes in the table; an edit is applied only when the row
// still makes a valid box, else refused and the cell keeps what it held.
class BoxTableModel final : public QAbstractTableModel {
public:
    BoxTableModel(FindHistoriesWindow *window, std::function<void()> edited)
        : QAbstractTableModel(window), w_(window), edited_(std::move(edited)) {}

    std::vector<ConstraintBox> &boxes() const { return w_->Model->Search.boxes; }

    int rowCount(const QModelIndex &parent) const override {
        return parent.isValid() || !w_->Model ? 0 : int(boxes().size());
    }
    int columnCount(const QModelIndex &parent) const override {
        return parent.isValid() ? 0 : searchview::kBoxColumns;
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override {
        return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Vertical)
            return section + 1;
        return QString::fromStdString(searchview::boxColumnTitle(section));
    }
    QVariant data(const QModelIndex &index, int role) const override {
        if (!index.isValid())
            return {};
        if (role == Qt::TextAlignmentRole)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        return QString::fromStdString(searchview::boxCellText(
            boxes()[std::size_t(index.row())], index.column(), tarvel::localeDecimalSeparator()));
    }
    bool setData(const QModelIndex &index, const QVariant &value, int role) override {
        if (!index.isValid() || role != Qt::EditRole)
            return false;
        ConstraintBox &box = boxes()[std::size_t(index.row())];
        try {
            box = searchview::boxWithCell(box, index.row(), index.column(),
                                          value.toString().toStdString(),
                                          tarvel::localeDecimalSeparator());
        } catch (const tarvel::Error &refused) {
            showErrorLater(w_, QString::fromStdString(refused.what()));
            return false;
        }
        emit dataChanged(index, index);
        edited_();
        return true;
    }
    void reset() {
        beginResetModel();
        endResetModel();
    }

private:
    FindHistoriesWindow *w_;
    std::function<void()> edited_;
};

QString textOf(const std::string &text) {
    return QString::fromStdString(text);
}

} // namespace

FindHistoriesWindow::FindHistoriesWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Find Histories"));

    BoxTable = new QTableView(this);
    auto *model = new BoxTableModel(this, [this] { boxesChanged(true); });
    boxModel_ = model;
    BoxTable->setModel(model);
    BoxTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    BoxTable->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    AddBoxButton = new QPushButton(QStringLiteral("Add Box"), this);
    DeleteBoxButton = new QPushButton(QStringLiteral("Delete Box"), this);
    DrawBoxes = new QCheckBox(QStringLiteral("Draw boxes on the history graph"), this);
    DrawBoxes->setToolTip(
        QStringLiteral("While checked, the left button on the main window's history graph "
                       "draws a box, moves one or resizes it by an edge or corner; Delete "
                       "removes the selected box"));
    auto *boxButtons = new QHBoxLayout;
    boxButtons->addWidget(AddBoxButton);
    boxButtons->addWidget(DeleteBoxButton);
    boxButtons->addWidget(DrawBoxes);
    boxButtons->addStretch();

    PathsEdit = new QLineEdit(this);
    SeedEdit = new QLineEdit(this);
    NodesEdit = new QLineEdit(this);
    RateEdit = new QLineEdit(this);
    MonotonicBox = new QCheckBox(QStringLiteral("Temperature never rises"), this);
    PathsEdit->setPlaceholderText(QString::number(tarvel::kDefaultSearchPaths));
    SeedEdit->setPlaceholderText(QString::number(tarvel::kDefaultSearchSeed));
    NodesEdit->setPlaceholderText(QString::number(tarvel::kDefaultSearchNodes));
    RateEdit->setPlaceholderText(QString::number(tarvel::kDefaultSearchMaxRate));
    auto *settings = new QFormLayout;
    settings->addRow(QStringLiteral("Paths"), PathsEdit);
    settings->addRow(QStringLiteral("Seed"), SeedEdit);
    settings->addRow(QStringLiteral("Random nodes between boxes"), NodesEdit);
    settings->addRow(QStringLiteral("Largest rate (\u00b0C/Myr)"), RateEdit);
    settings->addRow(QString(), MonotonicBox);

    RunButton = new QPushButton(QStringLiteral("Run"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    Progress = new QProgressBar(this);
    StatusLine = new QLabel(this);
    StatusLine->setWordWrap(true);
    StatusLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    UseBestButton = new QPushButton(QStringLiteral("Use Best Path"), this);
    UseBestButton->setToolTip(QStringLiteral("The best path becomes the thermal history"));
    ExportButton = new QPushButton(QStringLiteral("Export Paths\u2026"), this);
    ExportButton->setToolTip(QStringLiteral("Every good and acceptable path, node by node, as "
                                            "tarvel-calc --accepted writes them"));
    auto *runButtons = new QHBoxLayout;
    runButtons->addWidget(RunButton);
    runButtons->addWidget(CancelButton);
    runButtons->addWidget(Progress, 1);
    auto *resultButtons = new QHBoxLayout;
    resultButtons->addWidget(UseBestButton);
    resultButtons->addWidget(ExportButton);
    resultButtons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Boxes every path passes through (time since "
                                                "the history's start)"),
                                 this));
    layout->addWidget(BoxTable, 1);
    layout->addLayout(boxButtons);
    layout->addLayout(settings);
    layout->addLayout(runButtons);
    layout->addWidget(StatusLine);
    layout->addLayout(resultButtons);
    resize(620, 480);

    timer_ = new QTimer(this);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, guarded([this] { tick(); }));
    connect(AddBoxButton, &QPushButton::clicked, this, guarded([this] { AddBoxClick(); }));
    connect(DeleteBoxButton, &QPushButton::clicked, this, guarded([this] { DeleteBoxClick(); }));
    connect(DrawBoxes, &QCheckBox::toggled, this, guarded([this] { showOnGraph(); }));
    connect(RunButton, &QPushButton::clicked, this, guarded([this] { RunClick(); }));
    connect(CancelButton, &QPushButton::clicked, this, guarded([this] { CancelClick(); }));
    connect(UseBestButton, &QPushButton::clicked, this, guarded([this] { UseBestClick(); }));
    connect(ExportButton, &QPushButton::clicked, this, guarded([this] { ExportClick(); }));
    for (auto [edit, key] : {std::pair{PathsEdit, "Search_paths"},
                             {SeedEdit, "Search_seed"},
                             {NodesEdit, "Search_nodes"},
                             {RateEdit, "Search_max_rate"}})
        connect(edit, &QLineEdit::editingFinished, this,
                guarded([this, edit = edit, key = key] { settingEdited(edit, key); }));
    connect(MonotonicBox, &QCheckBox::clicked, this, guarded([this] {
                Model->Search.monotonic = MonotonicBox->isChecked();
                clearFound();
                emit searchEdited();
            }));
    updateButtons();
}

FindHistoriesWindow::~FindHistoriesWindow() {
    // The table goes first, while the window its model reads is whole; an
    // editor still open would hand its text to a window half gone.
    BoxTable->itemDelegate()->blockSignals(true);
    delete BoxTable;
    // The pool's threads read only the run's own copies, but the program must
    // not end under them.
    if (watcher_) {
        running_->stop = true;
        watcher_->waitForFinished();
    }
}

// --- what the window shows -------------------------------------------------------------------

void FindHistoriesWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    showSettings();
    static_cast<BoxTableModel *>(boxModel_)->reset();
    showOnGraph();
}

void FindHistoriesWindow::hideEvent(QHideEvent *event) {
    QWidget::hideEvent(event);
    showOnGraph();
}

void FindHistoriesWindow::showSettings() {
    if (!Model)
        return;
    const tarvel::SearchSettings &s = Model->Search;
    const char separator = tarvel::localeDecimalSeparator();
    PathsEdit->setText(s.paths ? QString::number(*s.paths) : QString());
    SeedEdit->setText(s.seed ? QString::number(*s.seed) : QString());
    NodesEdit->setText(s.nodes ? QString::number(*s.nodes) : QString());
    RateEdit->setText(
        s.maxRate ? textOf(tarvel::formatGeneral(*s.maxRate, tarvel::kEditDigits, separator))
                  : QString());
    MonotonicBox->setChecked(s.monotonic.value_or(tarvel::kDefaultSearchMonotonic));
}

// The boxes show on the history graph while the window is open or a result
// stands; the mouse works on them while the window is open and asks for it.
void FindHistoriesWindow::showOnGraph() {
    if (!HistoryGraph || !Model)
        return;
    const bool shown = isVisible() || found_;
    HistoryGraph->setBoxes(shown ? searchview::overlayBoxes(Model->Search.boxes)
                                 : std::vector<OverlayBox>());
    HistoryGraph->setBoxMode(isVisible() && DrawBoxes->isChecked());
    if (found_) {
        HistoryGraph->setBands(searchview::envelopeBands(found_->input, found_->result));
        HistoryGraph->setOverlayLines(searchview::bestPathLines(found_->input, found_->result));
    } else {
        HistoryGraph->clearBands();
        HistoryGraph->clearOverlayLines();
    }
}

void FindHistoriesWindow::updateButtons() {
    const bool busy = running();
    RunButton->setEnabled(!busy);
    CancelButton->setEnabled(busy);
    UseBestButton->setEnabled(!busy && found_ && found_->result.best);
    ExportButton->setEnabled(!busy && found_ && !found_->result.accepted.empty());
}

// A result (or the word of one cancelled or failed) no longer holds.
void FindHistoriesWindow::clearFound() {
    found_.reset();
    StatusLine->clear();
    Progress->reset();
    updateButtons();
    showOnGraph();
}

// --- what the data set holds ---------------------------------------------------------------

void FindHistoriesWindow::dataSetChanged() {
    stopRunning();
    showSettings();
    static_cast<BoxTableModel *>(boxModel_)->reset();
    clearFound();
}

void FindHistoriesWindow::modelChanged() {
    if (found_)
        clearFound();
}

void FindHistoriesWindow::historyChanged() {
    if (!found_ || !HistoryGraph)
        return;
    const std::vector<FPOINT> history = graphPoints(*HistoryGraph);
    if (history.empty() || double(history.back().x) != found_->input.present)
        clearFound();
}

void FindHistoriesWindow::boxesChanged(bool byUser) {
    if (byUser)
        emit searchEdited();
    clearFound(); // and the boxes as they are now on the graph
}

void FindHistoriesWindow::graphBoxesEdited() {
    if (!Model || !HistoryGraph)
        return;
    Model->Search.boxes = searchview::constraintBoxes(HistoryGraph->boxes());
    static_cast<BoxTableModel *>(boxModel_)->reset();
    boxesChanged(true);
}

void FindHistoriesWindow::AddBoxClick() {
    // A box like the last, after it in time; the first at the history's start.
    std::vector<ConstraintBox> &boxes = Model->Search.boxes;
    ConstraintBox box{0, 10, 0, 100};
    if (!boxes.empty()) {
        const ConstraintBox &last = boxes.back();
        const double width = std::max(last.timeTo - last.timeFrom, 1.0);
        box = {last.timeTo + width, last.timeTo + 2 * width, last.temperatureFrom,
               last.temperatureTo};
    }
    boxes.push_back(box);
    static_cast<BoxTableModel *>(boxModel_)->reset();
    BoxTable->selectRow(int(boxes.size()) - 1);
    boxesChanged(true);
}

void FindHistoriesWindow::DeleteBoxClick() {
    std::vector<ConstraintBox> &boxes = Model->Search.boxes;
    const QModelIndex current = BoxTable->currentIndex();
    if (!current.isValid() || std::size_t(current.row()) >= boxes.size())
        return;
    boxes.erase(boxes.begin() + current.row());
    static_cast<BoxTableModel *>(boxModel_)->reset();
    boxesChanged(true);
}

// A setting typed: stored as the data file would read it, or refused with
// the reason and shown again as it was. Empty: the search's default.
void FindHistoriesWindow::settingEdited(QLineEdit *edit, const char *key) {
    tarvel::SearchSettings settings = Model->Search;
    const std::string text = edit->text().trimmed().toStdString();
    try {
        if (text.empty()) {
            const std::string_view k = key;
            if (k == "Search_paths")
                settings.paths.reset();
            else if (k == "Search_seed")
                settings.seed.reset();
            else if (k == "Search_nodes")
                settings.nodes.reset();
            else
                settings.maxRate.reset();
        } else {
            tarvel::setSearchKey(settings, key, text);
        }
    } catch (const tarvel::Error &) {
        showSettings();
        throw;
    }
    if (settings == Model->Search)
        return;
    Model->Search = std::move(settings);
    clearFound();
    emit searchEdited();
}

// --- the search ------------------------------------------------------------------------------

void FindHistoriesWindow::RunClick() {
    if (running() || !Model)
        return;
    // The history as the graph shows it: what the paths end with.
    TDataModule1 snapshot = *Model;
    if (HistoryGraph) {
        ThermalCurve &curve = snapshot.GetCurrentCurve();
        curve.MakeEmpty();
        for (const FPOINT &p : graphPoints(*HistoryGraph))
            curve.Append(p.x, p.y);
    }
    auto run = std::make_shared<Run>();
    run->input = searchInput(snapshot); // a refusal is told, nothing starts
    clearFound();
    running_ = run;
    Progress->setRange(0, int(std::min<std::int64_t>(run->input.paths, 1 << 30)));
    Progress->setValue(0);
    StatusLine->setText(textOf(searchview::progressText(0, run->input.paths, 0, 0)));
    watcher_ = new QFutureWatcher<void>(this);
    connect(watcher_, &QFutureWatcher<void>::finished, this,
            guarded([this, run] { finished(run); }));
    watcher_->setFuture(QtConcurrent::run([run] {
        SearchControl control;
        control.stop = &run->stop;
        control.progress = &run->progress;
        try {
            run->result = runSearch(run->input, control);
        } catch (const CalculationStopped &) {
        } catch (const std::exception &failure) {
            run->failure = failure.what();
        }
    }));
    timer_->start();
    updateButtons();
}

void FindHistoriesWindow::tick() {
    if (!running_)
        return;
    const std::int64_t done = running_->progress.done;
    Progress->setValue(int(std::min<std::int64_t>(done, Progress->maximum())));
    StatusLine->setText(textOf(searchview::progressText(
        done, running_->input.paths, running_->progress.good, running_->progress.acceptable)));
}

void FindHistoriesWindow::CancelClick() {
    if (!running_)
        return;
    const std::int64_t done = running_->progress.done;
    stopRunning();
    StatusLine->setText(
        QStringLiteral("Cancelled after %1 of %2 paths.").arg(done).arg(Progress->maximum()));
    updateButtons();
    emit searchEnded();
}

// The run is told to stop and left to end on its own; nothing it finds is used.
void FindHistoriesWindow::stopRunning() {
    timer_->stop();
    if (!watcher_)
        return;
    running_->stop = true;
    watcher_->disconnect(this);
    watcher_->deleteLater();
    watcher_ = nullptr;
    running_.reset();
}

void FindHistoriesWindow::finished(const std::shared_ptr<Run> &run) {
    if (run != running_)
        return; // cancelled
    timer_->stop();
    watcher_->deleteLater();
    watcher_ = nullptr;
    running_.reset();
    if (run->result) {
        found_ = Found{run->input, *run->result};
        Progress->setValue(Progress->maximum());
        StatusLine->setText(
            textOf(searchview::resultText(*run->result, tarvel::localeDecimalSeparator())));
    } else {
        StatusLine->setText(
            QStringLiteral("The search failed: %1").arg(QString::fromStdString(run->failure)));
    }
    updateButtons();
    showOnGraph();
    if (found_ && HistoryGraph)
        HistoryGraph->growToFit(); // the envelopes may reach beyond the history
    emit searchEnded();
}

void FindHistoriesWindow::UseBestClick() {
    if (!found_ || !UseHistory)
        return;
    std::vector<FPOINT> points;
    for (const PathNode &n : searchview::bestPath(found_->input, found_->result))
        points.push_back({float(n.time), float(n.temperature)});
    if (!points.empty())
        UseHistory(points);
}

void FindHistoriesWindow::ExportClick() {
    if (!found_)
        return;
    const QString name =
        dialogs().chooseSaveFile(this, QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv"));
    if (name.isEmpty())
        return;
    std::ostringstream out;
    writeAcceptedPaths(found_->input, found_->result, out);
    const std::string text = out.str();
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit())
        throw tarvel::Error("The paths could not be written to the file " + name.toStdString() +
                            ": " + file.errorString().toStdString());
}
