#pragma once

#include "grainprediction.h"
#include "grainrows.h"
#include "graintable.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAbstractTableModel;
class QLabel;
class QPushButton;
class QTableView;
class TDataModule1;
class Txygraph;
template <typename T> class QFuture;
template <typename T> class QFutureWatcher;

// "Grains": a sample's grains in a table, what the thermal history predicts
// for each, how well that meets the measured ages, and two graphs of the raw
// ages against the grains' radius and eU. While the window is open, the
// predictions follow every change of the history or the grains, computed on
// all cores; a newer change stops a computation still running.
class GrainsWindow : public QWidget {
    Q_OBJECT

public:
    explicit GrainsWindow(QWidget *parent = nullptr);
    ~GrainsWindow() override;

    // The data set whose kinetics, stopping distances and method the
    // predictions use, and the graph holding the history as drawn; set by
    // whoever builds the program's windows.
    TDataModule1 *Model = nullptr;
    const Txygraph *HistoryGraph = nullptr;

    QPushButton *AddButton;
    QPushButton *DeleteButton;
    QPushButton *PasteButton;
    QPushButton *ImportButton;
    QPushButton *ExportButton;
    QTableView *Table;
    QLabel *SummaryLine;   // χ², P and the verdict, or why there is none
    Txygraph *RadiusGraph; // raw age against radius
    Txygraph *EUGraph;     // raw age against eU

    const std::vector<tarvel::GrainRecord> &grains() const { return grains_; }
    // Shows `grains` (another sample, a data set just opened); not an edit.
    void setGrains(std::vector<tarvel::GrainRecord> grains);
    // Each grain's prediction and misfit, in table order; none for a grain
    // while its prediction is being computed or when it failed.
    const std::vector<std::optional<grainrows::GrainFit>> &fits() const { return fits_; }
    // The model's raw age along the curves over radius and over eU
    // (samplegraphs::sampleCurve), as the graphs draw them.
    const std::vector<FPOINT> &radiusCurve() const { return curves_[0]; }
    const std::vector<FPOINT> &eUCurve() const { return curves_[1]; }
    // True while a computation of the predictions is running.
    bool computing() const { return running_ != nullptr; }

    // The history, the kinetics or the method may have changed: the
    // predictions are computed again now, or when the window is next shown.
    void historyChanged();

    void AddClick();    // a grain after the last, like it, to be named
    void DeleteClick(); // the selected grains
    void PasteClick();  // the clipboard's block of grains, after the last
    // A block of grains from a spreadsheet, after the last; all or nothing.
    void pasteText(const QString &text);
    void ImportClick(); // replaces the table with a CSV file's grains
    void ExportClick(); // the table as a CSV file

    // The table's model changes a grain through this: the row's new grain,
    // already checked.
    void replaceGrain(int row, tarvel::GrainRecord grain);

signals:
    // The user changed the grains: an edit, a new or deleted row, a paste or an import.
    void grainsEdited();
    // The predictions of the current grains and history arrived (or failed).
    void predictionsUpdated();

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Run;
    // `row` is the one grain that changed, or -1 when rows came or went.
    void grainsChanged(bool byUser, int row = -1);
    void requestPredictions();
    void stopRunning();
    // Watches `future` in place of what was watched; `then` runs on this
    // window's thread when it has finished.
    void watch(QFuture<void> future, std::function<void()> then);
    void predictGrains(const std::shared_ptr<Run> &run);
    void deliver(const std::shared_ptr<Run> &run);
    void redrawGraphs(bool refit);
    void showSummary(const QString &text);

    std::vector<tarvel::GrainRecord> grains_;
    std::vector<std::optional<grainrows::GrainFit>> fits_;
    std::array<std::vector<FPOINT>, 2> curves_;
    QAbstractTableModel *model_;
    std::shared_ptr<Run> running_;
    QFutureWatcher<void> *watcher_ = nullptr;
    bool stale_ = true; // the predictions are due once the window shows
};
