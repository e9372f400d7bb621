#pragma once

#include "calculationjob.h"
#include "fpoint.h"
#include "heliumages.h"

#include <QDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class Txygraph;

// The progress window of a calculation: the picture, the caption line, the
// progress bar, the three wizard buttons and the 200 ms timer that moves the
// bar. The page runs its calculation as a job when it is activated and acts on
// the job's ending, which arrives as a signal.
//
// It is used in two ways: modally from the main window's Recalculate, where it
// closes with OK when the run is done and Cancel stops the run and closes it
// with Rejected; and as a wizard page shown without modality, where it moves on
// by itself when its run ends.
//
// What the two kinds do differently:
// - Geometry: hands the coefficients to Completed; in the wizard it then shows
//   NextPage at its own position. "< Back" stops the run (its coefficients
//   would land after the user went back to change the grain). A failed run
//   stays on the page (modally: closes with Rejected), since an age run would
//   use stale coefficients.
// - Age: draws calculated time against real time into TargetGraph, shows
//   NextForm and hides (modally: closes with OK); a failed run leaves the graph
//   empty and moves on the same way. "< Back" lets the run go on.
// A failure is shown through ReportCalculationError.
class CalculationPage : public QDialog {
    Q_OBJECT

public:
    enum class Kind { Geometry, Age };

    CalculationPage(Kind kind, const QString &caption, const QString &headline,
                    QWidget *parent = nullptr);
    ~CalculationPage() override;

    QLabel *Label1;
    QLabel *Image1;
    QProgressBar *ProgressBar1;
    QPushButton *Button1; // "Cancel"
    QPushButton *Button2; // "> Next"
    QPushButton *Button3; // "< Back"
    QTimer *Timer1;

    Kind PageKind() const { return kind_; }

    // Set by whoever shows the page, before showing it.
    // What to run, asked for when the page is activated; built from a data set
    // with geometryJobInput or ageJobInput.
    std::function<CalculationJob::Input()> Input;
    // Receives the result of a run that completed (coefficients or ages),
    // before the page moves on.
    std::function<void(const std::vector<double> &)> Completed;
    Txygraph *TargetGraph = nullptr; // age: receives the curve, not owned
    QWidget *NextForm = nullptr;     // age: shown when the run ends, then cleared

    // The wizard pages around this one, set when the roster is created.
    QWidget *NextPage = nullptr; // "> Next"
    QWidget *BackPage = nullptr; // "< Back"

    // The running job, null when none.
    std::unique_ptr<CalculationJob> Job;

    // The last age run that completed: the history its calculation walked and
    // the calculated time at each of those points, index 0 first. Empty before
    // any, while a new run goes on and after a run that failed or was stopped.
    struct AgeResult {
        std::vector<FPOINT> history;
        std::vector<double> ages;
        // For a data set with parents, what each point holds: helium, raw age,
        // FT and corrected age; empty otherwise.
        std::vector<HeliumAge> helium;
    };
    const AgeResult &LastAgeResult() const { return lastAge_; }

    // Starts a run with Input (the page's activation does this).
    void FormActivate();
    // Moves the bar to the job's progress.
    void Timer1Timer();
    // True while a run of this page goes on.
    bool Running() const;
    // Blocks until the run has ended and acts on its ending at once, as the
    // job's signal would (for tests and callers without an event loop).
    void WaitForRun();
    // Asks the run to stop and waits for it; nothing is drawn or stored.
    void StopRun();

    void Button1Click(); // Cancel
    void Button2Click(); // > Next
    void Button3Click(); // < Back

    // Shown through QDialog::exec (or a test's stand-in that marks it modal).
    bool ShownModally() const;

protected:
    void showEvent(QShowEvent *event) override;
    // A page must not be closed by Escape while it runs; Cancel does that.
    void reject() override;

private:
    void RunFinished(const std::vector<double> &result);
    void RunFailed(const QString &message);
    void RunEnded(bool completed);
    void DrawResults(const std::vector<double> &ages);
    void ShowNextPage();

    const Kind kind_;
    AgeResult lastAge_;
};
