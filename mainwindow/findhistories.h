#pragma once

#include "fpoint.h"
#include "searchinput.h"
#include "searchresult.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAbstractTableModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;
class TDataModule1;
class Txygraph;
template <typename T> class QFutureWatcher;

// "Find Histories": which thermal histories the sample's grains allow. The
// data set's constraint boxes in a table and drawn on the history graph,
// where the mouse draws, drags and resizes them; the search's settings; Run
// draws the paths on every core, without holding up the window, and Cancel
// ends it at once. A finished search shows on the history graph: the
// acceptable envelope in green, the good one in magenta, the best path bold.
// The boxes and settings are the data set's; the result is kept until what
// it was found from changes.
class FindHistoriesWindow : public QWidget {
    Q_OBJECT

public:
    explicit FindHistoriesWindow(QWidget *parent = nullptr);
    ~FindHistoriesWindow() override;

    // The data set and the main window's history graph; set by whoever
    // builds the program's windows.
    TDataModule1 *Model = nullptr;
    Txygraph *HistoryGraph = nullptr;
    // Makes the points the history (one undoable edit of the main window's).
    std::function<void(const std::vector<FPOINT> &)> UseHistory;

    QTableView *BoxTable;
    QPushButton *AddBoxButton;
    QPushButton *DeleteBoxButton;
    QCheckBox *DrawBoxes; // the history graph's left button works on boxes
    QLineEdit *PathsEdit;
    QLineEdit *SeedEdit;
    QLineEdit *NodesEdit;
    QLineEdit *RateEdit;
    QCheckBox *MonotonicBox;
    QPushButton *RunButton;
    QPushButton *CancelButton;
    QProgressBar *Progress;
    QLabel *StatusLine; // the running counts, what was found, or why nothing
    QPushButton *UseBestButton;
    QPushButton *ExportButton;

    struct Found {
        SearchInput input;
        SearchResult result;
    };
    // The last search that finished, while it still holds.
    const std::optional<Found> &found() const { return found_; }
    bool running() const { return running_ != nullptr; }

    void RunClick();
    void CancelClick();
    void UseBestClick();
    void ExportClick(); // every good and acceptable path, as tarvel-calc --accepted
    void AddBoxClick();
    void DeleteBoxClick();
    // The user drew, moved, resized or deleted a box on the history graph.
    void graphBoxesEdited();

    // Another data set: its boxes and settings show, a result of the one
    // before goes.
    void dataSetChanged();
    // The grains, the kinetics, the constants or the method changed: a result
    // found under them goes.
    void modelChanged();
    // The history changed: a result goes when its paths no longer end at the
    // history's last point, the present.
    void historyChanged();

signals:
    // The user changed the boxes or the settings (in the table, the edits or
    // on the graph); they are in the data set already.
    void searchEdited();
    // A search finished, was cancelled or failed.
    void searchEnded();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    struct Run;
    void boxesChanged(bool byUser);
    void settingEdited(QLineEdit *edit, const char *key);
    void showSettings();
    void showOnGraph();
    void clearFound();
    void tick();
    void finished(const std::shared_ptr<Run> &run);
    void stopRunning();
    void updateButtons();

    QAbstractTableModel *boxModel_;
    std::optional<Found> found_;
    std::shared_ptr<Run> running_;
    QFutureWatcher<void> *watcher_ = nullptr;
    QTimer *timer_;
};
